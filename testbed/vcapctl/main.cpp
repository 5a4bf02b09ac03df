// vcapctl: the control channel of the virtual cards, for tests and the demo.
//   vcapctl [--card N] signal on|off [INPUT]   INPUT: tuner, composite1, svideo1, composite2,
//                                             svideo2, aux, component; none: every input
//   vcapctl [--card N] station CH on|off   whether tuner channel CH carries a station
//   vcapctl [--card N] copyprotect on|off
//   vcapctl [--card N] dropframes
//   vcapctl [--card N] stopflow      the card's running streams stop, as if the encoder stalled
//   vcapctl [--card N] standard BITS [INPUT]  the AnalogVideoStandard the input carries (0x10 PAL B, 0x1 NTSC M;
//                                             0 with an input: a signal whose standard is not detected yet)
//   vcapctl [--card N] standards MASK   the standards the card's decoder offers
//   vcapctl [--card N] fixedaudio on|off   whether the card's sound stays put when the video input changes
//   vcapctl [--card N] lockreads     prints how often the decoder was asked for its lock
//   vcapctl [--card N] remove        removes the card and tells the windows it is gone
//   vcapctl [--card N] readd         installs it again with its personality and announces it
#include "CardControl.h"
#include "CardInstaller.h"
#include "CrossbarModel.h"
#include "TunerState.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

int Usage()
{
    std::fwprintf(stderr, L"usage: vcapctl [--card N] signal on|off [INPUT] | station CH on|off | copyprotect on|off | dropframes | stopflow | standard BITS [INPUT] | standards MASK | fixedaudio on|off | lockreads | remove | readd\n");
    return 2;
}

// The personality of a removed card is kept here so "readd" brings back the same card.
const wchar_t kRemovedKey[] = L"Software\\Marovin Test Bed\\Removed Virtual Capture Cards";

void RememberRemoved(const vcap::CardRecord& c)
{
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRemovedKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    const DWORD v[3] = {c.personality.deviceType, static_cast<DWORD>(c.personality.bus), c.personality.paramsBytes};
    RegSetValueExW(k, std::to_wstring(c.number).c_str(), 0, REG_BINARY, reinterpret_cast<const BYTE*>(v), sizeof v);
    RegCloseKey(k);
}

bool RecallRemoved(int card, vcap::Personality& p)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRemovedKey, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return false;
    DWORD v[3] = {};
    DWORD size = sizeof v;
    const bool ok = RegQueryValueExW(k, std::to_wstring(card).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(v), &size) == ERROR_SUCCESS && size == sizeof v;
    RegCloseKey(k);
    if (ok) {
        p.deviceType = v[0];
        p.bus = static_cast<vcap::Bus>(v[1]);
        p.paramsBytes = v[2];
    }
    return ok;
}

// The path of the card's interface in the capture class, as the broadcast names it.
std::wstring ClassInterfacePath(const vcap::CardRecord& c)
{
    std::wstring id = c.instanceId;
    for (wchar_t& ch : id)
        ch = ch == L'\\' ? L'#' : static_cast<wchar_t>(towlower(ch));
    return L"\\\\?\\" + id + L"#{f0b3dd10-e296-49fd-9887-7cac73f75b04}\\card";
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int card = 1;
    int i = 1;
    if (argc > 2 && std::wstring(argv[1]) == L"--card") {
        card = _wtoi(argv[2]);
        i = 3;
    }
    if (i >= argc || card < 1 || card > 16)
        return Usage();
    const std::wstring command = argv[i];
    const std::wstring arg = i + 1 < argc ? argv[i + 1] : L"";
    const std::wstring inputName = i + 2 < argc && command != L"station" ? argv[i + 2] : L"";
    const long input = inputName.empty() ? -1 : vcap::VideoInputByKey(inputName.c_str());
    if (!inputName.empty() && input < 0) {
        std::fwprintf(stderr, L"vcapctl: no input named %ls\n", inputName.c_str());
        return 2;
    }
    vcap::CardRecord rec;
    const bool installed = vcap::LoadCard(card, rec);
    if (command != L"readd" && !installed) {
        std::fwprintf(stderr, L"vcapctl: card %d is not installed\n", card);
        return 1;
    }
    if ((command == L"signal" || command == L"copyprotect" || command == L"fixedaudio") && arg != L"on" && arg != L"off")
        return Usage();
    bool ok = false;
    if (command == L"signal") {
        ok = input < 0 ? vcap::SetSignal(card, arg == L"on") : vcap::SetInputSignal(card, input, arg == L"on");
    } else if (command == L"station") {
        const std::wstring state = i + 2 < argc ? argv[i + 2] : L"";
        wchar_t* end = nullptr;
        const long channel = wcstol(arg.c_str(), &end, 10);
        if (arg.empty() || *end || (state != L"on" && state != L"off"))
            return Usage();
        ok = vcap::SetStation(card, channel, state == L"on");
    } else if (command == L"copyprotect") {
        ok = vcap::SetCopyProtection(card, arg == L"on");
    } else if (command == L"standard") {
        const long bits = static_cast<long>(wcstol(arg.c_str(), nullptr, 0));
        if (bits < 0 || (bits == 0 && input < 0) || (bits & (bits - 1)) != 0)
            return Usage();
        ok = input < 0 ? vcap::SetInputStandard(card, bits) : vcap::SetInputStandard(card, input, bits);
    } else if (command == L"standards") {
        wchar_t* end = nullptr;
        const long mask = static_cast<long>(wcstol(arg.c_str(), &end, 0));
        if (arg.empty() || *end || mask <= 0)
            return Usage();
        ok = vcap::SetAvailableStandards(card, mask);
    } else if (command == L"fixedaudio") {
        ok = vcap::SetFixedAudio(card, arg == L"on");
    } else if (command == L"lockreads") {
        std::fwprintf(stdout, L"%u\n", vcap::ReadLockReads(card));
        ok = true;
    } else if (command == L"dropframes") {
        ok = vcap::ReportDroppedFrames(card);
    } else if (command == L"stopflow") {
        ok = vcap::BreakFlow(card);
    } else if (command == L"remove") {
        std::wstring error;
        RememberRemoved(rec);
        ok = vcap::UninstallCard(card, error);
        if (!ok)
            std::fwprintf(stderr, L"vcapctl: %ls\n", error.c_str());
        vcap::BroadcastDeviceChange(false, ClassInterfacePath(rec));
    } else if (command == L"readd") {
        if (installed) {
            std::fwprintf(stderr, L"vcapctl: card %d is installed\n", card);
            return 1;
        }
        vcap::Personality p;
        RecallRemoved(card, p);
        std::wstring error;
        ok = vcap::InstallCard(card, p, rec, error);
        if (!ok)
            std::fwprintf(stderr, L"vcapctl: %ls\n", error.c_str());
        else
            vcap::BroadcastDeviceChange(true, ClassInterfacePath(rec));
    } else {
        return Usage();
    }
    return ok ? 0 : 1;
}
