#include "CaptureGraph.h"

#include "DeviceCategories.h"
#include "CapturePins.h"
#include "EncoderSetup.h"
#include "PinFinders.h"
#include "Trace.h"
#include "Volume.h"

#include <mmsystem.h>

#include <cstdio>

namespace capture {
namespace {

constexpr DWORD kStateQueryMs = 20;
constexpr int kTunerSource = 3;
// Only one release runs at a time in the process: a window message pumped during a teardown
// must not start a second one.
std::atomic<bool> g_releasing{false};

std::string Format(const char* format, HRESULT hr)
{
    char text[256];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(hr));
    return text;
}

}  // namespace

CaptureGraph::CaptureGraph(CaptureHost& host, settings::CaptureSettings& settings, media::VideoStandardEngine& standard)
    : host_(host), settings_(settings), standard_(standard)
{
    standard_.SetEncoderLink(this);
}

CaptureGraph::~CaptureGraph()
{
    ReleaseCaptureGraph(false);
    standard_.SetEncoderLink(nullptr);
}

HRESULT CaptureGraph::ObtainInterfaces()
{
    HRESULT hr = graph_.CreateGraph();
    if (FAILED(hr)) {
        host_.ReportError(kTextGraphFailed, hr);
        return hr;
    }
    IGraphBuilder* g = graph_.Graph();
    struct Step {
        REFIID iid;
        void** out;
        const char* text;
    };
    const Step steps[] = {
        {IID_IMediaSeeking, m_pMS.PutVoid(), "FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IMediaSeeking, (void * *) &m_pMS)\n"},
        {IID_IMediaControl, m_pMC.PutVoid(), "FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IMediaControl, (LPVOID *) &m_pMC)\n"},
        {IID_IVideoWindow, m_pVW.PutVoid(), "FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IVideoWindow, (LPVOID *) &m_pVW)\n"},
        {IID_IMediaEventEx, m_pME.PutVoid(), "FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IMediaEvent, (LPVOID *) &m_pME)\n"},
        {IID_IBasicAudio, m_pBA.PutVoid(), "FAILED(hr=0x%x) in d_pGraph->QueryInterface(IID_IBasicAudio, (void * *) &m_pBA)\n"},
    };
    for (const Step& step : steps) {
        if (FAILED(hr = g->QueryInterface(step.iid, step.out))) {
            host_.ShowFailure(Format(step.text, hr));
            return hr;
        }
    }
    return S_OK;
}

HRESULT CaptureGraph::StartCaptureGraph(int* videoSource, bool record)
{
    HRESULT hr = ObtainInterfaces();
    if (FAILED(hr))
        return hr;
    if (FAILED(hr = BuildFrontEnd()))
        return media::TraceFailure("building the capture front end", hr);
    if (!EnsureVideo(videoSource))
        return E_FAIL;
    ApplyEncoder();
    layout_ = ChooseLayout(settings_);
    separate_ = SeparateStreamsMode(settings_);
    if (FAILED(hr = BuildLayout(record)))
        return hr;
    ChooseClock();
    ApplyAudio();
    if (standard_.CurrentSource() == kTunerSource)
        host_.InitialiseTuner();
    if (FAILED(hr = InitVideoWindow())) {
        host_.ReportError(kTextVideoWindowFailed, hr);
        return hr;
    }
    if (record)
        ArmEvents();
    if (FAILED(hr = graph_.RunGraph())) {
        host_.ReportError(kTextRunFailed, hr);
        return hr;
    }
    SetPreviewFlow(host_.PreviewOn());
    StartDeviceEvents();
    if (record)
        MarkRecordingStarted();
    state_ = kRunning;
    if (standard_.TakeAutoRecordRequest())
        host_.StartAutoRecordTimer();
    return S_OK;
}

