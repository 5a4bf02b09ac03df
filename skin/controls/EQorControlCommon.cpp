// What the skinned control classes answer alike through their control interface.
#include "EQorControlCommon.h"

#include <string>

#include "EQorDialog.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "framework/Wnd.h"

namespace skinfile = skelda::skinfile;

HRESULT STDMETHODCALLTYPE EQorControlCommon::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    *out = iid == IID_IUnknown ? static_cast<IQorControlCommon*>(this) : nullptr;
    return *out ? S_OK : E_NOINTERFACE;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetCWndPtr(CWnd** window)
{
    if (!window)
        return E_POINTER;
    *window = m_window;
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetControlClassPointer(void** control)
{
    if (!control)
        return E_POINTER;
    *control = m_window;
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetQorControlType(eControlType* type)
{
    if (!type)
        return E_POINTER;
    *type = m_type;
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetQorRect(RECT* rect)
{
    if (!rect)
        return E_POINTER;
    const HWND handle = m_window->GetSafeHwnd();
    if (!handle)
        return E_FAIL;
    ::GetWindowRect(handle, rect);
    if (HWND parent = ::GetParent(handle))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(rect), 2);
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetQor_X_Y(int* x, int* y)
{
    if (!x || !y)
        return E_POINTER;
    *x = m_x;
    *y = m_y;
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetQor_Height(int* height)
{
    return Measure(height, [](const RECT& rect) { return static_cast<int>(rect.bottom - rect.top); });
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetQor_Width(int* width)
{
    return Measure(width, [](const RECT& rect) { return static_cast<int>(rect.right - rect.left); });
}

template <class Dimension>
LONG EQorControlCommon::Measure(int* out, Dimension dimension)
{
    RECT rect{};
    if (!out)
        return E_POINTER;
    const LONG result = GetQorRect(&rect);
    *out = dimension(rect);
    return result;
}

LONG STDMETHODCALLTYPE EQorControlCommon::GetQor_CtrlIsVisible(BOOL* visible)
{
    if (!visible)
        return E_POINTER;
    *visible = m_visible;
    return 0;
}

LONG STDMETHODCALLTYPE EQorControlCommon::ReloadQorBackground()
{
    if (const HWND handle = m_window->GetSafeHwnd())
        ::InvalidateRect(handle, nullptr, TRUE);
    return 0;
}

EQorDialog* EQorControlCommon::ParentDialog() const
{
    const HWND handle = m_window->GetSafeHwnd();
    return handle ? dynamic_cast<EQorDialog*>(CWnd::FromHandlePermanent(::GetParent(handle))) : nullptr;
}

int EQorControlCommon::ParentDialogId() const
{
    EQorDialog* dialog = ParentDialog();
    return dialog ? dialog->GetDlgResID() : 0;
}

void EQorControlCommon::RegisterWithParent(int controlId)
{
    m_controlId = controlId;
    if (!m_registered && m_window->GetSafeHwnd() && controlId != 0)
        m_registered = AddToParentDialog(controlId);
}

bool EQorControlCommon::RegisterCreatedWithParent(int controlId)
{
    if (!m_window->GetSafeHwnd())
        return false;
    m_controlId = controlId;
    if (!m_registered)
        m_registered = AddCreatedToParentDialog(controlId);
    return m_registered;
}

void EQorControlCommon::RegisterCreatedWindow()
{
    RegisterWithParent(::GetDlgCtrlID(m_window->GetSafeHwnd()));
}

bool EQorControlCommon::ReadPlacement(IXMLDOMNode* dialogElement, SizeNames size, win::ComPtr<IXMLDOMNode>* element,
                                      Placement* placement)
{
    if (m_controlId < 1 || !dialogElement || !skinfile::FindControlById(dialogElement, m_controlId, element))
        return false;
    IXMLDOMNode* found = element->Get();
    skinfile::ReadInt(found, "ControlXOffset", &m_x);
    skinfile::ReadInt(found, "ControlYOffset", &m_y);
    placement->sized = size.width && skinfile::ReadInt(found, size.width, &placement->width) &&
                       skinfile::ReadInt(found, size.height, &placement->height);
    m_visible = skinfile::ReadControlIsVisible(found);
    return true;
}

void EQorControlCommon::ApplyPlacement(const Placement& placement)
{
    if (const HWND handle = m_window->GetSafeHwnd())
        ::SetWindowPos(handle, nullptr, m_x, m_y, placement.width, placement.height,
                       SWP_NOZORDER | SWP_NOACTIVATE | (placement.sized ? 0 : SWP_NOSIZE));
}

bool EQorControlCommon::AddToParentDialog(int controlId)
{
    EQorDialog* dialog = ParentDialog();
    return dialog && dialog->AddQorControl(m_window, controlId, m_type, this);
}

bool EQorControlCommon::AddCreatedToParentDialog(int controlId)
{
    EQorDialog* dialog = ParentDialog();
    return dialog && dialog->RegisterChildQorControl(controlId, m_window->GetSafeHwnd(), m_type, this);
}

bool EQorControlCommon::AppendOwnElement(IXMLDOMNode* dialogElement, const char* name, int controlId,
                                         SizeNames size, win::ComPtr<IXMLDOMNode>* element, RECT* rect)
{
    win::ComPtr<IXMLDOMNode> appended;
    RECT place{};
    if (!dialogElement || GetQorRect(&place) != 0 || !qorxml::AppendChildElement(dialogElement, name, &appended))
        return false;
    bool written = qorxml::SetAttribute(appended.Get(), "ControlIdValue", std::to_string(controlId)) &&
                   qorxml::SetAttribute(appended.Get(), "ControlXOffset", std::to_string(place.left)) &&
                   qorxml::SetAttribute(appended.Get(), "ControlYOffset", std::to_string(place.top));
    if (written && size.width)
        written = qorxml::SetAttribute(appended.Get(), size.width, std::to_string(place.right - place.left)) &&
                  qorxml::SetAttribute(appended.Get(), size.height, std::to_string(place.bottom - place.top));
    if (element)
        *element = std::move(appended);
    if (rect)
        *rect = place;
    return written;
}

bool EQorControlCommon::MoveForEditing(int dx, int dy)
{
    RECT rect{};
    if (GetQorRect(&rect) != 0)
        return false;
    m_x = rect.left + dx;
    m_y = rect.top + dy;
    ::SetWindowPos(m_window->GetSafeHwnd(), nullptr, m_x, m_y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    return true;
}

bool EQorControlCommon::WritePlacement(SizeNames size, win::ComPtr<IXMLDOMNode>* element, const char* xName,
                                       const char* yName)
{
    EQorDialog* dialog = ParentDialog();
    RECT rect{};
    if (!dialog || !dialog->GetDlgRootNode() || GetQorRect(&rect) != 0 ||
        !skinfile::FindControlById(dialog->GetDlgRootNode(), m_controlId, element))
        return false;
    IXMLDOMNode* found = element->Get();
    bool written = qorxml::SetAttribute(found, xName, std::to_string(rect.left)) &&
                   qorxml::SetAttribute(found, yName, std::to_string(rect.top)) &&
                   qorxml::SetAttribute(found, "ControlIsVisible", m_visible ? "1" : "0");
    if (written && size.width)
        written = qorxml::SetAttribute(found, size.width, std::to_string(rect.right - rect.left)) &&
                  qorxml::SetAttribute(found, size.height, std::to_string(rect.bottom - rect.top));
    return written;
}

bool EQorControlCommon::HasNonClientArea(HWND window)
{
    RECT outer{}, client{};
    if (!::GetWindowRect(window, &outer) || !::GetClientRect(window, &client))
        return true;
    return outer.right - outer.left != client.right || outer.bottom - outer.top != client.bottom;
}
