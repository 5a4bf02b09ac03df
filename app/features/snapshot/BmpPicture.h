#pragma once
// Reads a bitmap file's pixels into the three planes the JPEG encoder takes (R, G, B, each
// width x height, top row first). Any row order, any row padding, and the common depths:
// 1/4/8-bit with a colour table, 16-bit (5-5-5 or masks), 24-bit and 32-bit (plain or masks).
// Pure code over the file's bytes; nothing is trusted that the bytes do not prove.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace snapshot {

struct RgbPlanes {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> samples;  // R plane, then G, then B
};

// False, with a reason in `problem`, when `bytes` is not a bitmap file this code can read.
bool ReadBmpPlanes(const std::uint8_t* bytes, std::size_t size, RgbPlanes& out, std::string* problem = nullptr);

}  // namespace snapshot
