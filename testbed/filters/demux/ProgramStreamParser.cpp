#include "ProgramStreamParser.h"

#include <cstring>

namespace mpegps {
namespace {

constexpr uint8_t kPackCode = 0xBA;
constexpr uint8_t kSystemHeaderCode = 0xBB;
constexpr uint8_t kEndCode = 0xB9;
constexpr size_t kMpeg2PackSize = 14;
constexpr size_t kMpeg1PackSize = 12;
// Bytes past a unit that must be readable to check that the next start code follows it.
constexpr size_t kFollowCheck = 3;

bool IsPrefix(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 1; }

// After a valid unit the next start code (possibly after zero stuffing) begins at once.
bool FollowedByStartCode(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] <= 1; }

bool CarriesPes(uint8_t id)
{
    return id == kPrivateStream1Id || (id >= 0xC0 && id <= 0xEF);
}

size_t SubStreamHeaderSize(uint8_t sub)
{
    if (sub >= 0xA0 && sub <= 0xA7) return 7;  // id, frame count, pointer, three format bytes
    if (sub >= 0x80 && sub <= 0x8F) return 4;  // AC-3 / DTS: id, frame count, pointer
    return 1;
}

bool ReadLpcmHeader(const uint8_t* h, LpcmHeader* out)
{
    static const unsigned kRates[4] = {48000, 96000, 44100, 32000};
    const unsigned quant = h[5] >> 6;
    if (quant == 3) return false;
    out->bitsPerSample = 16 + 4 * quant;
    out->sampleRate = kRates[(h[5] >> 4) & 3];
    out->channels = (h[5] & 7) + 1;
    return true;
}

}  // namespace

bool ReadTimestamp(const uint8_t* p, int64_t* value)
{
    if ((p[0] & 1) == 0 || (p[2] & 1) == 0 || (p[4] & 1) == 0) return false;
    *value = (int64_t(p[0] >> 1) & 7) << 30 | int64_t(p[1]) << 22 | int64_t(p[2] >> 1) << 15 |
             int64_t(p[3]) << 7 | int64_t(p[4] >> 1);
    return true;
}

void ProgramStreamParser::Push(const uint8_t* data, size_t size)
{
    if (size == 0) return;
    buffer_.insert(buffer_.end(), data, data + size);
    Parse(false);
}

void ProgramStreamParser::Flush()
{
    Parse(true);
    buffer_.clear();
    start_ = 0;
}

void ProgramStreamParser::Reset()
{
    buffer_.clear();
    start_ = 0;
    inDamage_ = false;
}

void ProgramStreamParser::Skip(size_t count, bool damaged)
{
    start_ += count;
    stats_.bytesSkipped += count;
    if (damaged && !inDamage_) {
        ++stats_.resyncs;
        inDamage_ = true;
    }
}

void ProgramStreamParser::Parse(bool atEnd)
{
    for (;;) {
        const size_t avail = buffer_.size() - start_;
        if (avail < 4) {
            if (atEnd && avail > 0) Skip(avail, true);
            break;
        }
        const uint8_t* p = buffer_.data() + start_;
        if (!IsPrefix(p)) {
            // Scan for the next prefix; keep a possible partial prefix at the end.
            size_t i = 1;
            while (i + 2 < avail && !IsPrefix(p + i)) ++i;
            if (i + 2 >= avail && !atEnd) i = avail - 2;
            Skip(i, true);
            continue;
        }
        size_t length = 0;
        const Step step = ParseAt(start_, atEnd, &length);
        if (step == Step::Consumed) {
            start_ += length;
            inDamage_ = false;
        } else if (step == Step::NeedMore && !atEnd) {
            break;
        } else {
            Skip(1, true);  // a false or broken start code: look for the next one inside it
        }
    }
    if (start_ > 0 && (start_ == buffer_.size() || start_ >= 65536)) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
}

ProgramStreamParser::Step ProgramStreamParser::ParseAt(size_t pos, bool atEnd, size_t* length)
{
    const uint8_t* p = buffer_.data() + pos;
    const size_t avail = buffer_.size() - pos;
    const uint8_t code = p[3];
    size_t unit = 0;

    if (code == kEndCode) {
        *length = 4;
        ++stats_.endCodes;
        return Step::Consumed;
    }
    if (code == kPackCode) {
        const Step step = ParsePack(pos, avail, &unit);
        if (step != Step::Consumed) return step;
    } else if (code >= kSystemHeaderCode) {
        if (avail < 6) return Step::NeedMore;
        unit = 6 + (size_t(p[4]) << 8 | p[5]);
        if (unit == 6) return Step::Damaged;  // a program stream never carries unbounded packets
        if (code == kSystemHeaderCode && unit < 12) return Step::Damaged;
    } else {
        return Step::Damaged;  // a video-layer or reserved code cannot appear at this level
    }

    // The unit must be followed by the next start code; at the very end it may simply stop.
    if (avail < unit + kFollowCheck) {
        if (!atEnd) return Step::NeedMore;
        if (avail < unit) return Step::Damaged;
        for (size_t i = unit; i < avail; ++i) {
            if (p[i] > (i - unit == 2 ? 1 : 0)) return Step::Damaged;
        }
    } else if (!FollowedByStartCode(p + unit)) {
        return Step::Damaged;
    }

    if (code == kSystemHeaderCode) {
        if ((p[6] & 0x80) == 0) return Step::Damaged;  // marker before the rate bound
        ++stats_.systemHeaders;
    } else if (code == kPackCode) {
        ++stats_.packs;
    } else if (CarriesPes(code) && !DeliverPes(p, unit)) {
        return Step::Damaged;
    }
    *length = unit;
    return Step::Consumed;
}

