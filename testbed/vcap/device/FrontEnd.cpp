#include "FrontEnd.h"

#include "CrossbarModel.h"
#include "TunerState.h"

#include <cctype>

namespace vcap {

RoutedVideo ReadRoutedVideo(int card, uint32_t nowMs)
{
    RoutedVideo r;
    long audio = 0;
    r.input = kDefaultVideoInput;
    ReadRoute(card, r.input, audio);
    if (!ReadInputState(card, r.input, r.state))
        r.state.signal = false;  // nothing routed to the decoder
    TunerRecord tuner;
    if (r.input == kTunerVideoInput && LoadTuner(card, tuner)) {
        const TunerModel m = ModelOf(tuner);
        r.state.signal = r.state.signal && m.HasSignal(nowMs, ReadStations(card));
        r.state.standard = m.CountryRow().standard;
        r.channel = tuner.channel;
    }
    return r;
}

std::string RoutedCaption(const RoutedVideo& routed)
{
    std::string caption = InputCaption(routed.input);
    if (routed.channel >= 0)
        caption += " CH " + std::to_string(routed.channel);
    return caption;
}

std::string InputCaption(long input)
{
    if (!IsVideoInput(input))
        return "NONE";
    std::string caption;
    for (const wchar_t* k = CrossbarInput(input).key; *k; ++k) {
        const char c = static_cast<char>(*k);
        if (std::isdigit(static_cast<unsigned char>(c)) && !caption.empty())
            caption += ' ';
        caption += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return caption;
}

std::string StandardCaption(long standard)
{
    static const struct {
        long bit;
        const char* name;
    } kNames[] = {
        {0x1, "NTSC M"},     {0x2, "NTSC M J"},   {0x4, "NTSC 433"},   {0x10, "PAL B"},     {0x20, "PAL D"},
        {0x40, "PAL G"},     {0x80, "PAL H"},     {0x100, "PAL I"},    {0x200, "PAL M"},    {0x400, "PAL N"},
        {0x800, "PAL 60"},   {0x1000, "SECAM B"}, {0x2000, "SECAM D"}, {0x4000, "SECAM G"}, {0x8000, "SECAM H"},
        {0x10000, "SECAM K"}, {0x20000, "SECAM K1"}, {0x40000, "SECAM L"}, {0x80000, "SECAM L1"}, {0x100000, "PAL N COMBO"},
    };
    for (const auto& n : kNames)
        if (n.bit == standard)
            return n.name;
    return "UNKNOWN";
}

}  // namespace vcap