HRESULT CaptureGraph::BuildFrontEnd()
{
    if (!device_)
        return E_FAIL;
    HRESULT hr = graph_.AddDeviceFilterByPath(device_->crossbarPath.c_str(), devices::kCategoryCrossbar, crossbar_.Put());
    if (FAILED(hr)) {
        host_.ReportError(kTextCrossbarFailed, hr);
        return hr;
    }
    if (FAILED(hr = graph_.AddDeviceFilterByPath(device_->capturePath.c_str(), devices::kCategoryCapture, capture_.Put()))) {
        host_.ReportError(kTextCaptureFilterFailed, hr);
        return hr;
    }
    graph_.crossbarFilter = crossbar_;
    graph_.captureFilter = capture_;
    encoder_.Attach(capture_.Get(), device_->deviceType);
    encoder_.SetStreamFilterSource([this](ComPtr<IUnknown>& stream) {
        HRESULT result = stream_ ? S_OK : AddDeviceChain();
        if (SUCCEEDED(result))
            result = stream_.As(stream);
        return result;
    });
    media::StandardGraph sg;
    sg.crossbar = crossbar_;
    sg.capture = capture_;
    sg.control = m_pMC;
    if (!device_->tunerPath.empty()) {
        const std::string path = device_->tunerPath;
        sg.addTuner = [this, path]() {
            if (!tuner_)
                graph_.AddDeviceFilterByPath(path.c_str(), devices::kCategoryTvTuner, tuner_.Put());
            return tuner_;
        };
    }
    standard_.Attach(std::move(sg));
    standard_.SetVideoSource(standard_.CurrentSource());
    if (FAILED(hr = graph_.ConnectByMedium(crossbar_.Get(), capture_.Get()))) {
        host_.ReportError(kTextFrontEndConnectFailed, hr);
        return hr;
    }
    ApplySamplingRate(capture_.Get());
    return S_OK;
}

bool CaptureGraph::EnsureVideo(int* videoSource)
{
    int source = videoSource ? *videoSource : standard_.CurrentSource();
    standard_.SetCurrentSource(source);
    noInputHadVideo_ = false;
    if (host_.InCaptureMode())
        return true;
    if (source == kTunerSource) {
        host_.InitialiseTuner();
        return true;
    }
    if (standard_.CheckVidPresent(capture_.Get(), source))
        return true;
    if (SUCCEEDED(standard_.FindVideoSource(capture_.Get(), &source, false))) {
        if (videoSource)
            *videoSource = source;
        return true;
    }
    media::DebugLine("no input of the device has video");
    noInputHadVideo_ = true;
    ReleaseCaptureGraph(false);
    return false;
}

void CaptureGraph::ApplyEncoder()
{
    if (FAILED(standard_.ConfigWDMFilters(capture_.Get())))
        Rederive(standard_.Pair());
    encoder::ModeAndStandard pair;
    pair.mode = static_cast<uint32_t>(standard_.Pair().captureMode);
    pair.standard = static_cast<uint32_t>(standard_.Pair().captureStandard);
    if (encoder_.ApplyEncoderParams(pair, params_) == 0)
        params_ = encoder_.CurrentParams();
    if (FAILED(standard_.GetCurrentVidDecVidStd(&decoderStandard_)))
        decoderStandard_ = pair.standard == encoder::kStandard525 ? AnalogVideo_NTSC_M : AnalogVideo_PAL_B;
}

bool CaptureGraph::LoadDeviceState(media::StandardPair* pair)
{
    encoder::ModeAndStandard current;
    if (FAILED(encoder_.GetModeAndStandard(current)))
        return false;
    pair->captureMode = static_cast<int>(current.mode);
    pair->captureStandard = static_cast<int>(current.standard);
    encoder::EncoderParams stored;
    if (SUCCEEDED(encoder_.GetEncoderParams(stored)))
        params_ = stored;
    return true;
}

void CaptureGraph::Rederive(const media::StandardPair& pair)
{
    const encoder::DerivedEncoderSetup setup =
        encoder::DeriveForDevice(encoder_, settings_, static_cast<uint32_t>(pair.captureStandard), compressorFallback_);
    params_ = setup.params;
    pcmAudio_ = setup.pcmAudio;
    media::StandardPair derived;
    derived.captureMode = static_cast<int>(setup.pair.mode);
    derived.captureStandard = static_cast<int>(setup.pair.standard);
    standard_.SetPair(derived);
}

namespace {

// The first capability entry of the capture filter's "Virtual Audio Out" pin.
bool ReadAudioOutCaps(IBaseFilter* capture, AUDIO_STREAM_CONFIG_CAPS& caps)
{
    ComPtr<IPin> pin = media::FindPinByName(capture, L"Virtual Audio Out");
    ComPtr<IAMStreamConfig> config;
    if (!pin || FAILED(pin.As(config)))
        return false;
    int count = 0, size = 0;
    AM_MEDIA_TYPE* type = nullptr;
    if (FAILED(config->GetNumberOfCapabilities(&count, &size)) || count < 1 || size != sizeof caps ||
        FAILED(config->GetStreamCaps(0, &type, reinterpret_cast<BYTE*>(&caps))))
        return false;
    dshow::DeleteMediaType(type);
    return true;
}

}  // namespace

