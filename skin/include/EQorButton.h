#pragma once
// A button drawn from the skin's bitmaps: four states (up, down, focus, disabled) for each of
// four identities, with its caption, font and text colours from the text file. Its kinds are
// a picture, a stretch dialog's sizing grabber, a message box button and a transparent radio
// button (also as the skinned menu's radio button).
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "ButtonDataStruct.h"
#include "EQorControlCommon.h"
#include "QorTextTypes.h"
#include "SkeldaExport.h"
#include "framework/Controls.h"
#include "framework/GdiObjects.h"

namespace skelda::controls {
class ButtonLogic;
struct ButtonAction;
}

class EQorDialog;

class SKELDA_API EQorButton : public CButton, public EQorControlCommon, public IQorButtonOptions {
public:
    enum Kind { kPlain = 0, kStaticBitmap = 1, kGrabber = 2, kMsgBoxButton = 3, kTransparentRadio = 4, kMenuRadio = 5 };

    EQorButton();
    ~EQorButton() override;
    EQorButton(const EQorButton&) = delete;
    EQorButton& operator=(const EQorButton&) = delete;

    // IQorControlCommon: what only this kind answers, in slot order.
    LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() override;
    LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) override;
    // The offsets of the current position group.
    LONG STDMETHODCALLTYPE GetQor_X_Y(int* x, int* y) override;
    LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) override;
    // Moves the offsets of the current position group.
    bool MoveForEditing(int dx, int dy) override;

    // IQorButtonOptions.
    void SetIsToggleButton(bool toggle) override;
    void SetHighlightOnMouseOver(bool highlight) override;
    void SetUncaptureIfOutOfRegion(bool uncapture) override;

    // Repaints at once when the state changes and the window is visible; always true.
    bool SetState(int state);
    int GetCurrentState() const;
    // False outside 0..3; otherwise takes the identity's caption and tooltip and repaints.
    bool SetIdentity(int identity);
    int CurrIdentity() const;
    void SetChecked(bool checked);
    bool GetChecked() const;
    // Replaces the current identity's caption (the menu writes its entries' texts this way).
    void SetCaption(const std::string& caption);

    void PaintCurrentState(HDC dc);
    bool UseAlternateXYPosition(int group);
    int GetCurrentAlternateXYGroup() const { return m_positionGroup; }
    // Moves the button one pixel: VK_LEFT, VK_RIGHT, VK_UP or VK_DOWN.
    void MoveWindowOnePixel(UINT direction);
    void SetWindowRect(const RECT& rect);
    void GetXY(int* x, int* y) const;
    void SetXY(int x, int y);
    int GetCurrentXOffset() const;
    void SetCurrentXOffset(int x);
    int GetCurrentYOffset() const;
    void SetCurrentYOffset(int y);

    bool LoadControlData(IXMLDOMNode* dialogElement);
    bool ReloadTextValues();
    bool ReloadBitmapFilesIfNeeded();
    bool LoadNewBitmapFile(const std::string& path, int index);

    bool PrimaryBitmapAndRegionSet() const;
    HRGN GetPimaryRgn() const { return m_primaryRegion.GetSafeHandle(); }
    void ResetPimaryRgn();
    void InitWindowRgnFromClientRect();

    // Places the button from its parent's client rectangle by its tracking edges and offsets.
    void AdjustToParentEdges();

    // Registers a button not bound through data exchange with its parent dialog.
    bool Initialize(int controlId) { return RegisterCreatedWithParent(controlId); }
    int ControlId() const { return m_controlId; }
    Kind GetKind() const { return m_kind; }
    const std::string& CurrentCaption() const { return m_caption; }
    const QorTextColors& TextColors() const { return m_colors; }  // text, shadow, hilite per state
    HBITMAP StateBitmap(int index) const;
    // The editing mode's mark (a frame along the button's outline in the statics' highlight
    // colour), shown while graphics editing is allowed.
    void HighlightControl(bool highlight);
    bool IsHighlighted() const { return m_highlighted; }

