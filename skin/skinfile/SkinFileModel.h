#pragma once
// The skin graphics file: element lookups, attribute reading with "absent or empty means
// absent", stored paths, button data with templates and the auxiliary bitmap list. Works on
// any IXMLDOMNode, so it is tested on small documents without a running engine.
#include <windows.h>
#include <msxml2.h>

#include <functional>
#include <string>
#include <vector>

#include "ButtonDataStruct.h"
#include <win/ComPtr.h>

namespace skelda::skinfile {

// Attribute readers: false (and the output untouched) when the attribute is absent or empty.
bool ReadText(IXMLDOMNode* element, const char* name, std::string* value);
bool ReadInt(IXMLDOMNode* element, const char* name, int* value);
bool ReadBool(IXMLDOMNode* element, const char* name, bool* value);
// "ControlIsVisible": only 0 hides; absent (or no element) means visible.
bool ReadControlIsVisible(IXMLDOMNode* element);

// The first "QorAppGraphics/QorDlg" whose "DlgName" equals `name` exactly.
bool FindDialogByName(IXMLDOMNode* document, const std::string& name, win::ComPtr<IXMLDOMNode>* dialog);
// The first "QorAppGraphics/QorDlg" whose "DlgIdValue" is `id`.
bool FindDialogById(IXMLDOMNode* document, int id, win::ComPtr<IXMLDOMNode>* dialog);
bool FindMessageDialog(IXMLDOMNode* document, win::ComPtr<IXMLDOMNode>* dialog);

// Among the dialog's "QorBtnControl" children: by "ControlName", or by "ControlIdValue" text
// equal to `id` written in decimal ("007" is not 7).
bool FindButtonByName(IXMLDOMNode* dialog, const std::string& name, win::ComPtr<IXMLDOMNode>* button);
bool FindButtonById(IXMLDOMNode* dialog, int id, win::ComPtr<IXMLDOMNode>* button);
// Buttons, transparent statics, sliders, edits and generic controls, in that order.
bool FindControlById(IXMLDOMNode* dialog, int id, win::ComPtr<IXMLDOMNode>* control);

// The path a stored file name stands for: the text itself (a resource name) when the skin
// comes from a resource library, else resolved against `parentFolder`. False when the
// stored path is absolute outside the parent folder.
bool ResolveStoredPath(const std::string& parentFolder, bool usingResource, std::string* path);

struct PathContext {
    std::string parentFolder;
    bool usingResource = false;
};

// Finds a button template by name (null: none).
using TemplateLookup = std::function<IXMLDOMNode*(const std::string&)>;

// Fills `data` from a "QorBtnControl" element; the bitmaps come from the named template when
// it exists. `transparentRadio` reads the four transparent radio attributes too.
void ReadButtonData(IXMLDOMNode* button, const TemplateLookup& templates, const PathContext& paths,
                    bool transparentRadio, ButtonDataStruct* data);

struct AuxBitmapEntry {
    int entryId = 0;
    std::string entryName;
    std::string path;
};

// The dialog's "QorAuxBitmapFilename" children that have both "BitmapFile" and "EntryId".
std::vector<AuxBitmapEntry> ReadAuxBitmapEntries(IXMLDOMNode* dialog, const PathContext& paths);

// "Button", "TransparentStatic", ... and " <Unknown>" for other codes.
std::string ControlTypeDisplayName(int type);

}  // namespace skelda::skinfile
