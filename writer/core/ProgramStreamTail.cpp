#include "ProgramStreamTail.h"

#include "MpegAudioFrame.h"

#include <algorithm>
#include <array>
#include <optional>

namespace scrivet {

namespace {

constexpr uint32_t kPassStep = 10240;
// A pack header, and a video packet with only a sequence end code, and the program end code.
constexpr uint64_t kLongestClosing = 4 + 10 + 4 + 9 + 4;
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

struct EsPacket {
    uint64_t start;    // its start code
    uint64_t payload;  // its first byte of elementary stream data
    uint64_t end;
    uint8_t id;
};

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
    // The complete audio and video packets of the latest pass, in stream order.
    std::vector<EsPacket> packets;

    uint8_t At(uint64_t position) const { return bytes[position - base]; }

    // Where the data of an audio or video packet starts, given the byte after its length
    // field; UINT64_MAX when the header does not fit the packet.
    uint64_t PayloadStart(uint64_t at, uint64_t packetEnd) const
    {
        if (mode == kMpeg2) {
            if (packetEnd - at < 3)
                return UINT64_MAX;
            const uint64_t start = at + 3 + At(at + 2);
            return start <= packetEnd ? start : UINT64_MAX;
        }
        while (at < packetEnd && At(at) == 0xFF)
            ++at;
        if (at < packetEnd && (At(at) & 0xC0) == 0x40)  // buffer size
            at += 2;
        if (at >= packetEnd)
            return UINT64_MAX;
        const uint8_t marker = At(at);
        const uint64_t start = (marker & 0xF0) == 0x20   ? at + 5
                               : (marker & 0xF0) == 0x30 ? at + 10
                               : marker == 0x0F          ? at + 1
                                                         : UINT64_MAX;
        return start <= packetEnd ? start : UINT64_MAX;
    }

    void NotAPacket() { incompleteStart = UINT64_MAX; }

    // One pass forward from `start`; it ends at the end of the data or at the first packet
    // that is incomplete or not what it claims to be.
    void Pass(uint64_t start)
    {
        uint64_t position = start;
        uint32_t code = 0xFFFFFFFF;
        packets.clear();
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
            const uint64_t headerAt = position;
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
            if (IsAudioOrVideo(id)) {
                const uint64_t payload = PayloadStart(headerAt, packetEnd);
                if (payload != UINT64_MAX)
                    packets.push_back({packetStart, payload, packetEnd, id});
            }
            position = packetEnd;
            lastGoodEnd = packetEnd;
            foundPacket = true;
            incompleteStart = UINT64_MAX;
            code = 0xFFFFFFFF;
        }
    }
};

bool IsVideo(uint8_t id)
{
    return id >= 0xE0 && id <= 0xEF;
}

// A byte of elementary stream data: where it is and which packet holds it.
struct EsByte {
    uint64_t at;
    size_t packet;
};

// The data of one stream, read across packet boundaries, of the packets that end by `limit`.
std::vector<EsByte> StreamBytes(const Scan& scan, uint8_t id, uint64_t limit)
{
    std::vector<EsByte> bytes;
    for (size_t i = 0; i < scan.packets.size(); ++i) {
        const EsPacket& packet = scan.packets[i];
        if (packet.id == id && packet.end <= limit)
            for (uint64_t at = packet.payload; at < packet.end; ++at)
                bytes.push_back({at, i});
    }
    return bytes;
}

// The first byte of the last group of headers (sequence, group of pictures, picture) that
// follows picture data: everything before it is whole pictures. Only the stream of the last
// video packet counts.
std::optional<EsByte> LastPictureStart(const Scan& scan)
{
    const auto last = std::find_if(scan.packets.rbegin(), scan.packets.rend(),
                                   [](const EsPacket& p) { return IsVideo(p.id); });
    if (last == scan.packets.rend())
        return std::nullopt;
    const std::vector<EsByte> bytes = StreamBytes(scan, last->id, scan.end);
    std::optional<EsByte> found;
    uint32_t code = 0xFFFFFFFF;
    bool sawSlices = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        code = (code << 8) | scan.At(bytes[i].at);
        if (i < 3 || (code & 0xFFFFFF00) != 0x00000100)
            continue;
        const uint8_t id = static_cast<uint8_t>(code);
        if (id >= 0x01 && id <= 0xAF) {
            sawSlices = true;
        } else if ((id == 0xB3 || id == 0xB8 || id == 0x00) && (sawSlices || !found)) {
            found = bytes[i - 3];
            sawSlices = false;
        }
    }
    return found;
}

// The start of an audio stream's last frame when the frame does not end inside the data,
// found by walking frame lengths from the first two headers in a row.
std::optional<EsByte> UnfinishedAudioFrame(const Scan& scan, uint8_t id, uint64_t limit)
{
    const std::vector<EsByte> bytes = StreamBytes(scan, id, limit);
    const size_t count = bytes.size();
    auto length = [&](size_t i) -> uint32_t {
        if (i + 4 > count)
            return 0;
        const uint8_t header[4] = {scan.At(bytes[i].at), scan.At(bytes[i + 1].at), scan.At(bytes[i + 2].at),
                                   scan.At(bytes[i + 3].at)};
        return MpegAudioFrameLength(header);
    };
    size_t i = 0;
    for (; i < count; ++i) {
        const uint32_t first = length(i);
        if (first != 0 && (i + first >= count || length(i + first) != 0))
            break;
    }
    while (i < count) {
        const uint32_t frame = length(i);
        if (frame == 0 && i + 4 <= count)
            return std::nullopt;  // not audio this rule knows: leave it as it is
        if (frame == 0 || i + frame > count)
            return bytes[i];
        i += frame;
    }
    return std::nullopt;
}

