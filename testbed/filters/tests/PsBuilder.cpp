#include "PsBuilder.h"

#include <random>

namespace pstest {

void PsBuilder::Timestamp(unsigned prefix, int64_t v)
{
    Put(uint8_t(prefix << 4 | ((v >> 30) & 7) << 1 | 1));
    Put(uint8_t(v >> 22));
    Put(uint8_t(((v >> 15) & 0x7F) << 1 | 1));
    Put(uint8_t(v >> 7));
    Put(uint8_t((v & 0x7F) << 1 | 1));
}

void PsBuilder::Pack(int64_t scr)
{
    const uint32_t mux = 25200;  // 10.08 Mbit/s
    for (uint8_t b : {0, 0, 1, 0xBA}) Put(b);
    if (mpeg2_) {
        Put(uint8_t(0x44 | ((scr >> 30) & 7) << 3 | ((scr >> 28) & 3)));
        Put(uint8_t(scr >> 20));
        Put(uint8_t(((scr >> 15) & 0x1F) << 3 | 4 | ((scr >> 13) & 3)));
        Put(uint8_t(scr >> 5));
        Put(uint8_t((scr & 0x1F) << 3 | 4));
        Put(1);  // extension 0, marker
        Put(uint8_t(mux >> 14));
        Put(uint8_t(mux >> 6));
        Put(uint8_t((mux & 0x3F) << 2 | 3));
        Put(0xF8 | 2);  // two stuffing bytes
        Put(0xFF);
        Put(0xFF);
    } else {
        Timestamp(2, scr);
        Put(uint8_t(0x80 | mux >> 15));
        Put(uint8_t(mux >> 7));
        Put(uint8_t((mux & 0x7F) << 1 | 1));
    }
}

void PsBuilder::SystemHeader()
{
    const uint8_t body[] = {0x80, 0x4E, 0x21, 0x04, 0xE1, 0xFF,  // rate bound, 1 audio, 1 video
                            0xE0, 0xE0, 0xE8, 0xC0, 0xC0, 0x20};
    for (uint8_t b : {uint8_t(0), uint8_t(0), uint8_t(1), uint8_t(0xBB), uint8_t(0), uint8_t(sizeof body)}) Put(b);
    for (uint8_t b : body) Put(b);
}

void PsBuilder::Pes(uint8_t id, const std::vector<uint8_t>& payload, int64_t pts, int subStream)
{
    BuiltPacket packet;
    packet.streamId = id;
    packet.subStreamId = subStream;
    packet.hasPts = pts >= 0;
    packet.pts = pts;
    packet.payload = payload;
    packet.offset = bytes_.size();

    const size_t header = mpeg2_ ? 3 + (pts >= 0 ? 5 : 0) : (pts >= 0 ? 5 : 1);
    const size_t sub = subStream >= 0 ? 1 : 0;
    const size_t length = header + sub + payload.size();
    for (uint8_t b : {uint8_t(0), uint8_t(0), uint8_t(1), id, uint8_t(length >> 8), uint8_t(length)}) Put(b);
    if (mpeg2_) {
        Put(0x81);
        Put(pts >= 0 ? 0x80 : 0);
        Put(pts >= 0 ? 5 : 0);
        if (pts >= 0) Timestamp(2, pts);
    } else if (pts >= 0) {
        Timestamp(2, pts);
    } else {
        Put(0x0F);
    }
    if (subStream >= 0) Put(uint8_t(subStream));
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    packet.end = bytes_.size();
    packets_.push_back(std::move(packet));
}

void PsBuilder::Lpcm(const std::vector<uint8_t>& samples, int64_t pts, unsigned rateCode,
                     unsigned channels)
{
    // Frame count, first access unit pointer, frame number, 16-bit/rate/channels, dynamic range.
    std::vector<uint8_t> body = {1, 0, 4, 0, uint8_t(rateCode << 4 | (channels - 1)), 0x80};
    body.insert(body.end(), samples.begin(), samples.end());
    Pes(0xBD, body, pts, 0xA0);
    packets_.back().payload = samples;  // the sub-stream header is not part of what is delivered
}

void PsBuilder::Padding(size_t size)
{
    for (uint8_t b : {uint8_t(0), uint8_t(0), uint8_t(1), uint8_t(0xBE), uint8_t(size >> 8), uint8_t(size)}) Put(b);
    bytes_.insert(bytes_.end(), size, 0xFF);
}

void PsBuilder::EndCode()
{
    for (uint8_t b : {0, 0, 1, 0xB9}) Put(b);
}

PsBuilder MakeStream(bool mpeg2, int packs, uint32_t seed)
{
    std::mt19937 rng(seed);
    auto payload = [&rng](size_t max) {
        std::vector<uint8_t> v(1 + rng() % max);
        // Contents without start-code prefixes, as real elementary data mostly is.
        for (auto& b : v) b = uint8_t(1 + rng() % 255);
        return v;
    };
    PsBuilder ps(mpeg2);
    for (int i = 0; i < packs; ++i) {
        ps.Pack(int64_t(i) * 3600);
        if (i == 0) ps.SystemHeader();
        ps.Pes(0xE0, payload(2000), i % 2 ? -1 : 90000 + int64_t(i) * 3600);
        ps.Pes(0xC0, payload(600), 90000 + int64_t(i) * 2160);
        if (i % 3 == 0) ps.Lpcm(payload(400), 90000 + int64_t(i) * 1800, 0, 2);
        if (i % 5 == 4) ps.Padding(rng() % 64 + 1);
    }
    ps.EndCode();
    return ps;
}

}  // namespace pstest
