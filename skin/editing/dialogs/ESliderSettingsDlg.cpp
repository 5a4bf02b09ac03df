// "Slider Control Settings": the thumb, channel and shadow bitmaps, their offsets, the click
// behaviour and the slider's size.
#include "ControlDialogIds.h"
#include "EAttributeDlg.h"

namespace skelda::editing {

const AttributeForm& SliderSettingsForm()
{
    static const AttributeForm form{
        IDD_SLIDER_SETTINGS,
        {{IDC_SLIDER_BITMAP0 + 0, "ThumbUpBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 0},
         {IDC_SLIDER_BITMAP0 + 1, "ThumbDownBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 1},
         {IDC_SLIDER_BITMAP0 + 2, "ThumbFocusBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 2},
         {IDC_SLIDER_BITMAP0 + 3, "ThumbDisabledBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 3},
         {IDC_SLIDER_BITMAP0 + 4, "BackgroundBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 4},
         {IDC_SLIDER_BITMAP0 + 5, "BackgroundLeftBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 5},
         {IDC_SLIDER_BITMAP0 + 6, "ThumbShadowBitmapFile", FieldKind::kBitmap, IDC_SLIDER_BROWSE0 + 6},
         {IDC_SLIDER_SHADOW_LEFT, "ThumbShadowLeftOffset", FieldKind::kNumber},
         {IDC_SLIDER_SHADOW_RIGHT, "ThumbShadowRightOffset", FieldKind::kNumber},
         {IDC_SLIDER_THUMB_TOP, "ThumbTopOffset", FieldKind::kNumber},
         {IDC_SLIDER_HIT_POINT, "PositionToHitPoint", FieldKind::kFlag},
         {IDC_SLIDER_WIDTH, "ControlWidth", FieldKind::kSize},
         {IDC_SLIDER_HEIGHT, "ControlHeight", FieldKind::kSize}}};
    return form;
}

}  // namespace skelda::editing
