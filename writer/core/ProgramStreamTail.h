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
// The furthest back a picture-accurate end looks for the last picture's start: more than the
// largest intra picture of a 15 Mbit/s stream.
constexpr uint32_t kPictureReach = 1 << 20;

// Where a repaired stream ends. A run's own end keeps every complete packet; a file saved from
// a run that never ended (a crash) is worth a clean end instead: the packets of a picture
// that was cut off go too, so the last picture decodes whole.
enum class TailEnd { LastPacket, LastPicture };

struct TailRepair {
    uint64_t cutAt = 0;           // where the stream's good part ends
    std::vector<uint8_t> append;  // bytes to write there (may be none)
    // Bytes rewritten before the cut: packets shortened to end on a whole picture or audio
    // frame, and what followed them in their stream turned into padding. When they cannot
    // be written, the stream is cut before the first packet they touch.
    struct Patch {
        uint64_t at;
        std::vector<uint8_t> bytes;
    };
    std::vector<Patch> patches;
    uint64_t cutWithoutPatches = 0;
};

// Works out the repair from the stream's last bytes: `tail` holds the bytes
// [length - tailSize, length) with tailSize = min(length, kTailReach) (kPictureReach for the
// last picture).
TailRepair PlanTailRepair(const uint8_t* tail, size_t tailSize, uint64_t length,
                          TailEnd end = TailEnd::LastPacket);

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

// Whether the file begins as an MPEG program stream does: with a pack header.
bool StartsWithPackHeader(TailFile& file);

// Repairs the stream of `length` data bytes in `file` and updates `length` to the new end,
// which never passes `maxLength`: when the closing bytes would take it there, the stream is
// repaired as if it ended early enough for them. When the closing bytes cannot be written the
// stream is cut after its last good packet.
void RepairProgramStreamTail(TailFile& file, uint64_t& length, TailEnd end = TailEnd::LastPacket,
                             uint64_t maxLength = UINT64_MAX);

}  // namespace scrivet
