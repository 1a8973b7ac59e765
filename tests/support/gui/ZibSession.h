#pragma once

#include "platform/FileProfile.h"
#include "tests/support/BuildPaths.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace zib::test {

// A private X display for one test: Xvfb picks a free display number itself
// (-displayfd), so tests running side by side never share one.
class XvfbDisplay {
public:
    XvfbDisplay();
    ~XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& name() const { return name_; } // ":N"

private:
    int pid_ = -1;
    std::string name_;
};

// What one run of the program left behind.
struct ZibRun {
    int exitCode = -1;            // its exit status; -1 when it ended by a signal or never started
    int signal = 0;               // the signal that ended it (SIGKILL when killed), 0 when it exited
    bool killed = false;          // it overran the time limit
    std::vector<std::string> log; // lines of the test log
    std::string output;           // stdout and stderr (GTK warnings land here)

    bool has(const std::string& line) const;
    // The first log line that starts with `prefix`, or "" when none does.
    std::string line(const std::string& prefix) const;
    // Every log line that starts with `prefix`.
    std::vector<std::string> lines(const std::string& prefix) const;
    // The lines of the output where GTK, GDK, GLib, GIO, Pango or GdkPixbuf
    // complained (an error, a critical, a warning, an invalid cast) or pixman
    // was handed a bad rectangle.
    std::vector<std::string> toolkitComplaints() const;
    // How it ended, for a message: "exit status 1", "signal SIGABRT (Aborted)",
    // "killed at its time limit", "never started".
    std::string ending() const;
    // Fills exitCode and signal from a status of waitpid.
    void takeStatus(int waitStatus);
};

// A program started and not yet waited for: its process and the files of its run.
struct ZibLaunch {
    int pid = -1;
    int seconds = 0; // its own time limit
    std::filesystem::path script, log, output;
};

// Runs the real zib program under its own Xvfb with a script of commands and
// dialog answers, a private settings folder (XDG_CONFIG_HOME) and a log.
class ZibSession {
public:
    ZibSession();

    // The settings folder's store file (may not exist).
    std::filesystem::path settingsFile() const;
    // The settings as a previous run left them.
    FileProfile settings() const { return FileProfile(settingsFile()); }
    // An author and a language set, so that the program starts at once.
    void seedAuthor(int language = 0) const;
    // A folder for the test's own files.
    const std::filesystem::path& files() const { return dir_.path(); }
    // What the program's fake MIDI ports heard, one message a line: "time_us port: hex bytes"
    std::filesystem::path midiLog() const { return dir_.path() / "midi.log"; }
    // The lines of the last run's MIDI log that `port` heard, as "port: hex bytes"
    std::vector<std::string> midiHeard(const std::string& port) const;

    // Sets a variable of the program's environment for the next runs, over
    // the session's own (ZIB_MIDI_BACKEND=fake, say)
    void setEnv(const std::string& name, const std::string& value);
    // The next runs play through the built-in synthesizer, which finds no
    // audio output (its settings and files go under `audioDir`), beside the
    // fake ports: Play and Record meet "No audio output found ...".
    void playWithoutAudioOutput(const std::filesystem::path& audioDir);

    // A run's time limit only bounds a hang: a busy machine with two cores
    // and the sanitizers runs the longest script in a fraction of it.
    static constexpr int kRunCeilingSeconds = 600;

    // Runs the program with `script`; `seconds` bounds the whole run (at
    // least kRunCeilingSeconds).
    ZibRun run(const std::string& script, int seconds = 40);
    // The same with arguments on the command line, started in `folder` (the
    // test's files folder when empty).
    ZibRun run(const std::string& script, int seconds, const std::vector<std::string>& args,
               const std::filesystem::path& folder = {});
    // Starts the program as run() does and returns at once (pid -1 when it
    // could not be started); the script may grow while it runs.
    ZibLaunch start(const std::string& script, int seconds, const std::vector<std::string>& args = {},
                    const std::filesystem::path& folder = {});
    // Waits for a started program to end, killing it at its time limit; what it left behind.
    static ZibRun finish(ZibLaunch& launch);

    // The same, expecting a run that ended by itself with `exitStatus`: no
    // signal, not killed, no time-out, no step of the script that did not
    // happen (a dialog without its answer or left open by it, an answer or
    // action that did not fit, answers or commands left over, a command that
    // found nothing to act on, a wait that ran out, an unknown command; see
    // CTestDriver.h), no sanitizer report, no toolkit complaint.
    ZibRun runChecked(const std::string& script, int seconds = 40,
                      const std::vector<std::string>& arguments = {}, int exitStatus = 0);
    // What runChecked expects of a run, for one started and finished by hand.
    static void expectEndedWell(const ZibRun& r, int exitStatus = 0);

    bool displayOk() const { return display_.ok(); }
    const std::string& displayName() const { return display_.name(); }
    // Later runs start this program (an installed copy) in place of the build's.
    void useProgram(const std::filesystem::path& program) { program_ = program.string(); }

private:
    TempDir dir_;
    XvfbDisplay display_;
    int runs_ = 0;
    std::string program_ = BuildFile(ZIB_PROGRAM);
    std::vector<std::pair<std::string, std::string>> env_;
};

// The lines of a text file (a program's log); none when it cannot be read.
std::vector<std::string> ReadLines(const std::filesystem::path& path);
// The last `count` of `lines`, each indented and cut to 300 characters, for a failure message.
std::string LastLines(const std::vector<std::string>& lines, size_t count);

} // namespace zib::test
