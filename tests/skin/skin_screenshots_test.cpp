// Every dialog of the program as users see it: built from its template as a skinned dialog over
// the real skin, each control bound to the skinned class its skin element asks for, the texts
// the program fills in at run time put in from the generator's samples, and the screen under
// it saved for review as build/test-out/skin_screenshots_test/<DlgName>.bmp (the main window
// once per settings page).
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "../../app/resources/ControlIds.h"
#include "EQorButton.h"
#include "EQorDialog.h"
#include "EQorGenericControls.h"
#include "EQorSlider.h"
#include "EQorSkinnedControlSet.h"
#include "EngineTestSupport.h"
#include "QorGraphicsEngineAPI.h"
#include "QorXmlDom.h"
#include "SkinFileModel.h"
#include "TestSupport.h"
#include "VideoArea.h"

namespace sf = skelda::skinfile;

namespace {

struct Sample {
    int dialog = 0, control = 0, page = -1;
    std::string kind, text;
};

std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? std::string("\r\n") : std::string(1, text[i]);
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<Sample> ReadSamples()
{
    std::vector<Sample> samples;
    std::ifstream file(MAROVIN_DIALOG_SAMPLES);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        Sample s;
        size_t at = 0;
        std::string fields[5];
        for (int i = 0; i < 4; ++i) {
            const size_t tab = line.find('\t', at);
            if (tab == std::string::npos)
                break;
            fields[i] = line.substr(at, tab - at);
            at = tab + 1;
        }
        fields[4] = line.substr(at);
        s.dialog = std::atoi(fields[0].c_str());
        s.control = std::atoi(fields[1].c_str());
        s.page = std::atoi(fields[2].c_str());
        s.kind = fields[3];
        s.text = Unescape(fields[4]);
        samples.push_back(s);
    }
    return samples;
}

// A skinned dialog that binds every template control to the skinned class its element names.
class ShownDialog : public EQorDialog {
public:
    ShownDialog(int id, const std::string& name) : EQorDialog(static_cast<UINT>(id)), name_(name) {}

    bool initialised = false;
    EQorSkinnedControlSet controls;
    int skinned = 0;      // template controls that have a skin element
    int bound = 0;        // of those, bound to a skinned class
    shell::VideoArea videoArea;
    CBitmap idlePicture;

protected:
    BOOL OnInitDialog() override
    {
        EQorDialog::OnInitDialog();
        win::ComPtr<IXMLDOMDocument> document;
        win::ComPtr<IXMLDOMNode> dialog;
        if (QorGraphicsEngineAPI().GetGraphicsDocument(document.Put()))
            sf::FindDialogByName(document.Get(), name_, &dialog);
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const int id = static_cast<short>(::GetDlgCtrlID(child));
            win::ComPtr<IXMLDOMNode> element;
            if (id == -1 || !dialog || !sf::FindControlById(dialog.Get(), id, &element))
                continue;
            ++skinned;
            if (id == IDC_VIDEO_AREA && name_ == "MainDialog") {
                videoArea.SubclassDlgItem(static_cast<UINT>(id), this);
                continue;
            }
        }
        bound = controls.Bind(*this, name_);
        initialised = InitializeQorDialog(name_, SKIN_TRANSPARENT_COLOR);
        if (videoArea.m_hWnd)
            ShowIdlePicture(dialog.Get());
        return TRUE;
    }

private:
    // As the main window does: the idle picture (auxiliary bitmap 1) in the video area, which
    // lies over the video placement control.
    void ShowIdlePicture(IXMLDOMNode* dialog)
    {
        win::ComPtr<IXMLDOMNode> placement;
        int x = 0, y = 0, w = 0, h = 0;
        if (sf::FindControlById(dialog, IDC_VIDEO_PLACEMENT, &placement) &&
            sf::ReadInt(placement.Get(), "ControlXOffset", &x) && sf::ReadInt(placement.Get(), "ControlYOffset", &y) &&
            sf::ReadInt(placement.Get(), "ControlWidth", &w) && sf::ReadInt(placement.Get(), "ControlHeight", &h))
            videoArea.MoveWindow(x, y, w, h);
        idlePicture.Attach(LoadAuxBitmap(1, 0, 0));
        videoArea.SetIdlePicture(static_cast<HBITMAP>(idlePicture.GetSafeHandle()));
        videoArea.ShowIdlePicture(true);
    }

    std::string name_;
};

