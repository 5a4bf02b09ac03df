#include "ProgramStreamMux.h"

#include <algorithm>

namespace mpegmux {

size_t PackSizeForMode(uint32_t mode) { return mode == kModeCdSectors ? 2324 : 2048; }

ProgramStreamMux::ProgramStreamMux(const MuxSettings& settings) : settings_(settings), writer_(settings.mpeg2)
{
    streams_[0].id = vcap::kStreamIdVideo;
    streams_[1].id = vcap::kStreamIdMpegAudio;
    // Room for the pack and PES headers plus a tenth to spare, so the queues drain even when
    // the inputs run a little over what they announce; what is left goes out as padding.
    const size_t overhead = writer_.packHeaderSize() + writer_.pesHeaderSize(true);
    const double payload = (static_cast<double>(settings.videoBitRate) + settings.audioBitRate) / 8.0;
    const double rate = payload * 1.1 * static_cast<double>(settings.packSize) / static_cast<double>(settings.packSize - overhead);
    muxRate50_ = std::max<uint32_t>(static_cast<uint32_t>(rate / 50.0) + 1, 1);
}

uint64_t ProgramStreamMux::scr27(uint64_t pack) const
{
    return pack * settings_.packSize * 27000000ull / muxRate();
}

void ProgramStreamMux::add(Input input, const uint8_t* data, size_t size, std::optional<uint64_t> time90)
{
    Stream& s = streams_[static_cast<int>(input)];
    if (s.ended)
        return;
    if (time90)
        s.knownUntil90 = std::max(s.knownUntil90, *time90);
    s.queue.append(data, size, time90 ? std::optional<uint64_t>(*time90 + kStartDelay90) : std::nullopt);
}

void ProgramStreamMux::end(Input input) { streams_[static_cast<int>(input)].ended = true; }

bool ProgramStreamMux::ready(const Stream& s, uint64_t horizon90) const
{
    return s.ended || s.knownUntil90 >= horizon90;
}

size_t ProgramStreamMux::takePacks(std::vector<uint8_t>& out)
{
    size_t n = 0;
    for (;;) {
        const uint64_t horizon = scr27(packIndex_) / 300 + kLead90;
        if (!ready(streams_[0], horizon) || !ready(streams_[1], horizon))
            return n;
        if (streams_[0].ended && streams_[1].ended && streams_[0].queue.empty() && streams_[1].queue.empty())
            return n;
        writePack(out);
        ++n;
    }
}

void ProgramStreamMux::finish(std::vector<uint8_t>& out)
{
    end(Input::Video);
    end(Input::Audio);
    while (!streams_[0].queue.empty() || !streams_[1].queue.empty())
        writePack(out);
    vcap::PacketWriter::programEnd(out);
}

void ProgramStreamMux::writePes(std::vector<uint8_t>& out, size_t room, Stream& s)
{
    vcap::ElementaryQueue& q = s.queue;
    size_t n = std::min(room - writer_.pesHeaderSize(true), q.size());
    std::optional<uint64_t> pts = q.unitStartWithin(n);
    if (!pts)
        n = std::min(room - writer_.pesHeaderSize(false), q.size());
    const size_t leftover = room - writer_.pesHeaderSize(pts.has_value()) - n;
    // A short rest is stuffed into the header; a longer one becomes a padding packet.
    const size_t stuffing = leftover < 6 ? leftover : 0;
    writer_.pesPacket(out, s.id, pts, stuffing, {}, q.data(), n);
    q.consume(n);
    if (leftover >= 6)
        vcap::PacketWriter::paddingPacket(out, leftover);
}

void ProgramStreamMux::writePack(std::vector<uint8_t>& out)
{
    const size_t start = out.size();
    writer_.packHeader(out, scr27(packIndex_), muxRate50_);
    if (packIndex_ == 0) {
        const std::vector<vcap::SystemStreamBound> bounds = {
            {vcap::kStreamIdVideo, true, static_cast<uint16_t>(settings_.mpeg2 ? 232 : 46)},
            {vcap::kStreamIdMpegAudio, false, 32}};
        writer_.systemHeader(out, muxRate50_, bounds);
    }
    const size_t room = settings_.packSize - (out.size() - start);
    Stream* chosen = nullptr;
    for (Stream& s : streams_) {
        if (!s.queue.empty() && (!chosen || s.queue.frontTime() < chosen->queue.frontTime()))
            chosen = &s;
    }
    if (chosen)
        writePes(out, room, *chosen);
    else
        vcap::PacketWriter::paddingPacket(out, room);
    ++packIndex_;
}

}  // namespace mpegmux
