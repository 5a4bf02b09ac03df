#include "ReadingRule.h"

namespace settings {

int ReadInt(const framework::ProfileStore& store, const char* section, const char* entry,
            int defaultValue)
{
    const int value = store.GetInt(section, entry, -1);
    if (value != -1)
        return value;
    store.WriteInt(section, entry, defaultValue);
    return defaultValue;
}

std::string ReadString(const framework::ProfileStore& store, const char* section,
                       const char* entry, const std::string& defaultValue)
{
    std::string value = store.GetString(section, entry, "");
    if (!value.empty())
        return value;
    store.WriteString(section, entry, defaultValue.c_str());
    return defaultValue;
}

std::uint64_t CombineWords(std::uint32_t high, std::uint32_t low)
{
    return (std::uint64_t{high} << 32) | low;
}

std::uint64_t ReadLimit(const framework::ProfileStore& store, const char* section,
                        const std::string& base)
{
    const std::string hiName = base + "Hi";
    const std::string loName = base + "Lo";
    const int high = ReadInt(store, section, hiName.c_str(), -1);
    int low = ReadInt(store, section, loName.c_str(), -1);
    if (high == -1 && low != -1) {
        low = -1;
        store.WriteInt(section, loName.c_str(), low);
    }
    return CombineWords(static_cast<std::uint32_t>(high), static_cast<std::uint32_t>(low));
}

void WriteLimit(const framework::ProfileStore& store, const char* section,
                const std::string& base, std::uint64_t value)
{
    store.WriteInt(section, (base + "Hi").c_str(), static_cast<int>(value >> 32));
    store.WriteInt(section, (base + "Lo").c_str(), static_cast<int>(value & 0xFFFFFFFFu));
}

}  // namespace settings
