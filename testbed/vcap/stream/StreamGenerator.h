#pragma once
// The encoder card's output: a multiplexed MPEG-1 system stream or MPEG-2 program stream of
// fixed-size packs at a constant mux rate, made from the test picture and the tone. The caller
// paces it: pack n belongs at its system clock reference (scr27 / 27 MHz seconds after start).
#include "AudioEncoder.h"
#include "ElementaryQueue.h"
#include "PacketWriter.h"
#include "StreamConfig.h"
#include "TestPicture.h"
#include "VideoEncoder.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vcap {

struct StreamStats {
    uint64_t packs = 0;
    uint64_t paddingPacks = 0;
    uint64_t pictures = 0;
    uint64_t intraPictures = 0;
    uint64_t videoBytes = 0;  // elementary stream bytes produced
    uint64_t audioBytes = 0;
    int lastQuantiser = 0;
};

class StreamGenerator {
public:
    static constexpr size_t kPackSize = 2048;

    // `config` must pass Validate().
    explicit StreamGenerator(const StreamConfig& config);

    // Bytes per second of the multiplexed stream (a multiple of 50).
    uint32_t muxRate() const { return muxRate50_ * 50; }
    // System clock of the next pack, in 27 MHz ticks from the start of the stream.
    uint64_t nextScr27() const;

    // Appends the next pack (kPackSize bytes) and returns its system clock reference.
    uint64_t nextPack(std::vector<uint8_t>& out);
    // Appends whatever is still queued, the sequence end and the program end code.
    void finish(std::vector<uint8_t>& out);

    // Front-end changes take effect with the next picture and audio frame; they may come from
    // another thread than the one pulling packs.
    void setSignal(bool present);
    void setCaption(const std::string& inputName, const std::string& standardName);
    void setAdjust(const PictureAdjust& adjust);

    StreamStats stats() const { return stats_; }
    const StreamConfig& config() const { return config_; }

private:
    uint64_t videoTime(uint64_t picture) const;
    uint64_t audioTime(uint64_t sample) const;
    void produceUntil(uint64_t horizon90);
    void produceVideo();
    void produceAudio();
    void writePack(std::vector<uint8_t>& out, bool draining);
    void writeFromQueue(std::vector<uint8_t>& out, size_t room, ElementaryQueue& q, bool lpcm);

    StreamConfig config_;
    PacketWriter writer_;
    uint32_t muxRate50_ = 0;
    VideoEncoder video_;
    std::unique_ptr<Mp2Encoder> mp2_;
    std::unique_ptr<LpcmSource> lpcm_;
    Picture picture_;
    ElementaryQueue videoQueue_;
    ElementaryQueue audioQueue_;
    uint64_t picturesMade_ = 0;
    uint64_t audioSamplesMade_ = 0;
    uint64_t packIndex_ = 0;
    StreamStats stats_;

    mutable std::mutex frontEndLock_;
    PictureCaption caption_;
};

}  // namespace vcap
