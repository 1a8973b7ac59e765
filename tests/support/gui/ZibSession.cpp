#include "tests/support/gui/ZibSession.h"
#include "tests/support/BuildPaths.h"

#include "tests/support/CiRun.h"
#include "tests/support/NoAudioEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zib::test {

namespace {

std::string readText(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Waits for a child, killing it after `seconds` (then `killed` is set); its wait status.
int waitFor(pid_t pid, int seconds, bool& killed)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    for (;;) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return status;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            killed = true;
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// The lines of a text
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        lines.emplace_back(text, from, end - from);
        from = end + 1;
    }
    return lines;
}

} // namespace

XvfbDisplay::XvfbDisplay()
{
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string fd = std::to_string(fds[1]);
    const char* argv[] = {"Xvfb",        "-displayfd", fd.c_str(), "-screen", "0",
                          "1280x800x24", "-nolisten",  "tcp",      nullptr};
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return;
    }
    pid_ = pid;
    // Xvfb writes the display number once it accepts connections.
    std::string number;
    char c;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    fcntl(fds[0], F_SETFL, O_NONBLOCK);
    while (std::chrono::steady_clock::now() < deadline) {
        ssize_t n = read(fds[0], &c, 1);
        if (n == 1) {
            if (c == '\n') break;
            number += c;
        } else if (n == 0) {
            break;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
}

XvfbDisplay::~XvfbDisplay()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        bool killed = false;
        waitFor(pid_, 5, killed);
    }
}

bool ZibRun::has(const std::string& l) const
{
    for (const auto& x : log)
        if (x == l) return true;
    return false;
}

std::string ZibRun::line(const std::string& prefix) const
{
    for (const auto& x : log)
        if (x.rfind(prefix, 0) == 0) return x;
    return {};
}

std::vector<std::string> ZibRun::lines(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& x : log)
        if (x.rfind(prefix, 0) == 0) out.push_back(x);
    return out;
}

std::vector<std::string> ZibRun::toolkitComplaints() const
{
    // GLib writes "(program:pid): DOMAIN-LEVEL **: time: text"; an error of
    // any domain counts, and so does a warning of the toolkit's own domains
    // (not one of dconf, say, which warns of a missing D-Bus session).
    static const char* const kMarks[] = {"-ERROR **",           "-CRITICAL **",     "Gtk-WARNING **",
                                         "Gdk-WARNING **",      "GLib-WARNING **",  "GLib-GObject-WARNING **",
                                         "GLib-GIO-WARNING **", "Pango-WARNING **", "GdkPixbuf-WARNING **",
                                         "invalid cast",        "*** BUG ***"};
    std::vector<std::string> found;
    for (const std::string& text : linesOf(output))
        for (const char* mark : kMarks)
            if (text.find(mark) != std::string::npos) {
                found.push_back(text);
                break;
            }
    return found;
}

void ZibRun::takeStatus(int waitStatus)
{
    exitCode = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
    signal = WIFSIGNALED(waitStatus) ? WTERMSIG(waitStatus) : 0;
}

std::string ZibRun::ending() const
{
    if (killed) return "killed at its time limit";
    if (signal != 0) {
        const char* abbreviation = sigabbrev_np(signal);
        return "signal " + (abbreviation ? "SIG" + std::string(abbreviation) : std::to_string(signal)) +
               " (" + strsignal(signal) + ")";
    }
    if (exitCode < 0) return "never started";
    return "exit status " + std::to_string(exitCode);
}

std::string LastLines(const std::vector<std::string>& lines, size_t count)
{
    std::string text;
    for (size_t i = lines.size() > count ? lines.size() - count : 0; i < lines.size(); ++i)
        text += "  " + lines[i].substr(0, 300) + "\n";
    return text;
}

ZibSession::ZibSession()
{
    if (!display_.ok()) reportMissingInCi("Xvfb (package xvfb)");
}

void ZibSession::seedAuthor(int language) const
{
    FileProfile p = settings();
    p.setString("Settings", "Author", "Tester");
    p.setInt("Settings", "AppLanguage", language);
}

ZibRun ZibSession::runChecked(const std::string& script, int seconds,
                              const std::vector<std::string>& arguments, int exitStatus)
{
    ZibRun r = run(script, seconds, arguments);
    expectEndedWell(r, exitStatus);
    return r;
}

