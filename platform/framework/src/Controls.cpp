// The control classes are defined in their headers; their destructors live here so that each
// class's virtual table is emitted once, in the framework's DLL.
#include "framework/CommonControls.h"
#include "framework/Controls.h"

CButton::~CButton() = default;
CStatic::~CStatic() = default;
CEdit::~CEdit() = default;
CSliderCtrl::~CSliderCtrl() = default;
CComboBox::~CComboBox() = default;
CListCtrl::~CListCtrl() = default;
CProgressCtrl::~CProgressCtrl() = default;
CSpinButtonCtrl::~CSpinButtonCtrl() = default;
CToolTipCtrl::~CToolTipCtrl() = default;
