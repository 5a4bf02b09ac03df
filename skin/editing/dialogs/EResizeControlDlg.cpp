// "Resize Control": the size of a standard control the skin places.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& ResizeControlForm()
{
    static const AttributeForm form{IDD_RESIZE_CONTROL,
                                    {{IDC_RESIZE_WIDTH, "ControlWidth", FieldKind::kSize},
                                     {IDC_RESIZE_HEIGHT, "ControlHeight", FieldKind::kSize}}};
    return form;
}

}  // namespace skelda::editing
