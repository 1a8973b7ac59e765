#include "tests/app/gui/driver/CTestDriver.h"

#include "ui/BlockDragSource.h"
#include "ui/CChildFrames.h"
#include "ui/CListCtrlCustomDraw.h"
#include "app/CMainFrame.h"
#include "ui/CTextViewer.h"
#include "app/CZibApp.h"
#include "ui/CZibDocManager.h"
#include "ui/CZibDocTemplate.h"
#include "ui/CZibFileDialog.h"
#include "ui/core/CommandIds.h"
#include "ui/dialogs/CFileDialogs.h"
#include "app/dialogs/CNewFileDlg.h"
#include "devices/CBarViewHostFrame.h"
#include "devices/dialogs/CProgressDlg.h"
#include "docs/style/dialogs/CCvParamsDlg.h"
#include "docs/style/dialogs/CEditChordTableDlg.h"
#include "platform/AppEvents.h"
#include "platform/FileIo.h"
#include "platform/WxText.h"
#include "platform/ZibClipboardFormat.h"
#include "tests/app/gui/driver/LayoutFaults.h"
#include "tests/app/gui/driver/MidiWindowProbe.h"
#include "tests/app/gui/driver/PlaybackProbe.h"
#include "tests/app/gui/driver/ScreenArea.h"
#include "tests/app/gui/driver/ViewProbe.h"
#include "ui/DialogRegistry.h"
#include "mididoc/dialogs/CPositionDialogs.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/clipbrd.h>
#include <wx/combo.h>
#include <wx/combobox.h>
#include <wx/dataobj.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/grid.h>
#include <wx/image.h>
#include <wx/imaglist.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/propdlg.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/stopwatch.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>
#include <wx/vlbox.h>

namespace zib {

namespace {

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string current;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '\\' && i + 1 < line.size()) {
                char n = line[++i];
                current += n == 'n' ? '\n' : n == 't' ? '\t' : n;
            } else if (c == '"') {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == '"') {
            quoted = inWord = true;
        } else if (c == ';') {
            if (inWord) words.push_back(current);
            current.clear();
            inWord = false;
            words.push_back(";");
        } else if (c == ' ' || c == '\t' || c == '\r') {
            if (inWord) words.push_back(current);
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(current);
    return words;
}

std::string escaped(const wxString& text)
{
    std::string out;
    for (char c : wxToUtf8(text)) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

int idOf(const std::string& word)
{
    if (word == "ok") return wxID_OK;
    if (word == "cancel") return wxID_CANCEL;
    if (word == "yes") return wxID_YES;
    if (word == "no") return wxID_NO;
    return std::atoi(word.c_str());
}

// The first item below `from` (itself included) with that text, depth first.
wxTreeItemId findTreeItem(const wxTreeCtrl& tree, const wxTreeItemId& from, const wxString& text)
{
    if (!from.IsOk() || tree.GetItemText(from) == text) return from;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree.GetFirstChild(from, cookie); c.IsOk(); c = tree.GetNextChild(from, cookie))
        if (const wxTreeItemId found = findTreeItem(tree, c, text); found.IsOk()) return found;
    return wxTreeItemId();
}

// The item of a path of texts ("Variation1/CV2/BASS"; the root is left
// out unless the path names it): each part the first child of that text.
wxTreeItemId findTreePath(const wxTreeCtrl& tree, const std::string& path)
{
    wxTreeItemId item = tree.GetRootItem();
    if (!item.IsOk()) return item;
    std::stringstream in(path);
    bool first = true;
    for (std::string part; std::getline(in, part, '/'); first = false) {
        if (first && tree.GetItemText(item) == wxFromUtf8(part)) continue;
        wxTreeItemIdValue cookie;
        wxTreeItemId found;
        for (wxTreeItemId c = tree.GetFirstChild(item, cookie); c.IsOk(); c = tree.GetNextChild(item, cookie))
            if (tree.GetItemText(c) == wxFromUtf8(part)) {
                found = c;
                break;
            }
        if (!found.IsOk()) return found;
        item = found;
    }
    return item;
}

std::vector<CZibMdiChild*> childrenTitled(const std::string& part);
BlockDragSource* dragSourceOf(CZibMdiChild* child);
wxListCtrl* firstList(wxWindow* root);

// The n-th tree control of a window, depth first.
wxTreeCtrl* nthTree(wxWindow* root, int n)
{
    std::vector<wxWindow*> stack = {root};
    while (!stack.empty()) {
        wxWindow* w = stack.front();
        stack.erase(stack.begin());
        if (auto* tree = dynamic_cast<wxTreeCtrl*>(w))
            if (n-- == 0) return tree;
        for (wxWindow* c : w->GetChildren())
            stack.push_back(c);
    }
    return nullptr;
}

// A list box that holds several selections (its single selection cannot be asked for).
wxListBox* multipleSelection(wxWindow* control)
{
    auto* list = dynamic_cast<wxListBox*>(control);
    return list && list->HasMultipleSelection() ? list : nullptr;
}

int timeoutSeconds()
{
    const char* t = std::getenv("ZIB_TEST_TIMEOUT");
    int v = t ? std::atoi(t) : 0;
    return v > 0 ? v : 60;
}

// The longest an "await-..." waits for its state: only a hang takes that long
// (ZIB_TEST_AWAIT seconds, default 120).
int awaitCeilingSeconds()
{
    const char* t = std::getenv("ZIB_TEST_AWAIT");
    int v = t ? std::atoi(t) : 0;
    return v > 0 ? v : 120;
}

// Whether a file (a fake port's log) is there and holds a text.
bool FileHolds(const std::string& path, const std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string all((std::istreambuf_iterator<char>(in)), {});
    return all.find(text) != std::string::npos;
}

// The number of a signal by its name ("SIGTERM"); 0 for no signal of that name.
int signalNumber(const std::string& name)
{
    for (int s = 1; s < NSIG; ++s)
        if (const char* abbreviation = sigabbrev_np(s);
            abbreviation && name == "SIG" + std::string(abbreviation))
            return s;
    return 0;
}

// The words of a command as the script wrote them, for the log.
std::string joinedWords(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

// The actions of an answer as the script wrote them ("set 1902 0 ; ok").
std::string joinedAnswer(const std::vector<std::vector<std::string>>& actions)
{
    std::string text;
    for (const auto& action : actions)
        text += (text.empty() ? "" : " ; ") + joinedWords(action);
    return text;
}

bool IsAwait(const std::string& verb)
{
    static const std::set<std::string> awaits = {"await-idle",  "await-child", "await-child-gone", "await-rows",
                                                 "await-file",  "await-gone",  "await-stopped",    "await-position",
                                                 "await-field", "await-in-file"};
    return awaits.count(verb) != 0;
}

// A custom-drawn list as the MIDI views use one: row 1 blue text, row 3 a
// bold font, the cells of row 2 coloured, row 4 and cell 5,1 drawn by the
// hooks in place of the list's own drawing, a post-paint asked for row 0 only.
class SampleList : public CListCtrlCustomDraw {
public:
    SampleList(wxWindow* parent, CTestDriver& driver, long rows)
        : CListCtrlCustomDraw(parent, wxID_ANY), driver_(driver)
    {
        for (int c = 0; c < 3; ++c)
            AppendColumn(wxString::Format("Column %d", c), wxLIST_FORMAT_LEFT, 120);
        SetItemCount(rows);
    }

    std::set<long> painted; // the rows asked for since "list-painted" last cleared it

    bool WantsItemNotifications() override { return true; }
    uint32_t ItemTextColor(long item, uint32_t, intptr_t) override
    {
        painted.insert(item);
        return item == 1 ? 0xFF0000 : kClrDefault;
    }
    wxFont* ItemFont(long item, uint32_t, intptr_t) override { return item == 3 ? &bold_ : nullptr; }
    bool WantsCellNotifications(long item, uint32_t, intptr_t) override { return item == 2 || item == 5; }
    uint32_t CellBackColor(long item, int subItem, uint32_t, intptr_t) override
    {
        return item == 2 && subItem == 1 ? 0x00FF00 : kClrDefault;
    }
    bool DrawsItem(long item, uint32_t, intptr_t) override { return item == 4; }
    bool DrawItemCustom(ListDrawContext& context, long, uint32_t, intptr_t) override
    {
        context.dc->SetPen(*wxTRANSPARENT_PEN);
        context.dc->SetBrush(*wxYELLOW_BRUSH);
        context.dc->DrawRectangle(context.rect);
        return true;
    }
    bool DrawsCell(long item, int subItem, uint32_t, intptr_t) override { return item == 5 && subItem == 1; }
    bool DrawCell(ListDrawContext& context, long, int, uint32_t, intptr_t) override
    {
        context.dc->SetPen(*wxTRANSPARENT_PEN);
        context.dc->SetBrush(wxBrush(wxColour(255, 0, 255)));
        context.dc->DrawRectangle(context.rect);
        return true;
    }
    bool WantsItemPostPaint(long item, uint32_t, intptr_t) override { return item == 0; }
    bool DrawsAfterItem() override { return true; }
    bool DrawAfterItem(ListDrawContext& context, long item, uint32_t, intptr_t) override
    {
        // Rows 0 (asked for) and 3 (its font is put back); logged once each.
        if (postPainted_.insert(item).second)
            driver_.Log("list: post-paint row " + std::to_string(item) + " dc=" + std::to_string(context.dc != nullptr));
        return false;
    }

protected:
    wxString OnGetItemText(long item, long column) const override
    {
        return wxString::Format("row %ld cell %ld", item, column);
    }

private:
    CTestDriver& driver_;
    wxFont bold_ = wxFont(wxFontInfo(10).Bold());
    std::set<long> postPainted_;
};

// The colours on screen inside a cell of a list (two pixels in from its
// edges): the most frequent one, the most frequent other one ("ink") and the
// number of pixels not in the most frequent one.
std::string cellPixels(wxListCtrl* list, long item, int column)
{
    wxRect cell;
    list->GetSubItemRect(item, column, cell, wxLIST_RECT_BOUNDS);
    cell.Deflate(2);
    const wxImage image = ScreenArea(wxRect(list->ClientToScreen(cell.GetTopLeft()), cell.GetSize()));
    if (!image.IsOk()) return "unreadable";
    std::map<std::string, int> counts;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            ++counts[wxToUtf8(wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y))
                                  .GetAsString(wxC2S_HTML_SYNTAX))];
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& [colour, n] : counts)
        ranked.emplace_back(-n, colour);
    std::sort(ranked.begin(), ranked.end());
    const int inked = image.GetWidth() * image.GetHeight() + ranked[0].first;
    return "main=" + ranked[0].second + " ink=" + (ranked.size() > 1 ? ranked[1].second : std::string("none")) +
           " inked=" + std::to_string(inked);
}

// The steady clock in microseconds: the same clock in every process of the machine
long long steadyMicroseconds()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// "M:B:T" (blanks allowed) as numbers; {-1, -1, -1} for any other text
std::array<int, 3> positionOf(const std::string& text)
{
    std::array<int, 3> p{-1, -1, -1};
    int m = 0, b = 0, t = 0;
    if (std::sscanf(text.c_str(), " %d:%d:%d", &m, &b, &t) == 3) p = {m, b, t};
    return p;
}

} // namespace

