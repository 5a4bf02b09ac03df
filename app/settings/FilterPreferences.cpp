#include "FilterPreferences.h"

#include <cstdio>

#include "ReadingRule.h"

namespace settings {
namespace {

const FilterChoice kMpeg2Decoders[] = {
    {"{145BC783-FC0C-11CF-BE4B-00AA003F29A1}", "DVD Express Video Decoder"},
    {"{731B8600-4001-46D4-B1A5-33EC792B4501}", "Elecard MPEG 2 Video Decoder"},
    {"{505D5817-AA65-424D-B64B-CB5405FB841D}", "Corvale MPEG 1 n 2 Decoder"},
    {"", ""},
    {"", ""},
};
const FilterChoice kMpeg1Decoders[] = {
    {"{FEB50740-7BEF-11CE-9BD9-0000E202599C}", "MPEG Video Decoder"},
    {"{731B8600-4001-46D4-B1A5-33EC792B4501}", "Elecard MPEG 2 Video Decoder"},
    {"{505D5817-AA65-424D-B64B-CB5405FB841D}", "Corvale MPEG 1 n 2 Decoder"},
};
const FilterChoice kMpeg2Demuxes[] = {
    {"{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}", "MPEG2 Demultiplexer"},
    {"{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}", "Corvale MPEG Demultiplexer"},
    {"{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}", "MPEG2 Demultiplexer"},
};
const FilterChoice kMpeg1Demuxes[] = {
    {"{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}", "Push Mode Mpeg1 Dmux"},
    {"{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}", "Brennick MPEG Demultiplexer"},
    {"{C624B842-7FC3-40E9-8BAF-FD3F5EB8E7C6}", "Push Mode Mpeg1 Dmux"},
};

template <size_t N>
std::vector<FilterChoice> LoadList(const framework::ProfileStore& store, const char* section,
                                   const char* prefix, const FilterChoice (&defaults)[N])
{
    std::vector<FilterChoice> list;
    for (size_t i = 0; i < N; ++i) {
        char clsidName[64];
        char filterName[64];
        std::snprintf(clsidName, sizeof clsidName, "%sCLSID%u", prefix, unsigned(i));
        std::snprintf(filterName, sizeof filterName, "%sFilterName%u", prefix, unsigned(i));
        FilterChoice choice;
        choice.clsid = ReadString(store, section, clsidName, defaults[i].clsid);
        choice.name = ReadString(store, section, filterName, defaults[i].name);
        list.push_back(std::move(choice));
    }
    return list;
}

}  // namespace

void FilterPreferences::Load(const framework::ProfileStore& store)
{
    mpeg2Decoders = LoadList(store, "Decoder", "Decoder", kMpeg2Decoders);
    mpeg1Decoders = LoadList(store, "Decoder", "Decoder1", kMpeg1Decoders);
    mpeg2Demuxes = LoadList(store, "Demux", "DemuxMPEG2", kMpeg2Demuxes);
    mpeg1Demuxes = LoadList(store, "Demux", "DemuxMPEG1", kMpeg1Demuxes);
}

FilterChoice ChoiceAt(const std::vector<FilterChoice>& list, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return {};
    return list[static_cast<size_t>(index)];
}

}  // namespace settings
