#pragma once
// The device layer's rules that need no device: display names, bus texts, device types.
#include <windows.h>

#include <string>

namespace devices {

// "%s (PCI Slot %d)" for the PCI enumerator, "%s (USB:%X)" for USB, else "%s (DevNode:%X)".
std::string FormatDisplayName(const std::string& description, const std::string& enumerator, DWORD uiNumber,
                              DWORD devInst);

// Bus codes of the driver's bus property.
enum BusType : int { kBusPci = 0, kBusUsb11 = 1, kBusUsb20 = 2, kBusFireWire = 3 };
const char* BusTypeText(int busType);

// Device types of a capture record.
enum DeviceType : int {
    kTypeMultiplexingEncoder = 1,  // stream filter with a stream output, the encoder multiplexes
    kTypeElementaryEncoder = 2,    // stream filter without a stream output
    kTypeCaptureStream = 3,        // no stream filter: the capture filter delivers the stream
    kTypeCodecApi = 4,             // no encoder property set: driven through the codec API
};

struct ClassifyFacts {
    bool encoderSetSupported = false;  // the encoder property set answers the mode-3 capabilities
    bool multiplexingWord = false;     // word 12 of that block is non-zero
    bool hasStreamFilter = false;
    bool streamFilterHasStreamOutput = false;
};
int DecideDeviceType(const ClassifyFacts& facts);

// The relative of `devInst` among the walk of its parents: whether `other` is an ancestor of
// `devInst` or `devInst` an ancestor of `other`, given a parent function (0 when none).
template <class ParentOf>
bool AreRelatives(DWORD devInst, DWORD other, ParentOf parentOf)
{
    // A parent chain deeper than this is a loop in a broken tree, not a device.
    constexpr int kMaxDepth = 64;
    for (DWORD p = parentOf(devInst), n = 0; p && n < kMaxDepth; p = parentOf(p), ++n) {
        if (p == other)
            return true;
    }
    for (DWORD p = parentOf(other), n = 0; p && n < kMaxDepth; p = parentOf(p), ++n) {
        if (p == devInst)
            return true;
    }
    return false;
}

}  // namespace devices
