// Skinned dialog: construction, the face and region, the process-wide list, hidden dialogs
// and auxiliary bitmaps.
#include "EQorDialog.h"

#include <algorithm>

#include "DialogMessages.h"
#include "EBitmapUtilities.h"
#include "EngineMessages.h"
#include "GraphicsEngineState.h"
#include "QorXmlDom.h"
#include "ControlIndex.h"
#include "SkinFileModel.h"

using skelda::EngineState;

namespace {

// The dialogs of the process that are initialised and not yet closed; touched only by the
// user-interface thread.
std::vector<EQorDialog*>& OpenDialogs()
{
    static std::vector<EQorDialog*> dialogs;
    return dialogs;
}

skelda::skinfile::PathContext SkinPaths()
{
    return {EngineState().parentFolder, EngineState().bitmapModule != nullptr};
}

}  // namespace

EQorDialog::EQorDialog(UINT resourceId, CWnd* parent) : CDialog(resourceId, parent) {}

EQorDialog::~EQorDialog()
{
    LeaveDialogList();
}

int EQorDialog::GetOpenDialogCount()
{
    return static_cast<int>(OpenDialogs().size());
}

EQorDialog* EQorDialog::GetOpenDialog(int index)
{
    auto& dialogs = OpenDialogs();
    return index >= 0 && index < static_cast<int>(dialogs.size()) ? dialogs[static_cast<size_t>(index)] : nullptr;
}

void EQorDialog::LeaveDialogList()
{
    auto& dialogs = OpenDialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), this), dialogs.end());
}

BOOL EQorDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    if (!m_toolTip.GetSafeHwnd() && m_toolTip.Create(this))
        m_toolTip.Activate(TRUE);
    return result;
}

void EQorDialog::ReportInitFailure(const char* text) const
{
    if (EngineState().debug.reportLoadFailures)
        skelda::EngineUserInterface().ShowMessage(text, skelda::messages::kInitCaption, MB_OK | MB_ICONERROR);
}

bool EQorDialog::GiveWindowRegion(HRGN region)
{
    return SetWindowRgn(region, FALSE) != 0;
}

bool EQorDialog::InitBitmapAndRegion(const std::string& path, COLORREF transparent)
{
    m_background.DeleteObject();
    m_region.DeleteObject();
    if (!EBitmapUtilities::VerifyFileExists(path))
        return false;
    HBITMAP loaded = nullptr;
    if (!EBitmapUtilities::LoadDibSectionFromFile(path, &loaded))
        return false;
    CBitmap bitmap(loaded);
    CClientDC dc(m_hWnd);
    // A face without an opaque pixel has no outline: the window keeps its rectangle and still
    // shows the face.
    m_region.Attach(EBitmapUtilities::BuildRegion(bitmap, transparent, dc.GetSafeHdc(), nullptr));
    m_background = std::move(bitmap);
    return true;
}

bool EQorDialog::InitializeQorDialog(const std::string& name, COLORREF transparent, bool skipBackground)
{
    if (std::find(OpenDialogs().begin(), OpenDialogs().end(), this) == OpenDialogs().end())
        OpenDialogs().push_back(this);
    m_transparentColour = transparent;
    IXMLDOMDocument* document = EngineState().graphicsDocument.Get();
    m_controlIndex.reset();
    if (document)
        FindDialogElement(document, name);
    if (!skipBackground) {
        if (!document) {
            ReportInitFailure(skelda::messages::kNoDocument);
            return false;
        }
        if (!m_dialogElement)
            return false;
        std::string stored;
        if (!qorxml::GetAttribute(m_dialogElement.Get(), "DlgBitmapFile", &stored)) {
            ReportInitFailure(skelda::messages::kDialogDataFailed);
            return false;
        }
        if (stored.empty()) {
            ReportInitFailure(skelda::messages::kBitmapNameEmpty);
            return false;
        }
        const auto paths = SkinPaths();
        if (!skelda::skinfile::ResolveStoredPath(paths.parentFolder, paths.usingResource, &stored) ||
            !InitBitmapAndRegion(stored, transparent)) {
            ReportInitFailure(skelda::messages::kBitmapAndRegionFailed);
            return false;
        }
        m_backgroundFile = stored;
        if (m_region.GetSafeHandle()) {
            CRgn copy;
            if (!copy.CopyRgn(m_region) || !GiveWindowRegion(copy))
                ReportInitFailure(skelda::messages::kWindowRegionFailed);
            else
                copy.Detach();  // the window owns it now
        }
        // The face is the whole window: a caption or frame from the template would push the
        // client area (where the face is painted) away from the region's origin.
        const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
        const LONG_PTR exStyle = GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE);
        SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME));
        SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE,
                          exStyle & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE |
                                                           WS_EX_CLIENTEDGE | WS_EX_STATICEDGE));
        BITMAP info{};
        if (m_background.GetBitmap(&info))
            SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_FRAMECHANGED);
    }
    if (!CreateControls())
        ReportInitFailure(skelda::messages::kCreateControlsFailed);
    LoadAuxBitmapFilenames();
    CenterWindow();
    return true;
}

