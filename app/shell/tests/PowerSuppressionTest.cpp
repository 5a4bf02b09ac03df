// The one owner of the screen-saver and power timeouts, over a fake set of parameters: the
// user's values survive any order of preview and playback claims.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "PowerSuppression.h"

namespace {

using shell::PowerSuppression;

class FakeParameters : public PowerSuppression::Parameters {
public:
    std::map<UINT, int> values{{SPI_GETSCREENSAVETIMEOUT, 600}, {SPI_GETLOWPOWERTIMEOUT, 0},
                               {SPI_GETPOWEROFFTIMEOUT, 1200}};
    std::vector<UINT> sets;

    int Get(UINT action) override { return values[action]; }
    void Set(UINT action, int value) override
    {
        sets.push_back(action);
        values[GetFor(action)] = value;
    }

private:
    static UINT GetFor(UINT set)
    {
        switch (set) {
        case SPI_SETSCREENSAVETIMEOUT: return SPI_GETSCREENSAVETIMEOUT;
        case SPI_SETLOWPOWERTIMEOUT: return SPI_GETLOWPOWERTIMEOUT;
        default: return SPI_GETPOWEROFFTIMEOUT;
        }
    }
};

TEST(PowerSuppression, ClaimsInAnyOrderRestoreTheUsersValuesOnce)
{
    using C = PowerSuppression::Client;
    struct Case {
        const char* name;
        std::vector<std::pair<bool, C>> steps;  // true = enter
    };
    const Case cases[] = {
        {"preview alone", {{true, C::kPreview}, {false, C::kPreview}}},
        {"playback opens while preview runs", {{true, C::kPreview}, {true, C::kPlayback}, {false, C::kPreview}, {false, C::kPlayback}}},
        {"second file opened", {{true, C::kPlayback}, {true, C::kPlayback}, {false, C::kPlayback}}},
        {"leave without enter", {{false, C::kPlayback}, {true, C::kPreview}, {false, C::kPreview}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeParameters params;
        PowerSuppression power(params);
        for (const auto& [enter, client] : c.steps) {
            if (enter) {
                power.Enter(client);
                EXPECT_EQ(params.values[SPI_GETSCREENSAVETIMEOUT], 0);
                EXPECT_EQ(params.values[SPI_GETPOWEROFFTIMEOUT], 0);
            } else {
                power.Leave(client);
            }
        }
        EXPECT_FALSE(power.Active());
        EXPECT_EQ(params.values[SPI_GETSCREENSAVETIMEOUT], 600);
        EXPECT_EQ(params.values[SPI_GETLOWPOWERTIMEOUT], 0);
        EXPECT_EQ(params.values[SPI_GETPOWEROFFTIMEOUT], 1200);
        // The low-power timeout was 0 throughout: never written.
        for (UINT set : params.sets)
            EXPECT_NE(set, static_cast<UINT>(SPI_SETLOWPOWERTIMEOUT));
    }
}

TEST(PowerSuppression, StillHeldAfterOneOfTwoClaimsEnds)
{
    FakeParameters params;
    PowerSuppression power(params);
    power.Enter(PowerSuppression::kPreview);
    power.Enter(PowerSuppression::kPlayback);
    power.Leave(PowerSuppression::kPreview);
    EXPECT_TRUE(power.Active());
    EXPECT_EQ(params.values[SPI_GETSCREENSAVETIMEOUT], 0);
}

TEST(PowerSuppression, DestructionPutsTheValuesBack)
{
    FakeParameters params;
    {
        PowerSuppression power(params);
        power.Enter(PowerSuppression::kPlayback);
    }
    EXPECT_EQ(params.values[SPI_GETSCREENSAVETIMEOUT], 600);
}

}  // namespace
