#pragma once

#include <string>
#include <string_view>

namespace zib {

// One message box of the MIDI document core: a numbered message of the
// localized table, or (number kNoMessage) a text of the user-interface table
// with one "%s" that `extra` fills; the caption is the operation's name.
struct DocMessage {
    static constexpr int kNoMessage = -1;
    enum class Icon { Exclamation, Stop, Information, Question };

    int message = kNoMessage;
    std::string uiText; // English key of the text table, used without a number
    std::string extra;  // UTF-8
    std::string caption;
    Icon icon = Icon::Exclamation;

    bool operator==(const DocMessage&) const = default;
};

// The message boxes, the Yes/No question and the wait cursor of the MIDI
// document core. Each does nothing here (the question answers No); the window
// issue shows them, a test records them.
class MidiDocReports {
public:
    virtual ~MidiDocReports();

    virtual void Report(const DocMessage& /*message*/) {}
    virtual bool AskYesNo(const DocMessage& /*question*/) { return false; }
    virtual void BeginWait() {}
    virtual void EndWait() {}
};

// The reports that show nothing.
MidiDocReports& NoReports();

// The wait cursor for the length of a scope.
class WaitCursor {
public:
    explicit WaitCursor(MidiDocReports& reports) : m_reports(reports) { m_reports.BeginWait(); }
    ~WaitCursor() { m_reports.EndWait(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    MidiDocReports& m_reports;
};

} // namespace zib
