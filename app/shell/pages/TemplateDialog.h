#pragma once
// "TemplateDialog": asks for the name of a new custom quality template. OK takes a name
// only when the template store can keep it (text 254 refuses a bad name, text 256 one that
// exists already, and the dialog stays open); the window can be dragged by its face.
#include <string>
#include <vector>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"

namespace pages {

class TemplateDialog : public EQorDialog {
public:
    // `name` receives the accepted name; `existing` are the templates there are.
    TemplateDialog(std::vector<std::string> existing, std::string* name, CWnd* parent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    std::vector<std::string> m_existing;
    std::string* m_name;
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace pages
