// Start-up of the zib program against a bare wxWidgets frame program built
// the same way (BareFrame.cpp), each from its start until its first
// top-level window is mapped on a private Xvfb (the GUI tests' display,
// no window manager). zib starts with an author in its settings, so that
// the main window is that first window, and with its own MIDI devices.
// The two programs start in turns; the counters are the medians and the
// fastest runs of each, and the ratio of the medians (target at most 1.15).

#include "platform/FileProfile.h"
#include "tests/support/BuildPaths.h"
#include "tests/support/gui/ZibSession.h"
#include "tests/support/TempDir.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <benchmark/benchmark.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts `program` on the display and returns the milliseconds until a
// top-level window of it is mapped (-1: none within 30 s); then ends it.
double millisecondsToMapped(Display* display, const std::string& program, const std::vector<std::string>& env)
{
    std::vector<char*> envp;
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    XSync(display, True); // nothing left over from the last run
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;

    double ms = -1;
    while (ms < 0 && Clock::now() - start < std::chrono::seconds(30)) {
        while (ms < 0 && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        if (ms < 0) poll(&fd, 1, 20);
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_StartupToMainWindowMapped(benchmark::State& state)
{
    zib::test::XvfbDisplay xvfb;
    if (!xvfb.ok()) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    Display* display = XOpenDisplay(xvfb.name().c_str());
    if (!display) {
        state.SkipWithError("cannot connect to Xvfb");
        return;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    zib::test::TempDir dir;
    const auto config = dir.path() / "config";
    {
        zib::FileProfile profile(config / "zib" / "zib.conf");
        profile.setString("Settings", "Author", "Bench");
        profile.setInt("Settings", "AppLanguage", 0);
    }
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (var.rfind("DISPLAY=", 0) != 0 && var.rfind("XDG_CONFIG_HOME=", 0) != 0 && var.rfind("ZIB_", 0) != 0)
            env.push_back(var);
    }
    env.push_back("DISPLAY=" + xvfb.name());
    env.push_back("XDG_CONFIG_HOME=" + config.string());

    // One start of each first: the files they load come into the page cache.
    millisecondsToMapped(display, zib::test::BuildFile(ZIB_PROGRAM), env);
    millisecondsToMapped(display, zib::test::BuildFile(BARE_FRAME_PROGRAM), env);

    std::vector<double> zib, bare;
    for (auto _ : state) {
        const double b = millisecondsToMapped(display, zib::test::BuildFile(BARE_FRAME_PROGRAM), env);
        const double z = millisecondsToMapped(display, zib::test::BuildFile(ZIB_PROGRAM), env);
        if (b < 0 || z < 0) {
            state.SkipWithError("a program showed no window");
            break;
        }
        bare.push_back(b);
        zib.push_back(z);
        state.SetIterationTime(z / 1000);
    }
    XCloseDisplay(display);
    if (zib.empty()) return;
    state.counters["zib_ms"] = median(zib);
    state.counters["bare_ms"] = median(bare);
    state.counters["zib_fastest_ms"] = *std::min_element(zib.begin(), zib.end());
    state.counters["bare_fastest_ms"] = *std::min_element(bare.begin(), bare.end());
    state.counters["ratio"] = median(zib) / median(bare);
    state.counters["ratio_target"] = 1.15;
}

} // namespace

BENCHMARK(BM_StartupToMainWindowMapped)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);
