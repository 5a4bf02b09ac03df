#include "CaptureCardFixture.h"

#include "CaptureDeviceOf.h"
#include "CardControl.h"
#include "CardInstaller.h"
#include "FilterIds.h"

#include <cstdio>
#include <fstream>

namespace capturetest {
namespace {

constexpr char kRegistryKey[] = "MarovinCaptureTest";
constexpr char kWindowClass[] = "MarovinCaptureTestWindow";
constexpr int kComposite = 1;

void RemoveAllCards()
{
    std::wstring error;
    for (const vcap::CardRecord& c : vcap::LoadAllCards())
        vcap::UninstallCard(c.number, error);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* host = reinterpret_cast<TestHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == capture::kMsgCaptureGraphEvent && host && host->graph) {
        host->graph->HandleCaptureGraphEvents();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

void Manifest(const std::string& line)
{
    std::ofstream(testsupport::OutputDir() + "capture_recordings.txt", std::ios::app) << line << "\n";
}

void CaptureCard::SetUpTestSuite()
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // One manifest for the whole program, whichever suite runs first.
    static const bool cleared = DeleteFileA((testsupport::OutputDir() + "capture_recordings.txt").c_str()) || true;
    (void)cleared;
    ASSERT_TRUE(testsupport::RegisterTestBedFilters());
    ASSERT_EQ(testsupport::RunProcess("regsvr32 /s \"" + testsupport::ModuleDir() + "Scrivet.ax\""), 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&wc);
}

void CaptureCard::TearDownTestSuite()
{
    RemoveAllCards();
    CoUninitialize();
}

void CaptureCard::SetUp()
{
    profile_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
    const framework::ProfileStore store(HKEY_CURRENT_USER, kRegistryKey, profile_);
    settings_.filters.Load(store);
    settings_.templateSection = "Custom\\Test";
    settings_.source = kComposite;
    standard_ = std::make_unique<media::VideoStandardEngine>(store, &settings_);
    graph_ = std::make_unique<capture::CaptureGraph>(host_, settings_, *standard_);
    host_.graph = graph_.get();
    host_.window = CreateWindowA(kWindowClass, "capture test", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                                 360, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(host_.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host_));
    host_.area = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_BLACKRECT, 10, 10, 352, 288,
                               host_.window, reinterpret_cast<HMENU>(1000), GetModuleHandleA(nullptr), nullptr);
    Run(100);
}

void CaptureCard::TearDown()
{
    graph_.reset();
    standard_.reset();
    DestroyWindow(host_.window);
    host_ = TestHost{};
    RemoveAllCards();
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kRegistryKey).c_str());
}

void CaptureCard::UseCard(uint32_t deviceType)
{
    RemoveAllCards();
    vcap::Personality p;
    p.deviceType = deviceType;
    std::wstring error;
    ASSERT_TRUE(vcap::InstallCard(1, p, card_, error)) << std::string(error.begin(), error.end());
    ASSERT_GE(devices::EnumerateCaptureDevices(), 1);
    devices::SelectCaptureDevice(0);
    const devices::CaptureDeviceRecord& record = devices::Devices().records[0];
    settings_.encoderFilterName = settings::EncoderFilterNameFor(record.name);
    graph_->SetDevice(devices::CaptureDeviceOf(record));
    standard_->SetCurrentSource(kComposite);
}

bool CaptureCard::StartPreview(bool record)
{
    int source = kComposite;
    const HRESULT hr = graph_->StartCaptureGraph(&source, record);
    if (FAILED(hr))
        return false;
    host_.captureMode = true;
    return true;
}

long CaptureCard::PicturesShown() const
{
    IGraphBuilder* g = graph_->Graph().Graph();
    win::ComPtr<IEnumFilters> e;
    if (!g || FAILED(g->EnumFilters(e.Put())))
        return -1;
    win::ComPtr<IBaseFilter> f;
    while (e->Next(1, f.Put(), nullptr) == S_OK) {
        win::ComPtr<IDecoderStillImage> still;
        LONG n = -1;
        if (SUCCEEDED(f->QueryInterface(__uuidof(IDecoderStillImage), still.PutVoid())) &&
            SUCCEEDED(still->GetPicturesDecoded(&n)) && n >= 0)
            return n;
    }
    return -1;
}

testsupport::ScreenImage CaptureCard::AreaImage() const
{
    RECT r;
    GetWindowRect(host_.area, &r);
    return testsupport::CaptureScreen(r);
}

std::string CaptureCard::OutputFile(const std::string& name) const
{
    return testsupport::OutputDir() + name;
}

void CaptureCard::RecordClip(const std::string& name, DWORD ms, const char* vcodec, int width, int height)
{
    const std::string file = OutputFile(name);
    DeleteFileA(file.c_str());
    ASSERT_TRUE(graph_->SetCaptureFileName(file));
    ASSERT_EQ(graph_->StartRecordingFromPreview(), S_OK) << name;
    ASSERT_TRUE(graph_->Recording());
    Run(ms);
    const double seconds = static_cast<double>(graph_->RecordedTime()) / 1e7;
    ASSERT_TRUE(SUCCEEDED(graph_->StopRecordingKeepPreview())) << name;
    EXPECT_FALSE(graph_->Recording());
    char line[300];
    std::snprintf(line, sizeof line, "%s %s %d %d %.2f", name.c_str(), vcodec, width, height, seconds);
    Manifest(line);
}

}  // namespace capturetest
