#pragma once
// A forward walk over a whole program stream from its first byte, independent of the tail
// repair's backward scan, for working out what a repaired stream must look like.
#include <cstdint>
#include <vector>

namespace scrivet::test {

struct StreamUnit {
    uint64_t start;
    uint64_t end;
    uint8_t id;      // 0xBA pack header, 0xBB system header, else the packet's stream id
    bool mpeg2Pack;  // for pack headers
};

// Units from the start until the program end code or the first thing that is not a unit.
inline std::vector<StreamUnit> WalkProgramStream(const std::vector<uint8_t>& s)
{
    std::vector<StreamUnit> units;
    uint64_t at = 0;
    while (at + 6 <= s.size() && s[at] == 0 && s[at + 1] == 0 && s[at + 2] == 1) {
        const uint8_t id = s[at + 3];
        if (id == 0xB9)
            break;
        uint64_t end = 0;
        bool mpeg2 = false;
        if (id == 0xBA) {
            mpeg2 = (s[at + 4] & 0xC0) == 0x40;
            end = mpeg2 ? at + 14 + (at + 13 < s.size() ? (s[at + 13] & 7) : 0) : at + 12;
        } else {
            end = at + 6 + ((s[at + 4] << 8) | s[at + 5]);
        }
        units.push_back({at, end, id, mpeg2});
        at = end;
    }
    return units;
}

inline bool IsRepairPacket(uint8_t id)
{
    return (id >= 0xC0 && id <= 0xEF) || id == 0xBD || id == 0xBE || id == 0xBF;
}

}  // namespace scrivet::test
