#include "FrameDropRules.h"

#include <algorithm>

#include "QualityText.h"

namespace shell {

namespace {

constexpr int kFallbackMinimum = 2000000;
constexpr int kFallbackMaximum = 6500000;

}  // namespace

FrameDropOffer FrameDropOfferFor(const settings::CaptureSettings& s,
                                 std::optional<std::pair<std::uint32_t, std::uint32_t>> deviceRange)
{
    FrameDropOffer offer;
    const QualityFormat quality = ChosenQuality(s);
    offer.withRate = quality.known && quality.name != "MPEG1" && quality.name != "VCD" && quality.name != "SVCD";
    if (!offer.withRate)
        return offer;
    offer.minimum = kFallbackMinimum;
    offer.maximum = kFallbackMaximum;
    if (deviceRange && deviceRange->first > 0 && deviceRange->first < deviceRange->second &&
        deviceRange->second <= 100000000) {
        offer.minimum = static_cast<int>(deviceRange->first);
        offer.maximum = static_cast<int>(deviceRange->second);
    }
    const int current = s.setupMode == 3 ? s.custom.bitRate : s.dvdBitrate;
    offer.current = std::clamp(current, offer.minimum, offer.maximum);
    return offer;
}

void ApplyFrameDropRate(settings::CaptureSettings& s, int rate)
{
    if (s.setupMode == 3)
        s.custom.bitRate = rate;
    else
        s.dvdBitrate = rate;
}

}  // namespace shell
