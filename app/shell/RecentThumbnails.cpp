#include "RecentThumbnails.h"

#include "EQorDialog.h"
#include "MediaThumbnail.h"
#include "SkinBitmapFile.h"
#include "StatusText.h"

#include <commctrl.h>
#include <msxml2.h>

#include <string>
#include <utility>

#include <win/Handle.h>

#include "ControlIds.h"

namespace shell {

namespace {

constexpr COLORREF kSelectedFrame = RGB(0, 255, 0);
constexpr int kSelectedFrameWidth = 2;

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

// Where the skin puts a control: its "ControlXOffset" and "ControlYOffset" in the dialog.
bool SkinPosition(IXMLDOMNode* dialogElement, int controlId, POINT* position)
{
    if (!dialogElement)
        return false;
    const std::wstring query = L".//*[@ControlIdValue='" + std::to_wstring(controlId) + L"']";
    BSTR text = SysAllocString(query.c_str());
    IXMLDOMNode* node = nullptr;
    const HRESULT hr = dialogElement->selectSingleNode(text, &node);
    SysFreeString(text);
    if (hr != S_OK || !node)
        return false;
    IXMLDOMElement* element = nullptr;
    bool found = false;
    if (SUCCEEDED(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(&element))) && element) {
        LONG values[2] = {0, 0};
        const wchar_t* names[2] = {L"ControlXOffset", L"ControlYOffset"};
        found = true;
        for (int i = 0; i < 2; ++i) {
            BSTR name = SysAllocString(names[i]);
            VARIANT value;
            VariantInit(&value);
            found = found && element->getAttribute(name, &value) == S_OK &&
                    SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4));
            if (found)
                values[i] = value.lVal;
            VariantClear(&value);
            SysFreeString(name);
        }
        position->x = values[0];
        position->y = values[1];
        element->Release();
    }
    node->Release();
    return found;
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
    // The entries may move: no thumbnail stays marked for a recording it no longer shows.
    m_selected = -1;
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
            m_pictures[i].Attach(skelda::LoadCheckedBitmapFile(m_files[i], kWidth, kHeight, 0));
            dialog.SetToolTipText(kButtonIds[i], button,
                                  shell::RecentHoverText(entry.path, FileSize(entry.path), entry.duration));
        } else {
            m_pictures[i].DeleteObject();
        }
        ::InvalidateRect(button, nullptr, FALSE);
        ::ShowWindow(button, shown ? SW_SHOW : SW_HIDE);
        ::EnableWindow(button, shown);
    }
    ::ShowWindow(dialog.GetDlgItem(IDC_NO_RECENT_LABEL), recent.HasEntry(0) ? SW_HIDE : SW_SHOW);
}

void RecentThumbnails::Place(EQorDialog& dialog)
{
    for (int id : kButtonIds) {
        const HWND button = dialog.GetDlgItem(id);
        if (!button)
            continue;
        ::SendMessageA(button, BM_SETSTYLE, BS_OWNERDRAW, FALSE);
        POINT position{};
        if (SkinPosition(dialog.GetDlgRootNode(), id, &position))
            ::SetWindowPos(button, nullptr, position.x, position.y, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool RecentThumbnails::Draw(const DRAWITEMSTRUCT& item) const
{
    for (int i = 0; i < settings::RecentRecordings::kCount; ++i) {
        if (item.hwndItem == nullptr || item.hwndItem != m_buttons[i])
            continue;
        const RECT& area = item.rcItem;
        const HBITMAP picture = m_pictures[i];
        CDC memory;
        if (picture && memory.CreateCompatibleDC(item.hDC)) {
            CSelectObject selected(memory, picture);
            ::StretchBlt(item.hDC, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, 0, 0,
                         kWidth, kHeight, SRCCOPY);
        } else {
            ::FillRect(item.hDC, &area, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        }
        if (i == m_selected) {
            // The status display's green, so the playing recording reads as "on".
            win::GdiObject frame(::CreateSolidBrush(kSelectedFrame));
            RECT inner = area;
            for (int line = 0; line < kSelectedFrameWidth; ++line) {
                ::FrameRect(item.hDC, &inner, static_cast<HBRUSH>(frame.Get()));
                ::InflateRect(&inner, -1, -1);
            }
        }
        if (item.itemState & ODS_FOCUS)
            ::DrawFocusRect(item.hDC, &area);
        return true;
    }
    return false;
}

void RecentThumbnails::Select(int index)
{
    const int previous = std::exchange(m_selected, index >= 0 && index < settings::RecentRecordings::kCount ? index : -1);
    for (int i : {previous, m_selected})
        if (i >= 0 && m_buttons[i] && ::IsWindow(m_buttons[i]))
            ::InvalidateRect(m_buttons[i], nullptr, FALSE);
}

void RecentThumbnails::Release()
{
    for (int i = 0; i < settings::RecentRecordings::kCount; ++i) {
        if (m_buttons[i] && IsWindow(m_buttons[i]))
            ::InvalidateRect(m_buttons[i], nullptr, FALSE);
        m_buttons[i] = nullptr;
        m_pictures[i].DeleteObject();
    }
    m_selected = -1;
}

}  // namespace shell
