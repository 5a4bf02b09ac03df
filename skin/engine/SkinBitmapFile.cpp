// Maps a bitmap file (or finds a bitmap resource), checks its bytes and only then hands it to
// the system's loader.
#include "SkinBitmapFile.h"

#include <cstring>
#include <optional>
#include <vector>

#include "BitmapFileCheck.h"
#include "win/Handle.h"

namespace skelda {
namespace {

struct ViewTraits {
    using Raw = const void*;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw view) { return view != nullptr; }
    static void Free(Raw view) { UnmapViewOfFile(view); }
};
using MappedView = win::Owned<ViewTraits>;

void ReportRefused(const std::string& name, BitmapFault fault)
{
    OutputDebugStringA(("Skelda:  bitmap refused, " + std::string(BitmapFaultText(fault)) + ": " + name + "\r\n").c_str());
}

// Files up to this size are read whole and, when plain, become DIB sections without the system's
// loader; a skin's largest face is well under it.
constexpr LONGLONG kReadWholeLimit = 16 * 1024 * 1024;

// The whole file, or nothing when it cannot be read or is too large to read at once.
std::optional<std::vector<std::uint8_t>> ReadWhole(const std::string& path)
{
    win::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kReadWholeLimit)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size()))
        return std::nullopt;
    return bytes;
}

// A checked file with a plain information header and uncompressed bottom-up rows, as a DIB section of
// the same depth, colours and row order that the system's loader would make, without a second
// opening of the file; null for any other layout, which the system's loader then takes.
HBITMAP PlainDibSection(const std::vector<std::uint8_t>& file)
{
    constexpr size_t kFileHeader = sizeof(BITMAPFILEHEADER);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, file.data() + kFileHeader, sizeof header);
    // Rows stored top to bottom are turned over by the system's loader: it takes those.
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB || header.biHeight <= 0 ||
        (header.biBitCount != 8 && header.biBitCount != 24 && header.biBitCount != 32))
        return nullptr;
    DWORD offset = 0;
    std::memcpy(&offset, file.data() + 10, sizeof offset);
    const size_t stride = (static_cast<size_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const size_t rows = static_cast<size_t>(header.biHeight);
    // The check vouched for the rows and the colour table lying inside the file.
    const auto* info = reinterpret_cast<const BITMAPINFO*>(file.data() + kFileHeader);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section && !bits) {
        DeleteObject(section);
        return nullptr;
    }
    if (section)
        std::memcpy(bits, file.data() + offset, stride * rows);
    return section;
}

// The file's bytes, checked in place through a read-only mapping; nothing when it cannot be read.
std::optional<BitmapFault> CheckFile(const std::string& path)
{
    win::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return std::nullopt;
    // An empty file cannot be mapped.
    if (size.QuadPart == 0)
        return BitmapFault::TooShort;
    win::Handle mapping(CreateFileMappingA(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    MappedView view(mapping ? MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0) : nullptr);
    if (!view)
        return std::nullopt;
    return CheckBitmapFile({static_cast<const std::uint8_t*>(view.Get()), static_cast<std::size_t>(size.QuadPart)});
}

}  // namespace

HBITMAP LoadCheckedBitmapFile(const std::string& path, int width, int height, UINT flags)
{
    if (path.empty() || path.size() >= MAX_PATH)
        return nullptr;
    // A skin bitmap at its own size: one read, one check, one section.
    if (width == 0 && height == 0 && flags == LR_CREATEDIBSECTION) {
        if (const auto bytes = ReadWhole(path)) {
            const BitmapFault fault = CheckBitmapFile(*bytes);
            if (fault != BitmapFault::None) {
                ReportRefused(path, fault);
                return nullptr;
            }
            if (HBITMAP section = PlainDibSection(*bytes))
                return section;
        }
    }
    const std::optional<BitmapFault> fault = CheckFile(path);
    if (!fault)
        return nullptr;
    if (*fault != BitmapFault::None) {
        ReportRefused(path, *fault);
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, width, height, flags | LR_LOADFROMFILE));
}

HBITMAP LoadCheckedBitmapResource(HMODULE module, const std::string& name)
{
    HRSRC info = module ? FindResourceA(module, name.c_str(), RT_BITMAP) : nullptr;
    if (!info)
        return nullptr;
    HGLOBAL handle = LoadResource(module, info);
    const void* bytes = handle ? LockResource(handle) : nullptr;
    if (!bytes)
        return nullptr;
    const BitmapFault fault =
        CheckPackedBitmap({static_cast<const std::uint8_t*>(bytes), static_cast<std::size_t>(SizeofResource(module, info))});
    if (fault != BitmapFault::None) {
        ReportRefused(name, fault);
        return nullptr;
    }
    return static_cast<HBITMAP>(LoadImageA(module, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace skelda
