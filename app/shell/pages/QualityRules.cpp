#include "QualityRules.h"

#include <algorithm>
#include <cstdio>

namespace pages {
namespace {

constexpr int kDvdLow = 4000000;
constexpr int kDvdMiddle = 6000000;
constexpr std::uint32_t kUsb11Maximum = 6500000;
constexpr std::uint32_t kOtherBusMaximum = 15000000;

}  // namespace

QualityChoice ChoiceOf(const settings::CaptureSettings& s)
{
    if (s.setupMode == 3)
        return kChoiceCustom;
    if (s.capture == 1) {
        switch (s.qualityMpeg1) {
        case 0: return kChoiceVcd;
        case 1: return kChoiceMpeg1Low;
        default: return kChoiceMpeg1Normal;
        }
    }
    return s.qualityMpeg2 == 0 ? kChoiceSvcd : kChoiceDvd;
}

void SetChoice(settings::CaptureSettings& s, QualityChoice choice)
{
    switch (choice) {
    case kChoiceVcd:
    case kChoiceMpeg1Low:
    case kChoiceMpeg1Normal:
        s.setupMode = 1;
        s.capture = 1;
        s.qualityMpeg1 = choice - kChoiceVcd;
        break;
    case kChoiceSvcd:
    case kChoiceDvd:
        s.setupMode = 2;
        s.capture = 2;
        s.qualityMpeg2 = choice == kChoiceSvcd ? 0 : 1;
        break;
    default:
        s.setupMode = 3;
        break;
    }
}

bool TreatAsUsb11(std::optional<int> busType)
{
    return !busType || *busType == kBusUsb11;
}

std::array<DvdRateEntry, 3> DvdRateEntries(bool usb11)
{
    return {{{"4 Mbps", kDvdLow}, {"6 Mbps", kDvdMiddle}, usb11 ? DvdRateEntry{"6.5 Mbps", 6500000} : DvdRateEntry{"8 Mbps", 8000000}}};
}

int DvdEntryFor(int rate)
{
    if (rate <= kDvdLow)
        return 0;
    return rate > kDvdMiddle ? 2 : 1;
}

std::uint32_t DeviceMaxBitRate(bool usb11, std::optional<std::uint32_t> driverMaximum, bool driverMaximumUnchanged)
{
    const std::uint32_t bus = usb11 ? kUsb11Maximum : kOtherBusMaximum;
    if (!driverMaximum || *driverMaximum == 0)
        return bus;
    return driverMaximumUnchanged ? *driverMaximum : std::min(bus, *driverMaximum);
}

int DvdRateForDevice(int storedRate, std::optional<std::uint32_t> deviceMaximum)
{
    if (!deviceMaximum)
        return kDvdLow;
    if (storedRate > 0 && static_cast<std::uint32_t>(storedRate) > *deviceMaximum)
        return static_cast<int>(*deviceMaximum);
    return storedRate;
}

int DeviceFamily(const std::string& deviceName)
{
    if (deviceName.find("Nerida") != std::string::npos)
        return 2;
    if (deviceName.find("Ehome") != std::string::npos || deviceName.find("PVR") != std::string::npos)
        return 1;
    return 3;
}

std::array<bool, kChoiceCount> EnabledChoices(const DeviceOffer& offer)
{
    std::array<bool, kChoiceCount> enabled{};
    // Family 1 and codec-API devices carry an MPEG-2 encoder only; the others record MPEG-1
    // when their driver does not say otherwise.
    const bool mpeg1 = offer.family != 1 && !offer.codecApi && offer.mpeg1.value_or(true);
    enabled[kChoiceVcd] = mpeg1 && offer.vcdControl;
    enabled[kChoiceMpeg1Low] = mpeg1;
    enabled[kChoiceMpeg1Normal] = mpeg1;
    enabled[kChoiceSvcd] = offer.svcdControl;
    // DVD quality needs at least its lowest rate.
    enabled[kChoiceDvd] = offer.dvdControl && (!offer.maxBitRate || *offer.maxBitRate >= static_cast<std::uint32_t>(kDvdLow));
    enabled[kChoiceCustom] = true;
    return enabled;
}

QualityChoice ReplaceDisabled(QualityChoice choice, const std::array<bool, kChoiceCount>& enabled)
{
    if (choice >= 0 && choice < kChoiceCount && enabled[choice])
        return choice;
    for (QualityChoice next : {kChoiceDvd, kChoiceSvcd, kChoiceMpeg1Normal, kChoiceVcd, kChoiceMpeg1Low})
        if (enabled[next])
            return next;
    return kChoiceCustom;
}

std::string DescriptionBitRate(int captureMode, int bitRate)
{
    const unsigned b = static_cast<unsigned>(std::max(bitRate, 0));
    char text[48];
    if (settings::IsMpeg1Mode(captureMode) && b < 1000000)
        std::snprintf(text, sizeof text, "%u.%u%u Kbps", b / 1000, (b % 1000) / 100, (b % 100) / 10);
    else
        std::snprintf(text, sizeof text, "%u.%u%u Mbps", b / 1000000, (b % 1000000) / 100000, (b % 100000) / 10000);
    return text;
}

std::array<std::string, 3> DescriptionLines(const DescribedQuality& q)
{
    std::array<std::string, 3> lines;
    switch (q.captureMode) {
    case 1: lines[0] = "MPEG1 "; break;
    case 3: lines[0] = "VCD "; break;
    case 4: lines[0] = "SVCD"; break;
    default: lines[0] = "MPEG2"; break;
    }
    if (!q.sourceName.empty())
        lines[0] += " " + q.sourceName;

    char text[64];
    std::snprintf(text, sizeof text, "%dx%d ", q.width, q.height);
    lines[1] = text + DescriptionBitRate(q.captureMode, q.bitRate);

    const unsigned f = static_cast<unsigned>(std::max(q.samplingFrequency, 0));
    std::snprintf(text, sizeof text, "%u.%u KHz ", f / 1000, (f % 1000) / 100);
    lines[2] = text;
    if (q.audioBitRate == 0) {
        lines[2] += "384 Kbps";
    } else {
        std::snprintf(text, sizeof text, "%d Kbps", q.audioBitRate);
        lines[2] += text;
    }
    return lines;
}

}  // namespace pages
