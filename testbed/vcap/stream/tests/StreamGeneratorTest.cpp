// The generated program stream, read back packet by packet: framing, clock and time stamps,
// the exact rates, and the content of the video and audio elementary streams. The streams are
// also written to MAROVIN_TEST_OUT with a manifest for the ffmpeg check on the host side.
#include "ProgramStreamReader.h"
#include "StreamGenerator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>

using vcap::StreamConfig;
using vcap::StreamGenerator;
using vcaptest::FindStartCodes;
using vcaptest::ParsedStream;

namespace {

struct Generated {
    std::vector<uint8_t> data;
    vcap::StreamStats stats;
    uint32_t muxRate = 0;
};

Generated Generate(const StreamConfig& c, double seconds)
{
    StreamGenerator gen(c);
    Generated g;
    while (gen.nextScr27() < static_cast<uint64_t>(seconds * 27e6))
        gen.nextPack(g.data);
    gen.finish(g.data);
    g.stats = gen.stats();
    g.muxRate = gen.muxRate();
    return g;
}

// The parameterised cases read the same three seconds of stream; make it once per case.
const Generated& GenerateOnce(const StreamConfig& c)
{
    static std::map<std::string, Generated> made;
    const std::string key = std::to_string(c.captureMode) + "/" + std::to_string(c.width) + "x" +
                            std::to_string(c.height) + "/" + std::to_string(c.videoBitRate) + "/" +
                            std::to_string(c.audioType) + "/" + std::to_string(c.audioSampleRate);
    auto it = made.find(key);
    if (it == made.end())
        it = made.emplace(key, Generate(c, 3.0)).first;
    return it->second;
}

StreamConfig Config(uint32_t mode, uint32_t w, uint32_t h, uint32_t rate, uint32_t audioType, uint32_t fs,
                    bool lines525 = false)
{
    StreamConfig c;
    c.captureMode = mode;
    c.width = w;
    c.height = h;
    c.videoBitRate = rate;
    c.audioType = audioType;
    c.audioSampleRate = fs;
    c.lines525 = lines525;
    c.standardName = lines525 ? "NTSC M" : "PAL B";
    return c;
}

uint64_t FrameTicks(const StreamConfig& c) { return c.lines525 ? 3003 : 3600; }

}  // namespace

TEST(StreamConfigTest, RejectsWhatTheEncoderCannotProduce)
{
    StreamConfig c;
    EXPECT_EQ(vcap::Validate(c), "");
    auto bad = [](auto change) {
        StreamConfig b;
        change(b);
        return !vcap::Validate(b).empty();
    };
    EXPECT_TRUE(bad([](StreamConfig& b) { b.captureMode = 0; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.captureMode = 5; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.width = 0; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.width = 721; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.height = 578; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.videoBitRate = 0; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.gopLength = 0; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.audioSampleRate = 22050; }));
    EXPECT_TRUE(bad([](StreamConfig& b) { b.audioKbps = 80; }));   // single-channel rate only
    EXPECT_TRUE(bad([](StreamConfig& b) { b.audioKbps = 100; }));
    EXPECT_FALSE(bad([](StreamConfig& b) { b.audioType = 1; b.audioKbps = 100; }));  // LPCM ignores it
}

class StreamLayout : public ::testing::TestWithParam<StreamConfig> {};

