#pragma once

#include "tests/support/gui/ZibSession.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace zib::test {

// The real zib program on a small desktop: the session's private Xvfb with a
// window manager (openbox), so that focus, stacking and re-layout happen as
// they do for a user, and real X input sent from outside with xdotool. The
// program's test driver follows a script that grows while it runs: the test
// asks it where things are and what the documents hold, and leaves every
// dialog to the keys and clicks it sends.
//
// Every wait is bounded; a wait that runs out fails the test with the
// program's log, and the fixture's screenshot of the failure lands in the
// build folder (tests/app/gui/shots).
class ZibDesktop {
public:
    using Seconds = std::chrono::duration<double>;
    static constexpr Seconds kWait{120}; // only a hang takes this long

    // Starts the window manager on the session's display.
    explicit ZibDesktop(ZibSession& session);
    ~ZibDesktop();
    ZibDesktop(const ZibDesktop&) = delete;
    ZibDesktop& operator=(const ZibDesktop&) = delete;

    // Whether the window manager and xdotool are there (a test skips, or fails in CI, without them).
    bool ok() const { return ok_; }

    // The program
    // Starts it with these files on its command line and waits until its main window has the focus.
    bool start(const std::vector<std::string>& files = {});
    bool running() const;
    // Waits until the program has ended by itself; what it left behind. Fails
    // the test unless it ended well (ZibSession::expectEndedWell).
    ZibRun finish(Seconds limit = kWait);
    // Ends the program through its test driver (no question is asked) and waits for it, as finish().
    ZibRun quit(Seconds limit = kWait);

    // Real input
    void keys(const std::string& keys); // xdotool key names: "alt+f", "Return", "ctrl+z"
    void type(const std::string& text);
    // Clicks with the left (1) or right (3) button.
    void click(int x, int y, int count = 1, int button = 1);
    // Clicks the middle of what a "where ..." question names, once the
    // program knows the place; false when it never does.
    bool clickOn(const std::string& where, int count = 1, int button = 1);
    // Right-clicks what a "where ..." question names and waits until a
    // context menu has opened.
    bool openPopup(const std::string& where);
    // Presses alt+`letter` and waits until a menu has opened.
    bool openMenu(char letter);
    // A menu command by its mnemonics: alt+`menu`, then the item's key names.
    bool menuCommand(char menu, const std::string& itemKeys);

    // Questions to the program's test driver: the lines the command wrote.
    std::vector<std::string> ask(const std::string& command);
    // The first line of the answer that starts with `prefix` ("" when none does).
    std::string answer(const std::string& command, const std::string& prefix);

    // Waiting
    bool waitUntil(const std::function<bool()>& condition, const std::string& what, Seconds limit = kWait);
    // The title of the window that has the keyboard focus ("" when none).
    std::string activeWindow() const;
    // Its X window id ("" when none), to tell apart windows of the same title.
    std::string activeWindowId() const;
    // Where a window of that id is on the screen (all 0 when it cannot be found)
    struct WindowRect {
        int x = 0, y = 0, width = 0, height = 0;
    };
    WindowRect windowRect(const std::string& windowId) const;
    bool waitForActiveWindow(const std::string& titlePart, Seconds limit = kWait);
    // The program's log so far
    std::vector<std::string> log() const;
    std::vector<std::string> logLines(const std::string& prefix) const;

    void screenshot(const std::string& name);

private:
    int xdotool(const std::vector<std::string>& args, std::string* output = nullptr) const;
    // Its output's first line ("" when it failed)
    std::string xdotoolLine(const std::vector<std::string>& args) const;

    ZibSession& session_;
    int wm_ = -1;
    bool ok_ = false;
    ZibLaunch launch_;
    int asked_ = 0;
};

} // namespace zib::test
