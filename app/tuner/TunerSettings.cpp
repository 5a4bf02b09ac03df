#include "TunerSettings.h"

namespace tuner {

ChannelList EmptyChannelList()
{
    ChannelList list;
    for (int i = 0; i < kChannelCount; ++i)
        list[i].number = i;
    return list;
}

void TunerSettings::CopyCurrentChannel()
{
    if (lastChannel < 0 || lastChannel > kHighestListChannel)
        return;
    const ChannelEntry& entry = CurrentList()[lastChannel];
    currentFineTune = entry.fineTune;
    currentName = entry.name;
    currentFrequency = entry.frequency;
}

}  // namespace tuner
