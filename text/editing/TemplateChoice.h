#pragma once
// What the "Choose Template" dialog does before OK: the template list with the templates
// added, copied and deleted, and the control's choice. Nothing reaches the document until the
// designer presses OK; then the edits are written in the order they were made.
#include <string>
#include <vector>

#include "TemplateNames.h"

namespace lorvane::editing {

struct TemplateEdit {
    enum Action { kAdd, kCopy, kDelete };
    Action action = kAdd;
    std::string name;
    std::string from;  // the template copied, for kCopy
};

class TemplateChoice {
public:
    static constexpr const char* kNoneDefined = "<none defined>";

    // `usedElsewhere`: templates that other controls use, which cannot be deleted.
    TemplateChoice(std::vector<std::string> names, std::string current, std::vector<std::string> usedElsewhere);

    const std::vector<std::string>& Names() const { return m_names; }
    const std::string& Current() const { return m_current; }  // empty: no template
    std::string CurrentText() const { return m_current.empty() ? kNoneDefined : m_current; }
    const std::vector<TemplateEdit>& Edits() const { return m_edits; }
    bool Changed(const std::string& original) const { return !m_edits.empty() || m_current != original; }

    // A new template (default values), or a copy of `from`; the new one becomes the choice.
    NameCheck Add(const std::string& name);
    NameCheck CopyTo(const std::string& from, const std::string& name);
    // Refused for a template that other controls use; deleting the choice leaves none.
    NameCheck Delete(const std::string& name);
    bool Choose(const std::string& name);
    void StopUsing() { m_current.clear(); }

private:
    bool Has(const std::string& name) const;

    std::vector<std::string> m_names, m_usedElsewhere;
    std::string m_current;
    std::vector<TemplateEdit> m_edits;
};

}  // namespace lorvane::editing
