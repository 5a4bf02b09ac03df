#include "SaveBmpDialog.h"

#include <framework/FileDialog.h>

#include "ControlIds.h"
#include "ErrorLog.h"
#include "MessageIds.h"
#include "ProgramMessage.h"
#include "QorGraphicsEngineAPI.h"
#include "SnapshotFiles.h"

namespace shell {
namespace {

constexpr char kFilter[] = "JPEG Files (*.jpg)|*.jpg|BMP Files (*.bmp)|*.bmp||";

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A copy of `source` scaled into a `width` x `height` picture, centred on black.
HBITMAP FittedCopy(HBITMAP source, int width, int height)
{
    BITMAP info{};
    if (!source || width <= 0 || height <= 0 || !GetObjectA(source, sizeof info, &info) || info.bmWidth <= 0)
        return nullptr;
    const int sourceHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    int w = width, h = static_cast<int>(static_cast<long long>(width) * sourceHeight / info.bmWidth);
    if (h > height) {
        h = height;
        w = static_cast<int>(static_cast<long long>(height) * info.bmWidth / sourceHeight);
    }
    HDC screen = ::GetDC(nullptr);
    HBITMAP fitted = CreateCompatibleBitmap(screen, width, height);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    if (fitted && from && to) {
        HGDIOBJ oldFrom = SelectObject(from, source);
        HGDIOBJ oldTo = SelectObject(to, fitted);
        PatBlt(to, 0, 0, width, height, BLACKNESS);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, (width - w) / 2, (height - h) / 2, w, h, from, 0, 0, info.bmWidth, sourceHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    ::ReleaseDC(nullptr, screen);
    return fitted;
}

}  // namespace

SaveBmpDialog::SaveBmpDialog(std::string still, std::string* folder, int* filterIndex, CWnd* parent)
    : EQorDialog(IDD_SAVE_BITMAP, parent), m_still(std::move(still)), m_folder(folder), m_filterIndex(filterIndex)
{
    MapCommand(IDC_SNAP_SAVE, [this] { OnSave(); });
}

SaveBmpDialog::~SaveBmpDialog() = default;

std::string SaveBmpDialog::Text(int id)
{
    std::string text;
    QorGraphicsEngineAPI().GetText(id, &text);
    return text;
}

BOOL SaveBmpDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    m_skinnedControls.Bind(*this, "SaveBmpDialog", {IDC_SNAP_PICTURE});
    InitializeQorDialog("SaveBmpDialog", SKIN_TRANSPARENT_COLOR, false);
    SetMouseMovesDialog(true);
    m_bitmap.Reset(LoadImageA(nullptr, m_still.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!m_bitmap)
        OutputDebugStringA(("Marovin:  the still " + m_still + " could not be shown\r\n").c_str());
    // The picture fills the frame the skin places (the frame itself stays hidden), scaled
    // to fit with its shape kept.
    const HWND frame = GetDlgItem(IDC_SNAP_FRAME);
    const HWND picture = GetDlgItem(IDC_SNAP_PICTURE);
    if (frame && picture) {
        RECT area{};
        ::GetWindowRect(frame, &area);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
        ::MoveWindow(picture, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
        m_shown.Reset(FittedCopy(static_cast<HBITMAP>(m_bitmap.Get()), area.right - area.left, area.bottom - area.top));
        ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_shown.Get()));
        ::ShowWindow(picture, SW_SHOW);
    }
    OutputDebugStringA("Marovin:  snapshot dialog shown\r\n");
    return TRUE;
}

bool SaveBmpDialog::ChooseTarget(std::string* target, int* filterIndex)
{
    for (;;) {
        CFileDialog dialog(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, kFilter, this);
        const std::string title = Text(msg::kSaveAsTitle);
        if (!title.empty())
            dialog.SetTitle(title.c_str());
        dialog.SetInitialDir(m_folder->c_str());
        dialog.m_ofn.nFilterIndex = static_cast<DWORD>(*filterIndex == 2 ? 2 : 1);
        char current[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, current);
        const INT_PTR answer = dialog.DoModal();
        SetCurrentDirectoryA(current);
        if (answer != IDOK)
            return false;
        *filterIndex = dialog.m_ofn.nFilterIndex == 2 ? 2 : 1;
        const std::string chosen = dialog.GetPathName();
        *m_folder = FolderOf(chosen);
        *target = snapshot::SaveTarget(chosen, static_cast<snapshot::StillFormat>(*filterIndex));
        // One question about replacing, for the name that will be written.
        if (!FileExists(*target) ||
            ShowProgramMessage(m_hWnd, Text(msg::kReplaceSnapshot), Text(msg::kAppTitle), MB_YESNO | MB_ICONQUESTION) == IDYES)
            return true;
    }
}

void SaveBmpDialog::OnSave()
{
    std::string target;
    int filterIndex = *m_filterIndex;
    if (!ChooseTarget(&target, &filterIndex))
        return;
    *m_filterIndex = filterIndex;
    const bool jpeg = filterIndex == static_cast<int>(snapshot::StillFormat::Jpeg);
    const snapshot::SaveResult result = jpeg ? snapshot::SaveStillAsJpeg(m_still, target) : snapshot::SaveStillAsBmp(m_still, target);
    if (!result.ok) {
        OutputDebugStringA(("Marovin:  snapshot not saved: " + result.problem + "\r\n").c_str());
        LogText("snapshot not saved: " + result.problem);
        ShowProgramMessage(m_hWnd, result.problem, Text(msg::kAppTitle), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_savedAs = target;
    OutputDebugStringA(("Marovin:  snapshot saved as " + target + "\r\n").c_str());
    Finish(IDOK);
}

void SaveBmpDialog::OnOK()
{
    OnSave();
}

void SaveBmpDialog::OnCancel()
{
    Finish(IDCANCEL);
}

void SaveBmpDialog::Finish(int result)
{
    if (HWND picture = GetDlgItem(IDC_SNAP_PICTURE))
        ::SendMessageA(picture, STM_SETIMAGE, IMAGE_BITMAP, 0);
    m_shown.Reset();
    m_bitmap.Reset();
    DeleteFileA(m_still.c_str());
    EndDialog(result);
}

}  // namespace shell
