#pragma once
// The skin file's side of a generic control ("QorGenericControl"): its type names, its
// placement and the child a placement control positions. Works on any IXMLDOMNode, so it is
// tested on small documents without a window.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "QorControlTypes.h"

namespace skelda::controls {

struct GenericControlData {
    int x = 0, y = 0, width = 0, height = 0;
    bool hasPosition = false;  // both offsets present
    bool hasSize = false;      // both width and height present
    bool visible = true;
    std::string typeName;      // "ControlType" as written
    int childControlId = 0;    // the placement control's child; 0 for "NONE" or none
};

// "GenericComboBox" ... "GenericPlacementControl"; empty for any other code.
std::string GenericTypeName(int type);
// The generic kind a "ControlType" text names, -1 for an unknown text.
int GenericTypeFromName(const std::string& name);

// The generic kind a dialog item binds as: the one its element's "ControlType" names, or, when
// the element names none (absent, empty or unknown), the kind of the item's window class
// ("ComboBox", "msctls_progress32", "msctls_trackbar32", "SysListView32", "msctls_updown32",
// "Button"; any case). -1 when neither says.
int GenericKindToBind(const std::string& controlType, const std::string& windowClass);

// Reads a "QorGenericControl" element; absent or empty attributes keep their defaults.
void ReadGenericControl(IXMLDOMNode* element, GenericControlData* data);
// Writes the placement, visibility, type and (for placement controls) child of a control.
bool WriteGenericControl(IXMLDOMNode* element, int type, int controlId, const GenericControlData& data);

}  // namespace skelda::controls
