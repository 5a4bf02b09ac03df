#pragma once
// Offering the DirectX download when the device needs a newer DirectX than the machine has.
#include <windows.h>

#include <string>

namespace media {

// The caller supplies the texts from the text library (3034, 3035, the location 3036, the
// title 102), so this code does not depend on where texts live.
struct DirectXDownloadTexts {
    std::string question;     // 3034
    std::string explanation;  // 3035
    std::string location;     // 3036
    std::string title;        // 102
};

std::string DirectXOfferMessage(const DirectXDownloadTexts& texts);

// Yes/no message box; on "yes" opens the location and returns 1, else 0.
int OfferDirectXDownload(HWND owner, const DirectXDownloadTexts& texts);

}  // namespace media
