#pragma once

#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TempDir.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace zib::test {

// A private PulseAudio server for one test, started with it and stopped with
// it: its own runtime, state and home folders under a temporary folder, no
// system or user configuration, no hardware, one null sink (kSink) and a
// socket that only the clients told of it find. It runs for root as well as
// for a normal user: as root PulseAudio only warns in its per-user mode.
class PulseAudioServer {
public:
    static constexpr const char* kSink = "zibtest";
    static constexpr int kRate = 48000;

    // Starts `pulseaudio` and waits (at most 15 s) until it answers `pactl`
    PulseAudioServer();
    ~PulseAudioServer();
    PulseAudioServer(const PulseAudioServer&) = delete;
    PulseAudioServer& operator=(const PulseAudioServer&) = delete;

    bool IsUp() const { return up_; }
    // Whether it is up; when not, a CI run fails (CiRun.h), and the caller skips
    bool UpOrMissingInCi() const;
    // Why it is not up (for the skip message), with the server's own words
    const std::string& Problem() const { return problem_; }

    // What a client process needs to play into this server and nowhere else
    // (no other sound server, no ALSA device)
    EnvironmentList ClientEnvironment() const;
    // "unix:<socket>", for `--server`
    std::string Address() const;
    // Starts a client program of this server (`pactl`, `parec`, `pacat`, with
    // `--server` added); its output goes to the descriptor `output`, or with
    // its errors to a log beside the server's when -1. 0 when it cannot start.
    pid_t StartClient(std::vector<std::string> args, int output = -1) const;

private:
    TempDir dir_;
    pid_t pid_ = 0;
    bool up_ = false;
    std::string problem_;
};

} // namespace zib::test
