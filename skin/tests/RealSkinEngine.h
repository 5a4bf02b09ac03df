#pragma once
// The engine running over a copy of the real Marovin skin laid out next to the test program,
// with the debug option for load failures on; everything is undone at the end.
#include <memory>
#include <string>

#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"

namespace enginetest {

class RealSkinEngine {
public:
    // `skinDir` is the real skin's folder; `applicationName` names the per-application key.
    RealSkinEngine(const std::string& skinDir, const std::string& applicationName);
    ~RealSkinEngine();
    RealSkinEngine(const RealSkinEngine&) = delete;
    RealSkinEngine& operator=(const RealSkinEngine&) = delete;

    bool Started() const { return started_; }
    QorGraphicsEngineAPI& Api() { return api_; }
    RecordingUi& Ui() { return ui_; }
    void Shutdown();

private:
    RecordingUi ui_;
    SkinFolder folder_;
    AppKey app_;
    QorGraphicsEngineAPI api_;
    bool started_ = false;
};

}  // namespace enginetest
