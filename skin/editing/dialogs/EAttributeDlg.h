#pragma once
// The control editing dialogs: each edits some attributes of one element of the skin file
// through a form of fields (numbers, sizes, colours, check boxes, bitmap files with a browse
// button). OK checks every field first; a number that is none, a value out of range or a
// bitmap that does not load is refused with a message and the dialog stays open. The values
// come in and go out as text, as the skin file stores them; the caller writes them.
#include <framework/Framework.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "FieldRules.h"

namespace skelda::editing {

struct FormField {
    int item;  // the field, check box or first radio button
    const char* attribute;
    FieldKind kind;
    int extra = 0;  // a bitmap's browse button; a style's second radio button
};

struct AttributeForm {
    UINT templateId;
    std::vector<FormField> fields;
};

using AttributeValues = std::map<std::string, std::string>;

// The forms, one per dialog.
const AttributeForm& ButtonBitmapsForm();
const AttributeForm& BitmapStaticForm();
const AttributeForm& SliderSettingsForm();
const AttributeForm& EditSettingsForm();
const AttributeForm& TransparentStaticForm();
const AttributeForm& TransparentRadioForm();
const AttributeForm& AlternateXYForm();
const AttributeForm& ResizeControlForm();
// Its "FollowsRight" and "FollowsBottom" stand for the bits of "Orientation".
const AttributeForm& EdgeTrackingForm();
// The region offsets and the sizing values of a stretch dialog's "QorStretchDlgData".
const AttributeForm& StretchRegionsForm();
const AttributeForm& StretchSizingForm();
// The skinned menu's margins, gap and selection mark on its "MenuDlg" element.
const AttributeForm& MenuSettingsForm();

class EAttributeDlg : public CDialog {
public:
    EAttributeDlg(const AttributeForm& form, AttributeValues values, CWnd* parent = nullptr);
    const AttributeValues& Values() const { return m_values; }
    // The attributes whose value OK changed.
    std::vector<std::string> Changed() const;
    // A check of the values together, once each field passed its own: a refusal is said and
    // keeps the dialog open.
    using FormCheck = std::function<FieldCheck(const AttributeValues&)>;
    void SetFormCheck(FormCheck check) { m_formCheck = std::move(check); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string Text(int item) const;
    // The field's value as stored, or false after saying why it is refused.
    bool Read(const FormField& field, std::string* value) const;
    void Browse(const FormField& field);

    const AttributeForm& m_form;
    AttributeValues m_values, m_original;
    FormCheck m_formCheck;
};

}  // namespace skelda::editing
