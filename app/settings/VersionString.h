#pragma once
// The version text shown by the program: "<major>.<minor>.<BuildNumber>" from the program
// file's product version, or "X.XX" padded with '0' to 10 characters without a version block.
#include <optional>
#include <string>

namespace settings {

struct ProductVersion {
    int major = 0;
    int minor = 0;
};

std::string FormatVersionString(const std::optional<ProductVersion>& version,
                                const std::string& buildNumber);
// The product version of a module's file, if it has a version block.
std::optional<ProductVersion> ReadProductVersion(const std::string& modulePath);

}  // namespace settings
