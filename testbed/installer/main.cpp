// vcapinstall: puts virtual capture cards into the Wine prefix and takes them out again.
//   vcapinstall install [--card N] [--type 1|2|3|4] [--bus pci|usb11|usb20|firewire] [--params 40|44]
//   vcapinstall uninstall [--card N | --all]
//   vcapinstall list
//   vcapinstall register [--dir FOLDER]     the test bed's filters (vcap.ax, TestbedFilters.ax),
//   vcapinstall unregister [--dir FOLDER]   by default those next to vcapinstall.exe
#include "CardInstaller.h"
#include "ServerRegistration.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

int Usage()
{
    std::fwprintf(stderr, L"usage: vcapinstall install [--card N] [--type 1|2|3|4] [--bus pci|usb11|usb20|firewire] [--params 40|44]\n"
                          L"       vcapinstall uninstall [--card N | --all]\n"
                          L"       vcapinstall list\n"
                          L"       vcapinstall register|unregister [--dir FOLDER]\n");
    return 2;
}

bool ParseBus(const std::wstring& s, vcap::Bus& bus)
{
    if (s == L"pci") bus = vcap::Bus::Pci;
    else if (s == L"usb11") bus = vcap::Bus::Usb11;
    else if (s == L"usb20") bus = vcap::Bus::Usb20;
    else if (s == L"firewire") bus = vcap::Bus::FireWire;
    else return false;
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return Usage();
    const std::wstring command = argv[1];
    int card = 1;
    bool all = false;
    std::wstring folder = vcap::ProgramFolder();
    vcap::Personality p;
    for (int i = 2; i < argc; ++i) {
        const std::wstring a = argv[i];
        const wchar_t* v = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == L"--all") {
            all = true;
            continue;
        }
        if (!v)
            return Usage();
        ++i;
        if (a == L"--card") card = _wtoi(v);
        else if (a == L"--dir") {
            folder = v;
            if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
                folder += L'\\';
        }
        else if (a == L"--type") p.deviceType = static_cast<uint32_t>(_wtoi(v));
        else if (a == L"--params") p.paramsBytes = static_cast<uint32_t>(_wtoi(v));
        else if (a == L"--bus") {
            if (!ParseBus(v, p.bus))
                return Usage();
        } else {
            return Usage();
        }
    }
    if (card < 1 || card > 16 || (p.deviceType < 1 || p.deviceType > 4) || (p.paramsBytes != 40 && p.paramsBytes != 44))
        return Usage();

    std::wstring error;
    if (command == L"register" || command == L"unregister") {
        if (!vcap::RegisterTestBedServers(folder, command == L"unregister", error)) {
            std::fwprintf(stderr, L"vcapinstall: %ls\n", error.c_str());
            return 1;
        }
        return 0;
    }
    if (command == L"install") {
        vcap::CardRecord rec;
        if (!vcap::InstallCard(card, p, rec, error)) {
            std::fwprintf(stderr, L"vcapinstall: %ls\n", error.c_str());
            return 1;
        }
        std::wprintf(L"installed %ls as %ls\n", rec.name.c_str(), rec.instanceId.c_str());
        return 0;
    }
    if (command == L"uninstall") {
        bool ok = true;
        if (all) {
            for (const vcap::CardRecord& c : vcap::LoadAllCards())
                ok = vcap::UninstallCard(c.number, error) && ok;
        } else {
            ok = vcap::UninstallCard(card, error);
        }
        if (!ok)
            std::fwprintf(stderr, L"vcapinstall: %ls\n", error.c_str());
        return ok ? 0 : 1;
    }
    if (command == L"list") {
        for (const vcap::CardRecord& c : vcap::LoadAllCards()) {
            std::wprintf(L"%d %ls %ls type %u bus %u params %u\n", c.number, c.name.c_str(), c.instanceId.c_str(),
                         c.personality.deviceType, static_cast<unsigned>(c.personality.bus), c.personality.paramsBytes);
            for (const std::wstring& path : c.paths)
                if (!path.empty())
                    std::wprintf(L"    %ls\n", path.c_str());
        }
        return 0;
    }
    return Usage();
}
