#pragma once
// The rules of the fields in the control editing dialogs, without windows: what a typed
// number, size or colour must look like and the message that refuses it, and which bitmap
// attributes of a button hold which state of which identity.
#include <string>

namespace skelda::editing {

enum class FieldKind {
    kNumber,   // any 32-bit signed number (offsets)
    kSize,     // 0 to 32767 pixels
    kColour,   // a COLORREF, 0 to 0xFFFFFF
    kFlag,     // a check box stored as "1" or "0"
    kBitmap,   // a bitmap file, stored relative to the skin folder
    kStyle,    // an edit's background: two radio buttons stored as "0" and "2"
};

struct FieldCheck {
    bool accepted = false;
    std::string value;  // the text to store when accepted
    std::string message, caption;  // why not, when refused
};

// Checks the text typed into a number, size or colour field. Blanks around the number are
// allowed; signs only for kNumber; nothing else.
FieldCheck CheckNumberField(FieldKind kind, const std::string& typed);

// "ControlUpBitmapFile", "ControlDownBitmapFile2", ...: the attribute of slot `state` + 4 x
// `identity`.
std::string ButtonBitmapAttribute(int state, int identity);

}  // namespace skelda::editing