CTestDriver::CTestDriver(const std::string& scriptPath)
    : finished_(std::make_shared<std::atomic<bool>>(false))
{
    if (const char* log = std::getenv("ZIB_TEST_LOG"); log && *log) log_ = std::fopen(log, "a");
    scriptPath_ = scriptPath;
    ReadScript();
    Log("start");
    Register();

    // The whole run has a deadline; past it the program ends at once.
    auto finished = finished_;
    const int seconds = timeoutSeconds();
    std::FILE* out = log_;
    std::thread([finished, seconds, out] {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            if (*finished) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (*finished) return;
        if (out) {
            std::fputs("TIMEOUT\n", out);
            std::fflush(out);
        }
        _exit(124);
    }).detach();
}

CTestDriver::~CTestDriver()
{
    // A program that never got to run (its start refused) ends here.
    LogLeftovers();
    *finished_ = true;
    Unregister();
    if (log_) std::fclose(log_);
}

void CTestDriver::Log(const std::string& line)
{
    if (!log_) return;
    std::fputs((line + "\n").c_str(), log_);
    std::fflush(log_);
}

void CTestDriver::Start()
{
    Log("libraries: ulvarf=" + std::to_string(wxGetApp().UlvaRfLoaded()) +
        " zibtbl=" + std::to_string(wxGetApp().ZibTblLoaded()));
    stepTimer_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) { Next(); });
    stepTimer_.StartOnce(200);
}

void CTestDriver::Finish()
{
    LogLeftovers();
    Log("exit");
    paintWatch_.Stop();
    *finished_ = true;
}

void CTestDriver::LogLeftovers()
{
    if (leftoversLogged_) return;
    leftoversLogged_ = true;
    if (!answers_.empty())
        Log("dialog-answers-unused: " + std::to_string(answers_.size()) + " (the first: dialog " +
            joinedAnswer(answers_.front()) + ")");
    // While following, the test writes the script as the program runs: what
    // the program ends before is the test's to see.
    if (!commands_.empty() && !follow_)
        Log("script-unrun: " + std::to_string(commands_.size()) +
            " commands (the first: " + joinedWords(commands_.front()) + ")");
}

void CTestDriver::StepFailed(const Words& command, const std::string& why)
{
    Log("step-failed: " + joinedWords(command) + " (" + why + ")");
}

void CTestDriver::ReadScript()
{
    std::ifstream script(scriptPath_, std::ios::binary);
    script.seekg(scriptTaken_);
    std::string line;
    while (std::getline(script, line)) {
        // While following, a line the test is still writing (no line end yet) waits for the next read.
        if (script.eof() && follow_) break;
        scriptTaken_ += std::streamoff(line.size() + 1);
        Words words = splitWords(line);
        if (words.empty() || words[0][0] == '#') continue;
        if (words[0] == "dialog") {
            std::vector<Words> actions(1);
            for (size_t i = 1; i < words.size(); ++i) {
                if (words[i] == ";")
                    actions.emplace_back();
                else
                    actions.back().push_back(words[i]);
            }
            answers_.push_back(std::move(actions));
        } else {
            commands_.push_back(std::move(words));
        }
    }
}

void CTestDriver::Next()
{
    if (commands_.empty() && follow_) ReadScript();
    if (commands_.empty() && follow_) {
        stepTimer_.StartOnce(50);
        return;
    }
    if (commands_.empty()) {
        Log("script-end");
        if (CMainFrame* frame = CMainFrame::Get()) frame->Close(true);
        return;
    }
    Words command = commands_.front();
    commands_.pop_front();
    // A wait lets the program run for a while: time passing is what the test
    // means (a song plays); the check after it awaits its state.
    if (command[0] == "wait") {
        stepTimer_.StartOnce(std::max(1, command.size() > 1 ? std::atoi(command[1].c_str()) : 0));
        return;
    }
    // Waiting for a state: looked at again every few milliseconds until it
    // holds; the ceiling only bounds a hang.
    if (IsAwait(command[0])) {
        const auto now = std::chrono::steady_clock::now();
        if (!awaitStarted_) {
            awaitStarted_ = true;
            awaitSince_ = now;
            settle_.Reset();
        }
        std::string shown;
        const AwaitState state = AwaitHolds(command, shown);
        const bool held = state == AwaitState::Held;
        if (state == AwaitState::Pending && now - awaitSince_ < std::chrono::seconds(awaitCeilingSeconds())) {
            commands_.push_front(command);
            stepTimer_.StartOnce(command[0] == "await-position" ? 2 : 10);
            return;
        }
        awaitStarted_ = false;
        if (!held) Log("await-failed: " + joinedWords(command) + (shown.empty() ? "" : " (" + shown + ")"));
        // The lines these waits have always ended with
        if (command[0] == "await-gone") Run({"log-exists", command[1]});
        if (command[0] == "await-position")
            Log(held ? "position " + command[1] + " at " + std::to_string(steadyMicroseconds())
                     : "position " + command[1] + " not reached: " + shown);
        if (follow_) Log("done " + std::to_string(++done_));
        stepTimer_.StartOnce(1);
        return;
    }
    // Waiting for the program to settle after a mark: polled every 5 ms; a
    // poll that comes late shows the program was busy until then. Done once
    // it neither painted nor was busy for 150 ms.
    if (command[0] == "await-painted" && command.size() > 2) {
        using namespace std::chrono;
        const auto now = steady_clock::now();
        if (!awaiting_) {
            awaiting_ = true;
            lastPoll_ = busyEnd_ = commandEnd_;
        }
        if (now - lastPoll_ > milliseconds(15)) busyEnd_ = now;
        lastPoll_ = now;
        const auto settled = std::max(paintWatch_.PaintEnd(), busyEnd_);
        const bool quiet = paintWatch_.Painted() && now - settled >= milliseconds(150);
        const int left = std::atoi(command[2].c_str());
        if (!quiet && left > 0) {
            command[2] = std::to_string(left - 5);
            commands_.push_front(command);
            stepTimer_.StartOnce(5);
            return;
        }
        awaiting_ = false;
        paintWatch_.Stop();
        const auto mark = marks_.count(command[1]) ? marks_[command[1]] : now;
        const auto ms = duration<double, std::milli>(settled - mark).count();
        Log("painted " + command[1] + (quiet ? " " + std::to_string(std::lround(ms)) + " ms" : std::string(" none")));
        stepTimer_.StartOnce(50);
        return;
    }
    Run(command);
    commandEnd_ = std::chrono::steady_clock::now();
    if (follow_ && command[0] != "follow") Log("done " + std::to_string(++done_));
    // A mark only notes the time: what it times starts at once, and the
    // waiting for the program to settle starts as soon as the command returned.
    const bool timing = command[0] == "mark" || (!commands_.empty() && commands_.front()[0] == "await-painted");
    stepTimer_.StartOnce(timing ? 1 : 50);
}

CTestDriver::AwaitState CTestDriver::AwaitHolds(const Words& c, std::string& shown)
{
    const auto state = [](bool held) { return held ? AwaitState::Held : AwaitState::Pending; };
    CMainFrame* frame = CMainFrame::Get();
    const std::string& verb = c[0];
    const std::string what = c.size() > 1 ? c[1] : std::string();
    if (verb == "await-idle") return state(settle_.Look());
    if (verb == "await-child" || verb == "await-child-gone") {
        const auto found = childrenTitled(what);
        if (verb == "await-child-gone") return state(found.empty());
        CZibMdiChild* active = frame ? frame->ActiveZibChild() : nullptr;
        shown = active ? "active: " + escaped(active->GetTitle()) : "no active child";
        return state(active && active->IsShownOnScreen() &&
                     wxToUtf8(active->GetTitle()).find(what) != std::string::npos);
    }
    if (verb == "await-rows") {
        CZibMdiChild* child = frame ? frame->ActiveZibChild() : nullptr;
        wxListCtrl* list = child ? firstList(child) : nullptr;
        shown = list ? "rows=" + std::to_string(list->GetItemCount()) : "no list";
        return state(list && list->GetItemCount() == std::atol(what.c_str()));
    }
    if (verb == "await-file") return state(wxFileExists(wxFromUtf8(what)));
    if (verb == "await-in-file") return state(FileHolds(what, c.size() > 2 ? c[2] : std::string()));
    if (verb == "await-gone") return state(!wxFileExists(wxFromUtf8(what)));
    if (verb == "await-stopped") {
        shown = "playing=" + std::to_string(wxGetApp().m_Playing.load());
        return state(wxGetApp().m_Playing == 0);
    }
    if (verb == "await-field") {
        // await-field ID TEXT: a field of the main frame's bars reads TEXT
        auto* field = frame ? dynamic_cast<wxTextCtrl*>(frame->FindWindow(std::atoi(what.c_str()))) : nullptr;
        shown = field ? escaped(field->GetValue()) : std::string("missing");
        return state(field && wxToUtf8(field->GetValue()) == (c.size() > 2 ? c[2] : std::string()));
    }
    if (verb == "await-position") {
        // The song position of the bar view's own window when it is the active child, else of the main frame
        auto* host = frame ? dynamic_cast<CBarViewHostFrame*>(frame->GetActiveChild()) : nullptr;
        wxTextCtrl* field =
            host ? host->PositionText() : frame ? dynamic_cast<wxTextCtrl*>(frame->FindWindow(1766)) : nullptr;
        const auto target = positionOf(what);
        if (target[0] < 0) {
            shown = "not a position: " + what;
            return AwaitState::Impossible;
        }
        shown = field ? wxToUtf8(field->GetValue()) : std::string();
        return state(positionOf(shown) >= target);
    }
    shown = "no such wait";
    return AwaitState::Impossible;
}

