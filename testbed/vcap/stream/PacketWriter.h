#pragma once
// The packet syntax of MPEG-1 system streams and MPEG-2 program streams: pack headers,
// the system header, PES packets and padding packets.
#include <cstdint>
#include <optional>
#include <vector>

namespace vcap {

constexpr uint8_t kStreamIdVideo = 0xE0;
constexpr uint8_t kStreamIdMpegAudio = 0xC0;
constexpr uint8_t kStreamIdPrivate1 = 0xBD;
constexpr uint8_t kStreamIdPadding = 0xBE;

struct SystemStreamBound {
    uint8_t streamId;
    bool scale1024;        // buffer bound in units of 1024 bytes, else 128
    uint16_t bufferBound;  // 13 bits
};

class PacketWriter {
public:
    explicit PacketWriter(bool mpeg2) : mpeg2_(mpeg2) {}

    size_t packHeaderSize() const { return mpeg2_ ? 14 : 12; }
    // Bytes of a PES header before the payload, without stuffing.
    size_t pesHeaderSize(bool withPts) const { return mpeg2_ ? (withPts ? 14 : 9) : (withPts ? 11 : 7); }
    size_t maxPesStuffing() const { return mpeg2_ ? 32 : 16; }

    // scr27: system clock in 27 MHz ticks; muxRate50: the mux rate in units of 50 bytes/s.
    void packHeader(std::vector<uint8_t>& out, uint64_t scr27, uint32_t muxRate50) const;
    void systemHeader(std::vector<uint8_t>& out, uint32_t rateBound50,
                      const std::vector<SystemStreamBound>& streams) const;
    // One PES packet: header (with PTS when given, and `stuffing` 0xFF bytes), then `prefix`
    // (the private-stream sub-header, may be empty) and the payload.
    void pesPacket(std::vector<uint8_t>& out, uint8_t streamId, std::optional<uint64_t> pts90,
                   size_t stuffing, const std::vector<uint8_t>& prefix, const uint8_t* payload,
                   size_t payloadSize) const;
    // A padding packet occupying exactly `totalBytes` (at least 6).
    static void paddingPacket(std::vector<uint8_t>& out, size_t totalBytes);
    static void programEnd(std::vector<uint8_t>& out);

private:
    bool mpeg2_;
};

}  // namespace vcap
