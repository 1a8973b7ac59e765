#pragma once

#include "mididoc/core/EditResult.h"
#include "mididoc/core/EventListPolicy.h"

#include <array>
#include <memory>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

class CMidiEvent;
class CMidiParserEx;
class EventListOwner;
class PairIndex;

// The event list of an editor frame, without its window: which events of the
// owner's sequence have rows, what every cell says and how it is coloured,
// what a double click opens and what a committed cell changes, and the list's
// commands (create, delete, copy, paste, dump, transpose, shift). One model
// serves the whole-file list of a MIDI document and the pad-track and
// style-track lists; EventListPolicy says where they part.
//
// Rows: one per event with a non-zero visible value, in array order, then the
// trailing row (no event). Commands take the selected rows from the window
// and refill the rows themselves; the window owns selection and scrolling.
// Every edit is recorded in the owner's undo manager before it is applied,
// marks the changed tracks and the document modified, and is refused while
// the owner plays.
class EventListModel {
public:
    // Columns
    enum Column {
        kTrackColumn = 0,
        kTimeColumn = 1,
        kPositionColumn = 2,
        kChannelColumn = 3,
        kCodeColumn = 4,
        kDataColumn = 5,
        kValueColumn = 6,
        kDurationColumn = 7,
        kEndColumn = 8,
    };
    static constexpr int kColumnCount = 9;
    struct ColumnDef {
        int width;
        std::string_view header;
    };
    static const std::array<ColumnDef, kColumnCount>& Columns();

    // Category show flags (index): 0 notes, 1 controllers, 2 program changes,
    // 3 pitch wheel, 4 key pressure, 5 channel pressure, 8 system exclusive and meta
    enum Category { kNotes = 0, kControllers = 1, kPrograms = 2, kWheel = 3, kKeyPressure = 4,
                    kChannelPressure = 5, kTexts = 8 };

    // Colours (0x00BBGGRR); kDefaultColor keeps the list's own
    static constexpr uint32_t kDefaultColor = 0xFF000000;
    static constexpr uint32_t kRed = 0x0000FF;
    static constexpr uint32_t kYellow = 0x00FFFF;

    // Row marks
    static constexpr uint16_t kMarkSelectAgain = 66;
    static constexpr uint16_t kMarkDelete = 44;
    static constexpr uint16_t kMarkShift = 55;

    explicit EventListModel(EventListOwner& owner);

    const EventListPolicy& Policy() const { return m_policy; }

    // Binding: the tracks shown (index = track 0..64; 0 is never listed)
    void SetShownTracks(const std::array<uint8_t, 65>& shown);
    void ShowOnlyTrack(int track);
    const std::array<uint8_t, 65>& ShownTracks() const { return m_shown; }
    int FirstShownTrack() const; // 0 when none
    // Filters: toggling a category (1 becomes 0, anything else 1)
    uint32_t CategoryFlag(int category) const { return m_categories[size_t(category)]; }
    void SetCategoryFlag(int category, uint32_t value) { m_categories[size_t(category)] = value; }
    void ToggleCategory(int category);

    // Rows
    bool RefillRows();
    int RowCount() const { return int(m_rows.size()) + 1; }
    int TrailingRow() const { return int(m_rows.size()); }
    CMidiEvent* RowEvent(int row) const;
    int RowOfEvent(const CMidiEvent* event) const; // -1 when it has no row

    // Cell texts (UTF-8) and colours
    std::string CellText(int row, int column) const;
    uint32_t CellTextColor(int row) const;
    // focused: the row has the focus state
    uint32_t CellBackColor(int row, int column, bool focused) const;
    uint32_t RowBackColor() const;

    // The current cell
    int CurrentRow() const { return m_currentRow; }
    int CurrentColumn() const { return m_currentColumn; }
    void SetCurrentRow(int row) { m_currentRow = row; }
    void SetCurrentCell(int row, int column);

