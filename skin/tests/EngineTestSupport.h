#pragma once
// Helpers for the engine tests: a recording user-interface surface, skin folders laid out
// next to the test program, and per-application registry keys that clean up after themselves.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "QorEngineUserInterface.h"
#include "QorGraphicsEngineAPI.h"
#include "QorTextUserInterface.h"

namespace enginetest {

std::string DataDir();       // the test skins' sources, ending in a backslash
std::string BuiltSkinsDir(); // the built resource libraries, ending in a backslash
std::string ExeDir();        // the test program's folder, ending in a backslash
// A file in this test's artefact folder.
std::string OutputDirFile(const std::string& name);
std::string ReadFile(const std::string& path);
bool WriteFile(const std::string& path, const std::string& bytes);
// The element of dialog `name` in the skin graphics file at `path`, as text from its name to
// its end tag; empty when the file holds no such dialog.
std::string DialogElementText(const std::string& path, const std::string& name);

struct ShownMessage {
    std::string text, caption;
    unsigned style;
};

// Answers every question as told and records every message.
class RecordingUi : public QorEngineUserInterface, public QorTextUserInterface {
public:
    RecordingUi();
    ~RecordingUi() override;

    bool debugAnswer = false;  // OK (true) or Cancel
    QorDebugOptions debugChoice;
    bool graphicsPromptAnswer = false;
    std::string graphicsPromptPath;
    bool textPromptAnswer = false;
    std::string textPromptPath;
    std::string saveAnswer;     // empty: cancel the save dialog
    int messageAnswer = IDOK;

    int debugDialogs = 0, graphicsPrompts = 0, textPrompts = 0, saveDialogs = 0;
    std::vector<ShownMessage> messages;
    bool Shown(const std::string& fragment) const;

    bool AskDebugOptions(QorDebugOptions* options) override;
    bool ChooseGraphicsScriptFile(std::string* path) override;
    bool ChooseTextScriptFile(std::string* path) override;
    bool ChooseSaveFile(const std::string& current, std::string* chosen) override;
    int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;

private:
    QorEngineUserInterface* previousEngine_;
    QorTextUserInterface* previousText_;
};

// "Skins\Skin" (and optionally "Skins\Skin.dll") next to the test program, removed again.
class SkinFolder {
public:
    SkinFolder();
    ~SkinFolder();
    std::string Path() const;  // ...\Skins\Skin, without a trailing backslash
    void Copy(const std::string& source, const std::string& name) const;
    void CopyLibrary(const std::string& builtName) const;  // becomes ...\Skins\Skin.dll
};

// The framework's per-application key for a test application, deleted at the end.
class AppKey {
public:
    explicit AppKey(const std::string& name, bool create = true);
    ~AppKey();
    const std::string& Name() const { return name_; }
    void SetDword(const char* value, DWORD data) const;
    void SetString(const char* value, const std::string& data) const;

private:
    std::string name_;
};

// A client key below HKEY_CURRENT_USER\Software, deleted at the end.
class ClientKey {
public:
    explicit ClientKey(const std::string& name);
    ~ClientKey();
    std::string FullPath() const { return "HKEY_CURRENT_USER\\" + subKey_; }
    void SetString(const char* value, const std::string& data) const;

private:
    std::string subKey_;
};

// The engine over a skin folder next to the test program, for a test application with a
// client key that does not exist; shut down when destroyed. The recording interface is made
// first and goes last, so it answers for the engine all its life.
class RunningEngine {
public:
    explicit RunningEngine(const std::string& appName) : app(appName) {}
    ~RunningEngine() { Stop(); }
    RunningEngine(const RunningEngine&) = delete;
    RunningEngine& operator=(const RunningEngine&) = delete;

    bool Start();
    void Stop();
    // Started and holding its graphics document.
    bool Running();

    RecordingUi ui;
    SkinFolder folder;
    AppKey app;
    QorGraphicsEngineAPI api;
    bool started = false;
};

// The one engine a test program's fixtures share; each program's environment starts it over
// its own skin and derives from this for the rest.
class SharedEngine {
public:
    static std::unique_ptr<RunningEngine>& Slot()
    {
        static std::unique_ptr<RunningEngine> engine;
        return engine;
    }
    static void Stop() { Slot().reset(); }
    static bool Running() { return Slot() && Slot()->Running(); }
    static RecordingUi& Ui() { return Slot()->ui; }
    static std::string SkinPath() { return Slot()->folder.Path(); }  // no trailing backslash
};

}  // namespace enginetest
