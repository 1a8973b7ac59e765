#include "tests/support/ScopedEnvironment.h"

#include <cstdlib>

namespace zib::test {

ScopedEnvironment::ScopedEnvironment(const EnvironmentList& variables)
{
    for (const auto& [name, value] : variables) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        setenv(name.c_str(), value.c_str(), 1);
    }
}

ScopedEnvironment::~ScopedEnvironment()
{
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
}

} // namespace zib::test
