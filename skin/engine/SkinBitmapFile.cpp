// Maps a bitmap file (or finds a bitmap resource), checks its bytes and only then hands it to
// the system's loader.
#include "SkinBitmapFile.h"

#include <optional>

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
