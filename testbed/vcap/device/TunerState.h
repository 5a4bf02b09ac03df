#pragma once
// The tuner's state kept with the card (every tuner filter bound to the card drives the same
// chip), and the channel map of the test bed: which channels carry a station.
#include "TunerModel.h"

#include <windows.h>

#include <set>
#include <string>

namespace vcap {

struct TunerRecord {
    long country = 1;
    long channel = 2;
    long frequency = 55250000;
    uint32_t tunedAt = 0;  // GetTickCount of the last frequency change
    long mode = 1;         // AMTUNER_MODE_TV
    long standard = 0x1;
    long inputType = 0;    // TunerInputCable
    long connectInput = 0;
    long audioMode = kTvAudioDefaultMode;  // the TV sound decoder's mode
};

bool LoadTuner(int card, TunerRecord& tuner);
bool SaveTuner(int card, const TunerRecord& tuner);
TunerModel ModelOf(const TunerRecord& tuner);

// Channels with a station; a card starts with a few so that a scan finds something.
std::set<long> ReadStations(int card);
bool SetStation(int card, long channel, bool present);

// Parses "3,5,12" into channel numbers; false on anything else.
bool ParseChannelList(const std::wstring& text, std::set<long>& channels);
std::wstring FormatChannelList(const std::set<long>& channels);

}  // namespace vcap
