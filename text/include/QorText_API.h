#pragma once
// The text library's facade: captions, tooltips, fonts, text colours and numbered messages
// from the text file (or a "TEXT" resource of a resource library). All state is process-wide,
// so every object addresses the same document and tables. Operations answer true on success;
// a missing entry is not an error, the getters just answer false.
#include <windows.h>
#include <msxml2.h>

#include <string>

#include "LorvaneExport.h"
#include "QorTextTypes.h"

class LORVANE_API QorText_API {
public:
    QorText_API() = default;
    ~QorText_API() = default;

    // Opens the text file for `applicationName`: a plain XML file or a ".dll" resource library
    // whose "TEXT" resource is chosen by `languageId` (falling back to 1033).
    bool OpenTextFile(const std::string& applicationName, const std::string& path, DWORD languageId);
    // As above, with the language of the thread locale and the library's "TEXTDATA" resources;
    // `path` receives the path actually used.
    bool OpenTextFile(const std::string& applicationName, std::string* path);

    bool GetText(int messageId, std::string* text);
    bool GetWideText(int messageId, wchar_t* buffer);

    bool GetControlCaptionText(int dialogId, int controlId, std::string* caption);
    bool GetControlTooltipText(int dialogId, int controlId, std::string* tooltip);
    bool GetSliderControlTooltip(int dialogId, int controlId, std::string* tooltip);
    bool GetButtonControlCaptions(int dialogId, int controlId, std::string captions[4]);
    bool GetButtonControlTooltips(int dialogId, int controlId, std::string tooltips[4]);

    bool GetButtonCtrlInfo(int dialogId, int controlId, QorButtonTextSettings* settings);
    bool GetStaticCtrlInfo(int dialogId, int controlId, QorStaticTextSettings* settings);
    bool GetEditCtrlInfo(int dialogId, int controlId, QorEditTextSettings* settings);
    bool GetCtrlTextColors(int dialogId, int controlId, QorTextColors* colors);
    bool GetMainTextColor(int dialogId, int controlId, COLORREF* color);
    bool GetBackgroundColor(int dialogId, int controlId, COLORREF* color);
    bool SetMainTextColor(int dialogId, int controlId, COLORREF color);

    bool GetFontInfo(int dialogId, int controlId, LOGFONTA* font);
    // `fontElement` is a "QorFontInfo" element.
    bool GetLogFontInfo(IXMLDOMNode* fontElement, LOGFONTA* font);
    bool SetLogFontInfo(IXMLDOMNode* fontElement, const LOGFONTA& font);
    // The control's "QorFontInfo" element (the caller releases it).
    bool GetControlFontInfo(int dialogId, int controlId, IXMLDOMNode** fontElement);
    bool GetTemplateLogFontInfo(int kind, const std::string& templateName, LOGFONTA* font);
    bool SetTemplateLogFontInfo(int kind, const std::string& templateName, const LOGFONTA& font);

    bool IsControlUsingTemplate(int dialogId, int controlId, bool* usesTemplate, std::string* templateName);
    bool SetControlToNotUseTextTemplate(int dialogId, int controlId);

    bool GetButtonTemplateInfo(const std::string& templateName, QorButtonTextSettings* settings);
    bool GetButtonTemplateTextColors(const std::string& templateName, QorTextColors* colors);
    bool GetStaticTemplateInfo(const std::string& templateName, QorStaticTextSettings* settings);
    bool ButtonTemplateExists(const std::string& templateName);
    bool TransStaticTemplateExists(const std::string& templateName);
    // New templates carry default values; an existing name is refused.
    bool AddButtonTemplateNode(const std::string& templateName);
    bool AddStaticTemplateNode(const std::string& templateName);
    // Writes `settings` into the named template.
    bool EditTemplate(const std::string& templateName, const QorButtonTextSettings& settings);
    bool EditTemplate(const std::string& templateName, const QorStaticTextSettings& settings);
    // Copies a button's text settings into a template (created when absent), and back.
    bool CopyButtonButtonSettingsToTemplateVals(int dialogId, int controlId, const std::string& templateName);
    bool CopyButtonTemplateValsToButtonSettingsForApp(const std::string& templateName, int dialogId, int controlId);

    // The message box texts element (dialog id 99); the caller releases it.
    bool GetQorMsgDlglNode(IXMLDOMNode** element);
    // True when the text came from another resource than the language asked for; `id` is
    // that resource's id.
    bool UseAlternateEncoding(DWORD* id);

