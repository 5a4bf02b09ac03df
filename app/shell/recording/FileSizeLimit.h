#pragma once
// The file-size limit of a recording: the choices offered in the list, the custom size in GB
// or MB, and the free-space text the first choice shows.
#include <cstdint>
#include <optional>
#include <string>

namespace recording {

constexpr std::uint64_t kNoFixedLimit = ~std::uint64_t{0};
constexpr std::uint64_t kFat32Limit = 0xFFFFFFFFull;
constexpr std::uint64_t kDvdDiskLimit = 4700000000ull;
constexpr std::uint64_t kVcdDiskLimit = 800000000ull;
constexpr std::uint64_t kGigabyte = 1073741824ull;
constexpr std::uint64_t kMegabyte = 1048576ull;

// The four fixed choices, in list order.
constexpr int kLimitChoiceCount = 4;
enum CustomUnit { kUnitGigabytes = 0, kUnitMegabytes = 1 };

// The list text of a choice; choice 0 names the free space. Empty for an index out of range.
std::string LimitChoiceText(int index, const std::string& freeSpaceText);
// The limit of a choice (all ones for choice 0: the free space is what bounds the file); no
// value for an index out of range.
std::optional<std::uint64_t> LimitOfChoice(int index);

// "%d GB", "%d MB", "%d KB" or "%d Bytes" of the free bytes; "<set rec. folder>" without a
// recording folder.
std::string FreeSpaceText(std::uint64_t freeBytes, bool haveFolder);

// The number typed in the custom size edit: a positive decimal ("1.5", "700"); nothing for
// anything else.
std::optional<double> ParseCustomSize(const std::string& text);
// value x 2^30 (GB) or x 2^20 (MB), capped at the free space when that is known (non-zero);
// nothing for a non-positive value, an unknown unit or a result below one byte.
std::optional<std::uint64_t> CustomLimit(double value, int unit, std::uint64_t freeSpace);

}  // namespace recording
