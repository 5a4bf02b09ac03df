#include "DecoderModel.h"

#include "CardControl.h"

namespace vcap {

bool Is525Line(long standard) { return (standard & 0xA07) != 0; }

bool DecoderModel::setFormat(long standard, uint32_t nowMs)
{
    if (standard != 0 && ((standard & ~available_) != 0 || (standard & (standard - 1)) != 0))
        return false;
    requested_ = standard;
    since_ = nowMs;
    return true;
}

bool DecoderModel::locked(uint32_t nowMs, bool signal, long inputStandard) const
{
    if (!signal || nowMs - since_ < kLockTimeMs)
        return false;
    // A fixed standard locks only on a signal with the same line count.
    return requested_ == 0 || inputStandard == 0 || Is525Line(requested_) == Is525Line(inputStandard);
}

long DecoderModel::format(uint32_t nowMs, bool signal, long inputStandard) const
{
    if (requested_ != 0)
        return requested_;
    return locked(nowMs, signal, inputStandard) ? inputStandard : 0;
}

long DecoderModel::lines(uint32_t nowMs, bool signal, long inputStandard) const
{
    const long f = format(nowMs, signal, inputStandard);
    return f == 0 ? 0 : Is525Line(f) ? 525 : 625;
}

bool ProcAmpRangeOf(long property, ProcAmpRange& r)
{
    switch (property) {
    case 0: r = {0, 255, 1, kProcAmpDefaults[0]}; return true;     // brightness
    case 1: r = {0, 127, 1, kProcAmpDefaults[1]}; return true;     // contrast
    case 2: r = {-128, 127, 1, kProcAmpDefaults[2]}; return true;  // hue
    case 3: r = {0, 127, 1, kProcAmpDefaults[3]}; return true;     // saturation
    default: return false;
    }
}

PictureAdjust CardPictureAdjust(int card)
{
    PictureAdjust a;
    a.brightness = ReadProcAmp(card, 0);
    a.contrast = ReadProcAmp(card, 1);
    a.hue = ReadProcAmp(card, 2);
    a.saturation = ReadProcAmp(card, 3);
    return a;
}

}  // namespace vcap
