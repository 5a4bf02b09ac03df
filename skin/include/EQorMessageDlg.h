#pragma once
// The skinned message box: a stretch dialog on the library's own template that sizes itself
// around its message, caption and the button set of its style flags, takes its look from the
// skin's message box element and its button captions, colours and font from the text file.
// Its result is the Win32 identifier of the button pressed (IDOK .. IDNO); closing it by the
// system means Cancel.
#include <windows.h>

#include <string>
#include <vector>

#include "EQorButton.h"
#include "EQorStretchDlg.h"

class SKELDA_API EQorMessageDlg : public EQorStretchDlg {
public:
    // Enumerators rather than static members, so clients can use them across the DLL.
    enum : COLORREF { kTransparentColour = 0xFF0000 };  // pure blue
    enum : int { kCaptionControlId = 1099, kMessageTextId = 0xFFFF };

    explicit EQorMessageDlg(CWnd* parent = nullptr);
    ~EQorMessageDlg() override;

    void SetMessage(const std::string& message);
    void SetCaption(const std::string& caption);
    // The Win32 message box flags: the low four bits choose the buttons, MB_DEFBUTTON2 and 3
    // the default one, MB_TOPMOST keeps the box above other windows.
    void SetFlags(UINT style);
    void CenterJustifyMsgText();
    void AllowEditing(bool allow);
    void EditCaption(bool edit);
    bool EditingAllowed() const { return m_allowEditing; }
    bool CaptionEditable() const { return m_editCaption; }
    // The text file's colours and fonts of the box changed in the editing mode: laid out and
    // drawn with them again.
    void ReloadTextLook();
    // The id of the button that closed the box; 0 while it has not been closed.
    int GetResult() const { return m_result; }

    // The skin's message box element is found at its fixed place (`name` is not used); the
    // window can then be dragged by its face, and the box is laid out.
    bool InitializeQorDialog(const std::string& name, COLORREF transparent, bool skipBackground = false) override;

    // What the layout decided, for the editing mode and for tests.
    const std::vector<int>& GetVisibleButtons() const { return m_visibleButtons; }
    const std::vector<std::string>& GetMessageLines() const { return m_lines; }
    RECT GetMessageRect() const { return m_textRect; }
    RECT GetCaptionRect() const { return m_captionRect; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;
    void OnClose() override;
    void OnPaint() override;
    bool FindDialogElement(IXMLDOMDocument* document, const std::string& name) override;
    // New region offsets or limits from the editing mode: the box is laid out again.
    void StretchSettingsChanged() override;

private:
    bool LayOut();
    void ShowButtonSet();
    void LoadTextLook();
    void Finish(int result);

    std::string m_message, m_caption;
    UINT m_style = MB_OK;
    bool m_centerText = false, m_allowEditing = false, m_editCaption = false;
    int m_result = 0;
    EQorMsgBoxButton m_buttons[IDNO];  // ids IDOK (1) to IDNO (7)
    std::vector<int> m_visibleButtons;
    int m_buttonWidth = 0, m_buttonHeight = 0;
    std::vector<std::string> m_lines;
    int m_lineHeight = 0;
    RECT m_textRect{}, m_captionRect{};
    COLORREF m_messageColour = 0, m_captionColour = 0;
    LOGFONTA m_font{}, m_captionFont{};
    bool m_haveFont = false, m_haveCaptionFont = false;
};
