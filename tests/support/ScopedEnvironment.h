#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zib::test {

// Environment variables of a process, as (name, value) pairs.
using EnvironmentList = std::vector<std::pair<std::string, std::string>>;

// Sets each variable in this process and puts the old values back when it
// goes. For single-threaded test code: the environment is not guarded.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(const EnvironmentList& variables);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace zib::test
