#include "DeviceEvents.h"

#include "EncoderDevice.h"
#include "EncoderTypes.h"
#include "Trace.h"

#include <cstdint>

namespace encoder {

using media::DebugLine;
using media::TraceFailure;

struct DeviceEvents::Run {
    win::ComPtr<IKsPropertySet> ks;
    DeviceEventTargets targets;
    // Wait order is priority order: quit, flow stopped, protection on, protection off, drops.
    win::Handle quit;
    win::Handle events[4];
};

namespace {

uint32_t HandleWord(HANDLE h)
{
    // Kernel handles fit in 32 bits, also in a 64-bit process; the driver's data is 32-bit.
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h));
}

HRESULT Register(IKsPropertySet* ks, DWORD event, HANDLE h, bool on)
{
    uint32_t data[2] = {HandleWord(h), on ? 1u : 0u};
    return ks->Set(kEventPropertySet, event, nullptr, 0, data, sizeof data);
}

// The main window's timer 10001 stops a recording of copy-protected input. A timer belongs to
// a window of the calling thread only, so this thread posts the timer's tick instead.
void ArmCopyProtectionTimer(HWND window)
{
    if (window)
        PostMessageW(window, WM_TIMER, kTimerCopyProtection, 0);
}

DWORD WINAPI EventThread(void* param)
{
    // The thread's own reference keeps the handles, the property set and the flow-control
    // interface alive until it returns, however late that is.
    std::unique_ptr<std::shared_ptr<DeviceEvents::Run>> holder(static_cast<std::shared_ptr<DeviceEvents::Run>*>(param));
    DeviceEvents::Run& run = **holder;
    const HANDLE waits[5] = {run.quit.Get(), run.events[0].Get(), run.events[1].Get(), run.events[2].Get(),
                             run.events[3].Get()};
    const DeviceEventTargets& t = run.targets;
    for (;;) {
        const DWORD which = WaitForMultipleObjects(5, waits, FALSE, INFINITE);
        switch (which) {
        case WAIT_OBJECT_0 + 1:
            if (t.flowControl) {
                t.flowControl->Flush();
                return 0;
            }
            break;
        case WAIT_OBJECT_0 + 2:
            if (t.copyProtected)
                t.copyProtected->store(true);
            if (t.recording && t.recording->load())
                ArmCopyProtectionTimer(t.mainWindow);
            break;
        case WAIT_OBJECT_0 + 3:
            if (t.copyProtected)
                t.copyProtected->store(false);
            break;
        case WAIT_OBJECT_0 + 4:
            if (t.dataLossWarnings && t.dataLossWarnings->load()) {
                EnableDataLossEvent(run.ks.Get(), false);
                if (t.mainWindow)
                    PostMessageW(t.mainWindow, kMsgFramesDropped, 0, 0);
            }
            break;
        default:  // quit, or a wait that cannot go on
            return 0;
        }
    }
}

}  // namespace

HRESULT DeviceEvents::Start(IBaseFilter* capture, DeviceEventTargets targets)
{
    Stop();
    if (!capture)
        return E_POINTER;
    auto run = std::make_shared<Run>();
    HRESULT hr = capture->QueryInterface(IID_IKsPropertySet, run->ks.PutVoid());
    if (FAILED(hr))
        return hr;
    run->targets = std::move(targets);
    run->events[0].Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!run->events[0])
        return HRESULT_FROM_WIN32(GetLastError());
    if (FAILED(hr = Register(run->ks.Get(), kEventFlowStopped, run->events[0].Get(), true))) {
        TraceFailure("device event 0 registration", hr);
        return S_FALSE;
    }
    static const char* const names[3] = {"KSPROPERTY_EVENT_COPY_PROTECTION_ON", "KSPROPERTY_EVENT_COPY_PROTECTION_OFF",
                                         "KSPROPERTY_EVENT_FRAMES_DROPPED"};
    for (DWORD i = 1; i <= 3; ++i) {
        run->events[i].Reset(CreateEventA(nullptr, FALSE, FALSE, names[i - 1]));
        if (!run->events[i] || FAILED(hr = Register(run->ks.Get(), i, run->events[i].Get(), true)))
            TraceFailure("device event registration", run->events[i] ? hr : E_OUTOFMEMORY);
    }
    run->quit.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    // A missing wait handle would end the thread at once; better no thread than a broken one.
    for (const win::Handle& h : run->events) {
        if (!h)
            run->quit.Reset();
    }
    if (!run->quit) {
        run_ = std::move(run);
        Stop();
        return E_OUTOFMEMORY;
    }
    auto* threadRef = new std::shared_ptr<Run>(run);
    thread_.Reset(CreateThread(nullptr, 0, EventThread, threadRef, 0, nullptr));
    run_ = std::move(run);
    if (!thread_) {
        delete threadRef;
        Stop();
        return HRESULT_FROM_WIN32(GetLastError());
    }
    return S_OK;
}

void DeviceEvents::Stop()
{
    if (!run_)
        return;
    if (run_->quit)
        SetEvent(run_->quit.Get());
    if (thread_ && WaitForSingleObject(thread_.Get(), kStopWaitMs) != WAIT_OBJECT_0)
        DebugLine("device event thread did not end within %lu ms", static_cast<unsigned long>(kStopWaitMs));
    for (DWORD i = 0; i < 4; ++i) {
        if (run_->events[i] && run_->ks)
            Register(run_->ks.Get(), i, run_->events[i].Get(), false);
    }
    thread_.Reset();
    // Our share of the run goes; a thread that is still busy owns the rest until it ends.
    run_.reset();
}

}  // namespace encoder
