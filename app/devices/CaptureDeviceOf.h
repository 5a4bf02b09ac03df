#pragma once
// What the capture engine needs to know of a device table row.
#include "CaptureDevices.h"
#include "CaptureGraph.h"

namespace devices {

capture::CaptureDevice CaptureDeviceOf(const CaptureDeviceRecord& record);

}  // namespace devices