void CTestDriver::Run(const Words& c)
{
    CMainFrame* frame = CMainFrame::Get();
    const std::string& verb = c[0];
    auto arg = [&c](size_t i) { return i < c.size() ? c[i] : std::string(); };
    if (verb == "menu" && frame) {
        const int id = cmd::ToWxId(std::atoi(arg(1).c_str()));
        wxUpdateUIEvent update(id);
        update.SetEventObject(frame);
        frame->ProcessWindowEvent(update);
        if (update.GetSetEnabled() && !update.GetEnabled()) {
            Log("menu " + arg(1) + " disabled");
            return;
        }
        Log("menu " + arg(1));
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(frame);
        frame->ProcessWindowEvent(command);
    } else if (verb == "log-frame" && frame) {
        // What the frame shows once it has caught up with its idle-time updates.
        wxTheApp->ProcessIdle();
        LogFrame();
    } else if (verb == "log-menubar" && frame) {
        wxTheApp->ProcessIdle();
        LogMenuBar();
    } else if (verb == "text-viewer" && frame) {
        CTextViewer* viewer =
            frame->OpenTextViewer("Log", nullptr, nullptr, uint32_t(std::atoi(arg(2).c_str())));
        bool loaded = viewer && viewer->LoadFile(arg(1));
        Log("viewer: loaded=" + std::to_string(loaded) +
            " title=" + (viewer ? escaped(viewer->GetTitle()) : "") +
            " text=" + (viewer ? escaped(viewer->TextCtrl()->GetValue()) : ""));
    } else if (verb == "folder-dialog") {
        CFolderDialog dlg(arg(1), std::string(), frame);
        int result = dlg.ShowModal();
        Log("folder-dialog: result=" + std::string(result == wxID_OK ? "ok" : "cancel") +
            " folder=" + dlg.Folder());
    } else if (verb == "position-value" && frame) {
        // The in-place value editor over a cell: the text typed, then Enter;
        // what the owner is told.
        bool posted = false;
        auto told = [this, &posted](wxCommandEvent& e) {
            posted = true;
            Log("position-value: posted value=" + std::to_string(e.GetInt()) +
                " row=" + std::to_string(e.GetExtraLong() & 0xFFFF) + " column=" + std::to_string(e.GetExtraLong() >> 16));
        };
        frame->Bind(EVT_ZIB_POSITION_VALUE, told);
        CPositionDlg* dlg = CPositionDlg::Open(frame, std::atoi(arg(1).c_str()), 0, 127,
                                               wxRect(frame->ClientToScreen(wxPoint(100, 100)), wxSize(60, 20)), 3, 1);
        auto* edit = dynamic_cast<wxTextCtrl*>(dlg->FindWindow(1766));
        auto* spin = dynamic_cast<wxSpinButton*>(dlg->FindWindow(1419));
        edit->ChangeValue(wxFromUtf8(arg(2)));
        wxCommandEvent typed(wxEVT_TEXT, 1766);
        typed.SetEventObject(edit);
        edit->ProcessWindowEvent(typed);
        Log("position-value: edit=" + escaped(edit->GetValue()) + " spin=" + std::to_string(spin->GetValue()));
        wxKeyEvent enter(wxEVT_CHAR_HOOK);
        enter.m_keyCode = WXK_RETURN;
        enter.SetEventObject(edit);
        edit->ProcessWindowEvent(enter);
        wxTheApp->ProcessPendingEvents();
        frame->Unbind(EVT_ZIB_POSITION_VALUE, told);
        if (!posted) Log("position-value: nothing posted");
    } else if (verb == "stand-in-player" && frame) {
        // A built-in player window as the player subsystem makes one: it sets
        // the open byte while it exists and clears it when it closes.
        wxGetApp().Subsystems().CreatePlayMidiFile = [this](ZibMdiParentFrame& parent, const wxString& path,
                                                            uint8_t* playerOpen) -> wxWindow* {
            auto* player = new CZibMdiChild(&parent, wxID_ANY, path);
            *playerOpen = 1;
            player->Bind(wxEVT_CLOSE_WINDOW, [playerOpen, player](wxCloseEvent&) {
                *playerOpen = 0;
                player->Destroy();
            });
            player_ = player;
            return player;
        };
    } else if (verb == "close-player" && player_) {
        // The player closes itself, as when its file has ended.
        player_->Close();
        player_ = nullptr;
        wxTheApp->ProcessIdle(); // the window goes
        Log("player closed");
    } else if (verb == "play-external" && frame) {
        frame->PlayMidiFileExternally(arg(1));
        Log("played " + arg(1));
    } else if (verb == "check-button" && frame) {
        const int id = std::atoi(arg(1).c_str());
        frame->CheckToolbarButton(id, std::atoi(arg(2).c_str()));
        Log("button " + arg(1) + " checked=" + std::to_string(frame->IsToolbarButtonChecked(id)));
    } else if (verb == "button-state" && frame) {
        Log("button " + arg(1) +
            " checked=" + std::to_string(frame->IsToolbarButtonChecked(std::atoi(arg(1).c_str()))));
    } else if (verb == "custom-list" && frame) {
        auto* child = new CZibMdiChild(frame, wxID_ANY, "List");
        auto* list = new SampleList(child, *this, arg(1).empty() ? 6 : std::atol(arg(1).c_str()));
        child->SetSizer(new wxBoxSizer(wxVERTICAL));
        child->GetSizer()->Add(list, 1, wxEXPAND);
        child->Show();
        child->Activate();
        list_ = list;
    } else if (verb == "list-scroll" && list_) {
        // Scrolled in code, as a view that follows another scrolls it
        list_->Scroll(-1, std::atoi(arg(1).c_str()));
        Log("list-scroll " + arg(1));
    } else if (verb == "list-painted" && list_) {
        // The rows the sample list paints when it paints whole now
        auto* sample = static_cast<SampleList*>(list_);
        sample->painted.clear();
        sample->Refresh();
        sample->Update();
        Log(sample->painted.empty() ? std::string("list-painted: none")
                                    : "list-painted: first=" + std::to_string(*sample->painted.begin()) +
                                          " last=" + std::to_string(*sample->painted.rbegin()));
    } else if (verb == "list-pixels" && list_) {
        // What the sample list shows in a cell, once it has painted.
        wxTheApp->ProcessIdle();
        list_->Update();
        const long item = std::atol(arg(1).c_str());
        const int column = std::atoi(arg(2).c_str());
        Log("pixels " + arg(1) + "," + arg(2) + ": " + cellPixels(list_, item, column));
    } else if (verb == "log-list" && frame) {
        LogActiveList(std::atoi(arg(1).c_str()));
    } else if (verb == "run-dialog") {
        RunDialog(arg(1));
    } else if (verb == "clock") {
        Log("clock " + arg(1) + " " + std::to_string(steadyMicroseconds()));
    } else if (verb == "mark") {
        marks_[arg(1)] = std::chrono::steady_clock::now();
        paintWatch_.Start();
    } else if (verb == "elapsed" && frame) {
        // What the user waits for: the posted work done and the windows painted.
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        frame->Update();
        for (wxWindow* w : frame->GetChildren()) w->Update();
        const auto since = marks_.count(arg(1)) ? marks_[arg(1)] : std::chrono::steady_clock::now();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since);
        Log("elapsed " + arg(1) + " " + std::to_string(ms.count()) + " ms");
    } else if (verb == "set-playing") {
        wxGetApp().m_Playing = std::atoi(arg(1).c_str());
    } else if (verb == "close" && frame) {
        bool closed = frame->Close();
        Log(std::string("close: ") + (closed ? "closing" : "refused"));
    } else if (verb == "quit" && frame) {
        wxGetApp().m_Playing = 0;
        frame->Close(true);
    } else if (verb == "abort") {
        // How a failed assert or std::terminate ends the program
        std::abort();
    } else if (verb == "raise" && signalNumber(arg(1)) != 0) {
        std::raise(signalNumber(arg(1)));
    } else if (verb == "log-exists") {
        Log("exists " + arg(1) + " " + std::to_string(wxFileExists(wxFromUtf8(arg(1)))));
    } else if (verb == "screenshot") {
        Screenshot(arg(1));
    } else if (verb == "menu-state" && frame) {
        const int id = cmd::ToWxId(std::atoi(arg(1).c_str()));
        wxMenuBar* bar = frame->GetMenuBar();
        if (bar) bar->UpdateMenus();
        wxMenuItem* item = bar ? bar->FindItem(id) : nullptr;
        Log("menu-state " + arg(1) + (item ? " enabled=" + std::to_string(item->IsEnabled()) +
                                                 " checked=" + std::to_string(item->IsCheckable() && item->IsChecked())
                                           : std::string(" missing")));
    } else if ((verb == "field" || verb == "type-field") && frame) {
        auto* text = dynamic_cast<wxTextCtrl*>(frame->FindWindow(std::atoi(arg(1).c_str())));
        if (!text && verb == "type-field")
            return StepFailed(c, "no field " + arg(1) + " in the main frame's bars");
        if (text && verb == "type-field") {
            text->SetFocus();
            wxTheApp->ProcessPendingEvents();
            text->SetValue(wxFromUtf8(arg(2)));
            if (arg(3) == "enter" || arg(3) == "escape") {
                wxKeyEvent key(wxEVT_CHAR_HOOK);
                key.m_keyCode = arg(3) == "enter" ? WXK_RETURN : WXK_ESCAPE;
                key.SetEventObject(text);
                text->ProcessWindowEvent(key);
            }
        }
        Log("field " + arg(1) + (text ? " text=" + escaped(text->GetValue()) : std::string(" missing")));
    } else if (verb == "activate-child" && frame) {
        ActivateChild(arg(1));
    } else if (verb == "select-rows" && frame) {
        SelectRows(arg(1), arg(2).empty() ? -1 : std::atoi(arg(2).c_str()));
    } else if (verb == "drop-files" && frame) {
        // Files dropped on the main window.
        wxArrayString files;
        for (size_t i = 1; i < c.size(); ++i)
            files.Add(wxFromUtf8(c[i]));
        auto* target = dynamic_cast<wxFileDropTarget*>(frame->GetDropTarget());
        Log("drop-files: " + std::string(target && target->OnDropFiles(0, 0, files) ? "taken" : "refused"));
    } else if (verb == "log-tree" && frame) {
        // log-tree [N]: the N-th tree of the active child (items, images, selection).
        CZibMdiChild* child = frame->ActiveZibChild();
        wxTreeCtrl* tree = child ? nthTree(child, std::atoi(arg(1).c_str())) : nullptr;
        if (!tree) {
            Log("tree: none");
        } else {
            std::string images;
            std::vector<wxTreeItemId> stack;
            if (tree->GetRootItem().IsOk()) stack.push_back(tree->GetRootItem());
            while (!stack.empty()) {
                const wxTreeItemId item = stack.back();
                stack.pop_back();
                images += std::to_string(tree->GetItemImage(item));
                std::vector<wxTreeItemId> children;
                wxTreeItemIdValue cookie;
                for (wxTreeItemId k = tree->GetFirstChild(item, cookie); k.IsOk(); k = tree->GetNextChild(item, cookie))
                    children.push_back(k);
                for (auto k = children.rbegin(); k != children.rend(); ++k)
                    stack.push_back(*k);
            }
            LogControl(tree);
            Log("tree-images: " + images);
            // A picture wider than the list's images is cut into several of them.
            if (wxImageList* list = tree->GetImageList())
                Log("tree-image-count: " + std::to_string(list->GetImageCount()));
        }
    } else if ((verb == "select-node" || verb == "tree-command" || verb == "tree-key" ||
                verb == "tree-activate" || verb == "tree-expanded") &&
               frame) {
        // select-node PATH [N] | tree-command ID [N] | tree-key delete [N] |
        // tree-activate [N] | tree-expanded PATH [N], on the N-th tree of the active child.
        const bool withArg = verb != "tree-activate";
        const std::string n = arg(withArg ? 2 : 1).empty() ? "0" : arg(withArg ? 2 : 1);
        CZibMdiChild* child = frame->ActiveZibChild();
        wxTreeCtrl* tree = child ? nthTree(child, std::atoi(n.c_str())) : nullptr;
        const std::string where =
            "tree " + n + " of " + (child ? escaped(child->GetTitle()) : "no active window");
        if (!tree) {
            if (verb == "tree-expanded")
                Log(verb + ": no tree");
            else
                StepFailed(c, "no " + where);
        } else if (verb == "select-node" || verb == "tree-expanded") {
            const wxTreeItemId item = findTreePath(*tree, arg(1));
            if (!item.IsOk()) {
                if (verb == "tree-expanded")
                    Log(verb + ": no node " + arg(1));
                else
                    StepFailed(c, "no node " + arg(1) + " in " + where);
            } else if (verb == "select-node") {
                tree->SelectItem(item);
                Log("select-node: " + escaped(tree->GetItemText(item)));
            } else {
                Log("expanded " + arg(1) + " " + std::to_string(tree->IsExpanded(item)));
            }
        } else if (verb == "tree-command") {
            wxCommandEvent command(wxEVT_MENU, cmd::ToWxId(std::atoi(arg(1).c_str())));
            command.SetEventObject(tree);
            if (!tree->ProcessWindowEvent(command)) return StepFailed(c, "no handler took it in " + where);
            Log("tree-command " + arg(1));
        } else if (verb == "tree-key") {
            wxKeyEvent key(wxEVT_KEY_DOWN);
            key.m_keyCode = arg(1) == "delete" ? WXK_DELETE : std::toupper(static_cast<unsigned char>(arg(1)[0]));
            wxTreeEvent event(wxEVT_TREE_KEY_DOWN, tree, wxTreeItemId());
            event.SetKeyEvent(key);
            tree->ProcessWindowEvent(event);
            Log("tree-key " + arg(1));
        } else if (!tree->GetSelection().IsOk()) {
            StepFailed(c, "nothing is selected in " + where);
        } else {
            wxTreeEvent event(wxEVT_TREE_ITEM_ACTIVATED, tree, tree->GetSelection());
            tree->ProcessWindowEvent(event);
            Log("tree-activate");
        }
    } else if (verb == "log-text" && frame) {
        // log-text [N]: the N-th text control of the active child: length, first line, selection.
        CZibMdiChild* child = frame->ActiveZibChild();
        wxTextCtrl* text = nullptr;
        int n = std::atoi(arg(1).c_str());
        std::vector<wxWindow*> stack;
        if (child) stack.push_back(child);
        while (!stack.empty() && !text) {
            wxWindow* w = stack.front();
            stack.erase(stack.begin());
            if (auto* t = dynamic_cast<wxTextCtrl*>(w))
                if (n-- == 0) text = t;
            for (wxWindow* c : w->GetChildren())
                stack.push_back(c);
        }
        if (!text) {
            Log("text: none");
        } else {
            const wxString value = text->GetValue();
            Log("text: length=" + std::to_string(value.length()) + " first=" + escaped(value.BeforeFirst('\n')) +
                " selected=" + escaped(text->GetStringSelection()));
        }
    } else if (verb == "edit-label" && frame) {
        // edit-label TEXT: the open label editor of the active child's list takes TEXT and closes.
        CZibMdiChild* child = frame->ActiveZibChild();
        wxListCtrl* list = child ? firstList(child) : nullptr;
        wxTextCtrl* editor = list ? list->GetEditControl() : nullptr;
        if (!editor) {
            StepFailed(c, "no label editor is open in the active window's list");
        } else {
            editor->SetValue(wxFromUtf8(arg(1)));
            list->EndEditLabel(false);
            Log("edit-label: " + arg(1));
        }
    } else if (verb == "drop-block" && frame) {
        // drop-block <target title> <row> <file>: a block of the private format dropped on a row.
        const auto targets = childrenTitled(arg(1));
        BlockDragSource* target = targets.empty() ? nullptr : dragSourceOf(targets.front());
        std::vector<uint8_t> bytes;
        if (!target) {
            StepFailed(c, "no window titled " + arg(1) + " takes blocks");
        } else if (readWholeFile(arg(3), bytes) != FileIoError::None) {
            StepFailed(c, "cannot read " + arg(3));
        } else {
            targets.front()->Activate();
            Log(std::string("drop-block: ") + (target->TakeBlockDrop(bytes, std::atoi(arg(2).c_str()), false)
                                                    ? "dropped"
                                                    : "refused"));
        }
    } else if (verb == "clipboard-write" || verb == "clipboard-read") {
        // clipboard-write FILE: the file's bytes as a block of the private format;
        // clipboard-read FILE: the block on the clipboard into the file.
        bool done = false;
        if (ZibClipboardFormatRegistered() && wxTheClipboard->Open()) {
            if (verb == "clipboard-write") {
                std::vector<uint8_t> bytes;
                if (readWholeFile(arg(1), bytes) == FileIoError::None) {
                    auto* data = new wxCustomDataObject(ZibClipboardFormat());
                    data->SetData(bytes.size(), bytes.data());
                    done = wxTheClipboard->SetData(data);
                }
            } else if (wxTheClipboard->IsSupported(ZibClipboardFormat())) {
                wxCustomDataObject data(ZibClipboardFormat());
                if (wxTheClipboard->GetData(data)) {
                    const auto* p = static_cast<const uint8_t*>(data.GetData());
                    done = writeFileAtomically(arg(1), std::span<const uint8_t>(p, data.GetSize())) ==
                           FileIoError::None;
                }
            }
            wxTheClipboard->Close();
        }
        Log(verb + ": " + (done ? "done" : "failed"));
    } else if (verb == "drag" && frame) {
        // drag <source title> <rows> <target title> <row> <move|copy>
        DragBlock(arg(1), arg(2), arg(3), std::atoi(arg(4).c_str()), arg(5) == "move");
    } else if (verb == "clipboard-bytes") {
        // Bytes (hex) under the private format, as another program could put them there.
        std::vector<uint8_t> bytes;
        const std::string hex = arg(1);
        for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
        wxClipboardLocker lock;
        auto* data = new wxCustomDataObject(ZibClipboardFormat());
        data->SetData(bytes.size(), bytes.data());
        Log("clipboard-bytes " + std::to_string(bytes.size()) + " " + std::to_string(!!lock && wxTheClipboard->SetData(data)));
    } else if (verb == "close-active" && frame) {
        // Closes the active child window (its own close rules apply).
        wxTheApp->ProcessIdle();
        wxWindow* child = frame->GetActiveChild();
        const bool closed = child && child->Close();
        wxTheApp->ProcessPendingEvents();
        Log(std::string("close-active: ") + (closed ? "closed" : "refused"));
    } else if ((verb == "list-select" || verb == "list-activate" || verb == "list-key") && frame) {
        // The active child's first list: one row selected and focused (and
        // only that row), a double click on a row, or a key (delete).
        wxTheApp->ProcessIdle();
        CZibMdiChild* child = frame->ActiveZibChild();
        wxListCtrl* list = child ? firstList(child) : nullptr;
        const long row = std::atol(arg(1).c_str());
        if (!list) return StepFailed(c, "no list in the active window");
        if (verb == "list-key" && arg(1) != "delete") return StepFailed(c, "list-key knows the key delete");
        if (verb != "list-key" && (row < 0 || row >= list->GetItemCount()))
            return StepFailed(c, "no row " + arg(1) + " in a list of " +
                                     std::to_string(list->GetItemCount()) + " rows");
        if (list && verb == "list-select") {
            for (long i = 0; i < list->GetItemCount(); ++i) list->SetItemState(i, 0, wxLIST_STATE_SELECTED);
            list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                               wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        } else if (list && verb == "list-activate") {
            wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, list->GetId());
            activated.SetEventObject(list);
            activated.m_itemIndex = row;
            list->GetEventHandler()->ProcessEvent(activated);
        } else if (list && verb == "list-key" && arg(1) == "delete") {
            wxListEvent key(wxEVT_LIST_KEY_DOWN, list->GetId());
            key.SetEventObject(list);
            key.m_code = WXK_DELETE;
            key.m_itemIndex = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_FOCUSED);
            list->GetEventHandler()->ProcessEvent(key);
        }
        wxTheApp->ProcessPendingEvents();
        Log(verb + " " + arg(1) + (list ? "" : " none"));
    } else if (verb == "follow" && frame) {
        follow_ = true;
        done_ = 0;
        // The test presses a menu's letter only once the menu is open.
        frame->Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& e) {
            e.Skip();
            wxMenu* menu = e.GetMenu();
            Log("menu-open: " + escaped(menu ? menu->GetTitle() : wxString()));
            // A context menu also lists its items, each with whether it is enabled.
            if (!menu || !e.IsPopup()) return;
            std::string items;
            for (const wxMenuItem* item : menu->GetMenuItems())
                if (!item->IsSeparator())
                    items += (items.empty() ? "" : "|") + escaped(item->GetItemLabelText()) + "=" +
                             (item->IsEnabled() ? "1" : "0");
            Log("popup-items: " + items);
        });
        Log("follow");
    } else if (verb == "where" && frame) {
        LogWhere(c);
    } else if (verb == "log-tabs" && frame) {
        LogTabs();
    } else if (verb == "menubar-shown" && frame) {
        // A menu bar set a moment ago takes its accelerators only once it is on the screen.
        wxMenuBar* bar = frame->GetMenuBar();
        Log(std::string("menubar-shown: ") + (bar && bar->IsShownOnScreen() ? "1" : "0"));
    } else if ((verb == "log-grid" || verb == "grid-edit" || verb == "grid-select" || verb == "grid-key" ||
                verb == "grid-count" || verb == "cell-editor") &&
               frame) {
        RunGridCommand(c);
    } else if (!RunAreaCommand(c)) {
        Log("unknown command " + verb);
    }
}

