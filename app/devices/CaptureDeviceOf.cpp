#include "CaptureDeviceOf.h"

namespace devices {

capture::CaptureDevice CaptureDeviceOf(const CaptureDeviceRecord& record)
{
    capture::CaptureDevice d;
    d.deviceType = record.deviceType;
    d.devInst = record.devInst;
    d.tunerPath = record.tunerPath;
    d.tvAudioPath = record.tvAudioPath;
    d.crossbarPath = record.crossbarPath;
    d.capturePath = record.capturePath;
    d.encoderPath = record.encoderPath;
    d.multiplexerPath = record.multiplexerPath;
    d.streamClsid = record.streamClsid;
    d.streamFilterName = record.streamFilterName;
    d.extendedControls = ExtendedControlsAvailable();
    return d;
}

}  // namespace devices
