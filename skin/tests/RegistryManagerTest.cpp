// The registry manager as Skeldareg exports it: the settings table, the key operations, the
// runtime default files and the stored-path conversions.
#include <gtest/gtest.h>

#include <filesystem>

#include "EGERegistryMgr_API.h"
#include "TestSupport.h"

using Reg = EGERegistryMgr_API;

namespace {

const std::string kAppSettings = "Software\\Corvale\\GraphicsEngineAppSettings\\";

// A test application's settings key, removed before and after.
class AppKey {
public:
    explicit AppKey(std::string name, bool create = true) : name_(std::move(name))
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str());
        if (create)
            Reg::MakeNewApplicationEntry(name_);
    }
    ~AppKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str()); }
    const std::string& Name() const { return name_; }
    void SetDword(const char* value, DWORD data) const
    {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str(), value, REG_DWORD, &data, sizeof(data));
    }
    void SetString(const char* value, const std::string& data) const
    {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str(), value, REG_SZ, data.c_str(),
                        static_cast<DWORD>(data.size() + 1));
    }

private:
    std::string name_;
};

struct FlagAccessors {
    const char* value;
    bool (*get)(const std::string&, bool*);
    bool (*set)(int, const std::string&);
    bool defaultValue;
};

const FlagAccessors kFlags[] = {
    {"UseDefaultGraphicsFile", Reg::GetUseDefaultGraphicsFile, Reg::SetUseDefaultGraphicsFile, true},
    {"UseDefaultTextFile", Reg::GetUseDefaultTextFile, Reg::SetUseDefaultTextFile, true},
    {"PromptForGraphicsFNameAtRuntime", Reg::GetPromptForQorGraphicsFile, Reg::SetPromptForGraphicsFNameRegEntry, false},
    {"PromptForTextFNameAtRuntime", Reg::GetPromptForQorTextFile, Reg::SetPromptForTextFNameRegEntry, false},
    {"AllowEditingOfGraphicsSettings", Reg::GetAllowEditingQorGraphicsFile, Reg::SetAllowGraphicsEditingRegEntry, false},
    {"AllowEditingOfTextSettings", Reg::GetAllowEditingQorTextFile, Reg::SetAllowTextEditingRegEntry, false},
    {"ShowGraphicsErrorDialogs", Reg::GetShowGraphicsErrorDialogs, Reg::SetShowGraphicsErrorDlgsRegEntry, false},
    {"ShowTextErrorDialogs", Reg::GetShowTextErrorDialogs, Reg::SetShowTextErrorDlgsRegEntry, false},
};

struct StringAccessors {
    const char* value;
    bool (*get)(const std::string&, std::string*, bool*);
    bool (*set)(const std::string&, const std::string&);
};

const StringAccessors kStrings[] = {
    {"GraphicsDataXMLFilename", Reg::GetQorGraphicsFile, Reg::SetQorGraphicsFile},
    {"TextXMLFilename", Reg::GetQorTextFile, Reg::SetQorTextFile},
    {"GraphicsAndTextParentDirectory", Reg::GetQorParentFolder, Reg::SetQorParentFolder},
};

DWORD ReadDword(const std::string& app, const char* value)
{
    DWORD data = 0xDEAD, size = sizeof(data);
    RegGetValueA(HKEY_LOCAL_MACHINE, (kAppSettings + app).c_str(), value,
                 RRF_RT_REG_DWORD, nullptr, &data, &size);
    return data;
}

TEST(RegistryManager, WithoutTheApplicationKeyFlagsHaveTheirDefaultsAndSettersFail)
{
    AppKey app("RegistryAbsent", false);
    for (const auto& flag : kFlags) {
        bool found = true;
        EXPECT_EQ(flag.get(app.Name(), &found), flag.defaultValue) << flag.value;
        EXPECT_FALSE(found) << flag.value;
        EXPECT_FALSE(flag.set(1, app.Name())) << flag.value;
    }
    for (const auto& text : kStrings) {
        std::string value = "stale";
        bool found = true;
        EXPECT_FALSE(text.get(app.Name(), &value, &found)) << text.value;
        EXPECT_EQ(value, "");
        EXPECT_FALSE(found);
        EXPECT_FALSE(text.set("x", app.Name()));
    }
    EXPECT_EQ(Reg::Get_HKeyOf_One_Qor_GraphicsEngineAppSettings(app.Name(), false), nullptr)
        << "nothing was created implicitly";
    EXPECT_EQ(Reg::Get_HKeyOf_One_Qor_GraphicsEngineAppSettings("", true), nullptr);
}

