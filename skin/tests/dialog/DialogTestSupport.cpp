// Engine set-up and test dialogs for the skinned dialog tests.
#include "DialogTestSupport.h"

#include <algorithm>
#include <thread>

#include "QorGraphicsEngineAPI.h"
#include "TestSkin.h"

namespace dialogtest {

namespace {

struct Environment {
    enginetest::RecordingUi ui;
    enginetest::SkinFolder folder;
    enginetest::AppKey app{"SkinnedDialogTests"};
    QorGraphicsEngineAPI api;
    bool started = false;
};

std::unique_ptr<Environment>& Current()
{
    static std::unique_ptr<Environment> environment;
    return environment;
}

}  // namespace

void EngineEnvironment::Start()
{
    auto& env = Current();
    env = std::make_unique<Environment>();
    WriteTestSkin(env->folder.Path());
    env->app.SetDword("ShowGraphicsErrorDialogs", 1);
    env->ui.debugAnswer = true;
    env->ui.debugChoice.reportLoadFailures = true;
    env->started = env->api.InitializeGraphicsEngine(env->app.Name(),
                                                     "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033);
}

bool EngineEnvironment::Running()
{
    IXMLDOMDocument* document = nullptr;
    auto& env = Current();
    if (!env || !env->started || !env->api.GetGraphicsDocument(&document))
        return false;
    document->Release();
    return true;
}

void EngineEnvironment::Restart(bool reportLoadFailures)
{
    auto& env = Current();
    env->api.ShutdownCleanup();
    env->ui.debugChoice.reportLoadFailures = reportLoadFailures;
    env->started = env->api.InitializeGraphicsEngine(env->app.Name(),
                                                     "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033);
}

void EngineEnvironment::AllowGraphicsEditing(bool allow)
{
    Current()->app.SetDword("AllowEditingOfGraphicsSettings", allow ? 1 : 0);
    Restart(true);
}

void EngineEnvironment::Stop()
{
    auto& env = Current();
    if (env && env->started)
        env->api.ShutdownCleanup();
    env.reset();
}

enginetest::RecordingUi& EngineEnvironment::Ui()
{
    return Current()->ui;
}

std::string EngineEnvironment::SkinPath()
{
    return Current()->folder.Path();
}

BOOL SkinTestDialog::OnInitDialog()
{
    first.Bind(this, IDC_FIRST);
    second.Bind(this, IDC_SECOND);
    label.SubclassDlgItem(IDC_LABEL, this);
    hidden.Bind(this, IDC_HIDDEN);
    if (bindUnknown)
        unknown.Bind(this, IDC_UNKNOWN);
    EQorDialog::OnInitDialog();
    initialised = InitializeQorDialog(skinName_, kTransparent);
    return TRUE;
}

BOOL StretchTestDialog::OnInitDialog()
{
    first.Bind(this, IDC_FIRST);
    second.Bind(this, IDC_SECOND);
    EQorStretchDlg::OnInitDialog();
    initialised = InitializeQorDialog("StretchDialog", kTransparent);
    return TRUE;
}

BOOL RadioTestDialog::OnInitDialog()
{
    one.SubclassDlgItem(IDC_RADIO_ONE, this);
    two.SubclassDlgItem(IDC_RADIO_TWO, this);
    check.SubclassDlgItem(IDC_CHECK, this);
    menu.SubclassDlgItem(IDC_MENU_RADIO, this);
    EQorDialog::OnInitDialog();
    initialised = InitializeQorDialog("RadioDialog", kTransparent);
    return TRUE;
}

BOOL TrackingTestDialog::OnInitDialog()
{
    right.SubclassDlgItem(IDC_FIRST, this);
    corner.SubclassDlgItem(IDC_SECOND, this);
    still.SubclassDlgItem(IDC_HIDDEN, this);
    bottom.SubclassDlgItem(IDC_BOTTOM, this);
    grabber.SubclassDlgItem(IDC_GRABBER, this);
    EQorStretchDlg::OnInitDialog();
    initialised = InitializeQorDialog("TrackingDialog", kTransparent);
    return TRUE;
}

void DragWithMouse(POINT from, POINT to)
{
    bool finished = false;
    std::thread hand([&] {
        SetCursorPos(from.x, from.y);
        Sleep(150);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        Sleep(300);
        for (int step = 1; step <= 8; ++step) {
            SetCursorPos(from.x + (to.x - from.x) * step / 8, from.y + (to.y - from.y) * step / 8);
            Sleep(60);
        }
        Sleep(150);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
        Sleep(200);
        finished = true;
    });
    testsupport::PumpMessages(10000, [&] { return finished; });
    hand.join();
    testsupport::PumpMessages(100);
}

DWORD GdiObjectCount()
{
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    // Counted in the process's GDI handle table, whose entries have a non-zero type while alive.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
    auto* teb = reinterpret_cast<BYTE*>(NtCurrentTeb());
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    BYTE* peb = *reinterpret_cast<BYTE**>(teb + 0x60);
    const BYTE* table = peb ? *reinterpret_cast<BYTE**>(peb + 0xF8) : nullptr;
    if (!table)
        return 0;
    MEMORY_BASIC_INFORMATION region{};
    if (!VirtualQuery(table, &region, sizeof(region)))
        return 0;
    const size_t available = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize - table;
    constexpr size_t kEntrySize = 24, kTypeOffset = 14, kMaxEntries = 0x10000;
    const size_t entries = std::min(kMaxEntries, available / kEntrySize);
    DWORD count = 0;
    for (size_t i = 0; i < entries; ++i)
        if (table[i * kEntrySize + kTypeOffset] != 0)
            ++count;
    return count;
}

}  // namespace dialogtest