ProgramStreamParser::Step ProgramStreamParser::ParsePack(size_t pos, size_t avail, size_t* length)
{
    const uint8_t* p = buffer_.data() + pos;
    if (avail < 5) return Step::NeedMore;
    if ((p[4] & 0xC4) == 0x44) {
        if (avail < kMpeg2PackSize) return Step::NeedMore;
        // Marker bits around the clock reference and after the mux rate.
        if ((p[6] & 4) == 0 || (p[8] & 4) == 0 || (p[9] & 1) == 0 || (p[12] & 3) != 3)
            return Step::Damaged;
        stats_.mpeg2 = true;
        stats_.lastScr = (int64_t(p[4] >> 3) & 7) << 30 | int64_t(p[4] & 3) << 28 |
                         int64_t(p[5]) << 20 | int64_t(p[6] >> 3) << 15 |
                         int64_t(p[6] & 3) << 13 | int64_t(p[7]) << 5 | int64_t(p[8] >> 3);
        stats_.muxRate = uint32_t(p[10]) << 14 | uint32_t(p[11]) << 6 | uint32_t(p[12] >> 2);
        *length = kMpeg2PackSize + (p[13] & 7);
        return Step::Consumed;
    }
    if ((p[4] & 0xF1) == 0x21) {
        if (avail < kMpeg1PackSize) return Step::NeedMore;
        int64_t scr = 0;
        if (!ReadTimestamp(p + 4, &scr) || (p[9] & 0x80) == 0 || (p[11] & 1) == 0)
            return Step::Damaged;
        stats_.mpeg2 = false;
        stats_.lastScr = scr;
        stats_.muxRate = uint32_t(p[9] & 0x7F) << 15 | uint32_t(p[10]) << 7 | uint32_t(p[11] >> 1);
        *length = kMpeg1PackSize;
        return Step::Consumed;
    }
    return Step::Damaged;
}

bool ProgramStreamParser::DeliverPes(const uint8_t* p, size_t length)
{
    PesPacket pes;
    pes.streamId = p[3];
    size_t at = 6;
    if (at < length && (p[at] & 0xC0) == 0x80) {
        if (length < 9) return false;
        pes.mpeg2 = true;
        const unsigned flags = p[7] >> 6;
        const size_t headerEnd = 9 + size_t(p[8]);
        if (flags == 1 || headerEnd > length) return false;
        if (flags >= 2) {
            if (p[8] < (flags == 3 ? 10 : 5) || !ReadTimestamp(p + 9, &pes.pts)) return false;
            pes.hasPts = true;
            if (flags == 3) {
                if (!ReadTimestamp(p + 14, &pes.dts)) return false;
                pes.hasDts = true;
            }
        }
        at = headerEnd;
    } else {
        // MPEG-1: stuffing, optional buffer size, then the timestamps or 0x0F.
        for (int n = 0; at < length && p[at] == 0xFF; ++n, ++at) {
            if (n == 16) return false;
        }
        if (at < length && (p[at] & 0xC0) == 0x40) at += 2;
        if (at >= length) return false;
        const unsigned kind = p[at] >> 4;
        if (kind == 2 || kind == 3) {
            const size_t size = kind == 3 ? 10 : 5;
            if (at + size > length || !ReadTimestamp(p + at, &pes.pts)) return false;
            pes.hasPts = true;
            if (kind == 3) {
                if (!ReadTimestamp(p + at + 5, &pes.dts)) return false;
                pes.hasDts = true;
            }
            at += size;
        } else if (p[at] == 0x0F) {
            ++at;
        } else {
            return false;
        }
    }
    pes.packet = p;
    pes.packetSize = length;
    pes.rawPayload = p + at;
    pes.rawPayloadSize = length - at;
    if (pes.streamId == kPrivateStream1Id && at < length) {
        const uint8_t sub = p[at];
        const size_t headerSize = SubStreamHeaderSize(sub);
        if (at + headerSize > length) return false;
        pes.subStreamId = sub;
        if (headerSize == 7) pes.hasLpcm = ReadLpcmHeader(p + at, &pes.lpcm);
        at += headerSize;
    }
    pes.payload = p + at;
    pes.payloadSize = length - at;
    ++stats_.packets;
    if (sink_) sink_(pes);
    return true;
}

}  // namespace mpegps
