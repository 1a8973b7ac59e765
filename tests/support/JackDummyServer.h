#pragma once

// A private JACK server on the dummy driver (no audio hardware), started for
// one test and stopped with it. Clients of this process reach it through
// JACK_DEFAULT_SERVER, which the server sets while it lives.

#include <string>
#include <sys/types.h>

namespace zib::test {

class JackDummyServer {
public:
    // Starts `jackd --no-realtime --sync -n <unique> -d dummy -p 256` and
    // waits (at most a few seconds) until a client can open on it
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
    pid_t m_pid = 0;
    bool m_up = false;
};

} // namespace zib::test
