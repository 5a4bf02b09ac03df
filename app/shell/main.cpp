// Marovin's entry point: the framework runs the one application object.
#include "MarovinApp.h"

namespace {

shell::MarovinApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}
