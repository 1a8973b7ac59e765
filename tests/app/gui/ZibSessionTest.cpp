// The checks every GUI test makes of a run of the program: a run that ends
// by a signal, with an exit status the test did not expect, with a wait or a
// dialog answer that could not be done, or with a complaint of the toolkit
// fails the test, and says why.
#include "tests/support/gui/ZibSession.h"
#include "platform/FileIo.h"
#include "tests/support/StyFileBuilder.h"
#include "ui/texts/ZibMessageTable.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace zib::test {
namespace {

// The failures ZibSession::expectEndedWell reports for a run
std::vector<std::string> failuresOf(const ZibRun& r, int exitStatus = 0)
{
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
        ZibSession::expectEndedWell(r, exitStatus);
    }
    std::vector<std::string> messages;
    for (int i = 0; i < results.size(); ++i)
        messages.emplace_back(results.GetTestPartResult(i).message());
    return messages;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\n---\n";
    return text;
}

TEST(ZibRunChecks, ToolkitComplaintsAreErrorsCriticalsAndTheToolkitsWarnings)
{
    struct Case {
        const char* line;
        bool counts;
    };
    const Case cases[] = {
        {"(zib:12): Gtk-CRITICAL **: 10:00:00.000: gtk_widget_show: assertion 'GTK_IS_WIDGET' failed", true},
        {"(zib:12): GLib-ERROR **: 10:00:00.000: out of memory", true},
        {"(zib:12): Gdk-ERROR **: 10:00:00.000: The program received an X Window System error.", true},
        {"(zib:12): Gtk-WARNING **: 10:00:00.000: Negative content width -3", true},
        {"(zib:12): Gdk-WARNING **: 10:00:00.000: XSetErrorHandler() called with a GDK error trap pushed",
         true},
        {"(zib:12): GLib-WARNING **: 10:00:00.000: g_main_context_prepare() called recursively", true},
        {"(zib:12): GLib-GObject-WARNING **: 10:00:00.000: invalid unclassed pointer in cast to 'GtkWidget'",
         true},
        {"(zib:12): GLib-GIO-WARNING **: 10:00:00.000: Error creating IO channel for /proc/self/mountinfo",
         true},
        {"(zib:12): Pango-WARNING **: 10:00:00.000: Invalid UTF-8 string passed to pango_layout_set_text()",
         true},
        {"(zib:12): GdkPixbuf-WARNING **: 10:00:00.000: Cannot open pixbuf loader module file", true},
        {"*** BUG ***", true},
        // Not the program's: the settings store of a desktop without a D-Bus session
        {"(zib:12): dconf-WARNING **: 10:00:00.000: failed to commit changes to dconf: Could not connect",
         false},
        {"(zib:12): GLib-GIO-Message: 10:00:00.000: Using the 'memory' GSettings backend.", false},
        {"(zib:12): Gtk-Message: 10:00:00.000: Failed to load module \"canberra-gtk-module\"", false},
        {"a line of the program's own output", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ZibRun r;
        r.output = std::string("before\n") + c.line + "\nafter";
        EXPECT_EQ(r.toolkitComplaints(),
                  c.counts ? std::vector<std::string>{c.line} : std::vector<std::string>{});
    }
}

class ZibSessionChecks : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session_.displayOk()) GTEST_SKIP() << "Xvfb is not available";
        session_.seedAuthor();
    }

    ZibSession session_;
};

// An abort (what a failed assert, std::terminate and g_error come to) or any
// other signal is never a good end, whatever the log holds.
TEST_F(ZibSessionChecks, ARunEndedByASignalFailsNamingTheSignal)
{
    struct Case {
        const char* script;
        int signal;
        const char* named;
    };
    for (const Case& c : {Case{"abort\n", SIGABRT, "signal SIGABRT (Aborted)"},
                          Case{"raise SIGTRAP\n", SIGTRAP, "signal SIGTRAP"},
                          Case{"raise SIGTERM\n", SIGTERM, "signal SIGTERM"}}) {
        SCOPED_TRACE(c.script);
        const ZibRun r = session_.run(c.script);
        EXPECT_EQ(r.signal, c.signal);
        EXPECT_EQ(r.exitCode, -1);
        EXPECT_FALSE(r.killed);
        const auto failures = failuresOf(r);
        ASSERT_EQ(failures.size(), 1u) << joined(failures);
        EXPECT_NE(failures[0].find("the program ended with " + std::string(c.named)), std::string::npos)
            << failures[0];
    }
}

TEST_F(ZibSessionChecks, AnExitStatusOtherThanTheExpectedOneFails)
{
    // Without an author the program asks for one first; refused, it does not start.
    std::filesystem::remove(session_.settingsFile());
    const ZibRun r = session_.run("dialog cancel\n");
    EXPECT_EQ(r.signal, 0);
    ASSERT_NE(r.exitCode, 0);
    const auto failures = failuresOf(r);
    ASSERT_EQ(failures.size(), 1u) << joined(failures);
    EXPECT_NE(
        failures[0].find("exit status " + std::to_string(r.exitCode) + " where exit status 0 was expected"),
        std::string::npos)
        << failures[0];
    EXPECT_EQ(failuresOf(r, r.exitCode), std::vector<std::string>{}) << "the status the test expects";
}

