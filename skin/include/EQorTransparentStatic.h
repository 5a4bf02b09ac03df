#pragma once
// A static text drawn over the dialog's face: it paints the part of the face under itself and
// its caption on top, with offsets, centring, three-dimensional copies, font and colours from
// the text file. Presses reach it through its dialog, which drags the window when the text
// does not take them.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "EQorControlCommon.h"
#include "QorTextTypes.h"
#include "SkeldaExport.h"
#include "framework/Controls.h"
#include "framework/GdiObjects.h"

class SKELDA_API EQorTransparentStatic : public CStatic, public EQorControlCommon {
public:
    // The frame drawn around a highlighted control while graphics editing is allowed.
    static constexpr COLORREF kHighlightColour = 0x0027FCBC;

    EQorTransparentStatic();
    ~EQorTransparentStatic() override;
    EQorTransparentStatic(const EQorTransparentStatic&) = delete;
    EQorTransparentStatic& operator=(const EQorTransparentStatic&) = delete;

    // IQorControlCommon: what only this kind answers, in slot order.
    LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() override;
    LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) override;
    LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) override;
    LONG STDMETHODCALLTYPE ReloadQorBackground() override;

    void SetTextColor(COLORREF colour);
    void SetTextXOffset(int x);
    void SetTextYOffset(int y);
    // False draws the text in its disabled colour although the window is enabled.
    void ShowTextEnabled(bool enabled);
    void SetText3DHiliteColor(COLORREF colour);
    // Editing mode: frames the control so that it can be found on the face.
    void HighlightControl(bool highlight);
    bool IsHighlighted() const { return m_highlighted; }
    // Takes the part of the dialog's face under the control again (after the face or the
    // control's place changed).
    bool ReloadPartialBitmap();
    // Registers a static not bound through data exchange with its parent dialog.
    bool Initialize(int controlId) { return RegisterCreatedWithParent(controlId); }

    int ControlId() const { return m_controlId; }
    const std::string& Caption() const { return m_caption; }
    const QorStaticTextSettings& TextSettings() const { return m_settings; }

protected:
    void PreSubclassWindow() override;
    // Painting, hit testing and presses are handled here rather than by the system static.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool LoadTextSettings();
    bool FetchFace();
    void Paint(HDC dc);
    void PaintBackground(HDC dc);
    void DrawCaption(HDC dc, const RECT& client);
    void Redraw();

    QorStaticTextSettings m_settings;
    LOGFONTA m_font{};
    bool m_haveFont = false;
    std::string m_caption;
    bool m_showEnabled = true;
    bool m_highlighted = false;
    CBitmap m_face;  // the dialog's face under the control, fetched when first painted
};
