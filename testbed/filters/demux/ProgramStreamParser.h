#pragma once
// Parser for MPEG-2 program streams and MPEG-1 system streams, fed in arbitrary chunks as a
// live device or a file source delivers them. Damaged input (garbage, cut packets, wrong
// lengths) is skipped: the parser counts a resynchronisation and scans for the next start code.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace mpegps {

// Stream identifiers the capture graphs map.
constexpr uint8_t kVideoStreamId = 0xE0;
constexpr uint8_t kMpegAudioStreamId = 0xC0;
constexpr uint8_t kPrivateStream1Id = 0xBD;

// Header of a DVD-style LPCM access unit carried in private stream 1 (sub-streams 0xA0-0xA7).
struct LpcmHeader {
    unsigned sampleRate = 0;     // 48000, 96000, 44100 or 32000
    unsigned channels = 0;       // 1..8
    unsigned bitsPerSample = 0;  // 16, 20 or 24
};

// One PES packet as delivered to the sink. `payload` points into the parser's buffer and is
// valid only during the callback.
struct PesPacket {
    uint8_t streamId = 0;
    int subStreamId = -1;        // first payload byte of private stream 1, else -1
    bool mpeg2 = false;          // MPEG-2 PES header (else MPEG-1 system stream packet)
    bool hasPts = false;
    bool hasDts = false;
    int64_t pts = 0;             // 33-bit, 90 kHz units
    int64_t dts = 0;
    bool hasLpcm = false;        // sub-stream 0xA0-0xA7 with a valid header
    LpcmHeader lpcm;
    const uint8_t* payload = nullptr;  // after the PES header (and the sub-stream header)
    size_t payloadSize = 0;
    const uint8_t* rawPayload = nullptr;  // after the PES header, sub-stream header included
    size_t rawPayloadSize = 0;
    const uint8_t* packet = nullptr;      // the whole packet from its start code
    size_t packetSize = 0;
};

struct ParserStats {
    uint64_t packs = 0;
    uint64_t systemHeaders = 0;
    uint64_t packets = 0;        // PES packets delivered
    uint64_t resyncs = 0;        // damaged places skipped
    uint64_t bytesSkipped = 0;
    uint64_t endCodes = 0;
    bool mpeg2 = false;          // the last pack header was MPEG-2
    int64_t lastScr = -1;        // system clock reference base of the last pack, 90 kHz
    uint32_t muxRate = 0;        // of the last pack, in units of 50 bytes per second
};

class ProgramStreamParser {
public:
    using Sink = std::function<void(const PesPacket&)>;

    explicit ProgramStreamParser(Sink sink) : sink_(std::move(sink)) {}

    // Appends bytes and delivers every packet that is complete and verified.
    void Push(const uint8_t* data, size_t size);
    // End of input: delivers a last packet that ends exactly at the end, drops the rest.
    void Flush();
    // Forgets buffered bytes (a seek or a new run); statistics are kept.
    void Reset();

    const ParserStats& Stats() const { return stats_; }

private:
    enum class Step { Consumed, NeedMore, Damaged };

    void Parse(bool atEnd);
    Step ParseAt(size_t pos, bool atEnd, size_t* length);
    Step ParsePack(size_t pos, size_t avail, size_t* length);
    bool DeliverPes(const uint8_t* packet, size_t length);
    void Skip(size_t count, bool damaged);

    Sink sink_;
    std::vector<uint8_t> buffer_;
    size_t start_ = 0;  // first unparsed byte in buffer_
    bool inDamage_ = false;
    ParserStats stats_;
};

// Reads the 33-bit timestamp of a 5-byte PTS/DTS field; false when a marker bit is wrong.
bool ReadTimestamp(const uint8_t* p, int64_t* value);

}  // namespace mpegps