void ZibSession::expectEndedWell(const ZibRun& r, int exitStatus)
{
    // An abort, a failed assert or a crash leaves nothing else behind in a
    // build without the sanitizers: how the program ended is checked first.
    if (r.killed || r.signal != 0 || r.exitCode != exitStatus)
        ADD_FAILURE() << "the program ended with " << r.ending() << " where exit status " << exitStatus
                      << " was expected\nlast lines of its log:\n"
                      << LastLines(r.log, 25) << "last lines of its output:\n"
                      << LastLines(linesOf(r.output), 40);
    EXPECT_FALSE(r.has("TIMEOUT")) << r.output;
    // The driver's lines of a step that did not happen (see CTestDriver.h)
    static const char* const kStepsNotDone[] = {
        "dialog-unanswered",     "dialog-answer-unfit",  "dialog-answers-unused", "dialog-unended",
        "dialog-action-skipped", "dialog-action-failed", "step-failed",           "script-unrun",
        "await-failed",          "unknown command"};
    for (const char* prefix : kStepsNotDone) {
        const std::vector<std::string> lines = r.lines(prefix);
        EXPECT_TRUE(lines.empty()) << "a step of the script did not happen:\n"
                                   << LastLines(lines, 10) << "last lines of the log:\n"
                                   << LastLines(r.log, 30);
    }
    EXPECT_EQ(r.output.find("AddressSanitizer"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("runtime error:"), std::string::npos) << r.output;
    EXPECT_EQ(r.toolkitComplaints(), std::vector<std::string>{});
}

std::vector<std::string> ZibSession::midiHeard(const std::string& port) const
{
    std::vector<std::string> lines;
    std::ifstream in(midiLog());
    for (std::string line; std::getline(in, line);) {
        const size_t at = line.find(' ');
        if (at != std::string::npos && line.compare(at + 1, port.size() + 1, port + ":") == 0)
            lines.push_back(line.substr(at + 1));
    }
    return lines;
}

void ZibSession::setEnv(const std::string& name, const std::string& value)
{
    std::erase_if(env_, [&name](const auto& v) { return v.first == name; });
    env_.emplace_back(name, value);
}

void ZibSession::playWithoutAudioOutput(const std::filesystem::path& audioDir)
{
    for (const auto& [name, value] : NoAudioEnvironment(audioDir))
        setEnv(name, value);
    setEnv("ZIB_MIDI_BACKEND", "synth+fake");
    FileProfile(settingsFile()).setBinary("Settings", "UserMidiOutPorts", std::vector<uint8_t>{0, 1});
}

std::filesystem::path ZibSession::settingsFile() const
{
    return dir_.path() / "config" / "zib" / "zib.conf";
}

ZibRun ZibSession::run(const std::string& script, int seconds)
{
    return run(script, seconds, {}, {});
}

ZibRun ZibSession::run(const std::string& script, int seconds, const std::vector<std::string>& args,
                       const std::filesystem::path& folder)
{
    ZibLaunch launch = start(script, seconds, args, folder);
    return finish(launch);
}

ZibRun ZibSession::finish(ZibLaunch& launch)
{
    ZibRun result;
    if (launch.pid <= 0) return result;
    result.takeStatus(waitFor(launch.pid, launch.seconds, result.killed));
    launch.pid = -1;
    result.log = ReadLines(launch.log);
    result.output = readText(launch.output);
    return result;
}

ZibLaunch ZibSession::start(const std::string& script, int seconds, const std::vector<std::string>& args,
                            const std::filesystem::path& folder)
{
    const std::string tag = std::to_string(++runs_);
    ZibLaunch launch;
    launch.seconds = std::max(seconds, kRunCeilingSeconds);
    launch.script = dir_.path() / ("script" + tag);
    launch.log = dir_.path() / ("log" + tag);
    launch.output = dir_.path() / ("out" + tag);
    const auto& scriptPath = launch.script;
    const auto& logPath = launch.log;
    const auto& outPath = launch.output;
    std::ofstream(scriptPath) << script;

    const auto shots = BinaryDir() / "tests" / "app" / "gui" / "shots";
    std::filesystem::create_directories(shots);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string v = *e;
        for (const char* drop :
             {"DISPLAY=", "XDG_CONFIG_HOME=", "ZIB_TEST_", "ASAN_OPTIONS=", "WAYLAND_DISPLAY=", "ZIB_MIDI_BACKEND=",
              "ZIB_FAKE_MIDI_LOG="})
            if (v.rfind(drop, 0) == 0) v.clear();
        if (!v.empty()) env.push_back(v);
    }
    env.push_back("DISPLAY=" + display_.name());
    env.push_back("GDK_BACKEND=x11");
    env.push_back("NO_AT_BRIDGE=1");
    env.push_back("XDG_CONFIG_HOME=" + (dir_.path() / "config").string());
    env.push_back("ZIB_TEST_SCRIPT=" + scriptPath.string());
    env.push_back("ZIB_TEST_LOG=" + logPath.string());
    env.push_back("ZIB_TEST_SHOTS=" + shots.string());
    env.push_back("ZIB_TEST_TIMEOUT=" + std::to_string(launch.seconds - 5));
    // No real MIDI device is touched: fake ports, logging what they hear
    env.push_back("ZIB_MIDI_BACKEND=fake");
    env.push_back("ZIB_FAKE_MIDI_LOG=" + midiLog().string());
    // GTK keeps allocations until the process ends; those are not the program's leaks.
    env.push_back("ASAN_OPTIONS=detect_leaks=0");
    for (const auto& variable : env_) {
        const std::string prefix = variable.first + "=";
        std::erase_if(env, [&prefix](const std::string& v) { return v.rfind(prefix, 0) == 0; });
        env.push_back(prefix + variable.second);
    }
    std::vector<char*> envp;
    for (auto& v : env)
        envp.push_back(v.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (!args.empty()) {
        const std::filesystem::path start = folder.empty() ? dir_.path() : folder;
        posix_spawn_file_actions_addchdir_np(&actions, start.c_str());
    }
    std::vector<char*> argv{program_.data()};
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawn(&pid, program_.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc == 0) launch.pid = pid;
    return launch;
}

std::vector<std::string> ReadLines(const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace zib::test
