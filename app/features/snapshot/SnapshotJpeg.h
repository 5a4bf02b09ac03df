#pragma once
// A still's planes as a baseline RGB JPEG stream at the best quality. The output buffer starts
// at the size of a full-quality 720x480 picture and grows to what the encoder says it needs,
// so large or detailed pictures encode as well.
#include <cstdint>
#include <vector>

#include "BmpPicture.h"

namespace snapshot {

// The first buffer offered to the encoder (720 x 480 x 3 bytes).
constexpr std::size_t kFirstJpegBuffer = 1036800;

// The encoder's result code (0 on success, the encoder's codes otherwise); `stream` receives
// the complete JPEG stream on success and is empty otherwise.
int EncodeStillJpeg(const RgbPlanes& picture, std::vector<std::uint8_t>& stream);

}  // namespace snapshot
