// "Set Alternate XY Coordinates": positions 2 to 4 of a button (position 1 is where it is
// dragged to).
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& AlternateXYForm()
{
    static const AttributeForm form{IDD_ALTERNATE_XY,
                                    {{IDC_ALTERNATE_X2, "ControlXOffset2", FieldKind::kNumber},
                                     {IDC_ALTERNATE_Y2, "ControlYOffset2", FieldKind::kNumber},
                                     {IDC_ALTERNATE_X3, "ControlXOffset3", FieldKind::kNumber},
                                     {IDC_ALTERNATE_Y3, "ControlYOffset3", FieldKind::kNumber},
                                     {IDC_ALTERNATE_X4, "ControlXOffset4", FieldKind::kNumber},
                                     {IDC_ALTERNATE_Y4, "ControlYOffset4", FieldKind::kNumber}}};
    return form;
}

}  // namespace skelda::editing
