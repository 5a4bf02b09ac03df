// The toolkit's rules on plain values: examination order, ordinals, mediums, DirectX versions.
#include "DirectXDownload.h"
#include "DirectXVersion.h"
#include "MediaGraph.h"
#include "MediumMatch.h"
#include "PinFinders.h"
#include "Trace.h"
#include "VideoSources.h"

#include <errors.h>
#include <gtest/gtest.h>
#include <vfwmsgs.h>

#include <cstring>
#include <map>
#include <string>

using namespace media;

TEST(ExaminationOrder, LastEnumeratedFirst)
{
    EXPECT_EQ(ExaminationOrder(3), (std::vector<int>{2, 1, 0}));
    EXPECT_TRUE(ExaminationOrder(0).empty());
}

TEST(PickByOrdinal, CountsOnlyPinsOfTheDirection)
{
    // An infinite tee: input, two connected outputs, one free output enumerated last.
    const std::vector<PIN_DIRECTION> tee = {PINDIR_INPUT, PINDIR_OUTPUT, PINDIR_OUTPUT, PINDIR_OUTPUT};
    EXPECT_EQ(PickByOrdinal(tee, PINDIR_OUTPUT, 0), 3);
    EXPECT_EQ(PickByOrdinal(tee, PINDIR_OUTPUT, 1), 2);
    EXPECT_EQ(PickByOrdinal(tee, PINDIR_OUTPUT, 2), 1);
    EXPECT_EQ(PickByOrdinal(tee, PINDIR_OUTPUT, 3), -1);
    EXPECT_EQ(PickByOrdinal(tee, PINDIR_INPUT, 0), 0);
    EXPECT_EQ(PickByOrdinal(tee, PINDIR_INPUT, 1), -1);
    EXPECT_EQ(PickByOrdinal({}, PINDIR_OUTPUT, 0), -1);
}

