// Recovering the file of a run that never ended: zeros past the data go, the stream ends on a
// whole picture and whole audio frames; a file that is not a program stream is not touched.
#include "MpegAudioFrame.h"
#include "ProgramStreamWalk.h"
#include "RunRecovery.h"
#include "TestSupport.h"
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace scrivet;
using namespace scrivet::test;

namespace {

using Bytes = std::vector<uint8_t>;


std::wstring Save(const std::string& name, const Bytes& bytes)
{
    const std::string path = testsupport::OutputDir() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return std::wstring(path.begin(), path.end());
}

TEST(MpegAudioFrame, LengthsOfTheCommonLayersAndRatesAndWhatIsNotAHeader)
{
    const struct {
        uint8_t header[4];
        uint32_t length;
    } cases[] = {
        {{0xFF, 0xFD, 0xA4, 0x00}, 576},   // MPEG-1 layer II, 192 kbit/s, 48 kHz
        {{0xFF, 0xFD, 0xB4, 0x00}, 672},   // 224 kbit/s, 48 kHz
        {{0xFF, 0xFD, 0xB0, 0x00}, 731},   // 224 kbit/s, 44.1 kHz
        {{0xFF, 0xFD, 0xB2, 0x00}, 732},   // the same, padded
        {{0xFF, 0xFD, 0xA8, 0x00}, 864},   // 192 kbit/s, 32 kHz
        {{0xFF, 0xFB, 0x90, 0x00}, 417},   // MPEG-1 layer III, 128 kbit/s, 44.1 kHz
        {{0xFF, 0xF3, 0x80, 0x00}, 208},   // MPEG-2 layer III, 64 kbit/s, 22.05 kHz
        {{0xFF, 0xFF, 0xA4, 0x00}, 320},   // MPEG-1 layer I, 320 kbit/s, 48 kHz
        {{0xFF, 0xFD, 0x04, 0x00}, 0},     // free format
        {{0xFF, 0xFD, 0xF4, 0x00}, 0},     // bad bit rate
        {{0xFF, 0xFD, 0xAC, 0x00}, 0},     // reserved sample rate
        {{0xFF, 0xF9, 0xA4, 0x00}, 0},     // reserved layer
        {{0xFF, 0xED, 0xA4, 0x00}, 0},     // reserved version
        {{0x00, 0x00, 0x01, 0xBA}, 0},     // a start code
    };
    for (const auto& c : cases)
        EXPECT_EQ(MpegAudioFrameLength(c.header), c.length) << std::hex << int(c.header[1]) << " " << int(c.header[2]);
}

TEST(RunRecovery, MissingAndForeignFilesAreLeftAlone)
{
    const Recovery missing = RecoverRunFile(L"Z:\\no\\such\\folder\\clip1.mpg");
    EXPECT_EQ(missing.outcome, Recovery::kMissing);

    const Bytes text(70000, 'a');
    const std::wstring foreign = Save("recovery_foreign.mpg", text);
    const Recovery notStream = RecoverRunFile(foreign);
    EXPECT_EQ(notStream.outcome, Recovery::kNotAStream);
    EXPECT_EQ(ReadWholeFile(std::string(foreign.begin(), foreign.end())), Bytes(text.begin(), text.end()));
}

TEST(RunRecovery, ZerosPastTheDataGoAndTheStreamEndsOnAWholePictureAndWholeAudioFrames)
{
    for (const char* name : {"mpeg1.mpg", "mpeg2.mpg"}) {
        SCOPED_TRACE(name);
        const Bytes stream = LoadStream(name);
        ASSERT_GT(stream.size(), 100000u);
        // A run that died mid-packet, its file extended by 64 KiB of zeros.
        const std::vector<StreamUnit> units = WalkProgramStream(stream);
        const StreamUnit& cutInside = units[units.size() * 3 / 4];
        Bytes file(stream.begin(), stream.begin() + (cutInside.start + cutInside.end) / 2);
        file.resize(file.size() + 65536, 0);
        const std::wstring path = Save(std::string("recovery_") + name, file);
        const Recovery r = RecoverRunFile(path);
        ASSERT_EQ(r.outcome, Recovery::kRecovered);
        const Bytes recovered = ReadWholeFile(std::string(path.begin(), path.end()));
        ASSERT_EQ(recovered.size(), r.length);
        ASSERT_GT(r.length, file.size() / 2);
        EXPECT_EQ(Bytes(recovered.end() - 4, recovered.end()), (Bytes{0, 0, 1, 0xB9}));
        // Every packet of the result is whole, up to the end code.
        const std::vector<StreamUnit> walked = WalkProgramStream(recovered);
        ASSERT_FALSE(walked.empty());
        EXPECT_EQ(walked.back().end + 4, recovered.size()) << "the walk reaches the end code";
        // A stream that already ends is not cut again.
        const Recovery again = RecoverRunFile(path);
        EXPECT_EQ(again.outcome, Recovery::kRecovered);
        EXPECT_EQ(again.length, recovered.size());
        EXPECT_EQ(ReadWholeFile(std::string(path.begin(), path.end())), recovered);
    }
}

}  // namespace
