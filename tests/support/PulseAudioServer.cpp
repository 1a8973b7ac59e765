#include "tests/support/PulseAudioServer.h"

#include "tests/support/CiRun.h"
#include "tests/support/NoAudioEnvironment.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace zib::test {

namespace {

// Starts `args` (looked up on PATH) with `env` added to this process's
// environment, its errors to `log` and its output there too or to `output`;
// 0 when it cannot start.
pid_t spawnWith(const std::vector<std::string>& args, const EnvironmentList& env,
                const std::filesystem::path& log, int output = -1)
{
    std::vector<std::string> variables;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        bool replaced = v.rfind("DBUS_SESSION_BUS_ADDRESS=", 0) == 0; // never the user's session bus
        for (const auto& [name, value] : env)
            replaced = replaced || v.rfind(name + "=", 0) == 0;
        if (!replaced) variables.push_back(v);
    }
    for (const auto& [name, value] : env)
        variables.push_back(name + "=" + value);
    std::vector<char*> envp, argv;
    for (auto& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = args;
    for (auto& a : words)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (output >= 0) {
        posix_spawn_file_actions_adddup2(&actions, output, 1);
        posix_spawn_file_actions_addclose(&actions, output);
    } else {
        posix_spawn_file_actions_adddup2(&actions, 2, 1);
    }
    pid_t pid = 0;
    if (posix_spawnp(&pid, words[0].c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits at most `seconds` for a child to end; true when it ended with status 0.
bool endsWell(pid_t pid, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) != pid) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

PulseAudioServer::PulseAudioServer()
{
    const std::filesystem::path& d = dir_.path();
    std::filesystem::create_directories(d / "run");
    std::filesystem::create_directories(d / "home");
    const std::filesystem::path log = d / "pulseaudio.log";
    std::ofstream{d / "daemon.conf"};
    // Clients need no cookie (anonymous access), but look for one all the same.
    std::ofstream(d / "cookie", std::ios::binary) << std::string(256, '\0');
    const EnvironmentList serverEnv = {
        {"HOME", (d / "home").string()},
        {"XDG_RUNTIME_DIR", (d / "run").string()},
        {"XDG_CONFIG_HOME", (d / "home").string()},
        {"PULSE_RUNTIME_PATH", (d / "run" / "pulse").string()},
        {"PULSE_STATE_PATH", (d / "state").string()},
        {"PULSE_CONFIG", (d / "daemon.conf").string()}, // no system daemon.conf
    };
    // -n: no default.pa, so no module of the machine's (hardware, X11, D-Bus) loads.
    pid_ = spawnWith(
        {"pulseaudio", "--daemonize=no", "--system=no", "-n", "--exit-idle-time=-1", "--use-pid-file=no",
         "--realtime=no", "--high-priority=no", "--disable-shm=yes", "--log-target=stderr",
         "--load=module-null-sink sink_name=" + std::string(kSink) + " rate=" + std::to_string(kRate),
         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + (d / "native").string()},
        serverEnv, log);
    if (pid_ == 0) {
        problem_ = "pulseaudio could not be started (package pulseaudio)";
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!up_ && std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            problem_ = "pulseaudio ended at once: " + readText(log);
            return;
        }
        if (std::filesystem::exists(d / "native")) {
            const pid_t probe = StartClient({"pactl", "info"});
            up_ = probe != 0 && endsWell(probe, 5);
            if (probe == 0) {
                problem_ = "pactl could not be started (package pulseaudio-utils)";
                return;
            }
        }
        if (!up_) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (!up_) problem_ = "pulseaudio did not answer within 15 s: " + readText(log);
}

PulseAudioServer::~PulseAudioServer()
{
    if (pid_ == 0) return;
    kill(pid_, SIGTERM);
    endsWell(pid_, 5); // or killed there
}

pid_t PulseAudioServer::StartClient(std::vector<std::string> args, int output) const
{
    args.insert(args.begin() + 1, "--server=" + Address());
    return spawnWith(args, ClientEnvironment(), dir_.path() / "clients.log", output);
}

bool PulseAudioServer::UpOrMissingInCi() const
{
    if (!up_) reportMissingInCi("a private PulseAudio server (packages pulseaudio pulseaudio-utils)");
    return up_;
}

std::string PulseAudioServer::Address() const
{
    return "unix:" + (dir_.path() / "native").string();
}

EnvironmentList PulseAudioServer::ClientEnvironment() const
{
    EnvironmentList env = NoAudioEnvironment(dir_.path());
    for (auto& [name, value] : env)
        if (name == "PULSE_SERVER") value = Address();
    env.emplace_back("PULSE_COOKIE", (dir_.path() / "cookie").string());
    return env;
}

} // namespace zib::test
