#pragma once
// The driver's property sets as a card answers them, apart from COM: the encoder set
// (capabilities, mode and standard, parameter block), the bus set, the event set and the
// extended-control property. Results are the HRESULTs a kernel-streaming proxy returns.
#include "DeviceModel.h"

#include <windows.h>

#include <array>

namespace vcap {

extern const GUID kEncoderPropertySet;
extern const GUID kEventPropertySet;
extern const GUID kBusPropertySet;
extern const GUID kExtendedControlSet;

// The device events, in the order of the event set's property ids.
constexpr int kEventFlowStopped = 0;  // the stream stopped flowing: flush what is held of it
constexpr int kEventCopyProtectionOn = 1;
constexpr int kEventCopyProtectionOff = 2;
constexpr int kEventFramesDropped = 3;
constexpr int kDeviceEventCount = 4;

class CardProperties {
public:
    explicit CardProperties(const CardRecord& card) : card_(card) {}
    ~CardProperties();
    CardProperties(const CardProperties&) = delete;
    CardProperties& operator=(const CardProperties&) = delete;

    HRESULT Get(const GUID& set, DWORD id, void* data, DWORD size, DWORD* returned);
    HRESULT Set(const GUID& set, DWORD id, const void* data, DWORD size);
    HRESULT QuerySupported(const GUID& set, DWORD id, DWORD* support) const;

    // Signals a registered, enabled event; false when there is none.
    bool Fire(int event);

private:
    HRESULT SetModeAndStandard(const void* data, DWORD size);

    struct Registration {
        HANDLE handle = nullptr;  // our duplicate of the caller's event
        uint32_t callerHandle = 0;
        uint32_t enabled = 0;
    };

    CardRecord card_;
    std::array<Registration, kDeviceEventCount> events_{};
};

}  // namespace vcap
