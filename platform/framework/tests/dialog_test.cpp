// Real dialogs from templates under Xvfb, driven by messages: data exchange, command
// routing, timers, cracked handlers, colour reflection and the modal loop.
#include <gtest/gtest.h>

#include <vector>

#include "TestDialogs.h"
#include "TestSupport.h"

namespace {

class ModelessDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_FW_MAIN));
        dlg.SetWindowPos(HWND_TOP, 30, 30, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        testsupport::PumpMessages(50);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    EventLog log;
    TestDialog dlg{log};
};

TEST_F(ModelessDialog, DataExchangeBindsItemsToObjectsDuringInit)
{
    // Data exchange runs inside OnInitDialog's base call, and binds before the values move.
    ASSERT_GE(IndexOf(log, "OnInitDialog"), 0);
    EXPECT_LT(IndexOf(log, "OnInitDialog"), IndexOf(log, "DoDataExchange load"));
    EXPECT_LT(IndexOf(log, "DoDataExchange load"), IndexOf(log, "bound"));

    EXPECT_EQ(dlg.name.m_hWnd, dlg.GetDlgItem(IDC_FW_NAME));
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(IDC_FW_LEVEL)), &dlg.level);
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(IDC_FW_SPIN)), &dlg.spin);
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.m_hWnd), &dlg);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_FW_NAME), "initial");
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_FW_CHECK), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(dlg.GetDlgItemText(IDC_FW_COUNT), "5");

    // Reading back: the user's edits reach the members.
    dlg.SetDlgItemText(IDC_FW_NAME, "typed");
    dlg.SetDlgItemText(IDC_FW_COUNT, " -12 ");
    dlg.check.SetCheck(BST_UNCHECKED);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(dlg.nameText, "typed");
    EXPECT_EQ(dlg.count, -12);
    EXPECT_EQ(dlg.checked, 0);

    // A second load does not bind again (the objects keep their windows).
    const HWND before = dlg.name.m_hWnd;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ(dlg.name.m_hWnd, before);
}

TEST_F(ModelessDialog, BadNumberFailsTheExchangeAndKeepsTheMember)
{
    // The failure message box is answered by a timer as a user would.
    struct Closer {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
        {
            HWND box = FindWindowA("#32770", "Error");
            if (box) {
                KillTimer(nullptr, id);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
        }
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Closer::Fire);
    dlg.SetDlgItemText(IDC_FW_COUNT, "12x");
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    KillTimer(nullptr, timer);
    EXPECT_EQ(dlg.count, 5);
    EXPECT_EQ(::GetFocus(), dlg.GetDlgItem(IDC_FW_COUNT));
}

TEST_F(ModelessDialog, CommandsReachHandlersByIdAndNotificationCode)
{
    log.clear();
    dlg.SendDlgItemMessage(IDC_FW_GO, BM_CLICK);
    EXPECT_EQ(log, (EventLog{"Go clicked"}));

    log.clear();
    dlg.SetDlgItemText(IDC_FW_NAME, "changed");  // the edit notifies EN_CHANGE
    EXPECT_TRUE(Contains(log, "Name changed"));

    log.clear();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(40001, 1), 0);  // as from an accelerator
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(41003, 0), 0);  // as from a menu
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(41010, 0), 0);  // outside the range: nobody
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FW_GO, BN_DOUBLECLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FW_GO)));  // unmapped code
    EXPECT_EQ(log, (EventLog{"menu 40001", "range 41003"}));
}

