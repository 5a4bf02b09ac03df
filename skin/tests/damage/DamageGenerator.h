#pragma once
// Seeded damage of skin inputs, as a half-finished download, a disk error or a careless hand
// edit leaves them: cut files, overwritten header fields, flipped bytes, stray markup, document
// type declarations with entities, absurd numbers. The same seed and index always give the
// same damaged bytes, so a failure can be reproduced from its numbers alone.
#include <string>
#include <vector>

namespace damage {

struct Sample {
    std::string bytes;
    std::string what;          // the damage done, for messages
    bool declaresDocumentType = false;
};

// Sound bitmaps of every layout the checker knows, made in memory: the originals that the
// bitmap damage starts from besides the skin's own files.
std::vector<std::string> MadeBitmaps();

// Damage to one of `originals` (whole bitmap files).
Sample DamagedBitmap(const std::vector<std::string>& originals, unsigned seed, int index);

// Damage to an XML document whose root element is `root`; font sizes are among the numbers
// that may be replaced with absurd ones.
Sample DamagedDocument(const std::string& original, const std::string& root, unsigned seed, int index);

}  // namespace damage
