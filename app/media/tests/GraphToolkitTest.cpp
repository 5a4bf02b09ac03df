// The toolkit on Wine's filter graph with system filters and the test bed's stand-ins.
#include "DirectXVersion.h"
#include "FilterIds.h"
#include "MediaGraph.h"
#include "PinFinders.h"
#include "TestSupport.h"

#include "dshowbase/BaseFilter.h"

#include <windows.h>
#include <dxdiag.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace media;

namespace {

// Null Renderer (qedit's; Wine has it built in).
const CLSID CLSID_NullRenderer = {0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};

// A filter that refuses to leave the stopped state, as a driver without its device does.
const CLSID kClsidRefusing = {0x5E1B0C11, 0x3A52, 0x4F0E, {0x9B, 0x61, 0x2F, 0x7D, 0x10, 0xAA, 0x4E, 0x01}};
class RefusingFilter final : public dshow::BaseFilter {
public:
    RefusingFilter() : BaseFilter(nullptr, &lock_, kClsidRefusing) {}
    int GetPinCount() override { return 0; }
    dshow::BasePin* GetPin(int) override { return nullptr; }
    STDMETHODIMP Pause() override { return E_FAIL; }
    STDMETHODIMP Run(REFERENCE_TIME) override { return E_FAIL; }

private:
    win::CritSec lock_;
};

int FilterCount(IGraphBuilder* graph)
{
    ComPtr<IEnumFilters> e;
    if (FAILED(graph->EnumFilters(e.Put())))
        return -1;
    int n = 0;
    ComPtr<IBaseFilter> f;
    while (e->Next(1, f.Put(), nullptr) == S_OK)
        ++n;
    return n;
}

bool InGraph(IGraphBuilder* graph, const wchar_t* name)
{
    ComPtr<IBaseFilter> f;
    return SUCCEEDED(graph->FindFilterByName(name, f.Put())) && f;
}

bool RotHas(const std::wstring& item)
{
    ComPtr<IRunningObjectTable> rot;
    ComPtr<IEnumMoniker> e;
    ComPtr<IBindCtx> ctx;
    if (FAILED(GetRunningObjectTable(0, rot.Put())) || FAILED(rot->EnumRunning(e.Put())) || FAILED(CreateBindCtx(0, ctx.Put())))
        return false;
    ComPtr<IMoniker> m;
    while (e->Next(1, m.Put(), nullptr) == S_OK) {
        LPOLESTR name = nullptr;
        if (FAILED(m->GetDisplayName(ctx.Get(), nullptr, &name)) || !name)
            continue;
        const bool hit = std::wstring(name).find(item) != std::wstring::npos;
        CoTaskMemFree(name);
        if (hit)
            return true;
    }
    return false;
}

class Toolkit : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
        // A small file for the async file source: its output offers MEDIATYPE_Stream.
        file_ = testsupport::OutputDir() + "stream.bin";
        std::ofstream(file_, std::ios::binary) << std::string(64 * 1024, '\x47');
    }

    // File source -> tee -> two null renderers.
    void BuildTeeWithTwoBranches()
    {
        ASSERT_EQ(graph_.AddFilterByClsid(CLSID_AsyncReader, L"Source", source_.Put()), S_OK);
        ComPtr<IFileSourceFilter> load;
        ASSERT_EQ(source_.As(IID_IFileSourceFilter, load), S_OK);
        const std::wstring wide(file_.begin(), file_.end());
        ASSERT_EQ(load->Load(wide.c_str(), nullptr), S_OK);
        ASSERT_EQ(graph_.AddFilterByClsid(testbed::kClsidInfiniteTee, L"Infinite Pin Tee", tee_.Put()), S_OK);
        ASSERT_EQ(graph_.ConnectByMedium(source_.Get(), tee_.Get()), S_OK) << "stream output to the tee by media type";
        for (const wchar_t* name : {L"Null A", L"Null B"}) {
            ComPtr<IBaseFilter> sink;
            ASSERT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, name, sink.Put()), S_OK);
            ComPtr<IPin> free = FindPinByOrdinal(tee_.Get(), PINDIR_OUTPUT, 0);
            ASSERT_TRUE(free);
            ASSERT_EQ(graph_.ConnectToFirstInput(sink.Get(), free.Get()), S_OK);
        }
    }

    static std::string file_;
    MediaGraph graph_;
    ComPtr<IBaseFilter> source_, tee_;
};
std::string Toolkit::file_;

}  // namespace

