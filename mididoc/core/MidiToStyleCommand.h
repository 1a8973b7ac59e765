#pragma once

#include "styles/CMidiToQeStyConverter.h"
#include "styles/CMidiToWqStyConverter.h"
#include "styles/StyleSeriesTraits.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zib {

class CZibMidDoc;

// The GUI-free steps of the two MIDI-to-style commands of a MIDI document
// ("MIDI To wq-series Style", "Midi to QE4K Style"): the suggested target
// name, and the conversion of the document's file image with its log.

// The conversion log, written beside the MIDI file
inline constexpr std::string_view kMidiToStyleLogName = "MIDI2STY.TXT";

// The suggested target: the title without everything from its last "." and,
// for the series' collected files, from "_COLLECT" (Wq) or "_QECOLLECT" (Qe)
// on; then ".STY".
std::string MidiToStyleDefaultName(std::string_view title, StyleSeries series);

// What one conversion did.
struct MidiToStyleOutcome {
    int code = 0;          // 0: the style file was written
    std::string errorText; // the converter's text for a nonzero code
    bool logWritten = false;
};

// Converts the document's raw file image into the style file `target`:
// the Wq-series converter for `model`, or the Qe-series converter (model
// 'F'). The log goes to `logPath` when that file can be created; the style
// file is written whole or not at all.
MidiToStyleOutcome RunMidiToStyle(const CZibMidDoc& doc, StyleSeries series, const std::filesystem::path& target,
                                  uint32_t model, const WqStyleConvertSettings& wqSettings,
                                  const QeStyleConvertSettings& qeSettings, const std::filesystem::path& logPath);

} // namespace zib
