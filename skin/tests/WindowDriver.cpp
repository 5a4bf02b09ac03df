// A second thread that finds and drives the dialogs of the thread under test.
#include "WindowDriver.h"

namespace enginetest {
namespace {

struct Search {
    const std::string* title;
    const std::string* text;
    HWND found;
};

BOOL CALLBACK CollectChild(HWND child, LPARAM parameter)
{
    char buffer[1024] = {};
    GetWindowTextA(child, buffer, sizeof buffer);
    reinterpret_cast<std::vector<std::string>*>(parameter)->push_back(buffer);
    return TRUE;
}

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window))
        return TRUE;
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!search->title->empty()) {
        if (*search->title == title) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    for (const std::string& text : ChildTexts(window))
        if (text.find(*search->text) != std::string::npos) {
            search->found = window;
            return FALSE;
        }
    return TRUE;
}

}  // namespace

std::vector<std::string> ChildTexts(HWND window)
{
    std::vector<std::string> texts;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

WindowDriver::WindowDriver(std::string title, std::string text, std::function<void(HWND)> act, DWORD timeoutMs)
{
    thread_ = std::thread([this, title, text, act, timeoutMs] {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            Search search{&title, &text, nullptr};
            EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                Sleep(100);  // let the dialog finish its initialisation
                found_ = true;
                act(search.found);
                return;
            }
            Sleep(50);
        }
    });
}

WindowDriver::~WindowDriver()
{
    if (thread_.joinable())
        thread_.join();
}

bool WindowDriver::Found()
{
    if (thread_.joinable())
        thread_.join();
    return found_;
}

}  // namespace enginetest
