#pragma once
// The device's video inputs as the program numbers them (0 S-Video, 1 composite, 2 second
// composite or auxiliary, 3 tuner, 4 second S-Video, 5 component), read from its crossbar.
#include <windows.h>
#include <dshow.h>

#include <array>
#include <vector>

namespace media {

constexpr int kMaxVideoSources = 10;

struct VideoSourceList {
    std::array<int, kMaxVideoSources> sources;
    int count = 0;
    VideoSourceList() { sources.fill(-1); }
};

// The sources of a crossbar whose input pins have these physical connector types, probed in
// the order S-Video 1, composite 1, composite 2, auxiliary 1, S-Video 2, tuner, component.
// Composite 2 and auxiliary 1 both stand for source 2. Nothing found gives {0, 1}.
VideoSourceList VideoSourcesFromInputs(const std::vector<long>& physicalTypes);

// The sources of `crossbar`. A filter without IAMCrossbar, or whose pin counts cannot be
// read, gives {0, 1} and the failure code (the caller logs it); otherwise S_OK.
HRESULT ListVideoSources(IBaseFilter* crossbar, VideoSourceList* list);

// The text-library identifier of a source's display name, 0 outside 0..5.
int VideoSourceNameText(int source);

}  // namespace media
