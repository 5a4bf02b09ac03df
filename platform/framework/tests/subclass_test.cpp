// Subclassed and created windows dispatch to their objects, keep the original behaviour,
// and are unhooked on destroy; dialog items can be replaced by windows of another class;
// classes derived in another module work across the DLL border.
#include <gtest/gtest.h>

#include "DllDialog.h"
#include "TestDialogs.h"
#include "TestSupport.h"

namespace {

class KeyLogger : public CWnd {
public:
    std::string typed;
    int postNcDestroyCalls = 0;
    std::string createdWithName;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) override
    {
        typed += static_cast<char>(nChar);
        CWnd::OnChar(nChar, nRepCnt, nFlags);  // the edit still inserts the character
    }
    int OnCreate(LPCREATESTRUCTA cs) override
    {
        createdWithName = cs->lpszName ? cs->lpszName : "";
        return CWnd::OnCreate(cs);
    }
    void PostNcDestroy() override { ++postNcDestroyCalls; }
};

HWND MakeEdit()
{
    return CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 10, 10, 120, 24, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(Subclassing, ObjectSeesMessagesAndTheOriginalProcedureStillWorks)
{
    const size_t baseline = CWnd::GetBoundWindowCount();
    HWND edit = MakeEdit();
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = GetWindowLongPtrA(edit, GWLP_WNDPROC);

    KeyLogger logger;
    ASSERT_TRUE(logger.SubclassWindow(edit));
    EXPECT_NE(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &logger);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline + 1);

    for (char c : std::string("abc"))
        SendMessageA(edit, WM_CHAR, c, 1);
    EXPECT_EQ(logger.typed, "abc");
    EXPECT_EQ(logger.GetWindowText(), "abc");

    // A second object cannot take a bound window.
    KeyLogger other;
    EXPECT_FALSE(other.SubclassWindow(edit));

    // Unsubclassing restores the original procedure and the object hears no more.
    EXPECT_EQ(logger.UnsubclassWindow(), edit);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), original);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    SendMessageA(edit, WM_CHAR, 'd', 1);
    EXPECT_EQ(logger.typed, "abc");
    DestroyWindow(edit);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline);
}

TEST(Subclassing, DestroyingTheWindowUnbindsTheObject)
{
    const size_t baseline = CWnd::GetBoundWindowCount();
    KeyLogger logger;
    HWND edit = MakeEdit();
    ASSERT_TRUE(logger.SubclassWindow(edit));
    DestroyWindow(edit);
    EXPECT_EQ(logger.m_hWnd, nullptr);
    EXPECT_EQ(logger.postNcDestroyCalls, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline);
    // The object can be bound again to a new window.
    HWND second = MakeEdit();
    EXPECT_TRUE(logger.SubclassWindow(second));
    logger.DestroyWindow();
    EXPECT_EQ(logger.postNcDestroyCalls, 2);
}

TEST(Subclassing, AnObjectGoingAwayTakesItsWindowWithIt)
{
    HWND edit = MakeEdit();
    {
        KeyLogger logger;
        ASSERT_TRUE(logger.SubclassWindow(edit));
    }
    EXPECT_FALSE(IsWindow(edit));
}

TEST(Subclassing, AttachMapsWithoutRoutingAndDetachUnmaps)
{
    HWND edit = MakeEdit();
    KeyLogger logger;
    ASSERT_TRUE(logger.Attach(edit));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), &logger);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(logger.typed, "");
    EXPECT_EQ(logger.Detach(), edit);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    DestroyWindow(edit);
}

TEST(Creation, TheObjectReceivesMessagesFromCreationOn)
{
    KeyLogger logger;
    ASSERT_TRUE(logger.CreateEx(0, "EDIT", "created", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0));
    EXPECT_EQ(logger.createdWithName, "created");
    EXPECT_EQ(CWnd::FromHandlePermanent(logger.m_hWnd), &logger);
    logger.DestroyWindow();
    EXPECT_EQ(logger.m_hWnd, nullptr);
    EXPECT_FALSE(logger.CreateEx(0, "NoSuchClassHere", "", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    EXPECT_EQ(logger.m_hWnd, nullptr);
}

// Creates a child of its own, and a plain window, while its own window is being created.
class Nesting : public CWnd {
public:
    KeyLogger child;
    HWND plain = nullptr;
    bool created = false;

protected:
    int OnCreate(LPCREATESTRUCTA cs) override
    {
        created = true;
        child.CreateEx(0, "EDIT", "inner", WS_CHILD, CRect(0, 0, 50, 20), m_hWnd, 7);
        plain = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, m_hWnd, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
        return CWnd::OnCreate(cs);
    }
};

TEST(Creation, AWindowMadeWhileAnotherIsCreatedIsBoundToItsOwnObjectOnly)
{
    const size_t baseline = CWnd::GetBoundWindowCount();
    Nesting outer;
    ASSERT_TRUE(outer.CreateEx(0, "STATIC", "outer", WS_POPUP, CRect(0, 0, 100, 40), nullptr, 0));
    EXPECT_TRUE(outer.created);
    EXPECT_EQ(CWnd::FromHandlePermanent(outer.m_hWnd), &outer);
    ASSERT_NE(outer.child.m_hWnd, nullptr);
    EXPECT_EQ(outer.child.createdWithName, "inner");
    EXPECT_EQ(CWnd::FromHandlePermanent(outer.child.m_hWnd), &outer.child);
    ASSERT_NE(outer.plain, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(outer.plain), nullptr);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline + 2);
    // Windows made afterwards on this thread belong to no object.
    HWND later = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(later), nullptr);
    DestroyWindow(later);
    outer.DestroyWindow();
    EXPECT_EQ(outer.child.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline);
}

