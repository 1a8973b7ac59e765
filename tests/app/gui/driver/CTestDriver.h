#pragma once

#include "app/PaintWatch.h"
#include "tests/app/gui/driver/SettleWatch.h"

#include <atomic>
#include <cstdio>
#include <chrono>
#include <deque>
#include <ios>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <wx/gdicmn.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

class wxDialog;
class wxWindow;

class wxListCtrl;

namespace zib {

// Remote control of the program for the GUI tests, built into the test
// program zib-gui-test only, active when the environment names a script
// (ZIB_TEST_SCRIPT). It runs the script's
// commands through the program's own command routing, answers every modal
// dialog with the script's next answer, and writes what happened to the log
// named by ZIB_TEST_LOG. A dialog still open once its answer has run and the
// program has settled goes ("dialog-unended"), and the whole run has a time
// limit (ZIB_TEST_TIMEOUT seconds, default 60), so a lost answer cannot hang a test.
//
// A step that did not happen writes a line that fails the run (the GUI
// tests' end check, ZibSession::expectEndedWell, looks for each of them):
//   dialog-unanswered: ...      a dialog, message box or file dialog came and
//                               the script had no answer left for it: it is
//                               cancelled. A script names the answer of every
//                               dialog it makes come, an OK box's "ok" too.
//   dialog-answer-unfit: ...    the answer is not one the dialog offers (a
//                               button the message box does not have, a file
//                               dialog answered other than by "path" or
//                               "cancel", more than the one button): cancelled.
//   dialog-answers-unused: ...  answers still queued when the program ended:
//                               a dialog the script expected never came.
//   dialog-action-failed: ...   an action of an answer found nothing to act on:
//                               no control of that id (on that page), a control
//                               of another kind or disabled, a value that does
//                               not parse or is not among its items, a row or
//                               item that is not there, a menu command no one took.
//   dialog-action-skipped: ...  an action that came after its dialog had ended.
//   step-failed: ...            a command found nothing to act on (no tree or
//                               node, no list, row, grid, label editor, window).
//   script-unrun: ...           commands left when the program ended.
//   await-failed: ...           a wait that ran out or can never hold.
//   unknown command ...         a command or dialog action the driver does not know.
// Commands that only write what they see ("log-...", "field", "tree-expanded",
// "where", "menu" of a disabled item) write what they found, "none" included.
//
// Script lines (words separated by blanks, "quoted text" with \" \\ \n):
//   dialog ACTION [; ACTION ...]  the answer to the next modal dialog
//       message boxes and file dialogs: ok | cancel | yes | no | path P [filter N]
//       [; mark NAME] (a file dialog's answer notes the time, as "mark")
//       other dialogs, acted on while shown: set ID TEXT | type ID TEXT |
//       select ID N (a list of several selections adds N; -1 clears) | check ID 0|1 |
//       click ID|ok|cancel|yes|no | enter ID | mouse-down|mouse-up|mouse-right ID X Y |
//       key|keydown|keyup ID LETTER | pause MS (time passes; timers and posted events run) |
//       await ID TEXT (until the control shows TEXT) | await-in-file PATH TEXT |
//       settle (until the program has settled) |
//       command ID (a menu command to the dialog) | select TREE TEXT (the item of that text) |
//       log ID | logall | shot NAME (a screenshot of the dialog alone) |
//       log-layout (its "layout:" faults, see LayoutFaults.h, then "layout-faults: N") |
//       log-title-room (its width and its title's text size: "title-room: width=W text=WxH") |
//       page N (later IDs are looked up in page N of a
//       property sheet) | log-help (whether the title bar offers context help)
//   menu ID                       sends the command (logged as disabled when greyed)
//   log-frame | log-menubar       writes the frame's state or its menu labels
//   text-viewer PATH [MIDI]       opens a text viewer on a file
//   folder-dialog FOLDER          runs the folder dialog
//   play-external PATH            plays a file with the external player
//   run-dialog NAME               runs one shared dialog on a sample model and
//                                 logs the model after it (time-signature,
//                                 cv-params, edit-chord-table, transpose-value,
//                                 goto, confirm-overwrite, new-file, progress,
//                                 and the dialogs the areas add to DialogRegistry)
//   check-button ID 0|1           presses a button of the current document toolbar
//   button-state ID               writes whether that button is pressed
//   custom-list [ROWS]            opens a window with a sample custom-drawn list (6 rows)
//   list-scroll ROW               scrolls that list in code to the row
//   list-painted                  repaints that list and writes the first and last row it drew
//   log-list [ROWS]               writes the active child's list: title, headers, rows
//   set-playing 0|1               sets the playing flag
//   close | quit                  asks the frame to close | closes it for good
//   abort | raise SIGNAME         ends the program by std::abort() | by that signal (the
//                                 harness's own tests: such a run must fail)
//   wait MS                       lets the program run for a while: only where time passing
//                                 is what the test means (a song plays); checks await a state
//   await-idle                    waits until the program has settled (SettleWatch)
//   await-child TEXT | await-child-gone TEXT
//                                 waits until a child window titled ...TEXT... is shown and
//                                 active | until no child window's title holds TEXT
//   await-rows N                  waits until the active child's first list has N rows
//   await-file PATH               waits until the file exists
//   await-in-file PATH TEXT       waits until the file holds TEXT (a fake port's log)
//   await-stopped                 waits until nothing plays
//   await-field ID TEXT           waits until a field of the main frame's bars reads TEXT
//                                 Each "await-..." looks again every few milliseconds; its
//                                 ceiling (ZIB_TEST_AWAIT seconds, default 120) only bounds a
//                                 hang and logs "await-failed: COMMAND (what was seen)". A
//                                 wait that can never hold (a missing file, a position that
//                                 does not parse, an "await-..." of no such name) fails too.
//   log-exists PATH               writes whether a file exists
//   await-gone PATH               waits for a file to go, then log-exists
//   screenshot NAME               (screenshots go to ZIB_TEST_SHOTS when set)
//   log-tree [N]                  writes the N-th tree of the active child, its images and
//                                 the number of images in its list
//   select-node PATH [N]          selects the node "Text/Text/..." of that tree
//   tree-expanded PATH [N]        writes whether that node is expanded
//   tree-command ID [N] | tree-key delete [N] | tree-activate [N]
//                                 a popup command, the Delete key, a double click on the tree
//   log-text [N]                  the N-th text control of the active child: length, first line, selection
//   edit-label TEXT               the open label editor of the active list takes TEXT
//   drop-block TITLE ROW FILE     drops the file's bytes (private format) on a row of that list
//   clipboard-write FILE | clipboard-read FILE
//                                 puts the file's bytes on the clipboard / writes the block there
//   log-grid [ROWS]               writes the active child's grid: title, rows, selection, cells
//   grid-select ROW [LAST] | grid-key delete|pagedown   selects rows | presses a key in that grid
//   grid-edit ROW COL TEXT|-      double-clicks a cell, types into its editor, presses Enter
//   clipboard-bytes HEX           puts those bytes on the clipboard under the private format
//   close-active                  closes the active child window
//   list-select ROW               selects and focuses one row of the active child's list
//   list-activate ROW | list-key delete   a double click on a row of that list | the Delete key there
//   grid-count COL TEXT           counts the rows of the active grid whose cell reads TEXT
//   menu-state ID                 writes whether that item of the menu bar is enabled and checked
//   mark NAME | elapsed NAME      notes the time | writes the milliseconds since, once the
//                                 posted events ran and the windows repainted
//   await-painted NAME MS         waits (at most MS) until the program painted after mark NAME
//                                 and then stayed 150 ms neither painting nor busy; writes
//                                 "painted NAME T ms", T from the mark until the last paint or
//                                 busy stretch ended (the program waits for input from then on)
//   clock NAME                    writes "clock NAME US", the steady clock in microseconds
//   await-position M:B:T          waits for the song position field (of the active bar view
//                                 window, else of the main frame) to reach
//                                 M:B:T; writes "position M:B:T at US" (steady clock)
//   field ID                      writes the text of a field of the main frame's bars
//   type-field ID TEXT [enter|escape]  types into such a field (it takes the focus first)
//   follow                        keeps reading the script as the test appends to it and
//                                 writes "done N" after the N-th command from then on;
//                                 dialogs without an answer are left to real input (their
//                                 "dialog:", "message:" or "file-dialog:" line still comes),
//                                 and every menu that opens writes "menu-open: LABEL"
//                                 (a context menu then "popup-items: TEXT=1|TEXT=0|...",
//                                 its items and whether each is enabled)
//   where grid-cell ROW COL | list-row ROW [COL] | tree-node PATH [N] | tool ID
//                                 writes "where: X Y W H", the screen rectangle of a cell of
//                                 the active child's grid, a row of its list (or the row's
//                                 cell in column COL), a node of its N-th tree (each scrolled
//                                 into view) or a bar's enabled button; "where: none" when
//                                 there is no such place
//   cell-editor                   whether the active child's grid shows its cell editor
//   log-tabs                      the titles of the child windows in tab order, and the active one
//   menubar-shown                 whether the frame's menu bar is on the screen (its keys work)
//   anything else                 the probes of the MIDI windows, the player and the
//                                 views (MidiWindowProbe, PlaybackProbe, ViewProbe)
class CTestDriver : public wxModalDialogHook {
public:
    explicit CTestDriver(const std::string& scriptPath);
    ~CTestDriver() override;

