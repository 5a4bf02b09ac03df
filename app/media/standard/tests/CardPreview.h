#pragma once
// A virtual card in a running preview graph (crossbar, capture and encoder filters joined by
// their wires, the stream into a Null Renderer), with the standard engine attached to it and a
// host that records what the engine asked of the main window.
#include <memory>
#include <string>
#include <vector>

#include <framework/ProfileStore.h>

#include "CaptureSettings.h"
#include "DeviceModel.h"
#include "MediaGraph.h"
#include "VideoStandardEngine.h"

namespace standardtest {

struct RecordingHost : media::StandardHost {
    bool capturing = true;
    bool autoRecord = false;
    long channelStandard = 0;
    int stops = 0, restarts = 0, autoRecordTimers = 0, changes = 0;
    std::vector<int> errors;
    bool InCaptureMode() override { return capturing; }
    long ChannelStandard() override { return channelStandard; }
    void StoreChannelStandard(long s) override { channelStandard = s; }
    bool AutoRecordWanted() override { return autoRecord; }
    void StartAutoRecordTimer() override { ++autoRecordTimers; }
    void GraphStopping() override { ++stops; }
    void GraphRestarted() override { ++restarts; }
    void StandardChanged() override { ++changes; }
    void ReportError(int id, HRESULT) override { errors.push_back(id); }
};

constexpr char kRegistryKey[] = "MarovinStandardTest";

class CardPreview {
public:
    // Installs card 1 (removing every card first) and keeps the settings under a private key.
    explicit CardPreview(const std::string& profile);
    ~CardPreview();

    // Builds and runs the graph; false (with the reason in `error`) when it cannot.
    bool Start(std::string* error);
    OAFilterState State() const;
    framework::ProfileStore Store() const { return framework::ProfileStore(HKEY_CURRENT_USER, kRegistryKey, profile_); }
    // The crossbar's video and audio inputs, as the card keeps them.
    void Route(long* video, long* audio) const;
    long DecoderStandard() const;

    vcap::CardRecord card;
    settings::CaptureSettings settings;
    RecordingHost host;
    std::shared_ptr<media::VideoStandardEngine> engine;
    media::MediaGraph graph;
    win::ComPtr<IBaseFilter> crossbar, capture, encoder;
    win::ComPtr<IMediaControl> control;

private:
    std::string profile_;
};

// Every video input of card 1 without a signal, then `live` (a crossbar input) with one.
void OnlyLive(long live, long standard = 0x10);

}  // namespace standardtest
