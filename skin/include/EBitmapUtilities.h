#pragma once
// Bitmap loading for the skin: DIB sections from files, or from the bitmap resources of the
// skin's resource library once one is in use.
#include <windows.h>

#include <string>

#include "SkeldaExport.h"

class EQorRegionData;

class SKELDA_API EBitmapUtilities {
public:
    // Frees any previous bitmap library and keeps `libraryPath` loaded as the source of all
    // bitmaps; false when it does not load.
    static bool InitAndUseResource(const std::string& libraryPath);
    // Frees the bitmap library; bitmaps come from files again.
    static void ReleaseResource();
    static bool UsingResource();

    // The caller deletes the bitmap. False when nothing loaded.
    static bool LoadDibSectionFromFile(const std::string& path, HBITMAP* bitmap);
    // The resource name of a stored path: blanks and backslashes become underscores.
    static std::string GetResourceName(const std::string& path);
    // The caller destroys the icon; null when it does not load.
    static HICON LoadLargeIconFromFile(const std::string& path);
    // Reports a missing bitmap when the engine's debug option asks for it.
    static bool VerifyFileExists(const std::string& path);

    // The window region of `bitmap` with `transparent` cut away: the inside of the outline of
    // the first opaque shape in row order (holes and further shapes are not cut or added).
    // The caller deletes the region. Null when the bitmap has no opaque pixel or cannot be
    // read; `outline`, when given, receives the traced points.
    static HRGN BuildRegion(HBITMAP bitmap, COLORREF transparent, HDC dc, EQorRegionData* outline);
};
