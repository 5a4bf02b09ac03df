// The one function every message box of the program goes through: texts, caption, buttons
// and the answer reach the caller unchanged.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProgramMessage.h"

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    bool hasYes = false;
    bool hasNo = false;
    bool hasOk = false;
    int answer = IDNO;
    bool answered = false;
};
SeenBox g_seen;

BOOL CALLBACK FindBox(HWND window, LPARAM)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || g_seen.answered)
        return TRUE;
    char caption[128] = "", text[256] = "";
    GetWindowTextA(window, caption, sizeof caption);
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    g_seen.caption = caption;
    g_seen.text = text;
    g_seen.hasYes = GetDlgItem(window, IDYES) != nullptr;
    g_seen.hasNo = GetDlgItem(window, IDNO) != nullptr;
    g_seen.hasOk = GetDlgItem(window, IDOK) != nullptr;
    g_seen.answered = true;
    PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(g_seen.answer), 0);
    return FALSE;
}

// Runs inside the box's own message loop and presses the chosen button.
void CALLBACK AnswerTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
    if (g_seen.answered)
        KillTimer(nullptr, id);
}

int ShowAndAnswer(const std::string& text, const std::string& caption, UINT style, int answer)
{
    g_seen = SeenBox{};
    g_seen.answer = answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerTimer);
    const int result = shell::ShowProgramMessage(nullptr, text, caption, style);
    KillTimer(nullptr, timer);
    return result;
}

TEST(ProgramMessage, ShowsTheTextsAndReturnsTheButtonPressed)
{
    EXPECT_EQ(ShowAndAnswer("Marovin could not start the live picture.", "Marovin", MB_YESNO | MB_ICONQUESTION, IDNO),
              IDNO);
    ASSERT_TRUE(g_seen.answered);
    EXPECT_EQ(g_seen.caption, "Marovin");
    EXPECT_EQ(g_seen.text, "Marovin could not start the live picture.");
    EXPECT_TRUE(g_seen.hasYes);
    EXPECT_TRUE(g_seen.hasNo);

    EXPECT_EQ(ShowAndAnswer("Line one\r\n\r\nLine two", "Marovin", MB_YESNO, IDYES), IDYES);
    EXPECT_EQ(g_seen.text, "Line one\r\n\r\nLine two");
}

TEST(ProgramMessage, WithoutACaptionTheSystemOneStands)
{
    // The start-up failure of the skin engine has no caption of its own.
    shell::SetSkinnedMessagesAvailable(false);
    EXPECT_EQ(ShowAndAnswer("Failed to initialize Gaphics Engine", "", MB_OK | MB_ICONSTOP, IDOK), IDOK);
    ASSERT_TRUE(g_seen.answered);
    EXPECT_FALSE(g_seen.caption.empty());
    EXPECT_TRUE(g_seen.hasOk);
    EXPECT_FALSE(g_seen.hasYes);
    EXPECT_FALSE(shell::SkinnedMessagesAvailable());
}

}  // namespace
