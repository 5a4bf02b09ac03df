#include "TransparentRadioLayout.h"

#include <algorithm>

namespace skelda::controls {

RadioLayout LayoutTransparentRadio(SIZE client, SIZE mark, SIZE text, bool markLeft, bool textLeft)
{
    RadioLayout layout{};
    const int markX = markLeft ? 0 : client.cx - mark.cx;
    const int markY = (client.cy - mark.cy) / 2;
    layout.mark = {markX, markY, markX + mark.cx, markY + mark.cy};
    const int areaLeft = markLeft ? mark.cx + kRadioMarkGap : 0;
    const int areaRight = markLeft ? client.cx : client.cx - mark.cx - kRadioMarkGap;
    // A text wider than its area keeps its beginning readable.
    layout.text.x = textLeft ? areaLeft : std::max(areaLeft, areaRight - static_cast<int>(text.cx));
    layout.text.y = (client.cy - text.cy) / 2;
    return layout;
}

int DrawnRadioMarkSide(int clientHeight)
{
    return std::max(0, std::min(kDrawnRadioMarkSize, clientHeight));
}

}  // namespace skelda::controls
