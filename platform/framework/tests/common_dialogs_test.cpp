// The file dialog and folder browser wrappers: the structures they hand to the system, and
// the real dialogs driven as a user would.
#include <framework/Framework.h>
#include <gtest/gtest.h>

#include <fstream>

#include "TestSupport.h"

namespace {

TEST(FileDialog, BuildsTheSystemStructureFromItsArguments)
{
    CFileDialog dlg(FALSE, "mpg", "clip1.mpg", OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                    "MPEG Files (*.mpg)|*.mpg|All Files (*.*)|*.*||");
    EXPECT_EQ(dlg.m_ofn.lStructSize, sizeof(OPENFILENAMEA));
    const char filters[] = "MPEG Files (*.mpg)\0*.mpg\0All Files (*.*)\0*.*\0";
    EXPECT_EQ(std::string(dlg.m_ofn.lpstrFilter, sizeof(filters)), std::string(filters, sizeof(filters)));
    EXPECT_STREQ(dlg.m_ofn.lpstrDefExt, "mpg");
    EXPECT_STREQ(dlg.m_ofn.lpstrFile, "clip1.mpg");
    EXPECT_GE(dlg.m_ofn.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(dlg.m_ofn.nFilterIndex, 1u);
    EXPECT_EQ(dlg.m_ofn.Flags & (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST),
              static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST));
    EXPECT_TRUE(dlg.m_ofn.Flags & OFN_EXPLORER);
    EXPECT_FALSE(dlg.IsOpenDialog());

    std::string title = "Save recording";
    dlg.SetTitle(title.c_str());
    dlg.SetInitialDir("C:\\Clips");
    title = "changed";
    EXPECT_STREQ(dlg.m_ofn.lpstrTitle, "Save recording");
    EXPECT_STREQ(dlg.m_ofn.lpstrInitialDir, "C:\\Clips");
}

TEST(FileDialog, NameParts)
{
    CFileDialog dlg(TRUE, nullptr, "C:\\Video.dir\\clip12.final.mpg");
    EXPECT_EQ(dlg.GetPathName(), "C:\\Video.dir\\clip12.final.mpg");
    EXPECT_EQ(dlg.GetFileName(), "clip12.final.mpg");
    EXPECT_EQ(dlg.GetFileExt(), "mpg");
    EXPECT_EQ(dlg.GetFileTitle(), "clip12.final");
    CFileDialog bare(TRUE, nullptr, "C:\\Video.dir\\noext");
    EXPECT_EQ(bare.GetFileExt(), "");
    EXPECT_EQ(bare.GetFileTitle(), "noext");
    const std::string longName(6000, 'n');
    CFileDialog overlong(TRUE, nullptr, longName.c_str());
    EXPECT_LT(overlong.GetPathName().size(), 6000u);  // cut to the buffer, never past it
}

TEST(FileDialog, TheOpenDialogReturnsTheChosenFileAndFilterIndex)
{
    const std::string path = testsupport::OutputDir() + "chosen.txt";
    std::ofstream(path) << "x";
    CFileDialog dlg(TRUE, nullptr, path.c_str(), OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, "Text (*.txt)|*.txt|All (*.*)|*.*||");
    dlg.SetTitle("Framework open test");
    dlg.m_ofn.nFilterIndex = 2;
    struct Chooser {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
        {
            HWND box = FindWindowA(nullptr, "Framework open test");
            if (!box)
                return;
            KillTimer(nullptr, id);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, Chooser::Fire);
    const INT_PTR result = dlg.DoModal();
    KillTimer(nullptr, timer);
    ASSERT_EQ(result, IDOK) << "dialog error " << dlg.GetDialogError();
    EXPECT_EQ(dlg.GetFileName(), "chosen.txt");
    EXPECT_EQ(dlg.m_ofn.nFilterIndex, 2u);
}

class StartFolderBrowser : public CFolderDialog {
public:
    explicit StartFolderBrowser(std::string start) : CFolderDialog("Current Selection", BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT), start_(std::move(start)) {}
    int initialised = 0;
    std::vector<std::string> selections;

protected:
    void OnInitialized() override
    {
        ++initialised;
        SetSelection(start_.c_str());
        SetStatusText(start_.c_str());
        // Accept what is selected, as a user pressing OK would.
        PostMessageA(m_hBrowser, WM_COMMAND, IDOK, 0);
    }
    void OnSelChanged(const std::string& path) override { selections.push_back(path); }

private:
    std::string start_;
};

TEST(FolderDialog, BuildsItsStructureAndReturnsTheSelectedFolder)
{
    StartFolderBrowser browser("C:\\windows");
    EXPECT_STREQ(browser.m_bi.lpszTitle, "Current Selection");
    EXPECT_EQ(browser.m_bi.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT));
    EXPECT_NE(browser.m_bi.lpfn, nullptr);
    EXPECT_EQ(browser.m_bi.lParam, reinterpret_cast<LPARAM>(&browser));

    ASSERT_EQ(browser.DoModal(), IDOK);
    EXPECT_EQ(browser.initialised, 1);
    std::string chosen = browser.GetFolderPath();
    CharLowerBuffA(chosen.data(), static_cast<DWORD>(chosen.size()));
    EXPECT_EQ(chosen, "c:\\windows");
    ASSERT_FALSE(browser.selections.empty());
}

}  // namespace
