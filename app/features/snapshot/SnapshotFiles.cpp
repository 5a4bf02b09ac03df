#include "SnapshotFiles.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include <win/Handle.h>

#include "BmpPicture.h"
#include "SnapshotJpeg.h"

namespace snapshot {
namespace {

// Larger than any still a picture of the encoder's maximum size could give.
constexpr std::uint64_t kLargestStill = 512ull * 1024 * 1024;

std::string SystemText(DWORD error)
{
    char text[256] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                   sizeof text, nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(error) : s;
}

SaveResult Failed(const std::string& what, const std::string& target, DWORD error)
{
    return {false, what + " " + target + ": " + SystemText(error) + "."};
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, DWORD* error)
{
    win::Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        *error = GetLastError();
        return false;
    }
    if (size.QuadPart <= 0 || static_cast<std::uint64_t>(size.QuadPart) > kLargestStill) {
        *error = ERROR_INVALID_DATA;
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()) {
        *error = got != bytes.size() ? ERROR_HANDLE_EOF : GetLastError();
        return false;
    }
    return true;
}

}  // namespace

bool HasExtension(const std::string& name)
{
    const std::size_t slash = name.find_last_of("\\/:");
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot >= start && dot + 1 < name.size();
}

std::string SaveTarget(const std::string& chosen, StillFormat format)
{
    if (HasExtension(chosen))
        return chosen;
    return chosen + (format == StillFormat::Jpeg ? ".jpg" : ".bmp");
}

SaveResult SaveStillAsBmp(const std::string& still, const std::string& target)
{
    // A read-only file is the user's to keep: Windows refuses to replace it, and so do we on
    // every system.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return Failed("The snapshot could not be saved as", target, ERROR_ACCESS_DENIED);
    if (!MoveFileExA(still.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH))
        return Failed("The snapshot could not be saved as", target, GetLastError());
    return {true, {}};
}

SaveResult SaveStillAsJpeg(const std::string& still, const std::string& target)
{
    std::vector<std::uint8_t> bitmap;
    DWORD error = 0;
    if (!ReadWholeFile(still, bitmap, &error))
        return Failed("The snapshot could not be read from", still, error);
    RgbPlanes planes;
    std::string problem;
    if (!ReadBmpPlanes(bitmap.data(), bitmap.size(), planes, &problem))
        return {false, "The snapshot could not be read (" + problem + ")."};
    bitmap = {};
    std::vector<std::uint8_t> stream;
    if (const int result = EncodeStillJpeg(planes, stream); result != 0)
        return {false, "JPEG encoding failed (code " + std::to_string(result) + "): the snapshot was not saved as JPEG."};

    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return Failed("The snapshot could not be saved as", target, ERROR_ACCESS_DENIED);
    // The stream goes to a file of its own beside the target first, so that a failed write
    // never leaves a short picture or takes the old one.
    const std::string part = target + ".part";
    {
        win::Handle out(CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out)
            return Failed("The snapshot could not be saved as", target, GetLastError());
        DWORD written = 0;
        const BOOL wrote = WriteFile(out.Get(), stream.data(), static_cast<DWORD>(stream.size()), &written, nullptr);
        error = wrote ? (written == stream.size() ? ERROR_SUCCESS : ERROR_DISK_FULL) : GetLastError();
        if (error == ERROR_SUCCESS && !FlushFileBuffers(out.Get()))
            error = GetLastError();
    }
    if (error == ERROR_SUCCESS && !MoveFileExA(part.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS) {
        DeleteFileA(part.c_str());
        return Failed("The snapshot could not be saved as", target, error);
    }
    return {true, {}};
}

}  // namespace snapshot
