#pragma once
// "Set Edit Control Values": what the text file gives a skinned edit: the alignment, the
// centring and its text, disabled text and background colours. Numbers and colours that are
// not valid are refused with a message and the dialog stays open.
#include <framework/Framework.h>

#include "QorTextTypes.h"

namespace lorvane {

class ESetEditTextValuesDlg : public CDialog {
public:
    explicit ESetEditTextValuesDlg(const QorEditTextSettings& values);
    const QorEditTextSettings& Values() const { return m_values; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    QorEditTextSettings m_values;
};

}  // namespace lorvane
