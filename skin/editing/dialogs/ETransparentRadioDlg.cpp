// "Change Transparent Radio Settings": the radio button's size, which side its mark and its
// text keep to, and the bitmaps of its mark when off and on.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& TransparentRadioForm()
{
    static const AttributeForm form{
        IDD_TRANSPARENT_RADIO_SETTINGS,
        {{IDC_RADIO_WIDTH, "TransparentRadioWidth", FieldKind::kSize},
         {IDC_RADIO_HEIGHT, "TransparentRadioHeight", FieldKind::kSize},
         {IDC_RADIO_MARK_LEFT, "TransparentRadioBtnLeftJustified", FieldKind::kFlag},
         {IDC_RADIO_TEXT_LEFT, "TransparentRadioTextLeftJustified", FieldKind::kFlag},
         {IDC_BUTTON_BITMAP0 + 0, "ControlUpBitmapFile", FieldKind::kBitmap, IDC_BUTTON_BROWSE0 + 0},
         {IDC_BUTTON_BITMAP0 + 1, "ControlDownBitmapFile", FieldKind::kBitmap, IDC_BUTTON_BROWSE0 + 1}}};
    return form;
}

}  // namespace skelda::editing
