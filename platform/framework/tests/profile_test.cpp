// The application object: its profile functions against the real registry, and its run cycle.
#include <framework/Framework.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

constexpr const char* kRoot = "Software\\FrameworkTestKey";

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kRoot);
        app.SetRegistryKey("FrameworkTestKey");
        app.SetProfileName("Tests");
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRoot); }

    // Writes a raw value as another program (or a hand edit) could have left it.
    static void PutRaw(const char* entry, DWORD type, const void* data, DWORD size)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\FrameworkTestKey\\Tests\\Capture", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExA(key, entry, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }

    static DWORD TypeOf(const char* entry)
    {
        DWORD type = 0;
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\FrameworkTestKey\\Tests\\Capture", 0, KEY_QUERY_VALUE, &key))
            return 0;
        RegQueryValueExA(key, entry, nullptr, &type, nullptr, nullptr);
        RegCloseKey(key);
        return type;
    }

    CWinApp app{"FrameworkTests"};
};

TEST_F(Profile, IntegersRoundTripAsDwords)
{
    EXPECT_EQ(app.GetProfileInt("Capture", "SetupMode", -1), -1);
    ASSERT_TRUE(app.WriteProfileInt("Capture", "SetupMode", 3));
    ASSERT_TRUE(app.WriteProfileInt("Capture", "Negative", -25));
    EXPECT_EQ(app.GetProfileInt("Capture", "SetupMode", -1), 3);
    EXPECT_EQ(app.GetProfileInt("Capture", "Negative", 0), -25);
    EXPECT_EQ(TypeOf("SetupMode"), static_cast<DWORD>(REG_DWORD));
}

TEST_F(Profile, StringsRoundTripAsRegSz)
{
    EXPECT_EQ(app.GetProfileString("Capture", "RecordingFolder", ""), "");
    EXPECT_EQ(app.GetProfileString("Capture", "RecordingFolder", "C:\\Video"), "C:\\Video");
    EXPECT_EQ(app.GetProfileString("Capture", "RecordingFolder"), "");
    ASSERT_TRUE(app.WriteProfileString("Capture", "RecordingFolder", "D:\\Clips\\"));
    ASSERT_TRUE(app.WriteProfileString("Capture", "Empty", ""));
    EXPECT_EQ(app.GetProfileString("Capture", "RecordingFolder", ""), "D:\\Clips\\");
    EXPECT_EQ(app.GetProfileString("Capture", "Empty", "x"), "");
    EXPECT_EQ(TypeOf("RecordingFolder"), static_cast<DWORD>(REG_SZ));
    const std::string longText(5000, 'q');
    ASSERT_TRUE(app.WriteProfileString("Capture", "Long", longText.c_str()));
    EXPECT_EQ(app.GetProfileString("Capture", "Long"), longText);
}

