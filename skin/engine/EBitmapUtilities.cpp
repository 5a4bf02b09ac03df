// Bitmaps and icons of the skin, from files or from the skin's resource library.
#include "EBitmapUtilities.h"

#include "EngineMessages.h"
#include "GraphicsEngineState.h"
#include "SkinBitmapFile.h"

using skelda::EngineState;

bool EBitmapUtilities::InitAndUseResource(const std::string& libraryPath)
{
    ReleaseResource();
    if (libraryPath.empty() || libraryPath.size() >= MAX_PATH)
        return false;
    // Only resources are used; the library's code never runs.
    EngineState().bitmapModule = LoadLibraryExA(libraryPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    return EngineState().bitmapModule != nullptr;
}

void EBitmapUtilities::ReleaseResource()
{
    HMODULE& module = EngineState().bitmapModule;
    if (module)
        FreeLibrary(module);
    module = nullptr;
}

bool EBitmapUtilities::UsingResource()
{
    return EngineState().bitmapModule != nullptr;
}

std::string EBitmapUtilities::GetResourceName(const std::string& path)
{
    std::string name = path;
    for (char& c : name)
        if (c == ' ' || c == '\\')
            c = '_';
    return name;
}

bool EBitmapUtilities::LoadDibSectionFromFile(const std::string& path, HBITMAP* bitmap)
{
    if (!bitmap || path.empty())
        return false;
    *bitmap = nullptr;
    HMODULE module = EngineState().bitmapModule;
    *bitmap = module ? skelda::LoadCheckedBitmapResource(module, GetResourceName(path))
                     : skelda::LoadCheckedBitmapFile(path, 0, 0, LR_CREATEDIBSECTION);
    return *bitmap != nullptr;
}

HICON EBitmapUtilities::LoadLargeIconFromFile(const std::string& path)
{
    const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
    HMODULE module = EngineState().bitmapModule;
    if (module)
        return static_cast<HICON>(LoadImageA(module, GetResourceName(path).c_str(), IMAGE_ICON, cx, cy, 0));
    if (path.empty() || path.size() >= MAX_PATH)
        return nullptr;
    return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
}

bool EBitmapUtilities::VerifyFileExists(const std::string& path)
{
    HMODULE module = EngineState().bitmapModule;
    bool exists = false;
    if (module)
        exists = FindResourceA(module, GetResourceName(path).c_str(), RT_BITMAP) != nullptr;
    else if (!path.empty() && path.size() < MAX_PATH)
        exists = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!exists && EngineState().debug.reportMissingBitmaps)
        skelda::EngineUserInterface().ShowMessage(skelda::messages::kMissingBitmapPrefix + path,
                                                  skelda::messages::kMissingBitmapCaption, MB_OK | MB_ICONERROR);
    return exists;
}
