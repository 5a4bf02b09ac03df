// The tuner and TV audio notification callbacks: registered through IAMTuner and IAMTVAudio,
// called once for each settled change of the card's front end, whichever filter made it.
#include "CardInstaller.h"
#include "CardTestSupport.h"
#include "KsPinInterfaces.h"
#include "TunerState.h"

#include <win/ComPtr.h>

#include <gtest/gtest.h>

using win::ComPtr;
using vcap::CardRecord;
using vcap::FilterRole;

namespace {

// Counts the events and, for each, whether the tuner was still busy when it came.
class CountingCallback : public IAMTunerNotification {
public:
    explicit CountingCallback(IKsPropertySet* tunerProperties = nullptr) : ks_(tunerProperties) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IAMTunerNotification) {
            *out = static_cast<IAMTunerNotification*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }
    STDMETHODIMP OnEvent(AMTunerEventType event) override
    {
        if (event != AMTUNER_EVENT_CHANGED)
            InterlockedIncrement(&wrong_);
        if (ks_) {
            KSPROPERTY_TUNER_STATUS_S status{};
            DWORD returned = 0;
            if (FAILED(ks_->Get(vcap::kPropSetTuner, KSPROPERTY_TUNER_STATUS, &status.Property + 1,
                                sizeof status - sizeof(KSPROPERTY), &status, sizeof status, &returned)) ||
                status.Busy)
                InterlockedIncrement(&busy_);
        }
        InterlockedIncrement(&events_);
        return S_OK;
    }

    long Events() const { return events_; }
    long Busy() const { return busy_; }
    long Wrong() const { return wrong_; }
    long Refs() const { return refs_; }
    // Waits until `count` events have come (or `limitMs` passes), then a little longer so
    // that an extra event would be seen too. A tune settles in 120 ms and is seen within
    // 40 ms more, so a short limit is enough where no event must come.
    long WaitFor(long count, DWORD limitMs = 3000) const
    {
        for (DWORD waited = 0; waited < limitMs && events_ < count; waited += 20)
            Sleep(20);
        Sleep(300);
        return events_;
    }

private:
    IKsPropertySet* ks_;
    volatile long refs_ = 1;
    volatile long events_ = 0;
    volatile long busy_ = 0;
    volatile long wrong_ = 0;
};

class TunerNotificationTest : public cardtest::CardTest {
protected:
    template <class T>
    static ComPtr<T> Bind(const CardRecord& card, FilterRole role, REFIID iid)
    {
        ComPtr<IBaseFilter> f = CardTest::Bind(card, role);
        ComPtr<T> out;
        if (f)
            f->QueryInterface(iid, out.PutVoid());
        return out;
    }
};

}  // namespace

TEST_F(TunerNotificationTest, RegistrationRefusesWhatATunerCannotReport)
{
    const CardRecord card = Install(1);
    ComPtr<IAMTVTuner> tuner = Bind<IAMTVTuner>(card, FilterRole::Tuner, IID_IAMTVTuner);
    ComPtr<IAMTVAudio> audio = Bind<IAMTVAudio>(card, FilterRole::TvAudio, IID_IAMTVAudio);
    ASSERT_TRUE(tuner && audio);
    CountingCallback cb;
    EXPECT_EQ(tuner->RegisterNotificationCallBack(nullptr, AMTUNER_EVENT_CHANGED), E_POINTER);
    EXPECT_EQ(tuner->RegisterNotificationCallBack(&cb, 0), E_INVALIDARG);
    EXPECT_EQ(tuner->RegisterNotificationCallBack(&cb, AMTUNER_EVENT_CHANGED | 0x100), E_INVALIDARG);
    EXPECT_EQ(tuner->UnRegisterNotificationCallBack(&cb), E_INVALIDARG) << "never registered";
    EXPECT_EQ(audio->RegisterNotificationCallBack(&cb, 2), E_INVALIDARG);
    EXPECT_EQ(cb.Refs(), 1) << "a refused registration keeps no reference";

    ASSERT_EQ(tuner->RegisterNotificationCallBack(&cb, AMTUNER_EVENT_CHANGED), S_OK);
    ASSERT_EQ(tuner->RegisterNotificationCallBack(&cb, AMTUNER_EVENT_CHANGED), S_OK) << "again: one registration";
    EXPECT_EQ(cb.Refs(), 2);
    ASSERT_EQ(audio->RegisterNotificationCallBack(&cb, AMTUNER_EVENT_CHANGED), S_OK);
    EXPECT_EQ(cb.Refs(), 3);
    // Filters released with callbacks still registered let go of them.
    tuner.Reset();
    audio.Reset();
    EXPECT_EQ(cb.Refs(), 1);
    EXPECT_EQ(cb.Events(), 0) << "nothing changed";
}

