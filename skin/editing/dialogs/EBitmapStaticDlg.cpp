// "Change Bitmap Static Control Bitmaps": a picture shows the up bitmap of its identity, or the
// disabled one when disabled; the pressed and focus states do not apply to it.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& BitmapStaticForm()
{
    static const AttributeForm form = [] {
        AttributeForm made{IDD_BITMAP_STATIC_BITMAPS, {}};
        static std::string names[16];
        for (int identity = 0; identity < 4; ++identity)
            for (int state : {0, 3}) {
                const int slot = state + 4 * identity;
                names[slot] = ButtonBitmapAttribute(state, identity);
                made.fields.push_back({IDC_BUTTON_BITMAP0 + slot, names[slot].c_str(), FieldKind::kBitmap,
                                       IDC_BUTTON_BROWSE0 + slot});
            }
        return made;
    }();
    return form;
}

}  // namespace skelda::editing
