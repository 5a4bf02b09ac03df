#include "CollectingSink.h"

namespace graphtest {
namespace {
// {0E7C52B4-8D3A-4F61-A2C9-7B15E4D3C690}, never registered.
constexpr CLSID kClsidCollectingSink = {0x0E7C52B4, 0x8D3A, 0x4F61, {0xA2, 0xC9, 0x7B, 0x15, 0xE4, 0xD3, 0xC6, 0x90}};
}  // namespace

class CollectingSink::Pin : public dshow::RenderedInputPin {
public:
    Pin(CollectingSink* sink) : dshow::RenderedInputPin(sink, &sink->lock_, L"In"), sink_(sink) {}
    HRESULT CheckMediaType(const dshow::MediaType& type) override
    {
        return type.majortype == sink_->major_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    STDMETHODIMP Receive(IMediaSample* sample) override
    {
        const HRESULT hr = dshow::InputPin::Receive(sample);
        if (hr != S_OK) return hr;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        win::AutoLock lock(sink_->dataLock_);
        ++sink_->calls_;
        if (sink_->refuseAfter_ >= 0 && sink_->samples_ >= sink_->refuseAfter_) return S_FALSE;
        sink_->bytes_.insert(sink_->bytes_.end(), data, data + sample->GetActualDataLength());
        ++sink_->samples_;
        return S_OK;
    }

private:
    CollectingSink* sink_;
};

CollectingSink::CollectingSink(const GUID& major)
    : dshow::BaseFilter(nullptr, &lock_, kClsidCollectingSink), major_(major)
{
    pin_ = std::make_unique<Pin>(this);
}

CollectingSink* CollectingSink::Create(const GUID& major)
{
    auto* sink = new CollectingSink(major);
    sink->NonDelegatingAddRef();
    return sink;
}

HRESULT CollectingSink::NonDelegatingQueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IAMFilterMiscFlags) return GetInterface(static_cast<IAMFilterMiscFlags*>(this), out);
    return dshow::BaseFilter::NonDelegatingQueryInterface(iid, out);
}

dshow::BasePin* CollectingSink::GetPin(int index) { return index == 0 ? pin_.get() : nullptr; }

std::vector<uint8_t> CollectingSink::Bytes()
{
    win::AutoLock lock(dataLock_);
    return bytes_;
}

long CollectingSink::Samples()
{
    win::AutoLock lock(dataLock_);
    return samples_;
}

long CollectingSink::Calls()
{
    win::AutoLock lock(dataLock_);
    return calls_;
}

bool CollectingSink::AtEnd() { return pin_->AtEndOfStream(); }

void CollectingSink::RefuseAfter(long accepted)
{
    win::AutoLock lock(dataLock_);
    refuseAfter_ = accepted;
}

}  // namespace graphtest
