// The codec-API device's paths: bit rates through the codec-API identifiers on a stand-in
// stream filter, the audio rate through the card's capture filter's stream configuration,
// the standard from its analog decoder, and the fixed fallbacks.
#include "EncoderCardFixture.h"
#include "EncoderDevice.h"

#include "CardControl.h"

#include <map>
#include <vector>

using namespace encoder;

namespace {

// A stream filter that answers the codec-API identifiers as property sets (property 0,
// 4 bytes) and remembers what was set, in order.
class FakeCodecApiStream : public IKsPropertySet {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IKsPropertySet) {
            *out = static_cast<IKsPropertySet*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP Set(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size) override
    {
        if (id != 0 || size != 4 || !Known(set))
            return E_PROP_SET_UNSUPPORTED;
        uint32_t v = *static_cast<uint32_t*>(data);
        sent[set] = v;
        // The encoder keeps its peak at least 10 % above the rate it was given.
        if (set == kEncApiPeakBitRate && v < values[kEncApiBitRate] * 11 / 10)
            v = values[kEncApiBitRate] * 11 / 10;
        values[set] = v;
        sets.push_back(set);
        return S_OK;
    }
    STDMETHODIMP Get(REFGUID set, DWORD id, void*, DWORD, void* data, DWORD size, DWORD* returned) override
    {
        if (id != 0 || size < 4 || !Known(set))
            return E_PROP_SET_UNSUPPORTED;
        *static_cast<uint32_t*>(data) = values[set];
        *returned = 4;
        return S_OK;
    }
    STDMETHODIMP QuerySupported(REFGUID set, DWORD, DWORD* support) override
    {
        *support = Known(set) ? KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET : 0;
        return Known(set) ? S_OK : E_PROP_SET_UNSUPPORTED;
    }

    static bool Known(REFGUID set) { return set == kEncApiBitRateMode || set == kEncApiBitRate || set == kEncApiPeakBitRate; }
    struct Less {
        bool operator()(const GUID& a, const GUID& b) const { return memcmp(&a, &b, sizeof a) < 0; }
    };
    std::map<GUID, uint32_t, Less> values;
    std::map<GUID, uint32_t, Less> sent;
    std::vector<GUID> sets;
    ULONG refs = 1;
};

class CodecApiDeviceTest : public EncoderCardTest {
protected:
    void SetUp() override
    {
        EncoderCardTest::SetUp();
        card_ = Install(1, 1);
        capture_ = Capture(card_);
        ASSERT_TRUE(capture_);
        stream_.values[kEncApiBitRateMode] = 1;
        stream_.values[kEncApiBitRate] = 4000000;
        stream_.values[kEncApiPeakBitRate] = 6000000;
        device_.Attach(capture_.Get(), kDeviceTypeCodecApi);
        device_.SetStreamFilterSource([this](win::ComPtr<IUnknown>& stream) {
            ++chainsAdded_;
            stream = win::ComPtr<IUnknown>::Share(static_cast<IKsPropertySet*>(&stream_));
            return S_OK;
        });
    }
    void TearDown() override
    {
        device_.Detach();
        capture_.Reset();
        EncoderCardTest::TearDown();
    }

    vcap::CardRecord card_;
    win::ComPtr<IBaseFilter> capture_;
    FakeCodecApiStream stream_;
    EncoderDevice device_;
    int chainsAdded_ = 0;
};

}  // namespace

TEST_F(CodecApiDeviceTest, ReadsRatesThroughTheCodecApiAndTheAudioRateFromTheCaptureFilter)
{
    ASSERT_TRUE(SUCCEEDED(encoder::SetCaptureAudioRate(capture_.Get(), 44100)));
    EncoderParams p;
    ASSERT_EQ(device_.GetEncoderParams(p), S_OK);
    EXPECT_EQ(chainsAdded_, 1) << "the device chain is made present first";
    EXPECT_EQ(p.bVBR, 1u);
    EXPECT_EQ(p.BitRate, 4000000u);
    EXPECT_EQ(p.dwPeakBitRate, 6000000u);
    EXPECT_EQ(p.HorzResolution, 720u);
    EXPECT_EQ(p.VertResolution, 480u);
    EXPECT_EQ(p.ulAudioMpegBitRate, 224u);
    EXPECT_EQ(p.AudioType, 0u);
    EXPECT_EQ(p.ulAudSamplingFreq, 44100u);
    stream_.values[kEncApiBitRateMode] = 0;
    ASSERT_EQ(device_.GetEncoderParams(p), S_OK);
    EXPECT_EQ(p.bVBR, 0u);
}

