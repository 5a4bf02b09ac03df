#pragma once
// Finding a control's symbolic name in a C header: the first line at or after the current one
// that holds the id's decimal digits anywhere, and in it the last word before them
// ("#define NAME 1001" gives NAME). Tabs count as blanks. The search goes on after the line
// it found; at the end it says so until it is restarted.
#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace lorvane::editing {

class HeaderSearch {
public:
    static constexpr const char* kNotFound = "   <at end of file - value not found>";

    // Reads the header's lines (a line break is "\n", "\r\n" or "\r").
    explicit HeaderSearch(std::istream& header);

    // The name on the next line holding `id`, or kNotFound once the lines run out.
    std::string FindNext(int id);
    void Restart() { next_ = 0; }
    bool AtEnd() const { return next_ >= lines_.size(); }

    // The last blank-separated word before the first `digits` in `line`; empty when the
    // digits are not there or nothing precedes them.
    static std::string NameBefore(const std::string& line, const std::string& digits);

private:
    std::vector<std::string> lines_;
    size_t next_ = 0;
};

}  // namespace lorvane::editing
