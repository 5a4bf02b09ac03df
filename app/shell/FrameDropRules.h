#pragma once
// What the frame-drop warning offers: for the MPEG-2 qualities whose rate the user sets (DVD,
// plain MPEG-2 and an MPEG-2 custom template) a lower bit rate between the device's limits;
// for the fixed MPEG-1, VCD and SVCD qualities only the message, whose OK changes nothing.
#include <cstdint>
#include <optional>
#include <string>

#include "CaptureSettings.h"

namespace shell {

struct FrameDropOffer {
    bool withRate = false;
    int minimum = 0;
    int maximum = 0;
    int current = 0;  // within minimum..maximum
};

// `deviceRange`: the encoder's minimum and maximum video bit rate, when it could say.
FrameDropOffer FrameDropOfferFor(const settings::CaptureSettings& s,
                                 std::optional<std::pair<std::uint32_t, std::uint32_t>> deviceRange);
// The chosen rate as the quality's own: the custom template's in quality mode 3, else the
// DVD rate.
void ApplyFrameDropRate(settings::CaptureSettings& s, int rate);

}  // namespace shell
