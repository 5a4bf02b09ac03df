#pragma once
// "Choose Parent Directory For Files": the folder against which the skin's stored bitmap
// paths are resolved. OK takes only an existing folder from which every bitmap that is found
// today is still found; otherwise it names what is wrong and the dialog stays open.
#include <framework/Framework.h>

#include <string>
#include <vector>

namespace skelda::editing {

class EParentFolderDlg : public CDialog {
public:
    EParentFolderDlg(std::string current, std::vector<std::string> storedPaths, CWnd* parent);
    // The chosen folder, ending in a backslash.
    const std::string& Folder() const { return m_folder; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_current, m_folder;
    std::vector<std::string> m_storedPaths;
};

}  // namespace skelda::editing
