#include "DeviceNaming.h"

#include <cstdio>
#include <vector>

namespace devices {

std::string FormatDisplayName(const std::string& description, const std::string& enumerator, DWORD uiNumber,
                              DWORD devInst)
{
    // Room for the description and the longest suffix.
    std::vector<char> buffer(description.size() + 40);
    if (_stricmp(enumerator.c_str(), "PCI") == 0)
        snprintf(buffer.data(), buffer.size(), "%s (PCI Slot %d)", description.c_str(), static_cast<int>(uiNumber));
    else if (_stricmp(enumerator.c_str(), "USB") == 0)
        snprintf(buffer.data(), buffer.size(), "%s (USB:%X)", description.c_str(), static_cast<unsigned>(devInst));
    else
        snprintf(buffer.data(), buffer.size(), "%s (DevNode:%X)", description.c_str(), static_cast<unsigned>(devInst));
    return buffer.data();
}

const char* BusTypeText(int busType)
{
    switch (busType) {
    case kBusPci: return "PCI Bus";
    case kBusUsb11: return "USB 1.1 Bus";
    case kBusUsb20: return "USB 2.0 Bus";
    case kBusFireWire: return "FireWire Bus";
    default: return "Not Connected";
    }
}

int DecideDeviceType(const ClassifyFacts& f)
{
    if (!f.encoderSetSupported)
        return kTypeCodecApi;
    if (!f.hasStreamFilter)
        return kTypeCaptureStream;
    if (f.streamFilterHasStreamOutput)
        return f.multiplexingWord ? kTypeMultiplexingEncoder : kTypeCodecApi;
    return kTypeElementaryEncoder;
}

}  // namespace devices
