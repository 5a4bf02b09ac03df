#pragma once
// "Choose Template": the text templates of one kind, the one chosen ("Current Template",
// "<none defined>" for none), and templates added, copied or deleted on the way. It edits a
// TemplateChoice; the caller writes it into the document on OK.
#include <framework/Framework.h>

#include <string>

#include "TemplateChoice.h"

namespace lorvane {

class EChooseTextTemplateDlg : public CDialog {
public:
    // `assigning`: the choice becomes a control's template (none allowed); otherwise a
    // template is picked to work on and OK needs one.
    EChooseTextTemplateDlg(editing::TemplateChoice& choice, bool assigning);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void Refill();
    std::string Selected() const;
    // Asks for a new name; false when the designer cancelled.
    bool AskNewName(std::string* name);
    void Report(const editing::NameCheck& check);
    void OnDelete();
    void OnAdd();
    void OnCopy();

    editing::TemplateChoice& m_choice;
    bool m_assigning;
};

}  // namespace lorvane
