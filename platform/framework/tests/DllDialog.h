#pragma once
// A dialog class and a control class that live in a DLL of their own.
#include <framework/Framework.h>

#include <string>

#if defined(DLL_DIALOGS_BUILD)
#define DLL_DIALOGS_API __declspec(dllexport)
#else
#define DLL_DIALOGS_API __declspec(dllimport)
#endif

// A button that counts the clicks reflected to it by its parent.
class DLL_DIALOGS_API DllButton : public CButton {
public:
    int reflectedClicks = 0;

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class DLL_DIALOGS_API DllDialog : public CDialog {
public:
    DllDialog(CWnd* pParent = nullptr);

    DllButton button;
    CEdit edit;
    std::string text = "from the dll";
    int initCalls = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};

// The module handle of the DLL, for tests that look at where things are registered.
DLL_DIALOGS_API HINSTANCE DllDialogsModule();
