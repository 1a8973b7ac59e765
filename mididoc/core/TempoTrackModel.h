#pragma once

#include "mididoc/core/EditResult.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

class CMidiEvent;
class MidiDocModel;
class RetimeStep;
struct EventSnapshot;

// The master-track (tempo track) list of a MIDI document without its window:
// the events of track 0 of one view kind, their cell texts, what Insert item
// creates, and the create, edit, delete and shift commands of tempo,
// time-signature, marker, text and lyric events. Every change is recorded as
// a master-track event (target 1) in the document's undo manager, keeps the
// array sorted by time, and, for time signatures, rewrites the map and
// re-times every event. Refused while the document plays.
class TempoTrackModel {
public:
    // View kinds
    enum ViewKind { kTimeSignatures = 0, kMarkers = 1, kTempo = 2, kLyrics = 3, kSysEx = 4, kAll = 5 };

    struct ColumnDef {
        int width;
        std::string_view header;
    };
    static const std::array<ColumnDef, 5>& Columns();

    TempoTrackModel(MidiDocModel& doc, int viewKind);

    // The view kind (any value outside 0-4 shows all events); its show flags,
    // the frame's title for a document title, and its icon
    void SetViewKind(int kind);
    int ViewKind() const { return m_kind; }
    bool ShowFlag(int kind) const { return m_show[size_t(kind)] != 0; }
    std::string Title(std::string_view documentTitle) const;
    int IconId() const;

    // Rows: the matching events of track 0 in array order, then the end row
    bool RefillList();
    int RowCount() const { return int(m_rows.size()) + 1; }
    int EndRow() const { return int(m_rows.size()); }
    CMidiEvent* RowEvent(int row) const;
    std::string CellText(int row, int column) const; // UTF-8

    // Selection: each returns the row it makes current
    int CurrentRow() const { return m_currentRow; }
    void SetCurrentRow(int row) { m_currentRow = row; }
    // The last row whose event is not after the tick (the player's position)
    int SelectRowBeforeTick(uint32_t tick);
    int SelectRowAtEvent(uint32_t eventIndex);
    // A click on a row: the event the bar view moves to (the row before the
    // end row; 0 when the list holds only the end row)
    uint32_t ClickedEventIndex(int row) const;

    // What Insert item makes from the focused and selected row (-1: none)
    enum class Creation { Nothing, Marker, Lyric, Tempo, TimeSignature };
    Creation InsertChoice(int row) const;
    // Commands; `row` is the focused and selected row (-1: none)
    EditResult InsertTempoTrackEvent(int row);
    EditResult CreateTempoEvent(int row);
    EditResult CreateMarkerEvent(int row, uint8_t type);
    EditResult CreateTimeSigEvent(int row, bool edit);
    EditResult EditTempoTrackEvent(int row);
    EditResult EditTempoEvent(int row);
    EditResult EditMarker(int row, uint8_t type);
    EditResult DeleteSelectedEvents(const std::vector<int>& rows);
    EditResult ShiftEvents(const std::vector<int>& rows);
    // Command states: Delete (in the time-signature view not on the first
    // row) and Shift (not in the time-signature and all-events views)
    bool DeleteEnabled(int selectedRow) const;
    bool ShiftEnabled() const;

    // BPM accepted by the tempo commands
    static constexpr int kMinBpm = 4;
    static constexpr int kMaxBpm = 250;

private:
    bool Matches(const CMidiEvent& e) const;
    const CMidiEvent* FocusEvent(int row) const;
    uint32_t DefaultTime(int row) const;
    // `retime`: the change of the map that came before (a new time signature)
    EditResult InsertMasterEvent(std::vector<uint8_t> raw, uint32_t time, const char* caption,
                                 std::shared_ptr<const RetimeStep> retime = {});
    size_t IndexOf(const CMidiEvent* e) const;
    int RowOfIndex(size_t index) const;
    void Changed();
    EditResult FinishEdit(CMidiEvent& e, size_t index, const EventSnapshot* before, uint32_t tick);

    MidiDocModel& m_doc;
    int m_kind = kAll;
    std::array<uint32_t, 6> m_show{};
    std::vector<CMidiEvent*> m_rows;
    int m_currentRow = -1;
};

} // namespace zib
