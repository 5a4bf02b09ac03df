#include "GraphPause.h"

#include "Trace.h"

namespace media {

bool ReadGraphState(IMediaControl* control, OAFilterState* state)
{
    if (!control)
        return false;
    const HRESULT hr = control->GetState(kStateQueryMs, state);
    return SUCCEEDED(hr);
}

GraphPause::GraphPause(IMediaControl* control, HostAccess& host) : control_(control), host_(host)
{
    OAFilterState state = State_Stopped;
    if (!ReadGraphState(control_, &state) || state != State_Running) {
        stoppedAlready_ = ReadGraphState(control_, &state) && state == State_Stopped;
        return;
    }
    host_.Call([](StandardHost& h) { h.GraphStopping(); });
    HRESULT hr = control_->Stop();
    if (FAILED(hr)) {
        TraceFailure("IMediaControl::Stop", hr);
        return;
    }
    stopped_ = true;
    // A driver that never finishes stopping must not hang the program: wait a bounded time,
    // report, and carry on with the change.
    OAFilterState now = State_Running;
    hr = control_->GetState(kTransitionMs, &now);
    if (hr == VFW_S_STATE_INTERMEDIATE || FAILED(hr))
        DebugLine("graph did not stop within %lu ms (hr=0x%08lX)", kTransitionMs, static_cast<unsigned long>(hr));
}

HRESULT GraphPause::Resume()
{
    if (!stopped_)
        return S_OK;
    stopped_ = false;
    HRESULT hr = control_->Run();
    if (FAILED(hr)) {
        TraceFailure("IMediaControl::Run", hr);
    } else if (hr == S_FALSE) {
        OAFilterState now = State_Stopped;
        const HRESULT wait = control_->GetState(kTransitionMs, &now);
        if (wait == VFW_S_STATE_INTERMEDIATE || FAILED(wait))
            DebugLine("graph did not run within %lu ms (hr=0x%08lX)", kTransitionMs, static_cast<unsigned long>(wait));
        hr = S_OK;
    }
    host_.Call([](StandardHost& h) { h.GraphRestarted(); });
    return hr;
}

}  // namespace media
