#pragma once
// The audio renderer's volume for a level of the volume slider (0 to 100). The renderer counts
// in hundredths of a decibel, 0 loudest and -10000 silent; three straight pieces, steeper
// towards silence, make the slider feel even to the ear. Shared by capture and playback.

namespace media {

constexpr long kSilentVolume = -10000;

constexpr long LevelToVolume(int level)
{
    const long l = level;
    const long b = l >= 26 ? 15 * l - 1500 : l < 16 ? 30 * l - 3000 : 20 * l - 2000;
    if (b > 0)
        return 0;
    if (b <= -3000)
        return kSilentVolume;
    return b;
}

}  // namespace media
