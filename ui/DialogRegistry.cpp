#include "ui/DialogRegistry.h"

#include <map>

namespace zib {

namespace {

std::map<std::string, DialogRegistry::Runner>& runners()
{
    static std::map<std::string, DialogRegistry::Runner> all;
    return all;
}

} // namespace

void DialogRegistry::Add(const std::string& name, Runner runner)
{
    runners()[name] = std::move(runner);
}

const DialogRegistry::Runner* DialogRegistry::Find(const std::string& name)
{
    auto it = runners().find(name);
    return it == runners().end() ? nullptr : &it->second;
}

} // namespace zib
