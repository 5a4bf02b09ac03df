// The capture session's side of television: the tuner session works on the tuner and TV
// audio filters of the session's capture graph.
#include "CaptureSession.h"

#include "DeviceCategories.h"

namespace shell {

void CaptureSession::InitialiseTuner()
{
    const void* graph = m_engine ? m_engine->Graph().Graph() : nullptr;
    if (graph != m_tunerGraph)
        m_tuner.GraphReleased();
    m_tunerGraph = graph;
    if (!m_tuner.Initialised())
        m_tuner.Initialise();
}

void CaptureSession::CaptureEnded()
{
    m_tuner.GraphReleased();
    m_tunerGraph = nullptr;
}

std::optional<tunerdev::TunerDevice> CaptureSession::OpenTuner()
{
    if (!m_engine || !m_engine->Built())
        return std::nullopt;
    media::MediaGraph& graph = m_engine->Graph();
    std::optional<tunerdev::TunerDevice> device = tunerdev::TunerDevice::FromGraph(graph.Graph());
    if (device && device->HasTvAudio())
        return device;
    // The preview's graph may hold only what the picture needs; the tuner and its sound
    // decoder join it for tuning.
    const std::optional<capture::CaptureDevice> card = m_host.CurrentCaptureDevice();
    if (!card)
        return device;
    win::ComPtr<IBaseFilter> added;
    if (!device && !card->tunerPath.empty())
        graph.AddDeviceFilterByPath(card->tunerPath.c_str(), devices::kCategoryTvTuner, added.Put());
    if (!card->tvAudioPath.empty())
        graph.AddDeviceFilterByPath(card->tvAudioPath.c_str(), devices::kCategoryTvAudio, added.Put());
    return tunerdev::TunerDevice::FromGraph(graph.Graph());
}

bool CaptureSession::GraphRunning()
{
    return m_engine && m_engine->State() == capture::CaptureGraph::kRunning;
}

bool CaptureSession::SetVideoStandard(std::uint32_t standard)
{
    return m_standard && SUCCEEDED(m_standard->SetTunerVidStd(static_cast<long>(standard)));
}

long CaptureSession::ChannelStandard()
{
    return static_cast<long>(m_tuner.Settings().videoStandard);
}

void CaptureSession::StoreChannelStandard(long standard)
{
    // 0 only says that the decoder is searching.
    if (standard != 0)
        m_tuner.Settings().videoStandard = static_cast<std::uint32_t>(standard);
}

void CaptureSession::TunerChanged()
{
    if (m_tunerChanged)
        m_tunerChanged();
}

}  // namespace shell
