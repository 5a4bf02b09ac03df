#pragma once
// Value records filled by the text library's getters. Fields appear in the order in which the
// attributes are read: a getter that meets a missing attribute stops there and leaves the
// fields already read filled.
#include <windows.h>

#include <string>

struct QorButtonTextSettings {
    bool centerHorizontally = false;
    bool centerVertically = false;
    int xOffsetUp = 0, yOffsetUp = 0;
    int xOffsetDown = 0, yOffsetDown = 0;
    int xOffsetFocus = 0, yOffsetFocus = 0;
    int xOffsetDisabled = 0, yOffsetDisabled = 0;
    COLORREF textColor[3] = {};          // text, shadow, hilite
    COLORREF disabledTextColor[3] = {};
    bool threeD = false, indented = false, useHilite = false, useShadow = false;
};

struct QorStaticTextSettings {
    bool centerHorizontally = false;
    bool centerVertically = false;
    int xOffset = 0, yOffset = 0;
    COLORREF textColor[3] = {};
    COLORREF disabledTextColor[3] = {};
    bool threeD = false, indented = false, useHilite = false, useShadow = false;
};

struct QorEditTextSettings {
    int alignment = 0;
    bool centerHorizontally = false;
    bool centerVertically = false;
    COLORREF textColor = 0, disabledTextColor = 0, backgroundColor = 0;
};

// "TextColor1".."3", "DownTextColor1".."3", "FocusTextColor1".."3", "DisabledTextColor1".."3".
struct QorTextColors {
    COLORREF text[3] = {};
    COLORREF down[3] = {};
    COLORREF focus[3] = {};
    COLORREF disabled[3] = {};
};

// What a dialog's entry gives the whole dialog: its name, and a text colour and a font that
// every control of the dialog may be given at once.
struct QorDialogTextValues {
    std::string name;  // "DlgName"
    bool setColour = false;
    COLORREF colour = 0;
    bool setFont = false;
    std::string face;
    int size = 11;  // character height in pixels
    bool bold = false, italic = false;
    // Only the message box's entry has colours of its own: its message's and its caption's.
    bool messageBox = false;
    COLORREF messageColour = 0, captionColour = 0;  // "MessageTextColor", "CaptionTextColor"
};

// Kinds of control elements in the text file, as `AddControlNode` numbers them.
enum QorTextControlKind {
    QorTextButton = 0,
    QorTextEdit = 1,
    QorTextTransparentStatic = 2,
    QorTextSlider = 3,
    QorTextGenericSimple = 4,
    QorTextGenericWithTextInfo = 5,
};

// Kinds of text templates.
enum QorTextTemplateKind {
    QorButtonTemplateKind = 0,
    QorStaticTemplateKind = 1,
    QorEditTemplateKind = 2,
};
