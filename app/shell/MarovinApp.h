#pragma once
// The application object: one running instance, the registry root of all settings, and the
// main window run as a modal dialog. The program ends when the main window closes.
#include <framework/Framework.h>

namespace shell {

class MarovinApp : public CWinApp {
public:
    MarovinApp();
    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    HANDLE m_instanceSemaphore = nullptr;
};

}  // namespace shell
