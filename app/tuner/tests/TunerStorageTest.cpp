#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <variant>

#include "RegistryValueStore.h"
#include "TunerStorage.h"

using namespace tuner;

namespace {

// Values in memory, typed as the registry types them, so a value of the wrong type can be
// planted.
class MemoryStore : public ValueStore {
public:
    using Value = std::variant<int, std::string>;

    std::optional<int> GetInt(const std::string& section, const std::string& name) const override
    {
        const auto it = values.find({section, name});
        if (it == values.end() || !std::holds_alternative<int>(it->second))
            return std::nullopt;
        return std::get<int>(it->second);
    }
    std::optional<std::string> GetString(const std::string& section,
                                         const std::string& name) const override
    {
        const auto it = values.find({section, name});
        if (it == values.end() || !std::holds_alternative<std::string>(it->second))
            return std::nullopt;
        return std::get<std::string>(it->second);
    }
    void SetInt(const std::string& section, const std::string& name, int value) override
    {
        values[{section, name}] = value;
    }
    void SetString(const std::string& section, const std::string& name,
                   const std::string& value) override
    {
        values[{section, name}] = value;
    }

    std::map<std::pair<std::string, std::string>, Value> values;
};

void Name(ChannelList& list, int channel, const std::string& name, int fine)
{
    list[channel].name = name;
    list[channel].fineTune = fine;
}

void PutSlot(ValueStore& store, const char* section, int slot, const std::string& name,
             int number, std::optional<int> fine)
{
    store.SetString(section, "ChName" + std::to_string(slot), name);
    store.SetInt(section, "ChNum" + std::to_string(slot), number);
    if (fine)
        store.SetInt(section, "ChTwkVal" + std::to_string(slot), *fine);
}

std::vector<std::pair<int, int>> Named(const ChannelList& list)
{
    std::vector<std::pair<int, int>> named;
    for (const ChannelEntry& entry : list) {
        if (!entry.name.empty())
            named.emplace_back(entry.number, entry.fineTune);
    }
    return named;
}

}  // namespace

TEST(TunerStorage, EmptyStoreLoadsDefaultsAndWritesThemBack)
{
    MemoryStore store;
    TunerSettings settings;
    settings.country = "stale";
    Name(settings.cable, 9, "old", 4);
    LoadTunerSettings(store, settings);

    EXPECT_EQ(settings.inputType, kInputAntenna);
    EXPECT_EQ(settings.country, "");
    EXPECT_EQ(settings.videoStandard, 1u);
    EXPECT_EQ(settings.lastChannel, 2);
    EXPECT_TRUE(Named(settings.cable).empty());
    EXPECT_EQ(store.GetInt(kTunerSection, "Input"), 1);
    EXPECT_EQ(store.GetString(kTunerSection, "Country"), "");
    EXPECT_EQ(store.GetInt(kTunerSection, "Video Standard"), 1);
    EXPECT_EQ(store.GetInt(kTunerSection, "LastChannel"), 2);
}

TEST(TunerStorage, SaveAndReloadIsIdentical)
{
    TunerSettings saved;
    saved.inputType = kInputCable;
    saved.country = "Germany";
    saved.videoStandard = 0x20;
    saved.lastChannel = 5;
    Name(saved.cable, 3, "Channel  03", -7);
    Name(saved.cable, 5, "Local", 0);
    Name(saved.cable, 12, "Channel  12", 50);
    Name(saved.antenna, 199, "Top", 1);

    MemoryStore store;
    SaveTunerSettings(store, saved, ChannelRange{});
    EXPECT_EQ(store.GetInt(kCableSection, "ChNum0"), 3);
    EXPECT_EQ(store.GetInt(kCableSection, "ChNum2"), 12);
    EXPECT_EQ(store.GetInt(kCableSection, "ChTwkVal0"), -7);
    EXPECT_FALSE(store.GetInt(kCableSection, "ChNum3").has_value());

    TunerSettings loaded;
    LoadTunerSettings(store, loaded);
    EXPECT_EQ(loaded.inputType, kInputCable);
    EXPECT_EQ(loaded.country, "Germany");
    EXPECT_EQ(loaded.videoStandard, 0x20u);
    EXPECT_EQ(loaded.lastChannel, 5);
    for (int i = 0; i < kChannelCount; ++i) {
        EXPECT_EQ(loaded.cable[i].name, saved.cable[i].name) << i;
        EXPECT_EQ(loaded.cable[i].fineTune, saved.cable[i].fineTune) << i;
        EXPECT_EQ(loaded.antenna[i].name, saved.antenna[i].name) << i;
        EXPECT_EQ(loaded.antenna[i].number, i);
    }
    EXPECT_EQ(loaded.currentName, "Local");
    EXPECT_EQ(loaded.currentFineTune, 0);
}

TEST(TunerStorage, SavingFewerChannelsCompactsAndBlanksTheRest)
{
    TunerSettings settings;
    for (int channel : {4, 9, 21, 33, 60})
        Name(settings.antenna, channel, "ch" + std::to_string(channel), 2);
    MemoryStore store;
    SaveTunerSettings(store, settings, ChannelRange{});

    settings.antenna[4].name.clear();
    settings.antenna[33].name.clear();
    SaveTunerSettings(store, settings, ChannelRange{});
    EXPECT_EQ(store.GetInt(kAntennaSection, "ChNum0"), 9);
    EXPECT_EQ(store.GetInt(kAntennaSection, "ChNum1"), 21);
    EXPECT_EQ(store.GetInt(kAntennaSection, "ChNum2"), 60);
    for (const char* slot : {"3", "4"}) {
        EXPECT_EQ(store.GetInt(kAntennaSection, std::string("ChNum") + slot), 0);
        EXPECT_EQ(store.GetString(kAntennaSection, std::string("ChName") + slot), "");
        EXPECT_EQ(store.GetInt(kAntennaSection, std::string("ChTwkVal") + slot), 0);
    }
    EXPECT_FALSE(store.GetInt(kAntennaSection, "ChNum5").has_value());

    TunerSettings loaded;
    LoadTunerSettings(store, loaded);
    EXPECT_EQ(Named(loaded.antenna), (std::vector<std::pair<int, int>>{{9, 2}, {21, 2}, {60, 2}}));
}

