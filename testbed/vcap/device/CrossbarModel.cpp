#include "CrossbarModel.h"

#include <cwchar>

namespace vcap {
namespace {

const CrossbarPin kInputs[kCrossbarInputs] = {
    {L"Video Tuner In", PhysConn_Video_Tuner, 7, L"tuner"},
    {L"Video Composite In", PhysConn_Video_Composite, 8, L"composite1"},
    {L"Video SVideo In", PhysConn_Video_SVideo, 9, L"svideo1"},
    {L"Video Composite In 2", PhysConn_Video_Composite, 10, L"composite2"},
    {L"Video SVideo In 2", PhysConn_Video_SVideo, 11, L"svideo2"},
    {L"Video AUX In", PhysConn_Video_AUX, 12, L"aux"},
    {L"Video YRYBY In", PhysConn_Video_YRYBY, 13, L"component"},
    {L"Audio Tuner In", PhysConn_Audio_Tuner, 0, nullptr},
    {L"Audio Line In", PhysConn_Audio_Line, 1, nullptr},
    {L"Audio Line In 2", PhysConn_Audio_Line, 2, nullptr},
    {L"Audio Line In 3", PhysConn_Audio_Line, 3, nullptr},
    {L"Audio Line In 4", PhysConn_Audio_Line, 4, nullptr},
    {L"Audio AUX In", PhysConn_Audio_AUX, 5, nullptr},
    {L"Audio Line In 5", PhysConn_Audio_Line, 6, nullptr},
};

const CrossbarPin kOutputs[kCrossbarOutputs] = {
    {L"Video Decoder Out", PhysConn_Video_VideoDecoder, kAudioOutput, nullptr},
    {L"Audio Decoder Out", PhysConn_Audio_AudioDecoder, kVideoOutput, nullptr},
};

}  // namespace

const CrossbarPin& CrossbarInput(long index) { return kInputs[index]; }
const CrossbarPin& CrossbarOutput(long index) { return kOutputs[index]; }

bool IsVideoInput(long input) { return input >= 0 && input < kVideoInputCount; }

long VideoInputByKey(const wchar_t* key)
{
    for (long i = 0; key && i < kVideoInputCount; ++i) {
        if (_wcsicmp(kInputs[i].key, key) == 0)
            return i;
    }
    return -1;
}

bool CrossbarModel::CanRoute(long output, long input)
{
    if (input < -1 || input >= kCrossbarInputs)
        return false;
    if (output == kVideoOutput)
        return input == -1 || IsVideoInput(input);
    if (output == kAudioOutput)
        return input == -1 || input >= kVideoInputCount;
    return false;
}

bool CrossbarModel::Route(long output, long input)
{
    if (!CanRoute(output, input))
        return false;
    if (output == kAudioOutput) {
        audio_ = input;
        return true;
    }
    video_ = input;
    if (input >= 0)
        audio_ = kInputs[input].related;
    return true;
}

long CrossbarModel::RoutedTo(long output) const { return output == kVideoOutput ? video_ : audio_; }

void CrossbarModel::Restore(long video, long audio)
{
    video_ = CanRoute(kVideoOutput, video) ? video : kDefaultVideoInput;
    audio_ = CanRoute(kAudioOutput, audio) ? audio : kInputs[kDefaultVideoInput].related;
}

}  // namespace vcap
