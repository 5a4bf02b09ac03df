#include "ProgramStreamTail.h"

#include <algorithm>
#include <array>

namespace scrivet {

namespace {

constexpr uint32_t kPassStep = 10240;
constexpr int kPasses = 4;

enum Mode { kMpeg1 = 0, kMpeg2 = 1, kUndecided = 2 };

bool IsAudioOrVideo(uint8_t code)
{
    return code >= 0xC0 && code <= 0xEF;
}

bool IsPrivateOrPadding(uint8_t code)
{
    return code == 0xBD || code == 0xBE || code == 0xBF;
}

// The state that the passes share: what they have learnt about the stream so far.
struct Scan {
    Scan(const uint8_t* tail, uint64_t tailStart, uint64_t length)
        : bytes(tail), base(tailStart), end(length), lastGoodEnd(length)
    {
    }

    const uint8_t* bytes;     // tail bytes
    uint64_t base;            // stream offset of bytes[0]
    uint64_t end;             // stream length
    int mode = kUndecided;
    uint64_t lastGoodEnd;
    bool foundPacket = false;
    // Start of an audio or video packet that runs past the end of the data.
    uint64_t incompleteStart = UINT64_MAX;
    std::vector<uint8_t> packHeader;

    uint8_t At(uint64_t position) const { return bytes[position - base]; }

    void NotAPacket() { incompleteStart = UINT64_MAX; }

    // One pass forward from `start`; it ends at the end of the data or at the first packet
    // that is incomplete or not what it claims to be.
    void Pass(uint64_t start)
    {
        uint64_t position = start;
        uint32_t code = 0xFFFFFFFF;
        while (position < end) {
            code = (code << 8) | At(position++);
            if ((code & 0xFFFFFF00) != 0x00000100)
                continue;
            const uint8_t id = static_cast<uint8_t>(code);
            if (mode != kUndecided && id == 0xBA) {
                const uint64_t size = mode == kMpeg2 ? 10 : 8;
                if (end - position < size) {
                    packHeader.clear();
                    return;
                }
                packHeader.assign(bytes + (position - base), bytes + (position - base + size));
                position += size;
                continue;
            }
            if (!IsAudioOrVideo(id) && !IsPrivateOrPadding(id))
                continue;
            const uint64_t packetStart = position - 4;
            if (IsAudioOrVideo(id))
                incompleteStart = packetStart;
            if (end - position < 2)
                return;
            int64_t remaining = (At(position) << 8) | At(position + 1);
            position += 2;
            if (IsAudioOrVideo(id)) {
                if (mode == kMpeg2) {
                    if (position >= end)
                        return;
                    const uint8_t flags = At(position++);
                    --remaining;
                    if ((flags & 0xC0) != 0x80 || remaining < 0)
                        return NotAPacket();
                } else {
                    uint8_t value = 0xFF;
                    while (value == 0xFF) {
                        if (position >= end)
                            return;
                        value = At(position++);
                        --remaining;
                    }
                    // More header than the packet claims to hold: not a packet.
                    if (remaining < 0)
                        return NotAPacket();
                    mode = (value & 0x80) ? kMpeg2 : kMpeg1;
                }
            }
            const uint64_t packetEnd = position + static_cast<uint64_t>(remaining);
            if (packetEnd > end)
                return;
            position = packetEnd;
            lastGoodEnd = packetEnd;
            foundPacket = true;
            incompleteStart = UINT64_MAX;
            code = 0xFFFFFFFF;
        }
    }
};

}  // namespace

TailRepair PlanTailRepair(const uint8_t* tail, size_t tailSize, uint64_t length)
{
    Scan scan(tail, length - tailSize, length);
    for (int pass = 1; pass <= kPasses; ++pass) {
        if (pass > 1 && scan.mode != kUndecided && !scan.packHeader.empty())
            break;
        const uint64_t reach = uint64_t{kPassStep} * pass;
        scan.Pass(std::max(length > reach ? length - reach : 0, scan.base));
    }

    TailRepair repair;
    repair.cutAt = scan.lastGoodEnd;
    if (scan.mode == kUndecided)
        return repair;
    // Only an unfinished packet was found: the stream's good part ends where it starts, and
    // closing the stream after its partial payload would leave a broken packet.
    if (!scan.foundPacket && scan.incompleteStart != UINT64_MAX)
        repair.cutAt = scan.incompleteStart;
    std::vector<uint8_t>& out = repair.append;
    if (!scan.packHeader.empty()) {
        out.insert(out.end(), {0x00, 0x00, 0x01, 0xBA});
        out.insert(out.end(), scan.packHeader.begin(), scan.packHeader.end());
        if (scan.mode == kMpeg2)
            out.back() &= 0xF8;  // no pack stuffing
    }
    out.insert(out.end(), {0x00, 0x00, 0x01, 0xE0});
    if (scan.mode == kMpeg2)
        out.insert(out.end(), {0x00, 0x07, 0x81, 0x00, 0x00, 0x00, 0x00, 0x01, 0xB7});
    else
        out.insert(out.end(), {0x00, 0x05, 0x0F, 0x00, 0x00, 0x01, 0xB7});
    out.insert(out.end(), {0x00, 0x00, 0x01, 0xB9});
    return repair;
}

bool HandleTailFile::ReadAt(uint64_t offset, void* data, DWORD length, DWORD* got)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    *got = 0;
    return SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN) &&
           ReadFile(file_.Get(), data, length, got, nullptr);
}

bool HandleTailFile::WriteAt(uint64_t offset, const void* data, DWORD length)
{
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    DWORD written = 0;
    return SetFilePointerEx(file_.Get(), to, nullptr, FILE_BEGIN) &&
           WriteFile(file_.Get(), data, length, &written, nullptr) && written == length;
}

void RepairProgramStreamTail(TailFile& file, uint64_t& length)
{
    const DWORD tailSize = static_cast<DWORD>(std::min<uint64_t>(length, kTailReach));
    std::vector<uint8_t> tail(tailSize);
    DWORD got = 0;
    if (tailSize > 0 && (!file.ReadAt(length - tailSize, tail.data(), tailSize, &got) ||
                         got != tailSize))
        return;
    const TailRepair repair = PlanTailRepair(tail.data(), tail.size(), length);
    length = repair.cutAt;
    if (!repair.append.empty() &&
        file.WriteAt(repair.cutAt, repair.append.data(), static_cast<DWORD>(repair.append.size())))
        length += repair.append.size();
}

}  // namespace scrivet
