#include "CardControl.h"

#include "CrossbarModel.h"
#include "DeviceModel.h"

#include <dbt.h>

#include <cstring>
#include <vector>

namespace vcap {
namespace {

std::wstring CardKey(int card) { return std::wstring(kCardsKey) + L"\\" + std::to_wstring(card); }

bool WriteDword(int card, const wchar_t* name, DWORD value)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
    RegCloseKey(k);
    return ok;
}

DWORD ReadDword(HKEY k, const wchar_t* name, DWORD fallback)
{
    DWORD v = 0, size = sizeof v, type = 0;
    return RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&v), &size) == ERROR_SUCCESS && type == REG_DWORD ? v : fallback;
}

std::wstring InputValue(const wchar_t* what, long input) { return std::wstring(what) + L"." + CrossbarInput(input).key; }

// Drops the per-input values of one kind, so the card-wide value holds for every input.
void ClearInputValues(int card, const wchar_t* what)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS)
        return;
    for (long i = 0; i < kVideoInputCount; ++i)
        RegDeleteValueW(k, InputValue(what, i).c_str());
    RegCloseKey(k);
}

void Wake(int card)
{
    HANDLE e = CreateEventW(nullptr, FALSE, FALSE, ControlEventName(card).c_str());
    if (e) {
        SetEvent(e);
        CloseHandle(e);
    }
}

}  // namespace

std::wstring ControlEventName(int card) { return L"Marovin Test Bed Card " + std::to_wstring(card) + L" Control"; }

bool ReadControl(int card, CardControlState& state)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    state.signal = ReadDword(k, L"Signal", 1) != 0;
    state.copyProtected = ReadDword(k, L"CopyProtection", 0) != 0;
    state.framesDropped = ReadDword(k, L"FramesDropped", 0);
    state.flowStops = ReadDword(k, L"FlowStops", 0);
    state.flowBreaks = ReadDword(k, L"FlowBreaks", 0);
    state.standard = static_cast<long>(ReadDword(k, L"Standard", 0x10));
    RegCloseKey(k);
    return true;
}

bool SetSignal(int card, bool present)
{
    ClearInputValues(card, L"Signal");
    const bool ok = WriteDword(card, L"Signal", present ? 1 : 0);
    Wake(card);
    return ok;
}

bool SetCopyProtection(int card, bool on)
{
    const bool ok = WriteDword(card, L"CopyProtection", on ? 1 : 0);
    Wake(card);
    return ok;
}

bool SetInputStandard(int card, long standard)
{
    ClearInputValues(card, L"Standard");
    const bool ok = WriteDword(card, L"Standard", static_cast<DWORD>(standard));
    Wake(card);
    return ok;
}

bool ReadInputState(int card, long input, InputState& state)
{
    if (!IsVideoInput(input))
        return false;
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    const DWORD signal = ReadDword(k, L"Signal", 1);
    const DWORD standard = ReadDword(k, L"Standard", 0x10);
    state.signal = ReadDword(k, InputValue(L"Signal", input).c_str(), signal) != 0;
    state.standard = static_cast<long>(ReadDword(k, InputValue(L"Standard", input).c_str(), standard));
    RegCloseKey(k);
    return true;
}

bool SetInputSignal(int card, long input, bool present)
{
    if (!IsVideoInput(input))
        return false;
    const bool ok = WriteDword(card, InputValue(L"Signal", input).c_str(), present ? 1 : 0);
    Wake(card);
    return ok;
}

bool SetInputStandard(int card, long input, long standard)
{
    if (!IsVideoInput(input))
        return false;
    const bool ok = WriteDword(card, InputValue(L"Standard", input).c_str(), static_cast<DWORD>(standard));
    Wake(card);
    return ok;
}

bool ReadRoute(int card, long& videoInput, long& audioInput)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    videoInput = static_cast<long>(ReadDword(k, L"RoutedVideo", kDefaultVideoInput));
    audioInput = static_cast<long>(ReadDword(k, L"RoutedAudio", CrossbarInput(kDefaultVideoInput).related));
    RegCloseKey(k);
    return true;
}

bool WriteRoute(int card, long videoInput, long audioInput)
{
    return WriteDword(card, L"RoutedVideo", static_cast<DWORD>(videoInput)) &&
           WriteDword(card, L"RoutedAudio", static_cast<DWORD>(audioInput));
}

