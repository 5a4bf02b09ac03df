#pragma once
// The rules of "Set Graphics File-path entries to specific parent directory" without windows:
// the folder a designer types, the bitmap paths the skin stores, and which of them a new parent
// folder would lose. Bitmaps are stored relative to the parent folder, so moving it must not
// leave a bitmap behind that the next start can no longer find.
#include <msxml2.h>

#include <functional>
#include <string>
#include <vector>

namespace skelda::editing {

using FileExists = std::function<bool(const std::string&)>;

// The typed folder with blanks around it trimmed, forward slashes as backslashes and one
// trailing backslash; empty when nothing but blanks was typed.
std::string NormaliseParentFolder(const std::string& typed);

// The names of every attribute of the skin file that holds a bitmap path.
const std::vector<std::string>& StoredBitmapAttributes();

// Every bitmap path stored below `root` (dialogs, controls, auxiliary entries, templates),
// each once, in document order.
std::vector<std::string> StoredBitmapPaths(IXMLDOMNode* root);

// The stored paths that name an existing file from `currentFolder` but none from `newFolder`.
// A path that is broken already is not the new folder's fault and is left out.
std::vector<std::string> PathsLostInNewFolder(const std::vector<std::string>& stored, const std::string& currentFolder,
                                              const std::string& newFolder, const FileExists& exists);

// The refusal naming at most `shown` of the lost paths and how many more there are.
std::string LostPathsMessage(const std::string& newFolder, const std::vector<std::string>& lost, size_t shown = 10);

}  // namespace skelda::editing
