// New template names.
#include "TemplateNames.h"

#include <algorithm>

namespace lorvane::editing {

NameCheck CheckNewTemplateName(const std::string& name, const std::vector<std::string>& existing, NameTexts texts)
{
    const bool menu = texts == NameTexts::kEditingMenu;
    NameCheck check;
    if (name.empty()) {
        check.caption = menu ? "Name is Empty" : "No Name Entered";
        check.message = menu ? "You must enter a name for the new template." : "You must enter a name";
    } else if (name.find_first_of(" \t") != std::string::npos) {
        // A template is named in an attribute that other elements refer to by that text.
        check.caption = "Name has Blanks";
        check.message = "Blanks are not allowed in Template Name.";
    } else if (std::find(existing.begin(), existing.end(), name) != existing.end()) {
        check.caption = menu ? "New Template Name Not Unique" : "Template Name Already Exists";
        check.message = menu ? "A template with this name already exists." : "You must enter a unique name";
    } else {
        check.accepted = true;
    }
    return check;
}

}  // namespace lorvane::editing
