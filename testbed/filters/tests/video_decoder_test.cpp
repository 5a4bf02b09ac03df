// The intra-picture decoder against ffmpeg's own decode of ffmpeg-made streams (made by the
// fixture make_video_streams.sh), the program-stream parser on the same files, damage, and
// the colour conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ColourConvert.h"
#include "ProgramStreamParser.h"
#include "TestFiles.h"
#include "VideoStreamDecoder.h"

namespace {

struct DecodedStream {
    std::vector<mpegv::Picture> pictures;
    std::vector<int64_t> times;  // -1 without a timestamp
    size_t audioPackets = 0;
    mpegv::DecoderStats stats;
    mpegv::SequenceInfo sequence;
    mpegps::ParserStats parser;
};

DecodedStream DemuxAndDecode(const std::vector<uint8_t>& file, size_t chunk = 2048)
{
    DecodedStream out;
    mpegv::VideoStreamDecoder decoder([&out](const mpegv::Picture& p, bool hasTime, int64_t t) {
        out.pictures.push_back(p);
        out.times.push_back(hasTime ? t : -1);
    });
    mpegps::ProgramStreamParser parser([&](const mpegps::PesPacket& pes) {
        if (pes.streamId == mpegps::kVideoStreamId)
            decoder.Push(pes.payload, pes.payloadSize, pes.hasPts, pes.pts);
        else if (pes.streamId == mpegps::kMpegAudioStreamId)
            ++out.audioPackets;
    });
    for (size_t i = 0; i < file.size(); i += chunk)
        parser.Push(file.data() + i, std::min(chunk, file.size() - i));
    parser.Flush();
    decoder.Flush();
    out.stats = decoder.Stats();
    out.sequence = decoder.Sequence();
    out.parser = parser.Stats();
    return out;
}

double Psnr(const uint8_t* a, int strideA, const uint8_t* b, int strideB, int w, int h)
{
    double sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = double(a[y * strideA + x]) - double(b[y * strideB + x]);
            sum += d * d;
        }
    const double mse = sum / (double(w) * h);
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// Lowest PSNR over the three planes of `p` against frame `index` of a raw yuv420p file.
double FramePsnr(const mpegv::Picture& p, const std::vector<uint8_t>& yuv, size_t index)
{
    const int w = p.width, h = p.height, cw = w / 2, ch = h / 2;
    const size_t frameSize = size_t(w) * h * 3 / 2;
    if ((index + 1) * frameSize > yuv.size()) return 0;
    const uint8_t* ref = yuv.data() + index * frameSize;
    const double py = Psnr(p.y.data(), p.lumaStride, ref, w, w, h);
    const double pu = Psnr(p.cb.data(), p.chromaStride, ref + w * h, cw, cw, ch);
    const double pv = Psnr(p.cr.data(), p.chromaStride, ref + w * h + cw * ch, cw, cw, ch);
    return std::min(py, std::min(pu, pv));
}

struct Loaded {
    std::vector<uint8_t> mpg, yuv;
};

Loaded Load(const std::string& name)
{
    return {filtertest::ReadWholeFile(filtertest::ArtefactPath(name + ".mpg")),
            filtertest::ReadWholeFile(filtertest::ArtefactPath(name + ".yuv"))};
}

void ExpectMatchesFfmpeg(const std::string& name, int width, int height, size_t pictures, bool mpeg2)
{
    const Loaded f = Load(name);
    ASSERT_FALSE(f.mpg.empty()) << name << ".mpg missing: the stream fixture did not run";
    const DecodedStream d = DemuxAndDecode(f.mpg);
    EXPECT_EQ(d.parser.resyncs, 0u);
    EXPECT_EQ(d.parser.mpeg2, mpeg2);
    EXPECT_EQ(d.sequence.mpeg2, mpeg2);
    EXPECT_EQ(d.sequence.width, width);
    EXPECT_EQ(d.sequence.height, height);
    EXPECT_EQ(mpegv::FrameDuration(d.sequence.frameRateCode), 400000);
    EXPECT_EQ(d.stats.slicesDamaged, 0u);
    ASSERT_EQ(d.pictures.size(), pictures);
    double worst = 99;
    for (size_t i = 0; i < d.pictures.size(); ++i) worst = std::min(worst, FramePsnr(d.pictures[i], f.yuv, i));
    std::printf("%s: %zu pictures, lowest plane PSNR against ffmpeg %.1f dB\n", name.c_str(),
                d.pictures.size(), worst);
    EXPECT_GT(worst, 35.0);
    // Presentation times step by one frame (3600 ticks of 90 kHz at 25 frames per second).
    for (size_t i = 1; i < d.times.size(); ++i) {
        ASSERT_GE(d.times[i - 1], 0);
        EXPECT_EQ(d.times[i] - d.times[i - 1], 3600) << i;
    }
}

TEST(VideoDecoder, IntraMpeg2ProgramStreamMatchesFfmpeg)
{
    ExpectMatchesFfmpeg("m2_intra", 352, 288, 25, true);
    EXPECT_GT(DemuxAndDecode(Load("m2_intra").mpg).audioPackets, 5u);
}

TEST(VideoDecoder, IntraMpeg1SystemStreamMatchesFfmpeg)
{
    ExpectMatchesFfmpeg("m1_intra", 352, 288, 25, false);
}

TEST(VideoDecoder, Mpeg2CodingToolsMatchFfmpeg)
{
    // Table one, alternate scan, non-linear quantiser, 10-bit DC, field DCT, 720x576.
    ExpectMatchesFfmpeg("m2_tools", 720, 576, 10, true);
}

TEST(VideoDecoder, PredictedPicturesAreSkipped)
{
    const Loaded f = Load("m1_ippp");
    ASSERT_FALSE(f.mpg.empty());
    const DecodedStream d = DemuxAndDecode(f.mpg);
    ASSERT_EQ(d.pictures.size(), 5u);
    EXPECT_EQ(d.stats.picturesSkipped, 20u);
    for (size_t i = 0; i < d.pictures.size(); ++i) EXPECT_GT(FramePsnr(d.pictures[i], f.yuv, i * 5), 35.0) << i;
}

TEST(VideoDecoder, ChunkingDoesNotChangeThePictures)
{
    const Loaded f = Load("m2_intra");
    ASSERT_FALSE(f.mpg.empty());
    const DecodedStream whole = DemuxAndDecode(f.mpg, f.mpg.size());
    const DecodedStream small = DemuxAndDecode(f.mpg, 7);
    ASSERT_EQ(whole.pictures.size(), small.pictures.size());
    for (size_t i = 0; i < whole.pictures.size(); ++i) EXPECT_EQ(whole.pictures[i].y, small.pictures[i].y);
    EXPECT_EQ(whole.times, small.times);
}

// Damaged streams never crash or hang; the decoder recovers at the next intra picture.
TEST(VideoDecoder, DamagedStreamsDecodeWhatSurvives)
{
    const Loaded f = Load("m2_intra");
    ASSERT_FALSE(f.mpg.empty());
    std::mt19937 rng(99);
    size_t totalPictures = 0;
    for (int round = 0; round < 24; ++round) {
        std::vector<uint8_t> bytes = f.mpg;
        for (int d = 0; d < 1 + int(rng() % 20); ++d) {
            const size_t at = rng() % bytes.size();
            if (rng() % 3 == 0) {
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + rng() % 3000)));
            } else {
                for (size_t n = 0; n < 1 + rng() % 64 && at + n < bytes.size(); ++n) bytes[at + n] = uint8_t(rng());
            }
        }
        if (round % 5 == 0) bytes.resize(rng() % bytes.size());
        const DecodedStream d = DemuxAndDecode(bytes, 1 + rng() % 5000);
        totalPictures += d.pictures.size();
        for (const mpegv::Picture& p : d.pictures) EXPECT_EQ(p.width, 352);
    }
    EXPECT_GT(totalPictures, 24u * 10);  // most pictures of most inputs still decode
}

