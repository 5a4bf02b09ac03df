#pragma once
// A dialog that asks for one XML file: an edit field with the path and a browse button that
// opens the system's chooser on it. The template (edit and button ids) belongs to the caller.
#include <string>

#include "framework/Dialog.h"
#include "framework/FrameworkApi.h"

class FRAMEWORK_API CXmlFilePromptDialog : public CDialog {
public:
    CXmlFilePromptDialog(UINT templateId, HINSTANCE resourceModule, int pathEditId, int browseButtonId,
                         const std::string& path);
    const std::string& Path() const { return m_path; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void OnBrowse();
    int m_pathEditId;
    std::string m_path;
};

// A save dialog for an XML file starting on `current` (read-only box hidden, overwrite asked).
// False when cancelled or when no name was given.
FRAMEWORK_API bool ChooseXmlFileToSave(const std::string& current, std::string* chosen);

// The module (exe or DLL) that holds `address`: lets a library find its own resources.
FRAMEWORK_API HINSTANCE AfxModuleOfAddress(const void* address);
