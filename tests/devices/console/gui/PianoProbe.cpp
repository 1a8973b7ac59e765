// A window with the console's piano and keyboard octave, driven by a script
// of mouse and key actions sent through the X test extension. What the
// piano's listener hears is written to a log, one line per note:
//   down N | up N
//
// Environment (as tests/support/gui/ZibSession sets it): ZIB_TEST_SCRIPT names
// the script, ZIB_TEST_LOG the log, ZIB_TEST_TIMEOUT bounds the run.
// Script lines:
//   click-note N | rclick-note N    left / right click on the key of note N
//   press-note N | release          left button down on a key / up
//   move-note N | move X Y          pointer to a key / a point of the piano
//   click X Y                       left click at a point of the piano
//   key L | keydown L | keyup L     a letter key (press and release / down / up)
//   left | right                    an arrow key
//   busy 0|1                        a chord change is pending (keys downs unplayed)
//   state                           logs "state octave=.. marked-octave=.. marked-key=.. pressed=..
//   labels=X,X" keycount                        logs "keydowns N": the key downs the window has seen wait MS
#include "devices/CPianoKeyFilter.h"
#include "devices/CPianoWnd.h"
#include "devices/core/CPianoListener.h"
#include "devices/core/KeyboardOctave.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/timer.h>
#include <wx/uiaction.h>

namespace {

using Words = std::vector<std::string>;

class Log {
public:
    explicit Log(const char* path) : m_file(path ? std::fopen(path, "w") : nullptr) {}
    ~Log()
    {
        if (m_file) std::fclose(m_file);
    }
    void Line(const std::string& text)
    {
        if (!m_file) return;
        std::fprintf(m_file, "%s\n", text.c_str());
        std::fflush(m_file);
    }

private:
    std::FILE* m_file;
};

class LoggingListener : public zib::CPianoListener {
public:
    explicit LoggingListener(Log& log) : m_log(log) {}
    void NoteDown(int note) override { m_log.Line("down " + std::to_string(note)); }
    void NoteUp(int note) override { m_log.Line("up " + std::to_string(note)); }

private:
    Log& m_log;
};

// Counts every key down of the program, auto-repeated ones included.
class KeyDownCounter : public wxEventFilter {
public:
    explicit KeyDownCounter(int& count) : m_count(count) { wxEvtHandler::AddFilter(this); }
    ~KeyDownCounter() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_KEY_DOWN) ++m_count;
        return Event_Skip;
    }

private:
    int& m_count;
};

class ProbeFrame : public wxFrame {
public:
    ProbeFrame(std::deque<Words> script, Log& log)
        : wxFrame(nullptr, wxID_ANY, "Piano", wxPoint(0, 0), wxSize(760, 260)), m_script(std::move(script)),
          m_log(log), m_listener(log)
    {
        auto* panel = new wxPanel(this);
        m_upper = new wxStaticText(panel, wxID_ANY, "S   D          G   H    J", wxPoint(24, 10));
        m_piano = new zib::CPianoWnd();
        m_piano->Create(panel, wxID_ANY, wxPoint(20, 40));
        m_lower = new wxStaticText(panel, wxID_ANY, "Z    X    C    V   B    N   M", wxPoint(22, 120));
        if (!m_piano->SetUp(5, 4) || !m_piano->SetFirstNote(36)) m_log.Line("setup-failed");
        m_piano->SetListener(&m_listener);
        m_octave = std::make_unique<zib::KeyboardOctave>(m_piano->Keyboard(), m_listener);
        m_filter = std::make_unique<zib::CPianoKeyFilter>(*this, *m_piano, *m_octave, m_lock);
        m_filter->SetLabels(m_upper, m_lower);
        m_filter->SetBusy([this] { return m_busy; });
        Bind(wxEVT_TIMER, &ProbeFrame::OnStep, this);
        m_counter = std::make_unique<KeyDownCounter>(m_keyDowns);
        m_timer.SetOwner(this);
    }

    ~ProbeFrame() override
    {
        m_filter.reset();
        m_counter.reset();
    }

    void Start()
    {
        Show();
        Raise();
        panelFocus();
        m_timer.Start(120);
    }

private:
    void panelFocus() { m_piano->GetParent()->SetFocus(); }

    wxPoint PianoPoint(int x, int y) const { return m_piano->ClientToScreen(wxPoint(x, y)); }
    wxPoint NotePoint(int note) const { return m_piano->ClientToScreen(m_piano->KeyCentre(note)); }

    static int Letter(const std::string& word) { return word.empty() ? 0 : std::tolower(word[0]); }

