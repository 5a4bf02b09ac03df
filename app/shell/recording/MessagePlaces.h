#pragma once
// Texts of the skin's text file with "%s" places: filled in order, and nothing else in them is
// read as a format (the file is the skin's, not the program's).
#include <cstddef>
#include <initializer_list>
#include <string>

namespace recording {

inline std::string FillPlaces(const std::string& text, std::initializer_list<std::string> values)
{
    std::string out;
    auto next = values.begin();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "%s") == 0 && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The text file types its line breaks as backslash-n; a message box reads them, a static
// control needs real ones.
inline std::string WithLineBreaks(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\n") == 0) {
            out += "\r\n";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace recording
