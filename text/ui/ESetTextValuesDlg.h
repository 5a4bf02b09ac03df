#pragma once
// "Text Settings" of one button, transparent static or generic control, or of a text template:
// every text attribute the element keeps (centring, the three-D options, the offsets and the
// text, shadow and hilite colours of each state, a background colour) and its font. Colours
// show as swatches, each with a button to "Set Colors By RGB"; the font shows as a sample and
// can be taken from the system's font chooser. Its title says what is edited. Numbers that are
// not valid are refused with a message and the dialog stays open.
#include <framework/Framework.h>

#include <memory>
#include <string>

#include "CColorStatic.h"
#include "CFontSampleStatic.h"
#include "TextSettingsModel.h"

namespace lorvane {

class ESetTextValuesDlg : public CDialog {
public:
    // `values` as editing::ShownValues gives them; `font` is shown when the kind keeps one.
    ESetTextValuesDlg(editing::TextSettingsKind kind, const editing::SettingValues& values, const LOGFONTA& font);
    const editing::SettingValues& Values() const { return m_values; }
    const LOGFONTA& Font() const { return m_font; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void ShowOnlyWhatTheKindKeeps();
    void ShowFont(const LOGFONTA& font);
    // The font the fields describe; false with a refusal to show when one is not valid.
    bool ReadFont(LOGFONTA* font, std::string* message, std::string* caption) const;
    void ColourTyped(int row, int column);
    void PickColour(int row, int column);
    void FontTyped();
    void ChooseFont();

    editing::TextSettingsKind m_kind;
    editing::SettingValues m_values;
    LOGFONTA m_font;
    std::unique_ptr<CColorStatic> m_swatches[editing::kRowCount][3];
    CFontSampleStatic m_sample;
    bool m_filling = false;  // fields being filled by the dialog itself
};

}  // namespace lorvane
