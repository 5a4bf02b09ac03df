#pragma once
// The capture engine's decisions that need no graph: which layout a quality selection takes,
// which preferred filters an index names, what the recording sinks' files are called, where the
// preview sits in the video area, and how the software multiplexer is configured.
#include <windows.h>
#include <strmif.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CaptureSettings.h"

namespace capture {

enum class Layout { Mpeg1, Mpeg2 };

// Custom template: MPEG-1 for its capture modes 1 and 3; otherwise "Capture" 1 is MPEG-1.
Layout ChooseLayout(const settings::CaptureSettings& s);

// Video and audio written to files of their own instead of one program stream.
bool SeparateStreamsMode(const settings::CaptureSettings& s);

// A stored preference index is valid when 0 <= index < entries. An invalid demultiplexer index
// falls back to the first entry; an invalid decoder index means no preferred decoder.
int DemultiplexerIndex(int stored, size_t entries);
std::optional<int> DecoderIndex(int stored, size_t entries);

// The demultiplexer to add: the list entry, filled with the system's filter when it is empty.
settings::FilterChoice DemultiplexerChoice(const std::vector<settings::FilterChoice>& list, int stored, Layout layout);
// The preferred decoder, or none (an empty entry counts as none).
std::optional<settings::FilterChoice> DecoderChoice(const std::vector<settings::FilterChoice>& list, int stored);

// The recording sinks by their filter names in the graph.
enum class SinkKind { Stream, Mpeg1Stream, DumpVideo, DumpAudio, Mpeg1Video, Mpeg1Audio, Wave };
const wchar_t* SinkName(SinkKind kind);
bool IsAudioSink(SinkKind kind);

// The longest recording path in characters: the writer converts the name into a MAX_PATH
// buffer with its terminator, so MAX_PATH - 1 is the most that reaches the disk intact. A name
// that does not fit is refused, never cut, so no recording lands under a truncated name.
constexpr size_t kMaxRecordingPath = MAX_PATH - 1;

// The sink's file from the recording's name: ".mpg", ".m2v" or ".m1v" (either case) becomes the
// sink's own extension. Any other name stays as it is for the video and stream sinks; the audio
// sinks always get their own extension (replacing the name's, or appended when the name already
// carries it), so the two files of a separate-streams recording never share a name. Empty when
// the result would not fit.
std::string SinkFileName(const std::string& captureName, SinkKind kind);

// Where the preview goes in the 352x288 video area for an encoder picture size.
RECT PreviewRectangle(uint32_t width, uint32_t height);

// 100-ns frame duration of the preview's video type for a decoder standard.
REFERENCE_TIME FrameDuration(long analogVideoStandard);

// The software multiplexer's output mode for a type 2 device, when the selection names one:
// 0 for the video CD family, 1 for DVD.
std::optional<DWORD> MultiplexerOutputMode(const settings::CaptureSettings& s);

// The decoder list index that decides how a still is asked of the preview's decoder: "Decoder1"
// when the recording quality is MPEG-1, "Decoder" for MPEG-2, -1 for a "Capture" code that is
// neither.
int StillDecoderIndex(const settings::CaptureSettings& s);

}  // namespace capture
