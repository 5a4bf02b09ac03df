#pragma once
// "Set Control Tooltips" and "Set Control Captions": one text per identity of a control (four
// for buttons, one for the other kinds, whose further rows are greyed).
#include <framework/Framework.h>

#include <string>

namespace lorvane {

class ESetIdentityTextsDlg : public CDialog {
public:
    // `count` rows (1 to 4) of `texts` can be edited.
    ESetIdentityTextsDlg(UINT templateId, const std::string texts[4], int count);
    const std::string& Text(int identity) const { return m_texts[identity]; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    std::string m_texts[4];
    int m_count;
};

// The tooltips dialog.
class ESetTooltipsDlg : public ESetIdentityTextsDlg {
public:
    ESetTooltipsDlg(const std::string texts[4], int count);
};

// The captions dialog.
class ESetCaptionsDlg : public ESetIdentityTextsDlg {
public:
    ESetCaptionsDlg(const std::string texts[4], int count);
};

}  // namespace lorvane
