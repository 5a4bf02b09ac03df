#pragma once
// The program's volume scale: a level of 0..100 from the volume control to an IBasicAudio
// volume in hundredths of a decibel. Steeper at the quiet end, so the low levels are usable.
namespace media {

constexpr long kSilentVolume = -10000;

constexpr long LevelToVolume(int level)
{
    const long b = level >= 26 ? 15L * level - 1500 : level < 16 ? 30L * level - 3000 : 20L * level - 2000;
    if (b > 0)
        return 0;
    if (b <= -3000)
        return kSilentVolume;
    return b;
}

}  // namespace media
