// Test helpers for the engine and text library tests.
#include "EngineTestSupport.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestSupport.h"

namespace fs = std::filesystem;

namespace enginetest {

namespace {

std::string Backslashed(std::string path)
{
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

}  // namespace

std::string DataDir()
{
    return Backslashed(SKIN_TEST_DATA_DIR);
}

std::string BuiltSkinsDir()
{
    return Backslashed(SKIN_TEST_BUILT_DIR);
}

std::string ExeDir()
{
    return testsupport::ModuleDir();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string DialogElementText(const std::string& path, const std::string& name)
{
    const std::string all = ReadFile(path);
    const size_t start = all.find("DlgName=\"" + name + "\"");
    const size_t end = all.find("</QorDlg>", start);
    if (start == std::string::npos || end == std::string::npos)
        return {};
    return all.substr(start, end - start);
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

RecordingUi::RecordingUi()
    : previousEngine_(QorSetEngineUserInterface(this)), previousText_(QorSetTextUserInterface(this))
{
}

RecordingUi::~RecordingUi()
{
    QorSetEngineUserInterface(previousEngine_);
    QorSetTextUserInterface(previousText_);
}

bool RecordingUi::Shown(const std::string& fragment) const
{
    for (const auto& m : messages)
        if (m.text.find(fragment) != std::string::npos)
            return true;
    return false;
}

bool RecordingUi::AskDebugOptions(QorDebugOptions* options)
{
    ++debugDialogs;
    if (debugAnswer)
        *options = debugChoice;
    return debugAnswer;
}

bool RecordingUi::ChooseGraphicsScriptFile(std::string* path)
{
    ++graphicsPrompts;
    if (graphicsPromptAnswer)
        *path = graphicsPromptPath;
    return graphicsPromptAnswer;
}

bool RecordingUi::ChooseTextScriptFile(std::string* path)
{
    ++textPrompts;
    if (textPromptAnswer)
        *path = textPromptPath;
    return textPromptAnswer;
}

bool RecordingUi::ChooseSaveFile(const std::string&, std::string* chosen)
{
    ++saveDialogs;
    if (saveAnswer.empty())
        return false;
    *chosen = saveAnswer;
    return true;
}

int RecordingUi::ShowMessage(const std::string& text, const std::string& caption, unsigned style)
{
    messages.push_back({text, caption, style});
    return messageAnswer;
}

SkinFolder::SkinFolder()
{
    fs::remove_all(ExeDir() + "Skins");
    fs::create_directories(Path());
}

SkinFolder::~SkinFolder()
{
    std::error_code ignored;
    fs::remove_all(ExeDir() + "Skins", ignored);
}

std::string SkinFolder::Path() const
{
    return ExeDir() + "Skins\\Skin";
}

void SkinFolder::Copy(const std::string& source, const std::string& name) const
{
    fs::copy_file(DataDir() + source, Path() + "\\" + name, fs::copy_options::overwrite_existing);
}

void SkinFolder::CopyLibrary(const std::string& builtName) const
{
    fs::copy_file(BuiltSkinsDir() + builtName, ExeDir() + "Skins\\Skin.dll", fs::copy_options::overwrite_existing);
}

namespace {

const char* kAppSettings = "Software\\Corvale\\GraphicsEngineAppSettings\\";

}  // namespace

AppKey::AppKey(const std::string& name, bool create) : name_(name)
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str());
    if (create) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr);
        RegCloseKey(key);
    }
}

AppKey::~AppKey()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str());
}

void AppKey::SetDword(const char* value, DWORD data) const
{
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str(), value, REG_DWORD, &data, sizeof(data));
}

void AppKey::SetString(const char* value, const std::string& data) const
{
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, (kAppSettings + name_).c_str(), value, REG_SZ, data.c_str(),
                    static_cast<DWORD>(data.size() + 1));
}

ClientKey::ClientKey(const std::string& name) : subKey_("Software\\MarovinTests\\" + name)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegCloseKey(key);
}

ClientKey::~ClientKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, subKey_.c_str());
}

void ClientKey::SetString(const char* value, const std::string& data) const
{
    RegSetKeyValueA(HKEY_CURRENT_USER, subKey_.c_str(), value, REG_SZ, data.c_str(),
                    static_cast<DWORD>(data.size() + 1));
}

}  // namespace enginetest

namespace enginetest {

std::string OutputDirFile(const std::string& name)
{
    return testsupport::OutputDir() + name;
}

bool RunningEngine::Start()
{
    started = api.InitializeGraphicsEngine(app.Name(), "HKEY_CURRENT_USER\\Software\\MarovinTests\\NoSuchClient", 1033);
    return started;
}

void RunningEngine::Stop()
{
    if (started)
        api.ShutdownCleanup();
    started = false;
}

bool RunningEngine::Running()
{
    IXMLDOMDocument* document = nullptr;
    if (!started || !api.GetGraphicsDocument(&document))
        return false;
    document->Release();
    return true;
}

}  // namespace enginetest
