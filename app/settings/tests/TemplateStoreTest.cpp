// The custom template store against the registry: the name rules, a template read whole or
// not at all, and adding, choosing and deleting templates.
#include <gtest/gtest.h>

#include "RegistryFixture.h"
#include "TemplateStore.h"

namespace {

using namespace settings;

class TemplateStoreTest : public settingstest::RegistryFixture {
protected:
    void WriteTemplate(const std::string& name, int bitRate)
    {
        CustomTemplate block;
        block.bitRate = bitRate;
        block.peakBitRate = bitRate;
        SaveTemplateStore(Store(), name, {name}, block);
    }
};

TEST(TemplateNames, RulesOfANewName)
{
    const std::vector<std::string> existing = {"HQ", "Sports"};
    const struct {
        std::string name;
        TemplateNameCheck check;
    } cases[] = {
        {"Evening", TemplateNameCheck::kAccepted},
        {"My template 2", TemplateNameCheck::kAccepted},
        {"a/b", TemplateNameCheck::kInvalid},
        {"a\\b", TemplateNameCheck::kInvalid},
        {"A;B", TemplateNameCheck::kInvalid},
        {"DVD;HQ", TemplateNameCheck::kInvalid},
        {"", TemplateNameCheck::kInvalid},
        {std::string("tab\there"), TemplateNameCheck::kInvalid},
        {std::string("new\nline"), TemplateNameCheck::kInvalid},
        {std::string(kMaxTemplateNameChars, 'x'), TemplateNameCheck::kAccepted},
        {std::string(kMaxTemplateNameChars + 1, 'x'), TemplateNameCheck::kInvalid},
        {"HQ", TemplateNameCheck::kDuplicate},
        {"hq", TemplateNameCheck::kDuplicate},
        {"SPORTS", TemplateNameCheck::kDuplicate},
        {"HQ2", TemplateNameCheck::kAccepted},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckTemplateName(c.name, existing), c.check) << '"' << c.name << '"';
    EXPECT_EQ(RefusalText(TemplateNameCheck::kInvalid), 254);
    EXPECT_EQ(RefusalText(TemplateNameCheck::kDuplicate), 256);
    EXPECT_EQ(RefusalText(TemplateNameCheck::kAccepted), 0);
}

TEST_F(TemplateStoreTest, AddedTemplatesAreListedInOrderWithTheirValues)
{
    CaptureSettings s;
    s.custom.bitRate = 7000000;
    AddTemplate(Store(), s, "HQ");
    s.custom.bitRate = 3000000;
    AddTemplate(Store(), s, "Sports");

    EXPECT_EQ(Store().GetString("Custom", "templates", ""), "HQ;Sports;");
    EXPECT_EQ(Store().GetString("Custom", "selected", ""), "Sports");
    EXPECT_EQ(s.templateSection, "Custom\\Sports");
    EXPECT_EQ(Store().GetInt("Custom\\HQ", "BitRate", 0), 7000000);
    EXPECT_EQ(Store().GetInt("Custom\\Sports", "BitRate", 0), 3000000);
    // Registry key names ignore case: "hq" would be HQ's key.
    EXPECT_EQ(CheckTemplateName("hq", s.templateNames), TemplateNameCheck::kDuplicate);
}

TEST_F(TemplateStoreTest, ATemplateWithAValueMissingIsNotUsed)
{
    WriteTemplate("HQ", 7000000);
    CustomTemplate block;
    block.bitRate = 1234;
    ASSERT_TRUE(ReadWholeTemplate(Store(), "HQ", block));
    EXPECT_EQ(block.bitRate, 7000000);

    for (const char* value : {"CaptureMode", "AudSamplingFreq", "3-2PullDown"}) {
        WriteTemplate("HQ", 7000000);
        Store().DeleteEntry("Custom\\HQ", value);
        CustomTemplate partial;
        partial.bitRate = 1234;
        EXPECT_FALSE(ReadWholeTemplate(Store(), "HQ", partial)) << value;
        EXPECT_EQ(partial.bitRate, 1234) << "left as it was without " << value;
        EXPECT_EQ(Store().GetInt("Custom\\HQ", value, -7), -7) << "a missing value is not written back";
    }
    WriteTemplate("HQ", 7000000);
    Store().WriteInt("Custom\\HQ", "VBR", -1);
    CustomTemplate stored;
    EXPECT_FALSE(ReadWholeTemplate(Store(), "HQ", stored)) << "-1 counts as missing";
    EXPECT_FALSE(ReadWholeTemplate(Store(), "Nobody", stored));
    EXPECT_FALSE(ReadWholeTemplate(Store(), "", stored));
}

TEST_F(TemplateStoreTest, DeletingTheOnlyTemplateInCustomModeFallsBackToDvd)
{
    CaptureSettings s;
    AddTemplate(Store(), s, "HQ");
    s.setupMode = 3;
    s.qualityMpeg2 = 0;
    DeleteSelectedTemplate(Store(), s);

    EXPECT_TRUE(s.templateNames.empty());
    EXPECT_EQ(s.selectedTemplate, "");
    EXPECT_EQ(Store().GetString("Custom", "templates", "x"), "");
    EXPECT_EQ(Store().GetString("Custom", "selected", "x"), "");
    EXPECT_EQ(Store().GetInt("Custom\\HQ", "BitRate", -7), -7) << "the template's key is gone";
    ASSERT_TRUE(LeaveCustomModeWithoutTemplates(s));
    EXPECT_EQ(s.setupMode, 2);
    EXPECT_EQ(s.qualityMpeg2, 1);
    EXPECT_FALSE(LeaveCustomModeWithoutTemplates(s)) << "only once";
}

TEST_F(TemplateStoreTest, DeletingOneOfSeveralChoosesTheFirstThatRemains)
{
    CaptureSettings s;
    for (const char* name : {"A", "B", "C"})
        AddTemplate(Store(), s, name);
    SelectTemplate(Store(), s, "B");
    s.setupMode = 3;
    DeleteSelectedTemplate(Store(), s);
    EXPECT_EQ(s.selectedTemplate, "A");
    EXPECT_EQ(s.templateSection, "Custom\\A");
    EXPECT_EQ(Store().GetString("Custom", "templates", ""), "A;C;");
    EXPECT_EQ(Store().GetString("Custom", "selected", ""), "A");
    EXPECT_FALSE(LeaveCustomModeWithoutTemplates(s));
    EXPECT_EQ(s.setupMode, 3);
    CustomTemplate block;
    EXPECT_TRUE(ReadWholeTemplate(Store(), "C", block)) << "the others keep their values";
}

TEST_F(TemplateStoreTest, ANameWithTheSeparatorWouldComeBackAsTwo)
{
    // Why ";" is refused: the list would not give the name back.
    EXPECT_EQ(SplitTemplateNames(JoinTemplateNames({"DVD;HQ"})), (std::vector<std::string>{"DVD", "HQ"}));
    EXPECT_EQ(CheckTemplateName("DVD;HQ", {}), TemplateNameCheck::kInvalid);
}

}  // namespace
