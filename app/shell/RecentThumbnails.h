#pragma once
// The four recent-recording thumbnails of the main window (controls 1426 to 1429): which
// are shown, their pictures (made from the recording when missing, or the skin's placeholder)
// and their hover information, and the "No recent clips" label.
#include <framework/Framework.h>
#include <framework/ProfileStore.h>

#include <string>

#include "RecentRecordings.h"

class EQorDialog;

namespace shell {

class RecentThumbnails {
public:
    static constexpr int kWidth = 78;
    static constexpr int kHeight = 63;
    static const int kButtonIds[settings::RecentRecordings::kCount];

    // Drops entries whose file is gone (writing the list when it changed), then shows and
    // pictures the buttons of the entries that remain. `placeholder` is the skin's picture
    // for a recording whose own thumbnail cannot be made.
    void Fill(EQorDialog& dialog, settings::RecentRecordings& recent, const framework::ProfileStore& store,
              const std::string& placeholder);
    // Puts the buttons over the skin's thumbnail frames at the picture size and lets this
    // object draw them. Call once, after the dialog has loaded its skin.
    void Place(EQorDialog& dialog);
    // Draws a thumbnail button; false for any other control.
    bool Draw(const DRAWITEMSTRUCT& item) const;
    // Marks the thumbnail whose recording plays (a frame around it), or none for -1.
    void Select(int index);
    // The picture file shown by button `index` (empty when hidden).
    const std::string& PictureFile(int index) const { return m_files[static_cast<size_t>(index)]; }
    // Takes the pictures off the buttons and deletes them.
    void Release();

private:
    HWND m_buttons[settings::RecentRecordings::kCount] = {};
    CBitmap m_pictures[settings::RecentRecordings::kCount];
    std::string m_files[settings::RecentRecordings::kCount];
    int m_selected = -1;
};

}  // namespace shell