namespace {

// One more report of a counted kind: the filters watching the card see the count go up.
bool CountOneMore(int card, const wchar_t* name, uint32_t CardControlState::*count)
{
    CardControlState s;
    if (!ReadControl(card, s))
        return false;
    const bool ok = WriteDword(card, name, s.*count + 1);
    Wake(card);
    return ok;
}

}  // namespace

bool ReportDroppedFrames(int card) { return CountOneMore(card, L"FramesDropped", &CardControlState::framesDropped); }

bool ReportFlowStopped(int card) { return CountOneMore(card, L"FlowStops", &CardControlState::flowStops); }

bool BreakFlow(int card) { return CountOneMore(card, L"FlowBreaks", &CardControlState::flowBreaks); }

namespace {

bool ReadCardDword(int card, const wchar_t* name, DWORD& value)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof value, type = 0;
    const bool ok = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
                    type == REG_DWORD;
    RegCloseKey(k);
    return ok;
}

}  // namespace

bool SetAvailableStandards(int card, long mask) { return WriteDword(card, L"AvailableStandards", static_cast<DWORD>(mask)); }

bool ReadAvailableStandards(int card, long& mask)
{
    DWORD v = 0;
    if (!ReadCardDword(card, L"AvailableStandards", v))
        return false;
    mask = static_cast<long>(v);
    return true;
}

bool SetFixedAudio(int card, bool fixed) { return WriteDword(card, L"FixedAudio", fixed ? 1 : 0); }

bool ReadFixedAudio(int card)
{
    DWORD v = 0;
    return ReadCardDword(card, L"FixedAudio", v) && v != 0;
}

bool CountLockRead(int card) { return WriteDword(card, L"LockReads", ReadLockReads(card) + 1); }

uint32_t ReadLockReads(int card)
{
    DWORD v = 0;
    return ReadCardDword(card, L"LockReads", v) ? v : 0;
}

bool ResetLockReads(int card) { return WriteDword(card, L"LockReads", 0); }

bool BroadcastDeviceChange(bool arrival, const std::wstring& interfacePath)
{
    const std::string name(interfacePath.begin(), interfacePath.end());
    std::vector<BYTE> buf(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) + name.size());
    auto* b = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(buf.data());
    b->dbcc_size = static_cast<DWORD>(buf.size());
    b->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    b->dbcc_classguid = kCaptureInterfaceClass;
    std::memcpy(b->dbcc_name, name.c_str(), name.size() + 1);
    DWORD recipients = BSM_APPLICATIONS;
    // Posting is refused for this message; a synchronous query broadcast delivers it. A busy or
    // hung window elsewhere must not keep the news from the windows after it, as with the system's.
    return BroadcastSystemMessageA(BSF_QUERY | BSF_IGNORECURRENTTASK | BSF_FORCEIFHUNG, &recipients, WM_DEVICECHANGE,
                                   arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                                   reinterpret_cast<LPARAM>(b)) > 0;
}

namespace {

std::wstring ProcAmpValue(const wchar_t* what, long property) { return std::wstring(what) + L"." + std::to_wstring(property); }

}  // namespace

long ReadProcAmp(int card, long property)
{
    if (property < 0 || property > 3)
        return 0;
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return kProcAmpDefaults[property];
    const long value = static_cast<long>(ReadDword(k, ProcAmpValue(L"ProcAmp", property).c_str(),
                                                   static_cast<DWORD>(kProcAmpDefaults[property])));
    RegCloseKey(k);
    return value;
}

bool WriteProcAmp(int card, long property, long value)
{
    return property >= 0 && property <= 3 &&
           WriteDword(card, ProcAmpValue(L"ProcAmp", property).c_str(), static_cast<DWORD>(value));
}

bool SetProcAmpMissing(int card, long property, bool missing)
{
    return property >= 0 && property <= 3 &&
           WriteDword(card, ProcAmpValue(L"ProcAmpMissing", property).c_str(), missing ? 1 : 0);
}

bool ProcAmpMissing(int card, long property)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, CardKey(card).c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
        return false;
    const bool missing = ReadDword(k, ProcAmpValue(L"ProcAmpMissing", property).c_str(), 0) != 0;
    RegCloseKey(k);
    return missing;
}

}  // namespace vcap
