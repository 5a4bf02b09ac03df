#pragma once
// Minimal honest skinned controls for the dialog tests: they register with their dialog,
// place themselves from their element, add an element when asked and record the stretch
// messages they receive.
#include <windows.h>

#include <string>
#include <vector>

#include "EQorDialog.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "framework/Controls.h"

namespace dialogtest {

struct ReceivedMessage {
    UINT message;
    int wParam, lParam;
};

template <class Base>
class TestControl : public Base, public IQorControlCommon {
public:
    explicit TestControl(eControlType type) : type_(type) {}

    // Binds the dialog item and registers with the dialog, as a skinned control does.
    void Bind(EQorDialog* dialog, int id)
    {
        id_ = id;
        this->SubclassDlgItem(id, dialog);
        dialog->RegisterChildQorControl(id, this->m_hWnd, type_, this);
    }

    bool loaded = false, visible = true;
    int x = 0, y = 0;
    std::vector<ReceivedMessage> received;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() override { return 0; }
    LONG STDMETHODCALLTYPE GetCWndPtr(CWnd** window) override
    {
        *window = this;
        return 0;
    }
    LONG STDMETHODCALLTYPE GetControlClassPointer(void** control) override
    {
        *control = this;
        return 0;
    }
    LONG STDMETHODCALLTYPE GetQorControlType(eControlType* type) override
    {
        *type = type_;
        return 0;
    }
    LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) override
    {
        win::ComPtr<IXMLDOMNode> element;
        if (!skelda::skinfile::FindControlById(dialogElement, id_, &element))
            return E_FAIL;
        skelda::skinfile::ReadInt(element.Get(), "ControlXOffset", &x);
        skelda::skinfile::ReadInt(element.Get(), "ControlYOffset", &y);
        visible = skelda::skinfile::ReadControlIsVisible(element.Get());
        ::SetWindowPos(this->m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        loaded = true;
        return 0;
    }
    LONG STDMETHODCALLTYPE GetQorRect(RECT* rect) override
    {
        ::GetWindowRect(this->m_hWnd, rect);
        return 0;
    }
    LONG STDMETHODCALLTYPE GetQor_X_Y(int* px, int* py) override
    {
        *px = x;
        *py = y;
        return 0;
    }
    LONG STDMETHODCALLTYPE GetQor_Height(int* height) override
    {
        RECT r{};
        GetQorRect(&r);
        *height = r.bottom - r.top;
        return 0;
    }
    LONG STDMETHODCALLTYPE GetQor_Width(int* width) override
    {
        RECT r{};
        GetQorRect(&r);
        *width = r.right - r.left;
        return 0;
    }
    LONG STDMETHODCALLTYPE GetQor_CtrlIsVisible(BOOL* isVisible) override
    {
        *isVisible = visible;
        return 0;
    }
    LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) override
    {
        win::ComPtr<IXMLDOMNode> child;
        if (!qorxml::AppendChildElement(dialogElement, "QorBtnControl", &child) ||
            !qorxml::SetAttribute(child.Get(), "ControlIdValue", std::to_string(controlId)))
            return E_FAIL;
        return 0;
    }
    LONG STDMETHODCALLTYPE ReloadQorBackground() override
    {
        ::InvalidateRect(this->m_hWnd, nullptr, TRUE);
        return 0;
    }

protected:
    LRESULT OnPrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER + 100 && message <= WM_USER + 102) {
            received.push_back({message, static_cast<int>(wParam), static_cast<int>(lParam)});
            return 0;
        }
        return Base::OnPrivateMessage(message, wParam, lParam);
    }

private:
    eControlType type_;
    int id_ = 0;
};

using TestButton = TestControl<CButton>;

}  // namespace dialogtest
