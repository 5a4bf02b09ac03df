#pragma once
// "Choose Text Script File": shown when the text file is opened with prompting switched on.
#include <framework/Framework.h>

#include <string>

namespace lorvane {

class ChooseTextScriptFileAtStartupDlg : public CDialog {
public:
    explicit ChooseTextScriptFileAtStartupDlg(const std::string& path);
    const std::string& Path() const { return path_; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnBrowse();
    std::string path_;
};

// A file-save dialog for XML files on `current`.
bool ChooseXmlFileToSave(const std::string& current, std::string* chosen);

}  // namespace lorvane
