#pragma once
// The program's table of capture devices: which filters make up each device, its type and
// bus, and whether the current one is still there.
#include <windows.h>
#include <dshow.h>

#include <string>

namespace devices {

constexpr int kMaxCaptureDevices = 50;

struct CaptureDeviceRecord {
    std::string name;            // display name; also the remembered choice ("DeviceName")
    std::string description;
    DWORD devInst = 0;
    std::string tunerPath;
    std::string tvAudioPath;
    std::string crossbarPath;
    std::string capturePath;
    std::string encoderPath;
    CLSID streamClsid = GUID_NULL;  // stream filter that is not a device filter (codec API)
    std::string streamFilterName;
    std::string multiplexerPath;
    CLSID secondClsid = GUID_NULL;  // stream filter found by companion search
    std::string secondFilterName;
    int deviceType = 0;          // 1..4, see DeviceType
};

struct CaptureDeviceTable {
    CaptureDeviceRecord records[kMaxCaptureDevices];
    int count = 0;
    int current = -1;  // index of the device in use, -1 for none
    // The device in use survives re-enumeration by its instance, so that a removal that
    // shifts the table neither loses it nor makes another device the current one.
    bool selected = false;
    DWORD currentDevInst = 0;
};

// The process-wide table (the user-interface thread's).
CaptureDeviceTable& Devices();

// Fills the table afresh; returns the count. The current device keeps its index if it is
// still there (found by instance), else the current index becomes -1.
int EnumerateCaptureDevices();
// Makes record `index` the device in use (-1: none).
void SelectCaptureDevice(int index);
// Index of the record with this name, -1 when there is none.
int FindCaptureDeviceByName(const std::string& name);

HRESULT ClassifyDevice(CaptureDeviceRecord& record);
// The device's bus (BusType) through its capture filter: `captureFilter` when one is in a
// graph, else the current device's. E_FAIL without a current device; 0 at once for type 4.
HRESULT GetBusType(IBaseFilter* captureFilter, int* busType);
// True when a device was selected and no present capture interface belongs to it any more.
bool IsCurrentDeviceGone();
// Whether the process has a device with the extended controls (set by ClassifyDevice).
bool ExtendedControlsAvailable();

}  // namespace devices
