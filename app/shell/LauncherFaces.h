#pragma once
// The launcher buttons' faces with their programs' icons: every state bitmap the skin gives a
// launcher button gets the icon drawn at its centre. The skin's own faces are kept, so that
// a new program's icon replaces the old one rather than landing on top of it.
#include <windows.h>

#include <string>

#include <win/Handle.h>

#include "LauncherRules.h"

namespace shell {

class LauncherFaces {
public:
    LauncherFaces();
    ~LauncherFaces();
    LauncherFaces(const LauncherFaces&) = delete;
    LauncherFaces& operator=(const LauncherFaces&) = delete;

    // Puts `icon` on the faces of launcher `index`, whose skinned button is `button`; a null
    // icon gives back the skin's plain faces. False when the button has no skinned faces.
    bool Show(int index, HWND button, HICON icon);

private:
    static constexpr int kStates = 16;
    struct Faces {
        win::GdiObject original[kStates];
        bool kept = false;
        bool composed = false;  // the button shows faces with an icon, not the skin's own
    };
    Faces m_faces[launcher::kButtonCount];
    std::string m_folder;  // where the composed faces are written for the button to load
};

}  // namespace shell
