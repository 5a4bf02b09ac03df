#pragma once
// Owners of GDI objects and device contexts: each releases what it holds when it goes out of
// scope, on every path. Move-only; Detach hands the handle over to the caller.
#include <windows.h>

#include <utility>

// Owner of one GDI object handle (bitmap, region, brush, font, pen).
template <class H>
class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(H handle) : m_handle(handle) {}
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(CGdiObject&& other) noexcept : m_handle(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept
    {
        if (this != &other)
            Attach(other.Detach());
        return *this;
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    H GetSafeHandle() const { return m_handle; }
    operator H() const { return m_handle; }
    // Takes ownership of `handle`, releasing the object held before.
    void Attach(H handle)
    {
        if (handle != m_handle) {
            DeleteObject();
            m_handle = handle;
        }
    }
    H Detach() { return std::exchange(m_handle, nullptr); }
    BOOL DeleteObject()
    {
        if (!m_handle)
            return FALSE;
        return ::DeleteObject(std::exchange(m_handle, nullptr));
    }

protected:
    // Holds a newly made handle; false (and nothing held) when making it failed.
    BOOL Take(H handle)
    {
        Attach(handle);
        return handle != nullptr;
    }

    H m_handle = nullptr;
};

class CBitmap : public CGdiObject<HBITMAP> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height)
    {
        return Take(::CreateCompatibleBitmap(dc, width, height));
    }
    BOOL LoadBitmap(HINSTANCE module, UINT id)
    {
        return Take(::LoadBitmapA(module, MAKEINTRESOURCEA(id)));
    }
    // A 32-bit top-down DIB section; `bits` receives its pixels when given.
    BOOL CreateDIBSection32(int width, int height, void** bits = nullptr)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        const BOOL ok = Take(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (bits)
            *bits = ok ? pixels : nullptr;
        return ok;
    }
    BOOL GetBitmap(BITMAP* info) const
    {
        return m_handle && ::GetObjectA(m_handle, sizeof(BITMAP), info) == sizeof(BITMAP);
    }
};

class CRgn : public CGdiObject<HRGN> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateRectRgn(int left, int top, int right, int bottom)
    {
        return Take(::CreateRectRgn(left, top, right, bottom));
    }
    BOOL CreateRectRgnIndirect(const RECT& rect) { return Take(::CreateRectRgnIndirect(&rect)); }
    BOOL CreatePolygonRgn(const POINT* points, int count, int mode)
    {
        return Take(::CreatePolygonRgn(points, count, mode));
    }
    // This region becomes a combination of two others (RGN_AND, RGN_OR, RGN_DIFF, ...).
    int CombineRgn(HRGN first, HRGN second, int mode)
    {
        return ::CombineRgn(m_handle, first, second, mode);
    }
    BOOL CopyRgn(HRGN source)
    {
        if (!m_handle && !CreateRectRgn(0, 0, 0, 0))
            return FALSE;
        return ::CombineRgn(m_handle, source, nullptr, RGN_COPY) != ERROR;
    }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(m_handle, x, y); }
};

class CBrush : public CGdiObject<HBRUSH> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateSolidBrush(COLORREF colour) { return Take(::CreateSolidBrush(colour)); }
};

class CFont : public CGdiObject<HFONT> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreateFontIndirect(const LOGFONTA& font) { return Take(::CreateFontIndirectA(&font)); }
};

class CPen : public CGdiObject<HPEN> {
public:
    using CGdiObject::CGdiObject;
    BOOL CreatePen(int style, int width, COLORREF colour) { return Take(::CreatePen(style, width, colour)); }
};

// Selects an object into a device context for the guard's lifetime.
class CSelectObject {
public:
    CSelectObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectObject()
    {
        if (m_dc && m_old)
            ::SelectObject(m_dc, m_old);
    }
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A memory device context (CreateCompatibleDC), deleted at the end.
class CDC {
public:
    CDC() = default;
    ~CDC() { DeleteDC(); }
    CDC(CDC&& other) noexcept : m_hDC(std::exchange(other.m_hDC, nullptr)) {}
    CDC& operator=(CDC&& other) noexcept
    {
        if (this != &other) {
            DeleteDC();
            m_hDC = std::exchange(other.m_hDC, nullptr);
        }
        return *this;
    }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL CreateCompatibleDC(HDC reference)
    {
        DeleteDC();
        m_hDC = ::CreateCompatibleDC(reference);
        return m_hDC != nullptr;
    }
    BOOL DeleteDC()
    {
        if (!m_hDC)
            return FALSE;
        return ::DeleteDC(std::exchange(m_hDC, nullptr));
    }
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    HDC m_hDC = nullptr;
};

// The client-area context of a window (GetDC / ReleaseDC).
class CClientDC {
public:
    explicit CClientDC(HWND wnd) : m_hWnd(wnd), m_hDC(::GetDC(wnd)) {}
    ~CClientDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The whole-window context of a window (GetWindowDC / ReleaseDC).
class CWindowDC {
public:
    explicit CWindowDC(HWND wnd) : m_hWnd(wnd), m_hDC(::GetWindowDC(wnd)) {}
    ~CWindowDC()
    {
        if (m_hDC)
            ::ReleaseDC(m_hWnd, m_hDC);
    }
    CWindowDC(const CWindowDC&) = delete;
    CWindowDC& operator=(const CWindowDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The painting context of WM_PAINT (BeginPaint / EndPaint).
class CPaintDC {
public:
    explicit CPaintDC(HWND wnd) : m_hWnd(wnd), m_ps{}, m_hDC(::BeginPaint(wnd, &m_ps)) {}
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    const PAINTSTRUCT& PaintStruct() const { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
    HDC m_hDC;
};
