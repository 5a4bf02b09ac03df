#include "framework/FileFilter.h"

namespace framework {

std::vector<FileFilter> ParseFileFilter(const std::string& text, const LeadBytePredicate& isLeadByte)
{
    std::vector<std::string> parts;
    std::string part;
    bool closed = false;  // an empty part was met: the list ends there
    for (size_t i = 0; i < text.size() && !closed; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (isLeadByte && isLeadByte(c) && i + 1 < text.size()) {
            part += text[i];
            part += text[++i];
            continue;
        }
        if (c == '|') {
            if (part.empty())
                closed = true;
            else
                parts.push_back(part);
            part.clear();
            continue;
        }
        part += text[i];
    }
    if (!closed && !part.empty())
        parts.push_back(part);

    std::vector<FileFilter> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

std::string FilterListForDialog(const std::vector<FileFilter>& filters)
{
    std::string list;
    for (const FileFilter& filter : filters) {
        list += filter.description;
        list += '\0';
        list += filter.pattern;
        list += '\0';
    }
    list += '\0';
    if (filters.empty())
        list += '\0';
    return list;
}

}  // namespace framework
