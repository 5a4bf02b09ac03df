#pragma once
// The rules of the update check and the about box that need no system: the section of the
// update information file that belongs to this program, which "Update" values may be offered,
// the about box's version lines, and where the update windows go beside the main window.
#include <string>

namespace update {

// The last folder component of the program's path ("C:\Video Tools\Marovin.exe": "Video Tools").
std::string ProgramFolderName(const std::string& programPath);
// The folder name followed by the version, blanks of both and dots of the version made "_".
std::string UpdateSectionName(const std::string& folderName, const std::string& version);

// The room the "Update" value is read into; a value that fills it may have been cut.
constexpr std::size_t kUpdateValueRoom = 260;

enum class UpdateValue { None, Address, Refused };
// Empty: no update. Only complete http:// and https:// addresses may be opened; any other
// value (a program, a share, a cut value) is refused and counts as no update.
UpdateValue ClassifyUpdateValue(const std::string& value);

// The update service agent below the common files folder, and its arguments for this product.
std::string UpdateServiceAgent(const std::string& commonFilesFolder);
std::string UpdateServiceArguments(const std::string& productCode);

struct AboutLines {
    std::string version;  // "<text 210> <major.minor>"
    std::string build;    // "<text 1030>: <build>"
};
// From the program's version string "major.minor.build" ("1.0.0" when there is none).
AboutLines MakeAboutLines(const std::string& version, const std::string& versionText, const std::string& buildText);

struct Box {
    int left, top, right, bottom;
};
// The top-left corner for a window `width` wide beside the video area (screen coordinates):
// 20 pixels right of it and 50 below its top; if that passes the screen's right edge, 20
// pixels left of it; if that passes the left edge, at the right screen edge, or at 0 when the
// main window itself reaches past it.
void PlaceBesideVideo(const Box& video, const Box& mainWindow, int width, int screenWidth, int* x, int* y);

}  // namespace update
