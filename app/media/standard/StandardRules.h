#pragma once
// The rules of video standards and inputs that need no device: line families, the preferred
// variants, the standards a decoder offers, which crossbar input a source index stands for,
// and the bounded lock poll.
#include <windows.h>

#include <functional>
#include <vector>

namespace media {

// AnalogVideoStandard bit masks.
constexpr long k525LineStandards = 0xA07;  // NTSC M, NTSC M J, NTSC 4.43, PAL M, PAL 60
constexpr long k625LineStandards = 0x1FF5F0;
constexpr long k625LinePalStandards = 0x1005F0;  // PAL B, D, G, H, I, N, N COMBO
constexpr long kHighestStandard = 0x100000;

constexpr int kTunerSource = 3;
constexpr int kSourceCount = 6;

// "CaptureStandard": 0 for the 525-line family, 1 for everything else (also 0 = undetected).
int CaptureStandardOf(long standard);

// The user's preferred variant within a family ("NTSC Std", "PAL Std"): an undetected or
// 525-line standard becomes the NTSC preference when that is a 525-line standard; a 625-line
// standard becomes a "PAL Std" that is set and lies outside the PAL family (a SECAM choice).
long PreferredVariant(long detected, long ntscPreference, long palPreference);

// Entry 0 is 0 (detect); then each single-bit standard up to PAL N COMBO that `available`
// holds, in increasing order, leaving out NTSC 4.43 M (0x8) and PAL G (0x40).
std::vector<long> SupportedStandards(long available);
// What is offered without a capture filter to ask: detect, NTSC M, NTSC M J.
std::vector<long> SupportedStandardsWithoutDecoder();

// One standard the decoder may have detected (a single bit up to PAL N COMBO).
bool IsSingleStandard(long standard);

// The crossbar input a source index stands for: the n-th (1 = first) input of a connector type.
struct SourceInput {
    long physicalType = 0;
    int nth = 1;
};
// False outside 0..5. `secondCompositeIsAux`: source 2 is the first auxiliary input (device
// type 1 boards whose second composite socket is wired as AUX).
bool InputForSource(int source, bool secondCompositeIsAux, SourceInput* input);

// The lock poll after a decoder reset: at most 10 reads, 80 ms apart, ending at the first lock
// or once 800 ms have passed since `start` (a tick difference, so that second and minute
// boundaries and the tick counter's wrap do not matter).
struct LockPollResult {
    bool locked = false;
    int reads = 0;
};
struct LockPollClock {
    std::function<DWORD()> now;
    std::function<void(DWORD)> sleep;
};
constexpr int kMaxLockReads = 10;
constexpr DWORD kLockPollSleepMs = 80;
constexpr DWORD kLockPollBoundMs = 800;
// `readLock` answers false for "not locked" and for a failed read.
LockPollResult PollForLock(const std::function<bool()>& readLock, const LockPollClock& clock, DWORD start);
LockPollClock SystemClock();

}  // namespace media
