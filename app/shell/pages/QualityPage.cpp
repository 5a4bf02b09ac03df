#include "QualityPage.h"

#include "ControlIds.h"

namespace pages {

std::vector<int> QualityPage::Controls() const
{
    std::vector<int> ids;
    for (int id = IDC_QUALITY_LABEL; id <= IDC_DEVICE_PROPERTIES; ++id)
        ids.push_back(id);
    return ids;
}

void QualityPage::Create() {}

}  // namespace pages
