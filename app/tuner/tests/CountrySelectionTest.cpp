#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CountrySelection.h"

using namespace tuner;

namespace {

class FakeTuner : public CountryTuner {
public:
    std::optional<std::uint32_t> mask;
    std::set<int> acceptedCodes;  // empty: accept all
    std::vector<int> countriesTried;
    std::vector<std::uint32_t> standardsSet;

    std::optional<std::uint32_t> SupportedStandards() override { return mask; }
    bool SetCountry(std::int32_t code) override
    {
        countriesTried.push_back(code);
        return acceptedCodes.empty() || acceptedCodes.count(code) != 0;
    }
    bool SetVideoStandard(std::uint32_t value) override
    {
        standardsSet.push_back(value);
        return mask && (*mask & value) == value && value != 0;
    }
};

constexpr std::uint32_t kEnglishUs = 0x0409;
constexpr std::uint32_t kKorean = 0x0412;

}  // namespace

TEST(CountrySelection, ChoosesCountryAndStandard)
{
    struct Case {
        const char* what;
        const char* country;
        std::uint32_t standard;
        std::uint32_t language;
        std::optional<std::uint32_t> mask;
        std::set<int> accepted;
        const char* expectedCountry;
        std::uint32_t expectedStandard;
    };
    const Case cases[] = {
        {"first start, US English, NTSC M tuner", "", 0x1, kEnglishUs, 0x1, {}, "USA", 0x1},
        {"first start, Korean", "", 0x1, kKorean, 0x3031, {}, "Korea (South)", 0x1},
        {"first start, unknown language: lowest standard's first accepted row", "", 0x1, 0x0C07,
         0x10, {49}, "Germany", 0x10},
        {"first start, standards unreadable: nothing changes", "", 0x1, kEnglishUs,
         std::nullopt, {}, "", 0x1},
        {"unknown stored country: untouched", "Atlantis", 0x20, kEnglishUs, 0x31, {}, "Atlantis",
         0x20},
        {"stored supported standard kept", "Germany", 0x20, kEnglishUs, 0x30, {}, "Germany", 0x20},
        {"stored unsupported standard: country default", "Germany", 0x40000, kEnglishUs, 0x30, {},
         "Germany", 0x10},
        {"stored None: country default", "United Kingdom", 0x0, kEnglishUs, 0x110, {},
         "United Kingdom", 0x100},
        {"refused country: system language's country", "Germany", 0x10, kEnglishUs, 0x11, {1},
         "USA", 0x1},
        {"refused, language default unsupported: lowest", "Germany", 0x10, kEnglishUs, 0x10, {1},
         "USA", 0x10},
        {"refused, no language row: lowest", "Japan", 0x2, 0x0C07, 0x30, {1}, "Japan", 0x10},
    };
    for (const Case& c : cases) {
        FakeTuner fake;
        fake.mask = c.mask;
        fake.acceptedCodes = c.accepted;
        TunerSettings settings;
        settings.country = c.country;
        settings.videoStandard = c.standard;
        SelectCountryAndStandard(fake, settings, c.language);
        EXPECT_EQ(settings.country, c.expectedCountry) << c.what;
        EXPECT_EQ(settings.videoStandard, c.expectedStandard) << c.what;
    }
}

TEST(CountrySelection, TunerGetsTheMendedCodesAndUnknownCountriesTouchNothing)
{
    FakeTuner fake;
    fake.mask = 0x1100;
    TunerSettings settings;
    settings.country = "South Africa";
    SelectCountryAndStandard(fake, settings, kEnglishUs);
    EXPECT_EQ(fake.countriesTried, std::vector<int>{27});
    EXPECT_EQ(fake.standardsSet, std::vector<std::uint32_t>{0x100});

    FakeTuner untouched;
    untouched.mask = 0x1;
    settings.country = "Narnia";
    SelectCountryAndStandard(untouched, settings, kEnglishUs);
    EXPECT_TRUE(untouched.countriesTried.empty());
    EXPECT_TRUE(untouched.standardsSet.empty());
}
