#include "Mp2FrameEncoder.h"

#include "BitWriter.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mpegaudio {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kWindow = 512;
constexpr uint32_t kBitRates[15] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};

// Quantiser steps of the Layer II classes; the allocation tables index into this list.
constexpr uint32_t kLevels[17] = {3, 5, 7, 9, 15, 31, 63, 127, 255, 511, 1023, 2047, 4095, 8191, 16383, 32767, 65535};

struct AllocationRow {
    int firstSubband;
    int bits;               // width of the allocation field
    std::array<int, 16> classes;  // class per allocation value (value 0: nothing sent)
};

// The long table (27 or 30 subbands) and the short one (8 or 12), by first subband.
constexpr AllocationRow kLongTable[] = {
    {0, 4, {-1, 0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}},
    {3, 4, {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 16}},
    {11, 3, {-1, 0, 1, 2, 3, 4, 5, 16}},
    {23, 2, {-1, 0, 1, 16}},
};
constexpr AllocationRow kShortTable[] = {
    {0, 4, {-1, 0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    {2, 3, {-1, 0, 1, 3, 4, 5, 6, 7}},
};

const AllocationRow& RowOf(int table, int sb)
{
    const AllocationRow* rows = table == 0 ? kLongTable : kShortTable;
    const int count = table == 0 ? 4 : 2;
    int r = 0;
    while (r + 1 < count && rows[r + 1].firstSubband <= sb)
        ++r;
    return rows[r];
}

int MaxAllocation(const AllocationRow& row) { return (1 << row.bits) - 1; }

// Bits of 36 samples at a quantiser: 3, 5 and 9 steps are sent as groups of three.
int SampleBits(uint32_t levels)
{
    switch (levels) {
    case 3: return 12 * 5;
    case 5: return 12 * 7;
    case 9: return 12 * 10;
    default: {
        int b = 0;
        while ((1u << b) < levels + 1)
            ++b;
        return 36 * b;
    }
    }
}

int GroupBits(uint32_t levels) { return levels == 3 ? 5 : levels == 5 ? 7 : levels == 9 ? 10 : 0; }

double ScaleOf(int index) { return std::pow(2.0, 1.0 - index / 3.0); }

// Analysis window: a Blackman-windowed low-pass prototype centred on sample 256, with the
// sign pattern that folds the cosine modulation to 64 taps. Its cut-off lies a little beyond
// half a subband so that a tone on the boundary of two subbands keeps its level through the
// decoder's synthesis (within 0.2 dB); scaled so a sine in a subband keeps its amplitude.
const std::array<double, kWindow>& AnalysisWindow()
{
    static const std::array<double, kWindow> window = [] {
        std::array<double, kWindow> c{};
        const double cutoff = 1.13 / 128.0;
        for (int n = 0; n < kWindow; ++n) {
            const double m = n - 256.0;
            const double sinc = m == 0 ? 2 * cutoff : std::sin(2 * kPi * cutoff * m) / (kPi * m);
            const double w = 0.42 + 0.5 * std::cos(kPi * m / 256.0) + 0.08 * std::cos(2 * kPi * m / 256.0);
            c[n] = 2.0 * sinc * w * ((n / 64) % 2 == 0 ? 1.0 : -1.0);
        }
        return c;
    }();
    return window;
}

const std::array<std::array<double, 64>, kSubbands>& Matrix()
{
    static const std::array<std::array<double, 64>, kSubbands> m = [] {
        std::array<std::array<double, 64>, kSubbands> t{};
        for (int k = 0; k < kSubbands; ++k)
            for (int i = 0; i < 64; ++i)
                t[k][i] = std::cos((2 * k + 1) * (i - 16) * kPi / 64.0);
        return t;
    }();
    return m;
}

uint32_t Quantise(double x, double scale, uint32_t levels)
{
    const double v = std::floor((x / scale * levels + (levels - 1)) / 2.0 + 0.5);
    return static_cast<uint32_t>(std::clamp(v, 0.0, static_cast<double>(levels - 1)));
}

}  // namespace

bool IsValidFormat(const Mp2Format& f)
{
    if (f.sampleRate != 32000 && f.sampleRate != 44100 && f.sampleRate != 48000)
        return false;
    if (f.channels != 1 && f.channels != 2)
        return false;
    const uint32_t* found = std::find(std::begin(kBitRates) + 1, std::end(kBitRates), f.kbps);
    if (found == std::end(kBitRates))
        return false;
    // Stereo needs 64 kbit/s or more and not 80; one channel needs 192 or less.
    if (f.channels == 2)
        return f.kbps >= 64 && f.kbps != 80;
    return f.kbps <= 192;
}

uint32_t FrameBytes(const Mp2Format& f) { return 144000u * f.kbps / f.sampleRate; }

Mp2FrameEncoder::Mp2FrameEncoder(const Mp2Format& format) : format_(format)
{
    bitRateIndex_ = static_cast<int>(std::find(std::begin(kBitRates), std::end(kBitRates), format.kbps) - std::begin(kBitRates));
    frequencyIndex_ = format.sampleRate == 44100 ? 0 : format.sampleRate == 48000 ? 1 : 2;
    const uint32_t perChannel = format.kbps / format.channels;
    // The table a decoder expects for this rate and bit rate per channel.
    if ((format.sampleRate == 48000 && perChannel >= 56) || (perChannel >= 56 && perChannel <= 80)) {
        table_ = 0;
        sbLimit_ = 27;
    } else if (format.sampleRate != 48000 && perChannel >= 96) {
        table_ = 0;
        sbLimit_ = 30;
    } else {
        table_ = 1;
        sbLimit_ = format.sampleRate == 32000 ? 12 : 8;
    }
    frameBytes_ = FrameBytes(format);
    paddingRemainder_ = 144000u * format.kbps % format.sampleRate;
    for (auto& h : history_)
        h.assign(kWindow, 0.0);
}

void Mp2FrameEncoder::analyse(const int16_t* pcm)
{
    const auto& c = AnalysisWindow();
    const auto& m = Matrix();
    const int channels = static_cast<int>(format_.channels);
    for (int ch = 0; ch < channels; ++ch) {
        std::vector<double>& x = history_[ch];
        for (int block = 0; block < 36; ++block) {
            // Newest sample first: shift by 32 and put the block in reversed.
            std::copy_backward(x.begin(), x.end() - 32, x.end());
            for (int j = 0; j < 32; ++j)
                x[31 - j] = pcm[(block * 32 + j) * channels + ch] / 32768.0;
            double y[64];
            for (int i = 0; i < 64; ++i) {
                double sum = 0;
                for (int j = 0; j < 8; ++j)
                    sum += c[i + 64 * j] * x[i + 64 * j];
                y[i] = sum;
            }
            for (int k = 0; k < kSubbands; ++k) {
                double s = 0;
                for (int i = 0; i < 64; ++i)
                    s += m[k][i] * y[i];
                subband_[ch][block][k] = s;
            }
        }
    }
}

void Mp2FrameEncoder::allocate(int availableBits)
{
    const int channels = static_cast<int>(format_.channels);
    double loudness[2][kSubbands] = {};
    for (int ch = 0; ch < channels; ++ch) {
        for (int sb = 0; sb < sbLimit_; ++sb) {
            double peak = 0;
            for (int t = 0; t < 36; ++t)
                peak = std::max(peak, std::fabs(subband_[ch][t][sb]));
            int index = 0;
            while (index < 62 && ScaleOf(index + 1) >= peak)
                ++index;
            bands_[ch][sb] = Band{index, 0};
            loudness[ch][sb] = peak > 0 ? 20 * std::log10(peak) : -200.0;
        }
    }
    // Each step goes to the band whose quantisation noise stands highest, while bits last.
    for (;;) {
        int bestCh = -1, bestSb = -1, bestCost = 0;
        double bestPriority = -90.0;  // below the 16-bit floor nothing is worth sending
        for (int ch = 0; ch < channels; ++ch) {
            for (int sb = 0; sb < sbLimit_; ++sb) {
                const AllocationRow& row = RowOf(table_, sb);
                const Band& b = bands_[ch][sb];
                if (b.allocation >= MaxAllocation(row))
                    continue;
                const uint32_t now = b.allocation == 0 ? 1 : kLevels[row.classes[b.allocation]];
                const uint32_t next = kLevels[row.classes[b.allocation + 1]];
                const int cost = SampleBits(next) - (b.allocation == 0 ? -8 : SampleBits(now));
                const double priority = loudness[ch][sb] - 6.02 * std::log2(static_cast<double>(now));
                if (cost <= availableBits && priority > bestPriority) {
                    bestPriority = priority;
                    bestCh = ch;
                    bestSb = sb;
                    bestCost = cost;
                }
            }
        }
        if (bestCh < 0)
            return;
        ++bands_[bestCh][bestSb].allocation;
        availableBits -= bestCost;
    }
}

void Mp2FrameEncoder::write(std::vector<uint8_t>& out, bool padding)
{
    const int channels = static_cast<int>(format_.channels);
    const size_t start = out.size();
    vcap::BitWriter bw(out);
    bw.put(0xFFF, 12);
    bw.put(1, 1);  // MPEG-1
    bw.put(2, 2);  // Layer II
    bw.put(1, 1);  // no CRC
    bw.put(static_cast<uint32_t>(bitRateIndex_), 4);
    bw.put(static_cast<uint32_t>(frequencyIndex_), 2);
    bw.put(padding ? 1 : 0, 1);
    bw.put(0, 1);
    bw.put(channels == 2 ? 0 : 3, 2);  // stereo or single channel
    bw.put(0, 2);
    bw.put(0, 1);  // not copyrighted
    bw.put(1, 1);  // original
    bw.put(0, 2);  // no emphasis
    for (int sb = 0; sb < sbLimit_; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            bw.put(static_cast<uint32_t>(bands_[ch][sb].allocation), RowOf(table_, sb).bits);
    for (int sb = 0; sb < sbLimit_; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (bands_[ch][sb].allocation)
                bw.put(2, 2);  // one scale factor for all three parts
    for (int sb = 0; sb < sbLimit_; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (bands_[ch][sb].allocation)
                bw.put(static_cast<uint32_t>(bands_[ch][sb].scaleIndex), 6);
    for (int granule = 0; granule < 12; ++granule) {
        for (int sb = 0; sb < sbLimit_; ++sb) {
            for (int ch = 0; ch < channels; ++ch) {
                const Band& b = bands_[ch][sb];
                if (!b.allocation)
                    continue;
                const uint32_t levels = kLevels[RowOf(table_, sb).classes[b.allocation]];
                const double scale = ScaleOf(b.scaleIndex);
                uint32_t code[3];
                for (int k = 0; k < 3; ++k)
                    code[k] = Quantise(subband_[ch][granule * 3 + k][sb], scale, levels);
                if (const int group = GroupBits(levels)) {
                    bw.put(code[0] + levels * (code[1] + levels * code[2]), group);
                } else {
                    const int bits = SampleBits(levels) / 36;
                    for (uint32_t v : code)
                        bw.put(v, bits);
                }
            }
        }
    }
    bw.align();
    out.resize(start + frameBytes_ + (padding ? 1 : 0), 0);
}

void Mp2FrameEncoder::encode(const int16_t* pcm, std::vector<uint8_t>& out)
{
    bool padding = false;
    paddingAccumulator_ += paddingRemainder_;
    if (paddingAccumulator_ >= format_.sampleRate) {
        paddingAccumulator_ -= format_.sampleRate;
        padding = true;
    }
    analyse(pcm);
    const int channels = static_cast<int>(format_.channels);
    int available = static_cast<int>((frameBytes_ + (padding ? 1 : 0)) * 8) - 32;
    for (int sb = 0; sb < sbLimit_; ++sb)
        available -= RowOf(table_, sb).bits * channels;
    allocate(available);
    write(out, padding);
}

}  // namespace mpegaudio
