#include "DirectXVersion.h"

#include <win/ComPtr.h>

#include <dxdiag.h>

#include <cstdio>

namespace media {

using win::ComPtr;

namespace {

const CLSID kClsidDxDiagProvider = {0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
const IID kIidDxDiagProvider = {0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
constexpr DWORD kDxDiagVersion = 111;

constexpr DWORD Ver(DWORD a, DWORD b) { return (a << 16) | b; }

// A component at or beyond a version means at least that DirectX; later rows override.
struct Threshold {
    const char* file;
    DWORD high, low;
    DWORD packed;
};
const Threshold kThresholds[] = {
    {"\\ddraw.dll", Ver(4, 2), Ver(0, 95), PackDirectXVersion(1, 0, 0)},
    {"\\ddraw.dll", Ver(4, 3), Ver(0, 1096), PackDirectXVersion(2, 0, 0)},
    {"\\ddraw.dll", Ver(4, 4), Ver(0, 68), PackDirectXVersion(3, 0, 0)},
    {"\\d3drg8x.dll", 0, 0, PackDirectXVersion(3, 0, 'a')},
    {"\\ddraw.dll", Ver(4, 4), Ver(0, 70), PackDirectXVersion(3, 0, 'a')},
    {"\\ddraw.dll", Ver(4, 5), Ver(0, 155), PackDirectXVersion(5, 0, 0)},
    {"\\ddraw.dll", Ver(4, 5), Ver(1, 1721), PackDirectXVersion(5, 0, 0)},
    {"\\ddraw.dll", Ver(4, 5), Ver(1, 1998), PackDirectXVersion(5, 2, 0)},
    {"\\ddraw.dll", Ver(4, 6), Ver(0, 318), PackDirectXVersion(6, 0, 0)},
    {"\\ddraw.dll", Ver(4, 6), Ver(2, 436), PackDirectXVersion(6, 1, 0)},
    {"\\dplayx.dll", Ver(4, 6), Ver(3, 518), PackDirectXVersion(6, 1, 'a')},
    {"\\ddraw.dll", Ver(4, 7), Ver(0, 700), PackDirectXVersion(7, 0, 0)},
    {"\\dinput.dll", Ver(4, 7), Ver(0, 716), PackDirectXVersion(7, 0, 'a')},
    {"\\ddraw.dll", Ver(4, 8), Ver(0, 400), PackDirectXVersion(8, 0, 0)},
    {"\\d3d8.dll", Ver(4, 8), Ver(1, 881), PackDirectXVersion(8, 1, 0)},
    {"\\d3d8.dll", Ver(4, 8), Ver(1, 901), PackDirectXVersion(8, 1, 'a')},
    {"\\mpg2splt.ax", Ver(6, 3), Ver(1, 68), PackDirectXVersion(8, 1, 'b')},
    {"\\dpnet.dll", Ver(4, 9), Ver(0, 134), PackDirectXVersion(8, 2, 0)},
};

bool AtLeast(const FileVersion& v, DWORD high, DWORD low)
{
    return v.high > high || (v.high == high && v.low >= low);
}

FileVersion ReadSystemFileVersion(const char* name)
{
    FileVersion result;
    char path[MAX_PATH + 32];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return result;
    strcat(path, name);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) {
        result.present = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
        return result;
    }
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (GetFileVersionInfoA(path, 0, size, block.data()) &&
        VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) && fixed) {
        result.high = fixed->dwFileVersionMS;
        result.low = fixed->dwFileVersionLS;
    }
    result.present = true;
    return result;
}

// DxDiag's answer; false unless all three values are read with the expected types.
bool VersionFromDxDiag(DWORD& packed)
{
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        ComPtr<IDxDiagProvider> provider;
        ComPtr<IDxDiagContainer> root, system;
        DXDIAG_INIT_PARAMS params{};
        params.dwSize = sizeof params;
        params.dwDxDiagHeaderVersion = kDxDiagVersion;
        params.bAllowWHQLChecks = FALSE;
        params.pReserved = nullptr;
        if (SUCCEEDED(CoCreateInstance(kClsidDxDiagProvider, nullptr, CLSCTX_INPROC_SERVER, kIidDxDiagProvider, provider.PutVoid())) &&
            SUCCEEDED(provider->Initialize(&params)) && SUCCEEDED(provider->GetRootContainer(root.Put())) &&
            SUCCEEDED(root->GetChildContainer(L"DxDiag_SystemInfo", system.Put()))) {
            VARIANT major, minor, letter;
            VariantInit(&major);
            VariantInit(&minor);
            VariantInit(&letter);
            if (SUCCEEDED(system->GetProp(L"dwDirectXVersionMajor", &major)) && major.vt == VT_UI4 &&
                SUCCEEDED(system->GetProp(L"dwDirectXVersionMinor", &minor)) && minor.vt == VT_UI4 &&
                SUCCEEDED(system->GetProp(L"szDirectXVersionLetter", &letter)) && letter.vt == VT_BSTR) {
                const wchar_t c = letter.bstrVal ? letter.bstrVal[0] : L' ';
                const char l = (c >= L'a' && c <= L'z') ? char(c) : (c >= L'A' && c <= L'Z') ? char(c - L'A' + 'a') : 0;
                packed = PackDirectXVersion(major.ulVal, minor.ulVal, l);
                ok = true;
            }
            VariantClear(&major);
            VariantClear(&minor);
            VariantClear(&letter);
        }
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}

}  // namespace

std::string DirectXVersionText(DWORD packed)
{
    char text[32];
    const int major = int(packed >> 16), minor = int((packed >> 8) & 0xFF), letter = int(packed & 0xFF);
    if (letter > 0 && letter <= 26)
        snprintf(text, sizeof text, "%d.%d%c", major, minor, 'a' + letter - 1);
    else
        snprintf(text, sizeof text, "%d.%d", major, minor);
    return text;
}

DWORD DirectXVersionFromFiles(FileVersionReader read)
{
    DWORD packed = 0;
    for (const Threshold& t : kThresholds) {
        const FileVersion v = read(t.file);
        if (v.present && AtLeast(v, t.high, t.low))
            packed = t.packed;
    }
    if (read("\\d3d9.dll").present)
        packed = PackDirectXVersion(9, 0, 0);
    return packed;
}

HRESULT GetDirectXVersion(DWORD* packed, char* text, int textSize)
{
    DWORD version = 0;
    if (!VersionFromDxDiag(version))
        version = DirectXVersionFromFiles(ReadSystemFileVersion);
    if (packed)
        *packed = version;
    if (text && textSize > 0)
        snprintf(text, size_t(textSize), "%s", DirectXVersionText(version).c_str());
    return version ? S_OK : E_FAIL;
}

bool IsDirectX9OrLater()
{
    DWORD packed = 0;
    GetDirectXVersion(&packed, nullptr, 0);
    return IsDirectX9OrLater(packed);
}

}  // namespace media
