// The program-stream parser on built streams: MPEG-1 and MPEG-2 packs, timestamps, LPCM in
// private stream 1, arbitrary chunking, and damage of every kind followed by resynchronisation.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>

#include "ProgramStreamParser.h"
#include "PsBuilder.h"

using mpegps::PesPacket;
using mpegps::ProgramStreamParser;
using pstest::BuiltPacket;

namespace {

struct Delivered {
    uint8_t streamId;
    int subStreamId;
    bool hasPts;
    int64_t pts;
    bool hasLpcm;
    mpegps::LpcmHeader lpcm;
    std::vector<uint8_t> payload;
};

struct Collector {
    std::vector<Delivered> packets;
    ProgramStreamParser parser{[this](const PesPacket& p) {
        packets.push_back({p.streamId, p.subStreamId, p.hasPts, p.pts, p.hasLpcm, p.lpcm,
                           std::vector<uint8_t>(p.payload, p.payload + p.payloadSize)});
    }};

    void Feed(const std::vector<uint8_t>& bytes, size_t chunk)
    {
        for (size_t i = 0; i < bytes.size(); i += chunk)
            parser.Push(bytes.data() + i, std::min(chunk, bytes.size() - i));
        parser.Flush();
    }
};

bool Same(const Delivered& d, const BuiltPacket& b)
{
    return d.streamId == b.streamId && d.subStreamId == b.subStreamId && d.hasPts == b.hasPts &&
           (!b.hasPts || d.pts == b.pts) && d.payload == b.payload;
}

void ExpectAll(const Collector& c, const std::vector<BuiltPacket>& built)
{
    ASSERT_EQ(c.packets.size(), built.size());
    for (size_t i = 0; i < built.size(); ++i) EXPECT_TRUE(Same(c.packets[i], built[i])) << i;
}

// Every built packet that lies wholly after `from` must be delivered, in order, unchanged.
size_t ExpectSurvivorsAfter(const Collector& c, const std::vector<BuiltPacket>& built, size_t from)
{
    size_t next = 0;
    size_t checked = 0;
    for (const BuiltPacket& b : built) {
        if (b.offset < from) continue;
        while (next < c.packets.size() && !Same(c.packets[next], b)) ++next;
        EXPECT_LT(next, c.packets.size()) << "packet at " << b.offset << " lost (damage before " << from << ")";
        ++next;
        ++checked;
    }
    return checked;
}

TEST(ProgramStreamParser, DeliversEveryPacketOfBothLayouts)
{
    for (bool mpeg2 : {false, true}) {
        const pstest::PsBuilder ps = pstest::MakeStream(mpeg2, 40, 7);
        Collector c;
        c.Feed(ps.Bytes(), ps.Bytes().size());
        ExpectAll(c, ps.Packets());
        const auto& s = c.parser.Stats();
        EXPECT_EQ(s.packs, 40u);
        EXPECT_EQ(s.systemHeaders, 1u);
        EXPECT_EQ(s.endCodes, 1u);
        EXPECT_EQ(s.resyncs, 0u);
        EXPECT_EQ(s.bytesSkipped, 0u);
        EXPECT_EQ(s.mpeg2, mpeg2);
        EXPECT_EQ(s.lastScr, 39 * 3600);
        EXPECT_EQ(s.muxRate, 25200u);
    }
}

TEST(ProgramStreamParser, ChunkingDoesNotChangeTheResult)
{
    const pstest::PsBuilder ps = pstest::MakeStream(true, 12, 3);
    for (size_t chunk : {size_t(1), size_t(2), size_t(5), size_t(188), size_t(2048)}) {
        Collector c;
        c.Feed(ps.Bytes(), chunk);
        ExpectAll(c, ps.Packets());
        EXPECT_EQ(c.parser.Stats().resyncs, 0u) << chunk;
    }
}

TEST(ProgramStreamParser, LpcmSubStreamHeaderIsReadAndStripped)
{
    pstest::PsBuilder ps(true);
    ps.Pack(0);
    ps.Lpcm({1, 2, 3, 4, 5, 6, 7, 8}, 1234, 0, 2);   // 48 kHz stereo
    ps.Lpcm({9, 10, 11, 12}, 5678, 3, 1);            // 32 kHz mono
    ps.Pes(0xBD, {0x0B, 0x77, 1, 2}, 99, 0x80);      // an AC-3 sub-stream is not LPCM
    Collector c;
    c.Feed(ps.Bytes(), 7);
    ASSERT_EQ(c.packets.size(), 3u);
    EXPECT_TRUE(c.packets[0].hasLpcm);
    EXPECT_EQ(c.packets[0].subStreamId, 0xA0);
    EXPECT_EQ(c.packets[0].lpcm.sampleRate, 48000u);
    EXPECT_EQ(c.packets[0].lpcm.channels, 2u);
    EXPECT_EQ(c.packets[0].lpcm.bitsPerSample, 16u);
    EXPECT_EQ(c.packets[0].payload, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(c.packets[0].pts, 1234);
    EXPECT_EQ(c.packets[1].lpcm.sampleRate, 32000u);
    EXPECT_EQ(c.packets[1].lpcm.channels, 1u);
    EXPECT_FALSE(c.packets[2].hasLpcm);
    EXPECT_EQ(c.packets[2].subStreamId, 0x80);
}

TEST(ProgramStreamParser, TimestampsUseAll33Bits)
{
    pstest::PsBuilder ps(true);
    ps.Pack(0);
    ps.Pes(0xE0, {1}, (int64_t(1) << 33) - 1);
    ps.Pes(0xE0, {2}, int64_t(1) << 32);
    Collector c;
    c.Feed(ps.Bytes(), 3);
    ASSERT_EQ(c.packets.size(), 2u);
    EXPECT_EQ(c.packets[0].pts, (int64_t(1) << 33) - 1);
    EXPECT_EQ(c.packets[1].pts, int64_t(1) << 32);
    const uint8_t badMarker[5] = {0x21, 0, 0, 0, 1};
    int64_t v = 0;
    EXPECT_FALSE(mpegps::ReadTimestamp(badMarker, &v));
}

TEST(ProgramStreamParser, GarbageBeforeAndBetweenPacketsIsSkipped)
{
    const pstest::PsBuilder ps = pstest::MakeStream(false, 10, 11);
    std::vector<uint8_t> bytes = {0x12, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x47, 0xFF};
    const size_t prefix = bytes.size();
    bytes.insert(bytes.end(), ps.Bytes().begin(), ps.Bytes().end());
    // A burst of junk with a false pack start code right after the fifth packet.
    const size_t at = prefix + ps.Packets()[4].end;
    const std::vector<uint8_t> junk = {0x33, 0, 0, 1, 0xBA, 0x55, 0, 0, 1, 0xE0, 0xFF, 0xFF, 7, 7, 0, 0};
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), junk.begin(), junk.end());
    Collector c;
    c.Feed(bytes, 100);
    // The fifth packet is now followed by junk and cannot be verified; all others arrive.
    std::vector<BuiltPacket> expected = ps.Packets();
    expected.erase(expected.begin() + 4);
    ExpectAll(c, expected);
    EXPECT_EQ(c.parser.Stats().resyncs, 2u);
}

