#pragma once
// The test bed's viewer: a virtual card's stream output (the encoder filter's on a type-1 card,
// the capture filter's own on a type-3 card) into the stand-in MPEG-2 demultiplexer, whose
// video output is mapped to stream 0xE0, the stand-in MPEG video decoder and Wine's GDI
// "Video Renderer", drawn inside a window of the caller's. It shows that the card's live
// stream plays in a real graph; the program's own capture path is another matter.
#include "DeviceModel.h"

#include <win/ComPtr.h>

#include <windows.h>
#include <dshow.h>

#include <string>

namespace vcap {

class ViewerGraph {
public:
    ViewerGraph() = default;
    ~ViewerGraph();
    ViewerGraph(const ViewerGraph&) = delete;
    ViewerGraph& operator=(const ViewerGraph&) = delete;

    // Builds the graph for `card` and runs it, the picture filling `owner`'s client area at
    // the stream's size. Empty on success, else what failed.
    std::string Start(const CardRecord& card, HWND owner);
    void Stop();

    // The stream's picture size (known once Start has read the card's encoder state).
    SIZE PictureSize() const { return size_; }
    // Pictures the decoder has shown so far; -1 when it cannot say.
    long PicturesDecoded() const;

private:
    std::string Build(const CardRecord& card);

    win::ComPtr<IGraphBuilder> graph_;
    win::ComPtr<IMediaControl> control_;
    win::ComPtr<IVideoWindow> window_;
    win::ComPtr<IBaseFilter> decoder_;
    SIZE size_{};
};

}  // namespace vcap