// A step of the script that did not happen fails the run, with a line that
// names it: a wait that can never hold (at once or at its ceiling, a second
// here), a dialog that came without its answer (cancelled) or with one it
// does not offer, an answer no dialog took, a dialog action or a command
// that found nothing to act on, commands left when the program ended.
TEST_F(ZibSessionChecks, WaitsAndAnswersThatCannotBeDoneFail)
{
    session_.setEnv("ZIB_TEST_AWAIT", "1");
    const std::string missing = (session_.files() / "missing.log").string();
    // Convert Yamaha Style: a file dialog, then a box saying the file chosen is missing.
    const std::string convert = "menu 32874\n";
    const std::string missingStyle = "dialog path " + (session_.files() / "missing.sty").string() + "\n";
    const std::string missingBox = "ConvertYamahaStyToQeSty: " + ZibMessage(9, 0);
    // A Wq style open in its edit frame, whose tree has no CV9.
    const auto sty = session_.files() / "wq8.sty";
    ASSERT_EQ(writeFileAtomically(sty, wqStyleFile('9', {smallWq8Image("Rock")})), FileIoError::None);
    const std::string tree =
        "dialog path " + sty.string() +
        "\nmenu 57601\nawait-child wq8.sty\nselect-rows 0 0\nmenu 32785\nawait-child StyleTree\n";
    struct Case {
        std::string script;
        std::string line; // the start of the log line that fails the run
    };
    const Case cases[] = {
        {"await-in-file " + missing + "\n", "await-failed: await-in-file " + missing},
        {"await-in-file " + missing + " \"90 3C 64\"\n",
         "await-failed: await-in-file " + missing + " 90 3C 64"},
        {"await-position 1-02\n", "await-failed: await-position 1-02 (not a position: 1-02)"},
        {"dialog ok ; set 1902 0\nrun-dialog time-signature\n",
         "dialog-action-skipped: set 1902 0 (Time Signature has ended)"},
        {"dialog press 1902 ; ok\nrun-dialog time-signature\n",
         "unknown command press (an action in a dialog)"},
        // No answer left: the box, the file dialog and the dialog are cancelled.
        {missingStyle + convert, "dialog-unanswered: message box " + missingBox + " (cancelled"},
        {convert, "dialog-unanswered: file dialog "},
        {"run-dialog time-signature\n", "dialog-unanswered: dialog Time Signature (cancelled"},
        // An answer the dialog does not offer
        {missingStyle + "dialog yes\n" + convert,
         "dialog-answer-unfit: yes for " + missingBox + " (its answer is one of its buttons: ok; cancelled)"},
        {"dialog ok\n" + convert, "dialog-answer-unfit: ok for "},
        {"dialog ok\n", "dialog-answers-unused: 1 (the first: dialog ok)"},
        // A control the dialog lacks, or a value the control cannot take
        {"dialog set 1999 4 ; ok\nrun-dialog time-signature\n",
         "dialog-action-failed: set 1999 4 (no control 1999 in Time Signature)"},
        {"dialog set 1904 7 ; ok\nrun-dialog time-signature\n",
         "dialog-action-failed: set 1904 7 (\"7\" is not an item of 1904 in Time Signature)"},
        {"dialog set 1419 7 ; ok\nrun-dialog time-signature\n",
         "dialog-action-failed: set 1419 7 (control 1419 (wxSpinButton) takes no text in Time Signature)"},
        // No tree, or no such node in the tree
        {"select-node Variation1/CV1\n",
         "step-failed: select-node Variation1/CV1 (no tree 0 of no active window)"},
        {tree + "select-node Variation1/CV9\n",
         "step-failed: select-node Variation1/CV9 (no node Variation1/CV9 in tree 0 of "},
        {"quit\nlog-frame\n", "script-unrun: 2 commands (the first: log-frame)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const ZibRun r = session_.run(c.script + "quit\n");
        const std::string line = r.line(c.line);
        EXPECT_FALSE(line.empty()) << joined(r.log);
        const auto failures = failuresOf(r);
        ASSERT_EQ(failures.size(), 1u) << joined(failures);
        EXPECT_NE(failures[0].find(line), std::string::npos) << failures[0];
    }
}

// The same steps done as the driver expects them leave nothing to report.
TEST_F(ZibSessionChecks, StepsThatHappenPass)
{
    const std::string missingStyle = "dialog path " + (session_.files() / "missing.sty").string() + "\n";
    const ZibRun r = session_.run(missingStyle + "dialog ok\nmenu 32874\n" +
                                  "dialog set 1902 5 ; set 1904 8 ; ok\nrun-dialog time-signature\nquit\n");
    EXPECT_FALSE(r.line("message: title=ConvertYamahaStyToQeSty").empty()) << joined(r.log);
    EXPECT_TRUE(r.has("time-signature: result=5100 measure=4 beats=3 value=8")) << joined(r.log);
    EXPECT_EQ(failuresOf(r), std::vector<std::string>{});
}

} // namespace
} // namespace zib::test
