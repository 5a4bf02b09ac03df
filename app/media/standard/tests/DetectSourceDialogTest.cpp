// The source-detection dialog on the test display, skinned from the program's own skin, over a
// virtual card whose preview runs: it finds the one live input among dead ones and leaves the
// device on the input the window shows; closed in the middle of a probe it returns at once,
// and the worker it leaves is gone within the teardown's bound.
#include "CDetectSrcDlg.h"
#include "CardControl.h"
#include "CardPreview.h"
#include "QorGraphicsEngineAPI.h"
#include "SourceDetection.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace standardtest;
using media::SourceDetection;

namespace {

constexpr long kComposite1 = 1, kSVideo2 = 4, kComponent = 6;

// What the test does while the dialog runs its own modal loop: thread timers reach it there.
struct DuringDialog {
    CDetectSrcDlg* dialog = nullptr;
    DWORD cancelAfterMs = 0;
    DWORD shotAfterMs = 0;
    std::string shotPath;
    DWORD opened = 0;
    DWORD cancelled = 0;
    bool shot = false;
};
DuringDialog* g_during = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
{
    DuringDialog& d = *g_during;
    const HWND window = d.dialog ? d.dialog->GetSafeHwnd() : nullptr;
    if (!window || !IsWindowVisible(window))
        return;
    if (!d.opened)
        d.opened = GetTickCount();
    const DWORD shown = GetTickCount() - d.opened;
    if (!d.shot && d.shotAfterMs && shown >= d.shotAfterMs) {
        RECT r{};
        GetWindowRect(window, &r);
        d.shot = testsupport::CaptureScreen(r).SaveBmp(d.shotPath);
    }
    if (!d.cancelled && d.cancelAfterMs && shown >= d.cancelAfterMs) {
        d.cancelled = GetTickCount();
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
}

class DetectDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(testsupport::RegisterTestBedFilters());
        started_ = engine_.InitializeGraphicsEngine("MarovinDetectTest",
                                                    "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033);
    }
    static void TearDownTestSuite()
    {
        if (started_)
            engine_.ShutdownCleanup();
    }
    void SetUp() override
    {
        ASSERT_TRUE(started_) << "the skin engine did not start over the program's skin";
        preview_ = std::make_unique<CardPreview>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::string error;
        ASSERT_TRUE(preview_->Start(&error)) << error;
    }
    void TearDown() override
    {
        EXPECT_TRUE(SourceDetection::Instance().WaitForWorkers(media::kTeardownWaitMs));
        preview_.reset();
    }

    // Runs the dialog modally with `during` acting on it; returns DoModal's answer.
    INT_PTR Run(CDetectSrcDlg& dialog, DuringDialog& during)
    {
        during.dialog = &dialog;
        g_during = &during;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
        const INT_PTR answer = dialog.DoModal();
        KillTimer(nullptr, timer);
        g_during = nullptr;
        return answer;
    }

    static QorGraphicsEngineAPI engine_;
    static bool started_;
    std::unique_ptr<CardPreview> preview_;
};

QorGraphicsEngineAPI DetectDialog::engine_;
bool DetectDialog::started_ = false;

}  // namespace

TEST_F(DetectDialog, FindsTheOneLiveInputAndLeavesTheWindowsSourceRouted)
{
    OnlyLive(kSVideo2);
    int result = 0;
    CDetectSrcDlg dialog(preview_->engine, {0, 1, 2, 4, 3, 5}, &result, true);
    DuringDialog during;
    during.shotAfterMs = 500;
    during.shotPath = testsupport::OutputDir() + "detect-source.bmp";
    const DWORD start = GetTickCount();
    EXPECT_EQ(Run(dialog, during), IDOK) << "auto close once the search is over";
    std::printf("search past two dead inputs found S-Video 2 in %lu ms\n", GetTickCount() - start);
    EXPECT_EQ(result, 4);
    EXPECT_TRUE(during.shot) << "the dialog was shown while it searched";
    long video = -1, audio = -1;
    preview_->Route(&video, &audio);
    EXPECT_EQ(video, kComposite1) << "the crossbar routes the source the window shows";
    EXPECT_EQ(preview_->engine->CurrentSource(), 1);
    EXPECT_EQ(preview_->State(), State_Running);
}

TEST_F(DetectDialog, ASecondOpeningNeverReadsThePreviousAnswer)
{
    OnlyLive(kSVideo2);
    int first = 0;
    {
        CDetectSrcDlg dialog(preview_->engine, {4}, &first, true);
        DuringDialog during;
        ASSERT_EQ(Run(dialog, during), IDOK);
    }
    ASSERT_EQ(first, 4);
    vcap::SetSignal(1, false);
    int second = 0;
    CDetectSrcDlg dialog(preview_->engine, {4, 1}, &second, true);
    DuringDialog during;
    EXPECT_EQ(Run(dialog, during), IDOK);
    EXPECT_EQ(second, media::kNothingFound) << "the new search's own answer, not the last one";
}

TEST_F(DetectDialog, ClosingInTheMiddleOfAProbeReturnsAtOnce)
{
    OnlyLive(kComponent);
    int result = 0;
    CDetectSrcDlg dialog(preview_->engine, {0, 2, 4, 5}, &result, true);
    DuringDialog during;
    during.cancelAfterMs = 300;
    EXPECT_EQ(Run(dialog, during), IDCANCEL);
    const DWORD closed = GetTickCount();
    ASSERT_NE(during.cancelled, 0u);
    std::printf("dialog closed %lu ms after Cancel\n", closed - during.cancelled);
    EXPECT_EQ(result, media::kNothingFound);
    EXPECT_EQ(SourceDetection::Instance().RunningWorkers(), 1) << "the dialog did not wait for the probe";

    // The program exits a second later: its teardown waits for the finishing worker.
    EXPECT_TRUE(preview_->engine->Detach(media::kTeardownWaitMs));
    EXPECT_TRUE(SourceDetection::Instance().WaitForWorkers(media::kTeardownWaitMs));
    std::printf("worker gone %lu ms after the dialog closed\n", GetTickCount() - closed);
    EXPECT_EQ(SourceDetection::Instance().RunningWorkers(), 0);
    long video = -1, audio = -1;
    preview_->Route(&video, &audio);
    EXPECT_EQ(video, kComposite1);
    EXPECT_EQ(preview_->State(), State_Running);
}

TEST_F(DetectDialog, ASlotHoldingSearchingOpensWithoutAWorker)
{
    int result = media::kSearching;
    CDetectSrcDlg dialog(preview_->engine, {0, 2}, &result, true);
    DuringDialog during;
    during.cancelAfterMs = 200;
    EXPECT_EQ(Run(dialog, during), IDCANCEL);
    EXPECT_EQ(SourceDetection::Instance().RunningWorkers(), 0);
    EXPECT_EQ(result, media::kNothingFound);
}
