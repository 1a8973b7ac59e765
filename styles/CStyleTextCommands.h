#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "styles/CConversionLog.h"
#include "styles/StyleCommandState.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

// Settings of a run that decide whether CV keys and chord tables come from the
// file's commands (true) or from the user-defined tables (false).
struct StyleCommandSettings {
    bool keyChordFromFile = true;
    bool chordTableFromFile = true;
};

// The text commands of a style MIDI file: meta text events of the first track
// chunk "Command: arguments" that set the style's name, the elements and
// chord variations the following bars belong to, and track and element
// settings. One processor serves both series through their traits; every
// handler writes its log line, counts its errors and warnings, and returns 0
// or a fatal code (109 Name out of place; Qe 117 for a CV it cannot parse).
// Counts and fatal codes do not depend on whether the log has a sink.
class CStyleTextCommands {
public:
    static constexpr size_t kMaxTextLength = 100;

    CStyleTextCommands(const StyleSeriesTraits& traits, CConversionLog& log);

    // Run control
    void Reset(const StyleCommandSettings& settings);
    const StyleSeriesTraits& Traits() const { return traits_; }
    StyleCommandState& State() { return state_; }
    const StyleCommandState& State() const { return state_; }

    // One meta event (type and text) of the first track chunk in pass 1.
    int Dispatch(const StyleEventPosition& pos, uint8_t metaType, std::span<const uint8_t> text);
    int Dispatch(const StyleEventPosition& pos, uint8_t metaType, std::string_view text);

    // The CV started last ends at the highest measure in which a track chunk
    // ended (called when the last track chunk of pass 1 ends).
    void FinishLastCv(int highestEndMeasure);

    // Style name as stored: cut to the series' width (Qe 18; Wq 16 for
    // models 'I', 'M', 10 for the others).
    std::string StyleNameForModel(char model) const;

private:
    // Handlers, slot order
    int OnName(const StyleEventPosition& pos, const std::string& text);
    int OnRflag(const StyleEventPosition& pos, const std::string& text);
    int OnTensionOff(const StyleEventPosition& pos, const std::string& text);
    int OnElement(const StyleEventPosition& pos, const std::string& text);
    int OnCv(const StyleEventPosition& pos, const std::string& text);
    int OnRange(const StyleEventPosition& pos, const std::string& text);
    int OnTable(const StyleEventPosition& pos, const std::string& text);
    int OnNtt(const StyleEventPosition& pos, const std::string& text);
    int OnShiftup(const StyleEventPosition& pos, const std::string& text);
    int OnKeyChord(const StyleEventPosition& pos, const std::string& text);

    // Argument pieces
    enum class TrackPiece { Ok, WrongChannel, Wrong };
    TrackPiece ParseTrack(std::string_view piece, int& track) const;
    struct KeyChord { int key = -1; int chord = -1; };
    enum class KeyChordError { None, Key, NoChord, Chord };
    KeyChordError ParseKeyChord(std::string_view argument, KeyChord& out) const;
    bool IsElementStart(const StyleEventPosition& pos) const;

    // Messages
    void Error(const StyleEventPosition& pos, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void Warning(const StyleEventPosition& pos, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void Info(const StyleEventPosition& pos, const char* format, ...) __attribute__((format(printf, 3, 4)));

    const StyleSeriesTraits& traits_;
    CConversionLog& log_;
    StyleCommandSettings settings_;
    StyleCommandState state_;
};

} // namespace zib