TEST(Creation, AWindowCreatedThenSubclassedMissesOnlyItsCreationMessages)
{
    const size_t baseline = CWnd::GetBoundWindowCount();
    KeyLogger logger;
    ASSERT_TRUE(logger.CreateThenSubclass(0, "EDIT", "made", WS_POPUP, CRect(0, 0, 100, 20), nullptr, 0));
    EXPECT_EQ(logger.createdWithName, "");
    EXPECT_EQ(CWnd::FromHandlePermanent(logger.m_hWnd), &logger);
    EXPECT_EQ(logger.GetWindowText(), "made");
    SendMessageA(logger.m_hWnd, WM_CHAR, 'q', 1);
    EXPECT_EQ(logger.typed, "q");
    EXPECT_EQ(logger.GetWindowText(), "qmade");
    EXPECT_FALSE(logger.CreateThenSubclass(0, "EDIT", "again", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    logger.DestroyWindow();
    EXPECT_EQ(logger.postNcDestroyCalls, 1);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline);

    EXPECT_FALSE(logger.CreateThenSubclass(0, "NoSuchClassHere", "", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    EXPECT_EQ(logger.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::GetBoundWindowCount(), baseline);

    // A class copied in the DLL is found by name, as by CreateEx.
    ASSERT_TRUE(AfxRegisterClassCopy("STATIC", "FWCOPYLABEL", DllDialogsModule(), 0, 0));
    CWnd label;
    ASSERT_TRUE(label.CreateThenSubclass(0, "FWCOPYLABEL", "copied", WS_POPUP, CRect(0, 0, 60, 20), nullptr, 0));
    char cls[32] = {};
    GetClassNameA(label.m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ(cls, "FWCOPYLABEL");
    EXPECT_EQ(label.GetWindowText(), "copied");
    label.DestroyWindow();
}

TEST(Creation, ADialogItemIsReplacedByAWindowOfAnotherClass)
{
    EventLog log;
    TestDialog dlg(log);
    ASSERT_TRUE(dlg.Create(IDD_FW_MAIN));
    HWND label = dlg.GetDlgItem(IDC_FW_LABEL);
    CRect before;
    GetWindowRect(label, &before);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(label, GWL_STYLE));

    KeyLogger replacement;
    ASSERT_TRUE(replacement.CreateInPlaceOfDlgItem(label, "EDIT"));
    EXPECT_FALSE(IsWindow(label));
    HWND item = dlg.GetDlgItem(IDC_FW_LABEL);
    ASSERT_EQ(item, replacement.m_hWnd);
    char cls[32] = {};
    GetClassNameA(item, cls, sizeof(cls));
    EXPECT_STREQ(cls, "Edit");
    EXPECT_EQ(replacement.GetWindowText(), "Label");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrA(item, GWL_STYLE)) & ~WS_VISIBLE, style & ~WS_VISIBLE);
    CRect after;
    GetWindowRect(item, &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(::GetParent(item), dlg.m_hWnd);
    SendMessageA(item, WM_CHAR, 'z', 1);
    EXPECT_EQ(replacement.typed, "z");

    // An object bound to the item it replaces is moved over to the new window.
    CButton bound;
    ASSERT_TRUE(bound.SubclassDlgItem(IDC_FW_GO, &dlg));
    ASSERT_TRUE(bound.CreateInPlaceOfDlgItem(bound.m_hWnd, "BUTTON"));
    EXPECT_EQ(dlg.GetDlgItem(IDC_FW_GO), bound.m_hWnd);
    log.clear();
    bound.SendMessage(BM_CLICK);
    EXPECT_EQ(log, (EventLog{"Go clicked"}));
    dlg.DestroyWindow();
    EXPECT_EQ(replacement.m_hWnd, nullptr);
}

TEST(Creation, AClassCopiedInTheDllReplacesADialogItemFromTheProgram)
{
    HINSTANCE dll = DllDialogsModule();
    ASSERT_TRUE(AfxRegisterClassCopy("BUTTON", "FWCOPYBUTTON", dll, CS_PARENTDC, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    EXPECT_TRUE(AfxRegisterClassCopy("BUTTON", "FWCOPYBUTTON", dll, 0, 0));  // again: no change
    EXPECT_FALSE(AfxRegisterClassCopy("BUTTON", "FWCOPYBUTTON", GetModuleHandleA(nullptr), 0, 0));
    EXPECT_FALSE(AfxRegisterClassCopy("NoSuchBaseClass", "FWCOPYOTHER", dll, 0, 0));
    WNDCLASSEXA info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetClassInfoExA(dll, "FWCOPYBUTTON", &info));
    EXPECT_EQ(info.style & CS_PARENTDC, 0u);
    EXPECT_EQ(info.style & (CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW), static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));

    EventLog log;
    TestDialog dlg(log);
    ASSERT_TRUE(dlg.Create(IDD_FW_MAIN));
    CButton go;
    ASSERT_TRUE(go.CreateInPlaceOfDlgItem(dlg.GetDlgItem(IDC_FW_GO), "FWCOPYBUTTON"));
    char cls[32] = {};
    GetClassNameA(go.m_hWnd, cls, sizeof(cls));
    EXPECT_STREQ(cls, "FWCOPYBUTTON");
    EXPECT_EQ(go.GetWindowText(), "Go");
    log.clear();
    go.SendMessage(BM_CLICK);
    EXPECT_EQ(log, (EventLog{"Go clicked"}));

    // The replacement draws as a button where the item was.
    dlg.SetWindowPos(HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    dlg.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // On a loaded machine the X server may show the window late: wait for it, within reason.
    testsupport::ScreenImage shot;
    testsupport::PumpMessages(3000, [&] {
        shot = testsupport::CaptureWindow(go.m_hWnd);
        return shot.DistinctColours() > 3u;
    });
    EXPECT_TRUE(testsupport::CaptureWindow(dlg.m_hWnd).SaveBmp(testsupport::OutputDir() + "replaced_item.bmp"));
    EXPECT_GT(shot.DistinctColours(), 3u);  // face, frame, shadow and caption text
    dlg.DestroyWindow();
}

// A class derived in the program from a dialog class of the DLL.
class ProgramFromDll : public DllDialog {
public:
    ProgramFromDll() { MapCommand(IDC_DLL_BUTTON, BN_CLICKED, [this] { ++presses; }); }
    int presses = 0;
    int closes = 0;

protected:
    void OnClose() override
    {
        ++closes;
        DllDialog::OnClose();
    }
};

TEST(AcrossModules, ADialogClassFromTheDllWorksFromTheProgram)
{
    DllDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_DLL_DIALOG));
    EXPECT_EQ(dlg.initCalls, 1);
    EXPECT_EQ(dlg.GetWindowText(), "From the DLL");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_DLL_EDIT), "from the dll");
    EXPECT_EQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(IDC_DLL_BUTTON)), &dlg.button);
    dlg.button.SendMessage(BM_CLICK);
    EXPECT_EQ(dlg.button.reflectedClicks, 1);
    // The template came from the DLL, which the program does not have.
    EXPECT_EQ(FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DLL_DIALOG), MAKEINTRESOURCEA(5)), nullptr);
    EXPECT_NE(FindResourceA(DllDialogsModule(), MAKEINTRESOURCEA(IDD_DLL_DIALOG), MAKEINTRESOURCEA(5)), nullptr);
    dlg.DestroyWindow();
    EXPECT_EQ(dlg.button.m_hWnd, nullptr);
}

TEST(AcrossModules, AProgramClassDerivedFromTheDllClassRunsModally)
{
    ProgramFromDll dlg;
    struct Driver {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
        {
            HWND hWnd = FindWindowA("#32770", "From the DLL");
            if (!hWnd)
                return;
            KillTimer(nullptr, id);
            SendDlgItemMessageA(hWnd, IDC_DLL_BUTTON, BM_CLICK, 0, 0);
            PostMessageA(hWnd, WM_CLOSE, 0, 0);
        }
    };
    SetTimer(nullptr, 0, 30, Driver::Fire);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.presses, 1);
    EXPECT_EQ(dlg.button.reflectedClicks, 1);
    EXPECT_EQ(dlg.closes, 1);
    EXPECT_EQ(dlg.initCalls, 1);
}

}  // namespace
