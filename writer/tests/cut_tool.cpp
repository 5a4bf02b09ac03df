// Cuts a program stream at random lengths and finishes each cut the way a run ends: whole
// sectors written unbuffered (stale bytes past the data), then cut and tail repair. With
// "crash", each cut is left as a run that never ended leaves it (whole sectors, zeros past
// the data, no end of run) and then recovered. With "limit", each cut is where the writer
// stopped a run at a size limit: finished on a whole picture, never longer than the cut.
// usage: scrivet_cut_tool STREAM OUT_DIR COUNT SEED [crash|limit]
#include "RunFile.h"
#include "RunRecovery.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const std::string mode = argc == 6 ? argv[5] : "";
    if ((argc != 5 && argc != 6) || (argc == 6 && mode != "crash" && mode != "limit")) {
        std::fprintf(stderr, "usage: scrivet_cut_tool STREAM OUT_DIR COUNT SEED [crash|limit]\n");
        return 2;
    }
    const bool crash = mode == "crash";
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> stream((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (stream.size() < 2) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const std::string folder = argv[2];
    const int count = std::atoi(argv[3]);
    uint32_t seed = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 10));
    const DWORD capacity = static_cast<DWORD>((stream.size() + 511) / 512 * 512);
    BYTE* sectors = static_cast<BYTE*>(VirtualAlloc(nullptr, capacity, MEM_COMMIT, PAGE_READWRITE));
    if (!sectors)
        return 2;
    for (int i = 0; i < count; ++i) {
        seed = seed * 1103515245u + 12345u;
        const uint64_t cut = 1 + (uint64_t{seed} * 2654435761u >> 7) % (stream.size() - 1);
        std::fill_n(sectors, capacity, static_cast<BYTE>(crash ? 0x00 : 0xA5));
        std::copy_n(stream.begin(), cut, sectors);
        char name[64];
        std::snprintf(name, sizeof name, "cut_%03d.mpg", i);
        const std::string path = folder + "\\" + name;
        scrivet::UnbufferedRunFile file;
        DWORD written = 0;
        const DWORD whole = static_cast<DWORD>((cut + 511) / 512 * 512);
        if (file.Create(std::wstring(path.begin(), path.end()), 512) != 0 ||
            file.WriteSectors(sectors, whole, &written) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        uint64_t length = cut;
        if (crash) {
            file = scrivet::UnbufferedRunFile();
            const scrivet::Recovery recovered = scrivet::RecoverRunFile(std::wstring(path.begin(), path.end()));
            length = recovered.length;
            if (recovered.outcome != scrivet::Recovery::kRecovered && cut >= 4) {
                std::fprintf(stderr, "cannot recover %s: %d\n", path.c_str(), static_cast<int>(recovered.outcome));
                return 1;
            }
        } else if (scrivet::FinishRule rule{true, mode == "limit", mode == "limit" ? cut : UINT64_MAX};
                   file.Finish(length, rule) != 0) {
            std::fprintf(stderr, "cannot finish %s\n", path.c_str());
            return 1;
        }
        std::printf("%s %llu %llu\n", name, static_cast<unsigned long long>(cut),
                    static_cast<unsigned long long>(length));
    }
    VirtualFree(sectors, 0, MEM_RELEASE);
    return 0;
}
