#include "ColourPage.h"

#include "ControlIds.h"

namespace pages {

std::vector<int> ColourPage::Controls() const
{
    std::vector<int> ids;
    for (int id = IDC_BRIGHTNESS_LABEL; id <= IDC_COLOR_DEFAULTS; ++id)
        ids.push_back(id);
    return ids;
}

void ColourPage::Create() {}

}  // namespace pages