TEST_F(ModelessDialog, NotificationsReachTheTableAndScrollsTheSlider)
{
    log.clear();
    NMHDR header{dlg.list.m_hWnd, IDC_FW_LIST, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(dlg.SendMessage(WM_NOTIFY, IDC_FW_LIST, reinterpret_cast<LPARAM>(&header)), 5);
    NMHDR other{dlg.list.m_hWnd, IDC_FW_LIST, static_cast<UINT>(NM_DBLCLK)};
    dlg.SendMessage(WM_NOTIFY, IDC_FW_LIST, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(log, (EventLog{"list clicked from 2008"}));

    // The slider's scroll notifications: the dialog's handler runs, and its default hands
    // them to the slider object.
    log.clear();
    dlg.level.SetFocus();
    dlg.level.SendMessage(WM_KEYDOWN, VK_RIGHT, 1);
    dlg.level.SendMessage(WM_KEYUP, VK_RIGHT, 0xC0000001);
    ASSERT_FALSE(dlg.level.codes.empty());
    EXPECT_EQ(dlg.level.codes.front(), static_cast<UINT>(TB_LINEDOWN));
    EXPECT_EQ(log.front(), "dialog OnHScroll " + std::to_string(TB_LINEDOWN) + " 0");
}

TEST_F(ModelessDialog, AChildTemplateBecomesAPageInsideItsParent)
{
    CStatic frame;
    ASSERT_TRUE(frame.SubclassDlgItem(IDC_FW_LABEL, &dlg));
    CDialog page;
    ASSERT_TRUE(page.Create(IDD_FW_PAGE, &frame));
    EXPECT_EQ(::GetParent(page.m_hWnd), frame.m_hWnd);
    EXPECT_TRUE(page.GetStyle() & WS_CHILD);
    EXPECT_NE(page.GetDlgItem(IDC_FW_PAGE_EDIT), nullptr);
    dlg.DestroyWindow();  // the page goes with the window it lives in
    EXPECT_EQ(page.m_hWnd, nullptr);
}

TEST_F(ModelessDialog, TimersFireOnTheDialog)
{
    int fired = 0;
    dlg.onTimer = [&](UINT_PTR id) {
        if (id == 9)
            ++fired;
    };
    dlg.SetTimer(9, 20);
    EXPECT_TRUE(testsupport::PumpMessages(5000, [&] { return fired >= 2; }));
    dlg.KillTimer(9);
    EXPECT_TRUE(Contains(log, "OnTimer 9"));
}

TEST_F(ModelessDialog, MessagesAreCrackedWithTheirArguments)
{
    log.clear();
    dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 25));
    dlg.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    dlg.SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-20), 40));
    dlg.SendMessage(WM_SYSCOMMAND, 0x0013, 0);
    EXPECT_EQ(log, (EventLog{"OnLButtonDown 1 15,25", "OnSize 0 300x200", "OnMove -20,40", "OnSysCommand about"}));

    log.clear();
    dlg.privateAnswer = 77;
    EXPECT_EQ(dlg.SendMessage(1037, 3, 4), 77);
    EXPECT_EQ(dlg.SendMessage(WM_DEVICECHANGE, 0x8000, 12), TRUE);
    EXPECT_EQ(dlg.SendMessage(WM_QUERYENDSESSION), FALSE);
    EXPECT_EQ(dlg.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(::LoadIconA(nullptr, MAKEINTRESOURCEA(32512))));
    EXPECT_EQ(log, (EventLog{"private 1037 3 4", "OnDeviceChange 32768 12", "OnQueryEndSession"}));

    // A private message nobody handles goes to the dialog manager (DM_GETDEFID answers).
    EXPECT_EQ(LOWORD(dlg.GetDefID()), IDOK);
}

TEST_F(ModelessDialog, ColourRequestsAreReflectedToTheControlObject)
{
    dlg.logColours = dlg.name.logColours = true;
    log.clear();
    HDC dc = CreateCompatibleDC(nullptr);
    const LRESULT brush = dlg.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(dlg.name.m_hWnd));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(dlg.name.brush.GetSafeHandle()));
    EXPECT_EQ(GetTextColor(dc), RGB(200, 10, 20));
    EXPECT_EQ(log, (EventLog{"dialog OnCtlColor 1", "edit CtlColor 1"}));

    // A control without an object gets the dialog's default answer.
    log.clear();
    const LRESULT other = dlg.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_FW_LABEL)));
    EXPECT_NE(other, brush);
    EXPECT_EQ(log, (EventLog{"dialog OnCtlColor 6"}));
    DeleteDC(dc);

    // The edit's own painting asks its parent, and the answer comes from the edit object.
    const int before = dlg.name.colourRequests;
    dlg.name.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    testsupport::PumpMessages(50);
    EXPECT_GT(dlg.name.colourRequests, before);
}

TEST_F(ModelessDialog, CloseGoesThroughOnCloseThenOnCancelAndHidesIt)
{
    log.clear();
    dlg.SendMessage(WM_CLOSE);
    testsupport::PumpMessages(200, [&] { return log.size() >= 2; });  // the dialog manager posts IDCANCEL
    EXPECT_EQ(log, (EventLog{"OnClose", "OnCancel"}));
    EXPECT_FALSE(dlg.IsWindowVisible());
    const HWND hWnd = dlg.m_hWnd;
    dlg.DestroyWindow();
    EXPECT_TRUE(Contains(log, "OnDestroy"));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_EQ(dlg.name.m_hWnd, nullptr);  // the items went with it and were unbound
}

