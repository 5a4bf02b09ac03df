#pragma once
// Graph events the writer posts, and the sink through which its writer thread posts them.
#include <windows.h>

namespace scrivet {

constexpr long EC_WRITER_WRITE_ERROR = 0x80C8;
constexpr long EC_WRITER_DISK_FULL = 0x80C9;
constexpr long EC_WRITER_FAT_LIMIT = 0x80CA;
constexpr long EC_WRITER_SIZE_LIMIT = 0x80CB;
constexpr long EC_WRITER_PROGRESS = 0x80CC;

class WriterEventSink {
public:
    virtual void Notify(long code, LONG_PTR param1, LONG_PTR param2) = 0;

protected:
    ~WriterEventSink() = default;
};

}  // namespace scrivet
