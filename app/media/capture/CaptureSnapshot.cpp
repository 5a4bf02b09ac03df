// Whether the preview can give a still now: the decoder runs and holds a decoded picture. A
// size query only, cheap enough for the window's refresh timer.
#include "CaptureGraph.h"

#include "CaptureRules.h"
#include "FilterClasses.h"

namespace capture {

bool CaptureGraph::StillReady()
{
    if (!videoDecoder_)
        return false;
    FILTER_STATE state = State_Stopped;
    if (videoDecoder_->GetState(0, &state) != S_OK || state == State_Stopped)
        return false;
    const IID& iid = StillDecoderIndex(settings_) == 1 ? media::kIidStillImageFirst : media::kIidStillImage;
    ComPtr<media::IStillImage> still;
    LONG size = 0;
    return SUCCEEDED(videoDecoder_.As(iid, still)) && SUCCEEDED(still->GetCurrentImage(&size, nullptr)) &&
           size >= static_cast<LONG>(sizeof(BITMAPINFOHEADER));
}

}  // namespace capture
