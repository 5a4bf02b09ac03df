// "Change Button Control Bitmaps": the sixteen state bitmaps of a button or a button graphics
// template, four states for each of four identities.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& ButtonBitmapsForm()
{
    static const AttributeForm form = [] {
        AttributeForm made{IDD_BUTTON_BITMAPS, {}};
        static std::string names[16];
        for (int slot = 0; slot < 16; ++slot) {
            names[slot] = ButtonBitmapAttribute(slot % 4, slot / 4);
            made.fields.push_back({IDC_BUTTON_BITMAP0 + slot, names[slot].c_str(), FieldKind::kBitmap,
                                   IDC_BUTTON_BROWSE0 + slot});
        }
        return made;
    }();
    return form;
}

}  // namespace skelda::editing
