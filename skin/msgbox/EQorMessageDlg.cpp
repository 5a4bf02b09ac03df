// The skinned message box: its button set, text look, layout, painting and result.
#include "EQorMessageDlg.h"

#include <algorithm>

#include "GraphicsEngineState.h"
#include "MessageBoxLayout.h"
#include "QorXmlDom.h"
#include "SkeldaDialogIds.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace layout = skelda::msgbox;

namespace {

constexpr const char* kNoDocument = "g_pGraphicsXMLDOMDoc NULL in EQorMessageDlg::InitializeQorDialog;  (Tag GE2001)";

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// A font of the text file, or the system's dialog font when the text file has none.
class ScopedFont {
public:
    ScopedFont(HDC dc, const LOGFONTA* font)
    {
        if (font)
            m_font.CreateFontIndirect(*font);
        m_dc = dc;
        m_previous = SelectObject(dc, m_font.GetSafeHandle() ? static_cast<HGDIOBJ>(m_font.GetSafeHandle())
                                                             : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~ScopedFont() { SelectObject(m_dc, m_previous); }
    ScopedFont(const ScopedFont&) = delete;
    ScopedFont& operator=(const ScopedFont&) = delete;

private:
    CFont m_font;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

SIZE Measure(HDC dc, const std::string& text)
{
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

}  // namespace

EQorMessageDlg::EQorMessageDlg(CWnd* parent) : EQorStretchDlg(IDD_QOR_MESSAGE, parent)
{
    m_dialogType = 3;
    m_sharedEntryMode = 2;
    SetResourceModule(ThisModule());
    m_messageColour = m_captionColour = GetSysColor(COLOR_BTNTEXT);
}

EQorMessageDlg::~EQorMessageDlg() = default;

void EQorMessageDlg::SetMessage(const std::string& message) { m_message = message; }
void EQorMessageDlg::SetCaption(const std::string& caption) { m_caption = caption; }
void EQorMessageDlg::SetFlags(UINT style) { m_style = style; }
void EQorMessageDlg::CenterJustifyMsgText() { m_centerText = true; }
void EQorMessageDlg::AllowEditing(bool allow) { m_allowEditing = allow; }
void EQorMessageDlg::EditCaption(bool edit) { m_editCaption = edit; }

void EQorMessageDlg::DoDataExchange(CDataExchange* pDX)
{
    EQorStretchDlg::DoDataExchange(pDX);
    for (int id = IDOK; id <= IDNO; ++id)
        DDX_Control(pDX, id, m_buttons[id - IDOK]);
}

BOOL EQorMessageDlg::OnInitDialog()
{
    EQorStretchDlg::OnInitDialog();
    if (!InitializeQorDialog("QorMessageDlg", kTransparentColour)) {
        // No skin to show: the caller falls back to the system's message box.
        EndDialog(-1);
        return FALSE;
    }
    if (m_style & MB_TOPMOST)
        SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (m_visibleButtons.empty())
        return TRUE;
    const size_t defaultIndex = (m_style & MB_DEFMASK) == MB_DEFBUTTON3 ? 2 : (m_style & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : 0;
    const int defaultId = m_visibleButtons[std::min(defaultIndex, m_visibleButtons.size() - 1)];
    SetDefID(static_cast<UINT>(defaultId));
    GotoDlgCtrl(GetDlgItem(defaultId));
    return FALSE;  // the focus is set
}

bool EQorMessageDlg::FindDialogElement(IXMLDOMDocument* document, const std::string&)
{
    return skelda::skinfile::FindMessageDialog(document, &m_dialogElement);
}

bool EQorMessageDlg::InitializeQorDialog(const std::string& name, COLORREF transparent, bool skipBackground)
{
    if (!EngineState().graphicsDocument) {
        ReportInitFailure(kNoDocument);
        return false;
    }
    SetMouseMovesDialog(true);
    if (!EQorStretchDlg::InitializeQorDialog(name, transparent, skipBackground))
        return false;
    return LayOut();
}

void EQorMessageDlg::ShowButtonSet()
{
    std::vector<int> ids;
    layout::ButtonSetForStyle(m_style, &ids);
    m_visibleButtons = ids;
    for (int id = IDOK; id <= IDNO; ++id) {
        const bool shown = std::find(ids.begin(), ids.end(), id) != ids.end();
        if (HWND button = GetDlgItem(id)) {
            ::ShowWindow(button, shown ? SW_SHOWNA : SW_HIDE);
            ::EnableWindow(button, shown);
        }
    }
    m_buttonWidth = m_buttonHeight = 0;
    RECT first{};
    if (!ids.empty() && ::GetWindowRect(GetDlgItem(ids.front()), &first)) {
        m_buttonWidth = first.right - first.left;
        m_buttonHeight = first.bottom - first.top;
    }
}

void EQorMessageDlg::LoadTextLook()
{
    auto& text = EngineState().text;
    win::ComPtr<IXMLDOMNode> texts, font;
    m_haveFont = m_haveCaptionFont = false;
    if (text.GetQorMsgDlglNode(texts.Put())) {
        int colour = 0;
        if (skelda::skinfile::ReadInt(texts.Get(), "MessageTextColor", &colour))
            m_messageColour = static_cast<COLORREF>(colour);
        if (skelda::skinfile::ReadInt(texts.Get(), "CaptionTextColor", &colour))
            m_captionColour = static_cast<COLORREF>(colour);
        m_haveFont = qorxml::SelectSingle(texts.Get(), "QorFontInfo", &font) && text.GetLogFontInfo(font.Get(), &m_font);
    }
    // The caption is drawn in its own control's font when the text file gives one.
    m_haveCaptionFont = text.GetFontInfo(GetDlgResID(), kCaptionControlId, &m_captionFont);
    if (!m_haveCaptionFont && m_haveFont) {
        m_captionFont = m_font;
        m_captionFont.lfWeight = FW_BOLD;
        m_haveCaptionFont = true;
    }
}

bool EQorMessageDlg::LayOut()
{
    ShowButtonSet();
    LoadTextLook();

    const StretchValues stretch = GetStretchValues();
    layout::SkinMetrics skin;
    skin.left = stretch.left;
    skin.right = stretch.right;
    skin.top = stretch.top;
    skin.bottom = stretch.bottom;
    skin.minWidth = stretch.minWidth;
    skin.maxWidth = stretch.maxWidth;
    skin.minHeight = stretch.minHeight;
    skin.maxHeight = stretch.maxHeight;
    int captionHeight = 0;
    win::ComPtr<IXMLDOMNode> captionElement;
    if (skelda::skinfile::FindControlById(GetDlgRootNode(), kCaptionControlId, &captionElement)) {
        int x = 0, y = 0;
        skelda::skinfile::ReadInt(captionElement.Get(), "ControlXOffset", &x);
        skelda::skinfile::ReadInt(captionElement.Get(), "ControlYOffset", &y);
        skelda::skinfile::ReadInt(captionElement.Get(), "ControlHeight", &captionHeight);
        skin.caption = {x, y};
    }
    const RECT work = WorkAreaOf(m_hWnd);
    layout::LayoutInput input;
    input.skin = skin;
    input.buttonCount = static_cast<int>(m_visibleButtons.size());
    input.button = {m_buttonWidth, m_buttonHeight};
    input.centerText = m_centerText;
    input.workArea = {work.right - work.left, work.bottom - work.top};

    CClientDC dc(m_hWnd);
    {
        ScopedFont font(dc.GetSafeHdc(), m_haveFont ? &m_font : nullptr);
        const auto width = [&dc](const std::string& line) { return static_cast<int>(Measure(dc.GetSafeHdc(), line).cx); };
        m_lines = layout::WrapLines(layout::SplitMessageLines(m_message), layout::MaxTextWidth(skin, input.workArea.cx), width);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc.GetSafeHdc(), &metrics);
        m_lineHeight = metrics.tmHeight;
        int widest = 0;
        for (const auto& line : m_lines)
            widest = std::max(widest, width(line));
        if (widest > 0)
            input.text = {widest, m_lineHeight * static_cast<int>(m_lines.size())};
    }
    if (!m_caption.empty()) {
        ScopedFont font(dc.GetSafeHdc(), m_haveCaptionFont ? &m_captionFont : nullptr);
        const SIZE measured = Measure(dc.GetSafeHdc(), m_caption);
        input.caption = {measured.cx, std::max<LONG>(measured.cy, captionHeight)};
    }

    const layout::LayoutResult result = layout::LayOutMessageBox(input);
    m_textRect = result.text;
    m_captionRect = result.caption;
    for (size_t i = 0; i < result.buttons.size(); ++i)
        ::SetWindowPos(GetDlgItem(m_visibleButtons[i]), nullptr, result.buttons[i].x, result.buttons[i].y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (HWND captionControl = GetDlgItem(kCaptionControlId)) {
        // Drawn with the face; the hidden control keeps the text for accessibility tools.
        ::SetWindowTextA(captionControl, m_caption.c_str());
        ::ShowWindow(captionControl, SW_HIDE);
    }
    // As on the system's box: the caption is the window's title and the message the text of a
    // hidden static with the id 0xFFFF, so that screen readers and automation find both.
    SetWindowText(m_caption.c_str());
    if (!GetDlgItem(kMessageTextId))
        ::CreateWindowExA(0, "STATIC", m_message.c_str(), WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0, m_hWnd,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(kMessageTextId)), nullptr, nullptr);
    const bool resized = ResizeFace(result.width, result.height);
    if (!resized)
        SetWindowPos(nullptr, 0, 0, result.width, result.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT owner{};
    if (HWND ownerWindow = ::GetWindow(m_hWnd, GW_OWNER); ownerWindow && ::IsWindowVisible(ownerWindow))
        ::GetWindowRect(ownerWindow, &owner);
    const POINT at = layout::PlaceMessageBox({result.width, result.height}, owner, work);
    SetWindowPos(nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawDlgWindow();
    // A style without a button set leaves the box without a row; it still shows its text.
    return true;
}

void EQorMessageDlg::StretchSettingsChanged()
{
    LayOut();
}

void EQorMessageDlg::ReloadTextLook()
{
    LayOut();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void EQorMessageDlg::OnPaint()
{
    CPaintDC paint(m_hWnd);
    HDC dc = paint.GetSafeHdc();
    SetBkMode(dc, TRANSPARENT);
    if (!m_caption.empty() && !IsRectEmpty(&m_captionRect)) {
        ScopedFont font(dc, m_haveCaptionFont ? &m_captionFont : nullptr);
        SetTextColor(dc, m_captionColour);
        RECT rect = m_captionRect;
        DrawTextA(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &rect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    ScopedFont font(dc, m_haveFont ? &m_font : nullptr);
    SetTextColor(dc, m_messageColour);
    const UINT align = m_centerText ? DT_CENTER : DT_LEFT;
    int y = m_textRect.top;
    for (const auto& line : m_lines) {
        if (y + m_lineHeight > m_textRect.bottom)
            break;
        RECT rect{m_textRect.left, y, m_textRect.right, y + m_lineHeight};
        DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &rect, align | DT_SINGLELINE | DT_NOPREFIX);
        y += m_lineHeight;
    }
}

void EQorMessageDlg::Finish(int result)
{
    m_result = result;
    EndDialog(result);
}

BOOL EQorMessageDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id >= IDOK && id <= IDNO) {
        // Escape and the system's close come as Cancel whatever the set; other ids only from
        // the buttons shown (Enter on a box without OK sends IDOK too).
        if (id == IDCANCEL ||
            std::find(m_visibleButtons.begin(), m_visibleButtons.end(), id) != m_visibleButtons.end())
            Finish(id);
        return TRUE;
    }
    return EQorStretchDlg::OnCommand(wParam, lParam);
}

void EQorMessageDlg::OnCancel()
{
    Finish(IDCANCEL);
}

void EQorMessageDlg::OnClose()
{
    // The dialog manager would ignore a close while the Cancel button is disabled.
    Finish(IDCANCEL);
}
