#include "TvAudioMode.h"

namespace tuner {

long TvAudioModeFor(const TvAudioChoice& choice)
{
    if (choice.sap)
        return choice.secondLanguage ? kTvAudioLanguageC : kTvAudioLanguageB;
    return kTvAudioLanguageA | (choice.stereo ? kTvAudioStereo : kTvAudioMono);
}

TvAudioChoice TvAudioChoiceFrom(long mode, const TvAudioChoice& previous)
{
    TvAudioChoice choice = previous;
    if (mode & (kTvAudioLanguageA | kTvAudioLanguageB)) {
        choice.sap = (mode & kTvAudioLanguageA) == 0;
        choice.secondLanguage = false;
        choice.stereo = false;
    }
    if (mode & kTvAudioLanguageC) {
        choice.sap = true;
        choice.secondLanguage = true;
        choice.stereo = true;
    }
    if (mode & kTvAudioMono)
        choice.sap = false;
    if (mode & kTvAudioStereo)
        choice.stereo = true;
    return choice;
}

}  // namespace tuner
