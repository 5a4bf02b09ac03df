#pragma once
// Standard controls placed and coloured by the skin: combo box, progress bar, slider, list
// control, spin button and the placement control that positions another dialog item. Each
// registers with its skinned dialog when bound; the dialog then moves it to the position and
// size of its "QorGenericControl" element, shows or hides it, and gives it the caption,
// colours and font of its text file entry.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "EQorControlCommon.h"
#include "SkeldaExport.h"
#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/GdiObjects.h"

// The placement and text logic the generic kinds share, and their control interface.
class SKELDA_API EQorGenericControlImpl : public EQorControlCommon {
public:
    // Writes the current placement and visibility back into the control's element.
    LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() override;
    LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) override;
    LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) override;

    int GetControlId() const { return m_controlId; }
    bool IsRegistered() const { return m_registered; }
    // The text file's values as last loaded; the flags say whether the entry had them.
    const std::string& GetCaption() const { return m_caption; }
    bool HasMainTextColor() const { return m_hasTextColour; }
    COLORREF GetMainTextColor() const { return m_textColour; }
    bool HasBackgroundColor() const { return m_hasBackgroundColour; }
    COLORREF GetBackgroundColor() const { return m_backgroundColour; }
    HFONT GetSkinFont() const { return m_font.GetSafeHandle(); }

protected:
    EQorGenericControlImpl(CWnd* window, eControlType type);
    ~EQorGenericControlImpl();

    // Gives the kind's window the text file's colours; called after every load.
    virtual void ApplyTextColours() {}
    // Called after the control has been placed.
    virtual void Placed() {}

    int m_childControlId = 0;  // read for placement controls

private:
    void LoadTextValues();

    std::string m_caption;
    COLORREF m_textColour = 0, m_backgroundColour = 0;
    bool m_hasTextColour = false, m_hasBackgroundColour = false;
    CFont m_font;
};

class SKELDA_API EQorComboBoxGeneric : public CComboBox, public EQorGenericControlImpl {
public:
    EQorComboBoxGeneric();
    ~EQorComboBoxGeneric() override;
    // The colour of the edit and drop-down list behind the items.
    void SetBrushColor(COLORREF colour);
    bool HasBrushColor() const { return m_brush.GetSafeHandle() != nullptr; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH CtlColor(HDC dc, UINT ctlColor) override;
    void ApplyTextColours() override;

private:
    HBRUSH Colour(HDC dc);

    CBrush m_brush;
    COLORREF m_brushColour = 0;
};

class SKELDA_API EQorProgressBarGeneric : public CProgressCtrl, public EQorGenericControlImpl {
public:
    EQorProgressBarGeneric();
    ~EQorProgressBarGeneric() override;

protected:
    void PreSubclassWindow() override;
};

class SKELDA_API EQorSliderCtrlGeneric : public CSliderCtrl, public EQorGenericControlImpl {
public:
    EQorSliderCtrlGeneric();
    ~EQorSliderCtrlGeneric() override;

protected:
    void PreSubclassWindow() override;
};

class SKELDA_API EQorListControlGeneric : public CListCtrl, public EQorGenericControlImpl {
public:
    EQorListControlGeneric();
    ~EQorListControlGeneric() override;

protected:
    void PreSubclassWindow() override;
    void ApplyTextColours() override;
};

class SKELDA_API EQorSpinButton : public CSpinButtonCtrl, public EQorGenericControlImpl {
public:
    EQorSpinButton();
    ~EQorSpinButton() override;

protected:
    void PreSubclassWindow() override;
};

// A frame that the skin places; it positions another dialog item (its child, for example a
// video window) at its own rectangle. Outside the editing mode it is hidden and disabled.
class SKELDA_API EQorGenericAdjusterControl : public CButton, public EQorGenericControlImpl {
public:
    EQorGenericAdjusterControl();
    ~EQorGenericAdjusterControl() override;

    // Binds dialog item `controlId` of `parent` (for controls not bound by data exchange).
    bool NonDDXInit(int controlId, CWnd* parent);
    // The dialog item to position, 0 for none; adopted at once when the window exists.
    void SetChildControlId(int controlId);
    // Adopts `child` (a window of the same parent), or none.
    void SetChildControl(HWND child);
    // The child's id and window; false when there is none.
    bool GetChildControlInfo(int* controlId, HWND* child) const;
    // Moves the child to this control's rectangle; false without a child.
    bool AdjustChildControl();
    // Shows and enables the control for the editing mode, or hides and disables it.
    void EnableForChanging(bool enable);

protected:
    void PreSubclassWindow() override;
    void Placed() override;

private:
    HWND m_child = nullptr;
};
