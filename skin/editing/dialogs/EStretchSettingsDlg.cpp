// "Set Stretch Regions", "Set Stretch Sizing" and "Change QorMenu Settings": the stretch values
// of a dialog's "QorStretchDlgData" and the skinned menu's layout values.
#include "EAttributeDlg.h"
#include "StretchDialogIds.h"

namespace skelda::editing {

const AttributeForm& StretchRegionsForm()
{
    // Numbers with a sign, so that a negative offset is refused by its own message.
    static const AttributeForm form{IDD_STRETCH_REGIONS,
                                    {{IDC_STRETCH_LEFT, "LeftRegionOffset", FieldKind::kNumber},
                                     {IDC_STRETCH_RIGHT, "RightRegionOffset", FieldKind::kNumber},
                                     {IDC_STRETCH_TOP, "TopRegionOffset", FieldKind::kNumber},
                                     {IDC_STRETCH_BOTTOM, "BottomRegionOffset", FieldKind::kNumber}}};
    return form;
}

const AttributeForm& StretchSizingForm()
{
    static const AttributeForm form{IDD_STRETCH_SIZING,
                                    {{IDC_STRETCH_ALLOW_HORZ, "AllowHorzStretching", FieldKind::kFlag},
                                     {IDC_STRETCH_ALLOW_VERT, "AllowVertStretching", FieldKind::kFlag},
                                     {IDC_STRETCH_BEGIN_WIDTH, "BeginningWidth", FieldKind::kSize},
                                     {IDC_STRETCH_BEGIN_HEIGHT, "BeginningHeight", FieldKind::kSize},
                                     {IDC_STRETCH_MIN_WIDTH, "MinimumWidth", FieldKind::kSize},
                                     {IDC_STRETCH_MAX_WIDTH, "MaximumWidth", FieldKind::kSize},
                                     {IDC_STRETCH_MIN_HEIGHT, "MinimumHeight", FieldKind::kSize},
                                     {IDC_STRETCH_MAX_HEIGHT, "MaximumHeight", FieldKind::kSize}}};
    return form;
}

const AttributeForm& MenuSettingsForm()
{
    static const AttributeForm form{IDD_MENU_SETTINGS,
                                    {{IDC_MENU_LEFT, "LeftOffset", FieldKind::kSize},
                                     {IDC_MENU_TOP, "TopOffset", FieldKind::kSize},
                                     {IDC_MENU_RIGHT, "RightOffset", FieldKind::kSize},
                                     {IDC_MENU_BOTTOM, "BottomOffset", FieldKind::kSize},
                                     {IDC_MENU_SPACE, "SpaceBetween", FieldKind::kSize},
                                     {IDC_MENU_MARK, "MarkSelection", FieldKind::kFlag}}};
    return form;
}

}  // namespace skelda::editing
