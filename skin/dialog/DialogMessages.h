#pragma once
// Texts of the skinned dialog's initialisation messages and of the new-control question.
namespace skelda::messages {

constexpr const char* kNoDocument = "g_pGraphicsXMLDOMDoc NULL in EQorDialog::InitializeQorDialog;  (Tag GE1001)";
constexpr const char* kDialogDataFailed = "GetXMLDialogData failed in EQorDialog::InitializeQorDialog;  (Tag GE1002)";
constexpr const char* kBitmapNameEmpty =
    "m_DialogBitmapFilename is empty in EQorDialog::InitializeQorDialog;  (Tag GE1003)";
constexpr const char* kBitmapAndRegionFailed =
    "InitBitmapAndRegion failed for DialogBitmap in EQorDialog::InitializeQorDialog;  (Tag GE1004)";
constexpr const char* kWindowRegionFailed =
    "InitBitmapAndRegion failed for DialogBitmap in EQorDialog::InitializeQorDialog;  (Tag GE1005)";
constexpr const char* kCreateControlsFailed = "CreateControls failed in EQorDialog::InitializeQorDialog;  (Tag GE1006)";
constexpr const char* kAuxBitmapsFailed =
    "LoadAuxBitmapFilenames failed in EQorDialog::InitializeQorDialog;  (Tag GE1007)";

constexpr const char* kNewControlCaption = "Add New Control Entries in XML Files?";
constexpr const char* kNewControlIntro = "There is a new control that is not in the XML files:  ";
constexpr const char* kNewControlId = "\n\r\n\r      Control ID:    ";
constexpr const char* kNewControlType = "\n\r\n\r      Control Type:  ";
constexpr const char* kNewControlQuestion = "\n\r\n\r   Would you like to add an entry for this control?";
constexpr const char* kControlAddedCaption = "Control Added Successfully";
constexpr const char* kControlAdded =
    "The control was added successfully, but you will probably have to save your\n\r"
    "changes and restart before seeing the control exactly as you want it to appear."
    "\n\r\n\rNote:  You should probably move the control when all of the new controls are "
    "\n\rdone to save the desired position."
    "\n\r\n\rOtherwise, the default position may not be easy to alter.";

}  // namespace skelda::messages
