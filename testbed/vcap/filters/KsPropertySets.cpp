#include "KsPropertySets.h"

#include "EncoderState.h"

#include <strmif.h>
#include <vfwmsgs.h>

#include <cstring>

namespace vcap {

const GUID kEncoderPropertySet = {0xC7486006, 0x6674, 0x4542, {0x9E, 0x3C, 0xA9, 0x35, 0xB9, 0x8C, 0x37, 0xB3}};
const GUID kEventPropertySet = {0xE74583E7, 0xE8D8, 0x4869, {0x98, 0xD0, 0x45, 0x3F, 0x64, 0x7D, 0x16, 0x37}};
const GUID kBusPropertySet = {0x456F9F8F, 0x3AB5, 0x48E7, {0x86, 0xFA, 0x44, 0xD1, 0x84, 0x66, 0xD4, 0x0E}};
const GUID kExtendedControlSet = {0xA4D2A59A, 0x180C, 0x43CB, {0xBA, 0x72, 0xEE, 0x45, 0xCF, 0xCB, 0x1F, 0xDA}};

namespace {

const HRESULT kBufferTooSmall = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
const HRESULT kInvalid = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
const HRESULT kSetNotFound = HRESULT_FROM_WIN32(ERROR_SET_NOT_FOUND);

// The parameter block's size this driver knows: 44, or 40 for the older driver, which
// refuses any other size as too small a request for it to understand.
bool ParamsSizeAccepted(const Personality& p, DWORD size) { return size == p.paramsBytes; }

// A codec-API card (type 4) is configured through its stream filter: its capture filter has
// no encoder property set and no extended controls.
bool CardAnswers(const Personality& p, const GUID& set)
{
    return p.deviceType != 4 || (set != kEncoderPropertySet && set != kExtendedControlSet);
}

}  // namespace

CardProperties::~CardProperties()
{
    for (Registration& r : events_) {
        if (r.handle)
            CloseHandle(r.handle);
    }
}

HRESULT CardProperties::Get(const GUID& set, DWORD id, void* data, DWORD size, DWORD* returned)
{
    if (!data)
        return E_POINTER;
    DWORD ignored = 0;
    if (!returned)
        returned = &ignored;
    *returned = 0;
    if (!CardAnswers(card_.personality, set))
        return kSetNotFound;
    if (set == kEncoderPropertySet) {
        EncoderState s;
        LoadEncoderState(card_.number, s);
        if (id == 0) {
            if (size < kCapabilityBytes)
                return kBufferTooSmall;
            uint32_t words[kCapabilityWords];
            const uint32_t* in = static_cast<const uint32_t*>(data);
            // A question only: the mode and standard change through property 1.
            FillCapabilities(in[0], in[1], card_.personality.deviceType, words);
            std::memcpy(data, words, kCapabilityBytes);
            *returned = kCapabilityBytes;
            return S_OK;
        }
        if (id == 1) {
            if (size < 8)
                return kBufferTooSmall;
            const uint32_t pair[2] = {s.captureMode, s.captureStandard};
            std::memcpy(data, pair, 8);
            *returned = 8;
            return S_OK;
        }
        if (id == 2) {
            if (!ParamsSizeAccepted(card_.personality, size))
                return kBufferTooSmall;
            std::memcpy(data, &s.params, size);
            *returned = size;
            return S_OK;
        }
        return kNotFound;
    }
    if (set == kBusPropertySet) {
        if (id != 0)
            return kNotFound;
        if (size < 12)
            return kBufferTooSmall;
        const uint32_t value[3] = {0, static_cast<uint32_t>(card_.personality.bus), 0};
        std::memcpy(data, value, 12);
        *returned = 12;
        return S_OK;
    }
    if (set == kEventPropertySet) {
        if (id >= kDeviceEventCount)
            return kNotFound;
        if (size < 8)
            return kBufferTooSmall;
        const uint32_t value[2] = {events_[id].callerHandle, events_[id].enabled};
        std::memcpy(data, value, 8);
        *returned = 8;
        return S_OK;
    }
    if (set == kExtendedControlSet) {
        if (id != 1)
            return kNotFound;
        if (size < 32)
            return kBufferTooSmall;
        std::memset(data, 0, 32);
        static_cast<uint32_t*>(data)[0] = card_.personality.deviceType;
        *returned = 32;
        return S_OK;
    }
    return kSetNotFound;
}

HRESULT CardProperties::Set(const GUID& set, DWORD id, const void* data, DWORD size)
{
    if (!data)
        return E_POINTER;
    if (!CardAnswers(card_.personality, set))
        return kSetNotFound;
    if (set == kEncoderPropertySet) {
        if (id == 0)
            return E_PROP_ID_UNSUPPORTED;
        if (id == 1)
            return SetModeAndStandard(data, size);
        if (id != 2)
            return kNotFound;
        if (!ParamsSizeAccepted(card_.personality, size))
            return kBufferTooSmall;
        EncoderState s;
        LoadEncoderState(card_.number, s);
        EncoderParams p = s.params;
        std::memcpy(&p, data, size);
        if (!CheckParams(p, s.captureMode).empty())
            return kInvalid;
        s.params = p;
        return SaveEncoderState(card_.number, s) ? S_OK : E_FAIL;
    }
    if (set == kEventPropertySet) {
        if (id >= kDeviceEventCount)
            return kNotFound;
        if (size < 8)
            return kBufferTooSmall;
        const uint32_t* v = static_cast<const uint32_t*>(data);
        Registration& r = events_[id];
        if (v[1] == 0) {
            // Unregistering the handle we hold; a different handle is not ours to drop.
            if (r.callerHandle == v[0] || v[0] == 0) {
                if (r.handle)
                    CloseHandle(r.handle);
                r = Registration{};
            }
            return S_OK;
        }
        HANDLE caller = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(v[0]));
        HANDLE mine = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), caller, GetCurrentProcess(), &mine, EVENT_MODIFY_STATE, FALSE, 0))
            return kInvalid;
        if (r.handle)
            CloseHandle(r.handle);
        r.handle = mine;
        r.callerHandle = v[0];
        r.enabled = v[1];
        return S_OK;
    }
    if (set == kBusPropertySet || set == kExtendedControlSet)
        return E_PROP_ID_UNSUPPORTED;
    return kSetNotFound;
}

