#pragma once

#include "tests/support/gui/ZibSession.h"

#include <string>

namespace zib::test {

// A run's log, one line each, for failure messages.
inline std::string RunLog(const ZibRun& r)
{
    std::string all;
    for (const auto& line : r.log)
        all += line + "\n";
    return all;
}

} // namespace zib::test
