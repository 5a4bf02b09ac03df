// The real Marovin skin: its main window built as a skinned dialog from the program's own
// template, looked at on the test display. Controls stay plain until skinned controls bind.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <vector>

#include "ControlIds.h"
#include "EQorDialog.h"
#include "EQorTransparentStatic.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

class MainDialogFace : public EQorDialog {
public:
    MainDialogFace() : EQorDialog(IDD_MAIN_DIALOG) {}
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        EQorDialog::OnInitDialog();
        initialised = InitializeQorDialog("MainDialog", SKIN_TRANSPARENT_COLOR);
        return TRUE;
    }
};

// A transparent static of "MainDialog" in the skin file.
struct SkinnedText {
    int id, x, y, width, height;
    bool visible;
};

std::vector<SkinnedText> ReadMainDialogTexts()
{
    const std::string dialog =
        enginetest::DialogElementText((fs::path(MAROVIN_SKIN_DIR) / "Graphics1033.xml").string(), "MainDialog");
    std::vector<SkinnedText> texts;
    const std::regex element("<QorTransStaticControl ([^>]*)>");
    const auto number = [](const std::string& attributes, const char* name) {
        std::smatch match;
        const std::regex attribute(std::string(name) + "=\"(-?[0-9]+)\"");
        return std::regex_search(attributes, match, attribute) ? std::stoi(match[1].str()) : -1;
    };
    for (std::sregex_iterator it(dialog.begin(), dialog.end(), element), last; it != last; ++it) {
        const std::string attributes = (*it)[1].str();
        texts.push_back({number(attributes, "ControlIdValue"), number(attributes, "ControlXOffset"),
                         number(attributes, "ControlYOffset"), number(attributes, "ControlWidth"),
                         number(attributes, "ControlHeight"), number(attributes, "ControlIsVisible") != 0});
    }
    return texts;
}

// The main window with a transparent static bound to every skinned text its template holds.
class MainDialogTexts : public EQorDialog {
public:
    explicit MainDialogTexts(std::vector<SkinnedText> texts) : EQorDialog(IDD_MAIN_DIALOG), skinned(std::move(texts)) {}
    std::vector<SkinnedText> skinned;
    std::vector<std::unique_ptr<EQorTransparentStatic>> labels;
    bool initialised = false;

protected:
    BOOL OnInitDialog() override
    {
        EQorDialog::OnInitDialog();
        std::vector<SkinnedText> bound;
        for (const auto& text : skinned) {
            if (!::GetDlgItem(m_hWnd, text.id))
                continue;
            labels.push_back(std::make_unique<EQorTransparentStatic>());
            labels.back()->SubclassDlgItem(static_cast<UINT>(text.id), this);
            bound.push_back(text);
        }
        skinned = bound;
        initialised = InitializeQorDialog("MainDialog", SKIN_TRANSPARENT_COLOR);
        return TRUE;
    }
};

}  // namespace

