#pragma once

#include <cstdint>
#include <optional>

namespace zib {

// The "Edit MIDI Event Code Dialog" without its window: which button starts
// checked, which buttons are enabled, and the status and meta type that OK
// gives back.
class EditEventCodeDlgModel {
public:
    // Buttons, in the order OK reads them
    enum Button { kNote, kKeyPressure, kController, kProgramChange, kChannelAftertouch, kPitchWheel, kText, kLyric,
                  kMarker, kButtonCount };

    EditEventCodeDlgModel(uint8_t oldStatus, uint8_t metaType, uint32_t docKind, uint32_t modelLetter);

    // The button checked on opening (none for system-exclusive and other events)
    std::optional<Button> InitialButton() const;
    // A style document disables Text, Lyric and Marker; a Qe-series style
    // also Key Pressure, Program Change and Channel Aftertouch
    bool Enabled(Button button) const;
    // OK with the checked button (none: the old status and type stay)
    struct Result {
        uint8_t status = 0;
        uint8_t metaType = 0;
        bool operator==(const Result&) const = default;
    };
    Result Ok(std::optional<Button> checked) const;

private:
    bool QeStyle() const;

    uint8_t m_oldStatus;
    uint8_t m_metaType;
    uint32_t m_docKind;
    uint32_t m_modelLetter;
};

} // namespace zib
