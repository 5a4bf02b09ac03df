#pragma once
// Repair of the end of an MPEG-1 or MPEG-2 program stream that was cut off mid-packet: the
// stream is cut after its last complete packet and closed with a copy of the last pack
// header, a video packet holding only a sequence end code, and the program end code.
#include <win/Handle.h>

#include <windows.h>

#include <cstdint>
#include <vector>

namespace scrivet {

// The furthest back the repair looks for packets.
constexpr uint32_t kTailReach = 40960;

struct TailRepair {
    uint64_t cutAt = 0;           // where the stream's good part ends
    std::vector<uint8_t> append;  // bytes to write there (may be none)
};

// Works out the repair from the stream's last bytes: `tail` holds the bytes
// [length - tailSize, length) with tailSize = min(length, kTailReach).
TailRepair PlanTailRepair(const uint8_t* tail, size_t tailSize, uint64_t length);

// Random access to the file being repaired.
class TailFile {
public:
    virtual bool ReadAt(uint64_t offset, void* data, DWORD length, DWORD* got) = 0;
    virtual bool WriteAt(uint64_t offset, const void* data, DWORD length) = 0;

protected:
    ~TailFile() = default;
};

class HandleTailFile final : public TailFile {
public:
    explicit HandleTailFile(const win::Handle& file) : file_(file) {}
    bool ReadAt(uint64_t offset, void* data, DWORD length, DWORD* got) override;
    bool WriteAt(uint64_t offset, const void* data, DWORD length) override;

private:
    const win::Handle& file_;
};

// Repairs the stream of `length` data bytes in `file` and updates `length` to the new end.
// When the closing bytes cannot be written the stream is cut after its last good packet.
void RepairProgramStreamTail(TailFile& file, uint64_t& length);

}  // namespace scrivet