TEST_F(Profile, ValuesLiveUnderKeyProfileAndSection)
{
    ASSERT_TRUE(app.WriteProfileInt("General", "Locale", 1033));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\FrameworkTestKey\\Tests\\General", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    DWORD value = 0, size = sizeof(value), type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Locale", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(value, 1033u);
    // SetRegistryKey alone names the profile after the application.
    app.SetRegistryKey("FrameworkTestKey");
    EXPECT_STREQ(app.GetProfileName(), "FrameworkTests");
    ASSERT_TRUE(app.WriteProfileInt("S", "V", 1));
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\FrameworkTestKey\\FrameworkTests\\S", 0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(Profile, WrongTypesAndSizesReadAsTheDefault)
{
    PutRaw("TextWhereNumber", REG_SZ, "12", 3);
    const DWORD number = 9;
    PutRaw("NumberWhereText", REG_DWORD, &number, sizeof(number));
    const BYTE shortDword[2] = {1, 2};
    PutRaw("ShortDword", REG_DWORD, shortDword, 2);
    PutRaw("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    const char unterminated[] = {'a', 'b'};
    PutRaw("Unterminated", REG_SZ, unterminated, 2);

    EXPECT_EQ(app.GetProfileInt("Capture", "TextWhereNumber", -1), -1);
    EXPECT_EQ(app.GetProfileString("Capture", "NumberWhereText", "dflt"), "dflt");
    EXPECT_EQ(app.GetProfileInt("Capture", "ShortDword", 4), 4);
    EXPECT_EQ(app.GetProfileString("Capture", "Expand", "dflt"), "dflt");
    EXPECT_EQ(app.GetProfileString("Capture", "Unterminated", ""), "ab");
}

TEST_F(Profile, NullValueDeletesTheEntryAndNullEntryTheSection)
{
    ASSERT_TRUE(app.WriteProfileString("Capture", "A", "1"));
    ASSERT_TRUE(app.WriteProfileString("Capture", "B", "2"));
    ASSERT_TRUE(app.WriteProfileString("Capture", "A", nullptr));
    EXPECT_EQ(app.GetProfileString("Capture", "A", "gone"), "gone");
    EXPECT_EQ(app.GetProfileString("Capture", "B", ""), "2");
    ASSERT_TRUE(app.WriteProfileString("Capture", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileString("Capture", "B", "gone"), "gone");
    EXPECT_EQ(TypeOf("B"), 0u);
}

// One store reads a section through a key it keeps open: what it, another store or another
// program writes or deletes meanwhile still reads as it is in the registry.
TEST_F(Profile, AStoreKeepingItsSectionOpenReadsWhatIsThereNow)
{
    const auto other = [] { return framework::ProfileStore(HKEY_CURRENT_USER, "FrameworkTestKey", "Tests"); };
    const framework::ProfileStore store = other();
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), -1);  // no section yet
    ASSERT_TRUE(store.WriteInt("Capture", "Bitrate", 5));
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), 5);
    ASSERT_TRUE(other().WriteInt("Capture", "Bitrate", 6));
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), 6);

    // A value longer than any first guess reads whole, and a copy of the store shares its keys.
    const std::string longText(1000, 'x');
    PutRaw("Long", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));
    const framework::ProfileStore copy = store;
    EXPECT_EQ(copy.GetString("Capture", "Long", ""), longText);

    // Deleted and made again by another store, or deleted by this one: read anew.
    ASSERT_TRUE(other().DeleteSection("Capture"));
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), -1);
    ASSERT_TRUE(other().WriteInt("Capture", "Bitrate", 7));
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), 7);
    ASSERT_TRUE(store.DeleteSection("Capture"));
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), -1);
    PutRaw("Bitrate", REG_DWORD, "\x08\0\0\0", 4);
    EXPECT_EQ(store.GetInt("Capture", "Bitrate", -1), 8);
    EXPECT_EQ(copy.GetInt("Capture", "Bitrate", -1), 8);

    // A store moved from still reads.
    framework::ProfileStore source = other();
    const framework::ProfileStore target = std::move(source);
    EXPECT_EQ(target.GetInt("Capture", "Bitrate", -1), 8);
    EXPECT_EQ(source.GetInt("Capture", "Bitrate", -1), 8);  // NOLINT(bugprone-use-after-move)
}

TEST(ProfileWithoutKey, ReadsGiveDefaultsAndWritesFail)
{
    CWinApp bare("Bare");
    EXPECT_EQ(bare.GetProfileInt("S", "V", 12), 12);
    EXPECT_EQ(bare.GetProfileString("S", "V", "d"), "d");
    EXPECT_FALSE(bare.WriteProfileInt("S", "V", 1));
    EXPECT_FALSE(bare.WriteProfileString("S", "V", "x"));
}

TEST(Application, TheLastConstructedObjectIsTheApplication)
{
    CWinApp app("Named");
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(app.GetAppName(), "Named");
    EXPECT_EQ(AfxGetMainWnd(), nullptr);
    // Without a main window the loop ends at once with ExitInstance's result.
    EXPECT_EQ(app.Run(), 0);
    CWinApp unnamed;
    EXPECT_STREQ(unnamed.GetAppName(), "framework_tests");
}

}  // namespace

namespace {

class QuitCounter : public CWinApp {
public:
    QuitCounter() : CWinApp("QuitCounter") {}
    int exits = 0;
    BOOL initResult = FALSE;
    std::function<void()> init;
    BOOL InitInstance() override
    {
        if (init)
            init();
        return initResult;
    }
    int ExitInstance() override
    {
        ++exits;
        return 42;
    }
};

class Closer : public CWnd {
protected:
    void OnTimer(UINT_PTR) override { DestroyWindow(); }
};

TEST(Application, RunEndsWhenTheMainWindowIsDestroyed)
{
    QuitCounter app;
    Closer main;
    app.initResult = TRUE;
    app.init = [&] {
        ASSERT_TRUE(main.CreateEx(0, "STATIC", "main", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        app.m_pMainWnd = &main;
        main.SetTimer(1, 20);
    };
    EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW), 42);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(main.m_hWnd, nullptr);
}

TEST(Application, InitInstanceFalseEndsWithExitInstance)
{
    QuitCounter app;
    EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW), 42);
    EXPECT_EQ(app.exits, 1);
}

TEST(Application, AModalMainDialogEndsTheProgramWhenItCloses)
{
    // The start-up pattern of a dialog program: the main window runs modally inside
    // InitInstance, and its end leaves a quit message for the program.
    QuitCounter app;
    CDialog main(202u);
    app.init = [&] {
        app.m_pMainWnd = &main;
        struct Ender {
            static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD)
            {
                if (HWND dlg = FindWindowA("#32770", "Empty")) {
                    KillTimer(nullptr, id);
                    PostMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
                }
            }
        };
        SetTimer(nullptr, 0, 20, Ender::Fire);
        EXPECT_EQ(main.DoModal(), IDCANCEL);
    };
    EXPECT_EQ(AfxWinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW), 42);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
