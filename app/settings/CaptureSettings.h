#pragma once
// The settings record of section "Capture" and its companions: loaded once while the main
// window initialises, written back whenever the user changes something.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <framework/ProfileStore.h>

#include "CustomTemplate.h"
#include "FilterPreferences.h"
#include "ReadingRule.h"

namespace settings {

struct CaptureSettings {
    int capture = 2;
    int setupMode = 2;
    int fileName = 0;
    std::string recordingFolder;
    bool autoRecord = false;
    int emailBitrate = 512000;
    int normalBitrate = 5000000;
    int svcdBitrate = 2200000;
    int dvdBitrate = 4000000;
    int varBitrateSvcd = 0;
    int varBitrateDvd = 0;
    int source = 0;
    int setTimeHour = 0;
    int setTimeMin = 10;
    int setTimeSec = 0;
    int stopTime = 1;
    int qualityMpeg1 = 0;
    int qualityMpeg2 = 1;
    int decoder = 2;
    int decoder1 = 2;
    int overlayMixer = 1;
    // "Tee" is read into two flags of the graph builder; both hold the same stored value.
    int tee = 1;
    int teeSecond = 1;
    int audioLevel = 50;
    int mute = 0;
    int renderAudio = 1;
    int dvdControl = 1;
    int svcdControl = 1;
    int vcdControl = 1;
    bool forceCbr = true;
    int stopNoVideoSec = 10;
    int separateAudioVideo = 0;
    int audioFormatSaveWav = 1;
    bool bmsma = false;
    std::uint64_t fileSizeLimit = kNoLimit;
    std::uint64_t customFileSizeLimit = kNoLimit;
    int demuxMpeg2 = 0;
    int demuxMpeg1 = 1;
    int lastVidStd = 1;
    std::string deviceName;
    int ntscStd = 0;
    int palStd = 0;
    int secamStd = 0;
    int maxBitRateFromDriver = 0;
    int audioBitrateDvd = 224;
    int playLoop = 1;
    int displayDataLossWarnings = 0;
    std::string stillPicFolder;

    // Members without a value of their own.
    std::string lastSaveFolder;
    int saveFilterIndex = 1;
    std::uint64_t freeSpace = 0;
    CustomTemplate custom;
    std::string selectedTemplate;
    std::string templateSection;
    std::vector<std::string> templateNames;
    std::string version;

    FilterPreferences filters;
    // Filter name of the hardware encoder for the graph builder; empty for other devices.
    std::string encoderFilterName;

    // Section "Capture" in its stored order (without "Last VidStd", "DeviceName" and the
    // values the main window reads after the device choice), then the filter lists.
    void LoadCaptureSection(const framework::ProfileStore& store);
    // "Last VidStd", "DeviceName"; the device choice is made by the caller in between.
    void LoadDeviceValues(const framework::ProfileStore& store);
    // "Custom"/"selected", and the selected template's block in setup mode 3.
    void LoadCustomSelection(const framework::ProfileStore& store);
    // The capture filter's audio output caps the sampling frequency below 41000 Hz.
    void ApplyAudioCapability(std::optional<int> maxSamplingFrequency);
    // The driver's maximum video bit rate, when it could be read: with "MaxBitRateFromDriver"
    // it caps "DVDBitrate" and the custom template's rate, otherwise the bus's own limit caps
    // "DVDBitrate". True when a value changed.
    bool ApplyDriverBitRateLimit(std::optional<uint32_t> driverMaximum, uint32_t busLimit);
    // The values the main window reads after the settings proper.
    void LoadWindowValues(const framework::ProfileStore& store);

    // Writes the record back; a custom limit without a value (all ones, or 0) becomes the
    // recording folder's free space first, while "no fixed limit" is kept as all ones.
    void Save(const framework::ProfileStore& store, std::uint64_t folderFreeSpace);

    // Records the chosen device's name and the encoder filter that belongs to it.
    void SelectDevice(const framework::ProfileStore& store, const std::string& name);
};

// The hardware encoder filter that goes with a device's friendly name, or empty.
std::string EncoderFilterNameFor(const std::string& deviceName);

// Index of the device that matches a stored name: the same name, else the first device whose
// name is a prefix of the stored one; -1 when none matches (the caller then refreshes the
// list and takes its first device).
int FindStoredDevice(const std::vector<std::string>& deviceNames, const std::string& stored);

// Free bytes of the folder's volume for the caller, 0 when it cannot be measured.
std::uint64_t MeasureFreeSpace(const std::string& folder);

}  // namespace settings
