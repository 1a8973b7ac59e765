#pragma once

// A private JACK server on the dummy driver (no audio hardware), started for
// one test or benchmark and stopped with it. Clients of this process reach
// it through JACK_DEFAULT_SERVER, which the server sets while it lives; a
// server of its own name leaves any other JACK server of the machine alone.
// JACK's registry of servers is machine-wide and two servers starting at
// once trip over it, so the servers of the tests and benchmarks run one at
// a time, across processes, under a lock file.

#include <string>
#include <sys/types.h>

namespace zib::test {

class JackDummyServer {
public:
    // Takes the lock (waiting up to two minutes for another test's server),
    // starts `jackd --sync -n <unique> -d dummy -r 48000 -p 32` and waits (at
    // most a few seconds) until a client can open on it
    JackDummyServer();
    ~JackDummyServer();
    JackDummyServer(const JackDummyServer&) = delete;
    JackDummyServer& operator=(const JackDummyServer&) = delete;

    bool IsUp() const { return m_up; }
    // Why it is not up (for the skip message)
    const std::string& Problem() const { return m_problem; }
    const std::string& Name() const { return m_name; }

private:
    std::string m_name;
    std::string m_problem;
    int m_lock = -1;
    pid_t m_pid = 0;
    bool m_up = false;
};

} // namespace zib::test
