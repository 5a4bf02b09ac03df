#pragma once
// Skinned edits: an edit whose background is a solid skin colour (style 0) or the dialog face
// showing through (style 2), with text colours and font from the text file; and a numeric edit
// coupled to a slider, in integer or floating mode.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "EQorControlCommon.h"
#include "SkeldaExport.h"
#include "framework/CommonControls.h"
#include "framework/Controls.h"
#include "framework/GdiObjects.h"

namespace skelda::controls {
class LinkEditLogic;
}

class SKELDA_API EQorEdit : public CEdit, public EQorControlCommon {
public:
    EQorEdit();
    ~EQorEdit() override;
    EQorEdit(const EQorEdit&) = delete;
    EQorEdit& operator=(const EQorEdit&) = delete;

    LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() override;
    LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) override;
    LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) override;

    // The name this control answers to a class query (the window itself is a system edit).
    static const char* QorClassName() { return "QOREDIT"; }

    void SetQorEditEnabled(bool enabled);
    bool GetQorEditEnabled() const { return m_enabled; }
    // Only 0 (solid) and 2 (see-through); false for other values.
    bool SetBackgroundStyle(int style);
    int GetBackgroundStyle() const { return m_backgroundStyle; }
    void SetBackgroundColor(COLORREF colour);
    void SetTextColors(COLORREF text, COLORREF disabledText);
    void SetFontIndirect(const LOGFONTA& font);
    // Centres the line of text vertically in the edit (the text file's "CenterTextVertically").
    void SetCenterTextVertically(bool centre);
    bool GetCenterTextVertically() const { return m_centerVertically; }
    // A one-pixel frame in the text colour around the edit (the skin's "DrawBorder").
    void SetDrawBorder(bool draw);
    bool GetDrawBorder() const { return m_drawBorder; }
    // Tiles the bitmap behind the text of a solid edit (the skin's "BackgroundBitmapFile",
    // resolved); an empty path goes back to the plain colour. False, with the previous bitmap
    // kept, when the file does not load.
    bool SetBackgroundBitmapFile(const std::string& path);
    bool HasBackgroundBitmap() const { return m_backgroundPattern.GetSafeHandle() != nullptr; }

protected:
    void PreSubclassWindow() override;
    // Centring narrows the client area to the text's height; the bands above and below it
    // are painted here in the edit's background.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH CtlColor(HDC dc, UINT ctlColor) override;
    // Repaints the parent under the edit, grown by `margin` pixels.
    void InvalidateUnderneath(int margin);

private:
    void CentreClientArea(RECT* proposed);
    void PaintCentringBands();
    void PaintBorder();
    void FrameChanged();
    // The brush behind the text of a solid edit: the bitmap's pattern or the colour.
    HBRUSH SolidBackgroundBrush();

    int m_backgroundStyle = 0;
    COLORREF m_background = RGB(255, 255, 255), m_text = RGB(0, 0, 0), m_disabledText = RGB(128, 128, 128);
    CBrush m_backgroundBrush;
    CBitmap m_backgroundBitmap;
    CBrush m_backgroundPattern;  // made from m_backgroundBitmap
    std::string m_backgroundBitmapFile;
    bool m_drawBorder = false;
    CFont m_font;
    bool m_enabled = true;
    bool m_centerVertically = false;
    int m_bandAbove = 0, m_bandBelow = 0;  // the client area's centring inset, in pixels
};

class EQorLinkSlider;

class SKELDA_API EQorLinkEdit : public EQorEdit {
public:
    EQorLinkEdit();
    ~EQorLinkEdit() override;

    void SetParams(int minimum, int maximum, int step);
    void SetParams(double minimum, double maximum, int step, const std::string& format);
    void SetResolution(int resolution);
    void SetSlideLink(HWND parent, int sliderId);
    void SetFormatString(const std::string& format);
    void SetParseType(unsigned type);
    bool SetValue(int value);
    bool SetValue(double value);
    int GetValue() const;
    // Writes the value of slider position `position` (nothing when it is the last one).
    void UpdateEdit(int position);
    // Binds the dialog item `id` of `parent` with the given parse type.
    bool SubclassEdit(int id, CWnd* parent, unsigned parseType);
    // A refused character: beeps.
    virtual void OnBadInput();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyRangeToSlider();
    void FocusLost(HWND newFocus);

    skelda::controls::LinkEditLogic* m_logic;
    HWND m_sliderParent = nullptr;
    int m_sliderId = 0;
};

class SKELDA_API EQorLinkSlider : public CSliderCtrl {
public:
    void SetEditLink(EQorLinkEdit* edit) { m_edit = edit; }
    void SetSlidePos(int position);
    void SetSlideRange(int minimum, int maximum);
    void SetSlideStep(int step);
    // Maps slider positions before the edit shows them.
    void SetValueFunction(long (*function)(long)) { m_valueFunction = function; }

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    EQorLinkEdit* m_edit = nullptr;
    long (*m_valueFunction)(long) = nullptr;
};

// The linked control object bound to dialog item `id` of `parent`, or null.
SKELDA_API EQorLinkEdit* GetLinkEdit(HWND parent, int id);
SKELDA_API EQorLinkSlider* GetLinkSlider(HWND parent, int id);