int CTestDriver::Enter(wxDialog* dialog)
{
    std::string title = escaped(dialog->GetTitle());
    std::vector<Words> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    const std::string first = !answer.empty() && !answer[0].empty() ? answer[0][0] : std::string();
    // While following, a dialog without an answer is the user's: it shows, and real input ends it.
    const bool userAnswers = follow_ && answer.empty();
    // The box's text too: the title of a question is often the program's name.
    auto* box = dynamic_cast<wxMessageDialogBase*>(dialog);
    const std::string what = title + (box ? ": " + escaped(box->GetMessage()) : std::string());
    const auto unanswered = [this, &what](const char* kind) {
        Log("dialog-unanswered: " + std::string(kind) + " " + what +
            " (cancelled; the script has no answer left)");
        return wxID_CANCEL;
    };
    const auto unfit = [this, &what, &answer](const std::string& why) {
        Log("dialog-answer-unfit: " + joinedAnswer(answer) + " for " + what + " (" + why + "; cancelled)");
        return wxID_CANCEL;
    };

    if (box) {
        Log("message: title=" + title + " text=" + escaped(box->GetMessage()));
        if (userAnswers) return wxID_NONE;
        if (answer.empty()) return unanswered("message box");
        if (const std::string why = UnfitAnswer(dialog, answer); !why.empty()) return unfit(why);
        return idOf(first);
    }
    if (auto* file = dynamic_cast<wxFileDialog*>(dialog)) {
        Log("file-dialog: title=" + escaped(file->GetMessage()) + " dir=" + escaped(file->GetDirectory()) +
            " filter=" + std::to_string(file->GetFilterIndex()) +
            " wildcard=" + escaped(file->GetWildcard()));
        if (userAnswers) return wxID_NONE;
        if (answer.empty()) return unanswered("file dialog");
        if (const std::string why = UnfitAnswer(dialog, answer); !why.empty()) return unfit(why);
        // The chooser starts reading its folder as it is made; answered
        // unshown, it would go before that work is done, and GTK's late
        // callbacks would then find its views gone. Let the work end first.
        SettleWatch settled;
        const auto ceiling = std::chrono::steady_clock::now() + std::chrono::seconds(awaitCeilingSeconds());
        bool calm = false;
        while (!(calm = settled.Look()) && std::chrono::steady_clock::now() < ceiling) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        if (!calm)
            Log("await-failed: settle before answering the file dialog " + escaped(file->GetMessage()));
        if (first == "cancel") return wxID_CANCEL;
        int filter = -1;
        const Words& a = answer[0];
        if (a.size() >= 4 && a[2] == "filter") filter = std::atoi(a[3].c_str());
        if (auto* zib = dynamic_cast<CZibFileDialog*>(file)) zib->SetAnswer(wxFromUtf8(a[1]), filter);
        // "; mark NAME": the time the user confirms the file
        for (size_t i = 1; i < answer.size(); ++i)
            Run(answer[i]);
        return wxID_OK;
    }
    Log("dialog: title=" + title);
    if (userAnswers) return wxID_NONE;
    if (answer.empty()) return unanswered("dialog");
    open_.push_back(dialog);
    dialog->CallAfter([this, dialog, answer] {
        Act(dialog, answer);
        AwaitUnended(dialog);
    });
    return wxID_NONE;
}

