#include "RecordingFileName.h"

#include <framework/FileDialog.h>

#include <vector>

namespace recording {

std::size_t FilePartStart(const std::string& path)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size();) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        if (::IsDBCSLeadByte(c) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':')
            start = i + 1;
        ++i;
    }
    return start;
}

bool HasExtension(const std::string& path)
{
    const std::size_t dot = path.find_last_of('.');
    return dot != std::string::npos && dot >= FilePartStart(path) && dot + 1 < path.size();
}

std::string FolderOf(const std::string& path)
{
    return path.substr(0, FilePartStart(path));
}

NameChoice AskRecordingFileName(SaveNamePrompt& prompt, settings::CaptureSettings& s)
{
    for (;;) {
        const std::optional<std::string> chosen = prompt.AskName(s.recordingFolder, s.saveFilterIndex);
        if (!chosen || chosen->empty())
            return {};
        const bool bare = !HasExtension(*chosen);
        const std::string name = bare ? *chosen + ".mpg" : *chosen;
        // The dialog asked about the name as typed; the ".mpg" file is ours to ask about.
        if (bare && prompt.FileExists(name) && !prompt.ConfirmReplace(name))
            continue;
        s.lastSaveFolder = FolderOf(*chosen);
        if (name.size() > kMaxRecordingPath)
            return TooLongName(name.size());
        return {NameChoice::kNamed, name, ""};
    }
}

std::optional<std::string> SystemSaveNamePrompt::AskName(const std::string& folder, int& filterIndex)
{
    std::vector<char> current(MAX_PATH * 2, '\0');
    const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(current.size()), current.data());
    CFileDialog dialog(FALSE, nullptr, nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                       m_texts.filter.c_str(), m_owner);
    dialog.SetTitle(m_texts.title.c_str());
    if (!folder.empty())
        dialog.SetInitialDir(folder.c_str());
    dialog.m_ofn.nFilterIndex = filterIndex > 0 ? static_cast<DWORD>(filterIndex) : 1;
    const INT_PTR answer = dialog.DoModal();
    if (length > 0 && length < current.size())
        ::SetCurrentDirectoryA(current.data());
    if (answer != IDOK)
        return std::nullopt;
    filterIndex = static_cast<int>(dialog.m_ofn.nFilterIndex);
    return dialog.GetPathName();
}

bool SystemSaveNamePrompt::FileExists(const std::string& path) const
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemSaveNamePrompt::ConfirmReplace(const std::string&)
{
    if (m_askYesNo)
        return m_askYesNo(m_texts.replaceQuestion, m_texts.caption);
    const HWND owner = m_owner ? m_owner->m_hWnd : nullptr;
    return ::MessageBoxA(owner, m_texts.replaceQuestion.c_str(), m_texts.caption.c_str(),
                         MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace recording
