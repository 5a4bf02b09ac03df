#pragma once
// Saving a still taken as a temporary bitmap file: as the bitmap itself (moved) or as a JPEG
// file. A save either puts the complete new file in place in one step or leaves the target as
// it was; the temporary still stays whenever the save failed, so another form can be tried.
#include <string>

namespace snapshot {

// The save dialog's file types, by filter index.
enum class StillFormat { Jpeg = 1, Bmp = 2 };

// Whether the file part of `name` carries an extension (a dot followed by something).
bool HasExtension(const std::string& name);
// The file that a save under `format` writes: `chosen`, with ".jpg" or ".bmp" when it has no
// extension of its own.
std::string SaveTarget(const std::string& chosen, StillFormat format);

struct SaveResult {
    bool ok = false;
    std::string problem;  // for the user, when !ok
};

// Moves the still to `target`, replacing an existing file in the same step.
SaveResult SaveStillAsBmp(const std::string& still, const std::string& target);
// Writes the still's picture to `target` as a JPEG stream; the still is left in place.
SaveResult SaveStillAsJpeg(const std::string& still, const std::string& target);

}  // namespace snapshot