    // Runs the commands once the main loop runs.
    void Start();
    // The program is ending.
    void Finish();

    void Log(const std::string& line);

protected:
    // wxModalDialogHook
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;

private:
    using Words = std::vector<std::string>;

    void Next();
    // Takes the script's complete lines that were not taken yet
    void ReadScript();
    void Run(const Words& command);
    // Whether the state an "await-..." command waits for holds now, may hold
    // later, or never can (a wait the driver does not know, a position that
    // does not parse); `shown` says what was seen instead, for the log of a
    // wait that failed.
    enum class AwaitState { Held, Pending, Impossible };
    AwaitState AwaitHolds(const Words& command, std::string& shown);
    void LogWhere(const Words& command);
    void LogTabs();
    void Act(wxDialog* dialog, std::vector<Words> actions);
    // One action of an answer; false (with the reason in `why`) when it found nothing to act on.
    bool ActOn(wxDialog* dialog, wxWindow*& scope, const Words& action, std::string& why);
    // The answer of a message box or file dialog that can be given, or why not.
    std::string UnfitAnswer(wxDialog* dialog, const std::vector<Words>& answer) const;
    // A command that could not act: the line that fails the run.
    void StepFailed(const Words& command, const std::string& why);
    // The answers and commands left when the program ends, logged once.
    void LogLeftovers();
    // Ends a dialog that is still open once its answer has run and the program has settled.
    void AwaitUnended(wxDialog* dialog);
    void RunDialog(const std::string& name);
    // A line for one of the areas' test commands; false when none took it
    bool RunAreaCommand(const Words& command);
    void LogFrame();
    void LogMenuBar();
    void LogActiveList(int rows);
    void RunGridCommand(const Words& command);
    void ActivateChild(const std::string& titlePart);
    void SelectRows(const std::string& rows, int focus);
    void DragBlock(const std::string& from, const std::string& rows, const std::string& to, int row, bool move);
    void LogControl(wxWindow* control);
    // The screen, or one area of it (screen coordinates)
    void Screenshot(const std::string& name, wxRect area = wxRect());

    std::FILE* log_ = nullptr;
    std::string scriptPath_;
    std::streamoff scriptTaken_ = 0; // bytes of the script read so far
    bool follow_ = false;            // the script grows while the program runs
    bool leftoversLogged_ = false;
    int done_ = 0;                   // commands run since "follow"
    std::deque<Words> commands_;
    std::deque<std::vector<Words>> answers_;
    std::shared_ptr<std::atomic<bool>> finished_;
    wxTimer stepTimer_;
    std::vector<wxDialog*> open_;
    std::map<std::string, std::chrono::steady_clock::time_point> marks_; // "mark" and "elapsed"
    PaintWatch paintWatch_; // painting since the last mark
    // "await-painted": when the last command returned, the last poll, and the end of the last busy stretch
    std::chrono::steady_clock::time_point commandEnd_, lastPoll_, busyEnd_;
    bool awaiting_ = false;
    // The "await-..." command being waited for: since when, and the settling seen so far
    bool awaitStarted_ = false;
    std::chrono::steady_clock::time_point awaitSince_;
    SettleWatch settle_;
    wxListCtrl* list_ = nullptr; // the sample custom-drawn list, once made
    wxWindow* player_ = nullptr; // the stand-in player window while it is open
};

} // namespace zib
