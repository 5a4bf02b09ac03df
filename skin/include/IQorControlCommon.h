#pragma once
// The interface every skinned control implements, through which its dialog initialises,
// measures and saves it. Results are 0 for success. Reference counting is nominal: a control
// lives as long as the client's member object.
#include <windows.h>
#include <msxml2.h>
#include <unknwn.h>

#include "QorControlTypes.h"

class CWnd;

struct IQorControlCommon : public IUnknown {
    virtual LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() = 0;
    virtual LONG STDMETHODCALLTYPE GetCWndPtr(CWnd** window) = 0;
    virtual LONG STDMETHODCALLTYPE GetControlClassPointer(void** control) = 0;
    virtual LONG STDMETHODCALLTYPE GetQorControlType(eControlType* type) = 0;
    // Reads the control's element from the dialog's element.
    virtual LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) = 0;
    virtual LONG STDMETHODCALLTYPE GetQorRect(RECT* rect) = 0;
    virtual LONG STDMETHODCALLTYPE GetQor_X_Y(int* x, int* y) = 0;
    virtual LONG STDMETHODCALLTYPE GetQor_Height(int* height) = 0;
    virtual LONG STDMETHODCALLTYPE GetQor_Width(int* width) = 0;
    virtual LONG STDMETHODCALLTYPE GetQor_CtrlIsVisible(BOOL* visible) = 0;
    // Adds an element for this control, with its current values, under the dialog's element.
    virtual LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) = 0;
    // The dialog's background changed: a control that shows part of it takes it again.
    virtual LONG STDMETHODCALLTYPE ReloadQorBackground() = 0;
};

// What a skinned button offers to its dialog's pass-through operations; EQorButton implements
// it next to IQorControlCommon.
class IQorButtonOptions {
public:
    virtual void SetIsToggleButton(bool toggle) = 0;
    virtual void SetHighlightOnMouseOver(bool highlight) = 0;
    virtual void SetUncaptureIfOutOfRegion(bool uncapture) = 0;

protected:
    ~IQorButtonOptions() = default;
};
