// Reading the skin graphics file.
#include "SkinFileModel.h"

#include <cstdlib>

#include "QorControlTypes.h"
#include "QorXmlDom.h"
#include "StoredPath.h"

namespace skelda::skinfile {

bool ReadText(IXMLDOMNode* element, const char* name, std::string* value)
{
    std::string text;
    if (!element || !qorxml::GetAttribute(element, name, &text) || text.empty())
        return false;
    *value = text;
    return true;
}

bool ReadInt(IXMLDOMNode* element, const char* name, int* value)
{
    std::string text;
    if (!ReadText(element, name, &text))
        return false;
    *value = static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
    return true;
}

bool ReadBool(IXMLDOMNode* element, const char* name, bool* value)
{
    int number = 0;
    if (!ReadInt(element, name, &number))
        return false;
    *value = number != 0;
    return true;
}

bool ReadControlIsVisible(IXMLDOMNode* element)
{
    bool visible = true;
    ReadBool(element, "ControlIsVisible", &visible);
    return visible;
}

namespace {

// The first node of `path` below `root` for which `match` holds.
bool FindFirst(IXMLDOMNode* root, const char* path, const std::function<bool(IXMLDOMNode*)>& match,
               win::ComPtr<IXMLDOMNode>* found)
{
    win::ComPtr<IXMLDOMNodeList> list;
    if (!root || !qorxml::SelectAll(root, path, &list))
        return false;
    long count = 0;
    list->get_length(&count);
    for (long i = 0; i < count; ++i) {
        win::ComPtr<IXMLDOMNode> item;
        if (SUCCEEDED(list->get_item(i, item.Put())) && item && match(item.Get())) {
            *found = item;
            return true;
        }
    }
    return false;
}

std::function<bool(IXMLDOMNode*)> AttributeEquals(const char* name, const std::string& expected)
{
    return [name, expected](IXMLDOMNode* node) {
        std::string value;
        return qorxml::GetAttribute(node, name, &value) && value == expected;
    };
}

}  // namespace

bool FindDialogByName(IXMLDOMNode* document, const std::string& name, win::ComPtr<IXMLDOMNode>* dialog)
{
    return FindFirst(document, "QorAppGraphics/QorDlg", AttributeEquals("DlgName", name), dialog);
}

bool FindDialogById(IXMLDOMNode* document, int id, win::ComPtr<IXMLDOMNode>* dialog)
{
    return FindFirst(document, "QorAppGraphics/QorDlg",
                     [id](IXMLDOMNode* node) {
                         int value = 0;
                         return ReadInt(node, "DlgIdValue", &value) && value == id;
                     },
                     dialog);
}

bool FindMessageDialog(IXMLDOMNode* document, win::ComPtr<IXMLDOMNode>* dialog)
{
    return document && qorxml::SelectSingle(document, "QorAppGraphics/QorMessageDlg", dialog);
}

bool FindButtonByName(IXMLDOMNode* dialog, const std::string& name, win::ComPtr<IXMLDOMNode>* button)
{
    return FindFirst(dialog, "QorBtnControl", AttributeEquals("ControlName", name), button);
}

bool FindButtonById(IXMLDOMNode* dialog, int id, win::ComPtr<IXMLDOMNode>* button)
{
    return FindFirst(dialog, "QorBtnControl", AttributeEquals("ControlIdValue", std::to_string(id)), button);
}

bool FindControlById(IXMLDOMNode* dialog, int id, win::ComPtr<IXMLDOMNode>* control)
{
    static const char* const kinds[] = {"QorBtnControl", "QorTransStaticControl", "QorSliderControl",
                                        "QorEditControl", "QorGenericControl"};
    const auto match = AttributeEquals("ControlIdValue", std::to_string(id));
    for (const char* kind : kinds)
        if (FindFirst(dialog, kind, match, control))
            return true;
    return false;
}

bool ResolveStoredPath(const std::string& parentFolder, bool usingResource, std::string* path)
{
    if (usingResource)
        return true;
    return ToAbsoluteStoredPath(parentFolder, path);
}

namespace {

const char* const kStateNames[4] = {"ControlUpBitmapFile", "ControlDownBitmapFile", "ControlFocusBitmapFile",
                                    "ControlDisabledBitmapFile"};

void ReadStoredFile(IXMLDOMNode* element, const std::string& name, const PathContext& paths, std::string* path)
{
    std::string stored;
    if (ReadText(element, name.c_str(), &stored) && ResolveStoredPath(paths.parentFolder, paths.usingResource, &stored))
        *path = stored;
}

}  // namespace

void ReadButtonData(IXMLDOMNode* button, const TemplateLookup& templates, const PathContext& paths,
                    bool transparentRadio, ButtonDataStruct* data)
{
    *data = ButtonDataStruct{};
    ReadText(button, "ControlName", &data->controlName);
    ReadText(button, "GraphicsTemplate", &data->templateName);
    IXMLDOMNode* source = button;
    if (!data->templateName.empty() && templates) {
        if (IXMLDOMNode* found = templates(data->templateName)) {
            source = found;
            data->usingTemplate = true;
        }
    }
    for (int identity = 0; identity < 4; ++identity)
        for (int state = 0; state < 4; ++state) {
            std::string name = kStateNames[state];
            if (identity > 0)
                name += static_cast<char>('0' + identity);
            ReadStoredFile(source, name, paths, &data->bitmapFiles[state + 4 * identity]);
        }
    ReadInt(button, "ControlXOffset", &data->x[0]);
    ReadInt(button, "ControlYOffset", &data->y[0]);
    for (int group = 2; group <= 4; ++group) {
        ReadInt(button, ("ControlXOffset" + std::to_string(group)).c_str(), &data->x[group - 1]);
        ReadInt(button, ("ControlYOffset" + std::to_string(group)).c_str(), &data->y[group - 1]);
    }
    if (transparentRadio) {
        ReadInt(button, "TransparentRadioHeight", &data->transparentRadioHeight);
        ReadInt(button, "TransparentRadioWidth", &data->transparentRadioWidth);
        ReadBool(button, "TransparentRadioBtnLeftJustified", &data->transparentRadioBtnLeftJustified);
        ReadBool(button, "TransparentRadioTextLeftJustified", &data->transparentRadioTextLeftJustified);
    }
}

std::vector<AuxBitmapEntry> ReadAuxBitmapEntries(IXMLDOMNode* dialog, const PathContext& paths)
{
    std::vector<AuxBitmapEntry> entries;
    win::ComPtr<IXMLDOMNodeList> list;
    if (!dialog || !qorxml::SelectAll(dialog, "QorAuxBitmapFilename", &list))
        return entries;
    long count = 0;
    list->get_length(&count);
    for (long i = 0; i < count; ++i) {
        win::ComPtr<IXMLDOMNode> item;
        if (FAILED(list->get_item(i, item.Put())) || !item)
            continue;
        AuxBitmapEntry entry;
        if (!ReadText(item.Get(), "BitmapFile", &entry.path) || !ReadInt(item.Get(), "EntryId", &entry.entryId))
            continue;
        if (!ResolveStoredPath(paths.parentFolder, paths.usingResource, &entry.path))
            continue;
        ReadText(item.Get(), "EntryName", &entry.entryName);
        entries.push_back(entry);
    }
    return entries;
}

std::string ControlTypeDisplayName(int type)
{
    switch (type) {
    case eQorButton: return "Button";
    case eQorTransparentStatic: return "TransparentStatic";
    case eQorEdit: return "Edit";
    case eQorSlider: return "Slider";
    case eQorGenericComboBox: return "Generic Combo Box";
    case eQorGenericProgressBar: return "Generic Progress Bar";
    case eQorGenericSlider: return "Generic Slider";
    case eQorGenericListControl: return "Generic List Control";
    case eQorGenericSpinControl: return "Generic Spin Control";
    case eQorGenericPlacementControl: return "Generic Placement Control";
    default: return " <Unknown>";
    }
}

}  // namespace skelda::skinfile
