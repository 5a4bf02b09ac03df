// Object and server-lock counting: the class factory, aggregation rules, and hundreds of
// graphs made and released with filters from the server (DllCanUnloadNow) and from this
// program's own copy of the library (its live-object count).
#include <windows.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include "GraphHelpers.h"
#include "TestSupport.h"

using namespace testfilters;
using win::ComPtr;

namespace {

class Server {
public:
    Server() : module_(LoadLibraryA((testsupport::ModuleDir() + "dshow_test_filters.dll").c_str()))
    {
        if (module_) {
            getClassObject_ = reinterpret_cast<decltype(getClassObject_)>(GetProcAddress(module_, "DllGetClassObject"));
            canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>(GetProcAddress(module_, "DllCanUnloadNow"));
        }
    }
    ~Server()
    {
        if (module_)
            FreeLibrary(module_);
    }
    bool Loaded() const { return getClassObject_ && canUnloadNow_; }
    HRESULT CanUnloadNow() const { return canUnloadNow_(); }
    HRESULT Factory(const CLSID& clsid, ComPtr<IClassFactory>& factory) const
    {
        return getClassObject_(clsid, IID_IClassFactory, factory.PutVoid());
    }
    HRESULT Create(const CLSID& clsid, ComPtr<IBaseFilter>& filter) const
    {
        ComPtr<IClassFactory> factory;
        const HRESULT hr = Factory(clsid, factory);
        if (FAILED(hr))
            return hr;
        return factory->CreateInstance(nullptr, IID_IBaseFilter, filter.PutVoid());
    }
    HRESULT GetClassObject(const CLSID& clsid, REFIID iid, void** out) const { return getClassObject_(clsid, iid, out); }

private:
    HMODULE module_;
    HRESULT(STDAPICALLTYPE* getClassObject_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* canUnloadNow_)() = nullptr;
};

IPin* PinOf(IBaseFilter* filter, PIN_DIRECTION direction)
{
    ComPtr<IEnumPins> pins;
    filter->EnumPins(pins.Put());
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION got;
        pin->QueryDirection(&got);
        if (got == direction)
            return pin;  // the caller releases
        pin->Release();
    }
    return nullptr;
}

TEST(ComServer, FactoryRulesAndServerLocks)
{
    graphtest::ComApartment com;
    Server server;
    ASSERT_TRUE(server.Loaded());
    EXPECT_EQ(server.CanUnloadNow(), S_OK);

    void* out = nullptr;
    const CLSID unknown = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    EXPECT_EQ(server.GetClassObject(unknown, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(server.GetClassObject(CLSID_CollectingRenderer, IID_IPin, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(server.Factory(CLSID_CollectingRenderer, factory), S_OK);
    EXPECT_EQ(server.CanUnloadNow(), S_FALSE) << "a live factory keeps the server";
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(server.CanUnloadNow(), S_FALSE);

    struct Outer : IUnknown {
        long refs = 1;
        STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
        STDMETHODIMP_(ULONG) Release() override { return --refs; }
    } outer;
    IUnknown* inner = nullptr;
    EXPECT_EQ(factory->CreateInstance(&outer, IID_IBaseFilter, reinterpret_cast<void**>(&inner)), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    IBaseFilter* aggregated = nullptr;
    ASSERT_EQ(inner->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&aggregated)), S_OK);
    EXPECT_EQ(outer.refs, 2) << "interfaces of an aggregated object count on the outer object";
    aggregated->Release();
    EXPECT_EQ(outer.refs, 1);
    EXPECT_EQ(inner->Release(), 0u);

    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(server.CanUnloadNow(), S_OK);
}

TEST(ComServer, HundredsOfGraphsLeaveNoLiveObjects)
{
    graphtest::ComApartment com;
    Server server;
    ASSERT_TRUE(server.Loaded());
    for (int i = 0; i < 300; ++i) {
        ComPtr<IGraphBuilder> graph;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   graph.PutVoid()),
                  S_OK);
        ComPtr<IBaseFilter> source, stamp, renderer;
        ASSERT_EQ(server.Create(CLSID_CountingSource, source), S_OK);
        ASSERT_EQ(server.Create(CLSID_StampingTransform, stamp), S_OK);
        ASSERT_EQ(server.Create(CLSID_CollectingRenderer, renderer), S_OK);
        EXPECT_EQ(server.CanUnloadNow(), S_FALSE);
        graph->AddFilter(source.Get(), L"Source");
        graph->AddFilter(stamp.Get(), L"Stamper");
        graph->AddFilter(renderer.Get(), L"Renderer");
        IPin* pins[4] = {PinOf(source.Get(), PINDIR_OUTPUT), PinOf(stamp.Get(), PINDIR_INPUT),
                         PinOf(stamp.Get(), PINDIR_OUTPUT), PinOf(renderer.Get(), PINDIR_INPUT)};
        EXPECT_EQ(graph->ConnectDirect(pins[0], pins[1], nullptr), S_OK);
        EXPECT_EQ(graph->ConnectDirect(pins[2], pins[3], nullptr), S_OK);
        for (IPin* pin : pins)
            pin->Release();
        if (i % 30 == 0) {
            // Some of them also run to the end, so streaming threads and samples come and go.
            ComPtr<IMediaControl> control;
            ComPtr<IMediaEvent> events;
            graph.As(control);
            graph.As(IID_IMediaEvent, events);
            ASSERT_TRUE(SUCCEEDED(control->Run()));
            long code = 0;
            EXPECT_EQ(events->WaitForCompletion(15000, &code), S_OK);
            control->Stop();
        }
    }
    EXPECT_EQ(server.CanUnloadNow(), S_OK);
}

TEST(ComServer, InProcessGraphsLeaveNoLiveObjects)
{
    graphtest::ComApartment com;
    for (int i = 0; i < 300; ++i) {
        graphtest::Chain chain;
        ASSERT_EQ(graphtest::BuildChain(chain), S_OK);
        ASSERT_EQ(graphtest::ConnectChain(chain), S_OK);
        if (i % 50 == 0) {
            ASSERT_TRUE(SUCCEEDED(chain.control->Run()));
            long code = 0;
            EXPECT_EQ(chain.events->WaitForCompletion(15000, &code), S_OK);
            chain.control->Stop();
        }
    }
    EXPECT_EQ(dshow::LiveObjectCount(), 0);
    EXPECT_EQ(dshow::ServerLockCount(), 0);
}

}  // namespace
