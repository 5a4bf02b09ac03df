#include "TunerModel.h"

#include <cstdlib>

namespace vcap {
namespace {

const CountryInfo kCountries[] = {
    {1, ChannelPlan::UsBroadcast, 2, 69, 0x1},         // USA: NTSC M
    {2, ChannelPlan::UsBroadcast, 2, 69, 0x1},         // Canada
    {52, ChannelPlan::UsBroadcast, 2, 69, 0x1},        // Mexico
    {55, ChannelPlan::UsBroadcast, 2, 69, 0x200},      // Brazil: PAL M
    {54, ChannelPlan::UsBroadcast, 2, 69, 0x400},      // Argentina: PAL N
    {81, ChannelPlan::JapanBroadcast, 1, 62, 0x2},     // Japan: NTSC M J
    {44, ChannelPlan::UkBroadcast, 21, 69, 0x80},      // United Kingdom: PAL I
    {353, ChannelPlan::UkBroadcast, 21, 69, 0x80},     // Ireland
    {49, ChannelPlan::EuropeBroadcast, 2, 69, 0x10},   // Germany: PAL B/G
    {31, ChannelPlan::EuropeBroadcast, 2, 69, 0x10},   // Netherlands
    {39, ChannelPlan::EuropeBroadcast, 2, 69, 0x10},   // Italy
    {86, ChannelPlan::EuropeBroadcast, 2, 69, 0x20},   // China: PAL D
    {33, ChannelPlan::EuropeBroadcast, 2, 69, 0x40000},  // France: SECAM L
    {7, ChannelPlan::EuropeBroadcast, 2, 69, 0x10000},   // Russia: SECAM D
};

// The PLL follows a station within this distance and reports the remaining error in steps.
constexpr long kCaptureRangeSteps = 4;

long NearestStationOffset(const CountryInfo& c, long frequency, const std::set<long>& stations, bool& found)
{
    found = false;
    long best = 0;
    for (long ch : stations) {
        const long f = ChannelFrequency(c.plan, ch);
        if (f == 0 || ch < c.minChannel || ch > c.maxChannel)
            continue;
        const long steps = (frequency - f) / kTunerGranularityHz;
        if (std::labs(steps) <= kCaptureRangeSteps && (!found || std::labs(steps) < std::labs(best))) {
            best = steps;
            found = true;
        }
    }
    return best;
}

}  // namespace

bool FindCountry(long code, CountryInfo& info)
{
    for (const CountryInfo& c : kCountries) {
        if (c.code == code) {
            info = c;
            return true;
        }
    }
    return false;
}

long ChannelFrequency(ChannelPlan plan, long ch)
{
    switch (plan) {
    case ChannelPlan::UsBroadcast:
        if (ch >= 2 && ch <= 4) return 55250000 + (ch - 2) * 6000000;
        if (ch >= 5 && ch <= 6) return 77250000 + (ch - 5) * 6000000;
        if (ch >= 7 && ch <= 13) return 175250000 + (ch - 7) * 6000000;
        if (ch >= 14 && ch <= 69) return 471250000 + (ch - 14) * 6000000;
        return 0;
    case ChannelPlan::JapanBroadcast:
        if (ch >= 1 && ch <= 3) return 91250000 + (ch - 1) * 6000000;
        if (ch >= 4 && ch <= 7) return 171250000 + (ch - 4) * 6000000;
        if (ch >= 8 && ch <= 12) return 193250000 + (ch - 8) * 6000000;
        if (ch >= 13 && ch <= 62) return 471250000 + (ch - 13) * 6000000;
        return 0;
    case ChannelPlan::EuropeBroadcast:
        if (ch >= 2 && ch <= 4) return 48250000 + (ch - 2) * 7000000;
        if (ch >= 5 && ch <= 12) return 175250000 + (ch - 5) * 7000000;
        if (ch >= 21 && ch <= 69) return 471250000 + (ch - 21) * 8000000;
        return 0;
    case ChannelPlan::UkBroadcast:
        if (ch >= 21 && ch <= 69) return 471250000 + (ch - 21) * 8000000;
        return 0;
    }
    return 0;
}

TunerModel::TunerModel(long countryCode)
{
    if (!FindCountry(countryCode, country_))
        FindCountry(1, country_);
    channel_ = country_.minChannel;
    frequency_ = ChannelFrequency(country_.plan, channel_);
}

bool TunerModel::SetCountry(long code)
{
    CountryInfo c;
    if (!FindCountry(code, c))
        return false;
    country_ = c;
    return true;
}

bool TunerModel::TuneChannel(long channel, uint32_t nowMs)
{
    const long f = ChannelFrequency(country_.plan, channel);
    if (channel < country_.minChannel || channel > country_.maxChannel || f == 0)
        return false;
    channel_ = channel;
    frequency_ = f;
    tunedAt_ = nowMs;
    return true;
}

bool TunerModel::TuneFrequency(long hz, uint32_t nowMs)
{
    if (hz < kTunerMinHz || hz > kTunerMaxHz)
        return false;
    frequency_ = hz;
    tunedAt_ = nowMs;
    return true;
}

TunerStatus TunerModel::Status(uint32_t nowMs, const std::set<long>& stations) const
{
    TunerStatus s{frequency_, 0, nowMs - tunedAt_ < kTunerSettleMs};
    bool found = false;
    const long steps = NearestStationOffset(country_, frequency_, stations, found);
    if (!found)
        s.pllOffset = (channel_ % 2) ? 2 : -2;  // the AFC drifts to a rail on noise
    else
        s.pllOffset = steps == 0 ? 0 : steps > 0 ? 1 : -1;
    return s;
}

bool TunerModel::HasSignal(uint32_t nowMs, const std::set<long>& stations) const
{
    const TunerStatus s = Status(nowMs, stations);
    return !s.busy && s.pllOffset > -2 && s.pllOffset < 2;
}

bool IsValidTvAudioMode(long mode)
{
    const long channels = mode & 0x03;
    const long language = mode & 0x70;
    return mode != 0 && (mode & ~kTvAudioHardwareModes) == 0 && channels != 0x03 && (language & (language - 1)) == 0;
}

long AvailableTvAudioModes(bool station) { return station ? (0x01 | 0x02 | 0x10 | 0x20) : (0x01 | 0x10); }

void TunerModel::Restore(long countryCode, long channel, long frequency, uint32_t tunedAtMs)
{
    SetCountry(countryCode);
    channel_ = channel;
    frequency_ = frequency;
    tunedAt_ = tunedAtMs;
}

}  // namespace vcap
