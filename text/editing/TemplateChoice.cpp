// The "Choose Template" dialog's pending edits.
#include "TemplateChoice.h"

#include <algorithm>

namespace lorvane::editing {

TemplateChoice::TemplateChoice(std::vector<std::string> names, std::string current,
                               std::vector<std::string> usedElsewhere)
    : m_names(std::move(names)), m_usedElsewhere(std::move(usedElsewhere)), m_current(std::move(current))
{
}

bool TemplateChoice::Has(const std::string& name) const
{
    return std::find(m_names.begin(), m_names.end(), name) != m_names.end();
}

NameCheck TemplateChoice::Add(const std::string& name)
{
    NameCheck check = CheckNewTemplateName(name, m_names);
    if (check.accepted) {
        m_names.push_back(name);
        m_edits.push_back({TemplateEdit::kAdd, name, {}});
        m_current = name;
    }
    return check;
}

NameCheck TemplateChoice::CopyTo(const std::string& from, const std::string& name)
{
    if (!Has(from)) {
        NameCheck refused;
        refused.caption = "Copy To New Template";
        refused.message = "Choose the template to copy in the list first.";
        return refused;
    }
    NameCheck check = CheckNewTemplateName(name, m_names);
    if (check.accepted) {
        m_names.push_back(name);
        m_edits.push_back({TemplateEdit::kCopy, name, from});
        m_current = name;
    }
    return check;
}

NameCheck TemplateChoice::Delete(const std::string& name)
{
    NameCheck check;
    check.caption = "Delete Template";
    if (!Has(name)) {
        check.message = "Choose the template to delete in the list first.";
    } else if (std::find(m_usedElsewhere.begin(), m_usedElsewhere.end(), name) != m_usedElsewhere.end()) {
        // Their text would silently fall back to defaults.
        check.message = "This template is used by other controls and cannot be deleted.";
    } else {
        check.accepted = true;
        m_names.erase(std::find(m_names.begin(), m_names.end(), name));
        m_edits.push_back({TemplateEdit::kDelete, name, {}});
        if (m_current == name)
            m_current.clear();
    }
    return check;
}

bool TemplateChoice::Choose(const std::string& name)
{
    if (!Has(name))
        return false;
    m_current = name;
    return true;
}

}  // namespace lorvane::editing
