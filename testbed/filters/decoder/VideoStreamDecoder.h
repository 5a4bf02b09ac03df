#pragma once
// MPEG-1/MPEG-2 video elementary-stream decoder for intra pictures. Bytes arrive in any
// chunking (PES payloads); the stream is split at start codes, headers are tracked and each
// intra picture is decoded into a 4:2:0 picture and handed to the sink. Predicted and
// bidirectional pictures are counted and skipped, so a viewer keeps showing the last picture.
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "ColourConvert.h"
#include "Headers.h"

namespace mpegv {

struct DecoderStats {
    uint64_t picturesDecoded = 0;  // intra pictures handed to the sink
    uint64_t picturesSkipped = 0;  // pictures of other types
    uint64_t slicesDecoded = 0;
    uint64_t slicesDamaged = 0;
    uint64_t unsupported = 0;      // pictures refused (size, chroma format, no sequence header)
};

class VideoStreamDecoder {
public:
    // The picture is valid during the call; `time` is the caller's timestamp given with the
    // data in which the picture's start code began, when there was one.
    using Sink = std::function<void(const Picture& picture, bool hasTime, int64_t time)>;

    explicit VideoStreamDecoder(Sink sink) : sink_(std::move(sink)) {}

    void Push(const uint8_t* data, size_t size, bool hasTime = false, int64_t time = 0);
    // End of stream: decodes what is buffered and delivers a last complete picture.
    void Flush();
    // A discontinuity: buffered bytes and the picture in progress are dropped; the sequence
    // header and the last picture are kept.
    void Reset();

    bool HasSequence() const { return haveSequence_; }
    const SequenceInfo& Sequence() const { return sequence_; }
    const Picture& LastPicture() const { return picture_; }
    const DecoderStats& Stats() const { return stats_; }

private:
    void Scan(bool atEnd);
    void ProcessUnit(const uint8_t* unit, size_t size, uint64_t offset);
    void StartPicture(const uint8_t* body, size_t size, uint64_t offset);
    void DecodeSliceUnit(int code, const uint8_t* body, size_t size);
    void FinishPicture();
    bool PrepareBuffer();

    Sink sink_;
    std::vector<uint8_t> buffer_;
    uint64_t bufferBase_ = 0;      // stream offset of buffer_[0]
    size_t unitStart_ = SIZE_MAX;  // index of the current unit's start code
    size_t searchFrom_ = 0;
    std::deque<std::pair<uint64_t, int64_t>> times_;  // (stream offset of a push, its time)

    SequenceInfo sequence_;
    bool haveSequence_ = false;
    PictureInfo pictureInfo_;
    bool inPicture_ = false;
    bool pictureUsable_ = false;   // intra, supported, buffer ready
    bool pictureHasTime_ = false;
    int64_t pictureTime_ = 0;
    int slicesInPicture_ = 0;
    bool pendingField_ = false;    // first field of an intra frame decoded, second awaited
    Picture picture_;
    DecoderStats stats_;
};

}  // namespace mpegv
