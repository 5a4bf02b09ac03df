#pragma once
// The rules for a new template's name: not empty, no blanks, not already taken. A refusal
// carries the text and caption the dialog shows.
#include <string>
#include <vector>

namespace lorvane::editing {

struct NameCheck {
    bool accepted = false;
    std::string message, caption;
};

NameCheck CheckNewTemplateName(const std::string& name, const std::vector<std::string>& existing);

}  // namespace lorvane::editing
