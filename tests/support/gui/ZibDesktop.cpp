#include "tests/support/gui/ZibDesktop.h"

#include "tests/support/CiRun.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zib::test {

namespace {

using Clock = std::chrono::steady_clock;

// Whether a program of that name is on the PATH
bool onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && access((folder + "/" + name).c_str(), X_OK) == 0) return true;
    return false;
}

// The environment with DISPLAY (and XDG_CONFIG_HOME, when given) replaced
std::vector<std::string> environmentFor(const std::string& display, const std::string& configHome = {})
{
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string v = *e;
        if (v.rfind("DISPLAY=", 0) == 0 || v.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
        if (!configHome.empty() && v.rfind("XDG_CONFIG_HOME=", 0) == 0) continue;
        env.push_back(v);
    }
    env.push_back("DISPLAY=" + display);
    if (!configHome.empty()) env.push_back("XDG_CONFIG_HOME=" + configHome);
    return env;
}

// Starts `argv` with `env`; stdout goes to `out` (a file descriptor, or /dev/null when -1), stderr to /dev/null.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, int out = -1)
{
    std::vector<char*> args, envp;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const auto& v : env) envp.push_back(const_cast<char*>(v.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (out >= 0)
        posix_spawn_file_actions_adddup2(&actions, out, 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// Waits at most `limit` for a child; its wait status, or -1 when it is still running.
int waitChild(pid_t pid, ZibDesktop::Seconds limit)
{
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return status;
        if (Clock::now() > end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

ZibDesktop::ZibDesktop(ZibSession& session) : session_(session)
{
    if (!session.displayOk()) return;
    if (!onPath("openbox") || !onPath("xdotool")) {
        reportMissingInCi("a window manager and X input (packages openbox, xdotool)");
        return;
    }
    // The window manager with its stock configuration, not the user's; it
    // touches a file once it manages the screen.
    const auto ready = session.files() / "wm-ready";
    wm_ = spawn({"openbox", "--startup", "touch " + ready.string()},
                environmentFor(session.displayName(), (session.files() / "wm").string()));
    if (wm_ <= 0) return;
    const auto end = Clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(ready) && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ok_ = std::filesystem::exists(ready);
    if (!ok_) ADD_FAILURE() << "the window manager did not start";
}

ZibDesktop::~ZibDesktop()
{
    if (running()) quit(Seconds(15));
    if (wm_ > 0) {
        kill(wm_, SIGTERM);
        if (waitChild(wm_, Seconds(5)) == -1) {
            kill(wm_, SIGKILL);
            waitpid(wm_, nullptr, 0);
        }
    }
}

bool ZibDesktop::start(const std::vector<std::string>& files)
{
    asked_ = 0;
    launch_ = session_.start("follow\n", 300, files);
    if (launch_.pid <= 0) {
        ADD_FAILURE() << "the program did not start";
        return false;
    }
    return waitUntil(
               [this] {
                   const auto lines = log();
                   return std::find(lines.begin(), lines.end(), "follow") != lines.end();
               },
               "the test driver") &&
           waitForActiveWindow("Zib");
}

bool ZibDesktop::running() const
{
    if (launch_.pid <= 0) return false;
    // A child that ended is not reaped here: finish() collects its status.
    siginfo_t info{};
    return waitid(P_PID, id_t(launch_.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

ZibRun ZibDesktop::finish(Seconds limit)
{
    ZibRun run;
    const bool collecting = launch_.pid > 0;
    if (collecting) {
        int status = waitChild(launch_.pid, limit);
        if (status == -1) {
            kill(launch_.pid, SIGKILL);
            waitpid(launch_.pid, &status, 0);
            run.killed = true;
        }
        run.takeStatus(status);
        launch_.pid = -1;
    }
    run.log = ReadLines(launch_.log);
    std::ifstream out(launch_.output, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(out), {});
    // Whatever the test goes on to check, the program ended well: by itself,
    // with status 0, with nothing from the sanitizers or GTK.
    if (collecting) ZibSession::expectEndedWell(run);
    return run;
}

ZibRun ZibDesktop::quit(Seconds limit)
{
    if (running()) std::ofstream(launch_.script, std::ios::app | std::ios::binary) << "quit\n";
    return finish(limit);
}

int ZibDesktop::xdotool(const std::vector<std::string>& args, std::string* output) const
{
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    int fds[2] = {-1, -1};
    if (output && pipe(fds) != 0) return -1;
    const pid_t pid = spawn(argv, environmentFor(session_.displayName()), output ? fds[1] : -1);
    if (output) {
        close(fds[1]);
        char buffer[256];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) output->append(buffer, size_t(n));
        close(fds[0]);
    }
    if (pid <= 0) return -1;
    const int status = waitChild(pid, Seconds(20));
    if (status == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ZibDesktop::keys(const std::string& keys)
{
    std::vector<std::string> args = {"key", "--delay", "60"};
    std::stringstream names(keys);
    for (std::string name; names >> name;) args.push_back(name);
    EXPECT_EQ(xdotool(args), 0) << "xdotool key " << keys;
}

void ZibDesktop::type(const std::string& text)
{
    EXPECT_EQ(xdotool({"type", "--delay", "40", "--", text}), 0) << "xdotool type " << text;
}

void ZibDesktop::click(int x, int y, int count, int button)
{
    EXPECT_EQ(xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "--repeat",
                       std::to_string(count), "--delay", "90", std::to_string(button)}),
              0)
        << "xdotool click at " << x << "," << y;
}

bool ZibDesktop::clickOn(const std::string& where, int count, int button)
{
    // A list still filling or a button not yet enabled has no place yet.
    int x = 0, y = 0, w = 0, h = 0;
    if (!waitUntil(
            [&] {
                const std::string at = answer("where " + where, "where: ");
                return std::sscanf(at.c_str(), "where: %d %d %d %d", &x, &y, &w, &h) == 4;
            },
            "a place to click: " + where))
        return false;
    click(x + w / 2, y + h / 2, count, button);
    return true;
}

bool ZibDesktop::openPopup(const std::string& where)
{
    const size_t before = logLines("menu-open:").size();
    if (!clickOn(where, 1, 3)) return false;
    return waitUntil([&] { return logLines("menu-open:").size() > before; }, "a context menu on " + where,
                     Seconds(10));
}

bool ZibDesktop::openMenu(char letter)
{
    const size_t before = logLines("menu-open:").size();
    keys(std::string("alt+") + letter);
    return waitUntil([&] { return logLines("menu-open:").size() > before; },
                     std::string("a menu opened by alt+") + letter, Seconds(10));
}

bool ZibDesktop::menuCommand(char menu, const std::string& itemKeys)
{
    if (!openMenu(menu)) return false;
    keys(itemKeys);
    return true;
}

std::vector<std::string> ZibDesktop::ask(const std::string& command)
{
    if (!running()) {
        ADD_FAILURE() << "the program has ended; cannot ask " << command;
        return {};
    }
    {
        // One write of the whole line: the driver takes only complete lines.
        std::ofstream script(launch_.script, std::ios::app | std::ios::binary);
        const std::string line = command + "\n";
        script.write(line.data(), std::streamsize(line.size()));
    }
    const int n = ++asked_;
    const std::string done = "done " + std::to_string(n);
    const std::string previous = n == 1 ? "follow" : "done " + std::to_string(n - 1);
    std::vector<std::string> lines;
    if (!waitUntil(
            [&] {
                lines = log();
                return std::find(lines.begin(), lines.end(), done) != lines.end();
            },
            "the answer to " + command))
        return {};
    auto end = std::find(lines.begin(), lines.end(), done);
    auto begin = std::find(lines.begin(), end, previous);
    return std::vector<std::string>(begin == end ? begin : begin + 1, end);
}

std::string ZibDesktop::answer(const std::string& command, const std::string& prefix)
{
    for (const auto& line : ask(command))
        if (line.rfind(prefix, 0) == 0) return line;
    return {};
}

bool ZibDesktop::waitUntil(const std::function<bool()>& condition, const std::string& what, Seconds limit)
{
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(limit);
    while (!condition()) {
        if (Clock::now() > end || (launch_.pid > 0 && !running())) {
            ADD_FAILURE() << "waited in vain for " << what << (running() ? "" : " (the program has ended)")
                          << "\nactive window: " << activeWindow() << "\nlast lines of the log:\n"
                          << LastLines(log(), 25);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::string ZibDesktop::xdotoolLine(const std::vector<std::string>& args) const
{
    std::string line;
    if (xdotool(args, &line) != 0) return {};
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

std::string ZibDesktop::activeWindow() const
{
    return xdotoolLine({"getactivewindow", "getwindowname"});
}

std::string ZibDesktop::activeWindowId() const
{
    return xdotoolLine({"getactivewindow"});
}

ZibDesktop::WindowRect ZibDesktop::windowRect(const std::string& windowId) const
{
    // "X=..", "Y=..", "WIDTH=..", "HEIGHT=.." lines
    WindowRect rect;
    std::string shell;
    if (windowId.empty() || xdotool({"getwindowgeometry", "--shell", windowId}, &shell) != 0) return rect;
    std::istringstream lines(shell);
    for (std::string line; std::getline(lines, line);) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string name = line.substr(0, eq);
        const int value = std::atoi(line.c_str() + eq + 1);
        if (name == "X") rect.x = value;
        if (name == "Y") rect.y = value;
        if (name == "WIDTH") rect.width = value;
        if (name == "HEIGHT") rect.height = value;
    }
    return rect;
}

bool ZibDesktop::waitForActiveWindow(const std::string& titlePart, Seconds limit)
{
    return waitUntil([&] { return activeWindow().find(titlePart) != std::string::npos; },
                     "the active window \"" + titlePart + "\"", limit);
}

std::vector<std::string> ZibDesktop::log() const
{
    return ReadLines(launch_.log);
}

std::vector<std::string> ZibDesktop::logLines(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const auto& line : log())
        if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

void ZibDesktop::screenshot(const std::string& name)
{
    if (running()) ask("screenshot " + name);
}

} // namespace zib::test
