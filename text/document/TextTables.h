#pragma once
// The in-memory tables of an open text document, built by one walk over it: messages,
// captions and tooltips, control and dialog elements, and the template lists.
#include <windows.h>
#include <msxml2.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <win/ComPtr.h>

namespace lorvane {

using ControlKey = std::pair<int, int>;  // (dialog id, control id)
using NamedElement = std::pair<std::string, win::ComPtr<IXMLDOMNode>>;

// The wide-character message table holds at most this many entries.
constexpr size_t kMaxWideMessages = 2000;

struct TextTables {
    std::map<int, std::string> messages;
    std::map<int, std::wstring> wideMessages;
    std::map<ControlKey, std::string> captions;
    std::map<ControlKey, std::string> tooltips;
    std::map<ControlKey, win::ComPtr<IXMLDOMNode>> controls;
    std::map<int, win::ComPtr<IXMLDOMNode>> dialogs;
    std::vector<NamedElement> buttonTemplates;   // document order
    std::vector<NamedElement> staticTemplates;
    std::vector<NamedElement> editTemplates;

    void Clear();
    // Enters one control element of a dialog (caption, tooltip, element).
    void AddControl(int dialogId, IXMLDOMNode* control);
    IXMLDOMNode* Control(int dialogId, int controlId) const;
    IXMLDOMNode* Dialog(int dialogId) const;
    // First template of that name in document order, or null.
    IXMLDOMNode* Template(int kind, const std::string& name) const;
    std::vector<NamedElement>* Templates(int kind);
};

// Control element names of the text file, indexed by QorTextControlKind.
extern const char* const kControlElementNames[6];
bool IsControlElementName(const std::string& name);

// Fills `tables` from the children of the "QorAppText" element. Ids are decimal text; entries
// with ids that are not numbers are skipped; a later entry with the same key replaces an
// earlier one.
void BuildTextTables(IXMLDOMNode* documentElement, TextTables* tables);

}  // namespace lorvane
