#include "dshowbase/MediaType.h"

#include <cstring>

namespace dshow {

HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source)
{
    if (!target || !source)
        return E_POINTER;
    *target = *source;
    if (source->cbFormat && source->pbFormat) {
        target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
        if (!target->pbFormat) {
            target->cbFormat = 0;
            target->pUnk = nullptr;
            return E_OUTOFMEMORY;
        }
        memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
    } else {
        target->pbFormat = nullptr;
        target->cbFormat = 0;
    }
    if (target->pUnk)
        target->pUnk->AddRef();
    return S_OK;
}

void FreeMediaType(AM_MEDIA_TYPE& type)
{
    if (type.pbFormat)
        CoTaskMemFree(type.pbFormat);
    type.pbFormat = nullptr;
    type.cbFormat = 0;
    if (type.pUnk) {
        type.pUnk->Release();
        type.pUnk = nullptr;
    }
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source)
{
    auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (!type)
        return nullptr;
    if (FAILED(CopyMediaType(type, source))) {
        CoTaskMemFree(type);
        return nullptr;
    }
    return type;
}

void DeleteMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return;
    FreeMediaType(*type);
    CoTaskMemFree(type);
}

MediaType::MediaType() : AM_MEDIA_TYPE{}
{
    bFixedSizeSamples = TRUE;
    lSampleSize = 1;
}

MediaType::MediaType(const GUID& major, const GUID& sub, const GUID& format) : MediaType()
{
    majortype = major;
    subtype = sub;
    formattype = format;
}

MediaType::MediaType(const AM_MEDIA_TYPE& other) : AM_MEDIA_TYPE{}
{
    CopyMediaType(this, &other);
}

MediaType::MediaType(const MediaType& other) : MediaType(static_cast<const AM_MEDIA_TYPE&>(other)) {}

MediaType::~MediaType() { FreeMediaType(*this); }

MediaType& MediaType::operator=(const AM_MEDIA_TYPE& other)
{
    if (&other != this) {
        FreeMediaType(*this);
        CopyMediaType(this, &other);
    }
    return *this;
}

MediaType& MediaType::operator=(const MediaType& other)
{
    return *this = static_cast<const AM_MEDIA_TYPE&>(other);
}

bool MediaType::operator==(const AM_MEDIA_TYPE& other) const
{
    if (majortype != other.majortype || subtype != other.subtype || formattype != other.formattype ||
        cbFormat != other.cbFormat)
        return false;
    return cbFormat == 0 || memcmp(pbFormat, other.pbFormat, cbFormat) == 0;
}

bool MediaType::MatchesPartial(const AM_MEDIA_TYPE& other) const
{
    if (majortype != GUID_NULL && majortype != other.majortype)
        return false;
    if (subtype != GUID_NULL && subtype != other.subtype)
        return false;
    if (formattype != GUID_NULL) {
        if (formattype != other.formattype || cbFormat != other.cbFormat)
            return false;
        if (cbFormat && memcmp(pbFormat, other.pbFormat, cbFormat) != 0)
            return false;
    }
    return true;
}

bool MediaType::IsPartiallySpecified() const
{
    return majortype == GUID_NULL || subtype == GUID_NULL || formattype == GUID_NULL;
}

bool MediaType::SetFormat(const GUID& type, const void* data, ULONG size)
{
    if (pbFormat)
        CoTaskMemFree(pbFormat);
    pbFormat = nullptr;
    cbFormat = 0;
    formattype = type;
    if (!size)
        return true;
    pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(size));
    if (!pbFormat)
        return false;
    memcpy(pbFormat, data, size);
    cbFormat = size;
    return true;
}

void MediaType::Clear()
{
    FreeMediaType(*this);
    static_cast<AM_MEDIA_TYPE&>(*this) = AM_MEDIA_TYPE{};
}

}  // namespace dshow
