#pragma once

#include "styles/StyleSeriesTraits.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zib {

class CMidiParserEx;

// What the modal dialogs of the MIDI editors are given and give back. Texts
// are UTF-8 here; the core converts them to the file's Windows-1252 bytes.

// "Paste MIDI events": where and what to paste
struct PasteDlgValues {
    int mode = 1; // 1 pasting into the MIDI document's tracks; else an event list (start track fixed)
    uint32_t startTick = 0;
    int startTrack = 1; // 1-64
    bool oneTrack = false;
    bool trackEvents = true;
    bool markers = true;
    bool tempo = true;
    bool tact = true;
    bool operator==(const PasteDlgValues&) const = default;
};

// "Copy MIDI Events": the kinds the From-Thru copy takes
struct CopyEventKinds {
    bool trackEvents = true;
    bool tempo = true;
    bool tact = true;
    bool markers = false;
    bool operator==(const CopyEventKinds&) const = default;
};

// "Track Properties": the values of one track; `changed` is set by OK when
// any of them differs from the values given
struct TrackPropertiesValues {
    int track = 1;  // shown in the title
    int column = 0; // the clicked column
    std::string name;
    uint32_t input = 0; // record-input code
    uint8_t channel = 255;
    int port = 0;
    uint16_t bank = 0xFF00; // MSB high (255: none), LSB low
    uint8_t program = 255;
    uint8_t volume = 100;
    uint8_t pan = 0;
    bool channelEvents = true; // the track holds channel events
    bool changed = false;
    bool operator==(const TrackPropertiesValues&) const = default;
};

// "Edit MIDI Event Code Dialog": the event and its owner, and the answer
struct EventCodeDlgValues {
    uint8_t oldStatus = 0;
    uint8_t metaType = 0; // 0 for a channel event
    uint32_t docKind = 1;
    uint32_t modelLetter = 0;
};
struct EventCodeChoice {
    uint8_t status = 0;
    uint8_t metaType = 0;
    bool operator==(const EventCodeChoice&) const = default;
};

// "Tempo (Beats Per Minute)", "Marker", "Time Signature"
struct TempoDlgValues {
    uint32_t tick = 0;
    int bpm = 120;
};
struct MarkerDlgValues {
    std::string caption;
    std::string text;
    uint32_t tick = 0;
};
struct TimeSigDlgValues {
    uint32_t measure = 0; // from 0
    uint8_t numerator = 4;
    uint8_t denominator = 4; // a note value
    bool edit = false;
};

// The two markers of the bar view
struct FromThruTicks {
    uint32_t from = 0;
    uint32_t thru = 0;
};

// The target of a MIDI-to-style conversion and, for the Wq series, its model
struct MidiToStyleTarget {
    std::filesystem::path path;
    uint32_t model = 'F';
};

// The modal dialogs of the MIDI editors. Each answers Cancel here; the window
// issue runs the real dialogs, a test answers what it needs.
class MidiDocDialogs {
public:
    virtual ~MidiDocDialogs();

    // "Get MIDI Transpose Value": the signed amount in semitones
    virtual std::optional<int> TransposeAmount() { return std::nullopt; }
    // "Shift MIDI Events": the TO tick for the FROM tick
    virtual std::optional<uint32_t> ShiftTo(const CMidiParserEx& /*map*/, uint32_t /*from*/, uint32_t /*to*/)
    {
        return std::nullopt;
    }
    virtual std::optional<PasteDlgValues> PasteEvents(const CMidiParserEx& /*map*/, const PasteDlgValues& /*values*/)
    {
        return std::nullopt;
    }
    virtual std::optional<CopyEventKinds> CopyMidiEvents(const CopyEventKinds& /*kinds*/) { return std::nullopt; }
    // "MIDI Clock": the new division
    virtual std::optional<uint16_t> MidiClock(uint16_t /*division*/) { return std::nullopt; }
    virtual std::optional<TrackPropertiesValues> TrackProperties(const TrackPropertiesValues& /*values*/)
    {
        return std::nullopt;
    }
    virtual std::optional<EventCodeChoice> EditEventCode(const EventCodeDlgValues& /*values*/)
    {
        return std::nullopt;
    }
    virtual std::optional<TempoDlgValues> Tempo(const CMidiParserEx& /*map*/, const TempoDlgValues& /*values*/)
    {
        return std::nullopt;
    }
    virtual std::optional<MarkerDlgValues> Marker(const CMidiParserEx& /*map*/, const MarkerDlgValues& /*values*/)
    {
        return std::nullopt;
    }
    virtual std::optional<TimeSigDlgValues> TimeSignature(const CMidiParserEx& /*map*/,
                                                          const TimeSigDlgValues& /*values*/)
    {
        return std::nullopt;
    }
    // "Set From/Thru position"
    virtual std::optional<FromThruTicks> FromThru(const CMidiParserEx& /*map*/, const FromThruTicks& /*ticks*/)
    {
        return std::nullopt;
    }
    // "Go To dialog"
    virtual std::optional<uint32_t> GoTo(const CMidiParserEx& /*map*/, uint32_t /*tick*/) { return std::nullopt; }
    // The Record Input dialog on the 64 record-input codes, with a track row
    // selected (64 or more: the first)
    virtual std::optional<std::array<uint32_t, 64>> RecordInput(const std::array<uint32_t, 64>& /*codes*/,
                                                                int /*selectedRow*/)
    {
        return std::nullopt;
    }
    // "Midi Record settings": the echo mask
    virtual std::optional<uint16_t> RecordSettings(uint16_t /*echoChannels*/) { return std::nullopt; }
    // "MIDI File Text Dump": the chosen file
    virtual std::optional<std::filesystem::path> DumpTarget(const std::string& /*defaultName*/,
                                                            const std::filesystem::path& /*folder*/)
    {
        return std::nullopt;
    }
    // The Save As dialog of a MIDI-to-style conversion (Wq series: with its model list)
    virtual std::optional<MidiToStyleTarget> MidiToStyleFile(StyleSeries /*series*/, const std::string& /*defaultName*/,
                                                             const std::filesystem::path& /*folder*/,
                                                             uint32_t /*model*/)
    {
        return std::nullopt;
    }
};

// The dialogs that always cancel.
MidiDocDialogs& NoDialogs();

} // namespace zib
