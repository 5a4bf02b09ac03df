#include "RecordingPage.h"

#include "ControlIds.h"

namespace pages {

std::vector<int> RecordingPage::Controls() const
{
    std::vector<int> ids = {IDC_FOLDER_LABEL, IDC_RECORDING_FOLDER, IDC_BROWSE_FOLDER};
    for (int id = IDC_FREE_SPACE_LABEL; id <= IDC_ASK_FILE_NAME; ++id)
        ids.push_back(id);
    return ids;
}

void RecordingPage::Create() {}

}  // namespace pages
