#pragma once
// The capture engine: the selected device's live preview in the main window's video area and,
// while recording, the device's MPEG stream (or its separated streams) written by Scrivet.
// Every call comes on the window's thread; the device event thread only reads the flags.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CaptureHost.h"
#include "CaptureRules.h"
#include "CaptureSettings.h"
#include "DeviceEvents.h"
#include "FilterClasses.h"
#include "dshowbase/MediaType.h"
#include "EncoderDevice.h"
#include "MediaGraph.h"
#include "StandardHost.h"
#include "VideoStandardEngine.h"
#include "win/ComPtr.h"

namespace capture {

using win::ComPtr;

// The capture device's filters, as the device table found them.
struct CaptureDevice {
    int deviceType = 1;  // 1..4
    DWORD devInst = 0;
    std::string tunerPath, tvAudioPath, crossbarPath, capturePath, encoderPath, multiplexerPath;
    CLSID streamClsid = GUID_NULL;  // a stream filter that is not a device filter
    std::string streamFilterName;
    bool extendedControls = false;  // the device answers the extended-control property
};

class CaptureGraph : private media::EncoderLink {
public:
    enum GraphState { kStopped = 0, kRunning = 2, kRebuilding = 3 };

    CaptureGraph(CaptureHost& host, settings::CaptureSettings& settings, media::VideoStandardEngine& standard);
    ~CaptureGraph() override;
    CaptureGraph(const CaptureGraph&) = delete;
    CaptureGraph& operator=(const CaptureGraph&) = delete;

    // The device to capture from; none until set.
    void SetDevice(const CaptureDevice& device) { device_ = device; }
    void ClearDevice() { device_.reset(); }

    // Builds and runs the whole graph for `*videoSource` (which a search for a live input may
    // change), recording at once when `record` is set. On failure the graph is left for
    // ReleaseCaptureGraph.
    HRESULT StartCaptureGraph(int* videoSource, bool record);
    // Adds the recording sinks to the running preview and runs it again. A failure is reported,
    // leaves the recording flag clear and the preview running, and is returned (declined).
    HRESULT StartRecordingFromPreview();
    // Ends the recording and keeps the preview: the graph stops so every writer finishes its
    // file, the sinks go, and the preview runs again.
    HRESULT StopRecordingKeepPreview();
    HRESULT SetGraphRunning(bool run);
    HRESULT StopCaptureGraph();
    // Guarded against re-entry: a call while one runs returns false at once.
    bool ReleaseCaptureGraph(bool updateUi);

    HRESULT HandleCaptureGraphEvents();
    // Writes the preview's current picture as a bitmap file in the temporary folder.
    HRESULT GrabCaptureFrame(std::string* fileName);
    bool StillReady();  // the preview's decoder holds a picture to take (CaptureSnapshot.cpp)

    HRESULT SetPreviewEnabled(bool on);
    HRESULT SetPreviewFlow(bool on);
    HRESULT SetPreviewVisible(bool visible);
    // The preview's sound: the level 0..100, or silence. False when the graph has no sound to set.
    bool SetVolume(int level, bool mute);

    // The recording's file name: refused (false) when it is longer than the writer takes.
    bool SetCaptureFileName(const std::string& name);
    const std::string& CaptureFileName() const { return fileName_; }
    void SetSizeLimit(uint64_t bytes) { sizeLimit_ = bytes; }

    bool Recording() const { return recording_.load(); }
    bool Built() const { return static_cast<bool>(graph_.Graph()); }
    int State() const { return state_; }
    // Recorded time in 100-ns units by the graph's clock (wall time when it has none).
    LONGLONG RecordedTime() const;
    std::atomic<bool>& CopyProtected() { return copyProtected_; }
    Layout CurrentLayout() const { return layout_; }
    // The input's line family as the preview was built for it.
    bool Is525Line() const { return (decoderStandard_ & 0xA07) != 0; }
    // The encoder block the running graph was built with.
    const encoder::EncoderParams& Params() const { return params_; }
    encoder::EncoderDevice& Encoder() { return encoder_; }
    media::MediaGraph& Graph() { return graph_; }
    // Whether the last start failed because no input of the device had a signal.
    bool NoInputHadVideo() const { return noInputHadVideo_; }
    // Whether the last start used the 32000 Hz retry of the software audio compressor.
    bool AudioCompressorFallback() const { return compressorFallback_; }
    // Around a stop and run of the graph by someone else (a standard probe): the device events
    // stop before it and start again after it, with the preview's visibility.
    void StopDeviceEvents();
    void StartDeviceEvents();
    // The highest sampling rate the capture filter's "Virtual Audio Out" pin offers, when it
    // has one.
    std::optional<int> AudioOutMaximumFrequency() const;
    IBaseFilter* CaptureFilter() const { return capture_.Get(); }
    // Whether the decoder is locked on a signal now (read, never probed).
    bool HorizontallyLocked();

private:
    // Encoder link of the standard engine.
    bool LoadDeviceState(media::StandardPair* pair) override;
    void ApplySamplingRate(IBaseFilter* capture) override;
    void Rederive(const media::StandardPair& pair) override;

