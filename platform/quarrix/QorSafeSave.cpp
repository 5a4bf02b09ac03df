// Saving through a temporary file in the target's folder.
#include "QorSafeSave.h"

namespace qorxml {
namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

HRESULT LastError()
{
    const DWORD error = GetLastError();
    return HRESULT_FROM_WIN32(error ? error : ERROR_WRITE_FAULT);
}

}  // namespace

HRESULT SaveReplacing(const std::string& target, const std::function<HRESULT(const std::string&)>& write)
{
    if (target.empty() || target.size() >= MAX_PATH)
        return HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    // In the same folder, so that the replacement is a rename on one volume.
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(FolderOf(target).c_str(), "qsv", 0, temporary))
        return LastError();
    HRESULT hr = write(temporary);
    if (SUCCEEDED(hr) && !MoveFileExA(temporary, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        hr = LastError();
    if (FAILED(hr))
        DeleteFileA(temporary);
    return hr;
}

}  // namespace qorxml
