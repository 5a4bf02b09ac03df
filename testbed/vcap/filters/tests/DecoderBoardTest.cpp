// The decoder as the standard-detection code meets it: standards not detected yet, boards that
// offer fewer standards than the chip knows, an audio switch that cannot follow the video, and
// the count of lock reads the tests use to see how hard software polls.
#include "CardControl.h"
#include "CardTestSupport.h"
#include "CrossbarModel.h"
#include "DecoderModel.h"

#include "win/ComPtr.h"

#include <gtest/gtest.h>

using win::ComPtr;
using vcap::CardRecord;
using vcap::DecoderModel;
using vcap::FilterRole;

namespace {

class DecoderBoardTest : public cardtest::CardTest {
protected:
    void BindCard()
    {
        Install(1);
        const CardRecord card = Install(2);
        ComPtr<IBaseFilter> xf = Bind(card, FilterRole::Crossbar);
        capture_ = Bind(card, FilterRole::Capture);
        ASSERT_TRUE(xf && capture_);
        ASSERT_EQ(xf.As(xbar_), S_OK);
        ASSERT_EQ(capture_->QueryInterface(IID_IAMAnalogVideoDecoder, dec_.PutVoid()), S_OK);
    }
    ComPtr<IBaseFilter> capture_;
    ComPtr<IAMCrossbar> xbar_;
    ComPtr<IAMAnalogVideoDecoder> dec_;
};

}  // namespace

TEST(DecoderModelTest, AnUndetectedStandardLocksButIsNotReported)
{
    DecoderModel m;
    ASSERT_TRUE(m.setFormat(0, 1000));
    EXPECT_FALSE(m.locked(1200, true, 0)) << "settling";
    EXPECT_TRUE(m.locked(1300, true, 0));
    EXPECT_EQ(m.format(1300, true, 0), 0) << "locked, colour system unknown";
    EXPECT_EQ(m.lines(1300, true, 0), 0);
    ASSERT_TRUE(m.setFormat(0x1, 2000));
    EXPECT_TRUE(m.locked(2300, true, 0)) << "a fixed standard of either family locks";
    ASSERT_TRUE(m.setFormat(0x10, 3000));
    EXPECT_TRUE(m.locked(3300, true, 0));
    EXPECT_FALSE(m.locked(3300, false, 0)) << "never without a signal";
}

TEST(DecoderModelTest, TheBoardLimitsTheStandardsOnOffer)
{
    DecoderModel m;
    EXPECT_EQ(m.available(), vcap::kSupportedStandards);
    m.setAvailable(0x1 | 0x10 | 0x40000000);
    EXPECT_EQ(m.available(), 0x11) << "bits the chip does not know are dropped";
    EXPECT_TRUE(m.setFormat(0x10, 0));
    EXPECT_FALSE(m.setFormat(0x1000, 0)) << "SECAM B is not wired on this board";
    EXPECT_EQ(m.format(500, true, 0x10), 0x10) << "a refused standard changes nothing";
    EXPECT_TRUE(m.setFormat(0, 0)) << "detection is always possible";
    EXPECT_FALSE(m.setFormat(0x11, 0)) << "one standard at a time";
}

TEST_F(DecoderBoardTest, FilterOffersTheBoardsStandardsAndCountsLockReads)
{
    BindCard();
    long formats = 0;
    ASSERT_EQ(dec_->get_AvailableTVFormats(&formats), S_OK);
    EXPECT_EQ(formats, vcap::kSupportedStandards);
    ASSERT_TRUE(vcap::SetAvailableStandards(2, 0x1 | 0x2 | 0x10));
    ASSERT_EQ(dec_->get_AvailableTVFormats(&formats), S_OK);
    EXPECT_EQ(formats, 0x13);
    EXPECT_EQ(dec_->put_TVFormat(0x20), E_INVALIDARG);
    EXPECT_EQ(dec_->put_TVFormat(0x2), S_OK);

    ASSERT_TRUE(vcap::ResetLockReads(2));
    long locked = 0;
    for (int i = 0; i < 7; ++i)
        ASSERT_EQ(dec_->get_HorizontalLocked(&locked), S_OK);
    EXPECT_EQ(dec_->get_HorizontalLocked(nullptr), E_POINTER);
    EXPECT_EQ(vcap::ReadLockReads(2), 7u) << "every answered read counts, nothing else";
    EXPECT_EQ(vcap::ReadLockReads(1), 0u) << "the other card was not asked";
}

TEST_F(DecoderBoardTest, AnInputWithoutADetectedStandardLocksAndReportsZero)
{
    BindCard();
    const long composite = vcap::kDefaultVideoInput;
    ASSERT_TRUE(vcap::SetInputStandard(2, composite, 0));
    ASSERT_EQ(xbar_->Route(vcap::kVideoOutput, composite), S_OK);
    ASSERT_EQ(dec_->put_TVFormat(0), S_OK);
    long locked = 0;
    for (int i = 0; i < 12 && !locked; ++i) {
        Sleep(80);
        dec_->get_HorizontalLocked(&locked);
    }
    EXPECT_EQ(locked, OATRUE);
    long format = -1;
    ASSERT_EQ(dec_->get_TVFormat(&format), S_OK);
    EXPECT_EQ(format, 0);
}

TEST_F(DecoderBoardTest, FixedAudioStaysWhenTheVideoMoves)
{
    BindCard();
    ASSERT_TRUE(vcap::SetFixedAudio(2, true));
    long audio = -1, video = -1;
    ASSERT_EQ(xbar_->get_IsRoutedTo(vcap::kAudioOutput, &audio), S_OK);
    ASSERT_EQ(xbar_->Route(vcap::kVideoOutput, 2), S_OK);
    ASSERT_EQ(xbar_->get_IsRoutedTo(vcap::kVideoOutput, &video), S_OK);
    EXPECT_EQ(video, 2);
    long after = -1;
    ASSERT_EQ(xbar_->get_IsRoutedTo(vcap::kAudioOutput, &after), S_OK);
    EXPECT_EQ(after, audio) << "the sound did not follow";
    EXPECT_TRUE(FAILED(xbar_->Route(vcap::kAudioOutput, vcap::CrossbarInput(2).related)));
    EXPECT_EQ(xbar_->Route(vcap::kAudioOutput, audio), S_OK) << "what it already carries";

    ASSERT_TRUE(vcap::SetFixedAudio(2, false));
    ASSERT_EQ(xbar_->Route(vcap::kVideoOutput, 4), S_OK);
    ASSERT_EQ(xbar_->get_IsRoutedTo(vcap::kAudioOutput, &after), S_OK);
    EXPECT_EQ(after, vcap::CrossbarInput(4).related);
}
