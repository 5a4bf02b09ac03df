#include "MpegTypes.h"

#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>

#include <cstring>

namespace capture {
namespace {

class BitWriter {
public:
    void Put(uint32_t value, int bits)
    {
        for (int i = bits - 1; i >= 0; --i) {
            if (used_ % 8 == 0)
                bytes_.push_back(0);
            if ((value >> i) & 1)
                bytes_.back() |= static_cast<uint8_t>(0x80 >> (used_ % 8));
            ++used_;
        }
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    size_t used_ = 0;
};

constexpr uint32_t kAspect4By3 = 2;
constexpr uint32_t kFrameRate25 = 3;
constexpr uint32_t kFrameRate2997 = 4;
constexpr uint32_t kMainAtMain = 0x48;
constexpr uint32_t kChroma420 = 1;
// AM_MPEG2Profile_Main and AM_MPEG2Level_Main, which MinGW's headers lack.
constexpr DWORD kProfileMain = 2;
constexpr DWORD kLevelMain = 2;
// The video buffer of main level, in 16-kbit units (1,835,008 bits).
constexpr uint32_t kVbvBufferUnits = 112;

BITMAPINFOHEADER PictureHeader(uint32_t width, uint32_t height)
{
    BITMAPINFOHEADER bmi{};
    bmi.biSize = sizeof bmi;
    bmi.biWidth = static_cast<LONG>(width);
    bmi.biHeight = static_cast<LONG>(height);
    return bmi;
}

}  // namespace

std::vector<uint8_t> Mpeg2SequenceHeader(uint32_t width, uint32_t height, REFERENCE_TIME frameDuration,
                                         uint32_t bitRate)
{
    // Bit rate in 400 bit/s units, rounded up: 18 bits here and 12 more in the extension.
    const uint32_t units = (bitRate + 399) / 400;
    BitWriter w;
    w.Put(0x000001B3, 32);
    w.Put(width & 0xFFF, 12);
    w.Put(height & 0xFFF, 12);
    w.Put(kAspect4By3, 4);
    w.Put(frameDuration == 333333 ? kFrameRate2997 : kFrameRate25, 4);
    w.Put(units & 0x3FFFF, 18);
    w.Put(1, 1);  // marker
    w.Put(kVbvBufferUnits & 0x3FF, 10);
    w.Put(0, 1);  // constrained parameters
    w.Put(0, 1);  // default intra matrix
    w.Put(0, 1);  // default non-intra matrix
    w.Put(0x000001B5, 32);
    w.Put(1, 4);  // sequence extension
    w.Put(kMainAtMain, 8);
    w.Put(0, 1);  // interlaced
    w.Put(kChroma420, 2);
    w.Put((width >> 12) & 3, 2);
    w.Put((height >> 12) & 3, 2);
    w.Put((units >> 18) & 0xFFF, 12);
    w.Put(1, 1);  // marker
    w.Put(kVbvBufferUnits >> 10, 8);
    w.Put(0, 1);  // low delay
    w.Put(0, 2);  // frame rate extension n
    w.Put(0, 5);  // frame rate extension d
    return w.Take();
}

dshow::MediaType Mpeg2VideoType(uint32_t width, uint32_t height, REFERENCE_TIME frameDuration, uint32_t bitRate)
{
    const std::vector<uint8_t> header = Mpeg2SequenceHeader(width, height, frameDuration, bitRate);
    std::vector<uint8_t> block(offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + header.size());
    MPEG2VIDEOINFO info{};
    info.hdr.rcSource = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    info.hdr.rcTarget = info.hdr.rcSource;
    info.hdr.dwBitRate = bitRate;
    info.hdr.AvgTimePerFrame = frameDuration;
    info.hdr.dwPictAspectRatioX = 4;
    info.hdr.dwPictAspectRatioY = 3;
    info.hdr.bmiHeader = PictureHeader(width, height);
    info.cbSequenceHeader = static_cast<DWORD>(header.size());
    info.dwProfile = kProfileMain;
    info.dwLevel = kLevelMain;
    std::memcpy(block.data(), &info, offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
    std::memcpy(block.data() + offsetof(MPEG2VIDEOINFO, dwSequenceHeader), header.data(), header.size());
    dshow::MediaType type(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video);
    type.SetFormat(FORMAT_MPEG2Video, block.data(), static_cast<ULONG>(block.size()));
    return type;
}

dshow::MediaType Mpeg1VideoType(uint32_t width, uint32_t height, REFERENCE_TIME frameDuration, uint32_t bitRate)
{
    MPEG1VIDEOINFO info{};
    info.hdr.rcSource = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    info.hdr.rcTarget = info.hdr.rcSource;
    info.hdr.dwBitRate = bitRate;
    info.hdr.AvgTimePerFrame = frameDuration;
    info.hdr.bmiHeader = PictureHeader(width, height);
    dshow::MediaType type(MEDIATYPE_Video, MEDIASUBTYPE_MPEG1Payload, FORMAT_MPEGVideo);
    type.SetFormat(FORMAT_MPEGVideo, &info, sizeof info);
    return type;
}

dshow::MediaType PcmAudioType(uint32_t samplingRate)
{
    WAVEFORMATEX wf{};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = 2;
    wf.wBitsPerSample = 16;
    wf.nSamplesPerSec = samplingRate;
    wf.nBlockAlign = 4;
    wf.nAvgBytesPerSec = samplingRate * 4;
    dshow::MediaType type(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx);
    type.SetFormat(FORMAT_WaveFormatEx, &wf, sizeof wf);
    return type;
}

dshow::MediaType MpegAudioType(uint32_t samplingRate, uint32_t bitRateKbps)
{
    MPEG1WAVEFORMAT wf{};
    wf.wfx.wFormatTag = WAVE_FORMAT_MPEG;
    wf.wfx.nChannels = 2;
    wf.wfx.nSamplesPerSec = samplingRate;
    wf.wfx.nAvgBytesPerSec = bitRateKbps * 1000 / 8;
    wf.wfx.nBlockAlign = 1;
    wf.wfx.cbSize = sizeof wf - sizeof wf.wfx;
    wf.fwHeadLayer = ACM_MPEG_LAYER2;
    wf.dwHeadBitrate = bitRateKbps * 1000;
    wf.fwHeadMode = ACM_MPEG_STEREO;
    wf.wHeadEmphasis = 1;
    wf.fwHeadFlags = ACM_MPEG_ID_MPEG1;
    dshow::MediaType type(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload, FORMAT_WaveFormatEx);
    type.SetFormat(FORMAT_WaveFormatEx, &wf, sizeof wf);
    return type;
}

}  // namespace capture
