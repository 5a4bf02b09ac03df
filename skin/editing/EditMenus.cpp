// The editing mode's menu tables.
#include "EditMenus.h"

namespace skelda::editing {
namespace {

MenuItem Entry(eControlType type, int command, std::string text, bool enabled = true, bool checked = false)
{
    MenuItem item;
    item.command = command;
    item.text = std::move(text);
    item.enabled = enabled && IsImplementedControlCommand(command, type);
    item.checked = checked;
    return item;
}

MenuItem Sub(std::string text, std::vector<MenuItem> items)
{
    MenuItem item;
    item.text = std::move(text);
    item.items = std::move(items);
    return item;
}

MenuItem LockEntry(bool locked)
{
    return Entry(eQorButton, kToggleLock, locked ? "Unlock Control (Allow Drag)" : "Lock Control in Place");
}

MenuItem VisibilityEntry(bool visible)
{
    return Entry(eQorButton, kSetVisibility, "Set Visibilty at Startup", true, visible);
}

std::vector<MenuItem> ButtonMenu(const ControlMenuState& s)
{
    std::vector<MenuItem> menu;
    if (s.graphicsEditing) {
        std::vector<MenuItem> graphics{
            LockEntry(s.locked),
            Entry(s.type, kToggleGraphicsTemplate, s.usesGraphicsTemplate ? "Switch to Not Using a Graphics Template"
                                                                  : "Switch to Using a Graphics Template"),
            Entry(s.type, kChooseGraphicsTemplate, s.usesGraphicsTemplate ? "Select A Different Button Graphics Template"
                                                                  : "Change Bitmap Files"),
            Entry(s.type, kCopyGraphicsTemplate, "Copy a Graphics Template into Graphics Settings"),
            VisibilityEntry(s.visibleAtStartup)};
        if (s.transparentRadio)
            graphics.push_back(Entry(s.type, kTransparentRadioSettings, "Change Transparent Radio Settings"));
        graphics.push_back(Entry(s.type, kEditButtonGraphicsTemplates, "Edit Button Graphics Templates"));
        graphics.push_back(Entry(s.type, kAlternateXY, "Set Alternate XY Coordinates"));
        if (s.stretchDialog)
            graphics.push_back(Entry(s.type, kEdgeTracking, "Set Control Edge Tracking Values"));
        menu.push_back(Sub("Edit Graphics Settings", std::move(graphics)));
    }
    if (s.textEditing) {
        std::vector<MenuItem> text;
        if (s.usesTextTemplate) {
            text.push_back(Entry(s.type, kAlterNonTemplateText, "Alter Non-Template Text Values"));
            text.push_back(Entry(s.type, kStopUsingTextTemplate, "Stop Using Text Template"));
            text.push_back(Entry(s.type, kChooseTextTemplate, "Choose a Different Text Template"));
        } else {
            text.push_back(Entry(s.type, kChangeTextSettings, "Change Text Settings"));
            text.push_back(Entry(s.type, kChooseTextTemplate, "Use Text Template"));
        }
        text.push_back(Entry(s.type, kCopyTextTemplate, "Copy a Text Template into Text Settings"));
        text.push_back(Entry(s.type, kChangeCaptions, "Change Captions"));
        text.push_back(Entry(s.type, kChangeTooltips, "Change Tooltips"));
        text.push_back(Entry(s.type, kEditButtonTextTemplates, "Edit Button Text Templates"));
        text.push_back(Entry(s.type, kCreateTextTemplate, "Create a new Button Text Template"));
        if (!s.usesTextTemplate)
            text.push_back(Entry(s.type, kCopyTextToTemplate, "Copy Current Button Text Values to Text Template"));
        menu.push_back(Sub("Edit Text Fields", std::move(text)));
    }
    return menu;
}

}  // namespace

bool IsImplementedControlCommand(int command, eControlType type)
{
    switch (command) {
    case kToggleLock:
    case kSetVisibility:
    case kChangeTooltips:
    case kChangeCaptions:
    case kAddPreliminaryControlInfo:
        return true;
    case kChangeTextSettings:
        return type == eQorButton || type == eQorTransparentStatic || type == eQorEdit || IsGenericControlType(type);
    case kStopUsingTextTemplate:
        return type == eQorButton || type == eQorTransparentStatic;
    case kChangeGraphicsSettings:
        return type == eQorTransparentStatic || type == eQorEdit || type == eQorSlider || IsGenericControlType(type);
    case kChooseGraphicsTemplate:
    case kTransparentRadioSettings:
    case kAlternateXY:
    case kEdgeTracking:
    case kToggleGraphicsTemplate:
    case kCopyGraphicsTemplate:
    case kEditButtonGraphicsTemplates:
        return type == eQorButton;
    case kChooseTextTemplate:
    case kEditButtonTextTemplates:
    case kAlterNonTemplateText:
        return type == eQorButton || type == eQorTransparentStatic;
    case kCopyTextTemplate:
    case kCreateTextTemplate:
    case kCopyTextToTemplate:
        return type == eQorButton;
    default:
        return false;
    }
}

bool IsImplementedDialogCommand(int command)
{
    switch (command) {
    case kChangeBitmapFile:
    case kHighlightStatics:
    case kSaveGraphics:
    case kSaveText:
    case kEnableAllControls:
    case kShowAllControls:
    case kChangeAuxBitmaps:
    case kTogglePlacementControls:
    case kSetParentFolder:
    case kDialogTextValues:
    case kStretchRegions:
    case kStretchSizing:
    case kHighlightGrabbers:
    case kMessageBoxSettings:
    case kMenuSettings:
        return true;
    default:
        return false;
    }
}

std::vector<MenuItem> ControlMenu(const ControlMenuState& s)
{
    // Without skin data nothing else could be saved: the control gets its entry first.
    if (!s.hasElement)
        return s.graphicsEditing ? std::vector<MenuItem>{Entry(s.type, kAddPreliminaryControlInfo,
                                                               "Add Preliminary Control Info To QorDialog Script Data")}
                                 : std::vector<MenuItem>{};
    if (s.type == eQorButton)
        return ButtonMenu(s);
    std::vector<MenuItem> menu;
    const bool g = s.graphicsEditing, t = s.textEditing;
    if (g)
        menu.push_back(LockEntry(s.locked));
    switch (s.type) {
    case eQorTransparentStatic:
        if (g) {
            menu.push_back(Entry(s.type, kChangeGraphicsSettings, "Change Graphics Settings"));
            menu.push_back(VisibilityEntry(s.visibleAtStartup));
        }
        if (t) {
            menu.push_back(Entry(s.type, s.usesTextTemplate ? kAlterNonTemplateText : kChangeTextSettings,
                                 s.usesTextTemplate ? "Alter Non-Template Text Values" : "Change Text Settings"));
            if (s.usesTextTemplate)
                menu.push_back(Entry(s.type, kStopUsingTextTemplate, "Stop Using Text Template"));
            menu.push_back(Entry(s.type, kChooseTextTemplate,
                                 s.usesTextTemplate ? "Choose a Different Text Template" : "Use Text Template"));
            menu.push_back(Entry(s.type, kChangeCaptions, "Change Caption"));
            menu.push_back(Entry(s.type, kChangeTooltips, "Change Tooltip"));
            menu.push_back(Entry(s.type, kEditButtonTextTemplates, "Edit Static Text Templates"));
        }
        break;
    case eQorEdit:
        if (g) {
            menu.push_back(Entry(s.type, kChangeGraphicsSettings, "Change Graphics Settings"));
            menu.push_back(VisibilityEntry(s.visibleAtStartup));
        }
        if (t) {
            menu.push_back(Entry(s.type, kChangeTextSettings, "Change Text Settings"));
            menu.push_back(Entry(s.type, kChangeTooltips, "Change Tooltip"));
        }
        break;
    case eQorSlider:
        if (g) {
            menu.push_back(Entry(s.type, kChangeGraphicsSettings, "Change Slider Graphics Settings"));
            menu.push_back(VisibilityEntry(s.visibleAtStartup));
        }
        if (t)
            menu.push_back(Entry(s.type, kChangeTooltips, "Change Tooltip"));
        break;
    default:  // the generic kinds
        if (g) {
            menu.push_back(Entry(s.type, kChangeGraphicsSettings, "Resize Control"));
            menu.push_back(VisibilityEntry(s.visibleAtStartup));
        }
        if (t) {
            menu.push_back(Entry(s.type, kChangeTextSettings, "Change Text Settings"));
            menu.push_back(Entry(s.type, kChangeTooltips, "Change Tooltips"));
        }
        break;
    }
    return menu;
}

std::vector<MenuItem> DialogMenu(const DialogMenuState& s)
{
    auto entry = [](int command, const char* text, bool enabled = true) {
        MenuItem item;
        item.command = command;
        item.text = text;
        item.enabled = enabled && IsImplementedDialogCommand(command);
        return item;
    };
    std::vector<MenuItem> menu;
    if (s.graphicsEditing) {
        menu.push_back(entry(kChangeBitmapFile, "Change Bitmap File"));
        menu.push_back(entry(kChangeAuxBitmaps, "Change Auxiliary Bitmap Filenames", s.hasAuxBitmaps));
        menu.push_back(entry(kHighlightStatics,
                             s.staticsHighlighted ? "Un-Highlight Static Controls" : "Highlight Static Controls"));
        menu.push_back(entry(kEnableAllControls, "Enable all Qor-Controls on this Dialog"));
        menu.push_back(entry(kShowAllControls, s.invisibleShown ? "Hide All previously invisible QorControls"
                                                                : "Show All QorControls (For Invisible Controls)"));
        menu.push_back(entry(kTogglePlacementControls, s.placementEnabled ? "Disable and Hide Placement Controls"
                                                                          : "Enable and Show Placement Controls"));
    }
    if (s.textEditing) {
        menu.push_back(entry(kDialogTextValues, "Set Dialog Text Values"));
        menu.push_back(entry(kSaveText, "Save Text Changes", s.textChanged));
    }
    if (s.graphicsEditing) {
        menu.push_back(entry(kSaveGraphics, "Save Graphics Changes", s.graphicsChanged));
        menu.push_back(entry(kSetParentFolder, "Set Graphics File-path entries to specific parent directory"));
        if (s.stretchDialog) {
            menu.push_back(entry(kStretchRegions, "Show Set Stretch regions Dialog"));
            menu.push_back(entry(kStretchSizing, "Show Set Stretch Sizing Dialog"));
            menu.push_back(entry(kHighlightGrabbers,
                                 s.grabbersHighlighted ? "Unhighlight Drag Buttons" : "Highlight Drag Buttons",
                                 s.hasGrabbers));
        }
        // A sample does not open another sample; the menu's own entry edits its layout values.
        menu.push_back(entry(kMessageBoxSettings, "Change QorMessageBox Settings", !s.messageBox && !s.menu));
        menu.push_back(entry(kMenuSettings, "Change QorMenu Settings", !s.messageBox));
    }
    return menu;
}

const MenuItem* FindItem(const std::vector<MenuItem>& items, int command)
{
    for (const MenuItem& item : items) {
        if (item.command == command && command != 0)
            return &item;
        if (const MenuItem* found = FindItem(item.items, command))
            return found;
    }
    return nullptr;
}

}  // namespace skelda::editing
