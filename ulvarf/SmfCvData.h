#pragma once

#include "ulvarf/QeTime.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zib::ulvarf {

// The plain data one chord variation exchanges with a Standard MIDI File
// (CDecSMF0::ImportCv, CEncoderSMF0::ExportCv). The style model fills the
// export data and applies the import result.

// Style track t plays on MIDI channel kStyleTrackChannel[t] (zero-based:
// channels 10, 11, 9, 12-16 as musicians count them).
inline constexpr std::array<uint8_t, 8> kStyleTrackChannel = {9, 10, 8, 11, 12, 13, 14, 15};

// The style track of a MIDI channel, or -1 when no style track plays on it.
constexpr int StyleTrackOfChannel(uint8_t channel)
{
    for (int t = 0; t < 8; ++t)
        if (kStyleTrackChannel[size_t(t)] == channel) return t;
    return -1;
}

// A time signature as the element keeps it.
struct SmfSignature {
    uint8_t numerator = 4;
    uint8_t log2Denominator = 2;

    // Ticks of one bar (384 per quarter note); 0 when the signature has none.
    uint32_t BarLength() const { return ulvarf::BarLength(numerator, log2Denominator); }
    // Storable in every signature form of the style: numerator 1-16,
    // denominator 1-16.
    bool IsValid() const { return numerator >= 1 && numerator <= 16 && log2Denominator <= 4; }
    bool operator==(const SmfSignature&) const = default;
};

// Bytes 0-3 of a style element track record.
struct SmfTrackSetup {
    uint8_t expression = 100;
    uint8_t bankMsb = 0;
    uint8_t bankLsb = 0;
    uint8_t program = 0;
    bool operator==(const SmfTrackSetup&) const = default;
};

// Import

// The target chord variation's element as it stands before the import.
struct SmfImportTarget {
    int tempo = 120;              // the style tempo (BPM)
    bool elementHasData = false;  // some CV of the element is not empty
    SmfSignature signature;       // the element's
    std::array<SmfTrackSetup, 8> setups{};
};

// One style track's pattern after the import.
struct SmfImportTrack {
    bool created = false;         // false: the pattern stays (or is set back to) not created
    std::vector<uint8_t> stream;  // property event stream ending with its end of track
    uint32_t length = 0;          // pattern length in ticks (the end of track's tick)
    uint32_t bars = 0;            // the length rounded up to whole bars: the value to ask
                                  // the model's pattern-bars rule for
};

// What the import gives the style.
struct SmfImportResult {
    std::optional<int> tempo;     // the file's first valid tempo (BPM): the new style tempo
    SmfSignature signature;       // the element's signature after the import
    std::array<SmfTrackSetup, 8> setups{}; // the element's track records after the import
    uint32_t bars = 1;            // the CV's bars (1-32)
    uint32_t length = 0;          // the CV's length: bars x bar length
    // The CV's own control stream: its tempo changes as control events
    // (0x7E: 2, percent of the style tempo), ending at the CV length.
    std::vector<uint8_t> controlStream;
    std::array<SmfImportTrack, 8> tracks{};
};

// Export

// One style track of the chord variation.
struct SmfExportTrack {
    bool created = false;           // only created patterns are written
    SmfTrackSetup setup;            // the element's track record
    std::span<const uint8_t> stream; // the pattern's property event stream
    // Repetition period in ticks: the pattern's bars, brought to a divisor
    // of the CV's bars, x the bar length. 0 plays the pattern once.
    uint32_t patternLength = 0;
};

struct SmfExportCv {
    int tempo = 120;                 // style tempo; a tempo event is written when above 0
    SmfSignature signature;          // the CV's
    uint32_t bars = 1;               // the CV's bars
    std::span<const uint8_t> controlStream; // the CV's own control stream (tempo changes)
    std::array<SmfExportTrack, 8> tracks{};
    bool noteOffAsNoteOn = false;    // note offs as note ons with velocity 0
};

} // namespace zib::ulvarf
