#pragma once
// "Text Settings" on one element of the text document: what the element holds, the dialog on
// it, and the writing back of what the designer changed (and nothing else).
#include <windows.h>
#include <msxml2.h>

#include "TextSettingsModel.h"

namespace lorvane {

struct TextSettingsEdit {
    editing::SettingChanges changes;
    bool fontChanged = false;
    LOGFONTA font{};
    bool Empty() const { return changes.empty() && !fontChanged; }
};

// The kind of a control element by its name; false for elements edited elsewhere (edits).
bool TextSettingsKindOf(IXMLDOMNode* control, editing::TextSettingsKind* kind);

// Shows "Text Settings" on `element`; true on OK, with what is to be written in `edit` (empty
// when nothing was changed).
bool AskTextSettings(IXMLDOMNode* element, editing::TextSettingsKind kind, TextSettingsEdit* edit);

// Writes `edit` into `element`, making its font element when it has none, and marks the
// document changed when anything was written.
bool ApplyTextSettings(IXMLDOMNode* element, const TextSettingsEdit& edit);

}  // namespace lorvane
