#include "DeviceNotify.h"

#include "DeviceInfo.h"
#include "Trace.h"

#include <dbt.h>

namespace devices {

namespace {

const char kWindowClass[] = "QorDI_Notify";

DeviceChangeCallback g_callback = nullptr;
void* g_context = nullptr;
HWND g_window = nullptr;
HDEVNOTIFY g_registration = nullptr;

bool IsExecutable(const void* p)
{
    MEMORY_BASIC_INFORMATION mbi{};
    if (!p || VirtualQuery(p, &mbi, sizeof mbi) != sizeof mbi || mbi.State != MEM_COMMIT)
        return false;
    const DWORD exec = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return (mbi.Protect & exec) != 0 && !(mbi.Protect & PAGE_GUARD);
}

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wp, LPARAM lp)
{
    if (message != WM_DEVICECHANGE)
        return DefWindowProcA(window, message, wp, lp);
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
    if (g_callback && header && header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE &&
        (wp == DBT_DEVICEARRIVAL || wp == DBT_DEVICEREMOVECOMPLETE)) {
        const auto* di = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(lp);
        g_callback(g_context, wp == DBT_DEVICEARRIVAL ? kDeviceArrived : kDeviceRemoved, di->dbcc_name);
    }
    return TRUE;
}

bool CreateNotifyWindow()
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = instance;
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    g_window = CreateWindowA(kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!g_window)
        return false;
    DEV_BROADCAST_DEVICEINTERFACE_A filter{};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureInterfaceClass;
    g_registration = RegisterDeviceNotificationA(g_window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!g_registration)
        media::DebugLine("RegisterDeviceNotification failed: %lu", GetLastError());
    return true;
}

}  // namespace

bool SetDeviceChangeCallback(DeviceChangeCallback callback, void* context)
{
    if (callback && !IsExecutable(reinterpret_cast<const void*>(callback))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    g_callback = callback;
    g_context = context;
    if (callback && !g_window)
        return CreateNotifyWindow();
    return true;
}

HWND DeviceNotifyWindow()
{
    return g_window;
}

}  // namespace devices
