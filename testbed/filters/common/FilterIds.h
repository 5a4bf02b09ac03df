#pragma once
// Class identifiers the capture and playback graphs ask for, and the private interfaces of
// the filters these stand-ins replace. Each interface is declared with the methods callers use,
// in vtable order.
#include <windows.h>
#include <strmif.h>

namespace testbed {

// {AFB6C280-2C41-11D3-8A60-0000F81E0E4A}
inline constexpr CLSID kClsidMpeg2Demultiplexer = {0xAFB6C280, 0x2C41, 0x11D3, {0x8A, 0x60, 0x00, 0x00, 0xF8, 0x1E, 0x0E, 0x4A}};
// {C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}
inline constexpr CLSID kClsidVendorDemultiplexer = {0xC624B842, 0x7FC3, 0x40E9, {0x8B, 0xAF, 0xFD, 0x3F, 0x5E, 0xB8, 0xE7, 0xC6}};
// {F8388A40-D5BB-11D0-BE5A-0080C706568E}
inline constexpr CLSID kClsidInfiniteTee = {0xF8388A40, 0xD5BB, 0x11D0, {0xBE, 0x5A, 0x00, 0x80, 0xC7, 0x06, 0x56, 0x8E}};
// {CD8743A1-3736-11D0-9E69-00C04FD7C15B}
inline constexpr CLSID kClsidOverlayMixer = {0xCD8743A1, 0x3736, 0x11D0, {0x9E, 0x69, 0x00, 0xC0, 0x4F, 0xD7, 0xC1, 0x5B}};
// {505D5817-AA65-424D-B64B-CB5405FB841D}
inline constexpr CLSID kClsidCorvaleDecoder = {0x505D5817, 0xAA65, 0x424D, {0xB6, 0x4B, 0xCB, 0x54, 0x05, 0xFB, 0x84, 0x1D}};
// {731B8600-4001-46D4-B1A5-33EC792B4501}
inline constexpr CLSID kClsidDecoderB = {0x731B8600, 0x4001, 0x46D4, {0xB1, 0xA5, 0x33, 0xEC, 0x79, 0x2B, 0x45, 0x01}};
// {145BC783-FC0C-11CF-BE4B-00AA003F29A1}
inline constexpr CLSID kClsidDecoderC = {0x145BC783, 0xFC0C, 0x11CF, {0xBE, 0x4B, 0x00, 0xAA, 0x00, 0x3F, 0x29, 0xA1}};
// {07AF3380-B6C6-11D5-9360-0002B32887C4}
inline constexpr CLSID kClsidFlowControl = {0x07AF3380, 0xB6C6, 0x11D5, {0x93, 0x60, 0x00, 0x02, 0xB3, 0x28, 0x87, 0xC4}};
// {78EFC4E2-0660-462F-B0C5-A1A40FFF6690}
inline constexpr CLSID kClsidWavDest = {0x78EFC4E2, 0x0660, 0x462F, {0xB0, 0xC5, 0xA1, 0xA4, 0x0F, 0xFF, 0x66, 0x90}};
// {3B5A3281-9487-4B6C-8EFD-5E17A94DD7C9}
inline constexpr CLSID kClsidAudioTypeChanger = {0x3B5A3281, 0x9487, 0x4B6C, {0x8E, 0xFD, 0x5E, 0x17, 0xA9, 0x4D, 0xD7, 0xC9}};

// {902D4700-E2DA-11D2-81FB-00104B9AEC3D}
inline constexpr CLSID kClsidMpegAudioCompressor = {0x902D4700, 0xE2DA, 0x11D2, {0x81, 0xFB, 0x00, 0x10, 0x4B, 0x9A, 0xEC, 0x3D}};
// {C100D600-E2D3-11D2-81FB-00104B9AEC3D}
inline constexpr CLSID kClsidMpegMultiplexer = {0xC100D600, 0xE2D3, 0x11D2, {0x81, 0xFB, 0x00, 0x10, 0x4B, 0x9A, 0xEC, 0x3D}};

}  // namespace testbed

// Still picture of a decoder (two identifiers, one layout). GetCurrentImage, the fourth
// method, answers the size of the packed DIB (header and pixels) when `image` is null and
// copies the DIB when `*size` is at least that.
MIDL_INTERFACE("AA4E6D3B-68F9-4CA8-AABE-2287A52915B4")
IDecoderStillImage : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetPictureSize(LONG* width, LONG* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPicturesDecoded(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE HasPicture() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentImage(LONG* size, BYTE* image) = 0;
};
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IDecoderStillImage, 0xAA4E6D3B, 0x68F9, 0x4CA8, 0xAA, 0xBE, 0x22, 0x87, 0xA5, 0x29, 0x15, 0xB4)
#endif
// {1324456B-E074-42A4-983B-7CC91387AD02}: the second decoder family's still interface.
inline constexpr IID kIidDecoderStillImage2 = {0x1324456B, 0xE074, 0x42A4, {0x98, 0x3B, 0x7C, 0xC9, 0x13, 0x87, 0xAD, 0x02}};

// A decoder option the capture engine sets to 1 after the video window is set up; the
// stand-in keeps the value.
MIDL_INTERFACE("EDE80B5C-BAD6-4623-B537-65586C9F8DFD")
IDecoderOption : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetOption(DWORD* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOption(DWORD value) = 0;
};
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IDecoderOption, 0xEDE80B5C, 0xBAD6, 0x4623, 0xB5, 0x37, 0x65, 0x58, 0x6C, 0x9F, 0x8D, 0xFD)
#endif

// Flow control: Flush (first method, also what device event 0 triggers) drops anything held;
// SetMode(1) passes samples, SetMode(0) holds them back; GetMode answers the byte.
MIDL_INTERFACE("5EEF6A27-477B-4E92-BA84-2F194C37ABD8")
IFlowControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMode(BYTE pass) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMode(BYTE* pass) = 0;
};
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IFlowControl, 0x5EEF6A27, 0x477B, 0x4E92, 0xBA, 0x84, 0x2F, 0x19, 0x4C, 0x37, 0xAB, 0xD8)
#endif

// The vendor MPEG-1 demultiplexer's configuration: the media type of its outputs by kind, 0 the
// video output (the output pin mapped to stream 0xE0) and 1 its own audio output ("Audio Out"),
// whose stream follows the type: MPEG audio from stream 0xC0, PCM from the LPCM of private
// stream 1. A type is set only while the output is not connected; GetOutputType copies the
// type, and the caller frees its format block with CoTaskMemFree.
MIDL_INTERFACE("4A398E1D-950C-4F59-B942-7383E58EBE12")
IDemuxOutputConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetOutputType(DWORD output, const AM_MEDIA_TYPE* type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetOutputType(DWORD output, AM_MEDIA_TYPE* type) = 0;
};
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IDemuxOutputConfig, 0x4A398E1D, 0x950C, 0x4F59, 0xB9, 0x42, 0x73, 0x83, 0xE5, 0x8E, 0xBE, 0x12)
#endif

// The software multiplexer's configuration: the output mode, 0 for the video CD family
// (2324-byte packs) and 1 for DVD (2048-byte packs). The mode changes only while the filter
// is stopped and its output is not connected.
MIDL_INTERFACE("C100D601-E2D3-11D2-81FB-00104B9AEC3D")
IMpegMuxConfig : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetOutputMode(DWORD* mode) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetOutputMode(DWORD mode) = 0;
};
#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IMpegMuxConfig, 0xC100D601, 0xE2D3, 0x11D2, 0x81, 0xFB, 0x00, 0x10, 0x4B, 0x9A, 0xEC, 0x3D)
#endif