protected:
    explicit EQorButton(Kind kind);

    void PreSubclassWindow() override;
    // Mouse, keyboard, focus, check and paint messages are handled here rather than by the
    // system button, which would otherwise draw its own face over the skin.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Takes the button style of the window.
    void WindowCreated() override;

    // Draws the caption for the state of slot `index`.
    void DrawStateText(HDC dc, int index);
    void PaintPlainFace(HDC dc, const RECT& client);
    // Text with a mark over the dialog's face: a ring with a dot for a radio button, a box
    // with a tick for a check box, an arrow at the checked item of a menu.
    void PaintTransparentRadio(HDC dc, const RECT& client, int index);
    void DrawTransparentRadioMark(HDC dc, const RECT& mark, bool pointsRight, COLORREF colour) const;
    void DrawCaptionAt(HDC dc, int state, int x, int y);
    int TextState(int index) const;
    COLORREF MainTextColour(int state) const;
    // The caption's font made into `font`, or the stock one; the result is for selecting.
    HGDIOBJ CaptionFont(CFont& font) const;
    int ElementId() const;

private:
    bool LoadTextSettings();
    void LoadTracking(IXMLDOMNode* element);
    void ApplyPrimaryShape();
    bool InsideRegion(POINT point) const;
    void Repaint();
    void PaintEditingMark(HDC dc) const;
    void Perform(const skelda::controls::ButtonAction& action);
    void PostNotification(int code);
    void FollowStretch(UINT message, int dx, int dy);
    // A grabber drags its stretch dialog's edges (those its tracking data names) while pressed.
    bool BeginStretchDrag();
    void EndStretchDrag();
    void Press();
    void ReleaseAt(POINT point, bool fromMouse);

    Kind m_kind;
    skelda::controls::ButtonLogic* m_logic;
    ButtonDataStruct m_data;
    // Only the primary bitmap is loaded with the button: it gives the shape. The other states
    // and identities are loaded the first time they are drawn, once each, so that a window
    // starts without reading pictures nobody may ever see.
    mutable CBitmap m_bitmaps[16];
    mutable bool m_bitmapTried[16] = {};
    CRgn m_primaryRegion;
    // Whether the window carries a region set by the button: a shape that fills the whole
    // picture needs none, the window's own rectangle being that shape.
    bool m_windowShaped = false;
    int m_positionGroup = 1;

    std::string m_captions[4], m_tooltips[4], m_caption;
    QorButtonTextSettings m_textSettings;
    QorTextColors m_colors;
    bool m_haveTextColours = false;  // the text file gives the caption's colours
    LOGFONTA m_font{};
    bool m_haveFont = false;

    int m_trackingOrientation = 0, m_rightOffset = 0, m_bottomOffset = 0;
    bool m_tracking = false;
    bool m_grabbing = false;
    RECT m_trackStart{};
    int m_trackDx = 0, m_trackDy = 0;
    bool m_keyPressed = false;
    bool m_highlighted = false;
};

// A picture: a button of kind 1.
class SKELDA_API EQorStaticBitmap : public EQorButton {
public:
    EQorStaticBitmap() : EQorButton(kStaticBitmap) {}
};

// The sizing grabber of a stretch dialog.
class SKELDA_API EQorGrabberButton : public EQorButton {
public:
    EQorGrabberButton() : EQorButton(kGrabber) {}
};

// A button of the skinned message box; all of them share element 50.
class SKELDA_API EQorMsgBoxButton : public EQorButton {
public:
    EQorMsgBoxButton() : EQorButton(kMsgBoxButton) {}
};

// A radio button drawn as its text with a mark; as a skinned menu's radio button it shares
// element 50.
class SKELDA_API EQorTransparentRadio : public EQorButton {
public:
    explicit EQorTransparentRadio(bool menuRadio = false) : EQorButton(menuRadio ? kMenuRadio : kTransparentRadio) {}
};
