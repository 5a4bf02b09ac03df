#include "MediumMatch.h"

namespace media {

namespace {
// KSMEDIUMSETID_Standard
const GUID kStandardMediumSet = {0x4747B320, 0x62CE, 0x11CF, {0xA5, 0xD6, 0x28, 0xDB, 0x04, 0xC1, 0x00, 0x00}};
}  // namespace

std::vector<GUID> MeaningfulMediumSets(const std::vector<GUID>& sets)
{
    std::vector<GUID> kept;
    for (const GUID& g : sets) {
        if (g != GUID_NULL && g != kStandardMediumSet)
            kept.push_back(g);
    }
    return kept;
}

bool MediumsMatch(const std::vector<GUID>& outputSets, const std::vector<GUID>& candidateSets)
{
    for (const GUID& c : MeaningfulMediumSets(candidateSets)) {
        for (const GUID& o : MeaningfulMediumSets(outputSets)) {
            if (c == o)
                return true;
        }
    }
    return false;
}

bool TypesMatch(const std::vector<TypePair>& output, const std::vector<TypePair>& candidate)
{
    if (output.empty() || candidate.empty())
        return true;
    for (const TypePair& o : output) {
        for (const TypePair& c : candidate) {
            if (o.first == c.first && o.second == c.second)
                return true;
        }
    }
    return false;
}

}  // namespace media
