#pragma once
// The custom quality templates as the quality page edits them: the name rules of a new
// template, reading a template whole or not at all, and adding, choosing and deleting
// templates in the settings record and the registry (section "Custom" and the sections
// "Custom\<name>").
#include <string>
#include <vector>

#include <framework/ProfileStore.h>

#include "CaptureSettings.h"

namespace settings {

// Text 254 refuses a name, text 256 a name that exists already.
constexpr int kTextInvalidTemplateName = 254;
constexpr int kTextDuplicateTemplateName = 256;
// "Custom\" + name must stay a valid registry key name (at most 255 characters).
constexpr std::size_t kMaxTemplateNameChars = 255 - 7;

enum class TemplateNameCheck { kAccepted, kInvalid, kDuplicate };

// A new template's name: not empty, no "\" or "/", no ";" (the list separator), no control
// character, short enough for its key, and not one of `existing` in any case (the registry's
// key names ignore case).
TemplateNameCheck CheckTemplateName(const std::string& name, const std::vector<std::string>& existing);
// The text number that refuses a checked name, 0 when it is accepted.
int RefusalText(TemplateNameCheck check);
bool SameTemplateName(const std::string& a, const std::string& b);

// The template `name` with all thirteen values present; false (and `block` unchanged) when
// its section is missing or any value is missing or -1.
bool ReadWholeTemplate(const framework::ProfileStore& store, const std::string& name, CustomTemplate& block);

// `name` becomes the selected template and the current section; "selected" is written.
void SelectTemplate(const framework::ProfileStore& store, CaptureSettings& s, const std::string& name);
// Appends `name` (already checked), selects it and saves the template store with the record's
// current block under its section.
void AddTemplate(const framework::ProfileStore& store, CaptureSettings& s, const std::string& name);
// Removes the selected template: the first remaining name (or none) becomes selected,
// "templates" and "selected" are written and the removed template's section is deleted.
void DeleteSelectedTemplate(const framework::ProfileStore& store, CaptureSettings& s);
// With no template left while the custom mode is chosen, the quality falls back to the
// second MPEG-2 preset (DVD). True when it did.
bool LeaveCustomModeWithoutTemplates(CaptureSettings& s);

}  // namespace settings