std::string CTestDriver::UnfitAnswer(wxDialog* dialog, const std::vector<Words>& answer) const
{
    const Words& a = answer[0];
    const std::string first = a.empty() ? std::string() : a[0];
    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        // The buttons of the box: Yes and No, or OK; Cancel when asked for.
        const long style = box->GetMessageDialogStyle();
        const bool yesNo = (style & wxYES_NO) != 0;
        const bool ok = (style & wxOK) != 0 || !yesNo, cancel = (style & wxCANCEL) != 0;
        std::string buttons =
            std::string(yesNo ? "yes no " : "") + (ok ? "ok " : "") + (cancel ? "cancel " : "");
        buttons.pop_back();
        const bool offered = (first == "ok" && ok) || (first == "cancel" && cancel) ||
                             ((first == "yes" || first == "no") && yesNo);
        if (!offered || a.size() != 1 || answer.size() != 1)
            return "its answer is one of its buttons: " + buttons;
        return {};
    }
    // A file dialog: a path, with its filter and marks of the time, or cancel.
    const bool path = first == "path" && (a.size() == 2 || (a.size() == 4 && a[2] == "filter"));
    if (!path && !(first == "cancel" && a.size() == 1))
        return "a file dialog takes \"path P [filter N]\" or \"cancel\"";
    for (size_t i = 1; i < answer.size(); ++i)
        if (answer[i].size() != 2 || answer[i][0] != "mark" || first != "path")
            return "only \"mark NAME\" may follow the path of a file dialog";
    return {};
}

void CTestDriver::AwaitUnended(wxDialog* dialog)
{
    // A dialog still open once its answer has run and the program has
    // settled is one that no step of the script ends: it goes, and the log
    // says so. A step that ends it later (a posted close) is waited for.
    auto watch = std::make_shared<SettleWatch>();
    auto timer = std::make_shared<wxTimer>();
    timer->Bind(wxEVT_TIMER, [this, dialog, watch, timer](wxTimerEvent&) {
        const bool open = std::find(open_.begin(), open_.end(), dialog) != open_.end() && dialog->IsModal();
        if (open && !watch->Look()) {
            timer->StartOnce(10);
            return;
        }
        if (open) {
            Log("dialog-unended: title=" + escaped(dialog->GetTitle()));
            dialog->EndModal(wxID_CANCEL);
        }
        // The timer goes once its handler has returned.
        wxTheApp->CallAfter([timer] { timer->Stop(); });
    });
    timer->StartOnce(10);
}

void CTestDriver::Exit(wxDialog* dialog)
{
    auto it = std::find(open_.begin(), open_.end(), dialog);
    if (it != open_.end()) open_.erase(it);
    Log("dialog-end: title=" + escaped(dialog->GetTitle()) +
        " result=" + std::to_string(dialog->GetReturnCode()));
}

void CTestDriver::Act(wxDialog* dialog, std::vector<Words> actions)
{
    // Controls are looked up in the dialog, or in the page chosen with "page".
    wxWindow* scope = dialog;
    for (const Words& a : actions) {
        if (a.empty()) continue;
        if (!dialog->IsModal()) {
            // An earlier action ended the dialog: this one was meant for it
            // while open and can no longer run.
            Log("dialog-action-skipped: " + joinedWords(a) + " (" + escaped(dialog->GetTitle()) +
                " has ended)");
            continue;
        }
        std::string why;
        if (!ActOn(dialog, scope, a, why))
            Log("dialog-action-failed: " + joinedWords(a) + " (" + why + " in " +
                escaped(dialog->GetTitle()) + ")");
    }
}