TEST_F(TunerNotificationTest, EveryChangeIsReportedOnceTheTunerHasSettled)
{
    const CardRecord card = Install(1);
    ComPtr<IBaseFilter> listening = CardTest::Bind(card, FilterRole::Tuner);
    ASSERT_TRUE(listening);
    ComPtr<IAMTVTuner> tuner;
    ComPtr<IKsPropertySet> ks;
    ASSERT_EQ(listening->QueryInterface(IID_IAMTVTuner, tuner.PutVoid()), S_OK);
    ASSERT_EQ(listening.As(ks), S_OK);
    // Another tuner filter of the same card makes the changes, as another program part would.
    ComPtr<IAMTVTuner> other = Bind<IAMTVTuner>(card, FilterRole::Tuner, IID_IAMTVTuner);
    ASSERT_TRUE(other);
    ASSERT_EQ(other->put_CountryCode(1), S_OK);
    Sleep(vcap::kTunerSettleMs + 50);

    CountingCallback cb(ks.Get());
    ASSERT_EQ(tuner->RegisterNotificationCallBack(&cb, AMTUNER_EVENT_CHANGED), S_OK);
    ASSERT_EQ(other->put_Channel(7, -1, -1), S_OK);
    EXPECT_EQ(cb.WaitFor(1), 1) << "one tune, one report";
    ASSERT_EQ(other->put_Channel(7, -1, -1), S_OK);
    EXPECT_EQ(cb.WaitFor(2, 500), 1) << "the same channel again changes nothing";
    ASSERT_EQ(other->put_Mode(AMTUNER_MODE_TV), S_OK);
    EXPECT_EQ(cb.WaitFor(2, 500), 1) << "nor does the mode it is already in";
    ASSERT_EQ(other->put_CountryCode(49), S_OK);
    EXPECT_EQ(cb.WaitFor(2), 2) << "a new country retunes";
    ASSERT_EQ(other->put_InputType(0, TunerInputAntenna), S_OK);
    EXPECT_EQ(cb.WaitFor(3), 3);
    EXPECT_EQ(cb.Busy(), 0) << "reported only once the PLL has settled";
    EXPECT_EQ(cb.Wrong(), 0);

    ASSERT_EQ(tuner->UnRegisterNotificationCallBack(&cb), S_OK);
    EXPECT_EQ(cb.Refs(), 1);
    ASSERT_EQ(other->put_Channel(9, -1, -1), S_OK);
    EXPECT_EQ(cb.WaitFor(4, 500), 3) << "unregistered: silent";
}

TEST_F(TunerNotificationTest, TvAudioReportsItsModeAndWhatTheBroadcastOffers)
{
    const CardRecord card = Install(1);
    ComPtr<IAMTVAudio> audio = Bind<IAMTVAudio>(card, FilterRole::TvAudio, IID_IAMTVAudio);
    ComPtr<IAMTVTuner> tuner = Bind<IAMTVTuner>(card, FilterRole::Tuner, IID_IAMTVTuner);
    ASSERT_TRUE(audio && tuner);
    ASSERT_EQ(tuner->put_CountryCode(1), S_OK);
    ASSERT_TRUE(vcap::SetStation(1, 5, true));
    ASSERT_TRUE(vcap::SetStation(1, 7, true));
    ASSERT_TRUE(vcap::SetStation(1, 6, false));
    ASSERT_EQ(tuner->put_Channel(5, -1, -1), S_OK);
    Sleep(vcap::kTunerSettleMs + 50);

    CountingCallback cb;
    ASSERT_EQ(audio->RegisterNotificationCallBack(&cb, AMTUNER_EVENT_CHANGED), S_OK);
    ASSERT_EQ(audio->put_TVAudioMode(0x11), S_OK);
    EXPECT_EQ(cb.WaitFor(1), 1) << "a new mode";
    ASSERT_EQ(tuner->put_Channel(7, -1, -1), S_OK);
    EXPECT_EQ(cb.WaitFor(2, 500), 1) << "station to station: the same sound is on offer";
    ASSERT_EQ(tuner->put_Channel(6, -1, -1), S_OK);
    EXPECT_EQ(cb.WaitFor(2), 2) << "noise offers mono only";
    ASSERT_EQ(audio->UnRegisterNotificationCallBack(&cb), S_OK);
    EXPECT_EQ(cb.Refs(), 1);
}
