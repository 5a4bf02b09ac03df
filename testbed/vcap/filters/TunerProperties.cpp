// The tuner property set (PROPSETID_TUNER) of the tuner filter; the card's other property sets
// pass through to what every card filter answers.
#include "TunerFilter.h"

#include <vfwmsgs.h>

#include <cstring>

namespace vcap {
namespace {

const HRESULT kBufferTooSmall = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
const HRESULT kInvalid = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

// The tuner property set passes the whole structure, header first; the fields follow it.
template <typename T>
T* Fields(void* data, DWORD size)
{
    return size >= sizeof(T) ? static_cast<T*>(data) : nullptr;
}

}  // namespace

STDMETHODIMP TunerFilter::Get(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size, DWORD* returned)
{
    if (set != kPropSetTuner)
        return CardFilter::Get(set, id, instance, instanceSize, data, size, returned);
    if (!data)
        return E_POINTER;
    DWORD ignored = 0;
    if (!returned)
        returned = &ignored;
    *returned = 0;
    win::AutoLock lock(*FilterLock());
    if (!HasCard())
        return E_UNEXPECTED;
    return GetTunerProperty(id, data, size, returned);
}

STDMETHODIMP TunerFilter::Set(REFGUID set, DWORD id, void* instance, DWORD instanceSize, void* data, DWORD size)
{
    if (set != kPropSetTuner)
        return CardFilter::Set(set, id, instance, instanceSize, data, size);
    if (!data)
        return E_POINTER;
    win::AutoLock lock(*FilterLock());
    if (!HasCard())
        return E_UNEXPECTED;
    return SetTunerProperty(id, data, size);
}

STDMETHODIMP TunerFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (set != kPropSetTuner)
        return CardFilter::QuerySupported(set, id, support);
    if (!support)
        return E_POINTER;
    switch (id) {
    case KSPROPERTY_TUNER_MODE_CAPS:
    case KSPROPERTY_TUNER_STATUS:
        *support = KSPROPERTY_SUPPORT_GET;
        return S_OK;
    case KSPROPERTY_TUNER_MODE:
    case KSPROPERTY_TUNER_STANDARD:
    case KSPROPERTY_TUNER_FREQUENCY:
        *support = KSPROPERTY_SUPPORT_GET | KSPROPERTY_SUPPORT_SET;
        return S_OK;
    default:
        return E_PROP_ID_UNSUPPORTED;
    }
}

