#pragma once
// The context menus of the design-time editing mode as plain tables: which entries a dialog or
// a control offers, with which command numbers, texts, sub-menus and states. The dialog turns
// them into popup menus and carries the chosen command out itself.
#include <string>
#include <vector>

#include "QorControlTypes.h"

namespace skelda::editing {

// Commands of the dialog's menu.
enum DialogCommand {
    kChangeBitmapFile = 4001,
    kHighlightStatics = 4003,
    kSaveGraphics = 4004,
    kSaveText = 4005,
    kSetParentFolder = 4006,
    kEnableAllControls = 4007,
    kDialogTextValues = 4008,
    kChangeAuxBitmaps = 4011,
    kShowAllControls = 4012,
    kTogglePlacementControls = 4013,
    kStretchRegions = 4014,
    kStretchSizing = 4015,
    kMessageBoxSettings = 4016,
    kHighlightGrabbers = 4017,
    kMenuSettings = 4018,
};

// Commands of the controls' menus.
enum ControlCommand {
    kToggleLock = 1,
    kChangeTextSettings = 7,
    kChangeTooltips = 8,
    kSetVisibility = 9,
    kEdgeTracking = 10,
    kEditButtonGraphicsTemplates = 11,
    kEditButtonTextTemplates = 12,
    kStopUsingTextTemplate = 13,
    kAlterNonTemplateText = 14,
    kChangeCaptions = 15,
    kCopyTextTemplate = 16,
    kCreateTextTemplate = 17,
    kCopyTextToTemplate = 18,
    kToggleGraphicsTemplate = 20,
    kCopyGraphicsTemplate = 22,
    kTransparentRadioSettings = 30,
    kAlternateXY = 31,
    kChangeGraphicsSettings = 40,
    kChooseTextTemplate = 41,
    kChooseGraphicsTemplate = 42,
    kAddPreliminaryControlInfo = 50,  // the only entry of a control without skin data
};

struct MenuItem {
    int command = 0;  // 0 for a sub-menu or a separator
    std::string text;  // empty for a separator
    bool enabled = true;
    bool checked = false;
    std::vector<MenuItem> items;  // a sub-menu's entries
};

struct ControlMenuState {
    eControlType type = eQorButton;
    bool transparentRadio = false;
    bool locked = true;
    bool visibleAtStartup = true;
    bool stretchDialog = false;
    bool usesGraphicsTemplate = false;
    bool usesTextTemplate = false;
    bool graphicsEditing = false;
    bool textEditing = false;
    bool hasElement = true;  // the skin's dialog data has an entry for the control
};

struct DialogMenuState {
    bool staticsHighlighted = false;
    bool invisibleShown = false;
    bool placementEnabled = false;
    bool graphicsChanged = false;
    bool textChanged = false;
    bool hasAuxBitmaps = false;
    bool stretchDialog = false;
    bool graphicsEditing = false;
    bool textEditing = false;
    // Stretch dialogs: grabber buttons registered, and marked.
    bool hasGrabbers = false;
    bool grabbersHighlighted = false;
    // The dialog is the skinned message box or menu itself (a sample shown for editing).
    bool messageBox = false;
    bool menu = false;
};

// What the menus' entries do; the rest show greyed.
bool IsImplementedControlCommand(int command, eControlType type);
bool IsImplementedDialogCommand(int command);

std::vector<MenuItem> ControlMenu(const ControlMenuState& state);
std::vector<MenuItem> DialogMenu(const DialogMenuState& state);

// The item with `command` anywhere in `items`, or null.
const MenuItem* FindItem(const std::vector<MenuItem>& items, int command);

}  // namespace skelda::editing