TEST_P(StreamLayout, PacksAreWholeTimedAndFullyAccountedFor)
{
    const StreamConfig c = GetParam();
    const Generated& g = GenerateOnce(c);
    const std::vector<uint8_t>& data = g.data;
    ParsedStream ps;
    ASSERT_EQ(vcaptest::ParseProgramStream(data, ps), "");
    EXPECT_EQ(ps.mpeg2, vcap::IsMpeg2(c));
    EXPECT_TRUE(ps.systemHeaderInFirstPack);
    EXPECT_TRUE(ps.endCode);
    ASSERT_GT(ps.packSizes.size(), 10u);
    for (size_t i = 0; i < ps.packSizes.size(); ++i) {
        ASSERT_EQ(ps.packSizes[i], StreamGenerator::kPackSize) << "pack " << i;
        ASSERT_EQ(ps.packMuxRate50[i] * 50, g.muxRate);
        // Constant mux rate: the clock of pack i is exactly i packs' worth of bytes.
        const uint64_t expected = i * StreamGenerator::kPackSize * 27000000ull / g.muxRate;
        ASSERT_EQ(ps.packScr27[i] / 300, expected / 300) << "pack " << i;
    }
    EXPECT_EQ(data.size(), ps.packSizes.size() * StreamGenerator::kPackSize + 4);

    // The mux rate covers video, audio and headers with little to spare.
    const double payload = (c.videoBitRate + vcap::AudioBitRate(c)) / 8.0;
    EXPECT_GT(g.muxRate, payload);
    EXPECT_LT(g.muxRate, payload * 1.04);
}

TEST_P(StreamLayout, TimeStampsAreRegularAndArriveBeforeTheyAreDue)
{
    const StreamConfig c = GetParam();
    ParsedStream ps;
    ASSERT_EQ(vcaptest::ParseProgramStream(GenerateOnce(c).data, ps), "");
    const uint8_t audioId = c.audioType == 1 ? vcap::kStreamIdPrivate1 : vcap::kStreamIdMpegAudio;
    for (uint8_t id : {vcap::kStreamIdVideo, audioId}) {
        ASSERT_FALSE(ps.packets[id].empty()) << int(id);
        std::optional<uint64_t> last;
        int stamped = 0;
        for (const vcaptest::PesRecord& r : ps.packets[id]) {
            if (!r.pts90)
                continue;
            ++stamped;
            // Every stamped packet reaches the decoder before its presentation time, and no
            // more than half a second before it.
            EXPECT_GT(*r.pts90 * 300, r.packScr27);
            EXPECT_LT(*r.pts90 * 300 - r.packScr27, 27000000ull / 2);
            if (last) {
                EXPECT_GT(*r.pts90, *last);
                if (id == vcap::kStreamIdVideo) {
                    EXPECT_EQ((*r.pts90 - *last) % FrameTicks(c), 0u);
                }
            }
            last = r.pts90;
        }
        EXPECT_GT(stamped, 20);
    }
}

TEST_P(StreamLayout, VideoIsIntraCodedAtTheConfiguredSizeAndExactRate)
{
    const StreamConfig c = GetParam();
    const Generated& g = GenerateOnce(c);
    ParsedStream ps;
    ASSERT_EQ(vcaptest::ParseProgramStream(g.data, ps), "");
    const std::vector<uint8_t>& es = ps.es[vcap::kStreamIdVideo];
    const std::vector<size_t> pictures = FindStartCodes(es, 0x00);
    const std::vector<size_t> sequences = FindStartCodes(es, 0xB3);
    EXPECT_EQ(pictures.size(), g.stats.pictures);
    ASSERT_FALSE(sequences.empty());
    EXPECT_EQ(sequences[0], 0u);
    const size_t s = sequences[0] + 4;
    EXPECT_EQ((es[s] << 4) | (es[s + 1] >> 4), static_cast<int>(c.width));
    EXPECT_EQ(((es[s + 1] & 0xF) << 8) | es[s + 2], static_cast<int>(c.height));
    EXPECT_EQ(es[s + 3] & 0xF, c.lines525 ? 4 : 3);
    EXPECT_EQ(FindStartCodes(es, 0xB5).empty(), !vcap::IsMpeg2(c));
    // Picture types: intra unless the budget forced a repeat picture.
    size_t intra = 0;
    for (size_t p : pictures)
        intra += ((es[p + 5] >> 3) & 0x7) == 1 ? 1 : 0;
    EXPECT_EQ(intra, g.stats.intraPictures);
    EXPECT_EQ(FindStartCodes(es, 0xB7).size(), 1u);

    // The elementary stream carries exactly the configured rate (less the end code).
    const double seconds = static_cast<double>(pictures.size()) * vcap::FrameRateDen(c) / vcap::FrameRateNum(c);
    const double expected = c.videoBitRate * seconds / 8;
    EXPECT_NEAR(static_cast<double>(es.size() - 4), expected, 2.0);
}

