#pragma once
// What Scrivet offers its clients: the filter's class identifier, the size-limit interface of
// the filter, the stream interface of its input pin, and the graph events it posts.
#include <windows.h>
#include <objidl.h>

// {D8F5DB82-CA39-483F-A502-844D4132DD5C}
DEFINE_GUID(CLSID_ScrivetFileWriter, 0xD8F5DB82, 0xCA39, 0x483F, 0xA5, 0x02, 0x84, 0x4D, 0x41,
            0x32, 0xDD, 0x5C);

// Bytes a recording file may hold; -1 for no limit. It takes effect when the next run opens
// the file.
MIDL_INTERFACE("79817A1F-5D20-438A-9CE1-BE50D8B10E9E")
IWriterSizeLimit : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE SetSizeLimit(LONGLONG limit) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSizeLimit(LONGLONG* limit) = 0;
};

// Seek and write access to the output file for an upstream multiplexer, with IStream's method
// layout; usable only while the filter is stopped.
MIDL_INTERFACE("3ED6180E-B497-4DCF-81A4-EFE8F4E18997")
IWriterStream : public IStream {
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IWriterSizeLimit, 0x79817A1F, 0x5D20, 0x438A, 0x9C, 0xE1, 0xBE, 0x50, 0xD8, 0xB1,
                0x0E, 0x9E)
__CRT_UUID_DECL(IWriterStream, 0x3ED6180E, 0xB497, 0x4DCF, 0x81, 0xA4, 0xEF, 0xE8, 0xF4, 0xE1,
                0x89, 0x97)
#endif

// Graph events (user range): disk full and the three limits carry no parameters; progress
// carries the bytes written so far as high and low 32 bits.
#define EC_WRITER_WRITE_ERROR 0x80C8
#define EC_WRITER_DISK_FULL 0x80C9
#define EC_WRITER_FAT_LIMIT 0x80CA
#define EC_WRITER_SIZE_LIMIT 0x80CB
#define EC_WRITER_PROGRESS 0x80CC
