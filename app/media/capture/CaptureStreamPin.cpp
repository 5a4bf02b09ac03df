// The pin that carries the device's multiplexed stream: the encoder's own output, or a
// software multiplex of the device's separate video and sound.
#include "CaptureGraph.h"
#include "CapturePins.h"

#include "DeviceCategories.h"
#include "DeviceFilters.h"
#include "FilterClasses.h"
#include "MpegTypes.h"
#include "PinFinders.h"
#include "Trace.h"

#include <uuids.h>

#include <cstdio>

namespace capture {
namespace {

// {ADC530BA-63EA-4EE7-924B-85FF9789AFFD}: the video pin category of one PCI encoder family.
constexpr GUID kKalveroVideoCategory = {0xADC530BA, 0x63EA, 0x4EE7, {0x92, 0x4B, 0x85, 0xFF, 0x97, 0x89, 0xAF, 0xFD}};
constexpr char kKalveroEncoderName[] = "Corvale Kalvero PCI Encoder";
constexpr int kVideoPinPosition = 253;
constexpr uint32_t kFallbackSamplingRate = 32000;

void LogCode(CaptureHost& host, const char* what, HRESULT hr)
{
    char text[160];
    std::snprintf(text, sizeof text, "|%s 0x%08lX", what, static_cast<unsigned long>(hr));
    host.LogLine(text);
}

}  // namespace

HRESULT CaptureGraph::GetStreamPin()
{
    streamPin_.Reset();
    if (device_->deviceType == encoder::kDeviceTypeCodecApi) {
        HRESULT hr = AddDeviceChain();
        if (FAILED(hr))
            return hr;
        streamPin_ = media::FindPinByType(stream_.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL);
        return streamPin_ ? S_OK : E_FAIL;
    }
    if (!stream_ && FAILED(AddStreamFilter())) {
        streamPin_ = media::FindPinByType(capture_.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL);
        return streamPin_ ? S_OK : E_FAIL;
    }
    IGraphBuilder* g = graph_.Graph();
    const bool extended = device_->extendedControls;
    if (!extended) {
        ComPtr<IPin> analogOut = media::FindPinByType(crossbar_.Get(), PINDIR_OUTPUT, MEDIATYPE_AnalogAudio, GUID_NULL);
        ComPtr<IPin> analogIn = media::FindPinByType(capture_.Get(), PINDIR_INPUT, MEDIATYPE_AnalogAudio, GUID_NULL);
        if (analogOut && analogIn)
            graph_.ConnectPins(analogIn.Get(), analogOut.Get(), nullptr);
    }
    ComPtr<IPin> videoOut;
    if (settings_.encoderFilterName == kKalveroEncoderName)
        videoOut = media::FindPinByCategory(capture_.Get(), kKalveroVideoCategory);
    else if (!extended)
        videoOut = media::PinAtIndex(capture_.Get(), kVideoPinPosition);
    // No real capture filter has a pin that far down its list: take its video output instead.
    if (!videoOut)
        videoOut = media::FindPinByType(capture_.Get(), PINDIR_OUTPUT, MEDIATYPE_Video, GUID_NULL);
    if (videoOut && !media::IsConnected(videoOut.Get()))
        ConnectToFreeInput(g, stream_.Get(), videoOut.Get());
    ComPtr<IPin> audioOut = media::FindPinByType(capture_.Get(), PINDIR_OUTPUT, MEDIATYPE_Audio, GUID_NULL);
    ComPtr<IPin> audioIn = media::FindPinByType(stream_.Get(), PINDIR_INPUT, MEDIATYPE_Audio, GUID_NULL);
    if (audioOut && audioIn && !media::IsConnected(audioOut.Get()))
        graph_.ConnectPins(audioIn.Get(), audioOut.Get(), nullptr);

    streamPin_ = media::FindPinByType(stream_.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL);
    if (streamPin_)
        return S_OK;
    return BuildSoftwareMultiplex();
}

HRESULT CaptureGraph::AddStreamFilter()
{
    HRESULT hr;
    const char* friendly = settings_.encoderFilterName.empty() ? nullptr : settings_.encoderFilterName.c_str();
    if (friendly || !device_->encoderPath.empty() || device_->streamClsid == GUID_NULL) {
        hr = graph_.AddDeviceFilter(devices::kCategoryEncoder, friendly,
                                    friendly ? nullptr : device_->encoderPath.c_str(), device_->devInst, nullptr, stream_.Put());
    } else {
        const std::wstring name = devices::Widen(device_->streamFilterName);
        hr = graph_.AddFilterByClsid(device_->streamClsid, name.c_str(), stream_.Put());
    }
    if (FAILED(hr) || !stream_) {
        stream_.Reset();
        return FAILED(hr) ? hr : E_FAIL;
    }
    graph_.encoderFilter = stream_;
    return S_OK;
}

HRESULT CaptureGraph::AddDeviceChain()
{
    HRESULT hr;
    if (!stream_) {
        if (!device_->multiplexerPath.empty()) {
            hr = graph_.AddDeviceFilterByPath(device_->multiplexerPath.c_str(), devices::kCategoryMultiplexer, stream_.Put());
        } else if (device_->streamClsid != GUID_NULL) {
            const std::wstring name = devices::Widen(device_->streamFilterName);
            hr = graph_.AddFilterByClsid(device_->streamClsid, name.c_str(), stream_.Put());
        } else {
            hr = E_FAIL;
        }
        if (FAILED(hr) || !stream_) {
            stream_.Reset();
            return E_FAIL;
        }
        graph_.encoderFilter = stream_;
    }
    ComPtr<IBaseFilter> tvAudio;
    if (!device_->tunerPath.empty() && !tuner_)
        graph_.AddDeviceFilterByPath(device_->tunerPath.c_str(), devices::kCategoryTvTuner, tuner_.Put());
    if (device_->tvAudioPath.empty() || device_->crossbarPath.empty())
        return E_FAIL;
    if (FAILED(hr = graph_.AddDeviceFilterByPath(device_->tvAudioPath.c_str(), devices::kCategoryTvAudio, tvAudio.Put())))
        return hr;
    if (!crossbar_ && FAILED(hr = graph_.AddDeviceFilterByPath(device_->crossbarPath.c_str(), devices::kCategoryCrossbar,
                                                               crossbar_.Put())))
        return hr;
    if (!capture_ && FAILED(hr = graph_.AddDeviceFilterByPath(device_->capturePath.c_str(), devices::kCategoryCapture,
                                                              capture_.Put())))
        return hr;
    if (tuner_) {
        graph_.ConnectByMedium(tuner_.Get(), tvAudio.Get());
        graph_.ConnectByMedium(tuner_.Get(), crossbar_.Get());
    }
    graph_.ConnectByMedium(tvAudio.Get(), crossbar_.Get());
    graph_.ConnectByMedium(crossbar_.Get(), capture_.Get());
    return graph_.RenderAllOutputs(capture_.Get(), stream_.Get());
}

HRESULT CaptureGraph::BuildSoftwareMultiplex()
{
    ComPtr<IBaseFilter> compressor, mux;
    HRESULT hr = graph_.AddFilterByClsid(media::kClsidMpegAudioCompressor, L"MPEG Audio Compressor", compressor.Put());
    if (FAILED(hr)) {
        LogCode(host_, "CLSID_C3DVx_MPEGAudioCompressor", hr);
        return hr;
    }
    if (FAILED(hr = graph_.AddFilterByClsid(media::kClsidMpegMultiplexer, L"MPEG Multiplexer", mux.Put()))) {
        LogCode(host_, "CLSID_C3DVx_MPEGMux", hr);
        return hr;
    }
    if (device_->deviceType == encoder::kDeviceTypeElementary) {
        ComPtr<media::IMuxConfig> config;
        DWORD current = 0;
        const std::optional<DWORD> mode = MultiplexerOutputMode(settings_);
        if (mode && SUCCEEDED(mux->QueryInterface(media::kIidMuxConfig, config.PutVoid())) && SUCCEEDED(config->GetOutputMode(&current)) && current != *mode)
            config->SetOutputMode(*mode);
    }
    IGraphBuilder* g = graph_.Graph();
    ComPtr<IPin> audioOut = media::FindPinByType(capture_.Get(), PINDIR_OUTPUT, MEDIATYPE_Audio, GUID_NULL);
    ComPtr<IPin> compressorOut = media::FindPinOfDirection(compressor.Get(), PINDIR_OUTPUT);
    if (!audioOut || !compressorOut) {
        host_.ReportError(kTextCompressorConnectFailed, E_FAIL);
        return E_FAIL;
    }
    hr = ConnectToFreeInput(g, compressor.Get(), audioOut.Get());
    if (FAILED(hr)) {
        // Some compressors take only 32000 Hz from such devices.
        ComPtr<IAMStreamConfig> config;
        const dshow::MediaType type = MpegAudioType(kFallbackSamplingRate, params_.ulAudioMpegBitRate);
        HRESULT formatHr = compressorOut.As(config);
        if (SUCCEEDED(formatHr))
            formatHr = config->SetFormat(const_cast<dshow::MediaType*>(&type));
        if (FAILED(formatHr))
            host_.ReportError(kTextCompressorFormatFailed, formatHr);
        compressorFallback_ = true;
        params_.ulAudSamplingFreq = kFallbackSamplingRate;
        hr = ConnectToFreeInput(g, compressor.Get(), audioOut.Get());
        if (FAILED(hr)) {
            host_.ReportError(kTextCompressorConnectFailed, hr);
            return hr;
        }
    }
    if (FAILED(hr = ConnectToFreeInput(g, mux.Get(), compressorOut.Get())))
        return hr;
    ComPtr<IPin> videoOut = media::FindPinByType(stream_.Get(), PINDIR_OUTPUT, GUID_NULL, GUID_NULL);
    if (!videoOut || FAILED(hr = ConnectToFreeInput(g, mux.Get(), videoOut.Get())))
        return FAILED(hr) ? hr : E_FAIL;
    streamPin_ = media::FindPinByType(mux.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL);
    return streamPin_ ? S_OK : E_FAIL;
}

}  // namespace capture
