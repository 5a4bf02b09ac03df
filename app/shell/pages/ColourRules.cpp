#include "ColourRules.h"

#include <algorithm>

namespace pages {

long SnapToStep(long value, long minimum, long maximum, long step)
{
    if (maximum < minimum)
        maximum = minimum;
    if (step <= 0)
        step = 1;
    const long clamped = std::clamp(value, minimum, maximum);
    // Offsets stay non-negative, so the rounding is plain arithmetic on longs.
    const long long offset = static_cast<long long>(clamped) - minimum;
    long long snapped = (offset + step / 2) / step * step;
    if (minimum + snapped > maximum)
        snapped -= step;
    return static_cast<long>(minimum + std::max(snapped, 0LL));
}

}  // namespace pages
