// The control editing dialogs' common working: fields in, checks, browse, values out.
#include "EAttributeDlg.h"

#include "EBitmapUtilities.h"
#include "EGERegistryMgr_API.h"
#include "EditingMessages.h"
#include "GraphicsEngineState.h"
#include "SkinFileModel.h"
#include "framework/FileDialog.h"

namespace skelda::editing {
namespace {

HINSTANCE ThisModule()
{
    return AfxModuleOfAddress(reinterpret_cast<const void*>(&ThisModule));
}

void Say(const std::string& text, const std::string& caption)
{
    EngineUserInterface().ShowMessage(text, caption, MB_OK | MB_ICONEXCLAMATION);
}

// The stored path a typed one becomes: relative to the skin folder when it lies inside it.
std::string StoredPath(const std::string& typed)
{
    std::string stored = typed;
    EGERegistryMgr_API::SetProperPathForStoringFilepath(EngineState().parentFolder, &stored);
    return stored;
}

// Loads the bitmap a stored path names, as the controls will; false after saying why not.
bool BitmapLoads(const std::string& stored, const std::string& caption)
{
    std::string path = stored;
    if (!skinfile::ResolveStoredPath(EngineState().parentFolder, EngineState().bitmapModule != nullptr, &path)) {
        Say("The bitmap file must lie in the skin folder " + EngineState().parentFolder + ":  " + stored, caption);
        return false;
    }
    HBITMAP bitmap = nullptr;
    if (!EBitmapUtilities::LoadDibSectionFromFile(path, &bitmap)) {
        Say(messages::kBitmapNotLoadedPrefix + path + messages::kBitmapNotLoadedSuffix, caption);
        return false;
    }
    ::DeleteObject(bitmap);
    return true;
}

}  // namespace

EAttributeDlg::EAttributeDlg(const AttributeForm& form, AttributeValues values, CWnd* parent)
    : CDialog(form.templateId, parent), m_form(form), m_values(std::move(values)), m_original(m_values)
{
    SetResourceModule(ThisModule());
    for (const FormField& field : m_form.fields)
        if (field.kind == FieldKind::kBitmap && field.extra)
            MapCommand(static_cast<UINT>(field.extra), BN_CLICKED, [this, &field] { Browse(field); });
}

BOOL EAttributeDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    for (const FormField& field : m_form.fields) {
        const std::string& value = m_values[field.attribute];
        switch (field.kind) {
        case FieldKind::kFlag:
            ::CheckDlgButton(m_hWnd, field.item, !value.empty() && value != "0" ? BST_CHECKED : BST_UNCHECKED);
            break;
        case FieldKind::kStyle:
            ::CheckRadioButton(m_hWnd, field.item, field.extra, value == "2" ? field.extra : field.item);
            break;
        case FieldKind::kColour:
        case FieldKind::kNumber:
        case FieldKind::kSize:
            ::SetDlgItemTextA(m_hWnd, field.item, value.empty() ? "0" : value.c_str());
            break;
        case FieldKind::kBitmap:
            ::SetDlgItemTextA(m_hWnd, field.item, value.c_str());
            break;
        }
    }
    return result;
}

std::string EAttributeDlg::Text(int item) const
{
    const HWND control = ::GetDlgItem(m_hWnd, item);
    std::string text(static_cast<size_t>(control ? ::GetWindowTextLengthA(control) : 0) + 1, '\0');
    text.resize(control ? static_cast<size_t>(::GetWindowTextA(control, text.data(), static_cast<int>(text.size())))
                        : 0);
    return text;
}

bool EAttributeDlg::Read(const FormField& field, std::string* value) const
{
    char title[128] = {};
    ::GetWindowTextA(m_hWnd, title, sizeof(title));
    switch (field.kind) {
    case FieldKind::kFlag:
        *value = ::IsDlgButtonChecked(m_hWnd, field.item) == BST_CHECKED ? "1" : "0";
        return true;
    case FieldKind::kStyle:
        *value = ::IsDlgButtonChecked(m_hWnd, field.extra) == BST_CHECKED ? "2" : "0";
        return true;
    case FieldKind::kBitmap: {
        const std::string typed = Text(field.item);
        const size_t first = typed.find_first_not_of(' ');
        *value = first == std::string::npos ? std::string() : StoredPath(typed.substr(first));
        // An unchanged path is not loaded again: the control already shows what it can of it.
        const auto original = m_original.find(field.attribute);
        if (value->empty() || (original != m_original.end() && original->second == *value))
            return true;
        return BitmapLoads(*value, title);
    }
    default: {
        const FieldCheck check = CheckNumberField(field.kind, Text(field.item));
        if (!check.accepted) {
            Say(check.message, check.caption);
            return false;
        }
        *value = check.value;
        return true;
    }
    }
}

void EAttributeDlg::OnOK()
{
    AttributeValues read = m_values;
    for (const FormField& field : m_form.fields) {
        if (!Read(field, &read[field.attribute])) {
            GotoDlgCtrl(::GetDlgItem(m_hWnd, field.item));
            return;
        }
    }
    if (m_formCheck) {
        const FieldCheck check = m_formCheck(read);
        if (!check.accepted) {
            Say(check.message, check.caption);
            return;
        }
    }
    m_values = std::move(read);
    EndDialog(IDOK);
}

std::vector<std::string> EAttributeDlg::Changed() const
{
    std::vector<std::string> changed;
    for (const FormField& field : m_form.fields) {
        const auto before = m_original.find(field.attribute);
        const auto after = m_values.find(field.attribute);
        std::string was = before == m_original.end() ? std::string() : before->second;
        // An absent number or flag reads as 0: writing 0 for it changes nothing.
        if (was.empty() && field.kind != FieldKind::kBitmap)
            was = "0";
        if (after != m_values.end() && after->second != was)
            changed.push_back(field.attribute);
    }
    return changed;
}

void EAttributeDlg::Browse(const FormField& field)
{
    std::string current = Text(field.item);
    skinfile::ResolveStoredPath(EngineState().parentFolder, EngineState().bitmapModule != nullptr, &current);
    CFileDialog chooser(TRUE, nullptr, current.c_str(), OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                        "BMP Files (*.bmp)|*.bmp||", this);
    if (chooser.DoModal() == IDOK && !chooser.GetPathName().empty())
        ::SetDlgItemTextA(m_hWnd, field.item, StoredPath(chooser.GetPathName()).c_str());
}

}  // namespace skelda::editing
