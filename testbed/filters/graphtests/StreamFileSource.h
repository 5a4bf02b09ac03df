#pragma once
// A push source that plays a program-stream file in fixed-size samples, as a capture device's
// stream output pin delivers the encoder's stream.
#include <dshowbase/PushSource.h>

#include <string>
#include <vector>

namespace graphtest {

class StreamFileSource : public dshow::SourceFilter {
public:
    // Returned with one reference; null when the file cannot be read. With `bytesPerSecond`
    // the source plays in real time, as a device does; without it, as fast as downstream takes
    // the samples.
    static IBaseFilter* Create(const std::string& path, size_t chunk = 4096, double bytesPerSecond = 0);

private:
    StreamFileSource();
};

}  // namespace graphtest
