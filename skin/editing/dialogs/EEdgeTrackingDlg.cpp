// "Set Control Edge Tracking Values": which edges of a stretch dialog a button follows and its
// distances from them.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& EdgeTrackingForm()
{
    static const AttributeForm form{IDD_EDGE_TRACKING,
                                    {{IDC_TRACK_RIGHT, "FollowsRight", FieldKind::kFlag},
                                     {IDC_TRACK_BOTTOM, "FollowsBottom", FieldKind::kFlag},
                                     {IDC_TRACK_RIGHT_OFFSET, "RightOffset", FieldKind::kNumber},
                                     {IDC_TRACK_BOTTOM_OFFSET, "BottomOffset", FieldKind::kNumber}}};
    return form;
}

}  // namespace skelda::editing
