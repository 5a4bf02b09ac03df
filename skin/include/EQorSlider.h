#pragma once
// A slider drawn from the skin: its channel, the filled part before the thumb, the thumb's
// shadow and the thumb bitmap of its state, over the system slider's behaviour.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "EQorControlCommon.h"
#include "SkeldaExport.h"
#include "framework/CommonControls.h"
#include "framework/GdiObjects.h"

class SKELDA_API EQorSlider : public CSliderCtrl, public EQorControlCommon {
public:
    // Bitmap slots: thumb up, down, focus, disabled, then channel, filled part and shadow.
    enum Slot { kThumbUp = 0, kThumbDown, kThumbFocus, kThumbDisabled, kChannel, kChannelLeft, kThumbShadow, kSlots };

    EQorSlider();
    ~EQorSlider() override;
    EQorSlider(const EQorSlider&) = delete;
    EQorSlider& operator=(const EQorSlider&) = delete;

    LONG STDMETHODCALLTYPE WriteGraphicsEditChangesToXMLObject() override;
    LONG STDMETHODCALLTYPE LoadQorControlData(IXMLDOMNode* dialogElement) override;
    LONG STDMETHODCALLTYPE AddNewQorControl(IXMLDOMNode* dialogElement, int controlId) override;

    void SetRange(int minimum, int maximum);
    void GetRange(int& minimum, int& maximum) const { CSliderCtrl::GetRange(minimum, maximum); }
    void SetPos(int position) { CSliderCtrl::SetPos(position); }
    int GetPos() const { return CSliderCtrl::GetPos(); }
    void SetPositionToChannelClick(bool enabled) { m_positionToHit = enabled; }
    // For a horizontal slider: Page Up acts as Page Down and Up as Down, and the reverse.
    void SwitchUpDownKeys(bool switched) { m_switchKeys = switched; }
    // Moves the thumb to the slider position under client point `x` (or `y` when vertical).
    void MoveThumb(POINT point);
    bool LoadNewBitmapFile(const std::string& path, int slot);
    HBITMAP SlotBitmap(int slot) const;
    // The rectangle the thumb bitmap is drawn in, in client coordinates.
    RECT ThumbPaintRect() const;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Registers the slider's window class for the window.
    void WindowCreated() override;

private:
    void Paint(HDC dc);
    int ThumbState() const;
    bool Vertical() const;

    CBitmap m_bitmaps[kSlots];
    int m_shadowLeft = 0, m_shadowRight = 0, m_thumbTop = 0;
    bool m_positionToHit = false, m_switchKeys = false;
};
