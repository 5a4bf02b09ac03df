#pragma once
// Builds small MPEG-1 system streams and MPEG-2 program streams for the parser tests, and
// remembers where each PES packet lies so damage can be related to what must survive it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pstest {

struct BuiltPacket {
    uint8_t streamId = 0;
    int subStreamId = -1;
    bool hasPts = false;
    int64_t pts = 0;
    std::vector<uint8_t> payload;  // what the parser must deliver
    size_t offset = 0;             // first byte of the packet's start code
    size_t end = 0;                // one past its last byte
};

class PsBuilder {
public:
    explicit PsBuilder(bool mpeg2) : mpeg2_(mpeg2) {}

    void Pack(int64_t scr);
    void SystemHeader();
    // A PES packet; `subStream` >= 0 writes a private-stream-1 sub-stream header first.
    void Pes(uint8_t id, const std::vector<uint8_t>& payload, int64_t pts = -1, int subStream = -1);
    void Lpcm(const std::vector<uint8_t>& samples, int64_t pts, unsigned rateCode, unsigned channels);
    void Padding(size_t size);
    void EndCode();

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    const std::vector<BuiltPacket>& Packets() const { return packets_; }

private:
    void Timestamp(unsigned prefix, int64_t value);
    void Put(uint8_t b) { bytes_.push_back(b); }

    bool mpeg2_;
    std::vector<uint8_t> bytes_;
    std::vector<BuiltPacket> packets_;
};

// A stream of `packs` packs, each with a video, an audio and (every third) an LPCM packet of
// pseudo-random sizes and contents from `seed`.
PsBuilder MakeStream(bool mpeg2, int packs, uint32_t seed);

}  // namespace pstest
