// vcapview: shows a virtual card's live stream in a window for a while, through the test bed's
// viewer graph, and can save what the window shows.
//   vcapview [--card N] [--seconds S] [--shot FILE.bmp]
#include "ViewerGraph.h"

#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    int card = 1;
    double seconds = 5;
    std::string shot;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--card") == 0)
            card = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seconds") == 0)
            seconds = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--shot") == 0)
            shot = argv[i + 1];
        else
            argc = 0;
    }
    if (argc % 2 == 0 || card < 1 || seconds <= 0) {
        std::fprintf(stderr, "usage: vcapview [--card N] [--seconds S] [--shot FILE.bmp]\n");
        return 2;
    }
    vcap::CardRecord record;
    if (!vcap::LoadCard(card, record)) {
        std::fprintf(stderr, "vcapview: card %d is not installed\n", card);
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int rc = 0;
    {
        // Top-most, so a screen grab of its rectangle sees the picture over any other window.
        HWND window = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "vcapview", WS_POPUP | WS_VISIBLE, 40, 40, 64, 64,
                                      nullptr, nullptr, nullptr, nullptr);
        vcap::ViewerGraph viewer;
        const std::string error = viewer.Start(record, window);
        if (!error.empty()) {
            std::fprintf(stderr, "vcapview: %s\n", error.c_str());
            rc = 1;
        } else {
            const SIZE size = viewer.PictureSize();
            SetWindowPos(window, HWND_TOPMOST, 40, 40, size.cx, size.cy, SWP_SHOWWINDOW);
            testsupport::PumpMessages(static_cast<DWORD>(seconds * 1000));
            if (!shot.empty() && !testsupport::CaptureWindow(window).SaveBmp(shot)) {
                std::fprintf(stderr, "vcapview: cannot write %s\n", shot.c_str());
                rc = 1;
            }
            std::printf("vcapview: card %d, %ldx%ld, %ld pictures shown\n", card, size.cx, size.cy, viewer.PicturesDecoded());
        }
        viewer.Stop();
        DestroyWindow(window);
    }
    CoUninitialize();
    return rc;
}