TEST_F(Toolkit, AddingUnderAnExistingNameReusesTheFilter)
{
    ComPtr<IBaseFilter> first;
    ASSERT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"Sink", first.Put()), S_OK);
    ASSERT_TRUE(first);
    ComPtr<IBaseFilter> again;
    EXPECT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"Sink", again.Put()), S_OK);
    EXPECT_EQ(again.Get(), first.Get());
    IBaseFilter* same = first.Get();
    EXPECT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"Sink", &same), S_OK);

    ComPtr<IBaseFilter> other;
    ASSERT_EQ(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, other.PutVoid()), S_OK);
    IBaseFilter* slot = other.Get();
    EXPECT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"Sink", &slot), 1);
    EXPECT_EQ(slot, other.Get());
    EXPECT_EQ(FilterCount(graph_.Graph()), 1);

    const CLSID unknown = {0x01234567, 0x89AB, 0xCDEF, {1, 2, 3, 4, 5, 6, 7, 8}};
    ComPtr<IBaseFilter> none;
    EXPECT_LT(graph_.AddFilterByClsid(unknown, L"Nothing", none.Put()), 0);
    EXPECT_FALSE(none);
    EXPECT_EQ(graph_.AddDeviceFilterByPath("", CLSID_VideoInputDeviceCategory, none.Put()), E_FAIL);
    EXPECT_EQ(graph_.AddDeviceFilterByPath("\\\\?\\no#such#device", CLSID_VideoInputDeviceCategory, none.Put()), E_FAIL);
}

TEST_F(Toolkit, OrdinalZeroOfATeeIsItsFreeOutput)
{
    BuildTeeWithTwoBranches();
    const std::vector<ComPtr<IPin>> pins = EnumeratePins(tee_.Get());
    ASSERT_EQ(pins.size(), 4u) << "input, two connected outputs, one free";
    ComPtr<IPin> free = FindPinByOrdinal(tee_.Get(), PINDIR_OUTPUT, 0);
    ASSERT_TRUE(free);
    EXPECT_FALSE(IsConnected(free.Get()));
    EXPECT_EQ(free.Get(), pins[3].Get());
    EXPECT_TRUE(IsConnected(FindPinByOrdinal(tee_.Get(), PINDIR_OUTPUT, 1).Get()));
    EXPECT_FALSE(FindPinByOrdinal(tee_.Get(), PINDIR_OUTPUT, 3));
    EXPECT_EQ(FindPinOfDirection(tee_.Get(), PINDIR_INPUT).Get(), pins[0].Get());
    EXPECT_EQ(PinAtIndex(tee_.Get(), 1).Get(), pins[1].Get());
    EXPECT_FALSE(PinAtIndex(tee_.Get(), 4));
    EXPECT_TRUE(FindPinByType(source_.Get(), PINDIR_OUTPUT, MEDIATYPE_Stream, GUID_NULL));
    EXPECT_FALSE(FindPinByType(source_.Get(), PINDIR_OUTPUT, MEDIATYPE_Video, GUID_NULL));
    PIN_INFO info{};
    ASSERT_EQ(free->QueryPinInfo(&info), S_OK);
    info.pFilter->Release();
    EXPECT_EQ(FindPinByName(tee_.Get(), info.achName).Get(), free.Get());
    EXPECT_FALSE(FindPinByName(tee_.Get(), L"no such pin"));
    EXPECT_FALSE(FindPinByCategory(tee_.Get(), PIN_CATEGORY_CAPTURE)) << "pins without IKsPropertySet are skipped";
    EXPECT_FALSE(FindPinByOrdinal(nullptr, PINDIR_OUTPUT, 0));
}