namespace {

// The kind of a control, for a message: its class name.
std::string kindOf(const wxWindow* control)
{
    return wxToUtf8(control->GetClassInfo()->GetClassName());
}

// Whether a text is a whole number (an optional sign, then digits).
bool isNumber(const std::string& text)
{
    size_t i = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

// The actions that act on a control and need it there, and enabled, as a hand would.
bool actsOnControl(const std::string& verb)
{
    static const std::set<std::string> verbs = {"set",   "type",    "select",     "check",    "activate",
                                                "click", "enter",   "mouse-down", "mouse-up", "mouse-right",
                                                "key",   "keydown", "keyup"};
    return verbs.count(verb) != 0;
}

} // namespace

bool CTestDriver::ActOn(wxDialog* dialog, wxWindow*& scope, const Words& a, std::string& why)
{
    const std::string& verb = a[0];
    const int id = a.size() > 1 ? idOf(a[1]) : 0;
    const std::string value = a.size() > 2 ? a[2] : std::string();
    if (verb == "page") {
        auto* sheet = dynamic_cast<wxPropertySheetDialog*>(dialog);
        const size_t n = size_t(std::atoi(a.size() > 1 ? a[1].c_str() : "0"));
        if (!sheet || n >= sheet->GetBookCtrl()->GetPageCount()) {
            why = sheet ? "no page " + std::to_string(n) : "not a property sheet";
            return false;
        }
        sheet->GetBookCtrl()->SetSelection(n);
        scope = sheet->GetBookCtrl()->GetPage(n);
        Log("page " + std::to_string(n) + ": " + escaped(sheet->GetBookCtrl()->GetPageText(n)));
        return true;
    }
    if (verb == "log-help") {
        Log(std::string("context-help: ") +
            ((dialog->GetExtraStyle() & wxDIALOG_EX_CONTEXTHELP) ? "1" : "0"));
        return true;
    }
    // A control of the page, else of the dialog (a property sheet's own buttons).
    wxWindow* control = id ? scope->FindWindow(id) : nullptr;
    if (!control && id) control = dialog->FindWindow(id);
    if (actsOnControl(verb)) {
        if (!control) {
            why = a.size() > 1 ? "no control " + a[1] : "no control named";
            return false;
        }
        if (!control->IsEnabled()) {
            why = "control " + a[1] + " is disabled";
            return false;
        }
    }
    if (verb == "set" || verb == "type") {
        if (auto* text = dynamic_cast<wxTextCtrl*>(control)) {
            if (!text->IsEditable()) {
                why = "text " + a[1] + " is read-only";
                return false;
            }
            if (verb == "type") {
                // Typing at the end: the text arrives with the caret after it.
                text->ChangeValue(wxFromUtf8(value));
                text->SetInsertionPointEnd();
                wxCommandEvent changed(wxEVT_TEXT, id);
                changed.SetEventObject(text);
                text->ProcessWindowEvent(changed);
            } else {
                text->SetValue(wxFromUtf8(value));
            }
        } else if (auto* combo = dynamic_cast<wxComboBox*>(control)) {
            // A combo that takes only its items takes only one of them.
            if ((combo->GetWindowStyle() & wxCB_READONLY) &&
                combo->FindString(wxFromUtf8(value), true) == wxNOT_FOUND) {
                why = "\"" + value + "\" is not an item of combo " + a[1];
                return false;
            }
            combo->SetValue(wxFromUtf8(value));
        } else if (auto* spin = dynamic_cast<wxSpinCtrl*>(control)) {
            if (!isNumber(value)) {
                why = "\"" + value + "\" is not a number for spin " + a[1];
                return false;
            }
            spin->SetValue(std::atoi(value.c_str()));
        } else if (auto* items = dynamic_cast<wxControlWithItems*>(control)) {
            if (!items->SetStringSelection(wxFromUtf8(value))) {
                why = "\"" + value + "\" is not an item of " + a[1];
                return false;
            }
        } else {
            why = "control " + a[1] + " (" + kindOf(control) + ") takes no text";
            return false;
        }
        return true;
    }
    if (verb == "select") {
        const long row = std::atol(value.c_str());
        const auto outside = [&](long count) {
            why = "no row " + value + " in " + a[1] + " of " + std::to_string(count) + " rows";
            return false;
        };
        if (auto* list = dynamic_cast<wxListCtrl*>(control)) {
            // A report list: the row selected as a click would, with its event
            if (!isNumber(value) || row < 0 || row >= list->GetItemCount())
                return outside(list->GetItemCount());
            list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                               wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
            wxListEvent selected(wxEVT_LIST_ITEM_SELECTED, id);
            selected.SetEventObject(list);
            selected.m_itemIndex = row;
            list->ProcessWindowEvent(selected);
        } else if (auto* tree = dynamic_cast<wxTreeCtrl*>(control)) {
            // In a tree the item is named by its text (the first one, depth first).
            const wxTreeItemId item = findTreeItem(*tree, tree->GetRootItem(), wxFromUtf8(value));
            if (!item.IsOk()) {
                why = "no item \"" + value + "\" in tree " + a[1];
                return false;
            }
            tree->SelectItem(item);
        } else if (auto* vlist = dynamic_cast<wxVListBox*>(control)) {
            if (!isNumber(value) || row < 0 || size_t(row) >= vlist->GetItemCount())
                return outside(long(vlist->GetItemCount()));
            vlist->SetSelection(int(row));
            wxCommandEvent changed(wxEVT_LISTBOX, id);
            changed.SetInt(vlist->GetSelection());
            changed.SetEventObject(vlist);
            vlist->ProcessWindowEvent(changed);
        } else if (auto* comboCtrl = dynamic_cast<wxComboCtrl*>(control)) {
            // A combo with a list of its own: the row chosen in its drop-down.
            if (!isNumber(value) || row < 0) return outside(-1);
            wxCommandEvent chosen(wxEVT_COMBOBOX, id);
            chosen.SetInt(int(row));
            chosen.SetEventObject(comboCtrl);
            comboCtrl->ProcessWindowEvent(chosen);
        } else if (auto* items = dynamic_cast<wxControlWithItems*>(control)) {
            // In a list of several selections N adds row N; -1 clears them all.
            const bool clears = row == -1 && multipleSelection(control);
            if (!isNumber(value) || (!clears && (row < 0 || row >= long(items->GetCount()))))
                return outside(long(items->GetCount()));
            items->SetSelection(int(row));
            wxEventType type = dynamic_cast<wxListBox*>(control)    ? wxEVT_LISTBOX
                               : dynamic_cast<wxComboBox*>(control) ? wxEVT_COMBOBOX
                                                                    : wxEVT_CHOICE;
            wxCommandEvent changed(type, id);
            changed.SetInt(multipleSelection(control) ? int(row) : items->GetSelection());
            changed.SetEventObject(control);
            control->ProcessWindowEvent(changed);
        } else {
            why = "control " + a[1] + " (" + kindOf(control) + ") has no rows";
            return false;
        }
        return true;
    }
    if (verb == "check") {
        const bool on = value == "1";
        if (value != "0" && value != "1") {
            why = "check takes 0 or 1";
            return false;
        }
        if (auto* box = dynamic_cast<wxCheckBox*>(control)) {
            box->SetValue(on);
            wxCommandEvent changed(wxEVT_CHECKBOX, id);
            changed.SetInt(on);
            changed.SetEventObject(box);
            box->ProcessWindowEvent(changed);
        } else if (auto* radio = dynamic_cast<wxRadioButton*>(control); radio && on) {
            // A radio button is cleared by checking another one of its group.
            radio->SetValue(true);
            wxCommandEvent changed(wxEVT_RADIOBUTTON, id);
            changed.SetInt(1);
            changed.SetEventObject(radio);
            radio->ProcessWindowEvent(changed);
        } else {
            why = radio ? "a radio button is only checked"
                        : "control " + a[1] + " (" + kindOf(control) + ") is no check box";
            return false;
        }
        return true;
    }
    if (verb == "activate") {
        // A double click on a line of a list box.
        auto* list = dynamic_cast<wxListBox*>(control);
        const long row = std::atol(value.c_str());
        if (!list || !isNumber(value) || row < 0 || row >= long(list->GetCount())) {
            why = list ? "no row " + value + " in list " + a[1] : "control " + a[1] + " is no list box";
            return false;
        }
        list->SetSelection(int(row));
        wxCommandEvent dclick(wxEVT_LISTBOX_DCLICK, id);
        dclick.SetInt(list->GetSelection());
        dclick.SetEventObject(list);
        list->ProcessWindowEvent(dclick);
        return true;
    }
    if (verb == "click") {
        wxCommandEvent click(wxEVT_BUTTON, id);
        click.SetEventObject(control);
        control->ProcessWindowEvent(click);
        return true;
    }
    if (verb == "mouse-down" || verb == "mouse-up" || verb == "mouse-right") {
        // A mouse button at a point of the control, as the control sees it.
        if (a.size() < 4 || !isNumber(a[2]) || !isNumber(a[3])) {
            why = verb + " takes a control and a point X Y";
            return false;
        }
        const wxEventType type = verb == "mouse-down" ? wxEVT_LEFT_DOWN
                                 : verb == "mouse-up" ? wxEVT_LEFT_UP
                                                      : wxEVT_RIGHT_DOWN;
        wxMouseEvent mouse(type);
        mouse.SetPosition(wxPoint(std::atoi(a[2].c_str()), std::atoi(a[3].c_str())));
        mouse.m_leftDown = verb == "mouse-down";
        mouse.SetEventObject(control);
        mouse.SetId(id);
        control->ProcessWindowEvent(mouse);
        return true;
    }
    if (verb == "key" || verb == "keydown" || verb == "keyup") {
        // A letter key on the control: the window's key filters see it first.
        if (value.empty()) {
            why = verb + " takes a control and a letter";
            return false;
        }
        for (wxEventType type : {wxEVT_KEY_DOWN, wxEVT_KEY_UP}) {
            if ((type == wxEVT_KEY_DOWN && verb == "keyup") || (type == wxEVT_KEY_UP && verb == "keydown"))
                continue;
            wxKeyEvent key(type);
            key.m_keyCode = std::toupper(static_cast<unsigned char>(value[0]));
            key.SetEventObject(control);
            key.SetId(id);
            control->ProcessWindowEvent(key);
        }
        return true;
    }
    if (verb == "command") {
        // A menu command of the dialog (its popup menus' items): one that no
        // handler takes is not one of its commands.
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(dialog);
        if (!dialog->ProcessWindowEvent(command)) {
            why = "no handler took command " + (a.size() > 1 ? a[1] : std::string());
            return false;
        }
        return true;
    }
    if (verb == "await" || verb == "await-in-file" || verb == "settle") {
        // await ID TEXT: until the control shows TEXT (its label, or its value);
        // await-in-file PATH TEXT: until that file holds TEXT (a fake port's log);
        // settle: until the program has settled. The ceiling only bounds a hang.
        SettleWatch watch;
        auto holds = [&]() -> bool {
            if (verb == "settle") return watch.Look();
            if (verb == "await-in-file") return FileHolds(a.size() > 1 ? a[1] : std::string(), value);
            wxWindow* shown = id ? scope->FindWindow(id) : nullptr;
            if (!shown) return false;
            if (auto* text = dynamic_cast<wxTextEntry*>(shown)) return wxToUtf8(text->GetValue()) == value;
            return wxToUtf8(shown->GetLabel()) == value;
        };
        const auto ceiling = std::chrono::steady_clock::now() + std::chrono::seconds(awaitCeilingSeconds());
        bool held = false;
        while (!(held = holds()) && std::chrono::steady_clock::now() < ceiling) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        if (!held) Log("await-failed: " + joinedWords(a));
        return true;
    }
    if (verb == "pause") {
        // Lets the dialog's timers and posted events run for a while: time
        // passing is what the test means (the console plays).
        const long ms = std::atol(a.size() > 1 ? a[1].c_str() : "0");
        for (wxStopWatch watch; watch.Time() < ms;) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        return true;
    }
    if (verb == "enter") {
        wxCommandEvent enter(wxEVT_TEXT_ENTER, id);
        enter.SetEventObject(control);
        control->ProcessWindowEvent(enter);
        return true;
    }
    if (verb == "log") {
        if (control)
            LogControl(control);
        else
            Log("control " + (a.size() > 1 ? a[1] : std::string()) + ": missing");
        return true;
    }
    if (verb == "shot") {
        // The dialog alone, as the user sees it once it is shown and painted.
        for (wxStopWatch watch; watch.Time() < 300;) {
            wxTheApp->Yield(true);
            wxMilliSleep(5);
        }
        Screenshot(a.size() > 1 ? a[1] : "dialog", dialog->GetScreenRect());
        return true;
    }
    if (verb == "log-title-room") {
        // The dialog's width and the size of its title's text in its own font.
        const wxSize text = dialog->GetTextExtent(dialog->GetTitle());
        Log("title-room: width=" + std::to_string(dialog->GetSize().x) + " text=" + std::to_string(text.x) +
            "x" + std::to_string(text.y));
        return true;
    }
    if (verb == "log-layout") {
        // A property sheet shows each page in turn, so that each is laid out as shown.
        std::vector<std::string> faults = LayoutFaults(dialog);
        if (auto* sheet = dynamic_cast<wxPropertySheetDialog*>(dialog)) {
            wxBookCtrlBase* book = sheet->GetBookCtrl();
            const int shown = book->GetSelection();
            for (size_t n = 0; n < book->GetPageCount(); ++n) {
                book->SetSelection(n);
                wxTheApp->Yield(true);
                for (const std::string& fault : LayoutFaults(dialog))
                    if (std::find(faults.begin(), faults.end(), fault) == faults.end())
                        faults.push_back(fault);
            }
            if (shown >= 0) book->SetSelection(size_t(shown));
        }
        for (const std::string& fault : faults)
            Log("layout: " + fault);
        Log("layout-faults: " + std::to_string(faults.size()));
        return true;
    }
    if (verb == "logall") {
        std::vector<wxWindow*> stack(scope->GetChildren().begin(), scope->GetChildren().end());
        while (!stack.empty()) {
            wxWindow* w = stack.front();
            stack.erase(stack.begin());
            if (w->GetId() > 0 && w->GetId() < 5000) LogControl(w);
            for (wxWindow* child : w->GetChildren())
                stack.push_back(child);
        }
        return true;
    }
    if (verb == "ok" || verb == "cancel" || verb == "yes" || verb == "no") {
        // The dialog's own button, or the dialog itself as Enter or Escape reach it.
        wxCommandEvent click(wxEVT_BUTTON, idOf(verb));
        wxWindow* button = dialog->FindWindow(idOf(verb));
        if (button && !button->IsEnabled()) {
            why = "its " + verb + " button is disabled";
            return false;
        }
        wxWindow* target = button ? button : dialog;
        click.SetEventObject(target);
        target->ProcessWindowEvent(click);
        return true;
    }
    Log("unknown command " + verb + " (an action in a dialog)");
    return true;
}

bool CTestDriver::RunAreaCommand(const Words& command)
{
    const auto log = [this](const std::string& line) { Log(line); };
    for (const auto probe : {RunMidiWindowProbe, RunPlaybackProbe, RunViewProbe})
        if (probe(command, log)) return true;
    return false;
}

void CTestDriver::RunDialog(const std::string& name)
{
    wxWindow* parent = CMainFrame::Get();
    if (const DialogRegistry::Runner* run = DialogRegistry::Find(name)) {
        Log((*run)(parent));
        return;
    }
    auto bytes = [](const std::vector<uint8_t>& image, size_t at, size_t n) {
        std::string out;
        for (size_t i = 0; i < n; ++i)
            out += (i ? "," : "") + std::to_string(image[at + i]);
        return out;
    };
    if (name == "time-signature") {
        TimeSignatureDlgModel m;
        m.measure = 4;
        m.beatsPerMeasure = 3;
        m.beatValue = 64;
        CTimeSignatureDlg dlg(parent, m);
        int r = dlg.ShowModal();
        Log("time-signature: result=" + std::to_string(r) + " measure=" + std::to_string(m.measure) +
            " beats=" + std::to_string(m.beatsPerMeasure) + " value=" + std::to_string(m.beatValue));
    } else if (name == "cv-params" || name == "edit-chord-table") {
        std::vector<uint8_t> image(1168);
        int modified = 0;
        WqStyleItemRef item{'9', image, [&modified] { ++modified; }};
        int r = 0;
        if (name == "cv-params") {
            image[62 + 2] = 3; // VAR1 CV2: C#min, length 4
            image[63 + 2] = 4;
            CvParamsDlgModel m(item, 0, 1);
            CCvParamsDlg dlg(parent, m);
            r = dlg.ShowModal();
            Log("cv-params: result=" + std::to_string(r) + " bytes=" + bytes(image, 62 + 2, 2) +
                " modified=" + std::to_string(modified));
        } else {
            image[134 + 80] = 1; // INT1, Major: CV2
            EditChordTableDlgModel m(item, 4);
            CEditChordTableDlg dlg(parent, m);
            r = dlg.ShowModal();
            Log("edit-chord-table: result=" + std::to_string(r) + " bytes=" + bytes(image, 134 + 80, 20) +
                " modified=" + std::to_string(modified));
        }
    } else if (name == "transpose-value") {
        TransposeValueDlgModel m;
        CTransposeValueDlg dlg(parent, m);
        int r = dlg.ShowModal();
        Log("transpose-value: result=" + std::to_string(r) + " value=" + std::to_string(m.value));
    } else if (name == "goto") {
        PositionRecord p{0, 2, 1, 5};
        CGoToDlg dlg(parent, p, nullptr);
        int r = dlg.ShowModal();
        Log("goto: result=" + std::to_string(r) + " position=" + FormatPositionText(p));
    } else if (name == "confirm-overwrite") {
        CConfirmOverwriteDlg dlg(parent, "Rock.sty");
        int r = dlg.ShowModal();
        Log("confirm-overwrite: result=" + std::to_string(int(CConfirmOverwriteDlg::ResultOf(r))));
    } else if (name == "new-file") {
        CNewFileDlg dlg(parent, wxGetApp().DocManager()->ZibTemplates());
        const int r = dlg.ShowModal();
        Log("new-file: result=" + std::to_string(r) + " template=" +
            (dlg.Template() ? dlg.Template()->GetDocString(DocStringIndex::FileNewName) : std::string("none")) +
            " subtype=" + std::to_string(dlg.SubType()));
    } else if (name == "progress") {
        CProgressDlg* progress = CProgressDlg::Create(parent);
        for (int i = 0; i < 3; ++i)
            progress->StepIt();
        Log("progress: position=" + std::to_string(progress->Position()));
        progress->Destroy();
    } else {
        Log("unknown dialog " + name);
    }
}

void CTestDriver::LogControl(wxWindow* w)
{
    std::string line = "control " + std::to_string(w->GetId()) + ":";
    if (auto* text = dynamic_cast<wxTextCtrl*>(w)) {
        long from = 0, to = 0;
        text->GetSelection(&from, &to);
        line += " text=" + escaped(text->GetValue()) + " selection=" + std::to_string(from) + "-" +
                std::to_string(to);
    } else if (auto* box = dynamic_cast<wxCheckBox*>(w)) {
        line += " label=" + escaped(box->GetLabel()) + " checked=" + std::to_string(box->GetValue());
    } else if (auto* radio = dynamic_cast<wxRadioButton*>(w)) {
        line += " label=" + escaped(radio->GetLabel()) + " checked=" + std::to_string(radio->GetValue());
    } else if (auto* combo = dynamic_cast<wxComboBox*>(w)) {
        line += " value=" + escaped(combo->GetValue()) + " count=" + std::to_string(combo->GetCount());
    } else if (auto* comboCtrl = dynamic_cast<wxComboCtrl*>(w)) {
        line += " value=" + escaped(comboCtrl->GetValue());
    } else if (auto* vlist = dynamic_cast<wxVListBox*>(w)) {
        line += " selection=" + std::to_string(vlist->GetSelection()) + " count=" + std::to_string(vlist->GetItemCount());
    } else if (auto* tree = dynamic_cast<wxTreeCtrl*>(w)) {
        // Depth and text of the items down to the lists, depth first; then the selection.
        std::string items;
        std::vector<std::pair<wxTreeItemId, int>> stack;
        if (tree->GetRootItem().IsOk()) stack.emplace_back(tree->GetRootItem(), 0);
        while (!stack.empty()) {
            const auto [item, depth] = stack.back();
            stack.pop_back();
            items += (items.empty() ? "" : "|") + std::to_string(depth) + ":" + escaped(tree->GetItemText(item));
            if (depth >= 3) continue;
            std::vector<wxTreeItemId> children;
            wxTreeItemIdValue cookie;
            for (wxTreeItemId c = tree->GetFirstChild(item, cookie); c.IsOk(); c = tree->GetNextChild(item, cookie))
                children.push_back(c);
            for (auto c = children.rbegin(); c != children.rend(); ++c)
                stack.emplace_back(*c, depth + 1);
        }
        const wxTreeItemId selected = tree->GetSelection();
        line += " items=" + items + " selection=" + (selected.IsOk() ? escaped(tree->GetItemText(selected)) : "");
    } else if (auto* items = dynamic_cast<wxControlWithItems*>(w)) {
        std::string selection;
        if (auto* list = multipleSelection(w)) {
            wxArrayInt rows;
            list->GetSelections(rows);
            for (size_t i = 0; i < rows.size(); ++i)
                selection += (i ? "," : "") + std::to_string(rows[i]);
            if (rows.empty()) selection = "-1";
        } else {
            selection = std::to_string(items->GetSelection());
        }
        line += " selection=" + selection + " items=";
        for (unsigned i = 0; i < items->GetCount(); ++i)
            line += (i ? "|" : "") + escaped(items->GetString(i));
    } else {
        line += " label=" + escaped(w->GetLabel());
    }
    line += " enabled=" + std::to_string(w->IsEnabled());
    Log(line);
}

void CTestDriver::LogFrame()
{
    CMainFrame* frame = CMainFrame::Get();
    std::string bars;
    for (int i = 0; i < kMainBarCount; ++i)
        if (frame->IsBarShown(MainBar(i)))
            bars += (bars.empty() ? "" : ",") + std::string(MainBarTitle(MainBar(i)));
    wxRect display = wxDisplay(frame).GetClientArea();
    wxRect rect = frame->GetRect();
    const bool fills = rect.width >= display.width - 20 && rect.height >= display.height - 60;
    Log("frame: maximized=" + std::to_string(frame->IsMaximized() || fills) +
        " maximizebox=" + std::to_string((frame->GetWindowStyleFlag() & wxMAXIMIZE_BOX) != 0) +
        " shown=" + std::to_string(frame->IsShown()) + " bars=" + bars + " docbar=" +
        std::string(MainBarTitle(frame->CurrentDocumentBar())) + " status=" + escaped(frame->StatusText(0)) +
        "|" + escaped(frame->StatusText(1)) + "|" + escaped(frame->StatusText(2)) + " panewidth=" +
        std::to_string(frame->GetStatusBar() ? frame->GetStatusBar()->GetStatusWidth(0) : -1) +
        " clientwidth=" + std::to_string(frame->GetClientSize().x) +
        " kind=" + std::to_string(int(frame->ActiveKind())) + " title=" + escaped(frame->GetTitle()));
}

namespace {

// The first grid in a window and its children.
wxGrid* findGrid(wxWindow* root)
{
    std::vector<wxWindow*> stack;
    if (root) stack.push_back(root);
    while (!stack.empty()) {
        wxWindow* w = stack.front();
        stack.erase(stack.begin());
        if (auto* grid = dynamic_cast<wxGrid*>(w)) return grid;
        for (wxWindow* c : w->GetChildren()) stack.push_back(c);
    }
    return nullptr;
}

} // namespace

void CTestDriver::RunGridCommand(const Words& c)
{
    auto arg = [&c](size_t i) { return i < c.size() ? c[i] : std::string(); };
    CMainFrame* frame = CMainFrame::Get();
    wxTheApp->ProcessIdle();
    CZibMdiChild* child = frame->ActiveZibChild();
    wxGrid* grid = findGrid(child);
    const std::string& verb = c[0];
    const bool acts = verb == "grid-select" || verb == "grid-key" || verb == "grid-edit";
    if (!grid && acts) return StepFailed(c, "no grid in the active window");
    if (!grid) {
        Log("grid: none");
        return;
    }
    if (verb == "log-grid") {
        // Title, row count, the selected rows and the cells of the first rows.
        std::string selected;
        for (int row : grid->GetSelectedRows()) selected += (selected.empty() ? "" : ",") + std::to_string(row);
        Log("grid: title=" + escaped(child->GetTitle()) + " rows=" + std::to_string(grid->GetNumberRows()) +
            " selected=" + selected);
        const int rows = std::min(grid->GetNumberRows(), std::atoi(arg(1).c_str()));
        for (int r = 0; r < rows; ++r) {
            std::string cells;
            for (int col = 0; col < grid->GetNumberCols(); ++col)
                cells += (col ? "|" : "") + escaped(grid->GetCellValue(r, col));
            Log("grid-row " + std::to_string(r) + ": " + cells);
        }
    } else if (verb == "cell-editor") {
        const bool shown = grid->IsCellEditControlShown();
        Log("cell-editor: shown=" + std::to_string(shown) + " row=" + std::to_string(grid->GetGridCursorRow()) +
            " col=" + std::to_string(grid->GetGridCursorCol()));
    } else if (verb == "grid-count") {
        // The rows whose cell in a column reads a text (blanks around it ignored).
        const int col = std::atoi(arg(1).c_str());
        int count = 0;
        for (int r = 0; r < grid->GetNumberRows(); ++r)
            if (grid->GetCellValue(r, col).Trim().Trim(false) == wxFromUtf8(arg(2))) ++count;
        Log("grid-count " + arg(1) + " " + arg(2) + " = " + std::to_string(count) + " of " +
            std::to_string(grid->GetNumberRows()));
    } else if (verb == "grid-select") {
        // One row, or the block of rows ROW..LAST
        const int row = std::atoi(arg(1).c_str());
        const int last = arg(2).empty() ? row : std::atoi(arg(2).c_str());
        if (row < 0 || last < row || last >= grid->GetNumberRows())
            return StepFailed(c, "no rows " + arg(1) + ".." + std::to_string(last) + " in a grid of " +
                                     std::to_string(grid->GetNumberRows()) + " rows");
        grid->ClearSelection();
        if (last == row)
            grid->SelectRow(row);
        else
            grid->SelectBlock(row, 0, last, grid->GetNumberCols() - 1);
        grid->SetGridCursor(row, 0);
        Log("grid-select " + arg(1) + (last == row ? "" : " " + arg(2)));
    } else if (verb == "grid-key") {
        // A key pressed in the grid: "delete", "pagedown"
        if (arg(1) != "delete" && arg(1) != "pagedown")
            return StepFailed(c, "grid-key knows delete and pagedown");
        wxKeyEvent key(wxEVT_KEY_DOWN);
        key.m_keyCode = arg(1) == "delete" ? WXK_DELETE : WXK_PAGEDOWN;
        key.SetEventObject(grid->GetGridWindow());
        grid->GetGridWindow()->ProcessWindowEvent(key);
        Log("grid-key " + arg(1));
    } else {
        // A double click on the cell, the text typed into its editor, then Enter.
        const int row = std::atoi(arg(1).c_str());
        const int col = std::atoi(arg(2).c_str());
        if (row < 0 || row >= grid->GetNumberRows() || col < 0 || col >= grid->GetNumberCols())
            return StepFailed(c, "no cell " + arg(1) + "," + arg(2) + " in a grid of " +
                                     std::to_string(grid->GetNumberRows()) + " rows and " +
                                     std::to_string(grid->GetNumberCols()) + " columns");
        wxGridEvent click(grid->GetId(), wxEVT_GRID_CELL_LEFT_DCLICK, grid, row, col);
        grid->ProcessWindowEvent(click);
        wxTheApp->ProcessPendingEvents();
        std::string shown;
        if (grid->IsCellEditControlEnabled()) {
            wxGridCellEditor* editor = grid->GetCellEditor(row, col);
            if (auto* text = editor ? dynamic_cast<wxTextCtrl*>(editor->GetWindow()) : nullptr) {
                shown = wxToUtf8(text->GetValue());
                if (arg(3) != "-") {
                    text->SetValue(wxFromUtf8(arg(3)));
                }
                shown += " -> " + wxToUtf8(text->GetValue());
            }
            if (editor) editor->DecRef();
            grid->DisableCellEditControl();
            wxTheApp->ProcessPendingEvents();
            Log("grid-edit " + arg(1) + "," + arg(2) + ": " + escaped(shown));
        } else {
            Log("grid-edit " + arg(1) + "," + arg(2) + ": no editor");
        }
    }
}

void CTestDriver::LogWhere(const Words& c)
{
    auto arg = [&c](size_t i) { return i < c.size() ? c[i] : std::string(); };
    CMainFrame* frame = CMainFrame::Get();
    wxTheApp->ProcessIdle();
    CZibMdiChild* child = frame->ActiveZibChild();
    const std::string& what = arg(1);
    wxRect rect;
    wxWindow* in = nullptr; // the window whose client coordinates `rect` is in
    if (what == "grid-cell") {
        const int row = std::atoi(arg(2).c_str());
        const int col = std::atoi(arg(3).c_str());
        wxGrid* grid = findGrid(child);
        if (grid && row < grid->GetNumberRows() && col < grid->GetNumberCols()) {
            grid->MakeCellVisible(row, col);
            grid->Update();
            rect = grid->CellToRect(row, col);
            rect.SetPosition(grid->CalcScrolledPosition(rect.GetPosition()));
            in = grid->GetGridWindow();
        }
    } else if (what == "list-row") {
        // Where in a row a click lands can matter: a list may give each column its own action.
        const long row = std::atol(arg(2).c_str());
        const int col = arg(3).empty() ? -1 : std::atoi(arg(3).c_str());
        wxListCtrl* list = child ? firstList(child) : nullptr;
        if (list && row < list->GetItemCount() && col < list->GetColumnCount()) {
            list->EnsureVisible(row);
            list->Update();
            if (col < 0 ? list->GetItemRect(row, rect) : list->GetSubItemRect(row, col, rect)) in = list;
        }
    } else if (what == "tree-node") {
        wxTreeCtrl* tree = child ? nthTree(child, std::atoi(arg(3).c_str())) : nullptr;
        const wxTreeItemId item = tree ? findTreePath(*tree, arg(2)) : wxTreeItemId();
        if (item.IsOk()) {
            tree->EnsureVisible(item);
            tree->Update();
            if (tree->GetBoundingRect(item, rect, true)) in = tree;
        }
    } else if (what == "tool") {
        const int id = cmd::ToWxId(std::atoi(arg(2).c_str()));
        for (int i = 0; i < kMainBarCount && !in; ++i) {
            CMainToolBar* bar = frame->Toolbar(MainBar(i));
            // A button is somewhere to click once it is shown and enabled.
            if (bar && bar->IsShownOnScreen() && bar->FindTool(id) && bar->GetToolEnabled(id)) {
                rect = bar->GetToolRect(id);
                in = bar;
            }
        }
    }
    // Only the part that shows: a row wider than its list is clicked where it can be seen.
    if (in) rect.Intersect(wxRect(in->GetClientSize()));
    if (!in || rect.IsEmpty()) {
        Log("where: none");
        return;
    }
    const wxPoint at = in->ClientToScreen(rect.GetPosition());
    Log("where: " + std::to_string(at.x) + " " + std::to_string(at.y) + " " + std::to_string(rect.width) + " " +
        std::to_string(rect.height));
}

void CTestDriver::LogTabs()
{
    CMainFrame* frame = CMainFrame::Get();
    wxTheApp->ProcessIdle();
    std::string titles;
    if (wxAuiMDIClientWindow* client = frame->GetClientWindow())
        for (size_t i = 0; i < client->GetPageCount(); ++i)
            titles += (titles.empty() ? "" : "|") + escaped(client->GetPageText(i));
    wxWindow* active = frame->GetActiveChild();
    auto* activeChild = dynamic_cast<ZibMdiChildFrame*>(active);
    Log("tabs: active=" + (activeChild ? escaped(activeChild->GetTitle()) : std::string("none")) + " titles=" + titles);
}

void CTestDriver::LogActiveList(int rows)
{
    // The first list control of the active child: its title, headers, row
    // count and the cells of its first rows.
    CZibMdiChild* child = CMainFrame::Get()->ActiveZibChild();
    wxListCtrl* list = nullptr;
    std::vector<wxWindow*> stack;
    if (child) stack.push_back(child);
    while (!stack.empty() && !list) {
        wxWindow* w = stack.front();
        stack.erase(stack.begin());
        list = dynamic_cast<wxListCtrl*>(w);
        for (wxWindow* c : w->GetChildren())
            stack.push_back(c);
    }
    if (!list) {
        Log("list: none");
        return;
    }
    std::string headers;
    for (int c = 0; c < list->GetColumnCount(); ++c) {
        wxListItem column;
        column.SetMask(wxLIST_MASK_TEXT);
        list->GetColumn(c, column);
        headers += (c ? "|" : "") + escaped(column.GetText());
    }
    Log("list: title=" + escaped(child->GetTitle()) + " rows=" + std::to_string(list->GetItemCount()) +
        " columns=" + headers);
    for (long r = 0; r < std::min<long>(rows, list->GetItemCount()); ++r) {
        std::string cells;
        for (int c = 0; c < list->GetColumnCount(); ++c)
            cells += (c ? "|" : "") + escaped(list->GetItemText(r, c));
        Log("row " + std::to_string(r) + ": " + cells);
    }
}

namespace {

// The MDI children of the main frame whose title holds `part` ("" every one).
std::vector<CZibMdiChild*> childrenTitled(const std::string& part)
{
    std::vector<CZibMdiChild*> found;
    std::vector<wxWindow*> stack = {CMainFrame::Get()};
    while (!stack.empty()) {
        wxWindow* w = stack.back();
        stack.pop_back();
        if (auto* child = dynamic_cast<CZibMdiChild*>(w))
            if (wxToUtf8(child->GetTitle()).find(part) != std::string::npos) found.push_back(child);
        for (wxWindow* c : w->GetChildren())
            stack.push_back(c);
    }
    return found;
}

wxListCtrl* firstList(wxWindow* root)
{
    std::vector<wxWindow*> stack = {root};
    while (!stack.empty()) {
        wxWindow* w = stack.front();
        stack.erase(stack.begin());
        if (auto* list = dynamic_cast<wxListCtrl*>(w)) return list;
        for (wxWindow* c : w->GetChildren())
            stack.push_back(c);
    }
    return nullptr;
}

BlockDragSource* dragSourceOf(CZibMdiChild* child)
{
    auto* docChild = dynamic_cast<CZibDocChildFrame*>(child);
    return docChild ? dynamic_cast<BlockDragSource*>(docChild->GetView()) : nullptr;
}

std::vector<long> rowsOf(const std::string& text)
{
    std::vector<long> rows;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty() && item != "-") rows.push_back(std::atol(item.c_str()));
    return rows;
}

} // namespace