bool EQorDialog::FindDialogElement(IXMLDOMDocument* document, const std::string& name)
{
    return skelda::skinfile::FindDialogByName(document, name, &m_dialogElement);
}

void EQorDialog::LoadAuxBitmapFilenames()
{
    m_auxBitmaps.clear();
    for (const auto& entry : skelda::skinfile::ReadAuxBitmapEntries(m_dialogElement.Get(), SkinPaths()))
        m_auxBitmaps.push_back({entry.entryId, entry.entryName, entry.path});
    if (m_auxBitmaps.empty())
        ReportInitFailure(skelda::messages::kAuxBitmapsFailed);
}

bool EQorDialog::GetAuxBitmapFilename(int entryId, std::string* path) const
{
    for (const auto& entry : m_auxBitmaps)
        if (entry.entryId == entryId) {
            *path = entry.path;
            return true;
        }
    return false;
}

HBITMAP EQorDialog::LoadAuxBitmap(int entryId, int, int) const
{
    std::string path;
    HBITMAP bitmap = nullptr;
    if (GetAuxBitmapFilename(entryId, &path) && EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap))
        return bitmap;
    return nullptr;
}

HICON EQorDialog::LoadAuxLargeIcon(int entryId, int, int) const
{
    std::string path;
    return GetAuxBitmapFilename(entryId, &path) ? EBitmapUtilities::LoadLargeIconFromFile(path) : nullptr;
}

bool EQorDialog::AddHiddenDlg(int dialogId, const std::string& name)
{
    m_hiddenDialogs.push_back({name, m_nextHiddenCommand++, dialogId});
    return true;
}

int EQorDialog::GetHiddenDlgCommandId(int dialogId) const
{
    for (const auto& entry : m_hiddenDialogs)
        if (entry.dialogId == dialogId)
            return entry.commandId;
    return 0;
}

HMENU EQorDialog::CreateHiddenDialogMenu() const
{
    if (!m_handlingHiddenDialogs || m_hiddenDialogs.empty())
        return nullptr;
    HMENU menu = ::CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (const auto& entry : m_hiddenDialogs)
        if (!::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entry.commandId), entry.name.c_str())) {
            ::DestroyMenu(menu);
            return nullptr;
        }
    return menu;
}

BOOL EQorDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int command = LOWORD(wParam);
    if (lParam == 0 && command >= kFirstHiddenDialogCommand)
        for (const auto& entry : m_hiddenDialogs)
            if (entry.commandId == command) {
                ShowHiddenDlg(entry.dialogId);
                return TRUE;
            }
    return CDialog::OnCommand(wParam, lParam);
}

bool EQorDialog::GetPartialBitmap(HDC dc, const RECT& rect, HBITMAP* bitmap)
{
    if (!bitmap)
        return false;
    *bitmap = nullptr;
    HBITMAP face = FaceBitmap();
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!face || width <= 0 || height <= 0)
        return false;
    CBitmap part;
    CDC source, target;
    if (!part.CreateDIBSection32(width, height) || !source.CreateCompatibleDC(dc) ||
        !target.CreateCompatibleDC(dc))
        return false;
    {
        CSelectObject fromFace(source, face);
        CSelectObject intoPart(target, part);
        BitBlt(target, 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    }
    *bitmap = part.Detach();
    return true;
}

void EQorDialog::OnClose()
{
    if (m_dataChanged)
        WriteGraphicsEditingChangesToXMLObject();
    LeaveDialogList();
    CDialog::OnClose();
}

void EQorDialog::OnDestroy()
{
    if (m_dataChanged)
        WriteGraphicsEditingChangesToXMLObject();
    LeaveDialogList();
    m_controls.clear();
    m_controlsCreated = 0;
    m_transparentStatics.clear();
    CDialog::OnDestroy();
    m_region.DeleteObject();
    m_background.DeleteObject();
}

bool EQorDialog::WriteGraphicsEditingChangesToXMLObject()
{
    for (const auto& entry : m_controls)
        // Transparent statics are flagged as not initialised only to keep tooltips off them.
        if (entry.common && (!entry.notInitialised || entry.type == eQorTransparentStatic))
            entry.common->WriteGraphicsEditChangesToXMLObject();
    m_dataChanged = false;
    return true;
}

bool EQorDialog::ShowHiddenDlg(int) { return true; }
bool EQorDialog::ReloadGraphicsTemplates(int) { return true; }
bool EQorDialog::ReloadTextTemplates(int) { return true; }
bool EQorDialog::UnloadGraphicsResources() { return true; }
bool EQorDialog::UnloadTextResources() { return true; }
bool EQorDialog::UnloadGraphicsAndTextResources() { return true; }
bool EQorDialog::ReloadGraphicsResources() { return true; }
bool EQorDialog::ReloadTextResources() { return true; }
bool EQorDialog::ReloadGraphicsAndTextResources() { return true; }

void EQorDialog::RedrawDlgWindow()
{
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
