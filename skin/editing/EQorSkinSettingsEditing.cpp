// The dialog menu's skin settings: a stretch dialog's region offsets and sizing limits (taken
// live), the mark on its grabber buttons, and the samples of the skinned message box and menu
// that the designer edits through their own editing menus.
#include <cstdlib>

#include "EAttributeDlg.h"
#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorMenu.h"
#include "EQorMessageDlg.h"
#include "EQorStretchDlg.h"
#include "EditMenus.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "StretchSettingsRules.h"

namespace editing = skelda::editing;
using skelda::QorStretchSettings;

namespace {

constexpr const char* kSampleCaption = "QorMessageBox Sample";
constexpr const char* kSampleMessage =
    "This is the skinned message box.\\nRight-click its face or one of its buttons to change how it looks.";
constexpr const char* kNoSkinCaption = "Nothing to Edit";
constexpr const char* kNoMessageBox = "The graphics file has no message box (QorMessageDlg) to edit.";
constexpr const char* kNoMenu = "The graphics file has no menu (MenuDlg) to edit.";
constexpr int kSampleMenuItems = 5;

bool IsGrabber(CWnd* object)
{
    const auto* button = dynamic_cast<const EQorButton*>(object);
    return button && button->GetKind() == EQorButton::kGrabber;
}

editing::AttributeValues ValuesOf(const QorStretchSettings& settings)
{
    editing::AttributeValues values;
    int count = 0;
    const editing::StretchAttribute* attributes = editing::StretchAttributes(&count);
    for (int i = 0; i < count; ++i)
        values[attributes[i].name] = attributes[i].flag ? (settings.*attributes[i].flag ? "1" : "0")
                                                        : std::to_string(settings.*attributes[i].number);
    return values;
}

// The settings `values` name over `base`; the dialog has checked each number already.
QorStretchSettings SettingsOf(const editing::AttributeValues& values, QorStretchSettings base)
{
    int count = 0;
    const editing::StretchAttribute* attributes = editing::StretchAttributes(&count);
    for (int i = 0; i < count; ++i) {
        const auto value = values.find(attributes[i].name);
        if (value == values.end())
            continue;
        const long number = std::strtol(value->second.c_str(), nullptr, 10);
        if (attributes[i].flag)
            base.*attributes[i].flag = number != 0;
        else
            base.*attributes[i].number = static_cast<int>(number);
    }
    return base;
}

void Say(const char* text)
{
    skelda::EngineUserInterface().ShowMessage(text, kNoSkinCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void EQorDialog::FillSkinSettingsMenuState(editing::DialogMenuState* state) const
{
    state->stretchDialog = dynamic_cast<const EQorStretchDlg*>(this) != nullptr;
    state->hasGrabbers = false;
    for (const ControlEntry& entry : m_controls)
        state->hasGrabbers = state->hasGrabbers || IsGrabber(entry.object);
    state->grabbersHighlighted = m_grabbersHighlighted;
    state->messageBox = dynamic_cast<const EQorMessageDlg*>(this) != nullptr;
    state->menu = dynamic_cast<const EQorMenu*>(this) != nullptr;
}

bool EQorDialog::RunSkinSettingsCommand(int command)
{
    editing::DialogMenuState state;
    FillSkinSettingsMenuState(&state);
    switch (command) {
    case editing::kStretchRegions:
    case editing::kStretchSizing:
        return state.stretchDialog && EditStretchValues(command);
    case editing::kHighlightGrabbers:
        return state.hasGrabbers && ToggleGrabberHighlight();
    case editing::kMessageBoxSettings:
        return !state.messageBox && !state.menu && ShowMessageBoxSample();
    case editing::kMenuSettings:
        return state.menu ? EditMenuSettings() : !state.messageBox && ShowMenuSample();
    default:
        return false;
    }
}

bool EQorDialog::EditStretchValues(int command)
{
    auto* stretch = dynamic_cast<EQorStretchDlg*>(this);
    BITMAP face{};
    if (!stretch || !m_dialogElement || !m_background.GetBitmap(&face))
        return false;
    const QorStretchSettings now = stretch->GetStretchSettings();
    const bool regions = command == editing::kStretchRegions;
    editing::EAttributeDlg dialog(regions ? editing::StretchRegionsForm() : editing::StretchSizingForm(), ValuesOf(now),
                                  this);
    dialog.SetFormCheck([&](const editing::AttributeValues& values) {
        const QorStretchSettings typed = SettingsOf(values, now);
        return regions ? editing::CheckRegionOffsets(typed, face.bmWidth, face.bmHeight)
                       : editing::CheckSizingLimits(typed);
    });
    if (dialog.DoModal() != IDOK || dialog.Changed().empty())
        return false;
    win::ComPtr<IXMLDOMNode> data;
    const bool existed = qorxml::SelectSingle(m_dialogElement.Get(), "QorStretchDlgData", &data);
    if (!existed && !qorxml::AppendChildElement(m_dialogElement.Get(), "QorStretchDlgData", &data))
        return false;
    // A new element gets every value, so that the next start reads what shows now.
    const editing::AttributeValues all = ValuesOf(SettingsOf(dialog.Values(), now));
    bool written = true;
    if (existed) {
        for (const std::string& name : dialog.Changed())
            written = qorxml::SetAttribute(data.Get(), name.c_str(), dialog.Values().at(name)) && written;
    } else {
        for (const auto& [name, value] : all)
            written = qorxml::SetAttribute(data.Get(), name.c_str(), value) && written;
    }
    MarkGraphicsEdited();
    stretch->ApplyStretchSettings(SettingsOf(dialog.Values(), now));
    return written;
}

bool EQorDialog::ToggleGrabberHighlight()
{
    m_grabbersHighlighted = !m_grabbersHighlighted;
    for (const ControlEntry& entry : m_controls)
        if (IsGrabber(entry.object))
            static_cast<EQorButton*>(entry.object)->HighlightControl(m_grabbersHighlighted);
    return true;
}

bool EQorDialog::ShowMessageBoxSample()
{
    // The box that every message of the program uses, with the most buttons a box shows; its
    // buttons may be edited here, unlike in the program's own boxes.
    EQorMessageDlg sample(this);
    sample.SetCaption(kSampleCaption);
    sample.SetMessage(kSampleMessage);
    sample.SetFlags(MB_YESNOCANCEL);
    sample.AllowEditing(true);
    if (sample.DoModal() == -1) {
        Say(kNoMessageBox);
        return false;
    }
    return true;
}

bool EQorDialog::ShowMenuSample()
{
    EQorMenu sample(this);
    for (int item = 1; item <= kSampleMenuItems; ++item)
        sample.AddEntry("Menu Item " + std::to_string(item), item);
    sample.KeepOpenForEditing();
    sample.SetPlacement(4);
    if (sample.TrackQorMenu() == -1) {
        Say(kNoMenu);
        return false;
    }
    return true;
}

bool EQorDialog::EditMenuSettings()
{
    auto* menu = dynamic_cast<EQorMenu*>(this);
    if (!menu || !m_dialogElement)
        return false;
    editing::AttributeValues values;
    for (const editing::FormField& field : editing::MenuSettingsForm().fields)
        qorxml::GetAttribute(m_dialogElement.Get(), field.attribute, &values[field.attribute]);
    editing::EAttributeDlg dialog(editing::MenuSettingsForm(), values, this);
    if (dialog.DoModal() != IDOK || dialog.Changed().empty())
        return false;
    bool written = true;
    for (const std::string& name : dialog.Changed())
        written = qorxml::SetAttribute(m_dialogElement.Get(), name.c_str(), dialog.Values().at(name)) && written;
    MarkGraphicsEdited();
    menu->LayOutAgain();
    return written;
}
