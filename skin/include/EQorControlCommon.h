#pragma once
// What every skinned control answers through its control interface the same way: who it is
// (its window, its object, its kind; nominal reference counting) and where it sits in its
// dialog and whether the skin shows it. The kinds add loading, writing back and adding their
// element.
#include <windows.h>

#include "IQorControlCommon.h"
#include <win/ComPtr.h>
#include "SkeldaExport.h"

class EQorDialog;

class SKELDA_API EQorControlCommon : public IQorControlCommon {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    LONG STDMETHODCALLTYPE GetCWndPtr(CWnd** window) override;
    // The control object, which starts at its window object.
    LONG STDMETHODCALLTYPE GetControlClassPointer(void** control) override;
    LONG STDMETHODCALLTYPE GetQorControlType(eControlType* type) override;
    // The window's rectangle in its parent's client area; E_FAIL before the window exists.
    LONG STDMETHODCALLTYPE GetQorRect(RECT* rect) override;
    // The offsets the skin gave (or the control last wrote).
    LONG STDMETHODCALLTYPE GetQor_X_Y(int* x, int* y) override;
    LONG STDMETHODCALLTYPE GetQor_Height(int* height) override;
    LONG STDMETHODCALLTYPE GetQor_Width(int* width) override;
    // "ControlIsVisible" as last loaded; visible until then.
    LONG STDMETHODCALLTYPE GetQor_CtrlIsVisible(BOOL* visible) override;

    EQorControlCommon(const EQorControlCommon&) = delete;
    EQorControlCommon& operator=(const EQorControlCommon&) = delete;

protected:
    // `window` is the control's own window object (its first base).
    EQorControlCommon(CWnd* window, eControlType type) : m_window(window), m_type(type) {}
    ~EQorControlCommon() = default;

    // The skinned dialog the control's window sits in; null without a window or such a parent.
    EQorDialog* ParentDialog() const;
    // Registers the control with its parent dialog, which substitutes its window later
    // (`AddQorControl`); false without a skinned parent.
    bool AddToParentDialog(int controlId);
    // Registers an already created window with its parent dialog (`RegisterChildQorControl`).
    bool AddCreatedToParentDialog(int controlId);

    // The attribute names a kind keeps its size under; none for kinds sized by their bitmaps.
    struct SizeNames {
        const char* width = nullptr;
        const char* height = nullptr;
    };
    // Appends the control's new `name` element to the dialog's element with "ControlIdValue"
    // and the window's place in the dialog ("ControlXOffset", "ControlYOffset"), then its size
    // under `size`. Gives the element and the rectangle for the kind's own attributes; false
    // before the window exists or when an attribute cannot be written.
    bool AppendOwnElement(IXMLDOMNode* dialogElement, const char* name, int controlId, SizeNames size,
                          win::ComPtr<IXMLDOMNode>* element = nullptr, RECT* rect = nullptr);

    CWnd* const m_window;
    const eControlType m_type;
    int m_x = 0, m_y = 0;
    bool m_visible = true;

private:
    // One dimension of the rectangle (0 without a window, with GetQorRect's failure).
    template <class Dimension>
    LONG Measure(int* out, Dimension dimension);
};
