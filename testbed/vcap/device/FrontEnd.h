#pragma once
// What reaches the capture chip now: the video input the crossbar routes to the decoder, with
// its signal and standard (the tuner's picture only while it sits on a station, in its
// country's standard), and the names the encoder's test picture shows for them.
#include "CardControl.h"

#include <cstdint>
#include <string>

namespace vcap {

struct RoutedVideo {
    long input = -1;  // crossbar video input, -1 when nothing is routed to the decoder
    InputState state;
    long channel = -1;  // the tuner's channel when the tuner is routed
};

RoutedVideo ReadRoutedVideo(int card, uint32_t nowMs);

// "COMPOSITE 1", "TUNER", ...: the caption of a video input; "NONE" for -1.
std::string InputCaption(long input);
// What the encoder's test picture names: the input's caption, with the channel for the
// tuner ("TUNER CH 9").
std::string RoutedCaption(const RoutedVideo& routed);
// "PAL B", "NTSC M", ...: the caption of one AnalogVideoStandard bit.
std::string StandardCaption(long standard);

}  // namespace vcap
