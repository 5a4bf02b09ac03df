#pragma once
// Texts of the design-time editing mode.
namespace skelda::messages {

constexpr const char* kSaveErrorPrefix = "Error saving to:  ";
constexpr const char* kSaveErrorSuffix = "\r\r    Make sure the file is not write protected.";
constexpr const char* kSaveErrorCaption = "File Save Error";
constexpr const char* kSavedPrefix = "Work saved to ";
constexpr const char* kSavedSuffix = " successfully";
constexpr const char* kSavedCaption = "Save Work";

constexpr const char* kBitmapNotLoadedPrefix = "The bitmap file could not be loaded:  ";
constexpr const char* kBitmapNotLoadedSuffix = "\r\rThe current bitmap is kept.";
constexpr const char* kBitmapNotLoadedCaption = "Change Bitmap File";

}  // namespace skelda::messages
