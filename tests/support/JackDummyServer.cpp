#include "tests/support/JackDummyServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zib::test {

namespace {

// Starts a program with its output to /dev/null; 0 when it cannot start.
pid_t spawnQuiet(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

} // namespace

JackDummyServer::JackDummyServer()
{
    const std::string jackd = "/usr/bin/jackd", lsp = "/usr/bin/jack_lsp";
    if (!std::filesystem::exists(jackd) || !std::filesystem::exists(lsp)) {
        m_problem = "jackd is not installed (package jackd2)";
        return;
    }
    m_name = "zibtest" + std::to_string(::getpid());
    setenv("JACK_DEFAULT_SERVER", m_name.c_str(), 1);
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    // On a loaded machine a late client is waited for, not dropped: a long time-out,
    // the server in step with its clients, and periods of 5 ms rather than fractions.
    m_pid = spawnQuiet({jackd, "--no-realtime", "--sync", "-t", "5000", "-n", m_name, "-d", "dummy", "-r", "48000", "-p", "256"});
    if (m_pid == 0) {
        m_problem = "jackd could not be started";
        return;
    }
    // Up once a client can open on it
    for (int i = 0; i < 100 && !m_up; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = 0;
            m_problem = "jackd exited at once";
            return;
        }
        if (const pid_t probe = spawnQuiet({lsp})) {
            waitpid(probe, &status, 0);
            m_up = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    }
    if (!m_up) m_problem = "no client could open on jackd within 5 s";
}

JackDummyServer::~JackDummyServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        int status = 0;
        waitpid(m_pid, &status, 0);
    }
    unsetenv("JACK_DEFAULT_SERVER");
    unsetenv("JACK_NO_START_SERVER");
}

} // namespace zib::test
