#pragma once
// Test artefacts folder (MAROVIN_TEST_OUT) and whole-file reading, for the pure-logic tests
// that run both natively and under Wine.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace filtertest {

inline std::string ArtefactPath(const std::string& name)
{
    std::string dir;
    if (const char* env = std::getenv("MAROVIN_TEST_OUT")) dir = env;
#ifdef _WIN32
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;  // Wine maps the root to Z:
#endif
    if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
    return dir + name;
}

inline std::vector<uint8_t> ReadWholeFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        uint8_t chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return bytes;
}

}  // namespace filtertest
