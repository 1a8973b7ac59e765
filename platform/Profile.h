#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Typed store of the program's persistent settings, grouped in sections
// ("Settings", "General"). A value is either missing or present with one type;
// reading it as another type counts as missing. Every write is stored at once.
class Profile {
public:
    virtual ~Profile() = default;

    // Reading: nullopt when the value is missing or holds another type
    virtual std::optional<int32_t> getInt(std::string_view section, std::string_view name) const = 0;
    virtual std::optional<std::string> getString(std::string_view section, std::string_view name) const = 0;
    virtual std::optional<std::vector<uint8_t>> getBinary(std::string_view section,
                                                          std::string_view name) const = 0;

    // Writing: creates the section when needed; false when the value could not be stored
    virtual bool setInt(std::string_view section, std::string_view name, int32_t value) = 0;
    virtual bool setString(std::string_view section, std::string_view name, std::string_view value) = 0;
    virtual bool setBinary(std::string_view section, std::string_view name,
                           std::span<const uint8_t> value) = 0;
};

} // namespace zib
