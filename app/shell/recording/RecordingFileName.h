#pragma once
// The file name of a recording chosen in the save dialog (the "ask for a name" setting).
#include <framework/Framework.h>

#include <functional>
#include <optional>
#include <string>

#include "CaptureSettings.h"
#include "ClipName.h"

namespace recording {

// Where the name after the last separator begins; a 0x5C that ends a double-byte character
// is no separator.
std::size_t FilePartStart(const std::string& path);
// Whether the file part has an extension (a dot followed by at least one character).
bool HasExtension(const std::string& path);
// The path up to and including its last separator; empty for a bare name.
std::string FolderOf(const std::string& path);

// The save dialog and its questions, replaceable for tests.
class SaveNamePrompt {
public:
    // The save dialog opened on `folder` with filter `filterIndex` (updated to the user's
    // choice); nothing when cancelled.
    virtual std::optional<std::string> AskName(const std::string& folder, int& filterIndex) = 0;
    virtual bool FileExists(const std::string& path) const = 0;
    // Whether an existing recording may be replaced (Yes) or the dialog shown again (No).
    virtual bool ConfirmReplace(const std::string& path) = 0;

protected:
    ~SaveNamePrompt() = default;
};

// Asks for the recording's name: a name without extension gets ".mpg" (asking first when that
// file exists), the dialog's folder and filter index are remembered in the settings, and a
// name longer than the recording chain takes is refused.
NameChoice AskRecordingFileName(SaveNamePrompt& prompt, settings::CaptureSettings& s);

// The system's save dialog. `filter` is the filter text with "|" separators; the texts are
// the window's (title 1029, filter 2256, question 2258, caption 102). The current directory
// is put back after the dialog.
class SystemSaveNamePrompt final : public SaveNamePrompt {
public:
    struct Texts {
        std::string title;
        std::string filter;
        std::string replaceQuestion;
        std::string caption;
    };
    // The Yes/No question box (the skinned one); without it the system's message box.
    using YesNoBox = std::function<bool(const std::string& question, const std::string& caption)>;
    SystemSaveNamePrompt(CWnd* owner, Texts texts, YesNoBox askYesNo = {})
        : m_owner(owner), m_texts(std::move(texts)), m_askYesNo(std::move(askYesNo))
    {
    }

    std::optional<std::string> AskName(const std::string& folder, int& filterIndex) override;
    bool FileExists(const std::string& path) const override;
    bool ConfirmReplace(const std::string& path) override;

private:
    CWnd* m_owner;
    Texts m_texts;
    YesNoBox m_askYesNo;
};

}  // namespace recording