void CaptureGraph::ApplySamplingRate(IBaseFilter* capture)
{
    AUDIO_STREAM_CONFIG_CAPS caps{};
    if (!ReadAudioOutCaps(capture, caps))
        return;
    uint32_t rate = params_.ulAudSamplingFreq ? params_.ulAudSamplingFreq : 48000;
    rate = std::max<uint32_t>(rate, caps.MinimumSampleFrequency);
    rate = std::min<uint32_t>(rate, caps.MaximumSampleFrequency);
    if (SUCCEEDED(encoder_.SetSamplingFreq(rate)))
        params_.ulAudSamplingFreq = rate;
}

std::optional<int> CaptureGraph::AudioOutMaximumFrequency() const
{
    AUDIO_STREAM_CONFIG_CAPS caps{};
    if (!capture_ || !ReadAudioOutCaps(capture_.Get(), caps))
        return std::nullopt;
    return static_cast<int>(caps.MaximumSampleFrequency);
}

void CaptureGraph::ApplyAudio()
{
    if (!m_pBA)
        return;
    const long volume = settings_.mute == 1 ? media::kSilentVolume : media::LevelToVolume(settings_.audioLevel);
    m_pBA->put_Volume(volume);
}

bool CaptureGraph::SetVolume(int level, bool mute)
{
    return m_pBA && SUCCEEDED(m_pBA->put_Volume(mute ? media::kSilentVolume : media::LevelToVolume(level)));
}

void CaptureGraph::ArmEvents()
{
    if (!m_pME)
        return;
    m_pME->SetNotifyWindow(reinterpret_cast<OAHWND>(host_.EventWindow()), kMsgCaptureGraphEvent, 0);
    // The writer's events reach the window instead of the graph's own handling.
    for (long code = EC_USER + 0xC8; code <= EC_USER + 0xCC; ++code)
        m_pME->CancelDefaultHandling(code);
}

void CaptureGraph::StartDeviceEvents()
{
    if (!capture_)
        return;
    encoder::DeviceEventTargets targets;
    targets.mainWindow = host_.EventWindow();
    targets.copyProtected = &copyProtected_;
    targets.recording = &recording_;
    dataLossWarnings_ = settings_.displayDataLossWarnings != 0;
    targets.dataLossWarnings = &dataLossWarnings_;
    targets.flowControl = videoFlow_;
    events_.Start(capture_.Get(), targets);
}

void CaptureGraph::StopDeviceEvents()
{
    events_.Stop();
}

bool CaptureGraph::HorizontallyLocked()
{
    return capture_ && standard_.IsHorizontallyLocked();
}

HRESULT CaptureGraph::SetGraphRunning(bool run)
{
    HRESULT hr = S_OK;
    if (run && state_ != kRunning) {
        hr = graph_.RunGraph();
        if (SUCCEEDED(hr))
            state_ = kRunning;
    } else if (!run && m_pMC) {
        m_pMC->StopWhenReady();
        state_ = kStopped;
    }
    SetPreviewVisible(host_.PreviewOn());
    return hr;
}

HRESULT CaptureGraph::StopCaptureGraph()
{
    if (m_pMC) {
        OAFilterState state = State_Stopped;
        m_pMC->GetState(kStateQueryMs, &state);
        if (state != State_Stopped)
            graph_.StopGraph();
    }
    StopDeviceEvents();
    state_ = kStopped;
    if (m_pME)
        m_pME->SetNotifyWindow(0, 0, 0);
    if (m_pVW) {
        m_pVW->SetWindowPosition(0, 0, 0, 0);
        m_pVW->put_Visible(OAFALSE);
        m_pVW->put_Owner(0);
    }
    for (ComPtr<IPin>& pin : branchPins_) {
        if (pin)
            graph_.RemoveDownstream(pin.Get());
        pin.Reset();
    }
    if (videoDecoder_ && graph_.Graph())
        graph_.Graph()->RemoveFilter(videoDecoder_.Get());
    recording_ = false;
    return S_OK;
}

bool CaptureGraph::ReleaseCaptureGraph(bool updateUi)
{
    if (g_releasing.exchange(true))
        return false;
    if (updateUi)
        host_.CaptureEnded();
    standard_.Detach();
    StopCaptureGraph();
    ForgetLayout();
    clock_.Reset();
    streamPin_.Reset();
    sourcePin_.Reset();
    stream_.Reset();
    tuner_.Reset();
    capture_.Reset();
    crossbar_.Reset();
    encoder_.Detach();
    m_pBA.Reset();
    m_pME.Reset();
    m_pVW.Reset();
    m_pMC.Reset();
    m_pMS.Reset();
    graph_.DestroyGraph();
    state_ = kRebuilding;
    g_releasing = false;
    if (updateUi)
        host_.RefreshControls();
    return true;
}

}  // namespace capture
