#pragma once
// Small helpers the writer's graph tests share.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace scrivet::test {

inline std::vector<BYTE> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes with no zero among them, so nothing in them looks like a program-stream start code.
inline std::vector<BYTE> NonZeroBytes(size_t size, uint32_t seed)
{
    std::vector<BYTE> bytes(size);
    for (BYTE& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<BYTE>(1 + (seed >> 16) % 255);
    }
    return bytes;
}

inline bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace scrivet::test