TEST_P(StreamLayout, AudioFramesMatchTheConfiguration)
{
    const StreamConfig c = GetParam();
    const Generated& g = GenerateOnce(c);
    ParsedStream ps;
    ASSERT_EQ(vcaptest::ParseProgramStream(g.data, ps), "");
    if (c.audioType == 1) {
        const std::vector<uint8_t>& pcm = ps.es[vcap::kStreamIdPrivate1];
        EXPECT_EQ(pcm.size(), g.stats.audioBytes);
        EXPECT_EQ(pcm.size() % 4, 0u);
        const uint8_t rateCode = c.audioSampleRate == 48000 ? 0 : c.audioSampleRate == 44100 ? 2 : 3;
        for (const auto& h : ps.lpcmHeaders)
            ASSERT_EQ(h[5], (rateCode << 4) | 1);
        int nonZero = 0;
        for (uint8_t b : pcm)
            nonZero += b != 0;
        EXPECT_GT(nonZero, static_cast<int>(pcm.size() / 2));
        return;
    }
    const std::vector<uint8_t>& mp2 = ps.es[vcap::kStreamIdMpegAudio];
    EXPECT_EQ(mp2.size(), g.stats.audioBytes);
    size_t at = 0;
    int frames = 0;
    const uint32_t nominal = 144000u * c.audioKbps / c.audioSampleRate;
    while (at + 4 <= mp2.size()) {
        ASSERT_EQ(mp2[at], 0xFF) << "frame " << frames;
        ASSERT_EQ(mp2[at + 1], 0xFD) << "MPEG-1 Layer II without CRC";
        ASSERT_EQ(mp2[at + 2] >> 4, vcap::Mp2BitRateIndex(c.audioKbps));
        const int fsIndex = (mp2[at + 2] >> 2) & 3;
        ASSERT_EQ(fsIndex, c.audioSampleRate == 44100 ? 0 : c.audioSampleRate == 48000 ? 1 : 2);
        at += nominal + ((mp2[at + 2] >> 1) & 1);
        ++frames;
    }
    EXPECT_EQ(at, mp2.size());
    // 1152 samples a frame, as many frames as the stream's duration needs.
    const double audioSeconds = frames * 1152.0 / c.audioSampleRate;
    EXPECT_NEAR(audioSeconds, g.stats.pictures * vcap::FrameRateDen(c) / double(vcap::FrameRateNum(c)), 0.2);
}

INSTANTIATE_TEST_SUITE_P(Modes, StreamLayout,
                         ::testing::Values(Config(1, 352, 288, 1150000, 0, 44100),
                                           Config(3, 352, 240, 1150000, 1, 44100, true),
                                           Config(2, 720, 576, 6000000, 0, 48000),
                                           Config(4, 480, 480, 2500000, 1, 48000, true),
                                           Config(1, 160, 112, 300000, 0, 32000)));

