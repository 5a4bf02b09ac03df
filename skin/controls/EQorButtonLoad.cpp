// Skinned button: loading from the skin and text files (bitmaps, shape, tracking, captions,
// text settings and font).
#include "EQorButton.h"

#include "ButtonLogic.h"
#include "EBitmapUtilities.h"
#include "EQorDialog.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"

using skelda::EngineState;
namespace skinfile = skelda::skinfile;

namespace {

// A message box button's caption: the message box texts' attribute for its result id.
std::string MessageBoxCaption(int controlId)
{
    static const char* const kAttributes[] = {"ID_OK_Caption",    "ID_CANCEL_Caption", "ID_ABORT_Caption",
                                              "ID_RETRY_Caption", "ID_IGNORE_Caption", "ID_YES_Caption",
                                              "ID_NO_Caption"};
    std::string caption;
    win::ComPtr<IXMLDOMNode> texts;
    if (controlId >= IDOK && controlId <= IDNO && EngineState().text.GetQorMsgDlglNode(texts.Put()))
        qorxml::GetAttribute(texts.Get(), kAttributes[controlId - IDOK], &caption);
    return caption;
}

}  // namespace

bool EQorButton::LoadTextSettings()
{
    auto& text = EngineState().text;
    const int dialogId = ParentDialogId(), id = ElementId();
    bool usesTemplate = false;
    std::string templateName;
    m_textSettings = QorButtonTextSettings{};
    m_colors = QorTextColors{};
    bool haveColors = false;
    bool haveSettings = false;
    if (text.IsControlUsingTemplate(dialogId, id, &usesTemplate, &templateName) && usesTemplate) {
        haveSettings = text.GetButtonTemplateInfo(templateName, &m_textSettings);
        haveColors = text.GetButtonTemplateTextColors(templateName, &m_colors);
        m_haveFont = text.GetTemplateLogFontInfo(QorButtonTemplateKind, templateName, &m_font);
    } else {
        haveSettings = text.GetButtonCtrlInfo(dialogId, id, &m_textSettings);
        // Every button element of the text file carries per-state colours; plain buttons use
        // them as well, so that a down or focus caption can differ from the up one.
        haveColors = text.GetCtrlTextColors(dialogId, id, &m_colors);
        m_haveFont = text.GetFontInfo(dialogId, id, &m_font);
    }
    m_haveTextColours = haveColors || haveSettings;
    if (!haveColors) {
        for (int i = 0; i < 3; ++i) {
            m_colors.text[i] = m_colors.down[i] = m_colors.focus[i] = m_textSettings.textColor[i];
            m_colors.disabled[i] = m_textSettings.disabledTextColor[i];
        }
    }
    for (auto& caption : m_captions)
        caption.clear();
    for (auto& tooltip : m_tooltips)
        tooltip.clear();
    // Every kind reads its four identity captions, so that a plain button switched to another
    // identity shows that identity's caption; the single caption stands in when they are absent.
    if (!text.GetButtonControlCaptions(dialogId, id, m_captions)) {
        std::string caption;
        if (text.GetControlCaptionText(dialogId, id, &caption))
            m_captions[0] = caption;
    }
    text.GetButtonControlTooltips(dialogId, id, m_tooltips);
    if (m_kind == kMsgBoxButton)
        m_captions[0] = MessageBoxCaption(m_controlId);
    m_caption = m_captions[m_logic->Identity()];
    return true;
}

bool EQorButton::ReloadTextValues()
{
    const bool loaded = LoadTextSettings();
    Repaint();
    return loaded;
}

bool EQorButton::LoadNewBitmapFile(const std::string& path, int index)
{
    if (index < 0 || index >= 16)
        return false;
    HBITMAP bitmap = nullptr;
    if (path.empty() || !EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap)) {
        m_bitmaps[index].DeleteObject();
        m_data.bitmapFiles[index].clear();
        return false;
    }
    m_bitmaps[index].Attach(bitmap);
    m_bitmapTried[index] = true;
    m_data.bitmapFiles[index] = path;
    if (index == 0) {
        skelda::ForgetPictureOutline(path);  // the file may have changed since it was traced
        ApplyPrimaryShape();
    }
    return true;
}

bool EQorButton::ReloadBitmapFilesIfNeeded()
{
    bool all = true;
    for (int i = 0; i < 16; ++i)
        if (!m_data.bitmapFiles[i].empty() && !m_bitmaps[i].GetSafeHandle())
            all = LoadNewBitmapFile(m_data.bitmapFiles[i], i) && all;
    return all;
}

