// The design-time editing mode's graphics commands on one control: the editing dialog of its
// kind, alternate positions and edge tracking. Each reads the control's element, lets the
// designer change it, writes only what changed and rebuilds the live control from it.
#include "EAttributeDlg.h"
#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorEdit.h"
#include "EditMenus.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace editing = skelda::editing;

namespace {

bool IsTransparentRadio(const EQorButton* button)
{
    return button && (button->GetKind() == EQorButton::kTransparentRadio || button->GetKind() == EQorButton::kMenuRadio);
}

// Message box buttons and menu entries share the element with identifier 50.
int ElementIdOf(const EQorButton* button, int controlId, int sharedEntryMode)
{
    const bool shared = sharedEntryMode == 2 ||
                        (button && (button->GetKind() == EQorButton::kMsgBoxButton ||
                                    button->GetKind() == EQorButton::kMenuRadio));
    return shared ? kSharedControlEntryId : controlId;
}

editing::AttributeValues ReadValues(IXMLDOMNode* element, const editing::AttributeForm& form)
{
    editing::AttributeValues values;
    for (const editing::FormField& field : form.fields)
        if (element)
            qorxml::GetAttribute(element, field.attribute, &values[field.attribute]);
    return values;
}

bool WriteChanged(IXMLDOMNode* element, const editing::EAttributeDlg& dialog)
{
    bool written = true;
    for (const std::string& name : dialog.Changed())
        written = qorxml::SetAttribute(element, name.c_str(), dialog.Values().at(name)) && written;
    return written;
}

}  // namespace

bool EQorDialog::UsesButtonGraphicsTemplate(const ControlEntry& entry) const
{
    const auto* button = dynamic_cast<const EQorButton*>(entry.object);
    win::ComPtr<IXMLDOMNode> element;
    std::string name;
    return button && m_dialogElement &&
           skelda::skinfile::FindButtonById(m_dialogElement.Get(), ElementIdOf(button, entry.id, m_sharedEntryMode),
                                            &element) &&
           qorxml::GetAttribute(element.Get(), "GraphicsTemplate", &name) && !name.empty() &&
           skelda::FindButtonTemplate(name);
}

bool EQorDialog::RunControlGraphicsCommand(const ControlEntry& entry, int command)
{
    auto* button = dynamic_cast<EQorButton*>(entry.object);
    win::ComPtr<IXMLDOMNode> element;
    if (!m_dialogElement ||
        !skelda::skinfile::FindControlById(m_dialogElement.Get(), ElementIdOf(button, entry.id, m_sharedEntryMode),
                                           &element))
        return false;
    const editing::AttributeForm* form = nullptr;
    switch (command) {
    case editing::kChangeGraphicsSettings:
        form = entry.type == eQorSlider              ? &editing::SliderSettingsForm()
               : entry.type == eQorEdit              ? &editing::EditSettingsForm()
               : entry.type == eQorTransparentStatic ? &editing::TransparentStaticForm()
               : IsGenericControlType(entry.type)    ? &editing::ResizeControlForm()
                                                     : nullptr;
        break;
    case editing::kChooseGraphicsTemplate:
        // Bitmap files of its own, unless the button takes them from a template.
        if (UsesButtonGraphicsTemplate(entry))
            return RunButtonTemplateCommand(entry, element.Get(), command);
        if (button)
            form = button->GetKind() == EQorButton::kStaticBitmap ? &editing::BitmapStaticForm()
                                                                  : &editing::ButtonBitmapsForm();
        break;
    case editing::kTransparentRadioSettings:
        form = IsTransparentRadio(button) ? &editing::TransparentRadioForm() : nullptr;
        break;
    case editing::kAlternateXY:
        form = button ? &editing::AlternateXYForm() : nullptr;
        break;
    case editing::kEdgeTracking:
        return button && m_dialogType == 1 && EditEdgeTracking(entry, element.Get());
    default:
        return button && RunButtonTemplateCommand(entry, element.Get(), command);
    }
    if (!form)
        return false;
    editing::EAttributeDlg dialog(*form, ReadValues(element.Get(), *form), this);
    if (dialog.DoModal() != IDOK || dialog.Changed().empty())
        return false;
    // The element first takes the control's state as it is now, so that rebuilding the control
    // from it afterwards keeps a drag not yet written back.
    entry.common->WriteGraphicsEditChangesToXMLObject();
    const bool written = WriteChanged(element.Get(), dialog);
    MarkGraphicsEdited();
    ApplyControlGraphicsEdit(entry);
    return written;
}

bool EQorDialog::EditEdgeTracking(const ControlEntry& entry, IXMLDOMNode* element)
{
    auto* button = dynamic_cast<EQorButton*>(entry.object);
    win::ComPtr<IXMLDOMNode> tracking;
    qorxml::SelectSingle(element, "QorControlTracking", &tracking);
    editing::AttributeValues values = ReadValues(tracking.Get(), editing::EdgeTrackingForm());
    int orientation = 0;
    skelda::skinfile::ReadInt(tracking.Get(), "Orientation", &orientation);
    values["FollowsRight"] = (orientation & 2) ? "1" : "0";
    values["FollowsBottom"] = (orientation & 8) ? "1" : "0";
    if (!tracking) {
        // Without tracking data the distances are those the button keeps now.
        RECT rect{}, client{};
        entry.common->GetQorRect(&rect);
        ::GetClientRect(m_hWnd, &client);
        values["RightOffset"] = std::to_string(client.right - rect.right);
        values["BottomOffset"] = std::to_string(client.bottom - rect.bottom);
    }
    editing::EAttributeDlg dialog(editing::EdgeTrackingForm(), values, this);
    if (dialog.DoModal() != IDOK || dialog.Changed().empty())
        return false;
    entry.common->WriteGraphicsEditChangesToXMLObject();
    if (!tracking && !qorxml::AppendChildElement(element, "QorControlTracking", &tracking))
        return false;
    const editing::AttributeValues& chosen = dialog.Values();
    orientation = (chosen.at("FollowsRight") == "1" ? 2 : 0) | (chosen.at("FollowsBottom") == "1" ? 8 : 0);
    const bool written = qorxml::SetAttribute(tracking.Get(), "Orientation", std::to_string(orientation)) &&
                         qorxml::SetAttribute(tracking.Get(), "RightOffset", chosen.at("RightOffset")) &&
                         qorxml::SetAttribute(tracking.Get(), "BottomOffset", chosen.at("BottomOffset"));
    MarkGraphicsEdited();
    ApplyControlGraphicsEdit(entry);
    if (button)
        button->AdjustToParentEdges();
    return written;
}

void EQorDialog::ApplyControlGraphicsEdit(const ControlEntry& entry)
{
    auto* button = dynamic_cast<EQorButton*>(entry.object);
    const int group = button ? button->GetCurrentAlternateXYGroup() : 1;
    entry.common->LoadQorControlData(m_dialogElement.Get());
    if (button && group > 1)
        button->UseAlternateXYPosition(group);
    // Loading only adds a background bitmap; one taken away goes here.
    if (auto* edit = dynamic_cast<EQorEdit*>(entry.object)) {
        win::ComPtr<IXMLDOMNode> element;
        std::string bitmap;
        if (skelda::skinfile::FindControlById(m_dialogElement.Get(), entry.id, &element) &&
            !skelda::skinfile::ReadText(element.Get(), "BackgroundBitmapFile", &bitmap))
            edit->SetBackgroundBitmapFile(std::string());
    }
    entry.common->ReloadQorBackground();
    RedrawDlgWindow();
}
