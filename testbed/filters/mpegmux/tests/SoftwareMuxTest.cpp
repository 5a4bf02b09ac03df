// The software multiplex's pure parts: Layer II frames as the standard lays them out, and
// program streams whose packs, clock and payload a strict reader accepts. Every stream and
// tone is also written for ffmpeg to decode (check_software_mux.sh).
#include "Mp2FrameEncoder.h"
#include "ProgramStreamMux.h"
#include "ProgramStreamReader.h"
#include "TestPicture.h"
#include "TestSupport.h"
#include "VideoEncoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using mpegaudio::Mp2Format;
using mpegaudio::Mp2FrameEncoder;
using mpegmux::Input;
using mpegmux::ProgramStreamMux;

namespace {

std::vector<int16_t> Tone(const Mp2Format& f, uint64_t firstFrame, double hz, double amplitude)
{
    std::vector<int16_t> pcm(static_cast<size_t>(mpegaudio::kSamplesPerFrame) * f.channels);
    for (int i = 0; i < mpegaudio::kSamplesPerFrame; ++i) {
        const double t = static_cast<double>(firstFrame + i) / f.sampleRate;
        const auto v = static_cast<int16_t>(std::lround(amplitude * 32767 * std::sin(2 * 3.14159265358979 * hz * t)));
        for (uint32_t c = 0; c < f.channels; ++c)
            pcm[i * f.channels + c] = v;
    }
    return pcm;
}

void WriteFile(const std::string& name, const std::vector<uint8_t>& data)
{
    std::ofstream(testsupport::OutputDir() + name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                                           static_cast<std::streamsize>(data.size()));
}

void AppendLine(const std::string& manifest, const std::string& line)
{
    std::ofstream(testsupport::OutputDir() + manifest, std::ios::app | std::ios::binary) << line << "\n";
}

class SoftwareMux : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::remove((testsupport::OutputDir() + "streams.txt").c_str());
        std::remove((testsupport::OutputDir() + "tones.txt").c_str());
    }
};

}  // namespace

