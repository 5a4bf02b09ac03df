#include "StandardRules.h"

#include <dshow.h>

namespace media {

int CaptureStandardOf(long standard)
{
    return (standard & k525LineStandards) != 0 ? 0 : 1;
}

long PreferredVariant(long detected, long ntscPreference, long palPreference)
{
    if ((detected == 0 || (detected & k525LineStandards) != 0) && (ntscPreference & k525LineStandards) != 0)
        return ntscPreference;
    if ((detected & k625LineStandards) != 0 && palPreference != 0 && (palPreference & k625LinePalStandards) == 0)
        return palPreference;
    return detected;
}

std::vector<long> SupportedStandards(long available)
{
    std::vector<long> list{0};
    for (long bit = 0x1; bit <= kHighestStandard; bit <<= 1) {
        if (bit != 0x8 && bit != 0x40 && (available & bit) != 0)
            list.push_back(bit);
    }
    return list;
}

std::vector<long> SupportedStandardsWithoutDecoder()
{
    return {0, 0x1, 0x2};
}

bool IsSingleStandard(long standard)
{
    return standard > 0 && standard <= kHighestStandard && (standard & (standard - 1)) == 0;
}

bool InputForSource(int source, bool secondCompositeIsAux, SourceInput* input)
{
    static const SourceInput kInputs[kSourceCount] = {
        {PhysConn_Video_SVideo, 1}, {PhysConn_Video_Composite, 1}, {PhysConn_Video_Composite, 2},
        {PhysConn_Video_Tuner, 1},  {PhysConn_Video_SVideo, 2},    {PhysConn_Video_YRYBY, 1},
    };
    if (source < 0 || source >= kSourceCount || !input)
        return false;
    *input = kInputs[source];
    if (source == 2 && secondCompositeIsAux)
        *input = {PhysConn_Video_AUX, 1};
    return true;
}

LockPollResult PollForLock(const std::function<bool()>& readLock, const LockPollClock& clock, DWORD start)
{
    LockPollResult result;
    while (result.reads < kMaxLockReads) {
        ++result.reads;
        if (readLock()) {
            result.locked = true;
            break;
        }
        if (result.reads == kMaxLockReads || clock.now() - start >= kLockPollBoundMs)
            break;
        clock.sleep(kLockPollSleepMs);
    }
    return result;
}

LockPollClock SystemClock()
{
    return {[] { return GetTickCount(); }, [](DWORD ms) { Sleep(ms); }};
}

}  // namespace media