namespace {
const GUID kSetA = {0x11111111, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kSetB = {0x22222222, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
const GUID kStandard = {0x4747B320, 0x62CE, 0x11CF, {0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00}};
const GUID kVideo = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
const GUID kAudio = {0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}  // namespace

TEST(Mediums, OnlyMeaningfulSetsMatch)
{
    EXPECT_TRUE(MediumsMatch({kSetB, kSetA}, {kSetA}));
    EXPECT_FALSE(MediumsMatch({kSetA}, {kSetB}));
    EXPECT_FALSE(MediumsMatch({kStandard}, {kStandard})) << "the standard set says nothing";
    EXPECT_FALSE(MediumsMatch({GUID_NULL}, {GUID_NULL}));
    EXPECT_FALSE(MediumsMatch({kSetA}, {}));
    EXPECT_EQ(MeaningfulMediumSets({GUID_NULL, kSetA, kStandard}).size(), 1u);
}

TEST(Mediums, TypesMatchOnMajorAndSubType)
{
    EXPECT_TRUE(TypesMatch({{kVideo, kSetA}}, {{kAudio, kSetA}, {kVideo, kSetA}}));
    EXPECT_FALSE(TypesMatch({{kVideo, kSetA}}, {{kVideo, kSetB}})) << "sub-type differs";
    EXPECT_TRUE(TypesMatch({}, {{kVideo, kSetB}})) << "a pin without types matches anything";
    EXPECT_TRUE(TypesMatch({{kVideo, kSetB}}, {}));
}

TEST(RotName, GraphPointerAndProcess)
{
    EXPECT_EQ(RotItemName(reinterpret_cast<void*>(0x1234ABCD), 0x42), L"FilterGraph 1234abcd pid 00000042");
}

TEST(DirectXVersion, PackingAndText)
{
    EXPECT_EQ(PackDirectXVersion(9, 0, 'c'), 0x90003u);
    EXPECT_EQ(DirectXVersionText(PackDirectXVersion(9, 0, 'c')), "9.0c");
    EXPECT_EQ(DirectXVersionText(PackDirectXVersion(8, 1, 0)), "8.1");
    EXPECT_EQ(DirectXVersionText(PackDirectXVersion(8, 1, ' ')), "8.1") << "blank letter means none";
}

TEST(DirectXVersion, EightPointOneIsNotEnough)
{
    EXPECT_FALSE(IsDirectX9OrLater(PackDirectXVersion(8, 1, 0)));
    EXPECT_FALSE(IsDirectX9OrLater(PackDirectXVersion(8, 1, 'b')));
    EXPECT_TRUE(IsDirectX9OrLater(PackDirectXVersion(9, 0, 0)));
    EXPECT_TRUE(IsDirectX9OrLater(PackDirectXVersion(10, 0, 0)));
}

namespace {
std::map<std::string, FileVersion> g_files;
FileVersion FakeReader(const char* name)
{
    auto it = g_files.find(name);
    return it == g_files.end() ? FileVersion{} : it->second;
}
constexpr DWORD Ver(DWORD a, DWORD b) { return (a << 16) | b; }
}  // namespace

TEST(DirectXVersion, FileFallbackLaterHitsOverride)
{
    g_files.clear();
    EXPECT_EQ(DirectXVersionFromFiles(FakeReader), 0u) << "no DirectX files at all";
    g_files["\\ddraw.dll"] = {Ver(4, 7), Ver(0, 700), true};
    EXPECT_EQ(DirectXVersionFromFiles(FakeReader), PackDirectXVersion(7, 0, 0));
    g_files["\\d3d8.dll"] = {Ver(4, 8), Ver(1, 881), true};
    g_files["\\ddraw.dll"] = {Ver(4, 8), Ver(0, 400), true};
    EXPECT_EQ(DirectXVersionFromFiles(FakeReader), PackDirectXVersion(8, 1, 0));
    g_files["\\d3d9.dll"] = {0, 0, true};
    EXPECT_EQ(DirectXVersionFromFiles(FakeReader), PackDirectXVersion(9, 0, 0)) << "presence alone means 9";
}

TEST(DirectXDownload, MessageJoinsTheTwoTexts)
{
    const DirectXDownloadTexts t{"Needs DirectX 9.", "Download it now?", "http://example.invalid/dx", "Marovin"};
    EXPECT_EQ(DirectXOfferMessage(t), "Needs DirectX 9.\r\n\r\nDownload it now?");
}

TEST(VideoSources, CrossbarInputsInTheProgramsOrder)
{
    // A card with every input: tuner, composite, S-Video, composite 2, S-Video 2, AUX, component.
    const std::vector<long> all = {PhysConn_Video_Tuner,     PhysConn_Video_Composite, PhysConn_Video_SVideo,
                                   PhysConn_Video_Composite, PhysConn_Video_SVideo,    PhysConn_Video_AUX,
                                   PhysConn_Video_YRYBY,     PhysConn_Audio_Tuner,     PhysConn_Audio_Line};
    const VideoSourceList list = VideoSourcesFromInputs(all);
    ASSERT_EQ(list.count, 7);
    const int expected[] = {0, 1, 2, 2, 4, 3, 5};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(list.sources[static_cast<size_t>(i)], expected[i]) << i;
    for (int i = 7; i < kMaxVideoSources; ++i)
        EXPECT_EQ(list.sources[static_cast<size_t>(i)], -1);

    const VideoSourceList tunerOnly = VideoSourcesFromInputs({PhysConn_Video_Tuner, PhysConn_Audio_Tuner});
    ASSERT_EQ(tunerOnly.count, 1);
    EXPECT_EQ(tunerOnly.sources[0], 3);

    const VideoSourceList threeComposite =
        VideoSourcesFromInputs({PhysConn_Video_Composite, PhysConn_Video_Composite, PhysConn_Video_Composite});
    ASSERT_EQ(threeComposite.count, 2) << "only the first two composite inputs have a source";
    EXPECT_EQ(threeComposite.sources[1], 2);
}

TEST(VideoSources, NothingFoundGivesSVideoAndComposite)
{
    for (const std::vector<long>& inputs : {std::vector<long>{}, std::vector<long>{PhysConn_Audio_Line}}) {
        const VideoSourceList list = VideoSourcesFromInputs(inputs);
        ASSERT_EQ(list.count, 2);
        EXPECT_EQ(list.sources[0], 0);
        EXPECT_EQ(list.sources[1], 1);
        EXPECT_EQ(list.sources[2], -1);
    }
    VideoSourceList fromNothing;
    EXPECT_TRUE(FAILED(ListVideoSources(nullptr, &fromNothing)));
    EXPECT_EQ(fromNothing.count, 2);
    EXPECT_EQ(ListVideoSources(nullptr, nullptr), E_POINTER);
}

TEST(VideoSources, NameTexts)
{
    const int expected[] = {3002, 3003, 3004, 3005, 3010, 3053};
    for (int source = 0; source < 6; ++source)
        EXPECT_EQ(VideoSourceNameText(source), expected[source]);
    EXPECT_EQ(VideoSourceNameText(-1), 0);
    EXPECT_EQ(VideoSourceNameText(6), 0);
}

// The error texts' library is not loaded with the program: the first failure to trace loads it.
TEST(TraceFailure, LoadsTheErrorTextsAtTheFirstFailure)
{
    EXPECT_EQ(GetModuleHandleA("quartz.dll"), nullptr) << "quartz.dll came with the program";
    EXPECT_EQ(media::TraceFailure("probe", VFW_E_NOT_CONNECTED), VFW_E_NOT_CONNECTED);
    EXPECT_NE(GetModuleHandleA("quartz.dll"), nullptr);
    char text[161] = "";
    AMGetErrorTextA(VFW_E_NOT_CONNECTED, text, sizeof text);
    EXPECT_GT(strlen(text), 0u);
}
