#pragma once
// What every skinned control answers through its control interface the same way: who it is
// (its window, its object, its kind; nominal reference counting) and where it sits in its
// dialog and whether the skin shows it. The kinds add loading, writing back and adding their
// element.
#include <windows.h>

#include <win/ComPtr.h>

#include "IQorControlCommon.h"
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
    // Repaints the window; kinds that keep a copy of the dialog's face take it again.
    LONG STDMETHODCALLTYPE ReloadQorBackground() override;

    EQorControlCommon(const EQorControlCommon&) = delete;
    EQorControlCommon& operator=(const EQorControlCommon&) = delete;

    // The design-time editing mode. A locked control stays where it is; an unlocked one is
    // dragged and moved by the arrow keys. Controls start locked.
    bool IsLockedInPlace() const { return m_locked; }
    void SetLockedInPlace(bool locked) { m_locked = locked; }
    // Moves the control by (dx, dy) within its dialog, without repainting, and takes the new
    // place as the offsets it writes back. False without a window.
    virtual bool MoveForEditing(int dx, int dy);
    // "ControlIsVisible" as it is written back.
    bool GetVisibleAtStartup() const { return m_visible; }
    void SetVisibleAtStartup(bool visible) { m_visible = visible; }
    int GetQorControlId() const { return m_controlId; }
    eControlType GetQorType() const { return m_type; }

protected:
    // `window` is the control's own window object (its first base).
    EQorControlCommon(CWnd* window, eControlType type) : m_window(window), m_type(type) {}
    ~EQorControlCommon() = default;

    // The skinned dialog the control's window sits in; null without a window or such a parent.
    EQorDialog* ParentDialog() const;
    // The text file's dialog id of that dialog, 0 without one.
    int ParentDialogId() const;
    // Whether `window` has a non-client part (a border, a caption or scroll bars). A skinned
    // window without one skips the default non-client painting, which would only take a
    // device context of the whole window to draw nothing.
    static bool HasNonClientArea(HWND window);

    // Notes `controlId` and registers the control with its parent dialog, which substitutes
    // its window later (`AddQorControl`), once per window. A window still being created has no
    // id yet: it registers when WM_CREATE has run (see OpenWindowProc).
    void RegisterWithParent(int controlId);
    // Registers a window created outside data exchange (`RegisterChildQorControl`), once;
    // false without a window or a skinned parent.
    bool RegisterCreatedWithParent(int controlId);

    // The opening of every kind's window procedure. A window the framework creates is bound
    // before it exists, so at WM_CREATE it learns its id and registers, after WindowCreated;
    // at WM_DESTROY it forgets the registration, since the dialog drops its controls then and
    // a dialog shown again registers them anew. True when the message was answered here, its
    // result in `result`; `baseProc` runs the window class's own procedure.
    template <class BaseProc>
    bool OpenWindowProc(UINT message, LRESULT* result, BaseProc baseProc)
    {
        if (message == WM_DESTROY)
            m_registered = false;
        if (message != WM_CREATE)
            return false;
        *result = baseProc();
        WindowCreated();
        RegisterCreatedWindow();
        return true;
    }
    // What a kind sets up on its new window before it registers.
    virtual void WindowCreated() {}

    // The attribute names a kind keeps its size under; none for kinds sized by their bitmaps.
    struct SizeNames {
        const char* width = nullptr;
        const char* height = nullptr;
    };
    // Where the skin file puts the control.
    struct Placement {
        int width = 0, height = 0;
        bool sized = false;  // the element gave both dimensions
    };
    // Finds the control's element under the dialog's element and reads its place: the offsets
    // into m_x and m_y, the size under `size`'s names, "ControlIsVisible" into m_visible. False
    // without an id, a dialog element or the control's element.
    bool ReadPlacement(IXMLDOMNode* dialogElement, SizeNames size, win::ComPtr<IXMLDOMNode>* element,
                       Placement* placement);
    // Moves the window to the offsets read, and sizes it when the skin gave a size.
    void ApplyPlacement(const Placement& placement);
    // Appends the control's new `name` element to the dialog's element with "ControlIdValue"
    // and the window's place in the dialog ("ControlXOffset", "ControlYOffset"), then its size
    // under `size`. Gives the element and the rectangle for the kind's own attributes; false
    // before the window exists or when an attribute cannot be written.
    bool AppendOwnElement(IXMLDOMNode* dialogElement, const char* name, int controlId, SizeNames size,
                          win::ComPtr<IXMLDOMNode>* element = nullptr, RECT* rect = nullptr);
    // Writes the control's place back into its element of the parent dialog's element: the
    // offsets "ControlXOffset", "ControlYOffset" (or the names given), the size under `size`'s
    // names and "ControlIsVisible". Gives the element for the kind's own attributes; false
    // without a window, a dialog element or the control's element.
    bool WritePlacement(SizeNames size, win::ComPtr<IXMLDOMNode>* element, const char* xName = "ControlXOffset",
                        const char* yName = "ControlYOffset");

    CWnd* const m_window;
    const eControlType m_type;
    int m_controlId = 0;
    bool m_registered = false;
    int m_x = 0, m_y = 0;
    bool m_visible = true;
    bool m_locked = true;

private:
    // One dimension of the rectangle (0 without a window, with GetQorRect's failure).
    template <class Dimension>
    LONG Measure(int* out, Dimension dimension);
    bool AddToParentDialog(int controlId);
    bool AddCreatedToParentDialog(int controlId);
    void RegisterCreatedWindow();
};
