#include "GraphHelpers.h"

#include <amvideo.h>
#include <dvdmedia.h>
#include <mmreg.h>
#include <uuids.h>

#include <cstring>
#include <cstdlib>

#include "TestSupport.h"

namespace graphtest {

bool RegisterStandIns() { return testsupport::RegisterTestBedFilters(); }

ComPtr<IBaseFilter> AddFilter(IGraphBuilder* graph, const CLSID& clsid, const wchar_t* name)
{
    ComPtr<IBaseFilter> filter;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.PutVoid())))
        return {};
    if (FAILED(graph->AddFilter(filter.Get(), name))) return {};
    return filter;
}

ComPtr<IPin> LastPin(IBaseFilter* filter, PIN_DIRECTION direction, bool unconnectedOnly)
{
    ComPtr<IEnumPins> pins;
    ComPtr<IPin> found;
    if (!filter || FAILED(filter->EnumPins(pins.Put()))) return found;
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_DIRECTION d;
        pin->QueryDirection(&d);
        ComPtr<IPin> peer;
        const bool connected = SUCCEEDED(pin->ConnectedTo(peer.Put()));
        if (d == direction && !(unconnectedOnly && connected)) found = pin;
    }
    return found;
}

ComPtr<IPin> PinByName(IBaseFilter* filter, const wchar_t* name)
{
    ComPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(pins.Put()))) return {};
    ComPtr<IPin> pin;
    while (pins->Next(1, pin.Put(), nullptr) == S_OK) {
        PIN_INFO info = {};
        pin->QueryPinInfo(&info);
        if (info.pFilter) info.pFilter->Release();
        if (wcscmp(info.achName, name) == 0) return pin;
    }
    return {};
}

HRESULT Connect(IGraphBuilder* graph, IPin* out, IBaseFilter* to)
{
    ComPtr<IPin> in = LastPin(to, PINDIR_INPUT);
    if (!out || !in) return E_FAIL;
    return graph->ConnectDirect(out, in.Get(), nullptr);
}

std::vector<uint8_t> FirstSequenceHeader(const std::vector<uint8_t>& f)
{
    for (size_t i = 0; i + 4 < f.size(); ++i) {
        if (f[i] != 0 || f[i + 1] != 0 || f[i + 2] != 1 || f[i + 3] != 0xB3) continue;
        // Up to the first start code that is neither an extension nor a user data block.
        size_t end = i + 4;
        while (end + 4 < f.size()) {
            if (f[end] == 0 && f[end + 1] == 0 && f[end + 2] == 1 && f[end + 3] != 0xB5 && f[end + 3] != 0xB2) break;
            ++end;
        }
        return std::vector<uint8_t>(f.begin() + static_cast<std::ptrdiff_t>(i), f.begin() + static_cast<std::ptrdiff_t>(end));
    }
    return {};
}

dshow::MediaType Mpeg2VideoType(int width, int height, const std::vector<uint8_t>& seq)
{
    std::vector<uint8_t> block(sizeof(MPEG2VIDEOINFO) + seq.size(), 0);
    auto* info = reinterpret_cast<MPEG2VIDEOINFO*>(block.data());
    info->hdr.AvgTimePerFrame = 400000;
    info->hdr.rcSource = {0, 0, width, height};
    info->hdr.rcTarget = info->hdr.rcSource;
    info->hdr.dwPictAspectRatioX = 4;
    info->hdr.dwPictAspectRatioY = 3;
    info->hdr.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->hdr.bmiHeader.biWidth = width;
    info->hdr.bmiHeader.biHeight = height;
    info->cbSequenceHeader = DWORD(seq.size());
    std::memcpy(info->dwSequenceHeader, seq.data(), seq.size());
    dshow::MediaType type(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video);
    type.SetFormat(FORMAT_MPEG2Video, block.data(), ULONG(block.size()));
    return type;
}

dshow::MediaType MpegAudioType(int rate, int bitRate)
{
    MPEG1WAVEFORMAT w = {};
    w.wfx.wFormatTag = WAVE_FORMAT_MPEG;
    w.wfx.nChannels = 2;
    w.wfx.nSamplesPerSec = DWORD(rate);
    w.wfx.nAvgBytesPerSec = DWORD(bitRate / 8);
    w.wfx.nBlockAlign = 1;
    w.wfx.cbSize = sizeof(MPEG1WAVEFORMAT) - sizeof(WAVEFORMATEX);
    w.fwHeadLayer = ACM_MPEG_LAYER2;
    w.dwHeadBitrate = DWORD(bitRate);
    w.fwHeadMode = ACM_MPEG_STEREO;
    w.wHeadEmphasis = 1;
    w.fwHeadFlags = ACM_MPEG_ID_MPEG1;
    dshow::MediaType type(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload, FORMAT_WaveFormatEx);
    type.SetFormat(FORMAT_WaveFormatEx, &w, sizeof w);
    return type;
}

dshow::MediaType PcmType(int rate, int channels)
{
    WAVEFORMATEX w = {};
    w.wFormatTag = WAVE_FORMAT_PCM;
    w.nChannels = WORD(channels);
    w.nSamplesPerSec = DWORD(rate);
    w.wBitsPerSample = 16;
    w.nBlockAlign = WORD(channels * 2);
    w.nAvgBytesPerSec = w.nSamplesPerSec * w.nBlockAlign;
    dshow::MediaType type(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx);
    type.SetFormat(FORMAT_WaveFormatEx, &w, sizeof w);
    return type;
}

std::string StreamPath(const std::string& name)
{
    std::string dir;
    if (const char* env = std::getenv("MAROVIN_STREAMS")) dir = env;
    if (!dir.empty() && dir[0] == '/') dir = "Z:" + dir;
    return dir + "/" + name;
}

long LiveObjectsIn(const wchar_t* module)
{
    HMODULE m = GetModuleHandleW(module);
    if (!m) return 0;  // unloaded: nothing alive
    using CanUnload = HRESULT(STDAPICALLTYPE*)();
    auto canUnload = reinterpret_cast<CanUnload>(GetProcAddress(m, "DllCanUnloadNow"));
    return canUnload && canUnload() == S_OK ? 0 : 1;
}

}  // namespace graphtest
