#pragma once
// "Set Dialog Text Values": what a dialog's entry in the text file gives the whole dialog. The
// entry itself holds only the dialog's name; its controls hold the colours and fonts, so the
// dialog can give all of them one text colour and one font at once. Numbers, colours and faces
// that are not valid are refused with a message and the dialog stays open. The message box's
// entry also has its own message and caption colours.
#include <framework/Framework.h>

#include <string>

#include "QorTextTypes.h"

namespace lorvane {

using DialogTextValues = QorDialogTextValues;

class ESetDialogTextValuesDlg : public CDialog {
public:
    explicit ESetDialogTextValuesDlg(const DialogTextValues& values);
    const DialogTextValues& Values() const { return m_values; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    DialogTextValues m_values;
};

}  // namespace lorvane
