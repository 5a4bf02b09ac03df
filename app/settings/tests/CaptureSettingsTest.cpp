// Loading and saving the capture settings record against a private registry root.
#include <gtest/gtest.h>

#include <optional>

#include "CaptureSettings.h"
#include "RegistryFixture.h"

namespace {

using settings::CaptureSettings;
using settings::kNoLimit;

class CaptureSettingsTest : public settingstest::RegistryFixture {
protected:
    CaptureSettings LoadAll()
    {
        const auto store = Store();
        CaptureSettings record;
        record.LoadCaptureSection(store);
        record.LoadDeviceValues(store);
        record.LoadCustomSelection(store);
        record.LoadWindowValues(store);
        return record;
    }
};

const char* const kCaptureValues[] = {
    "Capture", "SetupMode", "FileName", "RecordingFolder", "AutoRecord", "EmailBitrate",
    "NormalBitrate", "SVCDBitrate", "DVDBitrate", "Source", "SetTimeHour", "SetTimeMin",
    "SetTimeSec", "StopTime", "QualityMPEG1", "QualityMPEG2", "Decoder", "Decoder1",
    "OverlayMixer", "Tee", "AudioLevel", "Mute", "RenderAudio", "DVDControl", "SVCDControl",
    "VCDControl", "ForceCBR", "StopNoVideoSec", "SeparateAudioVideo", "AudioFormatSaveWAV",
    "bmsma", "FileSizeLimitLo", "FileSizeLimitHi", "CustomFileSizeLimitLo",
    "CustomFileSizeLimitHi", "DemuxMPEG2", "DemuxMPEG1", "Last VidStd", "DeviceName",
    "NTSC Std", "PAL Std", "SECAM Std", "MaxBitRateFromDriver", "AudioBitrateDVD", "PlayLoop",
    "DisplayDataLossWarnings", "StillPicFolder"};

TEST_F(CaptureSettingsTest, EmptyRegistryGetsEveryValueWithItsDefault)
{
    const CaptureSettings record = LoadAll();

    for (const char* name : kCaptureValues)
        EXPECT_TRUE(ValueType("Capture", name).has_value()) << name;
    EXPECT_FALSE(ValueType("Capture", "VarBitrateSVCD").has_value());
    EXPECT_FALSE(ValueType("Capture", "VarBitrateDVD").has_value());
    EXPECT_EQ(ValueType("Capture", "RecordingFolder"), DWORD{REG_SZ});
    EXPECT_EQ(ValueType("Capture", "SetupMode"), DWORD{REG_DWORD});

    for (int i = 0; i < 5; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_TRUE(ValueType("Decoder", ("DecoderCLSID" + n).c_str())) << n;
        EXPECT_TRUE(ValueType("Decoder", ("DecoderFilterName" + n).c_str())) << n;
    }
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_TRUE(ValueType("Decoder", ("Decoder1CLSID" + n).c_str())) << n;
        EXPECT_TRUE(ValueType("Demux", ("DemuxMPEG2CLSID" + n).c_str())) << n;
        EXPECT_TRUE(ValueType("Demux", ("DemuxMPEG1FilterName" + n).c_str())) << n;
    }
    EXPECT_EQ(ValueType("Custom", "selected"), DWORD{REG_SZ});
    EXPECT_EQ(Store().GetString("Custom", "selected", "x"), "");

    const auto store = Store();
    EXPECT_EQ(store.GetInt("Capture", "NormalBitrate", 0), 5000000);
    EXPECT_EQ(store.GetInt("Capture", "SetTimeMin", 0), 10);
    EXPECT_EQ(store.GetInt("Capture", "AudioBitrateDVD", 0), 224);
    EXPECT_EQ(store.GetString("Decoder", "DecoderFilterName2", ""), "Corvale MPEG 1 n 2 Decoder");
    EXPECT_EQ(store.GetString("Demux", "DemuxMPEG1CLSID1", ""),
              "{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}");
    EXPECT_EQ(record.decoder, 2);
    EXPECT_EQ(record.demuxMpeg1, 1);
    EXPECT_TRUE(record.forceCbr);
    EXPECT_FALSE(record.autoRecord);
    EXPECT_EQ(record.fileSizeLimit, kNoLimit);
    EXPECT_EQ(record.filters.mpeg1Decoders.at(0).name, "MPEG Video Decoder");
    EXPECT_EQ(record.filters.mpeg2Decoders.size(), 5u);
    EXPECT_EQ(record.filters.mpeg2Decoders.at(4).clsid, "");
}

