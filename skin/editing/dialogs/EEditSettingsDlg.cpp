// "Change Edit Control Settings": the edit's background (a solid colour, optionally tiled with
// a bitmap, or the dialog's face seen through), its frame and its size.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& EditSettingsForm()
{
    static const AttributeForm form{IDD_EDIT_SETTINGS,
                                    {{IDC_EDIT_SOLID, "BackgroundStyle", FieldKind::kStyle, IDC_EDIT_SEE_THROUGH},
                                     {IDC_EDIT_COLOUR, "BackgroundColor", FieldKind::kColour},
                                     {IDC_EDIT_BITMAP, "BackgroundBitmapFile", FieldKind::kBitmap, IDC_EDIT_BROWSE},
                                     {IDC_EDIT_BORDER, "DrawBorder", FieldKind::kFlag},
                                     {IDC_EDIT_WIDTH, "Width", FieldKind::kSize},
                                     {IDC_EDIT_HEIGHT, "Height", FieldKind::kSize}}};
    return form;
}

}  // namespace skelda::editing
