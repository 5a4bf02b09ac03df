#pragma once
// The device event thread of a running capture graph: the driver signals registered events
// for a stopped stream flow, copy protection coming and going, and dropped frames; the thread
// turns them into the flow-control flush, the copy-protected flag with timer 10001, and
// message 1041. It never touches a window beyond posting and arming a timer.
#include "win/ComPtr.h"
#include "win/Handle.h"

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <memory>

namespace encoder {

// The video flow-control filter's custom interface; Flush (the first method) drops what the
// filter holds of a stream that stopped flowing.
MIDL_INTERFACE("5EEF6A27-477B-4E92-BA84-2F194C37ABD8")
IVideoFlowControl : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Flush() = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMode(BYTE pass) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMode(BYTE* pass) = 0;
};
inline constexpr IID kIidVideoFlowControl = {0x5EEF6A27, 0x477B, 0x4E92, {0xBA, 0x84, 0x2F, 0x19, 0x4C, 0x37, 0xAB, 0xD8}};

// What the thread reads and writes; the flags belong to the capture engine and outlive it.
struct DeviceEventTargets {
    HWND mainWindow = nullptr;
    std::atomic<bool>* copyProtected = nullptr;
    const std::atomic<bool>* recording = nullptr;
    const std::atomic<bool>* dataLossWarnings = nullptr;  // the setting DisplayDataLossWarnings
    win::ComPtr<IVideoFlowControl> flowControl;           // may be empty
};

class DeviceEvents {
public:
    DeviceEvents() = default;
    ~DeviceEvents() { Stop(); }
    DeviceEvents(const DeviceEvents&) = delete;
    DeviceEvents& operator=(const DeviceEvents&) = delete;

    // Stops a running thread, registers the four events with the capture filter and starts
    // the thread. A refused registration of event 0 leaves the device without event
    // reporting (S_FALSE, no thread).
    HRESULT Start(IBaseFilter* capture, DeviceEventTargets targets);
    // Asks the thread to end and waits at most 2000 ms; the registrations are withdrawn
    // either way. A thread still busy keeps its handles and interfaces until it ends.
    void Stop();
    bool Running() const { return static_cast<bool>(thread_); }

    static constexpr DWORD kStopWaitMs = 2000;

    // The shared state of one run; the thread holds a reference, so nothing it may still
    // wait on or call is closed or released before it has ended.
    struct Run;

private:
    std::shared_ptr<Run> run_;
    win::Handle thread_;
};

}  // namespace encoder
