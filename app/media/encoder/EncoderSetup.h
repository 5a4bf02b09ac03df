#pragma once
// What the capture engine calls when a preview or recording starts: the device's facts read
// through the driver and the quality selection derived from them; and the graph-clock flag.
#include "EncoderDerivation.h"
#include "EncoderDevice.h"

namespace encoder {

// Reads the device's current block, its bit-rate maximum and the capability flags of the
// selected mode, then derives. Facts that cannot be read count as unknown.
DeviceFacts ReadDeviceFacts(EncoderDevice& device, const settings::CaptureSettings& s, uint32_t standard,
                            bool audioCompressorFallback);
DerivedEncoderSetup DeriveForDevice(EncoderDevice& device, const settings::CaptureSettings& s, uint32_t standard,
                                    bool audioCompressorFallback);

// Whether the audio renderer should clock the graph when audio is rendered: bit 0x10 of the
// flags word (word 83, offset 332) of the capability block for the current mode and standard.
bool AudioRendererClocksGraph(EncoderDevice& device);

}  // namespace encoder
