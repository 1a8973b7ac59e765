#include "app/CTestDriver.h"

#include "app/CListCtrlCustomDraw.h"
#include "app/CMainFrame.h"
#include "app/CTextViewer.h"
#include "app/CZibApp.h"
#include "app/CZibDocManager.h"
#include "app/CZibFileDialog.h"
#include "app/core/CommandIds.h"
#include "app/dialogs/CFileDialogs.h"
#include "app/dialogs/CNewFileDlg.h"
#include "app/dialogs/CPositionDialogs.h"
#include "app/dialogs/CProgressDlg.h"
#include "app/dialogs/CWqStyleDialogs.h"
#include "platform/WxText.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/propdlg.h>
#include <wx/radiobut.h>
#include <wx/spinbutt.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

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

int timeoutSeconds()
{
    const char* t = std::getenv("ZIB_TEST_TIMEOUT");
    int v = t ? std::atoi(t) : 0;
    return v > 0 ? v : 60;
}

// A custom-drawn list as the MIDI views use one: row 1 blue text, row 3 a
// bold font, the cells of row 2 coloured, row 4 drawn by the list itself.
class SampleList : public CListCtrlCustomDraw {
public:
    SampleList(wxWindow* parent, CTestDriver& driver) : CListCtrlCustomDraw(parent, wxID_ANY), driver_(driver)
    {
        for (int c = 0; c < 3; ++c)
            AppendColumn(wxString::Format("Column %d", c), wxLIST_FORMAT_LEFT, 120);
        SetItemCount(6);
    }

    // The attributes the list gives a cell.
    std::string Describe(long item, long column) const
    {
        wxItemAttr* a = OnGetItemColumnAttr(item, column);
        if (!a) return "none";
        std::string out;
        if (a->HasTextColour()) out += "text:" + wxToUtf8(a->GetTextColour().GetAsString(wxC2S_HTML_SYNTAX));
        if (a->HasBackgroundColour())
            out += " back:" + wxToUtf8(a->GetBackgroundColour().GetAsString(wxC2S_HTML_SYNTAX));
        if (a->HasFont())
            out += std::string(" font:") + (a->GetFont().GetWeight() == wxFONTWEIGHT_BOLD ? "bold" : "other");
        return out;
    }

    bool WantsItemNotifications() override { return true; }
    uint32_t ItemTextColor(long item, uint32_t, intptr_t) override
    {
        return item == 1 ? 0xFF0000 : kClrDefault;
    }
    wxFont* ItemFont(long item, uint32_t, intptr_t) override { return item == 3 ? &bold_ : nullptr; }
    bool WantsCellNotifications(long item, uint32_t, intptr_t) override { return item == 2; }
    uint32_t CellBackColor(long, int subItem, uint32_t, intptr_t) override
    {
        return subItem == 1 ? 0x00FF00 : kClrDefault;
    }
    bool DrawsItem(long item, uint32_t, intptr_t) override { return item == 4; }
    bool DrawItemCustom(ListDrawContext& context, long, uint32_t, intptr_t) override
    {
        if (!context.dc) return false;
        context.dc->SetBrush(*wxYELLOW_BRUSH);
        context.dc->DrawRectangle(context.rect);
        if (!drawn_) driver_.Log("list: row 4 drawn by the list");
        drawn_ = true;
        return true;
    }

protected:
    wxString OnGetItemText(long item, long column) const override
    {
        return wxString::Format("row %ld cell %ld", item, column);
    }

private:
    CTestDriver& driver_;
    wxFont bold_ = wxFont(wxFontInfo(10).Bold());
    bool drawn_ = false;
};

} // namespace

