#pragma once
// The update check's system side: the update information file downloaded over HTTP by a
// worker (which posts the window a message when done and can be cancelled), and the file's
// verdict once it is here. The downloaded file is deleted whatever the verdict.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

namespace update {

// Downloads `address` to `file` on a thread of its own; posts `message` to `window` when done
// (wParam 1 on success, 0 on failure). Destroying it cancels a transfer in progress, waiting at
// most 10 seconds for the worker.
class UpdateDownload {
public:
    UpdateDownload();
    ~UpdateDownload();
    UpdateDownload(const UpdateDownload&) = delete;
    UpdateDownload& operator=(const UpdateDownload&) = delete;

    bool Start(const std::string& address, const std::string& file, HWND window, UINT message);
    // Ends a transfer in progress; true when the worker ended in time.
    bool Cancel();
    // The system's text for the failure, once the message has arrived.
    std::string Error() const;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    HANDLE m_thread = nullptr;
};

enum class UpdateOutcome { DownloadFailed, NoFile, NoUpdate, Refused, Offer };

struct UpdateVerdict {
    UpdateOutcome outcome = UpdateOutcome::NoFile;
    std::string address;  // for Offer; the refused value for Refused
};

// Reads the "Update" value of `section` from the downloaded `file` (made absolute first) and
// deletes the file. `downloaded` false: the download failed, and any partial file goes too.
UpdateVerdict JudgeUpdateFile(bool downloaded, const std::string& file, const std::string& section);

}  // namespace update
