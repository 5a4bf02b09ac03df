#include "ProgramStreamTail.h"

#include "ProgramStreamWalk.h"
#include "RunFile.h"
#include "TestSupport.h"
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace scrivet;
using namespace scrivet::test;

namespace {

using Bytes = std::vector<uint8_t>;


// In-memory file holding a stream, as the repair sees it.
class MemoryTailFile final : public TailFile {
public:
    explicit MemoryTailFile(Bytes bytes) : bytes(std::move(bytes)) {}
    Bytes bytes;
    bool failWrites = false;

    bool ReadAt(uint64_t offset, void* data, DWORD length, DWORD* got) override
    {
        *got = offset >= bytes.size() ? 0 : static_cast<DWORD>(std::min<uint64_t>(length, bytes.size() - offset));
        std::copy_n(bytes.begin() + offset, *got, static_cast<uint8_t*>(data));
        return true;
    }
    bool WriteAt(uint64_t offset, const void* data, DWORD length) override
    {
        if (failWrites)
            return false;
        if (bytes.size() < offset + length)
            bytes.resize(offset + length);
        std::copy_n(static_cast<const uint8_t*>(data), length, bytes.begin() + offset);
        return true;
    }
};

Bytes Repaired(const Bytes& stream, uint64_t cut)
{
    MemoryTailFile file(Bytes(stream.begin(), stream.begin() + cut));
    uint64_t length = cut;
    RepairProgramStreamTail(file, length);
    file.bytes.resize(length);
    return file.bytes;
}

// What the repair must produce for a cut at `cut`, worked out from a forward walk.
Bytes Expected(const Bytes& stream, uint64_t cut)
{
    uint64_t lastEnd = 0;
    const StreamUnit* pack = nullptr;
    bool mpeg2 = false;
    const std::vector<StreamUnit> units = WalkProgramStream(stream);
    for (const StreamUnit& unit : units) {
        if (unit.id == 0xBA && unit.start + (unit.mpeg2Pack ? 14 : 12) <= cut) {
            pack = &unit;
            mpeg2 = unit.mpeg2Pack;
        }
        if (IsRepairPacket(unit.id) && unit.end <= cut)
            lastEnd = unit.end;
    }
    // With no complete packet, the stream ends where the unfinished one begins.
    if (lastEnd == 0)
        for (const StreamUnit& unit : units)
            if (unit.id >= 0xC0 && unit.id <= 0xEF && unit.start < cut)
                lastEnd = unit.start;
    Bytes out(stream.begin(), stream.begin() + lastEnd);
    if (pack) {
        out.insert(out.end(), stream.begin() + pack->start, stream.begin() + pack->start + (mpeg2 ? 14 : 12));
        if (mpeg2)
            out.back() &= 0xF8;
    }
    const Bytes mpeg1End = {0, 0, 1, 0xE0, 0x00, 0x05, 0x0F, 0, 0, 1, 0xB7, 0, 0, 1, 0xB9};
    const Bytes mpeg2End = {0, 0, 1, 0xE0, 0x00, 0x07, 0x81, 0, 0, 0, 0, 1, 0xB7, 0, 0, 1, 0xB9};
    const Bytes& end = mpeg2 ? mpeg2End : mpeg1End;
    out.insert(out.end(), end.begin(), end.end());
    return out;
}

// Cut points in the middle of audio and video packets towards the end of the stream.
std::vector<uint64_t> MidPacketCuts(const Bytes& stream)
{
    std::vector<uint64_t> cuts;
    const std::vector<StreamUnit> units = WalkProgramStream(stream);
    for (size_t i = units.size() / 2; i < units.size(); i += 3)
        if (units[i].id >= 0xC0 && units[i].id <= 0xEF)
            cuts.push_back((units[i].start + units[i].end) / 2);
    return cuts;
}

class RealStream : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(RealStream, CutMidPacketEndsWithLastPacketPackHeaderSequenceEndAndProgramEnd)
{
    const Bytes stream = LoadStream(GetParam());
    ASSERT_GT(stream.size(), 100000u) << "streams not made; run make_streams.sh";
    const std::vector<uint64_t> cuts = MidPacketCuts(stream);
    ASSERT_GT(cuts.size(), 5u);
    for (uint64_t cut : cuts) {
        const Bytes repaired = Repaired(stream, cut);
        ASSERT_EQ(repaired, Expected(stream, cut)) << GetParam() << " cut at " << cut;
    }
}

TEST_P(RealStream, CutAtAPacketEndKeepsEveryPacket)
{
    const Bytes stream = LoadStream(GetParam());
    ASSERT_FALSE(stream.empty());
    const std::vector<StreamUnit> units = WalkProgramStream(stream);
    for (size_t i = units.size() - 40; i < units.size(); ++i) {
        if (!IsRepairPacket(units[i].id))
            continue;
        const Bytes repaired = Repaired(stream, units[i].end);
        ASSERT_TRUE(std::equal(stream.begin(), stream.begin() + units[i].end, repaired.begin()));
        ASSERT_EQ(repaired, Expected(stream, units[i].end));
    }
}

TEST_P(RealStream, FinishedRunFileIsCutAndRepairedOnDisk)
{
    const Bytes stream = LoadStream(GetParam());
    ASSERT_FALSE(stream.empty());
    const uint64_t cut = MidPacketCuts(stream).back();
    for (bool audio : {false, true}) {
        const std::string path = testsupport::OutputDir() + "finish_" + (audio ? "audio_" : "av_") + GetParam();
        UnbufferedRunFile file;
        ASSERT_EQ(file.Create(std::wstring(path.begin(), path.end()), 512), 0u);
        // The data as the writer thread leaves it: whole sectors, stale bytes past the end.
        const DWORD sectors = static_cast<DWORD>((cut + 511) / 512 * 512);
        BYTE* memory = static_cast<BYTE*>(VirtualAlloc(nullptr, sectors, MEM_COMMIT, PAGE_READWRITE));
        ASSERT_NE(memory, nullptr);
        std::fill_n(memory, sectors, 0x00);
        std::copy_n(stream.begin(), cut, memory);
        DWORD written = 0;
        ASSERT_EQ(file.WriteSectors(memory, sectors, &written), 0u);
        VirtualFree(memory, 0, MEM_RELEASE);
        uint64_t length = cut;
        ASSERT_EQ(file.Finish(length, FinishRule{!audio}), 0u);
        const std::vector<BYTE> onDisk = ReadWholeFile(path);
        const Bytes expected = audio ? Bytes(stream.begin(), stream.begin() + cut) : Expected(stream, cut);
        EXPECT_EQ(length, expected.size());
        ASSERT_EQ(onDisk.size(), expected.size());
        EXPECT_EQ(onDisk, expected);
    }
}

TEST_P(RealStream, ClosingCodesNeverTakeTheFilePastItsLimit)
{
    const Bytes stream = LoadStream(GetParam());
    ASSERT_FALSE(stream.empty());
    const std::vector<StreamUnit> units = WalkProgramStream(stream);
    // Cuts at packet ends (where the closing codes alone would pass the limit) and inside
    // packets, with the limit at the cut and a little past it; both ends of a stream.
    std::vector<uint64_t> cuts;
    const std::vector<uint64_t> inside = MidPacketCuts(stream);
    for (size_t i = 0; i < inside.size(); i += 4)
        cuts.push_back(inside[i]);
    for (size_t i = units.size() - 12; i < units.size(); ++i)
        if (IsRepairPacket(units[i].id))
            cuts.push_back(units[i].end);
    for (uint64_t cut : cuts) {
        for (uint64_t slack : {0, 10, 31}) {
            for (TailEnd end : {TailEnd::LastPacket, TailEnd::LastPicture}) {
                MemoryTailFile file(Bytes(stream.begin(), stream.begin() + cut));
                uint64_t length = cut;
                RepairProgramStreamTail(file, length, end, cut + slack);
                file.bytes.resize(length);
                SCOPED_TRACE(testing::Message() << "cut " << cut << " slack " << slack << " end "
                                                << static_cast<int>(end));
                ASSERT_LE(length, cut + slack);
                const Bytes close = {0, 0, 1, 0xB7, 0, 0, 1, 0xB9};
                ASSERT_TRUE(std::equal(close.begin(), close.end(), file.bytes.end() - 8));
                // Without the limit the repair is what it always was, when that fits.
                const Bytes unlimited = end == TailEnd::LastPacket ? Expected(stream, cut) : Bytes{};
                if (!unlimited.empty() && unlimited.size() <= cut + slack) {
                    EXPECT_EQ(file.bytes, unlimited);
                }
            }
        }
    }
}

TEST_P(RealStream, WholePictureEndKeepsThePicturesBeforeTheCut)
{
    // A limit that leaves room for the closing codes changes nothing.
    const Bytes stream = LoadStream(GetParam());
    ASSERT_FALSE(stream.empty());
    const std::vector<uint64_t> cuts = MidPacketCuts(stream);
    for (size_t i = 0; i < cuts.size(); i += 3) {
        const uint64_t cut = cuts[i];
        MemoryTailFile limited(Bytes(stream.begin(), stream.begin() + cut));
        MemoryTailFile unlimited(limited.bytes);
        uint64_t limitedLength = cut, unlimitedLength = cut;
        RepairProgramStreamTail(limited, limitedLength, TailEnd::LastPicture, cut);
        RepairProgramStreamTail(unlimited, unlimitedLength, TailEnd::LastPicture);
        limited.bytes.resize(limitedLength);
        unlimited.bytes.resize(unlimitedLength);
        EXPECT_LE(limitedLength, cut);
        if (unlimitedLength <= cut) {
            EXPECT_EQ(limited.bytes, unlimited.bytes) << cut;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ffmpeg, RealStream, testing::Values("mpeg1.mpg", "mpeg2.mpg"),
                         [](const auto& info) { return std::string(info.param).substr(0, 5); });

TEST(TailRepair, TailWithoutAudioOrVideoIsNotExtended)
{
    const Bytes stream = LoadStream("mpeg2.mpg");
    ASSERT_FALSE(stream.empty());
    const std::vector<StreamUnit> units = WalkProgramStream(stream);
    const uint64_t prefix = units[units.size() / 2].end;
    Bytes padded(stream.begin(), stream.begin() + prefix);
    // 25 padding packets of 2000 bytes: more than 40960 bytes with no audio or video.
    for (int i = 0; i < 25; ++i) {
        padded.insert(padded.end(), {0, 0, 1, 0xBE, 0x07, 0xCA});
        padded.insert(padded.end(), 1994, 0xFF);
    }
    const uint64_t lastPaddingEnd = padded.size();
    padded.insert(padded.end(), {0, 0, 1, 0xBE, 0x07, 0xCA});
    padded.insert(padded.end(), 900, 0xFF);
    EXPECT_EQ(Repaired(padded, padded.size()), Bytes(padded.begin(), padded.begin() + lastPaddingEnd));

    // Nothing at all that looks like a packet: left as it is.
    Bytes noise = padded;
    noise.insert(noise.end(), 45000, 0x55);
    EXPECT_EQ(Repaired(noise, noise.size()), noise);
}

TEST(TailRepair, ShortStreamsAndEmptyFiles)
{
    const Bytes stream = LoadStream("mpeg1.mpg");
    ASSERT_FALSE(stream.empty());
    const std::vector<StreamUnit> units = WalkProgramStream(stream);
    // A stream shorter than one pass: the first packets only.
    const uint64_t cut = (units[6].start + units[6].end) / 2;
    ASSERT_LT(cut, 10240u);
    EXPECT_EQ(Repaired(stream, cut), Expected(stream, cut));
    // Cut inside the very first packet.
    const uint64_t first = (units[2].start + units[2].end) / 2;
    ASSERT_GE(units[2].id, 0xC0);
    const Bytes repaired = Repaired(stream, first);
    EXPECT_EQ(repaired, Expected(stream, first));
    EXPECT_TRUE(std::equal(stream.begin(), stream.begin() + units[2].start, repaired.begin()));
    EXPECT_TRUE(Repaired(stream, 0).empty());
    EXPECT_EQ(Repaired(stream, 3), Bytes(stream.begin(), stream.begin() + 3));
}

TEST(TailRepair, FailedClosingWriteLeavesTheStreamCutAfterItsLastPacket)
{
    const Bytes stream = LoadStream("mpeg2.mpg");
    ASSERT_FALSE(stream.empty());
    const uint64_t cut = MidPacketCuts(stream).back();
    MemoryTailFile file(Bytes(stream.begin(), stream.begin() + cut));
    file.failWrites = true;
    uint64_t length = cut;
    RepairProgramStreamTail(file, length);
    const Bytes expected = Expected(stream, cut);
    const uint64_t packetsEnd = expected.size() - 14 - 17;  // less pack header and closing bytes
    EXPECT_EQ(length, packetsEnd);
}

TEST(TailRepair, ForgedHeaderInPayloadDoesNotHideThePacket)
{
    // An MPEG-2 video packet whose length claims less than its header: not a packet.
    Bytes bytes = {0, 0, 1, 0xE0, 0x00, 0x00, 0x81, 0x00, 0x00};
    EXPECT_EQ(Repaired(bytes, bytes.size()), bytes);
}
