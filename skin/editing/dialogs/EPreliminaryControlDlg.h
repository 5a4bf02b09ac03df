#pragma once
// "Add Preliminary Control Info To QorDialog Script Data": the first skin entry of a control
// that has none. It shows the control's id and kind, takes a readable name (typed, or found
// in a resource header) and the position, which starts as where the control is now.
#include <string>

#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& PreliminaryControlForm();

class EPreliminaryControlDlg : public EAttributeDlg {
public:
    struct Info {
        int controlId = 0;
        std::string kind;  // the kind's display name
        bool textEntryPossible = false;  // text editing allowed and the text file has no entry
    };
    // `values` holds "ControlXOffset", "ControlYOffset" and "ControlName".
    EPreliminaryControlDlg(Info info, AttributeValues values, CWnd* parent);
    const std::string& Name() const { return m_name; }
    bool AddTextEntry() const { return m_addTextEntry; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    Info m_info;
    std::string m_name;
    bool m_addTextEntry = false;
};

}  // namespace skelda::editing
