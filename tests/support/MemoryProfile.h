#pragma once

#include "platform/Profile.h"

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace zib::test {

// A profile in memory that records every write as "section/name", in order.
class MemoryProfile : public Profile {
public:
    using Value = std::variant<int32_t, std::string, std::vector<uint8_t>>;

    std::optional<int32_t> getInt(std::string_view section, std::string_view name) const override
    {
        auto* v = find(section, name);
        return v && std::holds_alternative<int32_t>(*v) ? std::optional(std::get<int32_t>(*v)) : std::nullopt;
    }
    std::optional<std::string> getString(std::string_view section, std::string_view name) const override
    {
        auto* v = find(section, name);
        return v && std::holds_alternative<std::string>(*v) ? std::optional(std::get<std::string>(*v))
                                                            : std::nullopt;
    }
    std::optional<std::vector<uint8_t>> getBinary(std::string_view section,
                                                  std::string_view name) const override
    {
        auto* v = find(section, name);
        return v && std::holds_alternative<std::vector<uint8_t>>(*v)
                   ? std::optional(std::get<std::vector<uint8_t>>(*v))
                   : std::nullopt;
    }
    bool setInt(std::string_view section, std::string_view name, int32_t value) override
    {
        return put(section, name, value);
    }
    bool setString(std::string_view section, std::string_view name, std::string_view value) override
    {
        return put(section, name, std::string(value));
    }
    bool setBinary(std::string_view section, std::string_view name, std::span<const uint8_t> value) override
    {
        return put(section, name, std::vector<uint8_t>(value.begin(), value.end()));
    }

    // Seeding values without recording them as writes
    void seed(std::string_view section, std::string_view name, Value v)
    {
        values[key(section, name)] = std::move(v);
    }

    std::map<std::string, Value> values;
    std::vector<std::string> writes;

private:
    static std::string key(std::string_view section, std::string_view name)
    {
        return std::string(section) + "/" + std::string(name);
    }
    const Value* find(std::string_view section, std::string_view name) const
    {
        auto it = values.find(key(section, name));
        return it == values.end() ? nullptr : &it->second;
    }
    bool put(std::string_view section, std::string_view name, Value v)
    {
        values[key(section, name)] = std::move(v);
        writes.push_back(key(section, name));
        return true;
    }
};

} // namespace zib::test
