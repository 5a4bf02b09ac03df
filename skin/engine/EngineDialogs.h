#pragma once
// The graphics engine's own dialogs: the debug options and the graphics file prompt.
#include <framework/Framework.h>

#include <string>

#include "QorEngineUserInterface.h"

namespace skelda {

// "Graphics Debug Options": three check boxes, all unchecked when it opens.
class EGraphicsDebugOptionsDlg : public CDialog {
public:
    EGraphicsDebugOptionsDlg();
    QorDebugOptions Options() const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    int reportMissingBitmaps_ = 0, assertOnMissingEntries_ = 0, reportLoadFailures_ = 0;
};

// "Choose Graphics Script File": the current path in an edit field, with a file chooser.
class EChooseGraphicsScriptFileDlg : public CXmlFilePromptDialog {
public:
    explicit EChooseGraphicsScriptFileDlg(const std::string& path);
};

}  // namespace skelda
