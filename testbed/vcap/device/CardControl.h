#pragma once
// The control channel of the test bed: what a test or the control tool changes on a card
// (signal, copy protection, dropped frames) is kept with the card's record, and a named event
// per card wakes the card's filters to look at it.
#include <windows.h>

#include <cstdint>
#include <string>

namespace vcap {

struct CardControlState {
    bool signal = true;
    bool copyProtected = false;
    uint32_t framesDropped = 0;  // a count; each increase is one "frames dropped" report
    uint32_t flowStops = 0;      // a count; each increase is one "stream flow stopped" report
    uint32_t flowBreaks = 0;     // a count; each increase stops the card's running streams
    long standard = 0x10;        // AnalogVideoStandard the input carries (PAL B)
};

std::wstring ControlEventName(int card);

bool ReadControl(int card, CardControlState& state);
bool SetSignal(int card, bool present);
bool SetCopyProtection(int card, bool on);
bool ReportDroppedFrames(int card);
// The card's stream stopped flowing without the graph stopping it (end of stream, a refused
// delivery): whatever software holds of it must be flushed.
bool ReportFlowStopped(int card);
// The encoder stops handing over its stream, as a stalled chip or a broken bus would: every
// stream of the card that runs now ends (end of stream, and so a flow-stopped report). A
// stream started afterwards flows again.
bool BreakFlow(int card);
bool SetInputStandard(int card, long standard);

// Per analog video input (crossbar input index 0..6): a value set for one input overrides the
// card-wide one until the card-wide value is set again.
struct InputState {
    bool signal = true;
    long standard = 0x10;
};
bool ReadInputState(int card, long input, InputState& state);
bool SetInputSignal(int card, long input, bool present);
bool SetInputStandard(int card, long input, long standard);

// The crossbar's route, kept with the card as the switch state of the hardware.
bool ReadRoute(int card, long& videoInput, long& audioInput);
bool WriteRoute(int card, long videoInput, long audioInput);

// The board around the decoder chip, for the standard-detection tests: the standards the
// board offers (AnalogVideoStandard bits; unset: all the chip knows), an audio switch that
// cannot follow the video (the sound stays on the input it has), and a count of the times
// software asked the decoder for its horizontal lock.
bool SetAvailableStandards(int card, long mask);
bool ReadAvailableStandards(int card, long& mask);
bool SetFixedAudio(int card, bool fixed);
bool ReadFixedAudio(int card);
bool CountLockRead(int card);
uint32_t ReadLockReads(int card);
bool ResetLockReads(int card);

// The decoder's picture adjustments (VideoProcAmp properties 0 brightness, 1 contrast, 2 hue,
// 3 saturation), kept with the card as the chip's registers: every filter bound to the card
// reads and sets the same values, and the encoder's picture follows them. A property can be
// taken away, as on a chip that lacks it: its range, value and setting then all fail.
constexpr long kProcAmpDefaults[4] = {128, 64, 0, 64};
long ReadProcAmp(int card, long property);
bool WriteProcAmp(int card, long property, long value);
bool SetProcAmpMissing(int card, long property, bool missing);
bool ProcAmpMissing(int card, long property);

// Sends WM_DEVICECHANGE to every top-level window, as the system does when a device interface
// arrives (DBT_DEVICEARRIVAL) or goes (DBT_DEVICEREMOVECOMPLETE); Wine does not send it itself.
bool BroadcastDeviceChange(bool arrival, const std::wstring& interfacePath);

}  // namespace vcap
