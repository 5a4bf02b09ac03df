#pragma once
// Whether two pins belong together by their mediums, or failing those, their media types.
#include <windows.h>

#include <utility>
#include <vector>

namespace media {

// Set identifiers of a pin's mediums that say something: GUID_NULL and the standard set are
// left out.
std::vector<GUID> MeaningfulMediumSets(const std::vector<GUID>& sets);
bool MediumsMatch(const std::vector<GUID>& outputSets, const std::vector<GUID>& candidateSets);

using TypePair = std::pair<GUID, GUID>;  // major type, sub-type
// Some type of one equals (major and sub-type) some type of the other; a pin offering no
// type at all matches anything.
bool TypesMatch(const std::vector<TypePair>& output, const std::vector<TypePair>& candidate);

}  // namespace media
