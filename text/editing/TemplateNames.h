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

// Which wording a refusal uses: the text library's own template dialogs, or the skin
// framework's "Create a new Button Text Template" command, which words the same rules its way.
enum class NameTexts { kTextLibrary, kEditingMenu };

NameCheck CheckNewTemplateName(const std::string& name, const std::vector<std::string>& existing,
                               NameTexts texts = NameTexts::kTextLibrary);

}  // namespace lorvane::editing
