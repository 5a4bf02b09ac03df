#pragma once
// The software multiplexer's pack writer: one video and one MPEG audio elementary stream,
// given as time-stamped access units, interleaved into an MPEG-1 system stream or an MPEG-2
// program stream of fixed-size packs at a constant mux rate. Pack n belongs at n times the
// pack's duration; it is written once both inputs have delivered what is due by then (or
// have ended), and goes out as padding when neither has anything to send.
#include "ElementaryQueue.h"
#include "PacketWriter.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace mpegmux {

// 0: the video CD family (2324-byte packs, as a CD sector holds them); 1: DVD (2048).
constexpr uint32_t kModeCdSectors = 0;
constexpr uint32_t kModeDvdSectors = 1;
size_t PackSizeForMode(uint32_t mode);

struct MuxSettings {
    bool mpeg2 = true;           // MPEG-2 program stream, else MPEG-1 system stream
    size_t packSize = 2048;
    uint32_t videoBitRate = 0;   // bits per second the inputs announce
    uint32_t audioBitRate = 0;
};

enum class Input { Video, Audio };

class ProgramStreamMux {
public:
    // Decoding starts this long after the first pack; a pack waits for data this far ahead.
    static constexpr uint64_t kStartDelay90 = 45000;
    static constexpr uint64_t kLead90 = 18000;

    explicit ProgramStreamMux(const MuxSettings& settings);

    // Bytes of one access unit (a picture, an audio frame) of `input` starting at `time90`
    // (90 kHz ticks from the start of the stream); a unit may be split over several calls,
    // the later parts without a time.
    void add(Input input, const uint8_t* data, size_t size, std::optional<uint64_t> time90);
    // No more data will come on `input`.
    void end(Input input);

    // Appends every pack that can be written now; returns how many.
    size_t takePacks(std::vector<uint8_t>& out);
    // Appends what is still queued and the end code. Ends both inputs.
    void finish(std::vector<uint8_t>& out);

    uint32_t muxRate() const { return muxRate50_ * 50; }
    uint64_t packsWritten() const { return packIndex_; }
    const MuxSettings& settings() const { return settings_; }

private:
    struct Stream {
        vcap::ElementaryQueue queue;
        uint64_t knownUntil90 = 0;  // start of the latest unit seen
        bool ended = false;
        uint8_t id = 0;
    };

    uint64_t scr27(uint64_t pack) const;
    bool ready(const Stream& s, uint64_t horizon90) const;
    void writePack(std::vector<uint8_t>& out);
    void writePes(std::vector<uint8_t>& out, size_t room, Stream& s);

    MuxSettings settings_;
    vcap::PacketWriter writer_;
    uint32_t muxRate50_ = 0;
    Stream streams_[2];
    uint64_t packIndex_ = 0;
};

}  // namespace mpegmux