TEST(VideoDecoder, GarbageElementaryStreamYieldsNothing)
{
    std::mt19937 rng(5);
    std::vector<uint8_t> junk(200000);
    for (auto& b : junk) b = rng() % 4 ? uint8_t(rng()) : 0;
    size_t pictures = 0;
    mpegv::VideoStreamDecoder decoder([&](const mpegv::Picture&, bool, int64_t) { ++pictures; });
    decoder.Push(junk.data(), junk.size());
    decoder.Flush();
    EXPECT_EQ(pictures, 0u);
}

TEST(ColourConversion, Bt601StudioRange)
{
    uint8_t r, g, b;
    mpegv::YCbCrToRgb(235, 128, 128, &r, &g, &b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{255, 255, 255}));
    mpegv::YCbCrToRgb(16, 128, 128, &r, &g, &b);
    EXPECT_EQ((std::vector<int>{r, g, b}), (std::vector<int>{0, 0, 0}));
    mpegv::YCbCrToRgb(81, 90, 240, &r, &g, &b);  // red
    EXPECT_GE(r, 250);
    EXPECT_LE(g, 3);
    EXPECT_LE(b, 3);
    mpegv::YCbCrToRgb(41, 240, 110, &r, &g, &b);  // blue
    EXPECT_LE(r, 3);
    EXPECT_GE(b, 250);
}

TEST(ColourConversion, BottomUpRowsAndPadding)
{
    mpegv::Picture p;
    p.Allocate(4, 2, 16, 16);
    for (int x = 0; x < 4; ++x) p.y[x] = 235;  // top row white, bottom row black
    std::vector<uint8_t> rgb32(4 * 4 * 2, 0xAA), rgb24(12 * 2, 0xAA);
    mpegv::ConvertToRgb(p, rgb32.data(), 16, 4, true);
    EXPECT_EQ(rgb32[0], 0);       // first stored row is the bottom one
    EXPECT_EQ(rgb32[16], 255);
    EXPECT_EQ(rgb32[19], 0);      // unused byte of RGB32 cleared
    mpegv::ConvertToRgb(p, rgb24.data(), 12, 3, false);
    EXPECT_EQ(rgb24[0], 255);
    EXPECT_EQ(rgb24[11], 255);
    EXPECT_EQ(rgb24[12], 0);
}

}  // namespace
