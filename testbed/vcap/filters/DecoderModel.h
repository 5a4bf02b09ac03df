#pragma once
// The analog side of the capture chip: video standard detection with a realistic lock time,
// and the picture adjustments. Plain logic with the time passed in, so tests can step it.
#include <cstdint>

#include "TestPicture.h"

namespace vcap {

// AnalogVideoStandard bits the decoder can take.
constexpr long kSupportedStandards = 0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x80 | 0x100 | 0x200 | 0x400 | 0x800 |
                                     0x1000 | 0x2000 | 0x4000 | 0x8000 | 0x10000 | 0x20000 | 0x40000 | 0x100000;
constexpr uint32_t kLockTimeMs = 300;

class DecoderModel {
public:
    // Sets the standard to decode; 0 starts automatic detection. False for an unknown standard
    // or one the chip does not offer (see setAvailable).
    bool setFormat(long standard, uint32_t nowMs);
    // The standards this chip offers (a board may wire fewer than the chip knows).
    void setAvailable(long mask) { available_ = mask & kSupportedStandards; }
    long available() const { return available_; }
    // The standard in use: the one set, or after detection the input's own (0 while searching).
    long format(uint32_t nowMs, bool signal, long inputStandard) const;
    // Horizontal lock: a signal of the chosen standard's line family, settled for kLockTimeMs.
    // An input standard of 0 is a signal whose colour system is not detected yet: it locks
    // with any standard set, and automatic detection keeps reporting 0.
    bool locked(uint32_t nowMs, bool signal, long inputStandard) const;
    long lines(uint32_t nowMs, bool signal, long inputStandard) const;
    // The input changed: keep the standard, but lock only after settling on the new signal.
    void restartSearch(uint32_t nowMs) { since_ = nowMs; }

private:
    long requested_ = 0x10;  // PAL B
    uint32_t since_ = 0;     // when the standard was last set
    long available_ = kSupportedStandards;
};

bool Is525Line(long standard);

// Picture adjustments: VideoProcAmp properties 0 brightness, 1 contrast, 2 hue, 3 saturation.
struct ProcAmpRange {
    long min, max, step, defaultValue;
};
bool ProcAmpRangeOf(long property, ProcAmpRange& r);
// The adjustments the card's decoder applies now.
PictureAdjust CardPictureAdjust(int card);

}  // namespace vcap
