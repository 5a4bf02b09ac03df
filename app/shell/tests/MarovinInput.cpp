#include "MarovinInput.h"

#include <vector>

#include "TestSupport.h"

namespace marovintest {
namespace {

void Send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT KeyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

bool BringForward(HWND window)
{
    return testsupport::PumpMessages(5000, [window] {
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    });
}

void PressKey(WORD key, BYTE modifiers)
{
    const struct {
        BYTE bit;
        WORD key;
    } held[] = {{FCONTROL, VK_CONTROL}, {FSHIFT, VK_SHIFT}, {FALT, VK_MENU}};
    std::vector<INPUT> inputs;
    for (const auto& h : held)
        if (modifiers & h.bit)
            inputs.push_back(KeyInput(h.key, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto h = std::rbegin(held); h != std::rend(held); ++h)
        if (modifiers & h->bit)
            inputs.push_back(KeyInput(h->key, true));
    Send(inputs);
}

void TypeText(const std::string& text)
{
    for (char c : text) {
        const SHORT scan = VkKeyScanA(c);
        PressKey(LOBYTE(scan), (HIBYTE(scan) & 1) ? FSHIFT : 0);
        testsupport::PumpMessages(30);
    }
}

void Click(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = ((rect.left + rect.right) / 2) * 65535 / width;
    move.mi.dy = ((rect.top + rect.bottom) / 2) * 65535 / height;
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    INPUT down = move;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    INPUT up = move;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    Send({move});
    testsupport::PumpMessages(100);
    Send({down});
    testsupport::PumpMessages(100);
    Send({up});
}

}  // namespace marovintest
