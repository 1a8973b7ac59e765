#pragma once

#include <string>
#include <vector>

namespace zib::test {

// One run of a program to its end, for the benchmarks that measure a whole
// process against a peer program.
struct ProcessRun {
    bool started = false;
    int exitCode = -1;  // -1 when it did not exit normally
    double seconds = 0; // wall time from the start to the end of the process
    std::string output; // what it wrote to its standard output
};

// Runs `argv[0]` (searched on PATH) with its arguments; standard error goes
// to /dev/null, standard output is kept when `keepOutput`, else discarded.
ProcessRun runProcess(const std::vector<std::string>& argv, bool keepOutput = false);

} // namespace zib::test
