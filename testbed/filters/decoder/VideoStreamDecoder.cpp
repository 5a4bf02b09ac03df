#include "VideoStreamDecoder.h"

#include "BitReader.h"
#include "SliceDecoder.h"

namespace mpegv {
namespace {

constexpr int kMaxDimension = 4096;
// A unit larger than this is garbage without start codes; it is dropped, not buffered.
constexpr size_t kMaxUnit = size_t(8) << 20;

}  // namespace

void VideoStreamDecoder::Push(const uint8_t* data, size_t size, bool hasTime, int64_t time)
{
    if (size == 0) return;
    if (hasTime) times_.emplace_back(bufferBase_ + buffer_.size(), time);
    buffer_.insert(buffer_.end(), data, data + size);
    Scan(false);
}

void VideoStreamDecoder::Flush()
{
    Scan(true);
    FinishPicture();
    if (pendingField_) {
        pendingField_ = false;
        ++stats_.picturesDecoded;
        if (sink_) sink_(picture_, pictureHasTime_, pictureTime_);
    }
    Reset();
}

void VideoStreamDecoder::Reset()
{
    bufferBase_ += buffer_.size();
    buffer_.clear();
    unitStart_ = SIZE_MAX;
    searchFrom_ = 0;
    times_.clear();
    inPicture_ = false;
    pendingField_ = false;
}

void VideoStreamDecoder::Scan(bool atEnd)
{
    size_t i = searchFrom_;
    while (i + 3 < buffer_.size()) {
        if (buffer_[i + 2] > 1) {
            i += 3;
        } else if (buffer_[i] == 0 && buffer_[i + 1] == 0 && buffer_[i + 2] == 1) {
            if (unitStart_ != SIZE_MAX)
                ProcessUnit(buffer_.data() + unitStart_, i - unitStart_, bufferBase_ + unitStart_);
            unitStart_ = i;
            i += 4;
        } else {
            ++i;
        }
    }
    if (atEnd && unitStart_ != SIZE_MAX && unitStart_ + 4 <= buffer_.size()) {
        ProcessUnit(buffer_.data() + unitStart_, buffer_.size() - unitStart_, bufferBase_ + unitStart_);
        unitStart_ = SIZE_MAX;
    }
    searchFrom_ = i;

    // Keep only the unit in progress (or the last bytes that may begin a start code).
    size_t keepFrom = unitStart_ != SIZE_MAX ? unitStart_ : (buffer_.size() > 3 ? buffer_.size() - 3 : 0);
    if (unitStart_ != SIZE_MAX && buffer_.size() - unitStart_ > kMaxUnit) {
        keepFrom = buffer_.size();
        unitStart_ = SIZE_MAX;
    }
    if (keepFrom > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(keepFrom));
        bufferBase_ += keepFrom;
        if (unitStart_ != SIZE_MAX) unitStart_ -= keepFrom;
        searchFrom_ = searchFrom_ > keepFrom ? searchFrom_ - keepFrom : 0;
    }
}

void VideoStreamDecoder::ProcessUnit(const uint8_t* unit, size_t size, uint64_t offset)
{
    const uint8_t code = unit[3];
    const uint8_t* body = unit + 4;
    const size_t bodySize = size - 4;
    BitReader br(body, bodySize);

    if (code >= kSliceFirst && code <= kSliceLast) {
        DecodeSliceUnit(code, body, bodySize);
        return;
    }
    switch (code) {
    case kPictureStart:
        FinishPicture();
        StartPicture(body, bodySize, offset);
        break;
    case kSequenceHeader:
        FinishPicture();
        haveSequence_ = ParseSequenceHeader(br, &sequence_);
        break;
    case kExtensionStart:
        if (!haveSequence_) break;
        switch (br.Peek(4)) {
        case 1: ParseSequenceExtension(br, &sequence_); break;
        case 3: ParseQuantMatrixExtension(br, &sequence_); break;
        case 8:
            if (inPicture_) ParsePictureCodingExtension(br, &pictureInfo_);
            break;
        default: break;
        }
        break;
    case kGroupStart:
    case kSequenceEnd:
        FinishPicture();
        break;
    default:
        break;
    }
}

void VideoStreamDecoder::StartPicture(const uint8_t* body, size_t size, uint64_t offset)
{
    // The time of the push that holds this start code, if no earlier picture took it.
    pictureHasTime_ = false;
    while (!times_.empty() && times_.front().first <= offset) {
        pictureHasTime_ = true;
        pictureTime_ = times_.front().second;
        times_.pop_front();
    }
    BitReader br(body, size);
    inPicture_ = ParsePictureHeader(br, &pictureInfo_);
    slicesInPicture_ = 0;
    pictureUsable_ = false;
}

bool VideoStreamDecoder::PrepareBuffer()
{
    const SequenceInfo& s = sequence_;
    const PictureInfo& p = pictureInfo_;
    if (!haveSequence_ || s.width > kMaxDimension || s.height > kMaxDimension ||
        s.chromaFormat != 1 || p.structure == 0 || (p.structure != kFramePicture && s.progressiveSequence))
        return false;
    const int mbWidth = (s.width + 15) / 16;
    const int mbHeight = s.mpeg2 && !s.progressiveSequence ? 2 * ((s.height + 31) / 32) : (s.height + 15) / 16;
    if (picture_.width != s.width || picture_.height != s.height ||
        picture_.lumaStride != mbWidth * 16 || picture_.paddedHeight != mbHeight * 16)
        picture_.Allocate(s.width, s.height, mbWidth * 16, mbHeight * 16);
    return true;
}

void VideoStreamDecoder::DecodeSliceUnit(int code, const uint8_t* body, size_t size)
{
    if (!inPicture_ || pictureInfo_.codingType != kIntra) return;
    if (slicesInPicture_ == 0) {
        pictureUsable_ = PrepareBuffer();
        if (!pictureUsable_) ++stats_.unsupported;
    }
    ++slicesInPicture_;
    if (!pictureUsable_) return;

    SliceContext ctx;
    ctx.sequence = &sequence_;
    ctx.picture = &pictureInfo_;
    ctx.mbWidth = picture_.lumaStride / 16;
    ctx.mbRows = picture_.paddedHeight / 16 / (pictureInfo_.structure == kFramePicture ? 1 : 2);
    BitReader br(body, size);
    if (DecodeSlice(ctx, code, br, picture_))
        ++stats_.slicesDecoded;
    else
        ++stats_.slicesDamaged;
}

void VideoStreamDecoder::FinishPicture()
{
    if (!inPicture_) return;
    inPicture_ = false;
    if (pictureInfo_.codingType != kIntra) {
        ++stats_.picturesSkipped;
        return;
    }
    if (!pictureUsable_) return;
    if (pictureInfo_.structure != kFramePicture && !pendingField_) {
        pendingField_ = true;  // the frame is shown once its second field is in
        return;
    }
    pendingField_ = false;
    ++stats_.picturesDecoded;
    if (sink_) sink_(picture_, pictureHasTime_, pictureTime_);
}

}  // namespace mpegv