class SkinScreenshots : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        ui_ = new enginetest::RecordingUi;
        started_ = QorGraphicsEngineAPI().InitializeGraphicsEngine(
            "MarovinSkinScreenshots", "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033);
    }
    static void TearDownTestSuite()
    {
        QorGraphicsEngineAPI().ShutdownCleanup();
        delete ui_;
        ui_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(started_); }

    // The dialog's face: its size, and that of the window that shows it.
    static SIZE FaceSize(const std::string& name)
    {
        win::ComPtr<IXMLDOMDocument> document;
        win::ComPtr<IXMLDOMNode> dialog;
        std::string file;
        HBITMAP face = nullptr;
        SIZE size{0, 0};
        if (QorGraphicsEngineAPI().GetGraphicsDocument(document.Put()) &&
            sf::FindDialogByName(document.Get(), name, &dialog) && sf::ReadText(dialog.Get(), "DlgBitmapFile", &file) &&
            QorGraphicsEngineAPI().GetBitmap(file, &face)) {
            BITMAP info{};
            GetObjectA(face, sizeof(info), &info);
            size = {info.bmWidth, info.bmHeight};
            DeleteObject(face);
        }
        return size;
    }

    // Puts the run-time texts in and shows one settings page (main window only).
    static void Fill(ShownDialog& dialog, int dialogId, int page)
    {
        for (const Sample& s : ReadSamples()) {
            if (s.dialog != dialogId)
                continue;
            HWND control = dialog.GetDlgItem(s.control);
            if (!control)
                continue;
            if (s.page >= 0)
                ::ShowWindow(control, s.page == page ? SW_SHOW : SW_HIDE);
            if (s.text.empty())
                continue;
            if (s.kind == "combo") {
                if (::SendMessageA(control, CB_GETCOUNT, 0, 0) == 0)
                    ::SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.text.c_str()));
                ::SendMessageA(control, CB_SETCURSEL, 0, 0);
            } else {
                ::SetWindowTextA(control, s.text.c_str());
            }
        }
        for (int tab = IDC_TAB_CAPTURE; page >= 0 && tab <= IDC_TAB_COLOR; ++tab)
            if (auto* button = dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(dialog.GetDlgItem(tab))))
                button->SetState(tab == IDC_TAB_CAPTURE + page ? 1 : 0);
    }

    // Shows the dialog, checks that it is the skin's shaped face, and saves the screen under it,
    // once per settings page for the main window.
    static void Shoot(int dialogId, const std::string& name, int pages = 0)
    {
        SCOPED_TRACE(name);
        ShownDialog dialog(dialogId, name);
        ASSERT_TRUE(dialog.Create(static_cast<UINT>(dialogId)));
        EXPECT_TRUE(dialog.initialised);
        EXPECT_GT(dialog.skinned, 0);
        EXPECT_GT(dialog.bound, 0);
        if (name == "MainDialog") {
            // Each kind of element gets its skinned class: a button, a slider, a generic wrapper.
            EXPECT_NE(dynamic_cast<EQorButton*>(CWnd::FromHandlePermanent(dialog.GetDlgItem(IDC_RECORD))), nullptr);
            EXPECT_NE(dynamic_cast<EQorSlider*>(CWnd::FromHandlePermanent(dialog.GetDlgItem(IDC_VOLUME_SLIDER))),
                      nullptr);
            EXPECT_NE(dynamic_cast<EQorComboBoxGeneric*>(CWnd::FromHandlePermanent(dialog.GetDlgItem(IDC_INPUT_LIST))),
                      nullptr);
        }
        const SIZE face = FaceSize(name);
        RECT rect{};
        dialog.GetWindowRect(&rect);
        EXPECT_EQ(face.cx, rect.right - rect.left);
        EXPECT_EQ(face.cy, rect.bottom - rect.top);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(ERROR, GetWindowRgn(dialog.m_hWnd, region)) << "the window is not cut to the face";
        EXPECT_FALSE(PtInRegion(region, 0, 0));
        DeleteObject(region);
        dialog.SetWindowPos(HWND_TOPMOST, 16, 16, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
        dialog.GetWindowRect(&rect);
        for (int page = 0; page < std::max(pages, 1); ++page) {
            Fill(dialog, dialogId, pages ? page : -1);
            dialog.RedrawDlgWindow();
            testsupport::PumpMessages(400);
            const testsupport::ScreenImage image = testsupport::CaptureScreen(rect);
            const std::string file = pages ? name + "_page" + std::to_string(page) : name;
            EXPECT_TRUE(image.SaveBmp(testsupport::OutputDir() + file + ".bmp"));
            EXPECT_GT(image.DistinctColours(), 40u) << "the face was not painted";
            // The key colour is cut away, never shown.
            for (int y = 0; y < image.height; y += 3)
                for (int x = 0; x < image.width; x += 3)
                    ASSERT_NE(RGB(255, 0, 0), image.Pixel(x, y)) << file << " " << x << "," << y;
        }
        dialog.DestroyWindow();
    }

    static enginetest::RecordingUi* ui_;
    static bool started_;
};

enginetest::RecordingUi* SkinScreenshots::ui_ = nullptr;
bool SkinScreenshots::started_ = false;

TEST_F(SkinScreenshots, MainWindowOnEachSettingsPage)
{
    Shoot(IDD_MAIN_DIALOG, "MainDialog", 4);
}

TEST_F(SkinScreenshots, EachCompanionDialog)
{
    const struct {
        int id;
        const char* name;
    } dialogs[] = {
        {IDD_ABOUT, "AboutDialog"},          {IDD_DETECT_SOURCE, "DetectSrcDialog"},
        {IDD_FRAME_DROP_WARN, "FrameDropWarnDlg"}, {IDD_SAVE_BITMAP, "SaveBmpDialog"},
        {IDD_SAP_CONFIG, "SAPDialog"},       {IDD_PREVIEW_WAIT_RECON, "PreviewWaitRecon"},
        {IDD_TIMED_PROMPT, "TimedPromptDialog"}, {IDD_CONFIG_RC, "ConfigRCDialog"},
        {IDD_UPDATE, "UpdateDlg"},           {IDD_UPDATE_ON_START, "UpdateOnStart"},
        {IDD_CUSTOM_TEMPLATE, "TemplateDialog"},
    };
    for (const auto& d : dialogs)
        Shoot(d.id, d.name);
}

}  // namespace