    void OnStep(wxTimerEvent&)
    {
        if (m_waitSteps > 0) {
            --m_waitSteps;
            return;
        }
        if (m_script.empty()) {
            m_timer.Stop();
            m_log.Line("end");
            Close(true);
            return;
        }
        const Words words = m_script.front();
        m_script.pop_front();
        Run(words);
    }

    void Run(const Words& w)
    {
        const std::string& c = w[0];
        auto number = [&](size_t i) { return i < w.size() ? std::atoi(w[i].c_str()) : 0; };
        if (c == "click-note") {
            m_sim.MouseMove(NotePoint(number(1)));
            m_sim.MouseClick();
        } else if (c == "rclick-note") {
            m_sim.MouseMove(NotePoint(number(1)));
            m_sim.MouseClick(wxMOUSE_BTN_RIGHT);
        } else if (c == "press-note") {
            m_sim.MouseMove(NotePoint(number(1)));
            m_sim.MouseDown();
        } else if (c == "release") {
            m_sim.MouseUp();
        } else if (c == "move-note") {
            m_sim.MouseMove(NotePoint(number(1)));
        } else if (c == "move") {
            m_sim.MouseMove(PianoPoint(number(1), number(2)));
        } else if (c == "click") {
            m_sim.MouseMove(PianoPoint(number(1), number(2)));
            m_sim.MouseClick();
        } else if (c == "key") {
            m_sim.Char(Letter(w[1]));
        } else if (c == "keydown") {
            m_sim.KeyDown(Letter(w[1]));
        } else if (c == "keyup") {
            m_sim.KeyUp(Letter(w[1]));
        } else if (c == "left" || c == "right") {
            m_sim.Char(c == "left" ? WXK_LEFT : WXK_RIGHT);
        } else if (c == "busy") {
            m_busy = number(1) != 0;
        } else if (c == "wait") {
            m_waitSteps = number(1) / 120;
        } else if (c == "keycount") {
            m_log.Line("keydowns " + std::to_string(m_keyDowns));
        } else if (c == "state") {
            const zib::CPianoKeyboard& k = m_piano->Keyboard();
            std::string pressed;
            for (int n = k.FirstNote(); n <= k.LastNote(); ++n)
                if (k.IsPressed(n)) pressed += (pressed.empty() ? "" : ",") + std::to_string(n);
            std::ostringstream line;
            line << "state octave=" << m_octave->Octave() << " marked-octave=" << k.MarkedOctave()
                 << " marked-key=" << k.MarkedKey() << " pressed=" << (pressed.empty() ? "-" : pressed)
                 << " labels=" << m_upper->GetPosition().x << "," << m_lower->GetPosition().x;
            m_log.Line(line.str());
        } else {
            m_log.Line("unknown command " + c);
        }
    }

    std::deque<Words> m_script;
    Log& m_log;
    LoggingListener m_listener;
    zib::CPianoWnd* m_piano = nullptr;
    wxStaticText* m_upper = nullptr;
    wxStaticText* m_lower = nullptr;
    std::unique_ptr<zib::KeyboardOctave> m_octave;
    std::unique_ptr<zib::CPianoKeyFilter> m_filter;
    int m_keyDowns = 0;
    std::unique_ptr<KeyDownCounter> m_counter;
    std::mutex m_lock;
    bool m_busy = false;
    wxTimer m_timer;
    wxUIActionSimulator m_sim;
    int m_waitSteps = 0;
};

std::deque<Words> readScript(const char* path)
{
    std::deque<Words> script;
    if (!path) return script;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Words w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (!w.empty()) script.push_back(w);
    }
    return script;
}

} // namespace

class ProbeApp : public wxApp {
public:
    bool OnInit() override
    {
        // A failed check must not wait for someone to close a message box.
        wxSetAssertHandler(
            [](const wxString& file, int line, const wxString&, const wxString& cond, const wxString& msg) {
                std::fprintf(stderr, "assert failed: %s:%d %s %s\n", file.utf8_str().data(), line,
                             cond.utf8_str().data(), msg.utf8_str().data());
            });
        m_log = std::make_unique<Log>(std::getenv("ZIB_TEST_LOG"));
        const char* timeout = std::getenv("ZIB_TEST_TIMEOUT");
        m_deadline.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            m_log->Line("TIMEOUT");
            ExitMainLoop();
        });
        m_deadline.StartOnce((timeout ? std::atoi(timeout) : 30) * 1000);
        auto* frame = new ProbeFrame(readScript(std::getenv("ZIB_TEST_SCRIPT")), *m_log);
        frame->Start();
        return true;
    }

private:
    std::unique_ptr<Log> m_log;
    wxTimer m_deadline;
};

wxIMPLEMENT_APP(ProbeApp);
