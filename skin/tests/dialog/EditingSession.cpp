// The editing-mode tests' test dialog, modal runner and fixture.
#include "EditingSession.h"

#include <thread>

#include "TestSkin.h"
#include "framework/DataExchange.h"

namespace dialogtest {

void EditableTestDialog::DoDataExchange(CDataExchange* pDX)
{
    EQorDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIRST, first);
    DDX_Control(pDX, IDC_SECOND, second);
    DDX_Control(pDX, IDC_LABEL, label);
}

BOOL EditableTestDialog::OnInitDialog()
{
    EQorDialog::OnInitDialog();
    initialised = InitializeQorDialog("TestDialog", kTransparent);
    return TRUE;
}

INT_PTR RunModal(EQorDialog& dialog, const std::function<void(HWND)>& drive)
{
    using namespace enginetest;
    std::thread driver([&] {
        if (!WaitFor([&] { return dialog.GetSafeHwnd() && IsWindowVisible(dialog.GetSafeHwnd()); }))
            return;
        HWND window = dialog.GetSafeHwnd();
        Sleep(200);
        drive(window);
        for (int round = 0; round < 10; ++round) {
            HWND menu = VisibleMenuWindow(), other = VisibleWindowOfClass("#32770", window);
            if (!menu && !other)
                break;
            if (menu)
                PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            else
                PostMessageA(other, WM_COMMAND, IDCANCEL, 0);
            Sleep(300);
        }
        if (IsWindow(window))
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    const INT_PTR result = dialog.DoModal();
    driver.join();
    return result;
}

void EditingSession::SetUp()
{
    RunningEngineTest::SetUp();
    graphicsPath = EngineEnvironment::SkinPath() + "\\Graphics1033.xml";
    textPath = EngineEnvironment::SkinPath() + "\\Text1033.xml";
    originalGraphics = enginetest::ReadFile(graphicsPath);
    originalText = enginetest::ReadFile(textPath);
    EngineEnvironment::AllowEditing(true, true);
    ASSERT_TRUE(EngineEnvironment::Running());
    EngineEnvironment::Ui().messages.clear();
}

void EditingSession::TearDown()
{
    EngineEnvironment::Ui().messageAnswer = IDNO;  // shutdown offers no save
    EngineEnvironment::Ui().saveAnswer.clear();
    SetFileAttributesA(graphicsPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    EngineEnvironment::AllowEditing(false, false);
    enginetest::WriteFile(graphicsPath, originalGraphics);
    enginetest::WriteFile(textPath, originalText);
    EngineEnvironment::Restart(true);
}

}  // namespace dialogtest