TEST(ModalDialog, LoopPassesMessagesThroughPreTranslateAndEndsWithTheResult)
{
    EventLog log;
    TestDialog dlg(log);
    dlg.timerMs = 20;
    int ticks = 0;
    dlg.onTimer = [&](UINT_PTR) {
        if (++ticks == 1) {
            // A key for the edit: the loop must show it to PreTranslateMessage first.
            PostMessageA(dlg.name.m_hWnd, WM_KEYDOWN, 'Q', 1);
        } else if (ticks == 3) {
            dlg.KillTimer(7);
            dlg.EndDialog(1234);
        }
    };
    const INT_PTR result = dlg.DoModal();
    EXPECT_EQ(result, 1234);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.name.m_hWnd, nullptr);
    bool sawKey = false, sawTimer = false;
    for (UINT m : dlg.preTranslated) {
        sawKey = sawKey || m == WM_KEYDOWN;
        sawTimer = sawTimer || m == WM_TIMER;
    }
    EXPECT_TRUE(sawKey);
    EXPECT_TRUE(sawTimer);
    EXPECT_LT(IndexOf(log, "OnInitDialog"), IndexOf(log, "OnTimer 7"));
    EXPECT_LT(IndexOf(log, "OnTimer 7"), IndexOf(log, "OnDestroy"));
}

TEST(ModalDialog, EscapeReachesOnCancelThroughTheDialogManager)
{
    EventLog log;
    TestDialog dlg(log);
    dlg.timerMs = 20;
    dlg.onTimer = [&](UINT_PTR) {
        dlg.KillTimer(7);
        PostMessageA(dlg.name.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(Contains(log, "OnCancel"));
}

TEST(ModalDialog, EnterRunsOnOKWhichReadsTheItems)
{
    EventLog log;
    TestDialog dlg(log);
    dlg.timerMs = 20;
    dlg.onTimer = [&](UINT_PTR) {
        dlg.KillTimer(7);
        dlg.SetDlgItemText(IDC_FW_NAME, "entered");
        PostMessageA(dlg.name.m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.nameText, "entered");
    EXPECT_LT(IndexOf(log, "OnOK"), IndexOf(log, "DoDataExchange save"));
}

TEST(ModalDialog, EndDialogDuringInitSkipsTheLoop)
{
    EventLog log;
    TestDialog dlg(log);
    dlg.endInInit = -1;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_TRUE(Contains(log, "OnDestroy"));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

TEST(ModalDialog, OwnerIsDisabledWhileItRunsAndEnabledAfter)
{
    EventLog ownerLog, log;
    TestDialog owner(ownerLog);
    ASSERT_TRUE(owner.Create(IDD_FW_MAIN));
    TestDialog dlg(log, &owner);
    BOOL enabledDuring = TRUE;
    HWND ownerDuring = nullptr;
    dlg.timerMs = 20;
    dlg.onTimer = [&](UINT_PTR) {
        enabledDuring = owner.IsWindowEnabled();
        ownerDuring = ::GetWindow(dlg.m_hWnd, GW_OWNER);
        dlg.EndDialog(5);
    };
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_FALSE(enabledDuring);
    EXPECT_EQ(ownerDuring, owner.m_hWnd);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(ModalDialog, RunsFromATemplateInMemory)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_FW_EMPTY), MAKEINTRESOURCEA(5));
    ASSERT_NE(resource, nullptr);
    const auto* loaded = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, resource)));
    // A private copy, as a template built at run time would be.
    std::vector<BYTE> copy(loaded, loaded + SizeofResource(nullptr, resource));
    CDialog dlg;
    ASSERT_TRUE(dlg.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATEA>(copy.data())));
    struct Ender {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
        {
            if (HWND hWnd = FindWindowA("#32770", "Empty")) {
                KillTimer(nullptr, id);
                PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
            }
        }
    };
    SetTimer(nullptr, 0, 20, Ender::Fire);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(dlg.InitModalIndirect(nullptr));
}

TEST(ModalDialog, MissingTemplateGivesMinusOne)
{
    CDialog dlg(9999u);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

}  // namespace
