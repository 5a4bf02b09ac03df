#include "CaptureSettings.h"

#include <windows.h>

namespace settings {
namespace {

constexpr char kCapture[] = "Capture";
constexpr char kKalveroDevice[] = "Corvale Kalvero PCI Device";
constexpr char kKalveroEncoder[] = "Corvale Kalvero PCI Encoder";

int Read(const framework::ProfileStore& store, const char* entry, int defaultValue)
{
    return ReadInt(store, kCapture, entry, defaultValue);
}

}  // namespace

void CaptureSettings::LoadCaptureSection(const framework::ProfileStore& store)
{
    capture = Read(store, "Capture", 2);
    setupMode = Read(store, "SetupMode", 2);
    fileName = Read(store, "FileName", 0);
    recordingFolder = ReadString(store, kCapture, "RecordingFolder", "");
    autoRecord = Read(store, "AutoRecord", 0) == 1;
    emailBitrate = Read(store, "EmailBitrate", 512000);
    normalBitrate = Read(store, "NormalBitrate", 5000000);
    svcdBitrate = Read(store, "SVCDBitrate", 2200000);
    dvdBitrate = Read(store, "DVDBitrate", 4000000);
    source = Read(store, "Source", 0);
    setTimeHour = Read(store, "SetTimeHour", 0);
    setTimeMin = Read(store, "SetTimeMin", 10);
    setTimeSec = Read(store, "SetTimeSec", 0);
    stopTime = Read(store, "StopTime", 1);
    qualityMpeg1 = Read(store, "QualityMPEG1", 0);
    qualityMpeg2 = Read(store, "QualityMPEG2", 1);
    decoder = Read(store, "Decoder", 2);
    decoder1 = Read(store, "Decoder1", 2);
    overlayMixer = Read(store, "OverlayMixer", 1);
    tee = Read(store, "Tee", 1);
    teeSecond = Read(store, "Tee", 1);
    audioLevel = Read(store, "AudioLevel", 50);
    mute = Read(store, "Mute", 0);
    renderAudio = Read(store, "RenderAudio", 1);
    dvdControl = Read(store, "DVDControl", 1);
    svcdControl = Read(store, "SVCDControl", 1);
    vcdControl = Read(store, "VCDControl", 1);
    forceCbr = Read(store, "ForceCBR", 1) == 1;
    stopNoVideoSec = Read(store, "StopNoVideoSec", 10);
    separateAudioVideo = Read(store, "SeparateAudioVideo", 0);
    audioFormatSaveWav = Read(store, "AudioFormatSaveWAV", 1);
    bmsma = Read(store, "bmsma", 0) == 1;
    fileSizeLimit = ReadLimit(store, kCapture, "FileSizeLimit");
    customFileSizeLimit = ReadLimit(store, kCapture, "CustomFileSizeLimit");
    demuxMpeg2 = Read(store, "DemuxMPEG2", 0);
    demuxMpeg1 = Read(store, "DemuxMPEG1", 1);
    filters.Load(store);
}

void CaptureSettings::LoadDeviceValues(const framework::ProfileStore& store)
{
    lastVidStd = Read(store, "Last VidStd", 1);
    deviceName = ReadString(store, kCapture, "DeviceName", "");
}

void CaptureSettings::LoadCustomSelection(const framework::ProfileStore& store)
{
    selectedTemplate = ReadString(store, "Custom", "selected", "");
    templateNames = SplitTemplateNames(store.GetString("Custom", "templates", ""));
    templateSection = selectedTemplate.empty() ? std::string() : TemplateSection(selectedTemplate);
    if (!selectedTemplate.empty() && setupMode == 3)
        LoadCustomTemplate(store, selectedTemplate, custom);
}

void CaptureSettings::ApplyAudioCapability(std::optional<int> maxSamplingFrequency)
{
    if (maxSamplingFrequency && *maxSamplingFrequency < 41000) {
        custom.captureMode = 2;
        custom.horzResolution = 720;
    }
}

bool CaptureSettings::ApplyDriverBitRateLimit(std::optional<uint32_t> driverMaximum, uint32_t busLimit)
{
    if (!driverMaximum)
        return false;
    auto cap = [](int& value, uint32_t limit) {
        if (value <= 0 || static_cast<uint32_t>(value) <= limit)
            return false;
        value = static_cast<int>(limit);
        return true;
    };
    if (maxBitRateFromDriver == 1) {
        const bool dvd = cap(dvdBitrate, *driverMaximum);
        const bool custom = cap(this->custom.bitRate, *driverMaximum);
        return dvd || custom;
    }
    return cap(dvdBitrate, busLimit);
}

void CaptureSettings::LoadWindowValues(const framework::ProfileStore& store)
{
    ntscStd = Read(store, "NTSC Std", 0);
    palStd = Read(store, "PAL Std", 0);
    secamStd = Read(store, "SECAM Std", 0);
    maxBitRateFromDriver = Read(store, "MaxBitRateFromDriver", 0);
    audioBitrateDvd = Read(store, "AudioBitrateDVD", 224);
    playLoop = Read(store, "PlayLoop", 1);
    displayDataLossWarnings = Read(store, "DisplayDataLossWarnings", 0);
    stillPicFolder = ReadString(store, kCapture, "StillPicFolder", recordingFolder);
}

void CaptureSettings::Save(const framework::ProfileStore& store, std::uint64_t folderFreeSpace)
{
    const auto write = [&store](const char* entry, int value) {
        store.WriteInt(kCapture, entry, value);
    };
    write("AudioLevel", audioLevel);
    write("Mute", mute);
    write("Source", source);
    write("Last VidStd", lastVidStd);
    store.WriteString(kCapture, "RecordingFolder", recordingFolder.c_str());
    write("AutoRecord", autoRecord ? 1 : 0);
    write("Capture", capture);
    write("SetupMode", setupMode);
    write("FileName", fileName);
    write("EmailBitrate", emailBitrate);
    write("NormalBitrate", normalBitrate);
    write("SVCDBitrate", svcdBitrate);
    write("DVDBitrate", dvdBitrate);
    write("VarBitrateSVCD", varBitrateSvcd);
    write("VarBitrateDVD", varBitrateDvd);
    write("QualityMPEG1", qualityMpeg1);
    write("QualityMPEG2", qualityMpeg2);
    write("SeparateAudioVideo", separateAudioVideo);
    write("AudioFormatSaveWAV", audioFormatSaveWav);
    write("bmsma", bmsma ? 1 : 0);
    write("ForceCBR", forceCbr ? 1 : 0);
    write("StopNoVideoSec", stopNoVideoSec);
    write("SetTimeHour", setTimeHour);
    write("SetTimeMin", setTimeMin);
    write("SetTimeSec", setTimeSec);
    write("StopTime", stopTime);

    // "No fixed limit" stays all ones: the writer stops at the free space of the moment by
    // itself, whereas a figure measured now would stop a later recording early, or at once on
    // a fuller disk. The custom size, which the page shows as a number, takes the free space.
    // An unmeasurable folder (no folder yet, or gone) leaves it as it is: a limit of 0 would
    // stop every recording at its first byte.
    freeSpace = folderFreeSpace;
    if (folderFreeSpace != 0 && (customFileSizeLimit == kNoLimit || customFileSizeLimit == 0))
        customFileSizeLimit = folderFreeSpace;
    WriteLimit(store, kCapture, "FileSizeLimit", fileSizeLimit);
    WriteLimit(store, kCapture, "CustomFileSizeLimit", customFileSizeLimit);

    demuxMpeg2 = Read(store, "DemuxMPEG2", 0);
    demuxMpeg1 = Read(store, "DemuxMPEG1", 1);
    if (setupMode == 3)
        SaveTemplateStore(store, selectedTemplate, templateNames, custom);
}

void CaptureSettings::SelectDevice(const framework::ProfileStore& store, const std::string& name)
{
    deviceName = name;
    store.WriteString(kCapture, "DeviceName", name.c_str());
    encoderFilterName = EncoderFilterNameFor(name);
}

std::string EncoderFilterNameFor(const std::string& deviceName)
{
    return deviceName.rfind(kKalveroDevice, 0) == 0 ? kKalveroEncoder : "";
}

int FindStoredDevice(const std::vector<std::string>& deviceNames, const std::string& stored)
{
    for (size_t i = 0; i < deviceNames.size(); ++i)
        if (deviceNames[i] == stored)
            return static_cast<int>(i);
    for (size_t i = 0; i < deviceNames.size(); ++i)
        if (!deviceNames[i].empty() && stored.rfind(deviceNames[i], 0) == 0)
            return static_cast<int>(i);
    return -1;
}

std::uint64_t MeasureFreeSpace(const std::string& folder)
{
    ULARGE_INTEGER available{};
    if (folder.empty() || !GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr))
        return 0;
    return available.QuadPart;
}

}  // namespace settings
