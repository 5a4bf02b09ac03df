#include "PlayerTestWindow.h"

namespace playertest {

TestWindow::TestWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "MarovinPlayerTest";
    RegisterClassA(&wc);
    window_ = CreateWindowExA(0, wc.lpszClassName, "Marovin", WS_POPUP | WS_VISIBLE, 40, 40, 420, 340, nullptr,
                              nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BLACKRECT | WS_CLIPCHILDREN, 20, 20, 354, 290, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(media::MediaPlayer::IDC_VIDEO)), wc.hInstance,
                    nullptr);
}

TestWindow::~TestWindow()
{
    DestroyWindow(window_);
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == media::MediaPlayer::WM_GRAPHNOTIFY && self && self->player_) {
        self->player_->HandleGraphEvents();
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string MediaFile(const char* name)
{
    return std::string(PLAYBACK_MEDIA) + name;
}

}  // namespace playertest
