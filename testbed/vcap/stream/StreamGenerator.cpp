#include "StreamGenerator.h"

#include <algorithm>

namespace vcap {
namespace {

constexpr uint64_t kClock90 = 90000;
// Decoding starts this long after the first pack; data is sent at most this far ahead.
constexpr uint64_t kStartDelay90 = 18000;
constexpr uint64_t kLead90 = 18000;
constexpr uint32_t kLpcmUnitSamples = 1152;
constexpr size_t kLpcmHeaderSize = 7;

}  // namespace

StreamGenerator::StreamGenerator(const StreamConfig& config)
    : config_(config), writer_(IsMpeg2(config)), video_(config)
{
    if (config.audioType == 1)
        lpcm_ = std::make_unique<LpcmSource>(config.audioSampleRate);
    else
        mp2_ = std::make_unique<Mp2Encoder>(config.audioSampleRate, config.audioKbps);
    picture_.resize(static_cast<int>(config.width), static_cast<int>(config.height));
    caption_ = {config.inputName, config.standardName, config.signal};

    // The mux rate leaves room for the pack and packet headers (counting the LPCM header on
    // every packet, which is the only spare), so that the whole stream stays within 2% of the
    // configured video and audio rates; unused room goes out as padding packets, so the
    // stream's byte rate is exactly the mux rate.
    const size_t overhead = writer_.packHeaderSize() + writer_.pesHeaderSize(true) + kLpcmHeaderSize;
    const double payloadBytes = (static_cast<double>(config.videoBitRate) + AudioBitRate(config)) / 8.0;
    const double rate = payloadBytes * kPackSize / static_cast<double>(kPackSize - overhead);
    muxRate50_ = static_cast<uint32_t>(rate / 50.0) + 1;
}

uint64_t StreamGenerator::videoTime(uint64_t picture) const
{
    return kStartDelay90 + picture * kClock90 * FrameRateDen(config_) / FrameRateNum(config_);
}

uint64_t StreamGenerator::audioTime(uint64_t sample) const
{
    return kStartDelay90 + sample * kClock90 / config_.audioSampleRate;
}

uint64_t StreamGenerator::nextScr27() const
{
    return packIndex_ * kPackSize * 27000000ull / muxRate();
}

void StreamGenerator::setSignal(bool present)
{
    std::lock_guard<std::mutex> lock(frontEndLock_);
    caption_.signal = present;
}

void StreamGenerator::setCaption(const std::string& inputName, const std::string& standardName)
{
    std::lock_guard<std::mutex> lock(frontEndLock_);
    caption_.inputName = inputName;
    caption_.standardName = standardName;
}

void StreamGenerator::setAdjust(const PictureAdjust& adjust)
{
    std::lock_guard<std::mutex> lock(frontEndLock_);
    caption_.adjust = adjust;
}

void StreamGenerator::produceVideo()
{
    PictureCaption caption;
    {
        std::lock_guard<std::mutex> lock(frontEndLock_);
        caption = caption_;
    }
    RenderTestPicture(picture_, caption, picturesMade_);
    std::vector<uint8_t> au;
    const VideoEncoder::Result r = video_.encode(picture_, au);
    videoQueue_.append(au.data(), au.size(), videoTime(picturesMade_));
    ++picturesMade_;
    ++stats_.pictures;
    if (r.intra) {
        ++stats_.intraPictures;
        stats_.lastQuantiser = r.quantiser;
    }
    stats_.videoBytes += au.size();
}

void StreamGenerator::produceAudio()
{
    bool signal;
    {
        std::lock_guard<std::mutex> lock(frontEndLock_);
        signal = caption_.signal;
    }
    std::vector<uint8_t> frame;
    const uint64_t time = audioTime(audioSamplesMade_);
    if (mp2_) {
        mp2_->encodeFrame(signal, frame);
        audioSamplesMade_ += kMp2SamplesPerFrame;
    } else {
        lpcm_->generate(signal, kLpcmUnitSamples, frame);
        audioSamplesMade_ += kLpcmUnitSamples;
    }
    audioQueue_.append(frame.data(), frame.size(), time);
    stats_.audioBytes += frame.size();
}

void StreamGenerator::produceUntil(uint64_t horizon90)
{
    while (videoTime(picturesMade_) <= horizon90)
        produceVideo();
    while (audioTime(audioSamplesMade_) <= horizon90)
        produceAudio();
}

void StreamGenerator::writeFromQueue(std::vector<uint8_t>& out, size_t room, ElementaryQueue& q, bool lpcm)
{
    std::vector<uint8_t> prefix;
    std::optional<uint64_t> pts;
    size_t n;
    if (lpcm) {
        const size_t avail = room - writer_.pesHeaderSize(true) - kLpcmHeaderSize;
        n = std::min(avail, q.size()) & ~size_t{3};
        pts = audioTime(q.position() / 4);
        const uint8_t frequencyCode = config_.audioSampleRate == 48000 ? 0 : config_.audioSampleRate == 44100 ? 2 : 3;
        // Sub-stream 0xA0; one frame header; first access unit right after the header;
        // 16-bit samples, rate code, two channels; no dynamic range control.
        prefix = {0xA0, 0x01, 0x00, 0x04, 0x00, static_cast<uint8_t>((frequencyCode << 4) | 0x01), 0x80};
    } else {
        n = std::min(room - writer_.pesHeaderSize(true), q.size());
        pts = q.unitStartWithin(n);
        if (!pts)
            n = std::min(room - writer_.pesHeaderSize(false), q.size());
    }
    const size_t used = writer_.pesHeaderSize(pts.has_value()) + prefix.size() + n;
    const size_t leftover = room - used;
    const size_t stuffing = leftover < 6 ? leftover : 0;
    const uint8_t id = &q == &videoQueue_ ? kStreamIdVideo : lpcm ? kStreamIdPrivate1 : kStreamIdMpegAudio;
    writer_.pesPacket(out, id, pts, stuffing, prefix, q.data(), n);
    q.consume(n);
    if (leftover >= 6)
        PacketWriter::paddingPacket(out, leftover);
}

void StreamGenerator::writePack(std::vector<uint8_t>& out, bool draining)
{
    const size_t start = out.size();
    writer_.packHeader(out, nextScr27(), muxRate50_);
    if (packIndex_ == 0) {
        const bool mpeg2 = IsMpeg2(config_);
        std::vector<SystemStreamBound> bounds = {{kStreamIdVideo, true, static_cast<uint16_t>(mpeg2 ? 232 : 46)}};
        if (lpcm_)
            bounds.push_back({kStreamIdPrivate1, true, 58});
        else
            bounds.push_back({kStreamIdMpegAudio, false, 32});
        writer_.systemHeader(out, muxRate50_, bounds);
    }
    if (!draining)
        produceUntil(nextScr27() / 300 + kLead90);
    const size_t room = kPackSize - (out.size() - start);

    ElementaryQueue* chosen = nullptr;
    if (!videoQueue_.empty())
        chosen = &videoQueue_;
    if (!audioQueue_.empty() && (!chosen || audioQueue_.frontTime() < chosen->frontTime()))
        chosen = &audioQueue_;
    if (chosen) {
        writeFromQueue(out, room, *chosen, chosen == &audioQueue_ && lpcm_ != nullptr);
    } else {
        PacketWriter::paddingPacket(out, room);
        ++stats_.paddingPacks;
    }
    ++packIndex_;
    ++stats_.packs;
}

uint64_t StreamGenerator::nextPack(std::vector<uint8_t>& out)
{
    const uint64_t scr = nextScr27();
    writePack(out, false);
    return scr;
}

void StreamGenerator::finish(std::vector<uint8_t>& out)
{
    std::vector<uint8_t> end;
    VideoEncoder::writeSequenceEnd(end);
    videoQueue_.append(end.data(), end.size(), std::nullopt);
    while (!videoQueue_.empty() || !audioQueue_.empty())
        writePack(out, true);
    PacketWriter::programEnd(out);
}

}  // namespace vcap
