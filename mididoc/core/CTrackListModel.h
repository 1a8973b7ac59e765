#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

class CTrackNameSource;
class MidiDocModel;

// What the track list of a MIDI document shows and how it answers the mouse:
// one row per track record (64), 14 columns, cell texts and colours, and the
// switches a click or double click toggles. The list window stays a thin
// shell over it.
class CTrackListModel {
public:
    // Columns
    enum Column {
        kNumberColumn = 0,
        kNameColumn = 1,
        kSoloColumn = 2,
        kMuteColumn = 3,
        kRecordColumn = 4,
        kChannelColumn = 5,
        kInPortColumn = 6,
        kOutPortColumn = 7,
        kBankColumn = 8,
        kPatchColumn = 9,
        kVolumeColumn = 10,
        kPanColumn = 11,
        kSizeColumn = 12,
        kFillerColumn = 13,
    };
    static constexpr int kColumnCount = 14;
    enum class Align { Left, Center };
    struct ColumnDef {
        std::string_view text; // English header text
        int width;             // pixels
        Align align;
    };
    static const std::array<ColumnDef, kColumnCount>& Columns();

    // Cell background colours (0x00BBGGRR); kDefaultColor keeps the list's own
    static constexpr uint32_t kDefaultColor = 0xFF000000;
    static constexpr uint32_t kArmedColor = 0x0000FF;  // red
    static constexpr uint32_t kSoloedColor = 0x00FFFF; // yellow
    static constexpr uint32_t kMutedColor = 0x00FF00;  // green

    // What a single click asks the window to do
    enum class ClickAction {
        None,
        OpenEventEditor,  // column 0
        Redraw,           // a track not in use was marked in use
        TrackProperties,  // other columns
        LiveVolume,       // while playing: the value dialog over the Vol cell
        LivePan,          // ... over the Pan cell
    };

    CTrackListModel(MidiDocModel& doc, const CTrackNameSource& names) : m_doc(doc), m_names(names) {}

    int RowCount() const;
    // Texts are Windows-1252 bytes; a row not in use shows only its number
    std::string CellText(int row, int column) const;
    uint32_t CellBackColor(int row, int column) const;
    // The In Port text of a record-input code
    static std::string InPortText(uint32_t code);

    // Mouse
    ClickAction Click(int row, int column, bool playing);
    // The double click on the S, M or R cell; true when a switch changed
    bool DoubleClick(int row, int column);
    // The rows selected in the list become the document's row selection flags
    void NoteSelectedRows(const std::vector<int>& rows);
    // A value from the live volume or pan dialog (clamped to 127)
    void ApplyLiveValue(int row, int column, int value);

private:
    MidiDocModel& m_doc;
    const CTrackNameSource& m_names;
};

} // namespace zib
