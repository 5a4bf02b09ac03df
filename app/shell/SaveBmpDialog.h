#pragma once
// The snapshot dialog ("SaveBmpDialog"): shows a still taken as a temporary bitmap file and
// saves it as a BMP or JPEG file chosen in the system's save dialog. A failed save is reported
// and leaves the dialog and the still in place, so the user can try another name or form; the
// still is deleted when the dialog closes.
#include <string>

#include <win/Handle.h>

#include "EQorDialog.h"
#include "EQorSkinnedControlSet.h"

namespace shell {

class SaveBmpDialog : public EQorDialog {
public:
    // `folder` (the still-picture folder) and `filterIndex` (1 JPEG, 2 BMP) are read as the
    // save dialog's start and receive the user's last choice.
    SaveBmpDialog(std::string still, std::string* folder, int* filterIndex, CWnd* parent);
    ~SaveBmpDialog() override;

    // The file the still was saved to, empty when it was not saved.
    const std::string& SavedAs() const { return m_savedAs; }

protected:
    BOOL OnInitDialog() override;
    // Enter saves; Esc and the close box close without saving.
    void OnOK() override;
    void OnCancel() override;

private:
    void OnSave();
    // Asks for a name until the user cancels or chooses a name that is new or may be replaced;
    // false when cancelled.
    bool ChooseTarget(std::string* target, int* filterIndex);
    void Finish(int result);
    std::string Text(int id);

    std::string m_still;
    std::string* m_folder;
    int* m_filterIndex;
    std::string m_savedAs;
    win::GdiObject m_bitmap;  // the still as loaded
    win::GdiObject m_shown;   // scaled to the frame
    EQorSkinnedControlSet m_skinnedControls;
};

}  // namespace shell
