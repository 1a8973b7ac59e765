#pragma once

#include "mididoc/core/PositionDlgModels.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// What an event list hands the in-place cell editor: the cell and the values
// of the event in its row.
struct CellEditStart {
    int ownerKind = -1;   // the list's document kind (2: a style document)
    int row = -1;
    int column = -1;      // the mode: 1 time, 2 M:B:T, 3 channel, 5 data, 6 data 2, 7 duration
    uint8_t channel = 1;  // 1-16
    uint8_t statusClass = 0; // high nibble for channel events; 0xF0 and above otherwise
    uint32_t time = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t duration = 0;
    std::string dataBytes; // text or system-exclusive data of a meta or sysex event (file bytes)
};

// What OK hands back to the list, which commits the one value of its column.
struct CellEditResult {
    int row = -1;
    int column = -1;
    uint32_t time = 0;
    uint8_t channel = 1;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    uint32_t duration = 0;
    // The edited text of a meta or sysex event (file bytes) and the text the
    // editor started from: a text equal to its start changes nothing, so a
    // long text shown shortened is never cut by an unchanged Enter.
    std::string text;
    std::string startText;
    bool TextChanged() const { return text != startText; }
};

// The in-place editor of one event-list cell: its text, limits, spin button,
// typing rules and the value it commits. Texts in and out are UTF-8; the
// length limits count the file's bytes.
class EventCellEditModel {
public:
    // Modes the editor takes. Nothing for the event code (edited by its
    // dialog) and for columns it does not edit.
    static std::optional<EventCellEditModel> Start(const CellEditStart& start, const MeasureContext* context);

    // The editor as it opens
    const std::string& Text() const { return text_; }
    size_t Limit() const { return limit_; } // characters; 0: none
    bool ReadOnly() const { return readOnly_; }
    bool SelectAll() const { return !isText(); }
    bool HasSpin() const { return hasSpin_; }
    int SpinMin() const { return spinMin_; }
    int SpinMax() const { return spinMax_; }
    int SpinPosition() const { return spinPosition_; }
    int Mode() const { return start_.column; }

    // Typing: whether a character reaches the text. Enter is accepted where
    // the editor commits on it.
    bool AcceptsChar(char32_t c) const;

    // A change of the text: nothing to do, or the text to write back (caret
    // at its end) with a bell when a typed value was over its limit.
    struct Correction {
        std::string text;
        bool bell = false;
    };
    std::optional<Correction> TextChanged(std::string_view text);

    // One step of the spin button (+1 or -1) over the current text: the new text.
    std::string Spin(int step, std::string_view text);
    // After a duration step: the end position the row's next column shows,
    // "???:??:???" for a style owner when it lies at measure 16 or later.
    const std::string& DurationEndText() const { return durationEnd_; }

    // Whether OK can take the text: a cell that holds a number (time,
    // position, data value, duration) needs at least one digit. A text that
    // does not parse is kept in the editor, which says so and stays open.
    bool Parses(std::string_view text) const;
    // What the editor says then (an English key of the program's texts)
    static constexpr std::string_view kNoNumberMessage = "The cell needs a number.";

    // OK (Enter) with the current text.
    CellEditResult Ok(std::string_view text) const;

private:
    EventCellEditModel(const CellEditStart& start, const MeasureContext* context);
    bool isText() const;
    bool isPitchWheel() const;
    bool isNote() const;
    std::string endText(uint32_t endTick) const;

    CellEditStart start_;
    const MeasureContext* context_ = nullptr;
    std::string text_;
    std::string startText_; // the text shown at start, as file bytes (text mode)
    std::string durationEnd_;
    size_t limit_ = 0;
    bool readOnly_ = false;
    bool hasSpin_ = false;
    int spinMin_ = 0;
    int spinMax_ = 0;
    int spinPosition_ = 0;
    // Values as typed or stepped
    uint32_t time_ = 0;
    int channel_ = 1;
    int data1_ = 0;
    int data2_ = 0;
    int wheel_ = 0;
    uint32_t duration_ = 0;
};

} // namespace zib