TEST(TunerStorage, BadStoredValuesGetDefaultsAndAreNeverIndexedOutsideTheLists)
{
    MemoryStore store;
    PutSlot(store, kAntennaSection, 0, "Far off", 7, 500);
    PutSlot(store, kAntennaSection, 1, "Below", 8, -500);
    PutSlot(store, kAntennaSection, 2, "No tweak", 10, std::nullopt);
    PutSlot(store, kAntennaSection, 3, "Beyond", 200, 1);
    PutSlot(store, kAntennaSection, 4, "Way beyond", 5000, 1);
    PutSlot(store, kAntennaSection, 5, "Zero", 0, 1);
    store.SetString(kAntennaSection, "ChNum6", "11");  // wrong type: missing
    store.SetString(kAntennaSection, "ChName6", "Typed wrong");
    PutSlot(store, kAntennaSection, 7, "Wrong tweak", 12, std::nullopt);
    store.SetString(kAntennaSection, "ChTwkVal7", "9");
    store.SetInt(kTunerSection, "LastChannel", 300);
    store.SetInt(kTunerSection, "Input", 7);

    TunerSettings settings;
    LoadTunerSettings(store, settings);
    EXPECT_EQ(Named(settings.antenna),
              (std::vector<std::pair<int, int>>{{7, 50}, {8, -50}, {10, 0}, {12, 0}}));
    EXPECT_EQ(settings.lastChannel, 2);
    EXPECT_EQ(settings.inputType, kInputAntenna);
    EXPECT_EQ(settings.currentName, "");
}

TEST(TunerStorage, SaveStartsAtTheRangeMinimumAndClampsFineTune)
{
    TunerSettings settings;
    Name(settings.cable, 1, "Below range", 0);
    Name(settings.cable, 6, "Wild", 500);
    MemoryStore store;
    SaveTunerSettings(store, settings, ChannelRange{2, 500});
    EXPECT_EQ(store.GetInt(kCableSection, "ChNum0"), 6);
    EXPECT_EQ(store.GetInt(kCableSection, "ChTwkVal0"), 50);
    EXPECT_FALSE(store.GetInt(kCableSection, "ChNum1").has_value());
}

TEST(RegistryValueStore, RoundTripsThroughTheRegistryAndRejectsWrongTypes)
{
    const std::string base = "Software\\MarovinTests\\Tuner" + std::to_string(GetCurrentProcessId());
    RegistryValueStore store(HKEY_CURRENT_USER, base);
    TunerSettings saved;
    saved.country = "USA";
    Name(saved.antenna, 3, "Three", -7);
    Name(saved.antenna, 5, "Five", 0);
    Name(saved.antenna, 12, "Twelve", 50);
    SaveTunerSettings(store, saved, ChannelRange{});

    TunerSettings loaded;
    LoadTunerSettings(store, loaded);
    EXPECT_EQ(loaded.country, "USA");
    EXPECT_EQ(Named(loaded.antenna),
              (std::vector<std::pair<int, int>>{{3, -7}, {5, 0}, {12, 50}}));

    store.SetString(kTunerSection, "LastChannel", "12");
    EXPECT_FALSE(store.GetInt(kTunerSection, "LastChannel").has_value());
    EXPECT_FALSE(store.GetString(kAntennaSection, "ChNum0").has_value());
    EXPECT_FALSE(store.GetInt("No\\Such\\Section", "x").has_value());
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str()), ERROR_SUCCESS);
}

// Sections stay open for the store's life: a section first read while missing is seen once the
// store has written it, values written through the open key read back, and another store
// over the same key sees them all.
TEST(RegistryValueStore, KeepsSectionsOpenWithoutHidingItsOwnWrites)
{
    const std::string base = "Software\\MarovinTests\\Open" + std::to_string(GetCurrentProcessId());
    {
        RegistryValueStore store(HKEY_CURRENT_USER, base);
        EXPECT_FALSE(store.GetInt(kCableSection, "ChNum0").has_value());
        store.SetInt(kCableSection, "ChNum0", 7);
        store.SetString(kCableSection, "ChName0", "Seven");
        EXPECT_EQ(store.GetInt(kCableSection, "ChNum0"), 7);
        EXPECT_EQ(store.GetString(kCableSection, "ChName0"), "Seven");
        store.SetInt(kCableSection, "ChNum0", 8);
        EXPECT_EQ(store.GetInt(kCableSection, "ChNum0"), 8);
        EXPECT_FALSE(store.GetInt(kAntennaSection, "ChNum0").has_value());
    }
    const RegistryValueStore other(HKEY_CURRENT_USER, base);
    EXPECT_EQ(other.GetInt(kCableSection, "ChNum0"), 8);
    EXPECT_EQ(other.GetString(kCableSection, "ChName0"), "Seven");
    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str()), ERROR_SUCCESS);
}