    // Double click: what editing the cell means, with the editor's start values
    struct CellEditStart {
        enum class What { None, EventCode, Editor };
        What what = What::None;
        int row = -1;
        int column = -1;
        uint8_t statusClass = 0; // high nibble of a channel event, else the status
        uint8_t channel = 1;     // 1-16
        uint32_t time = 0;
        uint8_t data1 = 0;
        uint8_t data2 = 0;
        uint32_t duration = 0;
        uint8_t metaType = 1;
        std::string text;        // a meta event's text as the editor starts with it (UTF-8)
        uint32_t textLength = 0; // the text's bytes in the file
    };
    CellEditStart DoubleClickCell(int row, int column);
    // What the cell editor hands back: the number of its column (time, ticks
    // of the position, channel 1-16, note, data byte, 14-bit wheel value,
    // second data byte, duration), or a meta event's text (UTF-8)
    struct CellEditValue {
        uint32_t number = 0;
        std::string text;
    };
    EditResult CommitCellEdit(const CellEditStart& start, const CellEditValue& value);
    // Column 4: the event code dialog, then the change of kind
    EditResult EditEventCode(int row);

    // Commands. `rows` are the selected rows.
    EditResult DeleteSelectedEvents(const std::vector<int>& rows);
    // Insert item at the selected and focused row (-1 none); the new event's
    // row is stored in `newRow`
    EditResult OnCreateEvent(int row, int& newRow);
    EditResult CopyToClipboard(const std::vector<int>& rows);
    // The paste; `startTick` is where the whole-file list starts (the bar
    // view's position); a track list starts at its first selected event
    EditResult PasteEvents(const std::vector<int>& rows, uint32_t startTick);
    EditResult TransposeEvents(const std::vector<int>& rows);
    EditResult ShiftEvents(const std::vector<int>& rows);
    // "EventListTxtDump.txt" in the owner's folder, titled with the frame's title (UTF-8)
    EditResult OnUtilDumpToText(std::string_view title);

    // Event-order helpers
    size_t MoveEventToTime(size_t index, uint32_t oldTime, uint32_t newTime);
    int64_t FindPartnerEvent(size_t index) const;

    // Row look-ups: each returns the row it makes current
    int SelectEventRow(uint32_t eventIndex);
    // The last row whose event is not after the tick (0 when none is)
    int RowBeforeTick(uint32_t tick) const;
    // That row becomes current when the played tick moved
    int FollowTick(uint32_t tick);
    int SelectMarkedRow();

private:
    CMidiParserEx* Sequence() const;
    bool Refused() const;
    void Modified(int track);
    void TrackCountsChanged(int track);
    void ExchangeContents(CMidiEvent& a, CMidiEvent& b);
    std::string DataText(const CMidiEvent& e) const;
    bool RecordModify(const CMidiEvent& e, uint32_t groupStart, size_t index, size_t second);
    bool RecordInsert(size_t index, uint32_t groupStart);
    int64_t PartnerOf(size_t index, const PairIndex* pairs) const;
    size_t InsertAfter(size_t index, std::unique_ptr<CMidiEvent> event);
    std::unique_ptr<CMidiEvent> NewNoteOff(const CMidiEvent& noteOn, uint32_t time);
    uint32_t TicksPerBeatAt(uint32_t time) const;
    void ReportNoMemory(std::string_view caption);

    // The note helpers of the edits
    bool MoveNote(size_t index, uint32_t oldTime, uint32_t newTime, size_t& finalIndex);
    bool SetNoteChannel(size_t index, uint8_t status);
    bool SetNoteNumber(size_t index, uint8_t note, uint32_t groupStart, const PairIndex* pairs);
    bool SetNoteDuration(size_t index, uint32_t duration);
    EditResult CommitTime(CMidiEvent& e, uint32_t newTime);
    EditResult CommitMetaText(CMidiEvent& e, const std::string& utf8);
    EditResult CommitNoteOffValue(CMidiEvent& e, uint8_t velocity, std::optional<uint32_t> duration);

    EventListOwner& m_owner;
    EventListPolicy m_policy;
    std::vector<CMidiEvent*> m_rows;
    std::array<uint8_t, 65> m_shown{};
    std::array<uint32_t, 10> m_categories{};
    int m_currentRow = -1;
    uint32_t m_followTick = UINT32_MAX; // the played tick the current row followed last
    int m_currentColumn = -1;
};

} // namespace zib