// Ends `packet` just before `at` (a byte of its data, or its first): the rest becomes
// padding, or zeros when too short for a padding packet's header.
void EndPacketBefore(const EsPacket& packet, uint64_t at, TailRepair& repair)
{
    if (at == packet.payload) {
        repair.patches.push_back({packet.start + 3, {0xBE}});
        return;
    }
    const uint64_t kept = at - (packet.start + 6);
    repair.patches.push_back({packet.start + 4, {static_cast<uint8_t>(kept >> 8), static_cast<uint8_t>(kept)}});
    const uint64_t rest = packet.end - at;
    if (rest >= 6)
        repair.patches.push_back({at, {0x00, 0x00, 0x01, 0xBE, static_cast<uint8_t>((rest - 6) >> 8),
                                       static_cast<uint8_t>(rest - 6)}});
    else
        repair.patches.push_back({at, std::vector<uint8_t>(rest, 0x00)});
}

// Ends every audio stream on a whole frame: its unfinished frame's packet is shortened and
// its later packets become padding.
void EndAudioOnWholeFrames(const Scan& scan, uint64_t limit, TailRepair& repair)
{
    std::vector<uint8_t> streams;
    for (const EsPacket& p : scan.packets)
        if (!IsVideo(p.id) && p.end <= limit && std::find(streams.begin(), streams.end(), p.id) == streams.end())
            streams.push_back(p.id);
    for (uint8_t id : streams) {
        const std::optional<EsByte> unfinished = UnfinishedAudioFrame(scan, id, limit);
        if (!unfinished)
            continue;
        EndPacketBefore(scan.packets[unfinished->packet], unfinished->at, repair);
        for (size_t i = unfinished->packet + 1; i < scan.packets.size(); ++i)
            if (scan.packets[i].id == id && scan.packets[i].end <= limit)
                repair.patches.push_back({scan.packets[i].start + 3, {0xBE}});
        repair.cutWithoutPatches = std::min(repair.cutWithoutPatches, scan.packets[unfinished->packet].start);
    }
}

}  // namespace

TailRepair PlanTailRepair(const uint8_t* tail, size_t tailSize, uint64_t length, TailEnd end)
{
    Scan scan(tail, length - tailSize, length);
    uint64_t reach = 0;
    for (int pass = 1; pass <= kPasses; ++pass) {
        if (pass > 1 && scan.mode != kUndecided && !scan.packHeader.empty())
            break;
        reach = uint64_t{kPassStep} * pass;
        scan.Pass(std::max(length > reach ? length - reach : 0, scan.base));
    }
    // The last picture's start may lie further back than a packet's reach.
    if (end == TailEnd::LastPicture && scan.mode != kUndecided && length - scan.base > reach)
        scan.Pass(scan.base);

    TailRepair repair;
    repair.cutAt = scan.lastGoodEnd;
    if (scan.mode == kUndecided)
        return repair;
    // Only an unfinished packet was found: the stream's good part ends where it starts, and
    // closing the stream after its partial payload would leave a broken packet.
    if (!scan.foundPacket && scan.incompleteStart != UINT64_MAX)
        repair.cutAt = scan.incompleteStart;
    if (end == TailEnd::LastPicture) {
        repair.cutWithoutPatches = repair.cutAt;
        if (const std::optional<EsByte> picture = LastPictureStart(scan)) {
            const EsPacket& packet = scan.packets[picture->packet];
            if (picture->at > packet.payload) {
                EndPacketBefore(packet, picture->at, repair);
                repair.patches.pop_back();  // the rest of the packet is cut off with the picture
                repair.cutAt = picture->at;
                repair.cutWithoutPatches = packet.start;
            } else {
                repair.cutAt = repair.cutWithoutPatches = packet.start;
            }
        }
        EndAudioOnWholeFrames(scan, repair.cutAt, repair);
    }
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

bool StartsWithPackHeader(TailFile& file)
{
    uint8_t start[4] = {};
    DWORD got = 0;
    return file.ReadAt(0, start, sizeof start, &got) && got == sizeof start && start[0] == 0 && start[1] == 0 &&
           start[2] == 1 && start[3] == 0xBA;
}

void RepairProgramStreamTail(TailFile& file, uint64_t& length, TailEnd end, uint64_t maxLength)
{
    const uint32_t reach = end == TailEnd::LastPicture ? kPictureReach : kTailReach;
    const DWORD tailSize = static_cast<DWORD>(std::min<uint64_t>(length, reach));
    std::vector<uint8_t> tail(tailSize);
    DWORD got = 0;
    if (tailSize > 0 && (!file.ReadAt(length - tailSize, tail.data(), tailSize, &got) ||
                         got != tailSize))
        return;
    TailRepair repair = PlanTailRepair(tail.data(), tail.size(), length, end);
    if (repair.cutAt + repair.append.size() > maxLength) {
        // The plan ends no later than the data it is given, so data that ends the longest
        // closing bytes short of the limit leaves room for them.
        const uint64_t room = maxLength > kLongestClosing ? maxLength - kLongestClosing : 0;
        const uint64_t shorter = std::min(length, room);
        const size_t dropped = static_cast<size_t>(std::min<uint64_t>(length - shorter, tailSize));
        repair = PlanTailRepair(tail.data(), tail.size() - dropped, shorter, end);
    }
    for (const TailRepair::Patch& patch : repair.patches) {
        if (!file.WriteAt(patch.at, patch.bytes.data(), static_cast<DWORD>(patch.bytes.size()))) {
            repair.cutAt = repair.cutWithoutPatches;
            break;
        }
    }
    length = repair.cutAt;
    if (!repair.append.empty() &&
        file.WriteAt(repair.cutAt, repair.append.data(), static_cast<DWORD>(repair.append.size())))
        length += repair.append.size();
}

}  // namespace scrivet
