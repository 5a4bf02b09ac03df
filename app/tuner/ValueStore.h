#pragma once
// Named integer and string values in sections (registry sub-keys under the application's
// root, such as "Tuner\Channels\Cable"). A value that is missing or of another type reads as
// nothing; writes that fail are ignored, as every settings write is.
#include <optional>
#include <string>

namespace tuner {

class ValueStore {
public:
    virtual ~ValueStore() = default;
    virtual std::optional<int> GetInt(const std::string& section, const std::string& name) const = 0;
    virtual std::optional<std::string> GetString(const std::string& section,
                                                 const std::string& name) const = 0;
    virtual void SetInt(const std::string& section, const std::string& name, int value) = 0;
    virtual void SetString(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
};

}  // namespace tuner
