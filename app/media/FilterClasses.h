#pragma once
// The filters the capture and playback graphs add by class, and the few private interfaces the
// program configures them through (declared with the methods it calls, in their vtable order).
#include <windows.h>
#include <strmif.h>

namespace media {

// {902D4700-E2DA-11D2-81FB-00104B9AEC3D}
inline constexpr CLSID kClsidMpegAudioCompressor = {0x902D4700, 0xE2DA, 0x11D2, {0x81, 0xFB, 0x00, 0x10, 0x4B, 0x9A, 0xEC, 0x3D}};
// {C100D600-E2D3-11D2-81FB-00104B9AEC3D}
inline constexpr CLSID kClsidMpegMultiplexer = {0xC100D600, 0xE2D3, 0x11D2, {0x81, 0xFB, 0x00, 0x10, 0x4B, 0x9A, 0xEC, 0x3D}};
// {F8388A40-D5BB-11D0-BE5A-0080C706568E}
inline constexpr CLSID kClsidInfinitePinTee = {0xF8388A40, 0xD5BB, 0x11D0, {0xBE, 0x5A, 0x00, 0x80, 0xC7, 0x06, 0x56, 0x8E}};
// {CC58E280-8AA1-11D1-B3F1-00AA003761C5}
inline constexpr CLSID kClsidSmartTee = {0xCC58E280, 0x8AA1, 0x11D1, {0xB3, 0xF1, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5}};
// {07AF3380-B6C6-11D5-9360-0002B32887C4}
inline constexpr CLSID kClsidFlowControl = {0x07AF3380, 0xB6C6, 0x11D5, {0x93, 0x60, 0x00, 0x02, 0xB3, 0x28, 0x87, 0xC4}};
// {CD8743A1-3736-11D0-9E69-00C04FD7C15B}
inline constexpr CLSID kClsidOverlayMixer = {0xCD8743A1, 0x3736, 0x11D0, {0x9E, 0x69, 0x00, 0xC0, 0x4F, 0xD7, 0xC1, 0x5B}};
// {505D5817-AA65-424D-B64B-CB5405FB841D}
inline constexpr CLSID kClsidFallbackDecoder = {0x505D5817, 0xAA65, 0x424D, {0xB6, 0x4B, 0xCB, 0x54, 0x05, 0xFB, 0x84, 0x1D}};
// {4A2286E0-7BEF-11CE-9BD9-0000E202599C}
inline constexpr CLSID kClsidMpegAudioDecoder = {0x4A2286E0, 0x7BEF, 0x11CE, {0x9B, 0xD9, 0x00, 0x00, 0xE2, 0x02, 0x59, 0x9C}};
// {79376820-07D0-11CF-A24D-0020AFD79767}
inline constexpr CLSID kClsidAudioRenderer = {0x79376820, 0x07D0, 0x11CF, {0xA2, 0x4D, 0x00, 0x20, 0xAF, 0xD7, 0x97, 0x67}};
// {78EFC4E2-0660-462F-B0C5-A1A40FFF6690}
inline constexpr CLSID kClsidWavDest = {0x78EFC4E2, 0x0660, 0x462F, {0xB0, 0xC5, 0xA1, 0xA4, 0x0F, 0xFF, 0x66, 0x90}};
// {D8F5DB82-CA39-483F-A502-844D4132DD5C}
inline constexpr CLSID kClsidScrivet = {0xD8F5DB82, 0xCA39, 0x483F, {0xA5, 0x02, 0x84, 0x4D, 0x41, 0x32, 0xDD, 0x5C}};
// {8596E5F0-0DA5-11D0-BD21-00A0C911CE86}
inline constexpr CLSID kClsidSystemFileWriter = {0x8596E5F0, 0x0DA5, 0x11D0, {0xBD, 0x21, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

// {1324456B-E074-42A4-983B-7CC91387AD02} and {AA4E6D3B-68F9-4CA8-AABE-2287A52915B4}: two
// decoder families' still interfaces, one layout.
inline constexpr IID kIidStillImage = {0x1324456B, 0xE074, 0x42A4, {0x98, 0x3B, 0x7C, 0xC9, 0x13, 0x87, 0xAD, 0x02}};
inline constexpr IID kIidStillImageFirst = {0xAA4E6D3B, 0x68F9, 0x4CA8, {0xAA, 0xBE, 0x22, 0x87, 0xA5, 0x29, 0x15, 0xB4}};
struct IStillImage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Method1(LONG*, LONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE Method2(LONG*) = 0;
    virtual HRESULT STDMETHODCALLTYPE Method3() = 0;
    // The packed DIB (header and pixels): its size when `image` is null, else a copy.
    virtual HRESULT STDMETHODCALLTYPE GetCurrentImage(LONG* size, BYTE* image) = 0;
};

// {EDE80B5C-BAD6-4623-B537-65586C9F8DFD}: a decoder option set to 1 once the window is ready.
inline constexpr IID kIidDecoderOption = {0xEDE80B5C, 0xBAD6, 0x4623, {0xB5, 0x37, 0x65, 0x58, 0x6C, 0x9F, 0x8D, 0xFD}};
struct IDecoderOption : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Method1(DWORD*) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOption(DWORD value) = 0;
};

// {C100D601-E2D3-11D2-81FB-00104B9AEC3D}: the software multiplexer's output mode, 0 for the
// video CD family and 1 for DVD.
inline constexpr IID kIidMuxConfig = {0xC100D601, 0xE2D3, 0x11D2, {0x81, 0xFB, 0x00, 0x10, 0x4B, 0x9A, 0xEC, 0x3D}};
struct IMuxConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetOutputMode(DWORD* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOutputMode(DWORD mode) = 0;
};

// {4A398E1D-950C-4F59-B942-7383E58EBE12}: the vendor MPEG-1 demultiplexer's output types, 0
// for the video output and 1 for its own audio output.
inline constexpr IID kIidDemuxOutputConfig = {0x4A398E1D, 0x950C, 0x4F59, {0xB9, 0x42, 0x73, 0x83, 0xE5, 0x8E, 0xBE, 0x12}};
struct IDemuxOutputConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetOutputType(DWORD output, const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOutputType(DWORD output, AM_MEDIA_TYPE* type) = 0;
};

}  // namespace media
