#include "RecentThumbnails.h"

#include "EQorDialog.h"
#include "MediaThumbnail.h"
#include "StatusText.h"

#include <commctrl.h>

#include "ControlIds.h"

namespace {

bool CanOpen(const std::string& path)
{
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool FileExists(const std::string& path)
{
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool MakeThumbnail(const std::string& recording, const std::string& bitmap)
{
    return SUCCEEDED(media::WriteThumbnail(recording, bitmap, RecentThumbnails::kWidth, RecentThumbnails::kHeight));
}

}  // namespace

const int RecentThumbnails::kButtonIds[settings::RecentRecordings::kCount] = {IDC_RECENT_1, IDC_RECENT_2,
                                                                               IDC_RECENT_3, IDC_RECENT_4};

void RecentThumbnails::Fill(EQorDialog& dialog, settings::RecentRecordings& recent,
                            const framework::ProfileStore& store, const std::string& placeholder)
{
    if (recent.RemoveMissing(FileExists))
        recent.Write(store);
    for (int i = 0; i < settings::RecentRecordings::kCount; ++i) {
        const HWND button = dialog.GetDlgItem(kButtonIds[i]);
        m_buttons[i] = button;
        if (!button)
            continue;
        const bool shown = recent.HasEntry(i);
        m_files[i].clear();
        if (shown) {
            const settings::RecentEntry& entry = recent.At(i);
            m_files[i] = settings::ThumbnailPicture(entry.path, placeholder, CanOpen, MakeThumbnail);
            m_pictures[i].Attach(static_cast<HBITMAP>(
                LoadImageA(nullptr, m_files[i].c_str(), IMAGE_BITMAP, kWidth, kHeight, LR_LOADFROMFILE)));
            SetWindowLongPtrA(button, GWL_STYLE, GetWindowLongPtrA(button, GWL_STYLE) | BS_BITMAP);
            SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(m_pictures[i])));
            dialog.SetToolTipText(kButtonIds[i], button,
                                  shell::RecentHoverText(entry.path, FileSize(entry.path), entry.duration));
        } else {
            SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, 0);
            m_pictures[i].DeleteObject();
        }
        ::ShowWindow(button, shown ? SW_SHOW : SW_HIDE);
        ::EnableWindow(button, shown);
    }
    ::ShowWindow(dialog.GetDlgItem(IDC_NO_RECENT_LABEL), recent.HasEntry(0) ? SW_HIDE : SW_SHOW);
}

void RecentThumbnails::Release()
{
    for (int i = 0; i < settings::RecentRecordings::kCount; ++i) {
        if (m_buttons[i] && IsWindow(m_buttons[i]))
            SendMessageA(m_buttons[i], BM_SETIMAGE, IMAGE_BITMAP, 0);
        m_buttons[i] = nullptr;
        m_pictures[i].DeleteObject();
    }
}
