#pragma once
// Reads and writes the text settings of a control or template element in the fixed attribute
// order: reading stops at the first attribute that is missing or not a number, leaving the
// fields read so far filled.
#include <windows.h>
#include <msxml2.h>

#include <vector>

#include "QorTextTypes.h"

namespace lorvane {

struct TextField {
    enum Kind { Flag, Number, Color };
    const char* name;
    Kind kind;
    void* target;  // bool*, int* or COLORREF*
};

std::vector<TextField> ButtonFields(QorButtonTextSettings* s);
std::vector<TextField> StaticFields(QorStaticTextSettings* s);
std::vector<TextField> EditFields(QorEditTextSettings* s);
std::vector<TextField> ColorFields(QorTextColors* c);

bool ReadFields(IXMLDOMNode* element, const std::vector<TextField>& fields);
bool WriteFields(IXMLDOMNode* element, const std::vector<TextField>& fields);

// LOGFONT <-> "QorFontInfo" attributes. Reading clears the structure first.
bool ReadLogFont(IXMLDOMNode* fontElement, LOGFONTA* font);
bool WriteLogFont(IXMLDOMNode* fontElement, const LOGFONTA& font);

}  // namespace lorvane