TEST(StreamGeneratorTest, StarvedBudgetRepeatsPicturesButKeepsTheRate)
{
    // Full-size pictures at a rate too low for one intra picture per period.
    StreamConfig c = Config(1, 720, 576, 600000, 0, 48000);
    const Generated g = Generate(c, 4.0);
    ParsedStream ps;
    ASSERT_EQ(vcaptest::ParseProgramStream(g.data, ps), "");
    const vcap::StreamStats s = g.stats;
    EXPECT_LT(s.intraPictures, s.pictures);
    EXPECT_GT(s.intraPictures, 0u);
    EXPECT_EQ(s.lastQuantiser, 31);
    // The unused share of repeat pictures is spent on the next intra picture, so over the
    // stream the rate is still the configured one (within the one picture still pending).
    const double seconds = s.pictures / 25.0;
    EXPECT_LE(ps.es[vcap::kStreamIdVideo].size() - 4, c.videoBitRate * seconds / 8 + 2);
    EXPECT_GT(ps.es[vcap::kStreamIdVideo].size(), c.videoBitRate * (seconds - 1.0) / 8);
}

TEST(StreamGeneratorTest, LosingTheSignalKeepsTheStreamFlowingWithSilence)
{
    for (uint32_t audioType : {0u, 1u}) {
        StreamConfig c = Config(2, 352, 288, 2000000, audioType, 48000);
        StreamGenerator gen(c);
        std::vector<uint8_t> data;
        while (gen.nextScr27() < 27000000ull)
            gen.nextPack(data);
        const uint64_t packsWithSignal = gen.stats().packs;
        gen.setSignal(false);
        while (gen.nextScr27() < 54000000ull)
            gen.nextPack(data);
        // Same rate on both sides of the loss.
        EXPECT_NEAR(static_cast<double>(gen.stats().packs - packsWithSignal), static_cast<double>(packsWithSignal), 1.0);
        gen.finish(data);
        ParsedStream ps;
        ASSERT_EQ(vcaptest::ParseProgramStream(data, ps), "");
        // The audio produced after the queue drained is silent: find its last packets.
        const uint8_t id = audioType == 1 ? vcap::kStreamIdPrivate1 : vcap::kStreamIdMpegAudio;
        const std::vector<uint8_t>& es = ps.es[id];
        ASSERT_GT(es.size(), 4000u);
        const std::vector<uint8_t> tail(es.end() - 2000, es.end());
        if (audioType == 1) {
            for (uint8_t b : tail)
                ASSERT_EQ(b, 0);
        } else {
            // Silent Layer II frames: header, then nothing but zero allocations and padding.
            size_t nonZero = 0;
            for (uint8_t b : tail)
                nonZero += b != 0 && b != 0xFF;
            EXPECT_LT(nonZero, tail.size() / 50);
        }
    }
}