void CTestDriver::ActivateChild(const std::string& titlePart)
{
    const auto found = childrenTitled(titlePart);
    if (found.empty()) return StepFailed({"activate-child", titlePart}, "no window's title holds it");
    found.front()->Activate();
    wxTheApp->ProcessIdle();
    Log("activate-child: " + escaped(found.front()->GetTitle()));
}

void CTestDriver::SelectRows(const std::string& rows, int focus)
{
    // rows: "1,2,5" or "-" for none; the focus row is optional.
    CZibMdiChild* child = CMainFrame::Get()->ActiveZibChild();
    wxListCtrl* list = child ? firstList(child) : nullptr;
    if (!list) return StepFailed({"select-rows", rows}, "no list in the active window");
    for (long r : rowsOf(rows))
        if (r < 0 || r >= list->GetItemCount())
            return StepFailed({"select-rows", rows}, "no row " + std::to_string(r) + " in a list of " +
                                                         std::to_string(list->GetItemCount()) + " rows");
    for (long r = 0; r < list->GetItemCount(); ++r)
        list->SetItemState(r, 0, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    std::string done;
    for (long r : rowsOf(rows))
        if (r >= 0 && r < list->GetItemCount()) {
            list->SetItemState(r, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
            done += (done.empty() ? "" : ",") + std::to_string(r);
        }
    if (focus >= 0 && focus < list->GetItemCount()) list->SetItemState(focus, wxLIST_STATE_FOCUSED, wxLIST_STATE_FOCUSED);
    Log("select-rows: " + (done.empty() ? std::string("-") : done) + " focus=" + std::to_string(focus));
}

void CTestDriver::DragBlock(const std::string& from, const std::string& rows, const std::string& to, int row, bool move)
{
    const auto sources = childrenTitled(from);
    const auto targets = childrenTitled(to);
    BlockDragSource* source = sources.empty() ? nullptr : dragSourceOf(sources.front());
    BlockDragSource* target = targets.empty() ? nullptr : dragSourceOf(targets.front());
    const Words command = {"drag", from, rows, to, std::to_string(row), move ? "move" : "copy"};
    if (!source || !target)
        return StepFailed(command, "no window titled " + (source ? to : from) + " takes blocks");
    sources.front()->Activate();
    SelectRows(rows, -1);
    const auto block = source->StartBlockDrag();
    if (!block) return StepFailed(command, "nothing to drag from those rows");
    const bool taken = target->TakeBlockDrop(*block, row, move);
    source->FinishBlockDrag(taken && move);
    Log(std::string("drag: ") + (taken ? "dropped" : "refused"));
}

void CTestDriver::LogMenuBar()
{
    wxMenuBar* bar = CMainFrame::Get()->GetMenuBar();
    if (!bar) {
        Log("menubar: none");
        return;
    }
    std::string tops;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
        tops += (i ? "|" : "") + escaped(bar->GetMenuLabel(i));
        std::string items;
        for (wxMenuItem* item : bar->GetMenu(i)->GetMenuItems()) {
            if (item->IsSeparator()) continue;
            items += (items.empty() ? "" : "|") + escaped(item->GetItemLabel());
        }
        Log("menu " + std::to_string(i) + ": " + items);
    }
    Log("menubar: " + tops);
}

void CTestDriver::Screenshot(const std::string& name, wxRect area)
{
    const char* dir = std::getenv("ZIB_TEST_SHOTS");
    if (!dir || !*dir) return;
    // Painted now: a scroll made in code may otherwise still show as it was
    for (wxWindow* top : wxTopLevelWindows) {
        top->Refresh();
        top->Update();
    }
    const wxImage image = ScreenArea(area.IsEmpty() ? wxRect(wxGetDisplaySize()) : area);
    if (!image.IsOk()) return Log("screenshot " + name + ": cannot read the screen");
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    image.SaveFile(wxFromUtf8(std::string(dir) + "/" + name + ".png"), wxBITMAP_TYPE_PNG);
    Log("screenshot " + name);
}

} // namespace zib
