// The folder browser and the save dialog of a recording, driven under the test display the
// way a user would: the browser's status line and chosen folder, and the save dialog's name
// with ".mpg" added, the replace question and the current directory put back.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FolderBrowser.h"
#include "RecordingFileName.h"
#include "TestSupport.h"

namespace {

// The dialog this thread shows now (the modal loop runs while the timer fires).
HWND ShownDialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM out) -> BOOL {
            char cls[32] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (IsWindowVisible(w) && std::string(cls) == "#32770") {
                *reinterpret_cast<HWND*>(out) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<std::pair<std::string, std::string>> Children(HWND dialog)
{
    std::vector<std::pair<std::string, std::string>> out;
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM list) -> BOOL {
            char cls[64] = {}, text[512] = {};
            GetClassNameA(w, cls, sizeof cls);
            GetWindowTextA(w, text, sizeof text);
            reinterpret_cast<std::vector<std::pair<std::string, std::string>>*>(list)->emplace_back(cls, text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&out));
    return out;
}

// Runs `act` on the shown dialog from a timer of this thread, once per dialog shown.
class DialogDriver {
public:
    explicit DialogDriver(std::vector<std::function<void(HWND)>> steps) : m_steps(std::move(steps))
    {
        s_current = this;
        m_timer = SetTimer(nullptr, 0, 150, &DialogDriver::Fire);
    }
    ~DialogDriver()
    {
        KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    size_t Done() const { return m_next; }

private:
    static void CALLBACK Fire(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* self = s_current;
        HWND dialog = ShownDialog();
        if (!self || !dialog || dialog == self->m_last || self->m_next >= self->m_steps.size())
            return;
        self->m_last = dialog;
        self->m_steps[self->m_next++](dialog);
    }

    static inline DialogDriver* s_current = nullptr;
    std::vector<std::function<void(HWND)>> m_steps;
    size_t m_next = 0;
    HWND m_last = nullptr;
    UINT_PTR m_timer = 0;
};

std::string MakeFolder(const std::string& name)
{
    const std::string folder = testsupport::OutputDir() + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

TEST(RecordingDialogs, FolderBrowserShowsTheStartFolderShortenedAndReturnsIt)
{
    // On the prefix's own drive: the browser does not walk into Z:, the Unix root.
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string start = std::string(temp) + "a recording folder with a long name";
    CreateDirectoryA(start.c_str(), nullptr);
    ASSERT_GT(start.size(), recording::kStatusPathChars);
    std::vector<std::pair<std::string, std::string>> seen;
    DialogDriver driver({[&](HWND dialog) {
        seen = Children(dialog);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    }});
    const std::optional<std::string> chosen = recording::BrowseForFolder(nullptr, start, BIF_RETURNONLYFSDIRS);
    ASSERT_EQ(driver.Done(), 1u);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(_stricmp(chosen->c_str(), start.c_str()), 0) << *chosen;

    bool title = false, status = false;
    for (const auto& [cls, text] : seen) {
        title |= text == "Current Selection";
        status |= text == start.substr(0, 35) + "...";
    }
    EXPECT_TRUE(title) << "the browser is titled \"Current Selection\"";
    EXPECT_TRUE(status) << "the status line shows the first 35 characters";
}

// Types a name into the save dialog and presses Save.
std::function<void(HWND)> TypeName(const std::string& name)
{
    return [name](HWND dialog) {
        HWND edit = nullptr;
        EnumChildWindows(
            dialog,
            [](HWND w, LPARAM out) -> BOOL {
                char cls[16] = {};
                GetClassNameA(w, cls, sizeof cls);
                if (_stricmp(cls, "Edit") == 0 && IsWindowVisible(w)) {
                    *reinterpret_cast<HWND*>(out) = w;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&edit));
        ASSERT_NE(edit, nullptr);
        SetWindowTextA(edit, name.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    };
}

TEST(RecordingDialogs, SaveDialogAddsMpgAsksBeforeReplacingAndRestoresTheDirectory)
{
    const std::string folder = MakeFolder("save-dialog") + "\\";
    const HANDLE existing = CreateFileA((folder + "take.mpg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(existing, INVALID_HANDLE_VALUE);
    CloseHandle(existing);
    DeleteFileA((folder + "other.mpg").c_str());

    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    std::vector<std::string> questions;
    recording::SystemSaveNamePrompt prompt(
        nullptr, {"Save recording test", "MPEG files (*.mpg)|*.mpg|All files (*.*)|*.*||", "Replace it?", "Marovin"},
        [&](const std::string& question, const std::string& caption) {
            questions.push_back(question + "/" + caption);
            return false;  // No: the dialog comes again
        });
    settings::CaptureSettings s;
    s.recordingFolder = folder;
    s.saveFilterIndex = 1;
    DialogDriver driver({TypeName("take"), TypeName("other")});
    const recording::NameChoice choice = recording::AskRecordingFileName(prompt, s);
    EXPECT_EQ(driver.Done(), 2u);
    ASSERT_EQ(choice.outcome, recording::NameChoice::kNamed) << choice.reason;
    EXPECT_EQ(_stricmp(choice.name.c_str(), (folder + "other.mpg").c_str()), 0) << choice.name;
    EXPECT_EQ(questions, std::vector<std::string>{"Replace it?/Marovin"});
    EXPECT_EQ(_stricmp(s.lastSaveFolder.c_str(), folder.c_str()), 0) << s.lastSaveFolder;
    EXPECT_EQ(s.saveFilterIndex, 1);
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(after, before) << "the dialog's directory change is undone";
}

TEST(RecordingDialogs, CancelledDialogsNameNothing)
{
    const auto cancel = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); };
    DialogDriver driver({cancel, cancel});
    EXPECT_FALSE(recording::BrowseForFolder(nullptr, "C:\\windows", 0).has_value());
    recording::SystemSaveNamePrompt prompt(nullptr, {"Save recording test", "All (*.*)|*.*||", "?", "Marovin"});
    settings::CaptureSettings s;
    EXPECT_EQ(recording::AskRecordingFileName(prompt, s).outcome, recording::NameChoice::kCancelled);
    EXPECT_EQ(driver.Done(), 2u);
}

}  // namespace
