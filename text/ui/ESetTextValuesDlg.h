#pragma once
// "Text Settings" of one button or transparent static: centring, the offset of the text, the
// three-dimensional options and the text, shadow and hilite colours. Its title says what is
// edited ("Set Button Control Values", "Set Static Control Values"). Numbers and colours that
// are not valid are refused with a message and the dialog stays open.
#include <framework/Framework.h>

#include <string>

#include "QorTextTypes.h"

namespace lorvane {

// The values the dialog edits, common to buttons (their up offsets) and statics.
struct TextValues {
    bool centerHorizontally = false, centerVertically = false;
    int xOffset = 0, yOffset = 0;
    bool threeD = false, indented = false, useHilite = false, useShadow = false;
    COLORREF colours[3] = {};  // text, shadow, hilite
};

// A button's up offsets stand for its text offset; the other states keep theirs.
TextValues TextValuesOf(const QorButtonTextSettings& s);
TextValues TextValuesOf(const QorStaticTextSettings& s);
void ApplyTextValues(const TextValues& v, QorButtonTextSettings* s);
void ApplyTextValues(const TextValues& v, QorStaticTextSettings* s);

class ESetTextValuesDlg : public CDialog {
public:
    ESetTextValuesDlg(const std::string& title, const TextValues& values);
    const TextValues& Values() const { return m_values; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_title;
    TextValues m_values;
};

}  // namespace lorvane
