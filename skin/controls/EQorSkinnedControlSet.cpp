#include "EQorSkinnedControlSet.h"

#include <algorithm>
#include <memory>

#include "EQorButton.h"
#include "EQorEdit.h"
#include "EQorGenericControls.h"
#include "EQorSlider.h"
#include "EQorTransparentStatic.h"
#include "GenericControlData.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"
#include "ControlIndex.h"
#include "SkinFileModel.h"

namespace sf = skelda::skinfile;

struct EQorSkinnedControlSet::Controls {
    std::vector<std::unique_ptr<CWnd>> windows;
};

namespace {

// A generic element wraps the kind its "ControlType" names, or else whichever common control
// the template put there.
std::unique_ptr<CWnd> MakeGeneric(IXMLDOMNode* element, HWND child)
{
    std::string type;
    sf::ReadText(element, "ControlType", &type);
    char name[64] = {};
    ::GetClassNameA(child, name, sizeof(name));
    switch (skelda::controls::GenericKindToBind(type, name)) {
    case eQorGenericComboBox: return std::make_unique<EQorComboBoxGeneric>();
    case eQorGenericProgressBar: return std::make_unique<EQorProgressBarGeneric>();
    case eQorGenericSlider: return std::make_unique<EQorSliderCtrlGeneric>();
    case eQorGenericListControl: return std::make_unique<EQorListControlGeneric>();
    case eQorGenericSpinControl: return std::make_unique<EQorSpinButton>();
    case eQorGenericPlacementControl: return std::make_unique<EQorGenericAdjusterControl>();
    default: return nullptr;
    }
}

std::unique_ptr<CWnd> MakeControl(const std::string& tag, IXMLDOMNode* element, HWND child)
{
    if (tag == "QorBtnControl")
        return std::make_unique<EQorButton>();
    if (tag == "QorEditControl")
        return std::make_unique<EQorEdit>();
    if (tag == "QorTransStaticControl")
        return std::make_unique<EQorTransparentStatic>();
    if (tag == "QorSliderControl")
        return std::make_unique<EQorSlider>();
    if (tag == "QorGenericControl")
        return MakeGeneric(element, child);
    return nullptr;
}

}  // namespace

EQorSkinnedControlSet::EQorSkinnedControlSet() : m_controls(new Controls) {}

EQorSkinnedControlSet::~EQorSkinnedControlSet()
{
    delete m_controls;
}

int EQorSkinnedControlSet::Bind(EQorDialog& dialog, const std::string& name, const std::vector<int>& skip)
{
    win::ComPtr<IXMLDOMDocument> document;
    win::ComPtr<IXMLDOMNode> dialogElement;
    if (!QorGraphicsEngineAPI().GetGraphicsDocument(document.Put()) ||
        !sf::FindDialogByName(document.Get(), name, &dialogElement))
        return 0;
    const sf::ControlIndex elements(dialogElement.Get());
    int bound = 0;
    for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const int id = static_cast<short>(::GetDlgCtrlID(child));
        if (id == -1 || std::find(skip.begin(), skip.end(), id) != skip.end() || CWnd::FromHandlePermanent(child))
            continue;
        win::ComPtr<IXMLDOMNode> element;
        std::string tag;
        if (!elements.Find(id, &element, &tag))
            continue;
        std::unique_ptr<CWnd> control = MakeControl(tag, element.Get(), child);
        if (!control || !control->SubclassDlgItem(static_cast<UINT>(id), &dialog))
            continue;
        m_controls->windows.push_back(std::move(control));
        ++bound;
    }
    return bound;
}
