// "Change Transparent Static Settings": the area the text is drawn in and its colour.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& TransparentStaticForm()
{
    static const AttributeForm form{IDD_TRANSPARENT_STATIC_SETTINGS,
                                    {{IDC_STATIC_WIDTH, "ControlWidth", FieldKind::kSize},
                                     {IDC_STATIC_HEIGHT, "ControlHeight", FieldKind::kSize},
                                     {IDC_STATIC_COLOUR, "TextColor", FieldKind::kColour}}};
    return form;
}

}  // namespace skelda::editing