TEST_F(Toolkit, ConnectPinsLeavesExistingConnectionsAlone)
{
    BuildTeeWithTwoBranches();
    ComPtr<IPin> out = FindPinByType(source_.Get(), PINDIR_OUTPUT, GUID_NULL, GUID_NULL);
    ComPtr<IPin> teeIn = FindPinOfDirection(tee_.Get(), PINDIR_INPUT);
    // A holder without a graph proves no graph call is made.
    MediaGraph noGraph;
    EXPECT_EQ(noGraph.ConnectPins(teeIn.Get(), out.Get(), nullptr), S_OK);
    EXPECT_EQ(noGraph.Graph(), nullptr);

    ComPtr<IPin> connectedTeeOut = FindPinByOrdinal(tee_.Get(), PINDIR_OUTPUT, 1);
    ComPtr<IBaseFilter> sink;
    ASSERT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"Null C", sink.Put()), S_OK);
    ComPtr<IPin> sinkIn = FindPinOfDirection(sink.Get(), PINDIR_INPUT);
    EXPECT_EQ(graph_.ConnectPins(sinkIn.Get(), connectedTeeOut.Get(), nullptr), E_FAIL) << "output connected elsewhere";
    EXPECT_EQ(graph_.ConnectPins(teeIn.Get(), FindPinByOrdinal(tee_.Get(), PINDIR_OUTPUT, 0).Get(), nullptr), E_FAIL)
        << "input connected elsewhere";
    EXPECT_FALSE(IsConnected(sinkIn.Get()));
    EXPECT_EQ(graph_.ConnectPins(nullptr, out.Get(), nullptr), E_FAIL);
    EXPECT_EQ(graph_.ConnectToFirstInput(nullptr, out.Get()), E_FAIL);
    EXPECT_EQ(graph_.RenderAllOutputs(source_.Get(), sink.Get()), S_OK) << "an already connected output counts";
}

TEST_F(Toolkit, RemoveDownstreamTakesTheWholeChain)
{
    BuildTeeWithTwoBranches();
    ASSERT_EQ(FilterCount(graph_.Graph()), 4);
    ComPtr<IPin> out = FindPinOfDirection(source_.Get(), PINDIR_OUTPUT);
    ASSERT_EQ(graph_.RemoveDownstream(out.Get()), S_OK);
    EXPECT_EQ(FilterCount(graph_.Graph()), 1);
    EXPECT_TRUE(InGraph(graph_.Graph(), L"Source"));
    EXPECT_FALSE(InGraph(graph_.Graph(), L"Infinite Pin Tee"));
    EXPECT_FALSE(InGraph(graph_.Graph(), L"Null A"));
    EXPECT_FALSE(IsConnected(out.Get()));
}

TEST_F(Toolkit, TeardownHelpers)
{
    BuildTeeWithTwoBranches();
    ComPtr<IBaseFilter> loose;
    ASSERT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"Loose", loose.Put()), S_OK);
    ASSERT_EQ(graph_.RemoveUnconnectedFilters(), S_OK);
    EXPECT_FALSE(InGraph(graph_.Graph(), L"Loose"));
    EXPECT_EQ(FilterCount(graph_.Graph()), 4);
    IBaseFilter* keep[] = {tee_.Get(), nullptr};
    ASSERT_EQ(graph_.RemoveAllFiltersExcept(keep), S_OK);
    EXPECT_EQ(FilterCount(graph_.Graph()), 1);
    EXPECT_TRUE(InGraph(graph_.Graph(), L"Infinite Pin Tee"));
}

TEST_F(Toolkit, ConnectByMediumFailsWithNothingToJoin)
{
    ComPtr<IBaseFilter> a, b;
    ASSERT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"A", a.Put()), S_OK);
    ASSERT_EQ(graph_.AddFilterByClsid(CLSID_NullRenderer, L"B", b.Put()), S_OK);
    EXPECT_EQ(graph_.ConnectByMedium(a.Get(), b.Get()), E_FAIL) << "no outputs";
    EXPECT_EQ(graph_.RenderAllOutputs(a.Get(), b.Get()), E_FAIL);
    EXPECT_EQ(graph_.ConnectByMedium(nullptr, b.Get()), E_FAIL);
}