TEST_F(CodecApiDeviceTest, WritesRatesWithAPeakAboveTheRateAndKeepsWhatTheEncoderAnswers)
{
    struct Case {
        uint32_t rate, peak, vbr;
        uint32_t sentPeak, keptPeak;
    };
    const Case cases[] = {
        {5000000, 5000000, 1, 5400000, 5500000},  // not above: rate + 400000, then the encoder's own
        {5000000, 3000000, 0, 5400000, 5500000},
        {3000000, 6000000, 1, 6000000, 6000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rate << "/" << c.peak);
        stream_.sets.clear();
        EncoderParams p;
        p.BitRate = c.rate;
        p.dwPeakBitRate = c.peak;
        p.bVBR = c.vbr;
        p.ulAudSamplingFreq = 32000;
        ASSERT_EQ(device_.SetEncoderParams(p), S_OK);
        EXPECT_EQ(stream_.values[kEncApiBitRate], c.rate);
        EXPECT_EQ(stream_.values[kEncApiBitRateMode], c.vbr);
        ASSERT_FALSE(stream_.sets.empty());
        EXPECT_TRUE(stream_.sets.back() == kEncApiPeakBitRate) << "the peak goes after the rate";
        EXPECT_EQ(device_.CurrentParams().dwPeakBitRate, c.keptPeak);
        EXPECT_EQ(stream_.sent[kEncApiPeakBitRate], c.sentPeak);
        uint32_t rate = 0;
        ASSERT_EQ(encoder::GetCaptureAudioRate(capture_.Get(), rate), S_OK);
        EXPECT_EQ(rate, 32000u) << "the sampling rate went into the capture filter's audio format";
    }
}

TEST_F(CodecApiDeviceTest, ModeIsMpeg2AndTheStandardComesFromTheDecoder)
{
    ModeAndStandard pair;
    pair.mode = kModeVcd;
    ASSERT_EQ(device_.GetModeAndStandard(pair), S_OK);
    EXPECT_EQ(pair.mode, kModeMpeg2);
    EXPECT_EQ(pair.standard, kStandard625);

    ASSERT_TRUE(vcap::SetInputStandard(1, AnalogVideo_NTSC_M));
    win::ComPtr<IAMAnalogVideoDecoder> decoder;
    ASSERT_EQ(capture_.As(IID_IAMAnalogVideoDecoder, decoder), S_OK);
    ASSERT_EQ(decoder->put_TVFormat(0), S_OK);  // detect again
    long locked = OAFALSE;
    for (int i = 0; i < 50 && locked != OATRUE; ++i) {
        Sleep(40);
        decoder->get_HorizontalLocked(&locked);
    }
    ASSERT_EQ(locked, OATRUE);
    ASSERT_EQ(device_.GetModeAndStandard(pair), S_OK);
    EXPECT_EQ(pair.standard, kStandard525);

    ModeAndStandard applied{kModeVcd, kStandard625};
    EncoderParams p;
    p.BitRate = 4000000;
    p.dwPeakBitRate = 6000000;
    p.ulAudSamplingFreq = 48000;
    EXPECT_EQ(device_.ApplyEncoderParams(applied, p), 0);
    EXPECT_EQ(applied.mode, kModeMpeg2);
    EXPECT_EQ(applied.standard, kStandard525);
}

TEST_F(CodecApiDeviceTest, FixedValuesWhenTheStreamFilterHasNoPropertyInterface)
{
    std::vector<std::string> reported;
    device_.SetStreamFilterSource([](win::ComPtr<IUnknown>& stream) {
        stream.Reset();
        return E_FAIL;
    });
    device_.SetErrorReporter([&](const char* text) { reported.emplace_back(text); });
    EncoderParams p;
    device_.GetEncoderParams(p);
    EXPECT_EQ(p.bVBR, 0u);
    EXPECT_EQ(p.BitRate, 5000000u);
    EXPECT_EQ(p.dwPeakBitRate, 5500000u);
    uint32_t minimum = 0, maximum = 0, average = 0, peak = 0;
    ASSERT_EQ(device_.GetBitRateRange(minimum, maximum), S_OK);
    EXPECT_EQ(minimum, 2000000u);
    EXPECT_EQ(maximum, 9000000u);
    ASSERT_EQ(device_.GetBitRateLimits(average, peak), S_OK);
    EXPECT_EQ(average, 6000000u);
    EXPECT_EQ(peak, 9100000u);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "|Coudn't get IKsPropertySet on the encoder filter");
    EXPECT_EQ(device_.SetEncoderParams(p), E_FAIL);
}