TEST(ProgramStreamParser, WrongLengthDropsOnlyThatPacket)
{
    pstest::PsBuilder ps = pstest::MakeStream(true, 6, 5);
    std::vector<uint8_t> bytes = ps.Bytes();
    const BuiltPacket& victim = ps.Packets()[3];
    bytes[victim.offset + 5] ^= 0x10;  // length field off by 16
    Collector c;
    c.Feed(bytes, 64);
    std::vector<BuiltPacket> expected = ps.Packets();
    expected.erase(expected.begin() + 3);
    ExpectAll(c, expected);
}

TEST(ProgramStreamParser, TruncatedStreamDeliversWhatIsComplete)
{
    const pstest::PsBuilder ps = pstest::MakeStream(true, 8, 9);
    const BuiltPacket& cut = ps.Packets()[10];
    std::vector<uint8_t> bytes(ps.Bytes().begin(), ps.Bytes().begin() + static_cast<std::ptrdiff_t>(cut.end - 5));
    Collector c;
    c.Feed(bytes, 333);
    std::vector<BuiltPacket> expected(ps.Packets().begin(), ps.Packets().begin() + 10);
    ExpectAll(c, expected);
    EXPECT_GT(c.parser.Stats().bytesSkipped, 0u);
}

TEST(ProgramStreamParser, ResetForgetsAHalfPacket)
{
    const pstest::PsBuilder ps = pstest::MakeStream(true, 3, 1);
    Collector c;
    c.parser.Push(ps.Bytes().data(), ps.Packets()[0].offset + 10);
    c.parser.Reset();
    c.Feed(ps.Bytes(), 50);
    ExpectAll(c, ps.Packets());
}

// Random damage: cut streams, flipped bytes, inserted and removed runs, random chunking.
// Nothing may crash or hang, and every packet beyond the last damage (plus one packet's
// reach, since a length field may point into the damage) must arrive intact.
TEST(ProgramStreamParser, FuzzedStreamsResynchronise)
{
    std::mt19937 rng(20261208);
    const auto started = std::chrono::steady_clock::now();
    size_t inputs = 0;
    size_t survivors = 0;
    for (int round = 0; round < 400; ++round, ++inputs) {
        const bool mpeg2 = round % 2 == 0;
        const pstest::PsBuilder ps = pstest::MakeStream(mpeg2, 4 + int(rng() % 30), rng());
        std::vector<uint8_t> bytes = ps.Bytes();
        const int damages = 1 + int(rng() % 6);
        for (int d = 0; d < damages; ++d) {
            const size_t at = rng() % bytes.size();
            switch (rng() % 4) {
            case 0:  // random bytes overwritten
                for (size_t n = 1 + rng() % 40; n > 0 && at + n <= bytes.size(); --n)
                    bytes[at + n - 1] = uint8_t(rng());
                break;
            case 1: {  // garbage inserted, sometimes rich in false start codes
                std::vector<uint8_t> junk(1 + rng() % 300);
                for (auto& b : junk) b = rng() % 3 ? uint8_t(rng()) : uint8_t(rng() % 2);
                bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), junk.begin(), junk.end());
                break;
            }
            case 2:  // a run cut out
                bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                            bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), at + 1 + rng() % 500)));
                break;
            default:  // the stream cut short
                bytes.resize(at);
                break;
            }
            if (bytes.empty()) bytes.push_back(0);
        }
        Collector c;
        c.Feed(bytes, 1 + rng() % 4096);
        // Offsets after the damage moved by the size changes; compare against the tail of the
        // original stream that still appears unchanged at the end of the damaged one.
        const std::vector<uint8_t>& original = ps.Bytes();
        size_t same = 0;
        while (same < bytes.size() && same < original.size() &&
               bytes[bytes.size() - 1 - same] == original[original.size() - 1 - same])
            ++same;
        const size_t intactFrom = original.size() - same;
        survivors += ExpectSurvivorsAfter(c, ps.Packets(), intactFrom + 1);
        if (HasFailure()) return;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_GT(survivors, inputs * 5);  // the check above really compared packets
    std::printf("fuzz: %zu damaged inputs, %zu packets after damage verified, %.2f s\n",
                inputs, survivors, seconds);
}

}  // namespace