TEST_F(SoftwareMux, LayerTwoCarriesOnlyWhatTheStandardAllows)
{
    struct Case {
        Mp2Format f;
        bool valid;
    };
    const Case cases[] = {
        {{48000, 2, 224}, true},  {{44100, 2, 128}, true}, {{32000, 2, 384}, true}, {{32000, 1, 32}, true},
        {{48000, 1, 192}, true},  {{48000, 2, 32}, false},  // too little for two channels
        {{48000, 2, 80}, false},  {{48000, 1, 224}, false},  // too much for one
        {{22050, 2, 128}, false}, {{48000, 3, 224}, false}, {{48000, 2, 100}, false}, {{48000, 0, 64}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mpegaudio::IsValidFormat(c.f), c.valid) << c.f.sampleRate << " Hz, " << c.f.channels << " ch, " << c.f.kbps;
}

TEST_F(SoftwareMux, FramesHaveTheirHeaderSizeAndRate)
{
    struct Case {
        Mp2Format f;
        uint8_t bitRateIndex, frequencyIndex, mode;
    };
    const Case cases[] = {
        {{48000, 2, 224}, 11, 1, 0},
        {{44100, 2, 128}, 8, 0, 0},
        {{32000, 1, 64}, 4, 2, 3},
    };
    for (const Case& c : cases) {
        Mp2FrameEncoder enc(c.f);
        std::vector<uint8_t> all;
        const int frames = static_cast<int>(c.f.sampleRate / mpegaudio::kSamplesPerFrame) + 1;
        size_t previous = 0;
        for (int n = 0; n < frames; ++n) {
            enc.encode(Tone(c.f, static_cast<uint64_t>(n) * mpegaudio::kSamplesPerFrame, 1000, 0.3).data(), all);
            const uint8_t* h = all.data() + previous;
            const size_t size = all.size() - previous;
            ASSERT_TRUE(size == mpegaudio::FrameBytes(c.f) || size == mpegaudio::FrameBytes(c.f) + 1) << size;
            EXPECT_EQ(h[0], 0xFF);
            EXPECT_EQ(h[1], 0xFD) << "MPEG-1 Layer II without CRC";
            EXPECT_EQ(h[2] >> 4, c.bitRateIndex);
            EXPECT_EQ((h[2] >> 2) & 3, c.frequencyIndex);
            EXPECT_EQ(((h[2] >> 1) & 1) != 0, size == mpegaudio::FrameBytes(c.f) + 1) << "padding bit";
            EXPECT_EQ(h[3] >> 6, c.mode);
            previous = all.size();
        }
        // The padding keeps the byte rate exact: within one byte of the bit rate over the run.
        const double seconds = static_cast<double>(frames) * mpegaudio::kSamplesPerFrame / c.f.sampleRate;
        EXPECT_NEAR(static_cast<double>(all.size()), seconds * c.f.kbps * 125, 1.0);
    }
}

TEST_F(SoftwareMux, SilenceAllocatesNothing)
{
    const Mp2Format f{48000, 2, 224};
    Mp2FrameEncoder enc(f);
    const std::vector<int16_t> silence(static_cast<size_t>(mpegaudio::kSamplesPerFrame) * 2, 0);
    std::vector<uint8_t> frame;
    enc.encode(silence.data(), frame);
    for (size_t i = 4; i < frame.size(); ++i)
        ASSERT_EQ(frame[i], 0) << "byte " << i;
}

// Three seconds of a tone at -10 dBFS per format; ffmpeg must hear it at -13 dB mean.
TEST_F(SoftwareMux, TonesForTheDecoder)
{
    const struct {
        const char* name;
        Mp2Format f;
        double hz;
    } tones[] = {
        {"tone_48k_224", {48000, 2, 224}, 1000}, {"tone_44k_128", {44100, 2, 128}, 1000},
        {"tone_32k_96", {32000, 2, 96}, 440},    {"tone_44k_mono_192", {44100, 1, 192}, 3000},
        {"tone_32k_boundary", {32000, 2, 192}, 1000},  // on the edge of two subbands
    };
    for (const auto& t : tones) {
        Mp2FrameEncoder enc(t.f);
        std::vector<uint8_t> out;
        for (uint64_t n = 0; n < 3 * t.f.sampleRate / mpegaudio::kSamplesPerFrame; ++n)
            enc.encode(Tone(t.f, n * mpegaudio::kSamplesPerFrame, t.hz, 0.31623).data(), out);
        WriteFile(std::string(t.name) + ".mp2", out);
        AppendLine("tones.txt", std::string(t.name) + " -13.0");
    }
}

namespace {

struct Feed {
    std::vector<uint8_t> video, audio;
};

// Feeds `seconds` of pictures and audio frames in time order, as two live inputs would, and
// takes packs as they become ready.
Feed Multiplex(ProgramStreamMux& mux, const vcap::StreamConfig& vc, const Mp2Format& af, int seconds, std::vector<uint8_t>& out)
{
    Feed fed;
    vcap::VideoEncoder video(vc);
    vcap::Picture picture;
    picture.resize(static_cast<int>(vc.width), static_cast<int>(vc.height));
    Mp2FrameEncoder audio(af);
    const uint64_t pictures = static_cast<uint64_t>(seconds) * vcap::FrameRateNum(vc) / vcap::FrameRateDen(vc);
    const uint64_t frames = static_cast<uint64_t>(seconds) * af.sampleRate / mpegaudio::kSamplesPerFrame;
    uint64_t p = 0, a = 0;
    while (p < pictures || a < frames) {
        const uint64_t pt = p * 90000 * vcap::FrameRateDen(vc) / vcap::FrameRateNum(vc);
        const uint64_t at = a * mpegaudio::kSamplesPerFrame * 90000 / af.sampleRate;
        std::vector<uint8_t> unit;
        if (p < pictures && (a >= frames || pt <= at)) {
            vcap::RenderTestPicture(picture, {"COMPOSITE 1", "PAL B", true}, p);
            video.encode(picture, unit);
            mux.add(Input::Video, unit.data(), unit.size(), pt);
            fed.video.insert(fed.video.end(), unit.begin(), unit.end());
            ++p;
        } else {
            audio.encode(Tone(af, a * mpegaudio::kSamplesPerFrame, 1000, 0.2).data(), unit);
            mux.add(Input::Audio, unit.data(), unit.size(), at);
            fed.audio.insert(fed.audio.end(), unit.begin(), unit.end());
            ++a;
        }
        mux.takePacks(out);
    }
    mux.finish(out);
    return fed;
}

}  // namespace

TEST_F(SoftwareMux, ProgramStreamsCarryBothInputsInWholePacks)
{
    struct Case {
        const char* name;
        uint32_t mode;
        uint32_t captureMode;
        uint32_t width, height, bitRate;
        Mp2Format audio;
        const char* codec;
    };
    const Case cases[] = {
        {"mux_dvd_mpeg2", mpegmux::kModeDvdSectors, 2, 720, 576, 6000000, {48000, 2, 224}, "mpeg2video"},
        {"mux_svcd_mpeg2", mpegmux::kModeCdSectors, 4, 480, 576, 2500000, {44100, 2, 224}, "mpeg2video"},
        {"mux_vcd_mpeg1", mpegmux::kModeCdSectors, 1, 352, 288, 1150000, {32000, 2, 96}, "mpeg1video"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        vcap::StreamConfig vc;
        vc.captureMode = c.captureMode;
        vc.width = c.width;
        vc.height = c.height;
        vc.videoBitRate = c.bitRate;
        mpegmux::MuxSettings s;
        s.mpeg2 = vcap::IsMpeg2(vc);
        s.packSize = mpegmux::PackSizeForMode(c.mode);
        s.videoBitRate = c.bitRate;
        s.audioBitRate = c.audio.kbps * 1000;
        ProgramStreamMux mux(s);
        std::vector<uint8_t> out;
        const Feed fed = Multiplex(mux, vc, c.audio, 3, out);

        vcaptest::ParsedStream ps;
        ASSERT_EQ(vcaptest::ParseProgramStream(out, ps), "");
        EXPECT_EQ(ps.mpeg2, s.mpeg2);
        EXPECT_TRUE(ps.systemHeaderInFirstPack);
        EXPECT_TRUE(ps.endCode);
        ASSERT_FALSE(ps.packSizes.empty());
        for (size_t i = 0; i < ps.packSizes.size(); ++i)
            ASSERT_EQ(ps.packSizes[i], s.packSize) << "pack " << i;
        for (size_t i = 1; i < ps.packScr27.size(); ++i)
            ASSERT_GT(ps.packScr27[i], ps.packScr27[i - 1]) << "pack " << i;
        for (uint32_t rate : ps.packMuxRate50)
            ASSERT_EQ(rate * 50, mux.muxRate());
        EXPECT_EQ(ps.es[0xE0], fed.video) << "the video arrives whole and in order";
        EXPECT_EQ(ps.es[0xC0], fed.audio);
        ASSERT_FALSE(ps.packets[0xE0].empty());
        EXPECT_EQ(ps.packets[0xE0].front().pts90, ProgramStreamMux::kStartDelay90);
        // Every access unit is in the decoder before it is due.
        for (uint8_t id : {uint8_t{0xE0}, uint8_t{0xC0}}) {
            for (const vcaptest::PesRecord& r : ps.packets[id]) {
                if (r.pts90) {
                    ASSERT_LT(r.packScr27 / 300, *r.pts90) << "stream " << int(id);
                }
            }
        }
        WriteFile(std::string(c.name) + ".mpg", out);
        char line[160];
        std::snprintf(line, sizeof line, "%s %s %u %u 3 mp2 %u tone", c.name, c.codec, c.width, c.height, c.audio.sampleRate);
        AppendLine("streams.txt", line);
    }
}

TEST_F(SoftwareMux, APackWaitsForBothInputsUnlessOneHasEnded)
{
    mpegmux::MuxSettings s;
    s.videoBitRate = 2000000;
    s.audioBitRate = 224000;
    const std::vector<uint8_t> unit(4000, 0x55);
    std::vector<uint8_t> out;

    ProgramStreamMux waiting(s);
    for (uint64_t t = 0; t < 90000; t += 3600)
        waiting.add(Input::Video, unit.data(), unit.size(), t);
    EXPECT_EQ(waiting.takePacks(out), 0u) << "no audio yet: nothing may be written";
    waiting.add(Input::Audio, unit.data(), 500, 45000);
    EXPECT_GT(waiting.takePacks(out), 0u);
    const uint64_t afterHalfSecond = waiting.packsWritten();
    EXPECT_EQ(waiting.takePacks(out), 0u) << "the audio has not got further";
    waiting.end(Input::Audio);
    EXPECT_GT(waiting.takePacks(out), 0u) << "an ended input holds nothing up";
    EXPECT_GT(waiting.packsWritten(), afterHalfSecond);

    EXPECT_EQ(mpegmux::PackSizeForMode(mpegmux::kModeCdSectors), 2324u);
    EXPECT_EQ(mpegmux::PackSizeForMode(mpegmux::kModeDvdSectors), 2048u);
}
