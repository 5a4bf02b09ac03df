#pragma once
// Texts of the engine's start-up and shutdown messages.
namespace skelda::messages {

constexpr const char* kInitCaption = "Unable to Initialize Graphics Engine";
constexpr const char* kNoGraphicsFileSetting = "Unable to get QorGraphicsFile; aborting  (Tag GE0001)";
constexpr const char* kNoTextFileSetting = "Unable to get QorTextFile; aborting  (Tag GE0002)";
constexpr const char* kTextFileNotOpened = "Unable to open QorTextFile; aborting  (Tag GE0003)";
constexpr const char* kDocumentNotCreated = "CoCreateInstance failed; aborting  (Tag GE0004)";
constexpr const char* kLibraryNotLoaded = "Unable to load the GraphicsFile from a resource DLL; aborting  (Tag GE0006)";
constexpr const char* kFileNotLoaded = "Unable to load the GraphicsFile from an XML file; aborting  (Tag GE0007)";
// Shown whatever the debug options say.
constexpr const char* kNoGraphicsFile = "No Graphics File; application will terminate";
constexpr const char* kXmlLoadFailedPrefix = "Failed to load Graphics XML File.  Hresult = ";

constexpr const char* kSaveCaption = "Save Work?";
constexpr const char* kSaveGraphicsQuestion =
    "You have made changes to the Graphics settings.  Do you want to save your changes?";
constexpr const char* kSaveTextQuestion = "You have made changes to the Text settings.  Do you want to save your changes?";

constexpr const char* kMissingBitmapPrefix = "The following Bitmap file, in the Graphics XML file, does not exist:  ";
constexpr const char* kMissingBitmapCaption = "Bitmap File Not Found";

}  // namespace skelda::messages
