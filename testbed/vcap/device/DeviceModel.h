#pragma once
// What a virtual card is: its filters (one per role, each with a device interface of its own
// category), its personality, and where the test bed keeps the cards it installed.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vcap {

// The interface class every capture card of this kind exposes.
extern const GUID kCaptureInterfaceClass;

// CodecEncoder: the stream filter of a codec-API card (type 4), listed among the media
// encoders rather than as an encoder device.
enum class FilterRole { Tuner, TvAudio, Crossbar, Capture, Encoder, Multiplexer, CodecEncoder };
constexpr int kRoleCount = 7;

struct RoleInfo {
    FilterRole role;
    const GUID* category;       // filter category and device interface class
    const wchar_t* suffix;      // friendly name suffix and interface reference string
    const GUID* filterClsid;    // the test bed's COM class for this role
};

const std::vector<RoleInfo>& Roles();
const RoleInfo& Role(FilterRole role);

// Bus codes as the driver's bus property reports them.
enum class Bus : uint32_t { Pci = 0, Usb11 = 1, Usb20 = 2, FireWire = 3 };

struct Personality {
    // 1: encoder filter with a stream output; 2: encoder filter with a video output only (the
    // host multiplexes); 3: capture filter's own stream output; 4: codec-API stream filter,
    // no encoder property set.
    uint32_t deviceType = 1;
    Bus bus = Bus::Usb20;
    uint32_t paramsBytes = 44;  // 40: an older driver that knows only the first ten words
};

// One installed card, as the installer recorded it.
struct CardRecord {
    int number = 0;                 // 1, 2, ...: the card's slot in the test bed
    std::wstring name;              // "Virtual MPEG Card" or "Virtual MPEG Card #2"
    std::wstring instanceId;        // SetupAPI device instance identifier
    Personality personality;
    std::wstring paths[kRoleCount]; // interface path per role (empty when the role is absent)
};

// HKLM key under which cards are recorded, one sub-key per card number.
extern const wchar_t kCardsKey[];

bool SaveCard(const CardRecord& card);
bool LoadCard(int number, CardRecord& card);
bool DeleteCard(int number);
std::vector<CardRecord> LoadAllCards();
// The card whose interface of any role has this path (case-insensitive).
bool FindCardByPath(const std::wstring& devicePath, CardRecord& card, FilterRole* role = nullptr);

std::wstring CardName(int number);
std::wstring FilterFriendlyName(const CardRecord& card, FilterRole role);

// Whether a role has a filter on a card of this personality (type 3 has no stream filter).
bool RoleExists(const Personality& p, FilterRole role);
// Whether the card exposes the vendor's capture interface class (a codec-API card does not:
// the program finds it from its tuner).
bool HasCaptureInterfaceClass(const Personality& p);

}  // namespace vcap