TEST(RealSkin, MainDialogTextsAreSkinnedTransparentStatics)
{
    const std::vector<SkinnedText> texts = ReadMainDialogTexts();
    ASSERT_GT(texts.size(), 10u);
    enginetest::RecordingUi ui;
    ui.messageAnswer = IDNO;
    enginetest::SkinFolder folder;
    for (const auto& entry : fs::directory_iterator(MAROVIN_SKIN_DIR))
        fs::copy(entry.path(), fs::path(folder.Path()) / entry.path().filename(), fs::copy_options::recursive);
    enginetest::AppKey app("RealSkinTextTests", false);
    QorGraphicsEngineAPI api;
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033));
    {
        MainDialogTexts dialog(texts);
        ASSERT_TRUE(dialog.Create(IDD_MAIN_DIALOG));
        ASSERT_TRUE(dialog.initialised);
        ASSERT_GT(dialog.labels.size(), 10u) << "the template holds most of the skin's texts";
        for (const auto& m : ui.messages)
            EXPECT_NE(m.caption, "Add New Control Entries in XML Files?") << m.text;
        dialog.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        testsupport::PumpMessages(400);
        RECT window{};
        dialog.GetWindowRect(&window);
        const auto image = testsupport::CaptureScreen(window);
        image.SaveBmp(testsupport::OutputDir() + "main-dialog-texts.bmp");

        HBITMAP background = nullptr;
        ASSERT_TRUE(api.GetBitmap("main\\background.bmp", &background));
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, background);
        int uncovered = 0;
        for (size_t i = 0; i < dialog.labels.size(); ++i) {
            const SkinnedText& text = dialog.skinned[i];
            HWND label = dialog.labels[i]->m_hWnd;
            char className[32] = {};
            GetClassNameA(label, className, sizeof(className));
            EXPECT_STREQ(className, "QORSTATIC") << text.id;
            RECT placed{};
            GetWindowRect(label, &placed);
            MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&placed), 2);
            EXPECT_EQ(placed.left, text.x) << text.id;
            EXPECT_EQ(placed.top, text.y) << text.id;
            EXPECT_EQ(placed.right - placed.left, text.width) << text.id;
            EXPECT_EQ(placed.bottom - placed.top, text.height) << text.id;
            EXPECT_EQ(IsWindowVisible(label) != FALSE, text.visible) << text.id;
            // Where no other control covers the text's corners, the face must show through
            // at one of them at least (a text may reach into the others).
            if (!text.visible)
                continue;
            const POINT corners[4] = {{placed.left, placed.top},
                                      {placed.right - 1, placed.top},
                                      {placed.left, placed.bottom - 1},
                                      {placed.right - 1, placed.bottom - 1}};
            bool covered = false, faceShows = false;
            for (const POINT& corner : corners) {
                if (ChildWindowFromPointEx(dialog.m_hWnd, corner, CWP_SKIPINVISIBLE) != label)
                    covered = true;
                else if (image.Pixel(corner.x, corner.y) == GetPixel(memory, corner.x, corner.y))
                    faceShows = true;
            }
            if (covered)
                continue;
            ++uncovered;
            EXPECT_TRUE(faceShows) << "text " << text.id << " hides the face";
        }
        EXPECT_GT(uncovered, 5);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(background);
        dialog.DestroyWindow();
    }
    api.ShutdownCleanup();
}

TEST(RealSkin, MainDialogIsShapedAndPaintedFromTheSkin)
{
    enginetest::RecordingUi ui;
    enginetest::SkinFolder folder;
    for (const auto& entry : fs::directory_iterator(MAROVIN_SKIN_DIR))
        fs::copy(entry.path(), fs::path(folder.Path()) / entry.path().filename(), fs::copy_options::recursive);
    enginetest::AppKey app("RealSkinDialogTests", false);
    QorGraphicsEngineAPI api;
    ASSERT_TRUE(api.InitializeGraphicsEngine(app.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033));
    {
        MainDialogFace dialog;
        ASSERT_TRUE(dialog.Create(IDD_MAIN_DIALOG));
        EXPECT_TRUE(dialog.initialised);
        HBITMAP background = nullptr;
        ASSERT_TRUE(api.GetBitmap("main\\background.bmp", &background));
        BITMAP info{};
        GetObjectA(background, sizeof(info), &info);
        DeleteObject(background);
        RECT rect{};
        dialog.GetWindowRect(&rect);
        EXPECT_EQ(rect.right - rect.left, info.bmWidth);
        EXPECT_EQ(rect.bottom - rect.top, info.bmHeight);
        RECT client{};
        dialog.GetClientRect(&client);
        EXPECT_EQ(client.right, info.bmWidth) << "the template's caption and frame give way to the face";
        EXPECT_EQ(client.bottom, info.bmHeight);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(GetWindowRgn(dialog.m_hWnd, region), ERROR);
        EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the key-coloured corner is cut";
        EXPECT_TRUE(PtInRegion(region, info.bmWidth / 2, info.bmHeight / 2));
        DeleteObject(region);
        dialog.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        testsupport::PumpMessages(400);
        const auto image = testsupport::CaptureScreen(rect);
        EXPECT_TRUE(image.SaveBmp(testsupport::OutputDir() + "main-dialog.bmp"));
        EXPECT_GT(image.DistinctColours(), 20u);
        EXPECT_NE(image.Pixel(1, 1), RGB(255, 0, 0)) << "the transparent colour is never drawn";
        dialog.DestroyWindow();
    }
    api.ShutdownCleanup();
}
