#include "PacketWriter.h"

#include "BitWriter.h"

namespace vcap {
namespace {

// The 33-bit time stamp as three marker-separated fields after a 4-bit prefix.
void PutTimeStamp(BitWriter& bw, uint32_t prefix, uint64_t ts)
{
    bw.put(prefix, 4);
    bw.put(static_cast<uint32_t>((ts >> 30) & 0x7), 3);
    bw.put(1, 1);
    bw.put(static_cast<uint32_t>((ts >> 15) & 0x7FFF), 15);
    bw.put(1, 1);
    bw.put(static_cast<uint32_t>(ts & 0x7FFF), 15);
    bw.put(1, 1);
}

void PutStartCode(std::vector<uint8_t>& out, uint8_t code)
{
    out.insert(out.end(), {0x00, 0x00, 0x01, code});
}

}  // namespace

void PacketWriter::packHeader(std::vector<uint8_t>& out, uint64_t scr27, uint32_t muxRate50) const
{
    PutStartCode(out, 0xBA);
    BitWriter bw(out);
    const uint64_t base = (scr27 / 300) & 0x1FFFFFFFFull;
    if (mpeg2_) {
        bw.put(1, 2);
        bw.put(static_cast<uint32_t>((base >> 30) & 0x7), 3);
        bw.put(1, 1);
        bw.put(static_cast<uint32_t>((base >> 15) & 0x7FFF), 15);
        bw.put(1, 1);
        bw.put(static_cast<uint32_t>(base & 0x7FFF), 15);
        bw.put(1, 1);
        bw.put(static_cast<uint32_t>(scr27 % 300), 9);
        bw.put(1, 1);
        bw.put(muxRate50, 22);
        bw.put(3, 2);
        bw.put(0x1F, 5);  // reserved
        bw.put(0, 3);     // no pack stuffing
    } else {
        PutTimeStamp(bw, 0x2, base);
        bw.put(1, 1);
        bw.put(muxRate50, 22);
        bw.put(1, 1);
    }
}

void PacketWriter::systemHeader(std::vector<uint8_t>& out, uint32_t rateBound50,
                                const std::vector<SystemStreamBound>& streams) const
{
    PutStartCode(out, 0xBB);
    const size_t length = 6 + 3 * streams.size();
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(length));
    BitWriter bw(out);
    bw.put(1, 1);
    bw.put(rateBound50, 22);
    bw.put(1, 1);
    bw.put(1, 6);  // audio_bound
    bw.put(1, 1);  // fixed_flag: constant mux rate
    bw.put(0, 1);  // CSPS_flag
    bw.put(1, 1);  // system_audio_lock_flag
    bw.put(1, 1);  // system_video_lock_flag
    bw.put(1, 1);
    bw.put(1, 5);  // video_bound
    bw.put(mpeg2_ ? 0 : 1, 1);  // packet_rate_restriction_flag (MPEG-2) / reserved (MPEG-1)
    bw.put(0x7F, 7);
    for (const SystemStreamBound& s : streams) {
        bw.put(s.streamId, 8);
        bw.put(3, 2);
        bw.put(s.scale1024 ? 1 : 0, 1);
        bw.put(s.bufferBound, 13);
    }
}

void PacketWriter::pesPacket(std::vector<uint8_t>& out, uint8_t streamId, std::optional<uint64_t> pts90,
                             size_t stuffing, const std::vector<uint8_t>& prefix, const uint8_t* payload,
                             size_t payloadSize) const
{
    const size_t length = pesHeaderSize(pts90.has_value()) - 6 + stuffing + prefix.size() + payloadSize;
    PutStartCode(out, streamId);
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(length));
    BitWriter bw(out);
    if (mpeg2_) {
        bw.put(2, 2);
        bw.put(0, 2);  // not scrambled
        bw.put(0, 1);  // priority
        bw.put(0, 1);  // data_alignment_indicator
        bw.put(0, 1);  // copyright
        bw.put(1, 1);  // original
        bw.put(pts90 ? 2 : 0, 2);
        bw.put(0, 6);  // no ESCR, ES rate, trick mode, copy info, CRC, extension
        bw.put(static_cast<uint32_t>((pts90 ? 5 : 0) + stuffing), 8);
        if (pts90)
            PutTimeStamp(bw, 0x2, *pts90 & 0x1FFFFFFFFull);
        out.insert(out.end(), stuffing, 0xFF);
    } else {
        out.insert(out.end(), stuffing, 0xFF);
        if (pts90)
            PutTimeStamp(bw, 0x2, *pts90 & 0x1FFFFFFFFull);
        else
            out.push_back(0x0F);
    }
    out.insert(out.end(), prefix.begin(), prefix.end());
    out.insert(out.end(), payload, payload + payloadSize);
}

void PacketWriter::paddingPacket(std::vector<uint8_t>& out, size_t totalBytes)
{
    const size_t length = totalBytes - 6;
    PutStartCode(out, kStreamIdPadding);
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(length));
    out.insert(out.end(), length, 0xFF);
}

void PacketWriter::programEnd(std::vector<uint8_t>& out)
{
    PutStartCode(out, 0xB9);
}

}  // namespace vcap