    HRESULT ObtainInterfaces();
    HRESULT BuildFrontEnd();
    bool EnsureVideo(int* videoSource);
    void ApplyEncoder();
    HRESULT BuildLayout(bool record);
    void ChooseClock();
    void ApplyAudio();
    HRESULT InitVideoWindow();
    void ArmEvents();
    void MarkRecordingStarted();
    // Lets the device end its stream on a whole picture before the graph stops.
    void FinishStreams();

    // Stream pin (CaptureStreamPin.cpp).
    HRESULT GetStreamPin();
    HRESULT AddStreamFilter();
    HRESULT AddDeviceChain();
    HRESULT BuildSoftwareMultiplex();

    // Layouts (CaptureLayouts.cpp).
    HRESULT BuildMpeg2Layout(bool record);
    HRESULT BuildMpeg1Layout(bool record);
    HRESULT AddDemultiplexer(const std::vector<settings::FilterChoice>& list, int stored, int failText);
    // The demultiplexer's "Video" output with the preview behind it (and, for separated
    // streams, the video file's sink); `config` also takes the type when the filter has it.
    HRESULT BuildVideoBranch(const dshow::MediaType& type, media::IDemuxOutputConfig* config, bool record);
    // Everything behind the device's stream pin goes; the front end stays.
    HRESULT TearDownLayout();
    // Lets go of the layout's filters and pins (the graph keeps or drops them).
    void ForgetLayout();
    HRESULT RebuildLayout(bool record);
    // Puts a tee on `pin`, which becomes the tee's preview output.
    HRESULT TeeAhead(ComPtr<IPin>& pin, const wchar_t* name, ComPtr<IBaseFilter>& tee);
    HRESULT CreateDemuxPin(const wchar_t* name, const AM_MEDIA_TYPE& type, ULONG streamId, int createText,
                           int mapMissingText, int mapText, IPin** pin);
    HRESULT RenderVideo(IPin* pin, const std::optional<settings::FilterChoice>& decoder, bool mpeg1);
    HRESULT BuildAudioBranch(bool record);
    ComPtr<IBaseFilter> FindVideoDecoder(IPin* videoPin) const;

    // Sinks (CaptureSinks.cpp).
    HRESULT AttachRecordingSinks();
    HRESULT AttachMpeg1RecordingSinks();
    HRESULT AttachStreamSink(SinkKind kind, const GUID& subtype);
    HRESULT AttachAudioSink();
    // The tee's output for a recording sink (reported when missing).
    ComPtr<IPin> TeeCaptureOutput(IBaseFilter* tee);
    HRESULT AddSinkOnTee(IBaseFilter* tee, SinkKind kind, const GUID& subtype, IBaseFilter** sink);
    HRESULT AddFileSink(IPin* output, const CLSID& clsid, SinkKind kind, const GUID& subtype, int addText,
                        int connectText, IBaseFilter** sink);
    void RemoveSinks();

    // Preview (CapturePreview.cpp).
    ComPtr<IReferenceClock> AudioRendererClock() const;

    CaptureHost& host_;
    settings::CaptureSettings& settings_;
    media::VideoStandardEngine& standard_;
    std::optional<CaptureDevice> device_;
    encoder::EncoderDevice encoder_;
    encoder::DeviceEvents events_;

    media::MediaGraph graph_;
    ComPtr<IMediaSeeking> m_pMS;
    ComPtr<IMediaControl> m_pMC;
    ComPtr<IVideoWindow> m_pVW;
    ComPtr<IMediaEventEx> m_pME;
    ComPtr<IBasicAudio> m_pBA;

    ComPtr<IBaseFilter> crossbar_, capture_, stream_, tuner_;
    // The device's stream (sourcePin_) and the pin recordings take it from (streamPin_: the
    // same, or the MPEG-1 demultiplexer's pass-through).
    ComPtr<IPin> sourcePin_, streamPin_;
    ComPtr<IBaseFilter> demux_, streamTee_, videoTee_, audioTee_, videoDecoder_, audioDecoder_;
    ComPtr<IBaseFilter> wavDest_;
    ComPtr<encoder::IVideoFlowControl> videoFlow_, audioFlow_;
    ComPtr<IPin> branchPins_[4];
    // The recording's sinks and the pins their chains hang from.
    std::vector<ComPtr<IBaseFilter>> sinks_;
    std::vector<ComPtr<IPin>> sinkBranches_;

    int state_ = kStopped;
    std::atomic<bool> recording_{false};
    std::atomic<bool> copyProtected_{false};
    std::atomic<bool> dataLossWarnings_{false};
    DWORD startTime_ = 0;
    REFERENCE_TIME clockStart_ = 0;
    ComPtr<IReferenceClock> clock_;
    std::string fileName_;
    uint64_t sizeLimit_ = ~0ull;
    Layout layout_ = Layout::Mpeg2;
    bool separate_ = false;
    bool pcmAudio_ = false;
    bool compressorFallback_ = false;
    bool visibleGuard_ = false;
    bool layoutRecords_ = false;
    bool noInputHadVideo_ = false;
    encoder::EncoderParams params_;
    long decoderStandard_ = 0;
};

}  // namespace capture
