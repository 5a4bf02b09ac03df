#pragma once
// "Select Button Graphics Template": the names of the skin's button graphics templates in a
// list; OK with one chosen.
#include <framework/Framework.h>

#include <string>
#include <vector>

namespace skelda::editing {

class ESelectGraphicsTemplateDlg : public CDialog {
public:
    ESelectGraphicsTemplateDlg(std::vector<std::string> names, std::string current, CWnd* parent = nullptr);
    const std::string& Chosen() const { return m_chosen; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<std::string> m_names;
    std::string m_chosen;
};

}  // namespace skelda::editing
