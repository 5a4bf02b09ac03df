#include "framework/FilePromptDialog.h"

#include "framework/DataExchange.h"
#include "framework/FileDialog.h"

namespace {
constexpr const char* kXmlFilter = "XML Files (*.xml)|*.xml||";
}

CXmlFilePromptDialog::CXmlFilePromptDialog(UINT templateId, HINSTANCE resourceModule, int pathEditId,
                                           int browseButtonId, const std::string& path)
    : CDialog(templateId), m_pathEditId(pathEditId), m_path(path)
{
    SetResourceModule(resourceModule);
    MapCommand(browseButtonId, BN_CLICKED, [this] { OnBrowse(); });
}

void CXmlFilePromptDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, m_pathEditId, m_path);
}

void CXmlFilePromptDialog::OnBrowse()
{
    UpdateData(TRUE);
    CFileDialog chooser(TRUE, nullptr, m_path.c_str(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kXmlFilter, this);
    chooser.SetTitle("Select Script File");
    if (chooser.DoModal() == IDOK) {
        m_path = chooser.GetPathName();
        UpdateData(FALSE);
    }
}

bool ChooseXmlFileToSave(const std::string& current, std::string* chosen)
{
    CFileDialog chooser(FALSE, nullptr, current.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kXmlFilter);
    if (chooser.DoModal() != IDOK || chooser.GetPathName().empty())
        return false;
    *chosen = chooser.GetPathName();
    return true;
}

HINSTANCE AfxModuleOfAddress(const void* address)
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCSTR>(address), &module);
    return module;
}