TEST(RegistryManager, SettersStoreOneOrZeroAndGettersReadThemBack)
{
    AppKey app("RegistryFlags", false);
    ASSERT_TRUE(Reg::MakeNewApplicationEntry(app.Name()));
    for (const auto& flag : kFlags) {
        ASSERT_TRUE(flag.set(7, app.Name())) << flag.value;
        EXPECT_EQ(ReadDword(app.Name(), flag.value), 1u) << flag.value;
        bool found = false;
        EXPECT_TRUE(flag.get(app.Name(), &found));
        EXPECT_TRUE(found);
        ASSERT_TRUE(flag.set(0, app.Name()));
        EXPECT_EQ(ReadDword(app.Name(), flag.value), 0u);
        EXPECT_FALSE(flag.get(app.Name(), nullptr));
    }
    for (const auto& text : kStrings) {
        ASSERT_TRUE(text.set("C:\\Skins\\Blue\\file.xml", app.Name()));
        std::string value;
        bool found = false;
        ASSERT_TRUE(text.get(app.Name(), &value, &found));
        EXPECT_TRUE(found);
        EXPECT_EQ(value, "C:\\Skins\\Blue\\file.xml");
    }
}

TEST(RegistryManager, ValuesOfTheWrongTypeOrLengthCountAsAbsent)
{
    AppKey app("RegistryTypes");
    app.SetString("UseDefaultGraphicsFile", "0");
    bool found = true;
    EXPECT_TRUE(Reg::GetUseDefaultGraphicsFile(app.Name(), &found)) << "a string is not a flag";
    EXPECT_FALSE(found);
    app.SetDword("TextXMLFilename", 5);
    std::string value;
    EXPECT_FALSE(Reg::GetQorTextFile(app.Name(), &value, &found));

    const std::string longest(MAX_PATH - 1, 'a'), tooLong(MAX_PATH, 'a');
    EXPECT_TRUE(Reg::SetQorGraphicsFile(longest, app.Name()));
    EXPECT_TRUE(Reg::GetQorGraphicsFile(app.Name(), &value, &found));
    EXPECT_EQ(value, longest);
    EXPECT_FALSE(Reg::SetQorGraphicsFile(tooLong, app.Name())) << "the getter could not read it back";
    app.SetString("GraphicsDataXMLFilename", tooLong + "bbbb");
    EXPECT_FALSE(Reg::GetQorGraphicsFile(app.Name(), &value, &found));
    EXPECT_EQ(value, "");
}

TEST(RegistryManager, ApplicationEntriesAreEnumerated)
{
    AppKey first("RegistryEnumA"), second("RegistryEnumB");
    bool sawFirst = false, sawSecond = false;
    std::string name;
    DWORD index = 0;
    for (; Reg::EnumHKeyOf_Qor_GraphicsEngineAppSettings(index, &name); ++index) {
        sawFirst = sawFirst || name == first.Name();
        sawSecond = sawSecond || name == second.Name();
    }
    EXPECT_TRUE(sawFirst);
    EXPECT_TRUE(sawSecond);
    EXPECT_FALSE(Reg::EnumHKeyOf_Qor_GraphicsEngineAppSettings(index + 5, &name));
    HKEY key = Reg::GetQorHKey();
    ASSERT_NE(key, nullptr);
    RegCloseKey(key);
}

