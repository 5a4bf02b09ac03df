// The header search for a control's symbolic name.
#include "HeaderSearch.h"

namespace lorvane::editing {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

HeaderSearch::HeaderSearch(std::istream& header)
{
    std::string line;
    char c = 0;
    bool pending = false;
    while (header.get(c)) {
        if (c == '\n' || c == '\r') {
            if (c == '\r' && header.peek() == '\n')
                header.get(c);
            lines_.push_back(line);
            line.clear();
            pending = false;
        } else {
            line += c;
            pending = true;
        }
    }
    if (pending)
        lines_.push_back(line);
}

std::string HeaderSearch::NameBefore(const std::string& line, const std::string& digits)
{
    const size_t at = digits.empty() ? std::string::npos : line.find(digits);
    if (at == std::string::npos)
        return std::string();
    size_t end = at;
    while (end > 0 && IsBlank(line[end - 1]))
        --end;
    size_t begin = end;
    while (begin > 0 && !IsBlank(line[begin - 1]))
        --begin;
    return line.substr(begin, end - begin);
}

std::string HeaderSearch::FindNext(int id)
{
    const std::string digits = std::to_string(id);
    while (next_ < lines_.size()) {
        const std::string& line = lines_[next_++];
        if (line.find(digits) != std::string::npos)
            return NameBefore(line, digits);
    }
    return kNotFound;
}

}  // namespace lorvane::editing
