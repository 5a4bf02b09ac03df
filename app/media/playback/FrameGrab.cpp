// A still of the playing picture as a bitmap file, for the snapshot dialog.
#include "MediaPlayer.h"

#include "Trace.h"

#include <win/Handle.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace media {
namespace {

constexpr DWORD kStateWaitMs = 20000;

// Where the pixels start behind a packed DIB's header: the header, then the colour masks or
// table it announces.
DWORD PixelOffset(const BITMAPINFOHEADER& h)
{
    DWORD extra = 0;
    if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER))
        extra = 3 * sizeof(DWORD);
    else if (h.biBitCount <= 8)
        extra = (h.biClrUsed ? h.biClrUsed : (1u << h.biBitCount)) * sizeof(RGBQUAD);
    return sizeof(BITMAPFILEHEADER) + h.biSize + extra;
}

// Cuts the buffer to the packed DIB its header describes; false when the header cannot be right.
bool TrimToPackedDib(std::vector<BYTE>& dib)
{
    if (dib.size() < sizeof(BITMAPINFOHEADER))
        return false;
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
    if (h->biSize < sizeof(BITMAPINFOHEADER) || h->biWidth <= 0 || h->biHeight == 0 || h->biBitCount == 0)
        return false;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(h->biWidth) * h->biBitCount + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(h->biHeight < 0 ? -static_cast<std::int64_t>(h->biHeight) : h->biHeight);
    const std::uint64_t pixels = h->biSizeImage ? h->biSizeImage : stride * rows;
    const std::uint64_t total = PixelOffset(*h) - sizeof(BITMAPFILEHEADER) + pixels;
    if (total > dib.size())
        return false;
    dib.resize(static_cast<size_t>(total));
    return true;
}

}  // namespace

HRESULT MediaPlayer::RendererImage(std::vector<BYTE>& dib)
{
    // Asked of the renderer itself; the graph's pass-through refuses the size query. First the
    // size, then the packed DIB.
    win::ComPtr<IBaseFilter> renderer;
    win::ComPtr<IBasicVideo> video;
    if (FAILED(m_graph.Graph()->FindFilterByName(L"Video Renderer", renderer.Put())) ||
        FAILED(renderer.As(IID_IBasicVideo, video)))
        video = win::ComPtr<IBasicVideo>::Share(m_pBV.Get());
    long size = 0;
    HRESULT hr = video->GetCurrentImage(&size, nullptr);
    if (hr == E_POINTER && m_lVideoWidth > 0 && m_lVideoHeight > 0) {
        // A renderer that will not answer the size alone gets room for the largest picture
        // of this size it can hold: 32 bits a pixel behind a header with a full colour table.
        size = static_cast<long>(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + 4 * m_lVideoWidth * m_lVideoHeight);
        hr = S_OK;
    }
    if (FAILED(hr) || size <= static_cast<long>(sizeof(BITMAPINFOHEADER)))
        return FAILED(hr) ? hr : E_FAIL;
    dib.assign(static_cast<size_t>(size), 0);
    if (FAILED(hr = video->GetCurrentImage(&size, reinterpret_cast<long*>(dib.data()))))
        return hr;
    return TrimToPackedDib(dib) ? S_OK : E_FAIL;
}

HRESULT MediaPlayer::ShownImage(std::vector<BYTE>& dib)
{
    RECT shown = m_videoRect;
    const int width = shown.right - shown.left, height = shown.bottom - shown.top;
    HWND area = GetDlgItem(m_hWndApp, IDC_VIDEO);
    if (!area || width <= 0 || height <= 0)
        return E_FAIL;
    MapWindowPoints(area, nullptr, reinterpret_cast<POINT*>(&shown), 2);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 24 + 31) / 32) * 4;
    header.biSizeImage = stride * static_cast<DWORD>(height);
    dib.assign(sizeof header + header.biSizeImage, 0);
    std::memcpy(dib.data(), &header, sizeof header);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    win::GdiObject section(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    bool copied = false;
    if (memory && section && bits) {
        HGDIOBJ old = SelectObject(memory, section.Get());
        copied = BitBlt(memory, 0, 0, width, height, screen, shown.left, shown.top, SRCCOPY) != FALSE;
        GdiFlush();
        if (copied)
            std::memcpy(dib.data() + sizeof header, bits, header.biSizeImage);
        SelectObject(memory, old);
    }
    if (memory)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied ? S_OK : E_FAIL;
}

HRESULT MediaPlayer::GrabPlaybackFrame(const std::string& folder, std::string* fileName)
{
    if (!m_pMC || !m_pBV || m_audioOnly)
        return E_FAIL;
    OAFilterState state = State_Stopped;
    if (FAILED(m_pMC->GetState(kStateWaitMs, &state)) || (state != State_Running && state != State_Paused))
        return E_FAIL;
    std::vector<BYTE> dib;
    HRESULT hr = RendererImage(dib);
    if (FAILED(hr)) {
        // The renderer keeps no copy while it runs: take the picture as the video area shows it.
        DebugLine("the renderer gave no still (0x%08lX); the shown picture is taken", static_cast<unsigned long>(hr));
        if (FAILED(hr = ShownImage(dib)))
            return hr;
    }

    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(dib.data());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfSize = static_cast<DWORD>(dib.size() + sizeof file);
    file.bfOffBits = PixelOffset(*header);
    const std::string path = folder + "temp000.dat";
    win::Handle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!out || !WriteFile(out.Get(), &file, sizeof file, &written, nullptr) || written != sizeof file ||
        !WriteFile(out.Get(), dib.data(), static_cast<DWORD>(dib.size()), &written, nullptr) || written != dib.size()) {
        const HRESULT error = HRESULT_FROM_WIN32(GetLastError());
        out.Reset();
        DeleteFileA(path.c_str());
        return TraceFailure("writing the still picture", FAILED(error) ? error : E_FAIL);
    }
    if (fileName)
        *fileName = path;
    return S_OK;
}

}  // namespace media
