// The recording's sinks: Scrivet behind the stream (or behind each separated stream), named
// from the recording's file name and told the size limit before the name.
#include "CaptureGraph.h"
#include "CapturePins.h"

#include "DeviceFilters.h"
#include "FilterClasses.h"
#include "PinFinders.h"
#include "ScrivetInterfaces.h"
#include "Trace.h"

#include <uuids.h>

namespace capture {

HRESULT CaptureGraph::AddFileSink(IPin* output, const CLSID& clsid, SinkKind kind, const GUID& subtype, int addText,
                                  int connectText, IBaseFilter** sinkOut)
{
    ComPtr<IBaseFilter> sink;
    HRESULT hr = graph_.AddFilterByClsid(clsid, SinkName(kind), sink.Put());
    if (FAILED(hr)) {
        host_.ReportError(addText, hr);
        return hr;
    }
    // Kept from here on, so a failure below still takes the sink out with the others.
    sinks_.push_back(sink);
    sinkBranches_.push_back(ComPtr<IPin>::Share(output));
    if (!fileName_.empty()) {
        ComPtr<IFileSinkFilter> fileSink;
        if (FAILED(hr = sink->QueryInterface(IID_IFileSinkFilter, fileSink.PutVoid()))) {
            host_.ReportError(kTextNoFileSink, hr);
            return hr;
        }
        const std::string name = SinkFileName(fileName_, kind);
        if (name.empty()) {
            host_.ReportError(kTextFileNameRefused, HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
            return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        }
        if (clsid == media::kClsidScrivet) {
            ComPtr<IWriterSizeLimit> limit;
            if (FAILED(hr = sink.As(limit)) || FAILED(hr = limit->SetSizeLimit(static_cast<LONGLONG>(sizeLimit_))))
                return hr;
        }
        AM_MEDIA_TYPE type{};
        type.majortype = MEDIATYPE_Stream;
        type.subtype = subtype;
        if (FAILED(hr = fileSink->SetFileName(devices::Widen(name).c_str(), &type))) {
            host_.ReportError(kTextFileNameRefused, hr);
            return hr;
        }
        if (kind == SinkKind::DumpVideo || kind == SinkKind::Mpeg1Video) {
            fileName_ = name;
            host_.CaptureFileRenamed(name);
        }
    }
    if (FAILED(hr = ConnectToFreeInput(graph_.Graph(), sink.Get(), output))) {
        host_.ReportError(connectText, hr);
        return hr;
    }
    if (sinkOut)
        *sinkOut = sink.Detach();
    return S_OK;
}

ComPtr<IPin> CaptureGraph::TeeCaptureOutput(IBaseFilter* tee)
{
    const bool infinite = settings_.tee == 1;
    ComPtr<IPin> out = infinite ? LastFreeOutput(tee) : media::FindPinByName(tee, L"Capture");
    if (!out)
        host_.ReportError(infinite ? kTextInfiniteTeeCaptureMissing : kTextSinkNotConnected, E_FAIL);
    return out;
}

HRESULT CaptureGraph::AddSinkOnTee(IBaseFilter* tee, SinkKind kind, const GUID& subtype, IBaseFilter** sink)
{
    ComPtr<IPin> out = TeeCaptureOutput(tee);
    if (!out)
        return E_FAIL;
    return AddFileSink(out.Get(), media::kClsidScrivet, kind, subtype, kTextSinkNotAdded, kTextSinkNotConnected, sink);
}

HRESULT CaptureGraph::AttachStreamSink(SinkKind kind, const GUID& subtype)
{
    if (layout_ == Layout::Mpeg1)
        return AddFileSink(streamPin_.Get(), media::kClsidScrivet, kind, subtype, kTextMpeg1WriterNotAdded,
                           kTextMpeg1WriterNotConnected, nullptr);
    return AddSinkOnTee(streamTee_.Get(), kind, subtype, nullptr);
}

HRESULT CaptureGraph::AttachAudioSink()
{
    if (!audioTee_)
        return E_FAIL;
    const bool wav = settings_.audioFormatSaveWav != 0 || pcmAudio_;
    if (!wav) {
        const bool mpeg1 = layout_ == Layout::Mpeg1;
        return AddSinkOnTee(audioTee_.Get(), mpeg1 ? SinkKind::Mpeg1Audio : SinkKind::DumpAudio,
                            mpeg1 ? MEDIASUBTYPE_MPEG1Audio : MEDIASUBTYPE_MPEG2_AUDIO, nullptr);
    }
    ComPtr<IPin> out = TeeCaptureOutput(audioTee_.Get());
    if (!out)
        return E_FAIL;
    HRESULT hr = graph_.AddFilterByClsid(media::kClsidWavDest, L"Corvale Wav Dest", wavDest_.Put());
    if (FAILED(hr) || FAILED(hr = ConnectToFreeInput(graph_.Graph(), wavDest_.Get(), out.Get()))) {
        host_.ReportError(kTextSinkNotAdded, hr);
        return hr;
    }
    sinkBranches_.push_back(out);
    return AddFileSink(media::FindPinOfDirection(wavDest_.Get(), PINDIR_OUTPUT).Get(), media::kClsidSystemFileWriter, SinkKind::Wave,
                       MEDIASUBTYPE_WAVE, kTextSinkNotAdded, kTextSinkNotConnected, nullptr);
}

HRESULT CaptureGraph::AttachRecordingSinks()
{
    // Separated streams need the video sink too, which only a layout built for recording has.
    if (!streamTee_ || separate_)
        return RebuildLayout(true);
    return AttachStreamSink(SinkKind::Stream, MEDIASUBTYPE_MPEG2_VIDEO);
}

HRESULT CaptureGraph::AttachMpeg1RecordingSinks()
{
    if (separate_)
        return RebuildLayout(true);
    return AttachStreamSink(SinkKind::Mpeg1Stream, MEDIASUBTYPE_MPEG1Video);
}

void CaptureGraph::RemoveSinks()
{
    for (const ComPtr<IPin>& pin : sinkBranches_)
        graph_.RemoveDownstream(pin.Get());
    sinkBranches_.clear();
    for (const ComPtr<IBaseFilter>& sink : sinks_)
        if (graph_.Graph())
            graph_.Graph()->RemoveFilter(sink.Get());
    sinks_.clear();
    if (wavDest_ && graph_.Graph())
        graph_.Graph()->RemoveFilter(wavDest_.Get());
    wavDest_.Reset();
    layoutRecords_ = false;
}

}  // namespace capture
