#include "TunerStorage.h"

#include <cstdint>

namespace tuner {

namespace {

std::string SlotName(const char* prefix, int slot)
{
    return prefix + std::to_string(slot);
}

// The settings reading rule: -1 and a missing value both count as missing, and a missing
// value is written back with its default so that every setting exists after the first run.
int ReadInt(ValueStore& store, const char* name, int defaultValue)
{
    const std::optional<int> value = store.GetInt(kTunerSection, name);
    if (value && *value != -1)
        return *value;
    store.SetInt(kTunerSection, name, defaultValue);
    return defaultValue;
}

std::string ReadString(ValueStore& store, const char* name, const std::string& defaultValue)
{
    std::optional<std::string> value = store.GetString(kTunerSection, name);
    if (value && !value->empty())
        return *value;
    store.SetString(kTunerSection, name, defaultValue);
    return defaultValue;
}

void LoadSlot(const ValueStore& store, const char* section, int slot, ChannelList& list)
{
    const int number = store.GetInt(section, SlotName("ChNum", slot)).value_or(-1);
    if (number <= 0 || number > kHighestListChannel)
        return;
    ChannelEntry& entry = list[number];
    entry.name = store.GetString(section, SlotName("ChName", slot)).value_or("");
    if (!entry.name.empty())
        entry.fineTune = ClampFineTune(store.GetInt(section, SlotName("ChTwkVal", slot)).value_or(0));
}

void WriteSlot(ValueStore& store, const char* section, int slot, int number,
               const ChannelEntry& entry)
{
    store.SetString(section, SlotName("ChName", slot), entry.name);
    store.SetInt(section, SlotName("ChNum", slot), number);
    store.SetInt(section, SlotName("ChTwkVal", slot), ClampFineTune(entry.fineTune));
}

// Slots left from an earlier save that held more channels: blank them so a later load
// sees only the channels written now.
void BlankSlotsFrom(ValueStore& store, const char* section, int firstSlot)
{
    for (int slot = firstSlot; slot < kChannelCount; ++slot) {
        if (!store.GetInt(section, SlotName("ChNum", slot)))
            continue;
        store.SetString(section, SlotName("ChName", slot), "");
        store.SetInt(section, SlotName("ChNum", slot), 0);
        store.SetInt(section, SlotName("ChTwkVal", slot), 0);
    }
}

}  // namespace

void LoadTunerSettings(ValueStore& store, TunerSettings& settings)
{
    const int input = ReadInt(store, "Input", kInputAntenna);
    settings.inputType = (input == kInputCable) ? kInputCable : kInputAntenna;
    settings.country = ReadString(store, "Country", "");
    settings.videoStandard = static_cast<std::uint32_t>(ReadInt(store, "Video Standard", 1));

    settings.antenna = EmptyChannelList();
    settings.cable = EmptyChannelList();
    for (int slot = 0; slot < kChannelCount; ++slot) {
        LoadSlot(store, kAntennaSection, slot, settings.antenna);
        LoadSlot(store, kCableSection, slot, settings.cable);
    }

    const int last = ReadInt(store, "LastChannel", 2);
    settings.lastChannel = (last >= 0 && last <= kHighestListChannel) ? last : 2;
    settings.CopyCurrentChannel();
}

void SaveTunerSettings(ValueStore& store, const TunerSettings& settings,
                       const ChannelRange& range)
{
    store.SetInt(kTunerSection, "Input", settings.inputType);
    store.SetString(kTunerSection, "Country", settings.country);
    store.SetInt(kTunerSection, "Video Standard", static_cast<int>(settings.videoStandard));
    store.SetInt(kTunerSection, "LastChannel", settings.lastChannel);

    int cableSlot = 0;
    int antennaSlot = 0;
    for (int i = range.ListMinimum(); i <= kHighestListChannel; ++i) {
        // Channel 0 cannot be stored: a slot number not above 0 means an empty slot.
        if (i == 0)
            continue;
        if (!settings.cable[i].name.empty())
            WriteSlot(store, kCableSection, cableSlot++, i, settings.cable[i]);
        if (!settings.antenna[i].name.empty())
            WriteSlot(store, kAntennaSection, antennaSlot++, i, settings.antenna[i]);
    }
    BlankSlotsFrom(store, kCableSection, cableSlot);
    BlankSlotsFrom(store, kAntennaSection, antennaSlot);
}

}  // namespace tuner
