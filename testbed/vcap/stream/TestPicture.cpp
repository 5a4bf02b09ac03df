#include "TestPicture.h"

#include "BitmapFont.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vcap {
namespace {

struct Colour {
    uint8_t y, cb, cr;
};

constexpr Colour kBars[8] = {
    {235, 128, 128}, {210, 16, 146}, {170, 166, 16}, {145, 54, 34},
    {106, 202, 222}, {81, 90, 240},  {41, 240, 110}, {16, 128, 128},
};
constexpr Colour kBlue = {41, 240, 110};
constexpr Colour kBlack = {16, 128, 128};
constexpr Colour kGrey = {60, 128, 128};
constexpr Colour kWhite = {235, 128, 128};

constexpr int kBoxSize = 32;
constexpr int kBoxStep = 6;

// Fills a rectangle; coordinates are clipped and rounded to even values for the chroma planes.
void FillRect(Picture& p, int x0, int y0, int x1, int y1, Colour c)
{
    x0 = std::clamp(x0 & ~1, 0, p.width);
    x1 = std::clamp(x1 & ~1, 0, p.width);
    y0 = std::clamp(y0 & ~1, 0, p.height);
    y1 = std::clamp(y1 & ~1, 0, p.height);
    for (int y = y0; y < y1; ++y)
        std::fill_n(&p.y[static_cast<size_t>(y) * p.width + x0], x1 - x0, c.y);
    const int cw = p.width / 2;
    for (int y = y0 / 2; y < y1 / 2; ++y) {
        std::fill_n(&p.cb[static_cast<size_t>(y) * cw + x0 / 2], (x1 - x0) / 2, c.cb);
        std::fill_n(&p.cr[static_cast<size_t>(y) * cw + x0 / 2], (x1 - x0) / 2, c.cr);
    }
}

// Draws luma only: the caption band is neutral grey in chroma already.
void DrawText(Picture& p, int x, int y, int scale, const std::string& text)
{
    for (char ch : text) {
        const uint8_t* rows = GlyphRows(ch);
        for (int gy = 0; gy < kGlyphHeight; ++gy) {
            for (int gx = 0; gx < kGlyphWidth; ++gx) {
                if (!(rows[gy] & (0x10 >> gx)))
                    continue;
                for (int sy = 0; sy < scale; ++sy) {
                    const int py = y + gy * scale + sy;
                    if (py < 0 || py >= p.height)
                        continue;
                    for (int sx = 0; sx < scale; ++sx) {
                        const int px = x + gx * scale + sx;
                        if (px >= 0 && px < p.width)
                            p.y[static_cast<size_t>(py) * p.width + px] = kWhite.y;
                    }
                }
            }
        }
        x += (kGlyphWidth + 1) * scale;
    }
}

}  // namespace

void Picture::resize(int w, int h)
{
    width = (w + 15) & ~15;
    height = (h + 15) & ~15;
    y.assign(static_cast<size_t>(width) * height, 0);
    cb.assign(static_cast<size_t>(width / 2) * (height / 2), 128);
    cr.assign(cb.size(), 128);
}

int MovingBoxX(int width, uint64_t frameNumber)
{
    const int travel = std::max(2, width - kBoxSize);
    return static_cast<int>((frameNumber * kBoxStep) % static_cast<uint64_t>(travel)) & ~1;
}

void RenderTestPicture(Picture& p, const PictureCaption& caption, uint64_t frameNumber)
{
    if (!caption.signal) {
        FillRect(p, 0, 0, p.width, p.height, kBlue);
        return;
    }
    const int barsBottom = p.height * 2 / 3;
    for (int i = 0; i < 8; ++i)
        FillRect(p, p.width * i / 8, 0, p.width * (i + 1) / 8, barsBottom, kBars[i]);
    FillRect(p, 0, barsBottom, p.width, p.height, kGrey);

    const int boxX = MovingBoxX(p.width, frameNumber);
    const int boxY = barsBottom + std::max(0, (p.height - barsBottom - kBoxSize) / 2);
    FillRect(p, boxX, boxY, boxX + kBoxSize, boxY + kBoxSize, kWhite);

    const int scale = std::max(1, p.width / 176);
    const int lineHeight = (kGlyphHeight + 2) * scale;
    char counter[32];
    std::snprintf(counter, sizeof counter, "FRAME %06llu", static_cast<unsigned long long>(frameNumber));
    const std::string lines[3] = {caption.inputName, caption.standardName, counter};
    size_t longest = 0;
    for (const std::string& l : lines)
        longest = std::max(longest, l.size());
    const int margin = 2 * scale;
    FillRect(p, margin, margin, margin * 3 + static_cast<int>(longest) * (kGlyphWidth + 1) * scale,
             margin * 3 + 3 * lineHeight, kBlack);
    for (int i = 0; i < 3; ++i)
        DrawText(p, margin * 2, margin * 2 + i * lineHeight, scale, lines[i]);
    AdjustPicture(p, caption.adjust);
}

void AdjustPicture(Picture& p, const PictureAdjust& a)
{
    const auto clamp = [](double v) { return static_cast<uint8_t>(std::clamp(v + 0.5, 0.0, 255.0)); };
    if (a.brightness != 128 || a.contrast != 64) {
        const double gain = a.contrast / 64.0, offset = static_cast<double>(a.brightness - 128);
        for (uint8_t& luma : p.y)
            luma = clamp(16.0 + (luma - 16.0) * gain + offset);
    }
    if (a.hue != 0 || a.saturation != 64) {
        const double angle = a.hue * 3.14159265358979 / 128.0, gain = a.saturation / 64.0;
        const double c = std::cos(angle) * gain, s = std::sin(angle) * gain;
        for (size_t i = 0; i < p.cb.size() && i < p.cr.size(); ++i) {
            const double u = p.cb[i] - 128.0, v = p.cr[i] - 128.0;
            p.cb[i] = clamp(128.0 + u * c - v * s);
            p.cr[i] = clamp(128.0 + u * s + v * c);
        }
    }
}

}  // namespace vcap