TEST(TestPictureTest, BoxMovesCaptionsShowAndNoSignalIsBlue)
{
    vcap::Picture p;
    p.resize(352, 288);
    vcap::RenderTestPicture(p, {"TUNER", "PAL B", true}, 10);
    const int box10 = vcap::MovingBoxX(p.width, 10);
    const int box11 = vcap::MovingBoxX(p.width, 11);
    EXPECT_NE(box10, box11);
    const int boxRow = p.height * 2 / 3 + (p.height - p.height * 2 / 3) / 2;
    EXPECT_EQ(p.lumaAt(box10 + 4, boxRow), 235);
    // Caption band: black background with white glyph pixels.
    int white = 0, black = 0;
    for (int y = 4; y < 30; ++y) {
        for (int x = 4; x < 60; ++x) {
            white += p.lumaAt(x, y) == 235;
            black += p.lumaAt(x, y) == 16;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(black, 200);

    vcap::RenderTestPicture(p, {"TUNER", "PAL B", false}, 10);
    for (size_t i = 0; i < p.y.size(); i += 97)
        ASSERT_EQ(p.y[i], 41);
    for (size_t i = 0; i < p.cb.size(); i += 31)
        ASSERT_EQ(p.cb[i], 240);
}

TEST(TestPictureTest, TheDecodersAdjustmentsChangeThePicture)
{
    vcap::Picture neutral;
    neutral.resize(352, 288);
    vcap::RenderTestPicture(neutral, {"TUNER", "PAL B", true}, 10);
    // White bar (luma 235), its chroma neutral; the blue bar's chroma is far from neutral.
    const int whiteX = 20, colourX = 352 * 6 / 8 + 8, row = 100;
    const struct {
        vcap::PictureAdjust adjust;
        int whiteLuma;       // luma of the white bar
        bool chromaChanges;  // the blue bar's chroma moves
    } cases[] = {
        {{128, 64, 0, 64}, 235, false},
        {{168, 64, 0, 64}, 255, false},
        {{88, 64, 0, 64}, 195, false},
        {{128, 32, 0, 64}, 126, false},
        {{128, 64, 64, 64}, 235, true},
        {{128, 64, 0, 0}, 235, true},
    };
    for (const auto& c : cases) {
        vcap::Picture p;
        p.resize(352, 288);
        vcap::PictureCaption caption{"TUNER", "PAL B", true, c.adjust};
        vcap::RenderTestPicture(p, caption, 10);
        EXPECT_EQ(p.lumaAt(whiteX, row), c.whiteLuma) << c.adjust.brightness << " " << c.adjust.contrast;
        const size_t chroma = static_cast<size_t>(row / 2) * (p.width / 2) + colourX / 2;
        EXPECT_EQ(p.cr[chroma] != neutral.cr[chroma] || p.cb[chroma] != neutral.cb[chroma], c.chromaChanges)
            << c.adjust.hue << " " << c.adjust.saturation;
    }
    vcap::Picture grey;
    grey.resize(352, 288);
    vcap::RenderTestPicture(grey, {"TUNER", "PAL B", true, {128, 64, 0, 0}}, 10);
    for (size_t i = 0; i < grey.cb.size(); i += 37)
        ASSERT_EQ(grey.cb[i], 128) << "no saturation leaves no colour";
}

TEST(TestPictureTest, OddSizesAreCodedAsWholeMacroblocks)
{
    vcap::Picture p;
    p.resize(350, 250);
    EXPECT_EQ(p.width, 352);
    EXPECT_EQ(p.height, 256);
    EXPECT_EQ(p.cb.size(), 176u * 128u);
}

// Writes the streams the host-side ffmpeg check reads, with a manifest line per file:
// name codec width height seconds audio-codec sample-rate.
TEST(StreamFiles, WriteStreamsForTheDecoderCheck)
{
    struct Case {
        const char* name;
        StreamConfig config;
    };
    StreamConfig noSignal = Config(2, 720, 576, 4000000, 0, 48000);
    noSignal.signal = false;
    const Case cases[] = {
        {"mpeg1_mp2", Config(1, 352, 288, 1150000, 0, 44100)},
        {"mpeg1_lpcm", Config(3, 352, 240, 1150000, 1, 44100, true)},
        {"mpeg2_mp2", Config(2, 720, 576, 6000000, 0, 48000)},
        {"mpeg2_lpcm", Config(4, 480, 480, 2500000, 1, 48000, true)},
        {"mpeg1_small", Config(1, 160, 112, 300000, 0, 32000)},
        {"mpeg2_nosignal", noSignal},
    };
    const std::string dir = testsupport::OutputDir();
    std::ofstream manifest(dir + "streams.txt", std::ios::binary);  // no CR for the shell
    ASSERT_TRUE(manifest.good());
    for (const Case& k : cases) {
        const std::vector<uint8_t> data = Generate(k.config, 4.0).data;
        std::ofstream f(dir + k.name + ".mpg", std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        ASSERT_TRUE(f.good()) << k.name;
        manifest << k.name << ' ' << (vcap::IsMpeg2(k.config) ? "mpeg2video" : "mpeg1video") << ' '
                 << k.config.width << ' ' << k.config.height << " 4 "
                 << (k.config.audioType == 1 ? "pcm_dvd" : "mp2") << ' ' << k.config.audioSampleRate << ' '
                 << (k.config.signal ? "tone" : "silent") << '\n';
    }
}
