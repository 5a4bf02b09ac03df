#include "UpdateCheck.h"

#include <wininet.h>

#include <vector>

#include <win/Lock.h>

#include "UpdateRules.h"

namespace update {
namespace {

constexpr DWORD kCancelWaitMs = 10000;
// Closing the session does not break every blocking call; no call waits longer than this, so
// a cancel always ends the worker within the wait above.
constexpr DWORD kNetworkTimeoutMs = 5000;
constexpr char kAgent[] = "Marovin update check";

std::string SystemText(DWORD error)
{
    char text[512] = {};
    // Internet errors carry their texts in the internet library.
    const bool internet = error >= INTERNET_ERROR_BASE && error <= INTERNET_ERROR_LAST;
    DWORD n = FormatMessageA((internet ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM) | FORMAT_MESSAGE_IGNORE_INSERTS,
                             internet ? GetModuleHandleA("wininet.dll") : nullptr, error, 0, text, sizeof text, nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(error) : s;
}

struct InternetHandleTraits {
    using Raw = HINTERNET;
    static Raw Empty() { return nullptr; }
    static bool IsValid(Raw h) { return h != nullptr; }
    static void Free(Raw h) { InternetCloseHandle(h); }
};

}  // namespace

struct UpdateDownload::Shared {
    std::string address, file;
    HWND window = nullptr;
    UINT message = 0;
    std::atomic<bool> cancelled{false};
    win::CritSec lock;
    HINTERNET session = nullptr;  // closed by Cancel to break a blocking call
    std::string error;

    void Run()
    {
        const DWORD error = Transfer();
        {
            win::AutoLock hold(lock);
            if (error)
                this->error = SystemText(error);
        }
        if (error)
            DeleteFileA(file.c_str());
        if (!cancelled)
            PostMessageA(window, message, error ? 0 : 1, 0);
    }

    DWORD Transfer()
    {
        HINTERNET s = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        if (!s)
            return GetLastError();
        DWORD timeout = kNetworkTimeoutMs;
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
            InternetSetOptionA(s, option, &timeout, sizeof timeout);
        {
            win::AutoLock hold(lock);
            session = s;
        }
        const DWORD error = Fetch(s);
        win::AutoLock hold(lock);
        if (session)
            InternetCloseHandle(session);
        session = nullptr;
        return cancelled ? ERROR_CANCELLED : error;
    }

    DWORD Fetch(HINTERNET s)
    {
        char host[256] = {}, path[2048] = {};
        URL_COMPONENTSA parts{};
        parts.dwStructSize = sizeof parts;
        parts.lpszHostName = host;
        parts.dwHostNameLength = sizeof host;
        parts.lpszUrlPath = path;
        parts.dwUrlPathLength = sizeof path;
        if (!InternetCrackUrlA(address.c_str(), 0, 0, &parts) ||
            (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
            return ERROR_INTERNET_INVALID_URL;
        HINTERNET connection = InternetConnectA(s, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
        if (!connection)
            return GetLastError();
        struct Closer {
            HINTERNET h;
            ~Closer() { InternetCloseHandle(h); }
        } closeConnection{connection};
        DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI;
        if (parts.nScheme == INTERNET_SCHEME_HTTPS)
            flags |= INTERNET_FLAG_SECURE;
        HINTERNET request = HttpOpenRequestA(connection, "GET", path[0] ? path : "/", nullptr, nullptr, nullptr, flags, 0);
        if (!request)
            return GetLastError();
        Closer closeRequest{request};
        // Set on the request itself: not every implementation passes the session's on.
        DWORD timeout = kNetworkTimeoutMs;
        for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
            InternetSetOptionA(request, option, &timeout, sizeof timeout);
        if (cancelled)
            return ERROR_CANCELLED;
        if (!HttpSendRequestA(request, nullptr, 0, nullptr, 0))
            return GetLastError();
        DWORD status = 0, size = sizeof status;
        if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
            status != HTTP_STATUS_OK)
            return ERROR_INTERNET_ITEM_NOT_FOUND;
        HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE)
            return GetLastError();
        std::vector<char> buffer(16384);
        DWORD error = 0;
        for (;;) {
            DWORD got = 0;
            if (cancelled) {
                error = ERROR_CANCELLED;
                break;
            }
            if (!InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &got)) {
                error = GetLastError();
                break;
            }
            if (got == 0)
                break;
            DWORD written = 0;
            if (!WriteFile(out, buffer.data(), got, &written, nullptr) || written != got) {
                error = GetLastError() ? GetLastError() : ERROR_DISK_FULL;
                break;
            }
        }
        CloseHandle(out);
        return error;
    }
};

UpdateDownload::UpdateDownload() = default;

UpdateDownload::~UpdateDownload()
{
    Cancel();
}

bool UpdateDownload::Start(const std::string& address, const std::string& file, HWND window, UINT message)
{
    if (m_thread)
        return false;
    m_shared = std::make_shared<Shared>();
    m_shared->address = address;
    m_shared->file = file;
    m_shared->window = window;
    m_shared->message = message;
    // The worker keeps its own reference: a worker that outlives a timed-out cancel still
    // finds its state.
    auto* ticket = new std::shared_ptr<Shared>(m_shared);
    m_thread = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            std::unique_ptr<std::shared_ptr<Shared>> shared(static_cast<std::shared_ptr<Shared>*>(p));
            (*shared)->Run();
            return 0;
        },
        ticket, 0, nullptr);
    if (!m_thread) {
        delete ticket;
        return false;
    }
    return true;
}

bool UpdateDownload::Cancel()
{
    if (!m_thread)
        return true;
    m_shared->cancelled = true;
    {
        win::AutoLock hold(m_shared->lock);
        if (m_shared->session)
            InternetCloseHandle(m_shared->session);
        m_shared->session = nullptr;
    }
    const bool ended = WaitForSingleObject(m_thread, kCancelWaitMs) == WAIT_OBJECT_0;
    CloseHandle(m_thread);
    m_thread = nullptr;
    return ended;
}

std::string UpdateDownload::Error() const
{
    if (!m_shared)
        return {};
    win::AutoLock hold(m_shared->lock);
    return m_shared->error;
}

UpdateVerdict JudgeUpdateFile(bool downloaded, const std::string& file, const std::string& section)
{
    char absolute[MAX_PATH] = {};
    const DWORD n = GetFullPathNameA(file.c_str(), MAX_PATH, absolute, nullptr);
    const std::string path = n > 0 && n < MAX_PATH ? std::string(absolute) : file;
    UpdateVerdict verdict;
    if (!downloaded) {
        verdict.outcome = UpdateOutcome::DownloadFailed;
    } else if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        verdict.outcome = UpdateOutcome::NoFile;
    } else {
        char value[kUpdateValueRoom] = {};
        const DWORD length = GetPrivateProfileStringA(section.c_str(), "Update", "", value, sizeof value, path.c_str());
        const std::string text(value, length);
        switch (ClassifyUpdateValue(text)) {
        case UpdateValue::None: verdict.outcome = UpdateOutcome::NoUpdate; break;
        case UpdateValue::Refused: verdict = {UpdateOutcome::Refused, text}; break;
        case UpdateValue::Address: verdict = {UpdateOutcome::Offer, text}; break;
        }
    }
    DeleteFileA(path.c_str());
    return verdict;
}

}  // namespace update