CTestDriver::CTestDriver(const std::string& scriptPath)
    : finished_(std::make_shared<std::atomic<bool>>(false))
{
    if (const char* log = std::getenv("ZIB_TEST_LOG"); log && *log) log_ = std::fopen(log, "a");
    std::ifstream script(scriptPath);
    std::string line;
    while (std::getline(script, line)) {
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
    *finished_ = true;
    Unregister();
    if (log_) std::fclose(log_);
}

namespace {
std::map<std::string, CTestDriver::DialogRunner>& dialogRunners()
{
    static std::map<std::string, CTestDriver::DialogRunner> runners;
    return runners;
}
} // namespace

void CTestDriver::RegisterDialog(const std::string& name, DialogRunner runner)
{
    dialogRunners()[name] = std::move(runner);
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
    Log("exit");
    *finished_ = true;
}

void CTestDriver::Next()
{
    if (commands_.empty()) {
        Log("script-end");
        if (CMainFrame* frame = CMainFrame::Get()) frame->Close(true);
        return;
    }
    Words command = commands_.front();
    commands_.pop_front();
    // A wait lets the program run (events, child processes) before the next command.
    if (command[0] == "wait") {
        stepTimer_.StartOnce(std::max(1, command.size() > 1 ? std::atoi(command[1].c_str()) : 0));
        return;
    }
    // Waiting for a file to go: checked every 50 ms until it is gone or the time is up.
    if (command[0] == "await-gone" && command.size() > 2) {
        const int left = std::atoi(command[2].c_str());
        if (wxFileExists(wxFromUtf8(command[1])) && left > 0) {
            command[2] = std::to_string(left - 50);
            commands_.push_front(command);
            stepTimer_.StartOnce(50);
            return;
        }
        command = {"log-exists", command[1]};
    }
    Run(command);
    stepTimer_.StartOnce(50);
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
        auto* list = new SampleList(child, *this);
        child->SetSizer(new wxBoxSizer(wxVERTICAL));
        child->GetSizer()->Add(list, 1, wxEXPAND);
        child->Show();
        child->Activate();
        for (auto [item, column] : {std::pair{0L, 0L}, {1L, 0L}, {2L, 1L}, {2L, 0L}, {3L, 2L}})
            Log("list: cell " + std::to_string(item) + "," + std::to_string(column) + " = " +
                list->Describe(item, column));
    } else if (verb == "log-list" && frame) {
        LogActiveList(std::atoi(arg(1).c_str()));
    } else if (verb == "run-dialog") {
        RunDialog(arg(1));
    } else if (verb == "set-playing") {
        wxGetApp().m_Playing = std::atoi(arg(1).c_str());
    } else if (verb == "close" && frame) {
        bool closed = frame->Close();
        Log(std::string("close: ") + (closed ? "closing" : "refused"));
    } else if (verb == "quit" && frame) {
        wxGetApp().m_Playing = 0;
        frame->Close(true);
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
    } else {
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

    if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
        Log("message: title=" + title + " text=" + escaped(box->GetMessage()));
        if (first != "ok" && first != "cancel" && first != "yes" && first != "no") {
            Log(first.empty() ? "unanswered -> cancel" : "answer " + first + " does not fit -> cancel");
            return wxID_CANCEL;
        }
        return idOf(first);
    }
    if (auto* file = dynamic_cast<wxFileDialog*>(dialog)) {
        Log("file-dialog: title=" + escaped(file->GetMessage()) + " dir=" + escaped(file->GetDirectory()) +
            " filter=" + std::to_string(file->GetFilterIndex()) +
            " wildcard=" + escaped(file->GetWildcard()));
        if (first != "path") return wxID_CANCEL;
        int filter = -1;
        const Words& a = answer[0];
        if (a.size() >= 4 && a[2] == "filter") filter = std::atoi(a[3].c_str());
        if (auto* zib = dynamic_cast<CZibFileDialog*>(file))
            zib->SetAnswer(wxFromUtf8(a.size() > 1 ? a[1] : ""), filter);
        return wxID_OK;
    }
    Log("dialog: title=" + title);
    if (answer.empty()) {
        Log("unanswered -> cancel");
        return wxID_CANCEL;
    }
    open_.push_back(dialog);
    dialog->CallAfter([this, dialog, answer] { Act(dialog, answer); });
    // A dialog that the answer does not end goes after a few seconds.
    auto* guard = new wxTimer;
    guard->Bind(wxEVT_TIMER, [this, dialog, guard](wxTimerEvent&) {
        if (std::find(open_.begin(), open_.end(), dialog) != open_.end() && dialog->IsModal()) {
            Log("dialog-timeout");
            dialog->EndModal(wxID_CANCEL);
        }
        guard->Stop();
        wxTheApp->CallAfter([guard] { delete guard; });
    });
    guard->StartOnce(10000);
    return wxID_NONE;
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
        if (a.empty() || !dialog->IsModal()) continue;
        const std::string& verb = a[0];
        const int id = a.size() > 1 ? idOf(a[1]) : 0;
        if (verb == "page") {
            auto* sheet = dynamic_cast<wxPropertySheetDialog*>(dialog);
            const size_t n = size_t(std::atoi(a.size() > 1 ? a[1].c_str() : "0"));
            if (sheet && n < sheet->GetBookCtrl()->GetPageCount()) {
                sheet->GetBookCtrl()->SetSelection(n);
                scope = sheet->GetBookCtrl()->GetPage(n);
                Log("page " + std::to_string(n) + ": " + escaped(sheet->GetBookCtrl()->GetPageText(n)));
            } else {
                Log("page " + std::to_string(n) + ": missing");
            }
            continue;
        }
        if (verb == "log-help") {
            Log(std::string("context-help: ") +
                ((dialog->GetExtraStyle() & wxDIALOG_EX_CONTEXTHELP) ? "1" : "0"));
            continue;
        }
        wxWindow* control = id ? scope->FindWindow(id) : nullptr;
        const std::string value = a.size() > 2 ? a[2] : std::string();
        if (verb == "set" || verb == "type") {
            if (auto* text = dynamic_cast<wxTextCtrl*>(control)) {
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
                combo->SetValue(wxFromUtf8(value));
            } else if (auto* items = dynamic_cast<wxControlWithItems*>(control)) {
                items->SetStringSelection(wxFromUtf8(value));
            }
        } else if (verb == "select") {
            if (auto* items = dynamic_cast<wxControlWithItems*>(control)) {
                items->SetSelection(std::atoi(value.c_str()));
                wxEventType type = dynamic_cast<wxListBox*>(control)    ? wxEVT_LISTBOX
                                   : dynamic_cast<wxComboBox*>(control) ? wxEVT_COMBOBOX
                                                                        : wxEVT_CHOICE;
                wxCommandEvent changed(type, id);
                changed.SetInt(items->GetSelection());
                changed.SetEventObject(control);
                control->ProcessWindowEvent(changed);
            }
        } else if (verb == "check") {
            const bool on = value == "1";
            if (auto* box = dynamic_cast<wxCheckBox*>(control)) {
                box->SetValue(on);
                wxCommandEvent changed(wxEVT_CHECKBOX, id);
                changed.SetInt(on);
                changed.SetEventObject(box);
                box->ProcessWindowEvent(changed);
            } else if (auto* radio = dynamic_cast<wxRadioButton*>(control)) {
                radio->SetValue(true);
                wxCommandEvent changed(wxEVT_RADIOBUTTON, id);
                changed.SetInt(1);
                changed.SetEventObject(radio);
                radio->ProcessWindowEvent(changed);
            }
        } else if (verb == "click") {
            wxCommandEvent click(wxEVT_BUTTON, id);
            wxWindow* target = control ? control : dialog;
            click.SetEventObject(target);
            target->ProcessWindowEvent(click);
        } else if (verb == "enter") {
            wxCommandEvent enter(wxEVT_TEXT_ENTER, id);
            if (control) {
                enter.SetEventObject(control);
                control->ProcessWindowEvent(enter);
            }
        } else if (verb == "log") {
            if (control)
                LogControl(control);
            else
                Log("control " + a[1] + ": missing");
        } else if (verb == "logall") {
            std::vector<wxWindow*> stack(scope->GetChildren().begin(), scope->GetChildren().end());
            while (!stack.empty()) {
                wxWindow* w = stack.front();
                stack.erase(stack.begin());
                if (w->GetId() > 0 && w->GetId() < 5000) LogControl(w);
                for (wxWindow* child : w->GetChildren())
                    stack.push_back(child);
            }
        } else if (verb == "ok" || verb == "cancel" || verb == "yes" || verb == "no") {
            wxCommandEvent click(wxEVT_BUTTON, idOf(verb));
            wxWindow* button = dialog->FindWindow(idOf(verb));
            wxWindow* target = button ? button : dialog;
            click.SetEventObject(target);
            target->ProcessWindowEvent(click);
        }
    }
}

void CTestDriver::RunDialog(const std::string& name)
{
    wxWindow* parent = CMainFrame::Get();
    if (auto it = dialogRunners().find(name); it != dialogRunners().end()) {
        Log(it->second(parent));
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
        Log("new-file: result=" + std::to_string(dlg.ShowModal()));
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
    } else if (auto* items = dynamic_cast<wxControlWithItems*>(w)) {
        line += " selection=" + std::to_string(items->GetSelection()) + " items=";
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

void CTestDriver::Screenshot(const std::string& name)
{
    const char* dir = std::getenv("ZIB_TEST_SHOTS");
    if (!dir || !*dir) return;
    wxScreenDC screen;
    wxSize size = screen.GetSize();
    wxBitmap bitmap(size.x, size.y);
    wxMemoryDC memory(bitmap);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    memory.SelectObject(wxNullBitmap);
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
    bitmap.ConvertToImage().SaveFile(wxFromUtf8(std::string(dir) + "/" + name + ".png"), wxBITMAP_TYPE_PNG);
    Log("screenshot " + name);
}

} // namespace zib
