// The capture engine on the virtual card: the live picture in the video area, recordings made
// from a running preview for both layouts and both tee kinds, and the preview running on
// between them. The probe script checks the recorded files afterwards.
#include "CaptureCardFixture.h"

#include <cstdio>

namespace capturetest {
namespace {

// Pixels of the placed preview rectangle that differ between two screen images.
int ChangedPixels(const testsupport::ScreenImage& a, const testsupport::ScreenImage& b, const RECT& r)
{
    int changed = 0;
    for (int y = r.top; y < r.bottom && y < a.height; ++y)
        for (int x = r.left; x < r.right && x < a.width; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y))
                ++changed;
    return changed;
}

struct Quality {
    const char* name;
    int capture, qualityMpeg1, qualityMpeg2, tee;
    const char* vcodec;
    int width, height;
};

class CaptureQualities : public CaptureCard, public ::testing::WithParamInterface<Quality> {};

TEST_P(CaptureQualities, PreviewShowsTheCardAndRecordsTwoClipsWhileItRuns)
{
    const Quality& q = GetParam();
    settings_.capture = q.capture;
    settings_.qualityMpeg1 = q.qualityMpeg1;
    settings_.qualityMpeg2 = q.qualityMpeg2;
    settings_.tee = q.tee;
    UseCard(1);
    ASSERT_TRUE(StartPreview()) << "errors: " << host_.errors.size() << (host_.errors.empty() ? 0 : host_.errors[0]);
    EXPECT_EQ(graph_->State(), capture::CaptureGraph::kRunning);
    EXPECT_FALSE(graph_->Recording());
    const RECT expected = capture::PreviewRectangle(q.width, q.height);
    EXPECT_TRUE(EqualRect(&host_.placed, &expected));
    Run(1500);
    EXPECT_GT(PicturesShown(), 0);

    const testsupport::ScreenImage first = AreaImage();
    Run(1000);
    const testsupport::ScreenImage second = AreaImage();
    first.SaveBmp(OutputFile(std::string(q.name) + "-preview-a.bmp"));
    second.SaveBmp(OutputFile(std::string(q.name) + "-preview-b.bmp"));
    EXPECT_GT(ChangedPixels(first, second, host_.placed), 200) << "the picture moves (its frame counter and box)";
    EXPECT_GT(first.DistinctColours(), 50u) << "a picture, not a blank";

    RecordClip(std::string(q.name) + "-clip1.mpg", 3000, q.vcodec, q.width, q.height);
    const long between = PicturesShown();
    Run(1000);
    EXPECT_GT(PicturesShown(), between) << "the preview runs on between recordings";
    RecordClip(std::string(q.name) + "-clip2.mpg", 2000, q.vcodec, q.width, q.height);
    EXPECT_TRUE(graph_->ReleaseCaptureGraph(false));
    EXPECT_TRUE(host_.errors.empty()) << host_.errors[0];
    EXPECT_TRUE(host_.failures.empty());
    EXPECT_GT(host_.progressEvents, 0) << "the written size reached the window";
}

INSTANTIATE_TEST_SUITE_P(Layouts, CaptureQualities,
                         ::testing::Values(Quality{"dvd-infinite", 2, 0, 1, 1, "mpeg2video", 720, 576},
                                           Quality{"dvd-smart", 2, 0, 1, 0, "mpeg2video", 720, 576},
                                           Quality{"mpeg1-infinite", 1, 2, 1, 1, "mpeg1video", 352, 288},
                                           Quality{"mpeg1-smart", 1, 2, 1, 0, "mpeg1video", 352, 288}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n)
                                 if (c == '-')
                                     c = '_';
                             return n;
                         });

}  // namespace
}  // namespace capturetest
