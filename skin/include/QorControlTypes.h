#pragma once
// Kinds of skinned controls, as they register with their dialog.
enum eControlType : int {
    eQorButton = 0,
    eQorTransparentStatic = 1,
    eQorEdit = 3,
    eQorSlider = 4,
    eQorGenericFirst = 20,
    eQorGenericComboBox = 21,
    eQorGenericProgressBar = 22,
    eQorGenericSlider = 23,
    eQorGenericListControl = 24,
    eQorGenericSpinControl = 25,
    eQorGenericPlacementControl = 26,
};

inline bool IsGenericControlType(int type)
{
    return type >= eQorGenericFirst && type <= eQorGenericPlacementControl;
}

// The element identifier that the message box buttons and the menu's radio buttons share.
inline constexpr int kSharedControlEntryId = 50;
