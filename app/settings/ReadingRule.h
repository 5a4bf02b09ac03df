#pragma once
// The reading rule shared by every setting: -1 (integers) and the empty string count as
// missing, and a missing value is written back with its default at once, so that every
// setting exists in the registry after the first run.
#include <cstdint>
#include <string>

#include <framework/ProfileStore.h>

namespace settings {

int ReadInt(const framework::ProfileStore& store, const char* section, const char* entry,
            int defaultValue);
std::string ReadString(const framework::ProfileStore& store, const char* section,
                       const char* entry, const std::string& defaultValue);

// A 64-bit value kept as two 32-bit words "<base>Hi" and "<base>Lo".
constexpr std::uint64_t kNoLimit = ~std::uint64_t{0};

std::uint64_t CombineWords(std::uint32_t high, std::uint32_t low);
// Reads Hi, then Lo (both with the reading rule); a high word of -1 with any other low word
// is a broken "no limit" and the low word is rewritten as -1.
std::uint64_t ReadLimit(const framework::ProfileStore& store, const char* section,
                        const std::string& base);
void WriteLimit(const framework::ProfileStore& store, const char* section,
                const std::string& base, std::uint64_t value);

}  // namespace settings
