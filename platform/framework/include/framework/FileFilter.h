#pragma once
// File-dialog filters written as "Description|*.ext;*.ex2|Other|*.oth||": pairs of a
// description and a pattern separated by "|". Parsing respects double-byte characters, whose
// second byte may be the "|" code.
#include <functional>
#include <string>
#include <vector>

#include "framework/FrameworkApi.h"

namespace framework {

struct FileFilter {
    std::string description;
    std::string pattern;
    bool operator==(const FileFilter& other) const
    {
        return description == other.description && pattern == other.pattern;
    }
};

using LeadBytePredicate = std::function<bool(unsigned char)>;

// The pairs of a filter text. An empty part ends the list ("||"); a description without a
// pattern is dropped.
FRAMEWORK_API std::vector<FileFilter> ParseFileFilter(const std::string& text,
                                                      const LeadBytePredicate& isLeadByte);
// The system's form: each description and pattern ending in a zero, the list in two zeros.
FRAMEWORK_API std::string FilterListForDialog(const std::vector<FileFilter>& filters);

}  // namespace framework
