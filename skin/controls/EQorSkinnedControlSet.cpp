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
#include "WindowClasses.h"

namespace sf = skelda::skinfile;

struct EQorSkinnedControlSet::Placed {
    size_t index;  // the item's place in the whole template
    HWND window;
};

struct EQorSkinnedControlSet::Controls {
    std::vector<std::unique_ptr<CWnd>> windows;
    // The windows made from the template so far, in template order.
    std::vector<Placed> order;
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

namespace {

// The skin's window class for an element kind whose windows the dialog replaces anyway, so
// that the item is made once, in the replacement's class, for an item of `itemClass`.
const char* SkinWindowClass(const std::string& tag, const std::wstring& itemClass)
{
    if (tag == "QorBtnControl")
        return "QORBUTTON";
    if (tag == "QorTransStaticControl")
        return "QORSTATIC";
    // A slider's class is a copy of the system's slider class, registered by the first one.
    if (tag == "QorSliderControl" && _wcsicmp(itemClass.c_str(), L"msctls_trackbar32") == 0 &&
        skelda::RegisterSliderWindowClass("msctls_trackbar32"))
        return "QORSLIDER";
    return nullptr;
}

// Creates template items in a dialog as its dialog manager does: pixel places from the
// dialog's base units, the child and no-parent-notify styles, the dialog's font.
class ItemMaker {
public:
    explicit ItemMaker(HWND dialog)
        : dialog_(dialog),
          instance_(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(dialog, GWLP_HINSTANCE))),
          font_(reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)))
    {
        RECT units{0, 0, 4, 8};
        ::MapDialogRect(dialog, &units);
        xUnit_ = units.right;
        yUnit_ = units.bottom;
    }
    RECT Place(const skelda::DialogTemplateItem& item) const
    {
        const int x = MulDiv(item.x, xUnit_, 4), y = MulDiv(item.y, yUnit_, 8);
        return {x, y, x + MulDiv(item.cx, xUnit_, 4), y + MulDiv(item.cy, yUnit_, 8)};
    }
    HWND Plain(const skelda::DialogTemplateItem& item) const
    {
        const RECT rect = Place(item);
        const void* data = item.creationData.empty() ? nullptr : item.creationData.data();
        DWORD style = item.style | WS_CHILD, exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
        // The dialog manager draws a control's border sunken, as a client edge.
        if (style & WS_BORDER) {
            style &= ~WS_BORDER;
            exStyle |= WS_EX_CLIENTEDGE;
        }
        return ::CreateWindowExW(exStyle, item.className.c_str(), item.text.c_str(), style, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, dialog_,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance_,
                                 const_cast<void*>(data));
    }
    bool Skinned(CWnd& control, const char* className, const skelda::DialogTemplateItem& item) const
    {
        std::string text(item.text.size() * 2 + 1, '\0');
        const int length = ::WideCharToMultiByte(CP_ACP, 0, item.text.c_str(), static_cast<int>(item.text.size()),
                                                 text.data(), static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        // The skinned kinds register and take their style when they are bound, and answer
        // none of the creation messages: bound after creation, they need no creation hook.
        return control.CreateThenSubclass(item.exStyle | WS_EX_NOPARENTNOTIFY, className, text.c_str(),
                                          item.style | WS_CHILD, Place(item), dialog_, item.id) != FALSE;
    }
    // What the dialog manager does after creating each item, at its place after `previous`.
    // A new child comes last among its siblings: when nothing should follow it yet (`last`),
    // it is in its place already.
    void Finish(HWND window, const skelda::DialogTemplateItem& item, HWND previous, bool last = false) const
    {
        if (!last)
            ::SetWindowPos(window, previous ? previous : HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        if (font_)
            ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
        if (::SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
            ::SendMessageA(dialog_, DM_SETDEFID, item.id, 0);
    }

private:
    HWND dialog_;
    HINSTANCE instance_;
    HFONT font_;
    int xUnit_ = 0, yUnit_ = 0;
};

}  // namespace

int EQorSkinnedControlSet::Bind(EQorDialog& dialog, const std::string& name, const std::vector<int>& skip)
{
    return CreateAndBind(dialog, name, {}, skip);
}

// Binds or creates the children of one dialog by the skin elements of its dialog `name`.
class EQorSkinnedControlSet::Binder {
public:
    Binder(EQorSkinnedControlSet::Controls& controls, const std::string& name, const std::vector<int>& skip)
        : controls_(controls), skip_(skip)
    {
        win::ComPtr<IXMLDOMDocument> document;
        described_ = QorGraphicsEngineAPI().GetGraphicsDocument(document.Put()) &&
                     sf::FindDialogByName(document.Get(), name, &dialogElement_);
        elements_ = std::make_unique<sf::ControlIndex>(dialogElement_.Get());
    }
    bool Described() const { return described_; }
    int Bound() const { return bound_; }

    void BindChild(HWND child)
    {
        const int id = static_cast<short>(::GetDlgCtrlID(child));
        win::ComPtr<IXMLDOMNode> element;
        std::string tag;
        if (!described_ || id == -1 || Skipped(id) || CWnd::FromHandlePermanent(child) ||
            !elements_->Find(id, &element, &tag))
            return;
        std::unique_ptr<CWnd> control = MakeControl(tag, element.Get(), child);
        if (!control || !control->SubclassWindow(child))
            return;
        controls_.windows.push_back(std::move(control));
        ++bound_;
    }

    HWND CreateItem(const skelda::DialogTemplateItem& item, const ItemMaker& maker)
    {
        const int id = static_cast<short>(item.id);
        win::ComPtr<IXMLDOMNode> element;
        std::string tag;
        const char* skinClass =
            described_ && id != -1 && !Skipped(id) && elements_->Find(id, &element, &tag) ? SkinWindowClass(tag, item.className) : nullptr;
        if (skinClass) {
            std::unique_ptr<CWnd> control = MakeControl(tag, element.Get(), nullptr);
            if (control && maker.Skinned(*control, skinClass, item)) {
                const HWND window = control->GetSafeHwnd();
                controls_.windows.push_back(std::move(control));
                ++bound_;
                return window;
            }
        }
        const HWND window = maker.Plain(item);
        if (window)
            BindChild(window);
        return window;
    }

private:
    bool Skipped(int id) const { return std::find(skip_.begin(), skip_.end(), id) != skip_.end(); }

    EQorSkinnedControlSet::Controls& controls_;
    const std::vector<int>& skip_;
    win::ComPtr<IXMLDOMNode> dialogElement_;
    std::unique_ptr<sf::ControlIndex> elements_;
    bool described_ = false;
    int bound_ = 0;
};

int EQorSkinnedControlSet::CreateAndBind(EQorDialog& dialog, const std::string& name,
                                         const std::vector<skelda::DialogTemplateItem>& items,
                                         const std::vector<int>& skip,
                                         const std::vector<skelda::DialogTemplateItem>& later)
{
    Binder binder(*m_controls, name, skip);
    if (!binder.Described() && items.empty())
        return 0;
    std::vector<size_t> absent;
    for (const skelda::DialogTemplateItem& item : later)
        absent.push_back(item.index);
    std::sort(absent.begin(), absent.end());
    // The dialog manager made the other items in template order, each below the one before.
    std::vector<HWND> made;
    for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        made.push_back(child);
    const ItemMaker maker(dialog.m_hWnd);
    HWND previous = nullptr;
    size_t nextMade = 0, nextItem = 0;
    for (size_t index = 0; nextMade < made.size() || nextItem < items.size(); ++index) {
        if (std::binary_search(absent.begin(), absent.end(), index))
            continue;
        HWND window = nullptr;
        if (nextItem < items.size() && items[nextItem].index <= index) {
            const skelda::DialogTemplateItem& item = items[nextItem++];
            if ((window = binder.CreateItem(item, maker)) != nullptr)
                maker.Finish(window, item, previous, nextMade == made.size());
        } else if (nextMade < made.size()) {
            window = made[nextMade++];
            binder.BindChild(window);
        }
        if (window) {
            previous = window;
            m_controls->order.push_back({index, window});
        }
    }
    return binder.Bound();
}

int EQorSkinnedControlSet::CreateLater(EQorDialog& dialog, const std::string& name,
                                       const std::vector<skelda::DialogTemplateItem>& items,
                                       const std::vector<int>& skip)
{
    Binder binder(*m_controls, name, skip);
    if (!binder.Described() && items.empty())
        return 0;
    const ItemMaker maker(dialog.m_hWnd);
    auto& order = m_controls->order;
    for (const skelda::DialogTemplateItem& item : items) {
        const HWND window = binder.CreateItem(item, maker);
        if (!window)
            continue;
        // Below the window of the nearest earlier item, as if the dialog manager had made it.
        const auto after = std::lower_bound(order.begin(), order.end(), item.index,
                                            [](const Placed& placed, size_t index) { return placed.index < index; });
        HWND previous = nullptr;
        for (auto it = after; it != order.begin() && !previous;)
            if (::IsWindow((--it)->window))
                previous = it->window;
        maker.Finish(window, item, previous);
        order.insert(after, {item.index, window});
    }
    return binder.Bound();
}
