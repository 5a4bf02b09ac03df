#include "FolderBrowser.h"

#include <framework/FolderDialog.h>

namespace recording {

namespace {

class CurrentSelectionBrowser : public CFolderDialog {
public:
    CurrentSelectionBrowser(CWnd* owner, std::string startFolder, UINT flags)
        : CFolderDialog("Current Selection", flags | BIF_STATUSTEXT, owner), m_start(std::move(startFolder))
    {
    }

protected:
    void OnInitialized() override
    {
        if (!m_start.empty())
            SetSelection(m_start.c_str());
        SetStatusText(BrowserStatusText(m_start).c_str());
    }
    void OnSelChanged(const std::string& path) override { SetStatusText(BrowserStatusText(path).c_str()); }

private:
    std::string m_start;
};

}  // namespace

std::string BrowserStatusText(const std::string& path, const std::function<bool(unsigned char)>& isLeadByte)
{
    if (path.size() <= kStatusPathChars)
        return path;
    const auto lead = [&](unsigned char c) { return isLeadByte ? isLeadByte(c) : ::IsDBCSLeadByte(c) != FALSE; };
    size_t cut = 0;
    while (cut < kStatusPathChars) {
        const size_t step = lead(static_cast<unsigned char>(path[cut])) ? 2 : 1;
        if (cut + step > kStatusPathChars)
            break;
        cut += step;
    }
    return path.substr(0, cut) + "...";
}

std::optional<std::string> BrowseForFolder(CWnd* owner, const std::string& startFolder, UINT flags)
{
    CurrentSelectionBrowser browser(owner, startFolder, flags);
    if (browser.DoModal() != IDOK)
        return std::nullopt;
    const std::string chosen = browser.GetFolderPath();
    if (chosen.empty())
        return std::nullopt;
    return chosen;
}

}  // namespace recording