TEST_F(CaptureSettingsTest, StoredValuesAreKeptAndFlagsAreTrueOnlyForOne)
{
    const auto store = Store();
    store.WriteInt("Capture", "NormalBitrate", 6000000);
    store.WriteInt("Capture", "AutoRecord", 2);
    store.WriteInt("Capture", "ForceCBR", 0);
    store.WriteInt("Capture", "bmsma", 1);
    store.WriteInt("Capture", "Tee", 0);
    store.WriteString("Capture", "RecordingFolder", "C:\\clips\\");

    const CaptureSettings record = LoadAll();
    EXPECT_EQ(record.normalBitrate, 6000000);
    EXPECT_FALSE(record.autoRecord);
    EXPECT_EQ(store.GetInt("Capture", "AutoRecord", 0), 2);
    EXPECT_FALSE(record.forceCbr);
    EXPECT_TRUE(record.bmsma);
    EXPECT_EQ(record.tee, 0);
    EXPECT_EQ(record.teeSecond, 0);
    EXPECT_EQ(record.stillPicFolder, "C:\\clips\\");
    EXPECT_EQ(store.GetString("Capture", "StillPicFolder", ""), "C:\\clips\\");
}

TEST_F(CaptureSettingsTest, WrongTypesAndSizesTakeTheDefaultAndAreRepaired)
{
    WriteRaw("Capture", "SetupMode", REG_SZ, "3", 2);
    const WORD shortWord = 7;
    WriteRaw("Capture", "SVCDBitrate", REG_DWORD, &shortWord, sizeof shortWord);
    const DWORD number = 12;
    WriteRaw("Capture", "RecordingFolder", REG_DWORD, &number, sizeof number);
    const BYTE binary[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    WriteRaw("Capture", "FileSizeLimitHi", REG_BINARY, binary, sizeof binary);

    const CaptureSettings record = LoadAll();
    EXPECT_EQ(record.setupMode, 2);
    EXPECT_EQ(record.svcdBitrate, 2200000);
    EXPECT_EQ(record.recordingFolder, "");
    EXPECT_EQ(record.fileSizeLimit, kNoLimit);
    EXPECT_EQ(ValueType("Capture", "SetupMode"), DWORD{REG_DWORD});
    EXPECT_EQ(Store().GetInt("Capture", "SVCDBitrate", 0), 2200000);
    EXPECT_EQ(ValueType("Capture", "RecordingFolder"), DWORD{REG_SZ});
    EXPECT_EQ(ValueType("Capture", "FileSizeLimitHi"), DWORD{REG_DWORD});
}

TEST_F(CaptureSettingsTest, BrokenNoLimitLoadsAsNoLimitAndRewritesTheLowWord)
{
    const auto store = Store();
    store.WriteInt("Capture", "FileSizeLimitHi", -1);
    store.WriteInt("Capture", "FileSizeLimitLo", 5);
    store.WriteInt("Capture", "CustomFileSizeLimitHi", 1);
    store.WriteInt("Capture", "CustomFileSizeLimitLo", 5);

    const CaptureSettings record = LoadAll();
    EXPECT_EQ(record.fileSizeLimit, kNoLimit);
    EXPECT_EQ(store.GetInt("Capture", "FileSizeLimitLo", 0), -1);
    EXPECT_EQ(record.customFileSizeLimit, (std::uint64_t{1} << 32) + 5);
    EXPECT_EQ(store.GetInt("Capture", "CustomFileSizeLimitLo", 0), 5);
}

TEST_F(CaptureSettingsTest, SavingWithoutFixedLimitKeepsNoLimitAndTheCustomSizeTakesTheFreeSpace)
{
    CaptureSettings record = LoadAll();
    record.customFileSizeLimit = 0;
    const std::uint64_t freeSpace = (std::uint64_t{3} << 32) + 0x1234;
    record.Save(Store(), freeSpace);

    // A free space measured now must not become the limit of a later recording.
    const auto store = Store();
    EXPECT_EQ(record.fileSizeLimit, kNoLimit);
    EXPECT_EQ(record.customFileSizeLimit, freeSpace);
    EXPECT_EQ(store.GetInt("Capture", "FileSizeLimitHi", 0), -1);
    EXPECT_EQ(store.GetInt("Capture", "FileSizeLimitLo", 0), -1);
    EXPECT_EQ(store.GetInt("Capture", "CustomFileSizeLimitHi", 0), 3);
    EXPECT_EQ(store.GetInt("Capture", "CustomFileSizeLimitLo", 0), 0x1234);
    EXPECT_EQ(store.GetInt("Capture", "VarBitrateSVCD", -5), 0);

    CaptureSettings reloaded = LoadAll();
    EXPECT_EQ(reloaded.fileSizeLimit, kNoLimit);
    EXPECT_EQ(reloaded.customFileSizeLimit, freeSpace);
}

TEST_F(CaptureSettingsTest, SavingAFixedLimitKeepsItAsItIs)
{
    CaptureSettings record = LoadAll();
    record.fileSizeLimit = 4700000000ull;
    record.Save(Store(), 1000);
    EXPECT_EQ(record.fileSizeLimit, 4700000000ull);
    EXPECT_EQ(Store().GetInt("Capture", "FileSizeLimitHi", 0), 1);
    EXPECT_EQ(LoadAll().fileSizeLimit, 4700000000ull);
}

TEST_F(CaptureSettingsTest, SavingWithUnmeasurableFolderKeepsNoLimit)
{
    CaptureSettings record = LoadAll();
    record.Save(Store(), 0);
    EXPECT_EQ(record.fileSizeLimit, kNoLimit);
    EXPECT_EQ(LoadAll().fileSizeLimit, kNoLimit);
}

TEST_F(CaptureSettingsTest, SaveWritesTheRecordAndReReadsTheDemultiplexerIndexes)
{
    CaptureSettings record = LoadAll();
    record.audioLevel = 77;
    record.recordingFolder = "D:\\rec\\";
    record.autoRecord = true;
    record.stopTime = 2;
    record.demuxMpeg2 = 9;
    Store().WriteInt("Capture", "DemuxMPEG2", 2);
    record.Save(Store(), 1000);

    const auto store = Store();
    EXPECT_EQ(store.GetInt("Capture", "AudioLevel", 0), 77);
    EXPECT_EQ(store.GetString("Capture", "RecordingFolder", ""), "D:\\rec\\");
    EXPECT_EQ(store.GetInt("Capture", "AutoRecord", 0), 1);
    EXPECT_EQ(store.GetInt("Capture", "StopTime", 0), 2);
    EXPECT_EQ(record.demuxMpeg2, 2);
}

TEST_F(CaptureSettingsTest, CustomTemplateLoadsOnlyInModeThreeWithASelectedName)
{
    const auto store = Store();
    store.WriteInt("Custom\\Mine", "BitRate", 3000000);
    store.WriteInt("Custom\\Mine", "CaptureMode", 4);

    store.WriteInt("Capture", "SetupMode", 2);
    store.WriteString("Custom", "selected", "Mine");
    EXPECT_EQ(LoadAll().custom.bitRate, 0);

    store.WriteInt("Capture", "SetupMode", 3);
    store.WriteString("Custom", "selected", "");
    EXPECT_EQ(LoadAll().custom.bitRate, 0);

    store.WriteString("Custom", "selected", "Mine");
    const CaptureSettings record = LoadAll();
    EXPECT_EQ(record.custom.bitRate, 3000000);
    EXPECT_EQ(record.custom.captureMode, 4);
    EXPECT_EQ(record.custom.audSamplingFreq, 48000);
    EXPECT_EQ(store.GetInt("Custom\\Mine", "AudSamplingFreq", 0), 48000);
    EXPECT_EQ(record.templateSection, "Custom\\Mine");
}

TEST_F(CaptureSettingsTest, TemplateStoreIsSavedInModeThree)
{
    CaptureSettings record = LoadAll();
    record.setupMode = 3;
    record.selectedTemplate = "Fast";
    record.templateNames = {"Fast", "Slow"};
    record.custom.peakBitRate = 8000000;
    record.Save(Store(), 1000);

    const auto store = Store();
    EXPECT_EQ(store.GetString("Custom", "selected", ""), "Fast");
    EXPECT_EQ(store.GetString("Custom", "templates", ""), "Fast;Slow;");
    EXPECT_EQ(store.GetInt("Custom\\Fast", "PeakBitRate", 0), 8000000);
    EXPECT_EQ(store.GetInt("Custom\\Fast", "3-2PullDown", -1), 0);
    EXPECT_EQ(LoadAll().templateNames, (std::vector<std::string>{"Fast", "Slow"}));
}

TEST_F(CaptureSettingsTest, LowAudioCapabilityForcesMpeg2FullWidthWithoutWriting)
{
    CaptureSettings record = LoadAll();
    record.custom.captureMode = 1;
    record.custom.horzResolution = 352;
    record.ApplyAudioCapability(48000);
    EXPECT_EQ(record.custom.captureMode, 1);
    record.ApplyAudioCapability(32000);
    EXPECT_EQ(record.custom.captureMode, 2);
    EXPECT_EQ(record.custom.horzResolution, 720);
}

TEST(CaptureSettingsLimits, TheDriversBitRateOrTheBusCapsTheRates)
{
    struct Case {
        const char* name;
        int fromDriver;
        std::optional<uint32_t> driverMax;
        uint32_t bus;
        int dvd, customRate;
        int expectedDvd, expectedCustom;
    } cases[] = {
        {"driver caps both", 1, 6000000u, 15000000, 8000000, 9000000, 6000000, 6000000},
        {"driver above both", 1, 9800000u, 15000000, 8000000, 9000000, 8000000, 9000000},
        {"bus caps the DVD rate only", 0, 6000000u, 6500000, 8000000, 9000000, 6500000, 9000000},
        {"bus above the rate", 0, 6000000u, 15000000, 8000000, 9000000, 8000000, 9000000},
        {"driver not read: nothing changes", 1, std::nullopt, 6500000, 8000000, 9000000, 8000000, 9000000},
        {"unset custom rate stays unset", 1, 6000000u, 15000000, 4000000, 0, 4000000, 0},
    };
    for (const Case& c : cases) {
        settings::CaptureSettings s;
        s.maxBitRateFromDriver = c.fromDriver;
        s.dvdBitrate = c.dvd;
        s.custom.bitRate = c.customRate;
        const bool changed = s.ApplyDriverBitRateLimit(c.driverMax, c.bus);
        EXPECT_EQ(s.dvdBitrate, c.expectedDvd) << c.name;
        EXPECT_EQ(s.custom.bitRate, c.expectedCustom) << c.name;
        EXPECT_EQ(changed, c.dvd != c.expectedDvd || c.customRate != c.expectedCustom) << c.name;
    }
}

TEST_F(CaptureSettingsTest, DeviceSelectionWritesTheNameAndTheEncoderRule)
{
    CaptureSettings record = LoadAll();
    record.SelectDevice(Store(), "Corvale Kalvero PCI Device #2");
    EXPECT_EQ(record.encoderFilterName, "Corvale Kalvero PCI Encoder");
    EXPECT_EQ(Store().GetString("Capture", "DeviceName", ""), "Corvale Kalvero PCI Device #2");
    record.SelectDevice(Store(), "USB Box");
    EXPECT_EQ(record.encoderFilterName, "");
}

TEST(DeviceChoice, SameNameThenPrefixThenNone)
{
    const std::vector<std::string> names = {"Box A", "Card", "Card B"};
    EXPECT_EQ(settings::FindStoredDevice(names, "Card B"), 2);
    EXPECT_EQ(settings::FindStoredDevice(names, "Card B (2)"), 1);
    EXPECT_EQ(settings::FindStoredDevice(names, "Other"), -1);
    EXPECT_EQ(settings::FindStoredDevice({}, "Card"), -1);
    EXPECT_EQ(settings::FindStoredDevice(names, ""), -1);
    EXPECT_EQ(settings::EncoderFilterNameFor("Corvale Kalvero PCI"), "");
}

}  // namespace
