#pragma once
// AM_MEDIA_TYPE with value semantics, and the free functions filters use on raw media types.
#include <windows.h>
#include <strmif.h>

namespace dshow {

// Deep copy (format block and pUnk); the target must not hold a format block. E_OUTOFMEMORY
// leaves the target with no format block.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);
// Frees the format block and pUnk, leaving the structure itself.
void FreeMediaType(AM_MEDIA_TYPE& type);
// Task-memory copy as enumerators and IMediaSample::GetMediaType hand out; null on failure.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source);
// Frees a task-memory media type and its contents (null is allowed).
void DeleteMediaType(AM_MEDIA_TYPE* type);

class MediaType : public AM_MEDIA_TYPE {
public:
    MediaType();
    MediaType(const GUID& major, const GUID& sub, const GUID& format = GUID_NULL);
    MediaType(const AM_MEDIA_TYPE& other);
    MediaType(const MediaType& other);
    ~MediaType();
    MediaType& operator=(const AM_MEDIA_TYPE& other);
    MediaType& operator=(const MediaType& other);

    // Same major type, subtype and format (type and block); sample size flags are ignored.
    bool operator==(const AM_MEDIA_TYPE& other) const;
    bool operator!=(const AM_MEDIA_TYPE& other) const { return !(*this == other); }

    // Whether this (possibly partial) type accepts `other`: GUID_NULL fields match anything.
    bool MatchesPartial(const AM_MEDIA_TYPE& other) const;
    bool IsPartiallySpecified() const;
    bool IsValid() const { return majortype != GUID_NULL; }

    // Replaces the format block with a copy of `data`; false when out of memory.
    bool SetFormat(const GUID& type, const void* data, ULONG size);
    void Clear();
};

}  // namespace dshow
