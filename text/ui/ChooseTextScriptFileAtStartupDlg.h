#pragma once
// "Choose Text Script File": shown when the text file is opened with prompting switched on.
#include <framework/Framework.h>

#include <string>

namespace lorvane {

class ChooseTextScriptFileAtStartupDlg : public CXmlFilePromptDialog {
public:
    explicit ChooseTextScriptFileAtStartupDlg(const std::string& path);
};

}  // namespace lorvane
