#include "tests/support/JackDummyServer.h"
#include "tests/support/AwaitState.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/file.h>
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

// The lock that the servers of the tests and benchmarks take in turn; -1
// when another process holds it for longer than `patience`.
int takeServerLock(std::chrono::seconds patience)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "zib-jack-server.lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    const auto until = std::chrono::steady_clock::now() + patience;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() >= until) {
            ::close(fd);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return fd;
}

} // namespace

JackDummyServer::JackDummyServer()
{
    const std::string jackd = "/usr/bin/jackd", lsp = "/usr/bin/jack_lsp";
    if (!std::filesystem::exists(jackd) || !std::filesystem::exists(lsp)) {
        m_problem = "jackd is not installed (package jackd2)";
        return;
    }
    m_lock = takeServerLock(std::chrono::seconds(120));
    if (m_lock < 0) {
        m_problem = "another test's JACK server held the lock for two minutes";
        return;
    }
    m_name = "zibtest" + std::to_string(::getpid());
    setenv("JACK_DEFAULT_SERVER", m_name.c_str(), 1);
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
    // On a loaded machine a late client is waited for, not dropped: a long
    // time-out and the server in step with its clients. Periods of 32 frames
    // at 48 kHz (0.67 ms), as a user's low-latency setup has them; the
    // server's and clients' threads take real-time priority where the system
    // grants it (elsewhere jackd goes on without).
    m_pid = spawnQuiet({jackd, "--sync", "-t", "5000", "-n", m_name, "-d", "dummy", "-r", "48000", "-p", "32"});
    if (m_pid == 0) {
        m_problem = "jackd could not be started";
        return;
    }
    // Up once a client can open on it; a loaded machine only takes longer.
    awaitState(
        [&] {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return true;
            }
            if (const pid_t probe = spawnQuiet({lsp})) {
                waitpid(probe, &status, 0);
                m_up = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            }
            return m_up;
        },
        std::chrono::milliseconds(50));
    if (m_pid == 0)
        m_problem = "jackd exited at once";
    else if (!m_up)
        m_problem = "no client could open on jackd within " + std::to_string(kHangCeiling.count()) + " s";
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
    if (m_lock >= 0) ::close(m_lock); // releases the lock
}

} // namespace zib::test
