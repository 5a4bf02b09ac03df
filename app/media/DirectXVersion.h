#pragma once
// Which DirectX the machine has: the DxDiag provider's answer, else the file versions of the
// system's DirectX components.
#include <windows.h>

#include <string>
#include <vector>

namespace media {

// major * 65536 + minor * 256 + letter (0, or 'a' = 1 ...).
constexpr DWORD PackDirectXVersion(DWORD major, DWORD minor, char letter)
{
    return major * 65536 + minor * 256 + (letter >= 'a' && letter <= 'z' ? DWORD(letter - 'a' + 1) : 0);
}
// "%d.%d" or "%d.%d%c".
std::string DirectXVersionText(DWORD packed);
constexpr bool IsDirectX9OrLater(DWORD packed) { return packed >= 0x90000; }

// One system file's version as major.minor packed into two 32-bit words (high, low); both 0
// when the file is missing.
struct FileVersion {
    DWORD high = 0;
    DWORD low = 0;
    bool present = false;
};
// The version the file versions point to, given a reader of the system directory's files
// (names such as "\ddraw.dll"); 0 when none does.
using FileVersionReader = FileVersion (*)(const char* name);
DWORD DirectXVersionFromFiles(FileVersionReader read);

HRESULT GetDirectXVersion(DWORD* packed, char* text, int textSize);
bool IsDirectX9OrLater();

}  // namespace media
