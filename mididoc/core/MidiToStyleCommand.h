#pragma once

#include "styles/StyleSeriesTraits.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace zib {

class ZibSettings;

// The steps of the two MIDI-to-style commands that need no document: the
// suggested target name and the conversion of a file image with its log.

// The conversion log, written beside the MIDI file
inline constexpr std::string_view kMidiToStyleLogName = "MIDI2STY.TXT";

// The title without everything from its last "."
std::string TitleWithoutExtension(std::string_view title);

// The suggested target: the title without its extension and, for the series'
// collected files, without everything from "_COLLECT" (Wq) or "_QECOLLECT"
// (Qe) on; then ".STY".
std::string MidiToStyleDefaultName(std::string_view title, StyleSeries series);

// What one conversion did.
struct MidiToStyleOutcome {
    int code = 0;          // 0: the style file was written
    std::string errorText; // the converter's text for a non-zero code
    bool logWritten = false;
};

// Converts the file image into the style file `target`: the Wq-series
// converter for `model`, or the Qe-series converter (model 'F'), with the
// conversion settings of the moment. The log is built in memory and written
// to `logPath` once, whatever the outcome; the style file is written whole
// or not at all.
MidiToStyleOutcome RunMidiToStyle(std::span<const uint8_t> image, StyleSeries series,
                                  const std::filesystem::path& target, uint32_t model, const ZibSettings& settings,
                                  const std::filesystem::path& logPath);

} // namespace zib
