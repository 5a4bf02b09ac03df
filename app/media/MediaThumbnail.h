#pragma once
// A recording's first picture as a small bitmap file, for the recent-recordings thumbnails.
#include <windows.h>

#include <string>

namespace media {

// Writes the picture at stream time 0 of the first video stream of `recordingPath` to
// `bitmapPath` as a bitmap file of `width` x `height` (0 for either: the picture's own size),
// through the DirectShow media detector. Failures are the detector's own codes; no video
// stream, or a format block that is not a video-info block of at least 88 bytes, gives
// VFW_E_INVALIDMEDIATYPE.
HRESULT WriteThumbnail(const std::string& recordingPath, const std::string& bitmapPath, int width, int height);

}  // namespace media