    // Adds a control element of `kind` (QorTextControlKind) with default values under the
    // dialog's element (made when the dialog has none); the caller releases `element`.
    bool AddControlNode(int dialogId, int controlId, IXMLDOMNode** element, int kind, const std::string& name);

    // The captions or tooltips of identities 0 to count-1 ("Caption", "Caption1", ...,
    // "ToolTipText", "ToolTipText1", ...); false when the control has no element.
    bool SetControlCaptions(int dialogId, int controlId, const std::string captions[4], int count);
    bool SetControlTooltips(int dialogId, int controlId, const std::string tooltips[4], int count);
    // "Set Control Tooltips" and "Set Control Captions" for `count` identities (four for a
    // button, one for the other kinds); true when the designer changed them with OK.
    bool ShowSetTooltipsDialog(int dialogId, int controlId, int count);
    bool ShowSetCaptionsDialog(int dialogId, int controlId, int count);
    // Writes a control's text settings (the attributes `GetButtonCtrlInfo` and
    // `GetStaticCtrlInfo` read); false when the control has no element.
    bool SetButtonCtrlInfo(int dialogId, int controlId, const QorButtonTextSettings& settings);
    bool SetStaticCtrlInfo(int dialogId, int controlId, const QorStaticTextSettings& settings);
    bool SetEditCtrlInfo(int dialogId, int controlId, const QorEditTextSettings& settings);
    // The "Text Settings" dialog of a button, transparent static or generic control (what is
    // edited follows from the control's element; `button` is kept for older callers); true
    // when the designer changed its values with OK.
    bool ShowSetTextValuesDialog(int dialogId, int controlId, bool button);
    // The same dialog on the control's own values while it draws with a text template: they
    // are what it draws with once it stops using the template.
    bool InvokeSetControlNonTemplateTextValsDlg(int dialogId, int controlId);
    // "Set Edit Control Values" of a skinned edit; true when OK changed its values.
    bool ShowSetEditTextValuesDialog(int dialogId, int controlId);
    // The whole dialog's text values ("Set Dialog Text Values"): its name, and one text colour
    // and one font for all of its controls that use no text template. True when OK changed
    // something.
    bool ShowSetTextValuesDialog(int dialogId);
    bool GetDialogTextValues(int dialogId, QorDialogTextValues* values);
    bool SetDialogTextValues(int dialogId, const QorDialogTextValues& values);
    // "Set Colors By RGB" on `*colour`; true with the colour typed on OK.
    bool ShowSetRGBByNumbersDialog(COLORREF* colour);
    // "Choose New Template Name" for a template of `kind` (QorButtonTemplateKind, ...): a
    // name that is not empty, has no blanks and is not taken; true on OK. `editingMenuTexts`
    // words the refusals as the skin framework's editing menu does.
    bool ChooseNewTemplateName(int kind, std::string* name, bool editingMenuTexts = false);
    // Text templates of `kind` (QorButtonTemplateKind or QorStaticTemplateKind):
    // "Choose Template" for the control's template; on OK the templates added, copied or
    // deleted there and the choice are written. True when anything changed.
    bool ShowSelectControlTemplateDlg(int dialogId, int controlId, int kind);
    // "Choose Template" to pick a template to work on (templates may be added, copied or
    // deleted on the way); `name` starts the choice and receives the pick. True on OK.
    bool ShowPickTextTemplateDlg(int kind, std::string* name);
    // Picks a button text template in "Choose Template" and copies the button's own text
    // values into it; a failed copy says "Unable to Set Template Values". True when copied.
    bool ShowCopyButtonSettingsToTemplateValsDlg(int dialogId, int controlId);
    // "Edit Button Control Template" / "Edit Static Control Template" on a template; true
    // when its values changed.
    bool ShowEditTemplateDialog(int kind, const std::string& templateName);
    // The same on the template the control uses; OK asks whether to save to that template or
    // to a new one, which the control then uses. True when anything changed.
    bool ShowEditControlTemplateDialog(int dialogId, int controlId, int kind);
    bool SetControlTextTemplate(int dialogId, int controlId, const std::string& templateName);
    bool DeleteTextTemplate(int kind, const std::string& templateName);
    // A new template `to` with every value and the font of `from`.
    bool CopyTextTemplate(int kind, const std::string& from, const std::string& to);
    // Asks for a file name and saves the document there.
    bool SaveCurrentWork();
    // True when an editing operation changed the document since it was opened or saved.
    bool TextChanged();

    void ReleaseXMLNodes();
    void ReleaseAllNodes();
    void AssertWhenTextEntriesNotFound(bool on);
    void AssertWhenXMLEntriesNotFound(bool on);
};
