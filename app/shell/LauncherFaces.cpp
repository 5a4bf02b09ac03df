#include "LauncherFaces.h"

#include <cstdio>
#include <vector>

#include "EQorButton.h"
#include "framework/GdiObjects.h"

namespace shell {
namespace {

// Writes `bitmap` as a 24-bit bitmap file.
bool WriteBitmapFile(HBITMAP bitmap, const std::string& path)
{
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0)
        return false;
    const int height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(info.bmWidth) * 24 + 31) / 32) * 4;
    header.biSizeImage = stride * static_cast<DWORD>(height);
    std::vector<BYTE> pixels(header.biSizeImage);
    HDC memory = CreateCompatibleDC(nullptr);
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteDC(memory);
    if (rows != height)
        return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
                         std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

// A copy of `face` with `icon` drawn at its centre, a little inside its edges.
HBITMAP Composed(HBITMAP face, HICON icon)
{
    BITMAP info{};
    if (!GetObjectA(face, sizeof info, &info))
        return nullptr;
    const int width = info.bmWidth, height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    // Memory DCs and a DIB section: anything made for the screen costs the system a check of
    // its display devices (under Wine, round trips to its server), four faces per launcher.
    CBitmap copy;
    CDC from, to;
    if (!copy.CreateDIBSection32(width, height) || !from.CreateCompatibleDC(nullptr) || !to.CreateCompatibleDC(nullptr))
        return nullptr;
    {
        CSelectObject source(from, face), target(to, copy.GetSafeHandle());
        BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY);
        const int side = (width < height ? width : height) * 5 / 8;
        if (side > 0)
            DrawIconEx(to, (width - side) / 2, (height - side) / 2, icon, side, side, 0, nullptr, DI_NORMAL);
    }
    return copy.Detach();
}

}  // namespace

LauncherFaces::LauncherFaces()
{
    char temp[MAX_PATH] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n > 0 && n < MAX_PATH)
        m_folder = temp;
}

LauncherFaces::~LauncherFaces() = default;

bool LauncherFaces::Show(int index, HWND window, HICON icon)
{
    auto* button = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(window));
    if (!button || index < 0 || index >= launcher::kButtonCount || m_folder.empty())
        return false;
    Faces& faces = m_faces[index];
    // A button that still shows the skin's own faces needs nothing to lose an icon it never
    // had: at start-up that is every launcher without a program.
    if (!icon && !faces.composed)
        return true;
    if (!faces.kept) {
        for (int state = 0; state < kStates; ++state)
            if (HBITMAP face = button->StateBitmap(state))
                faces.original[state].Reset(CopyImage(face, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        faces.kept = true;
    }
    bool shown = false;
    for (int state = 0; state < kStates; ++state) {
        const HBITMAP original = static_cast<HBITMAP>(faces.original[state].Get());
        if (!original)
            continue;
        win::GdiObject face(icon ? Composed(original, icon) : CopyImage(original, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        char name[64];
        std::snprintf(name, sizeof name, "MarovinLauncher%d-%d.bmp", index, state);
        const std::string path = m_folder + name;
        if (face && WriteBitmapFile(static_cast<HBITMAP>(face.Get()), path))
            shown = button->LoadNewBitmapFile(path, state) || shown;
        DeleteFileA(path.c_str());
    }
    faces.composed = icon != nullptr && shown;
    InvalidateRect(window, nullptr, TRUE);
    return shown;
}

}  // namespace shell
