#include "DirectXDownload.h"

#include <shellapi.h>

namespace media {

std::string DirectXOfferMessage(const DirectXDownloadTexts& texts)
{
    return texts.question + "\r\n\r\n" + texts.explanation;
}

int OfferDirectXDownload(HWND owner, const DirectXDownloadTexts& texts, const MessageFunction& ask)
{
    if (!ask || ask(owner, DirectXOfferMessage(texts), texts.title, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    ShellExecuteA(owner, "open", texts.location.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return 1;
}

}  // namespace media
