#pragma once

#include "devices/core/BarGridModel.h"
#include "devices/core/PlaybackEngine.h"
#include "devices/WxPlaybackUi.h"

#include <functional>
#include <memory>
#include <wx/window.h>

class wxTextCtrl;

namespace zib {

class IPlaybackDocument;
class PlaybackHost;

// The MIDI bar view: the grid of measures beside the track list, with its
// own header strip of measure numbers, and the owner of the document's
// player. The window only replays what BarGridModel paints and shows what
// the PlaybackEngine reports; the position cursor is a line over the grid.
// The MIDI frame binds its position, From, Thru and tempo windows (any may
// be absent), or its own side of the reports (the texts, the open editors,
// the end of a run), and routes the transport commands to Engine().
class CZibMidBarView : public wxWindow, public WxPlaybackUi {
public:
    struct Windows {
        wxTextCtrl* position = nullptr;
        wxTextCtrl* from = nullptr;
        wxTextCtrl* thru = nullptr;
        wxTextCtrl* tempo = nullptr;
        // Takes the position, marker and tempo texts, the editors' reports
        // and the end of a run as well (the MIDI child frame's side)
        PlaybackUi* frame = nullptr;
    };

    CZibMidBarView(wxWindow* parent, IPlaybackDocument& document, PlaybackHost& host, Windows windows);
    // Closes the player's streams and inputs in any state
    ~CZibMidBarView() override;

    PlaybackEngine& Engine() { return *m_engine; }

    // Fills the view from its document; false, with the warning, when the
    // song has 2000 measures or more
    bool PopulateView();
    // A row's selection as the track list sets it (row 0-63)
    void SetRowSelected(int row, bool selected);
    // Scrolling mirrored from the track list: to a vertical position (pixels),
    // and its navigation keys: Page Up and Down page, Home and End go to the
    // first and last column, Left and Right move a column, Up and Down a row
    void ScrollToVPos(int pos);
    void HandleNavKey(int keyCode);
    int ScrollX() const;
    int ScrollY() const;
    // The header strip as high as the list beside it has its header, so
    // that the rows of both line up
    void SetHeaderHeight(int height);
    // The rows' height and a measure's width in pixels (the list beside the
    // rows takes their height too)
    int RowHeight() const { return m_grid.RowHeight(); }
    int MeasureWidth(uint32_t measure) const { return m_grid.ColumnWidthOf(measure); }
    // Told the first row shown whenever the grid scrolls vertically (the
    // track list beside it follows)
    void OnRowsScrolled(std::function<void(int topRow)> follow) { m_rowsScrolled = std::move(follow); }

    // PlaybackUi
    void RequestDelivery() override;
    void SetPositionText(const std::string& text) override;
    void SetFromText(const std::string& text) override;
    void SetThruText(const std::string& text) override;
    void SetTempoText(const std::string& text) override;
    void DrawCursor() override;
    void SetLoopButton(bool on) override;
    void EditorsFollowTick(uint32_t tick) override;
    void SyncEditorsToTick(uint32_t tick) override;
    void EditorsToEventIndex(int64_t index) override;
    void RefreshTempoEditor() override;
    void RefreshEventEditor() override;
    void PlaybackFinished(bool sequenceChanged) override;

    class Grid;
    class Header;

private:
    friend class Grid;
    friend class Header;
    void PaintGrid(wxDC& dc, int scrollX, int scrollY, int width, int height);
    void PaintHeader(wxDC& dc, int width);
    void OnHeaderClick(int x);
    void RowsScrolled();

    IPlaybackDocument& m_document;
    PlaybackHost& m_host;
    Windows m_windows;
    BarGridModel m_grid;
    std::array<bool, BarGridModel::kRows> m_selected{};
    std::unique_ptr<PlaybackEngine> m_engine;
    Header* m_header = nullptr;
    Grid* m_canvas = nullptr;
    bool m_filled = false;
    int m_cursorX = -1;
    std::function<void(int)> m_rowsScrolled;
    int m_topRow = 0;
};

} // namespace zib