TEST_F(Toolkit, RunThatFailsLeavesTheGraphStopped)
{
    auto* refusing = new RefusingFilter();
    ComPtr<IBaseFilter> filter;
    ASSERT_EQ(refusing->NonDelegatingQueryInterface(IID_IBaseFilter, filter.PutVoid()), S_OK);
    IBaseFilter* slot = filter.Get();
    ASSERT_EQ(graph_.AddFilterByClsid(kClsidRefusing, L"Refusing", &slot), S_OK);
    EXPECT_LT(graph_.RunGraph(), 0);
    ComPtr<IMediaControl> control;
    ASSERT_EQ(graph_.Graph()->QueryInterface(IID_IMediaControl, control.PutVoid()), S_OK);
    OAFilterState state = State_Running;
    EXPECT_EQ(control->GetState(1000, &state), S_OK);
    EXPECT_EQ(state, State_Stopped);

    MediaGraph empty;
    EXPECT_EQ(empty.RunGraph(), E_FAIL) << "no graph yet";
}

TEST_F(Toolkit, RunAndStopAWorkingGraph)
{
    BuildTeeWithTwoBranches();
    EXPECT_EQ(graph_.RunGraph(), S_OK);
    EXPECT_GE(graph_.StopGraph(), 0);
}

TEST_F(Toolkit, RunningObjectTableEntryComesAndGoes)
{
    ASSERT_EQ(graph_.CreateGraph(), S_OK);
    ASSERT_NE(graph_.RotCookie(), 0u);
    const std::wstring item = RotItemName(graph_.Graph(), GetCurrentProcessId());
    EXPECT_TRUE(RotHas(item));
    EXPECT_EQ(graph_.CreateGraph(), S_OK) << "a second call keeps the graph";
    graph_.DestroyGraph();
    EXPECT_EQ(graph_.RotCookie(), 0u);
    EXPECT_EQ(graph_.Graph(), nullptr);
    EXPECT_FALSE(RotHas(item));
}

TEST(DirectXProbe, ReportsWhatDxDiagSays)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // Read the provider directly, to compare.
    const CLSID provider = {0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
    const IID iid = {0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
    ComPtr<IDxDiagProvider> dx;
    ComPtr<IDxDiagContainer> root, sys;
    DXDIAG_INIT_PARAMS params{sizeof params, DXDIAG_DX9_SDK_VERSION, FALSE, nullptr};
    ASSERT_EQ(CoCreateInstance(provider, nullptr, CLSCTX_INPROC_SERVER, iid, dx.PutVoid()), S_OK);
    ASSERT_EQ(dx->Initialize(&params), S_OK);
    ASSERT_EQ(dx->GetRootContainer(root.Put()), S_OK);
    ASSERT_EQ(root->GetChildContainer(L"DxDiag_SystemInfo", sys.Put()), S_OK);
    VARIANT major, minor;
    VariantInit(&major);
    VariantInit(&minor);
    ASSERT_EQ(sys->GetProp(L"dwDirectXVersionMajor", &major), S_OK);
    ASSERT_EQ(sys->GetProp(L"dwDirectXVersionMinor", &minor), S_OK);

    DWORD packed = 0;
    char text[32] = "";
    ASSERT_EQ(GetDirectXVersion(&packed, text, sizeof text), S_OK);
    EXPECT_EQ(packed >> 16, major.ulVal);
    EXPECT_EQ((packed >> 8) & 0xFF, minor.ulVal);
    EXPECT_EQ(std::string(text), DirectXVersionText(packed));
    std::printf("DirectX as DxDiag reports it here: %s (0x%05lX), DirectX 9 or later: %s\n", text,
                static_cast<unsigned long>(packed), IsDirectX9OrLater() ? "yes" : "no");
    EXPECT_EQ(IsDirectX9OrLater(), IsDirectX9OrLater(packed));
}