bool EQorButton::LoadControlData(IXMLDOMNode* dialogElement)
{
    const int id = ElementId();
    win::ComPtr<IXMLDOMNode> element;
    if (id < 1 || !dialogElement || !skinfile::FindButtonById(dialogElement, id, &element))
        return false;
    LoadTextSettings();
    m_visible = skinfile::ReadControlIsVisible(element.Get());

    const bool transparentRadio = m_kind == kTransparentRadio || m_kind == kMenuRadio;
    skinfile::PathContext paths{EngineState().parentFolder, EngineState().bitmapModule != nullptr};
    m_data = ButtonDataStruct{};
    skinfile::ReadButtonData(element.Get(), [](const std::string& name) { return skelda::FindButtonTemplate(name); },
                             paths, transparentRadio, &m_data);
    m_primaryRegion.DeleteObject();
    for (int i = 0; i < 16; ++i) {
        m_bitmaps[i].DeleteObject();
        m_bitmapTried[i] = false;
    }
    StateBitmap(0);
    if (transparentRadio) {
        // No shape of its own: it keeps its rectangle, sized by the skin when the skin says so.
        m_positionGroup = 1;
        const bool sized = m_data.transparentRadioWidth > 0 && m_data.transparentRadioHeight > 0;
        if (m_hWnd)
            ::SetWindowPos(m_hWnd, nullptr, m_data.x[0], m_data.y[0], m_data.transparentRadioWidth,
                           m_data.transparentRadioHeight, SWP_NOZORDER | SWP_NOACTIVATE | (sized ? 0 : SWP_NOSIZE));
        Repaint();
        return true;
    }
    LoadTracking(element.Get());
    m_positionGroup = 1;
    ApplyPrimaryShape();
    m_logic->SetState(0);
    Repaint();
    return true;
}

void EQorButton::LoadTracking(IXMLDOMNode* element)
{
    m_trackingOrientation = m_rightOffset = m_bottomOffset = 0;
    win::ComPtr<IXMLDOMNode> tracking;
    if (!element || !qorxml::SelectSingle(element, "QorControlTracking", &tracking))
        return;
    skinfile::ReadInt(tracking.Get(), "Orientation", &m_trackingOrientation);
    skinfile::ReadInt(tracking.Get(), "RightOffset", &m_rightOffset);
    skinfile::ReadInt(tracking.Get(), "BottomOffset", &m_bottomOffset);
}

// Sizes the button to its primary bitmap at its current position group and cuts its shape.
void EQorButton::ApplyPrimaryShape()
{
    if (!m_hWnd)
        return;
    const int group = m_positionGroup - 1;
    BITMAP info{};
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!m_bitmaps[0].GetBitmap(&info))
        flags |= SWP_NOSIZE;
    ::SetWindowPos(m_hWnd, nullptr, m_data.x[group], m_data.y[group], info.bmWidth, info.bmHeight, flags);
    m_primaryRegion.DeleteObject();
    if (!m_bitmaps[0].GetSafeHandle())
        return;
    EQorDialog* dialog = ParentDialog();
    const COLORREF transparent = dialog ? dialog->GetTransparentColor() : RGB(255, 0, 0);
    m_primaryRegion.Attach(skelda::CopyOfPictureOutline(m_data.bitmapFiles[0], m_bitmaps[0], transparent));
    if (!m_primaryRegion.GetSafeHandle())
        return;
    // Most faces are whole rectangles: such a region would change nothing on the screen and
    // still cost the window system a move and a repaint of the window.
    RECT box{};
    if (::GetRgnBox(m_primaryRegion, &box) == SIMPLEREGION && box.left == 0 && box.top == 0 &&
        box.right == info.bmWidth && box.bottom == info.bmHeight) {
        if (m_windowShaped && ::SetWindowRgn(m_hWnd, nullptr, TRUE))
            m_windowShaped = false;
        return;
    }
    CRgn windowCopy;
    if (windowCopy.CopyRgn(m_primaryRegion) && ::SetWindowRgn(m_hWnd, windowCopy, TRUE)) {
        windowCopy.Detach();
        m_windowShaped = true;
    }
}

bool EQorButton::PrimaryBitmapAndRegionSet() const
{
    return m_bitmaps[0].GetSafeHandle() && m_primaryRegion.GetSafeHandle();
}

void EQorButton::ResetPimaryRgn()
{
    ApplyPrimaryShape();
}

void EQorButton::InitWindowRgnFromClientRect()
{
    if (!m_hWnd)
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_primaryRegion.DeleteObject();
    if (!m_primaryRegion.CreateRectRgnIndirect(client))
        return;
    CRgn windowCopy;
    if (windowCopy.CopyRgn(m_primaryRegion) && ::SetWindowRgn(m_hWnd, windowCopy, TRUE)) {
        windowCopy.Detach();
        m_windowShaped = true;
    }
}