HRESULT TunerFilter::GetTunerProperty(DWORD id, void* data, DWORD size, DWORD* returned)
{
    TunerRecord t;
    if (!Load(t))
        return E_FAIL;
    switch (id) {
    case KSPROPERTY_TUNER_MODE_CAPS: {
        auto* caps = Fields<KSPROPERTY_TUNER_MODE_CAPS_S>(data, size);
        if (!caps)
            return kBufferTooSmall;
        if (caps->Mode != KSPROPERTY_TUNER_MODE_TV)
            return kInvalid;  // a TV-only tuner
        caps->StandardsSupported = kTunerStandards;
        caps->MinFrequency = kTunerMinHz;
        caps->MaxFrequency = kTunerMaxHz;
        caps->TuningGranularity = kTunerGranularityHz;
        caps->NumberOfInputs = kInputConnections;
        caps->SettlingTime = kTunerSettleMs;
        caps->Strategy = KS_TUNER_STRATEGY_PLL;
        *returned = sizeof *caps;
        return S_OK;
    }
    case KSPROPERTY_TUNER_MODE: {
        auto* m = Fields<KSPROPERTY_TUNER_MODE_S>(data, size);
        if (!m)
            return kBufferTooSmall;
        m->Mode = static_cast<ULONG>(t.mode);
        *returned = sizeof *m;
        return S_OK;
    }
    case KSPROPERTY_TUNER_STANDARD: {
        // The full structure, or the bare value that some callers pass.
        if (auto* s = Fields<KSPROPERTY_TUNER_STANDARD_S>(data, size)) {
            s->Standard = static_cast<ULONG>(t.standard);
            *returned = sizeof *s;
            return S_OK;
        }
        if (size < sizeof(ULONG))
            return kBufferTooSmall;
        std::memset(data, 0, size);
        *static_cast<ULONG*>(data) = static_cast<ULONG>(t.standard);
        *returned = size;
        return S_OK;
    }
    case KSPROPERTY_TUNER_FREQUENCY: {
        auto* f = Fields<KSPROPERTY_TUNER_FREQUENCY_S>(data, size);
        if (!f)
            return kBufferTooSmall;
        f->Frequency = static_cast<ULONG>(t.frequency);
        f->LastFrequency = static_cast<ULONG>(t.frequency);
        f->TuningFlags = KS_TUNER_TUNING_EXACT;
        f->VideoSubChannel = f->AudioSubChannel = static_cast<ULONG>(-1);
        f->Channel = static_cast<ULONG>(t.channel);
        f->Country = static_cast<ULONG>(t.country);
        *returned = sizeof *f;
        return S_OK;
    }
    case KSPROPERTY_TUNER_STATUS: {
        auto* s = Fields<KSPROPERTY_TUNER_STATUS_S>(data, size);
        if (!s)
            return kBufferTooSmall;
        const TunerStatus st = ModelOf(t).Status(GetTickCount(), ReadStations(cardNumber_));
        s->CurrentFrequency = static_cast<ULONG>(st.frequency);
        s->PLLOffset = static_cast<ULONG>(st.pllOffset);
        s->SignalStrength = st.pllOffset == 0 ? 100 : st.pllOffset == 1 || st.pllOffset == -1 ? 50 : 0;
        s->Busy = st.busy ? 1 : 0;
        *returned = sizeof *s;
        return S_OK;
    }
    default:
        return kNotFound;
    }
}

HRESULT TunerFilter::SetTunerProperty(DWORD id, const void* data, DWORD size)
{
    TunerRecord t;
    if (!Load(t))
        return E_FAIL;
    switch (id) {
    case KSPROPERTY_TUNER_MODE: {
        if (size < sizeof(KSPROPERTY_TUNER_MODE_S))
            return kBufferTooSmall;
        if (static_cast<const KSPROPERTY_TUNER_MODE_S*>(data)->Mode != KSPROPERTY_TUNER_MODE_TV)
            return kInvalid;
        t.mode = KSPROPERTY_TUNER_MODE_TV;
        break;
    }
    case KSPROPERTY_TUNER_STANDARD: {
        ULONG standard = 0;
        if (size >= sizeof(KSPROPERTY_TUNER_STANDARD_S))
            standard = static_cast<const KSPROPERTY_TUNER_STANDARD_S*>(data)->Standard;
        else if (size >= sizeof(ULONG))
            standard = *static_cast<const ULONG*>(data);
        else
            return kBufferTooSmall;
        if (standard == 0 || (standard & (standard - 1)) != 0 || (standard & ~static_cast<ULONG>(kTunerStandards)) != 0)
            return kInvalid;
        t.standard = static_cast<long>(standard);
        break;
    }
    case KSPROPERTY_TUNER_FREQUENCY: {
        if (size < sizeof(KSPROPERTY_TUNER_FREQUENCY_S))
            return kBufferTooSmall;
        const auto* f = static_cast<const KSPROPERTY_TUNER_FREQUENCY_S*>(data);
        TunerModel m = ModelOf(t);
        if (!m.TuneFrequency(static_cast<long>(f->Frequency), GetTickCount()))
            return kInvalid;
        t.frequency = m.Frequency();
        t.tunedAt = m.TunedAt();
        break;
    }
    case KSPROPERTY_TUNER_MODE_CAPS:
    case KSPROPERTY_TUNER_STATUS:
        return E_PROP_ID_UNSUPPORTED;
    default:
        return kNotFound;
    }
    return SaveTuner(cardNumber_, t) ? S_OK : E_FAIL;
}

}  // namespace vcap
