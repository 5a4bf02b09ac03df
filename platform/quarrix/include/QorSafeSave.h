#pragma once
// Saving a document so that a failure never damages the file it replaces: the document is
// written to a new file in the target's folder, which then takes the target's place in one
// step. A full disk, a write error or a refused replacement leaves the old file as it was.
#include <windows.h>

#include <functional>
#include <string>

namespace qorxml {

// `write` writes the document to the path it is given and answers a result code. A target
// marked read-only is refused before anything is written (ERROR_ACCESS_DENIED). The temporary
// file is removed on every failure.
HRESULT SaveReplacing(const std::string& target, const std::function<HRESULT(const std::string&)>& write);

}  // namespace qorxml
