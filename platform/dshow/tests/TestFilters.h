#pragma once
// Small filters built on the library for the tests: a counting source (seekable, with a
// streaming thread), an in-place pass-through that stamps each sample, and a renderer that
// records what reaches it. Used in-process and from the test filter server DLL.
#include <windows.h>
#include <strmif.h>

#include <atomic>
#include <vector>

#include "dshowbase/PushSource.h"
#include "dshowbase/SeekingPassThru.h"
#include "dshowbase/TransformFilter.h"

namespace testfilters {

// {6F1B2C31-8E44-4C2B-9C5E-1A2B3C4D5E01} .. 04
extern const CLSID CLSID_CountingSource;
extern const CLSID CLSID_StampingTransform;
extern const CLSID CLSID_CollectingRenderer;
extern const CLSID CLSID_TestDevice;

// The two stream subtypes the filters speak; the source prefers the first.
extern const GUID kSubtypeA;
extern const GUID kSubtypeB;

constexpr REFERENCE_TIME kSampleDuration = 400000;  // 40 ms
constexpr LONG kPayloadBytes = 188;

// Payload: bytes 0-3 the sequence number (little endian), byte 4 the stamp count.
class CountingStream final : public dshow::SourceStream, public IMediaSeeking {
public:
    explicit CountingStream(dshow::SourceFilter* filter);

    DSHOW_DECLARE_IUNKNOWN
    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;

    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    HRESULT GetMediaType(int position, dshow::MediaType* type) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT FillBuffer(IMediaSample* sample) override;
    HRESULT Active() override;

    // IMediaSeeking, media time only; a new position flushes downstream and restarts.
    STDMETHODIMP GetCapabilities(DWORD* caps) override;
    STDMETHODIMP CheckCapabilities(DWORD* caps) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG*, const GUID*, LONGLONG, const GUID*) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD current_flags, LONGLONG* stop, DWORD stop_flags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

    std::atomic<long> sampleCount{50};  // samples per run from the start position
    std::atomic<DWORD> paceMs{0};       // pause between samples
    std::atomic<long> next{0};
    std::atomic<long> startAt{0};  // first sample of the next run
    std::atomic<bool> discontinuity{false};
};

class CountingSource final : public dshow::SourceFilter {
public:
    explicit CountingSource(IUnknown* outer, const CLSID& clsid = CLSID_CountingSource);
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);
    CountingStream* Stream() const { return stream_; }

private:
    CountingStream* stream_;
};

class StampingTransform final : public dshow::InPlaceTransformFilter {
public:
    explicit StampingTransform(IUnknown* outer);
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    HRESULT CheckInputType(const dshow::MediaType& input) override;
    HRESULT Transform(IMediaSample* sample) override;

    std::atomic<long> stamped{0};
};

struct Received {
    long sequence;
    BYTE stamp;
    REFERENCE_TIME start, stop;
    bool discontinuity;
};

class CollectingRenderer;

class CollectingPin final : public dshow::RenderedInputPin {
public:
    CollectingPin(CollectingRenderer* filter, win::CritSec* lock);
    HRESULT CheckMediaType(const dshow::MediaType& type) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveCanBlock() override { return S_FALSE; }
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
    STDMETHODIMP EndOfStream() override;

private:
    CollectingRenderer* renderer_;
};

class CollectingRenderer final : public dshow::BaseFilter {
public:
    explicit CollectingRenderer(IUnknown* outer);
    ~CollectingRenderer() override;
    static dshow::INonDelegatingUnknown* Create(IUnknown* outer, HRESULT* hr);

    HRESULT STDMETHODCALLTYPE NonDelegatingQueryInterface(REFIID iid, void** out) override;
    int GetPinCount() override { return 1; }
    dshow::BasePin* GetPin(int index) override;

    std::vector<Received> Samples();
    void Clear();

    std::atomic<bool> acceptA{true}, acceptB{true};
    std::atomic<long> beginFlushes{0}, endFlushes{0}, segments{0}, endOfStreams{0};

private:
    friend class CollectingPin;
    win::CritSec filterLock_;
    win::CritSec dataLock_;
    std::vector<Received> samples_;
    CollectingPin* pin_;
    dshow::SeekingPassThru* seeking_ = nullptr;
};

}  // namespace testfilters
