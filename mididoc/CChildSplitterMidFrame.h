#pragma once

#include "ui/CChildFrames.h"
#include "mididoc/core/MidiCommandState.h"

#include <memory>

class wxSplitterWindow;

namespace zib {

class CMidiWindowPlayer;
class CZibMidWxDoc;
class CZibMidView;

// The MDI child frame of a MIDI document: a splitter with the track list on
// the left and the bar view on the right, whose player is the document's
// transport.
// It takes the commands of the document menu and the MIDI bars while it is
// active, enables them by MidiCommandState, and stays open while MIDI plays.
class CChildSplitterMidFrame : public CZibDocChildFrame {
public:
    CChildSplitterMidFrame();
    ~CChildSplitterMidFrame() override;

    ChildKind Kind() const override { return ChildKind::ChildSplitterMid; }

    // The splitter the panes are made in (created on first use)
    wxSplitterWindow* Splitter();
    // Puts the track list, `trackListWidth` pixels wide, on the left and the
    // bar view with the document's player on the right
    void SetPanes(wxWindow* trackList, int trackListWidth);
    CMidiWindowPlayer* Player() const { return m_player.get(); }
    // The player and its bar view go before the document does
    void DropPlayer();

    // The MIDI bars show the document's position, markers, tempo and loop
    // switch (when its window becomes active, and once it is filled)
    static void ShowTransport(CZibMidWxDoc& doc);

    // The document's commands the MIDI window runs itself (transport, walk,
    // track edits, setup); the event editors run them the same way, except
    // that Set Thru takes the exact position there.
    static bool IsDocumentCommand(int command);
    static void RunDocumentCommand(CZibMidWxDoc& doc, int command, bool exactThru);

    // What the document's commands are enabled by, in any of its windows
    // (`clipboard`: whether to ask the clipboard for the private format)
    static MidiCommandContext CommandContext(CZibMidWxDoc& doc, CZibMidView* trackList, bool clipboard);

private:
    CZibMidWxDoc* Doc() const;
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnCloseWindow(wxCloseEvent& event);
    void OnIdle(wxIdleEvent& event);

    wxSplitterWindow* m_splitter = nullptr;
    std::unique_ptr<CMidiWindowPlayer> m_player;

    wxDECLARE_DYNAMIC_CLASS(CChildSplitterMidFrame);
};

} // namespace zib