TEST(RegistryManager, RuntimeFilesNextToTheExecutable)
{
    AppKey app("RegistryRuntime");
    const std::string runtime = testsupport::ModuleDir() + "GEGraphics.lmx";
    std::filesystem::remove(runtime);
    std::string path;
    bool found = true;
    EXPECT_FALSE(Reg::GetQorGraphicsFileForRuntime(app.Name(), &path, &found)) << "the default file must exist";
    EXPECT_FALSE(found);
    HANDLE file = CreateFileA(runtime.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(Reg::GetQorGraphicsFileForRuntime(app.Name(), &path, &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(path, runtime);
    std::filesystem::remove(runtime);

    app.SetDword("UseDefaultTextFile", 0);
    app.SetString("TextXMLFilename", "D:\\Texts\\Mine.xml");
    EXPECT_TRUE(Reg::GetQorTextFileForRuntime(app.Name(), &path, &found));
    EXPECT_EQ(path, "D:\\Texts\\Mine.xml");
}

TEST(StoredPaths, RelativeStoredPathsBecomeAbsolute)
{
    std::string path = "bmp\\a.bmp";
    EXPECT_TRUE(Reg::GetProperPathForStoredFilepath("D:\\Skin", &path));
    EXPECT_EQ(path, "D:\\Skin\\bmp\\a.bmp");
    path = "bmp\\a.bmp";
    EXPECT_TRUE(Reg::GetProperPathForStoredFilepath("D:\\Skin\\", &path));
    EXPECT_EQ(path, "D:\\Skin\\bmp\\a.bmp");
    path = "bmp\\a.bmp";
    EXPECT_TRUE(Reg::GetProperPathForStoredFilepath("", &path));
    EXPECT_EQ(path, "bmp\\a.bmp") << "an empty base (a resource library) keeps the name";

    path = "D:\\Skin\\bmp\\a.bmp";
    EXPECT_TRUE(Reg::GetProperPathForStoredFilepath("D:\\Skin", &path)) << "absolute inside the base";
    EXPECT_EQ(path, "D:\\Skin\\bmp\\a.bmp");
    path = "E:\\Other\\a.bmp";
    EXPECT_FALSE(Reg::GetProperPathForStoredFilepath("D:\\Skin", &path)) << "absolute outside the base";
    path = "D:\\Skin\\";
    EXPECT_FALSE(Reg::GetProperPathForStoredFilepath("D:\\Skin", &path)) << "must be longer than the base";
}

TEST(StoredPaths, AbsolutePathsBelowTheBaseAreStoredRelativeIgnoringCase)
{
    std::string path = "d:\\skin\\bmp\\a.bmp";
    EXPECT_TRUE(Reg::SetProperPathForStoringFilepath("D:\\Skin", &path));
    EXPECT_EQ(path, "bmp\\a.bmp");
    path = "bmp\\a.bmp";
    EXPECT_TRUE(Reg::SetProperPathForStoringFilepath("D:\\Skin", &path));
    EXPECT_EQ(path, "bmp\\a.bmp");
    path = "E:\\Other\\a.bmp";
    EXPECT_FALSE(Reg::SetProperPathForStoringFilepath("D:\\Skin", &path));
    EXPECT_EQ(path, "E:\\Other\\a.bmp");
    path = "D:\\SkinBlue\\a.bmp";
    EXPECT_FALSE(Reg::SetProperPathForStoringFilepath("D:\\Skin", &path)) << "a sibling folder is not below";
    path = "E:\\x.bmp";
    EXPECT_TRUE(Reg::SetProperPathForStoringFilepath("", &path));

    // Round trip.
    path = "bmp\\b c.bmp";
    ASSERT_TRUE(Reg::GetProperPathForStoredFilepath("C:\\Prog\\Skins\\Skin", &path));
    ASSERT_TRUE(Reg::SetProperPathForStoringFilepath("c:\\PROG\\skins\\skin\\", &path));
    EXPECT_EQ(path, "bmp\\b c.bmp");
}

TEST(StoredPaths, FileExistence)
{
    const std::string here = testsupport::ModuleDir();
    EXPECT_TRUE(Reg::VerifyFileExists(here + "Skeldareg.dll"));
    EXPECT_FALSE(Reg::VerifyFileExists(here + "Nothing.xml"));
    EXPECT_FALSE(Reg::VerifyFileExists(""));
    EXPECT_FALSE(Reg::VerifyFileExists(std::string(400, 'q')));
}

}  // namespace
