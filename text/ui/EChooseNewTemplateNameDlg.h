#pragma once
// "Choose New Template Name": a name that is not empty, has no blanks and is not taken.
#include <framework/Framework.h>

#include <string>
#include <vector>

#include "TemplateNames.h"

namespace lorvane {

class EChooseNewTemplateNameDlg : public CDialog {
public:
    explicit EChooseNewTemplateNameDlg(std::vector<std::string> existing,
                                       editing::NameTexts texts = editing::NameTexts::kTextLibrary);
    const std::string& Name() const { return m_name; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    std::vector<std::string> m_existing;
    editing::NameTexts m_texts;
    std::string m_name;
};

}  // namespace lorvane
