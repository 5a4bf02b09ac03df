#include "CaptureRules.h"

#include <cctype>
#include <cstring>

namespace capture {
namespace {

constexpr char kSystemMpeg2Demux[] = "{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}";
constexpr char kSystemMpeg2DemuxName[] = "MPEG-2 Demultiplexer";
constexpr char kVendorMpeg1Demux[] = "{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}";
constexpr char kVendorMpeg1DemuxName[] = "Push Mode Mpeg1 Dmux";

bool EqualsNoCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Position of the extension's dot in the last path component, npos when it has none.
size_t ExtensionDot(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    const size_t slash = name.find_last_of("\\/:");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string::npos;
    return dot;
}

const char* SinkExtension(SinkKind kind)
{
    switch (kind) {
    case SinkKind::DumpVideo: return ".m2v";
    case SinkKind::Mpeg1Video: return ".m1v";
    case SinkKind::DumpAudio:
    case SinkKind::Mpeg1Audio: return ".mpa";
    case SinkKind::Wave: return ".wav";
    case SinkKind::Stream:
    case SinkKind::Mpeg1Stream: break;
    }
    return nullptr;
}

}  // namespace

Layout ChooseLayout(const settings::CaptureSettings& s)
{
    if (s.setupMode == 3)
        return settings::IsMpeg1Mode(s.custom.captureMode) ? Layout::Mpeg1 : Layout::Mpeg2;
    return s.capture == 1 ? Layout::Mpeg1 : Layout::Mpeg2;
}

bool SeparateStreamsMode(const settings::CaptureSettings& s)
{
    if (s.separateAudioVideo == 0)
        return false;
    switch (s.setupMode) {
    case 1: return s.qualityMpeg1 != 0;
    case 2: return s.qualityMpeg2 != 0;
    case 3: return s.qualityMpeg1 != 0 && s.qualityMpeg2 != 0;
    default: return false;
    }
}

int DemultiplexerIndex(int stored, size_t entries)
{
    return stored >= 0 && static_cast<size_t>(stored) < entries ? stored : 0;
}

std::optional<int> DecoderIndex(int stored, size_t entries)
{
    if (stored >= 0 && static_cast<size_t>(stored) < entries)
        return stored;
    return std::nullopt;
}

settings::FilterChoice DemultiplexerChoice(const std::vector<settings::FilterChoice>& list, int stored, Layout layout)
{
    settings::FilterChoice choice = settings::ChoiceAt(list, DemultiplexerIndex(stored, list.size()));
    if (choice.clsid.empty() || choice.name.empty()) {
        const bool mpeg2 = layout == Layout::Mpeg2;
        choice.clsid = mpeg2 ? kSystemMpeg2Demux : kVendorMpeg1Demux;
        choice.name = mpeg2 ? kSystemMpeg2DemuxName : kVendorMpeg1DemuxName;
    }
    return choice;
}

std::optional<settings::FilterChoice> DecoderChoice(const std::vector<settings::FilterChoice>& list, int stored)
{
    const std::optional<int> index = DecoderIndex(stored, list.size());
    if (!index || list[*index].clsid.empty())
        return std::nullopt;
    return list[*index];
}

const wchar_t* SinkName(SinkKind kind)
{
    switch (kind) {
    case SinkKind::Stream: return L"Dump";
    case SinkKind::Mpeg1Stream: return L"FileWriter";
    case SinkKind::DumpVideo: return L"Dump Video";
    case SinkKind::DumpAudio: return L"Dump Audio";
    case SinkKind::Mpeg1Video: return L"FileWriter Video";
    case SinkKind::Mpeg1Audio: return L"FileWriter Audio";
    case SinkKind::Wave: return L"FileWriter Wave";
    }
    return L"Dump";
}

bool IsAudioSink(SinkKind kind)
{
    return kind == SinkKind::DumpAudio || kind == SinkKind::Mpeg1Audio || kind == SinkKind::Wave;
}

std::string SinkFileName(const std::string& captureName, SinkKind kind)
{
    std::string name = captureName;
    const char* extension = SinkExtension(kind);
    if (extension) {
        const size_t dot = ExtensionDot(name);
        const std::string current = dot == std::string::npos ? std::string() : name.substr(dot);
        const bool recordingExtension =
            EqualsNoCase(current, ".mpg") || EqualsNoCase(current, ".m2v") || EqualsNoCase(current, ".m1v");
        if (recordingExtension)
            name = name.substr(0, dot) + extension;
        else if (IsAudioSink(kind))
            name = EqualsNoCase(current, extension) || dot == std::string::npos ? name + extension
                                                                                : name.substr(0, dot) + extension;
    }
    if (name.size() > kMaxRecordingPath)
        return {};
    return name;
}

RECT PreviewRectangle(uint32_t width, uint32_t height)
{
    const LONG w = (width == 160 && (height == 144 || height == 112)) ? 160 : 352;
    const LONG h = (height == 144 || height == 288 || height == 576) ? 288 : 240;
    const LONG left = (352 - w) / 2 + 1;
    const LONG top = (288 - h) / 2;
    return RECT{left, top, left + w, top + h};
}

REFERENCE_TIME FrameDuration(long analogVideoStandard)
{
    return (analogVideoStandard & 0xA07) != 0 ? 333333 : 400000;
}

std::optional<DWORD> MultiplexerOutputMode(const settings::CaptureSettings& s)
{
    if (s.setupMode == 3) {
        if (s.custom.captureMode == 4)
            return 0;
        if (s.custom.captureMode == 2)
            return 1;
        return std::nullopt;
    }
    if (s.setupMode == 2)
        return s.qualityMpeg2 != 0 ? 1 : 0;
    return std::nullopt;
}

int StillDecoderIndex(const settings::CaptureSettings& s)
{
    if (s.setupMode == 3)
        return settings::IsMpeg1Mode(s.custom.captureMode) ? s.decoder1 : s.decoder;
    if (s.capture == 1)
        return s.decoder1;
    return s.capture == 2 ? s.decoder : -1;
}

}  // namespace capture