HRESULT CardProperties::QuerySupported(const GUID& set, DWORD id, DWORD* support) const
{
    if (!support)
        return E_POINTER;
    if (!CardAnswers(card_.personality, set))
        return E_PROP_SET_UNSUPPORTED;
    if (set == kEncoderPropertySet) {
        if (id > 2)
            return E_PROP_ID_UNSUPPORTED;
        *support = KSPROPERTY_SUPPORT_GET | (id != 0 ? KSPROPERTY_SUPPORT_SET : 0);
        return S_OK;
    }
    if (set == kEventPropertySet) {
        if (id >= kDeviceEventCount)
            return E_PROP_ID_UNSUPPORTED;
        *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
        return S_OK;
    }
    if (set == kBusPropertySet || set == kExtendedControlSet) {
        if (id != (set == kBusPropertySet ? 0u : 1u))
            return E_PROP_ID_UNSUPPORTED;
        *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    }
    return E_PROP_SET_UNSUPPORTED;
}

// The mode and standard arrive ahead of the parameter block, which is then checked against
// the new mode; the stream started next is encoded in them.
HRESULT CardProperties::SetModeAndStandard(const void* data, DWORD size)
{
    if (size < 8)
        return kBufferTooSmall;
    uint32_t pair[2];
    std::memcpy(pair, data, sizeof pair);
    if (!IsModeAndStandard(pair[0], pair[1]))
        return kInvalid;
    EncoderState s;
    LoadEncoderState(card_.number, s);
    s.captureMode = pair[0];
    s.captureStandard = pair[1];
    return SaveEncoderState(card_.number, s) ? S_OK : E_FAIL;
}

bool CardProperties::Fire(int event)
{
    if (event < 0 || event >= kDeviceEventCount)
        return false;
    const Registration& r = events_[event];
    return r.handle && r.enabled && SetEvent(r.handle);
}

}  // namespace vcap
