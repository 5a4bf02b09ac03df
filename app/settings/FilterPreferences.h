#pragma once
// The preference lists of MPEG video decoders and demultiplexers: pairs of a class
// identifier in registry text form and a filter friendly name. Empty entries are allowed.
#include <string>
#include <vector>

#include <framework/ProfileStore.h>

namespace settings {

struct FilterChoice {
    std::string clsid;
    std::string name;
};

struct FilterPreferences {
    std::vector<FilterChoice> mpeg2Decoders;  // "Decoder": DecoderCLSIDn / DecoderFilterNamen
    std::vector<FilterChoice> mpeg1Decoders;  // "Decoder": Decoder1CLSIDn / Decoder1FilterNamen
    std::vector<FilterChoice> mpeg2Demuxes;   // "Demux": DemuxMPEG2CLSIDn / ...FilterNamen
    std::vector<FilterChoice> mpeg1Demuxes;   // "Demux": DemuxMPEG1CLSIDn / ...FilterNamen

    // Reads the four lists with the reading rule (defaults written when missing).
    void Load(const framework::ProfileStore& store);
};

// The entry at a stored index, or an empty choice for an index outside the list.
FilterChoice ChoiceAt(const std::vector<FilterChoice>& list, int index);

}  // namespace settings
