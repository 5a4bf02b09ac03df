#pragma once
// The player's plain rules: where the video window sits in the video area, the picture size
// in an MPEG sequence header, which paths the program plays, seek and step targets, and the
// window title. No DirectShow here, so every rule is tested as a table.
#include <cstddef>
#include <cstdint>
#include <string>

namespace media {

// The video window inside the video area (352 x 288), as handed to SetWindowPosition: the
// one-pixel border of the area is already added to left and top.
struct VideoPlacement {
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
};
// For a picture of `width` x `height` scaled by num/den (den 0 counts as 1).
VideoPlacement PlaceVideoWindow(long width, long height, long num, long den);

// Size from the first MPEG sequence header (00 00 01 B3) starting at offsets 0 to count - 13
// of `data`; false when none starts there (always for fewer than 13 bytes).
bool FindSequenceHeaderSize(const unsigned char* data, std::size_t count, long* width, long* height);
// How many bytes of a file's start are searched.
constexpr std::size_t kPictureSizeProbeBytes = 4096;

// Whether the player accepts a path: its lower-case form contains one of the media extensions
// anywhere (so "a.mpg.txt" passes).
bool IsAcceptedMediaPath(const std::string& path);
// Whether a path names MPEG video (".mpg", ".m1v", ".m2v", ".mpeg"), whose pictures can be
// taken as snapshots.
bool IsMpegVideoPath(const std::string& path);

// 100-ns units of one frame: the duration in units over the duration in frames when both are
// known, else the stream's own frame time, else 40 ms. Never 0, so nothing divides by it.
std::int64_t UnitsPerFrame(std::int64_t frames, std::int64_t units, std::int64_t avgTimePerFrame);

// Where a seek to `tenths` (tenths of a second) goes, in 100-ns units: the pointed time nudged
// by `nudge` units away from the current position (so the renderer shows a new picture), kept
// at 1 or more and within the duration. A duration of 0 or less (unknown) caps nothing.
std::int64_t SeekTarget(std::int64_t tenths, std::int64_t current, std::int64_t duration, std::int64_t nudge);
// The same target moved by `nudge` once more, for the second attempt after a refused seek.
std::int64_t NudgeAgain(std::int64_t target, std::int64_t current, std::int64_t duration, std::int64_t nudge);
// A step of `frames` frames (negative: back) from `current`, within 0 and the duration.
std::int64_t StepTarget(std::int64_t current, std::int64_t frames, std::int64_t unitsPerFrame, std::int64_t duration);

// "<file name> [Video|Audio] (Muted)(Paused)", the parts that do not apply left empty.
std::string PlaybackTitle(const std::string& path, bool audioOnly, bool muted, bool paused);

// "%.2f MB" from whole kilobytes, or with `allowGigabytes` "%.2f GB" from whole megabytes above
// 1 GiB or beyond 32 bits.
std::string MediaSizeText(std::uint64_t bytes, bool allowGigabytes);

}  // namespace media
