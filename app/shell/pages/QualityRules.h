#pragma once
// The rules of the quality page without a window: which radio button a quality is, the DVD
// bit-rate box and the device's highest rate, the device family and what it may record, and
// the three-line description of the chosen configuration.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "CaptureSettings.h"

namespace pages {

// The quality page's radio buttons, in control order.
enum QualityChoice { kChoiceVcd = 0, kChoiceMpeg1Low, kChoiceMpeg1Normal, kChoiceSvcd, kChoiceDvd, kChoiceCustom, kChoiceCount };

QualityChoice ChoiceOf(const settings::CaptureSettings& s);
// Sets "SetupMode", "Capture" and the preset of the family; the custom choice keeps the
// built-in presets as they are.
void SetChoice(settings::CaptureSettings& s, QualityChoice choice);

// Bus type 1 is USB 1.1. A bus type that could not be read counts as USB 1.1 too: the box
// and the cap must not disagree about a device nobody could identify.
constexpr int kBusUsb11 = 1;
bool TreatAsUsb11(std::optional<int> busType);

// The DVD bit-rate box: 4, 6 and 6.5 Mbps on USB 1.1, else 4, 6 and 8 Mbps.
struct DvdRateEntry {
    const char* text;
    int rate;
};
std::array<DvdRateEntry, 3> DvdRateEntries(bool usb11);
// The entry a stored rate shows: 0 up to 4000000, 2 above 6000000, 1 otherwise.
int DvdEntryFor(int rate);

// The device's highest video rate: 6500000 on USB 1.1 (or an unknown bus), else 15000000,
// capped by the driver's own maximum, or replaced by it when `driverMaximumUnchanged`.
std::uint32_t DeviceMaxBitRate(bool usb11, std::optional<std::uint32_t> driverMaximum, bool driverMaximumUnchanged);
// The DVD rate once the device is known: 4000000 when the driver's maximum cannot be read,
// otherwise the stored rate lowered to the device's highest rate.
int DvdRateForDevice(int storedRate, std::optional<std::uint32_t> deviceMaximum);

// "Nerida" in the device name is family 2, "Ehome" or "PVR" family 1, anything else 3.
int DeviceFamily(const std::string& deviceName);

// What a device may record, from its family, the quality controls of the settings and what
// its driver reports (unknown facts do not take anything away).
struct DeviceOffer {
    int family = 3;
    bool vcdControl = true, svcdControl = true, dvdControl = true;
    std::optional<bool> mpeg1;                 // the driver answers for the MPEG-1 mode
    std::optional<std::uint32_t> maxBitRate;   // the device's highest video rate
    bool codecApi = false;                     // encodes MPEG-2 only, whatever it is asked
};
std::array<bool, kChoiceCount> EnabledChoices(const DeviceOffer& offer);
// The choice itself when enabled, else the first enabled of DVD, SVCD, MPEG-1 normal, VCD,
// MPEG-1 low and custom.
QualityChoice ReplaceDisabled(QualityChoice choice, const std::array<bool, kChoiceCount>& enabled);

// The configuration the description shows.
struct DescribedQuality {
    int captureMode = 2;
    std::string sourceName;  // empty when the current source is not one the device offers
    int width = 0, height = 0;
    int bitRate = 0;             // bit/s
    int samplingFrequency = 0;   // Hz
    int audioBitRate = 0;        // kbit/s, 0 for the encoder's own 384
};
// "MPEG1 ", "VCD ", "SVCD" or "MPEG2", a blank and the source; "%dx%d " and the bit rate;
// the sampling frequency and the audio rate.
std::array<std::string, 3> DescriptionLines(const DescribedQuality& q);
// Kbps below one million bit/s for MPEG-1 and VCD, else Mbps (always Mbps for MPEG-2).
std::string DescriptionBitRate(int captureMode, int bitRate);

}  // namespace pages
