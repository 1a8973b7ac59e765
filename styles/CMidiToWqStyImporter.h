#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "styles/CMidiToWqStyReader.h"
#include "styles/WqStyleLayout.h"

namespace zib {

// Reads one format-1 Standard MIDI File that holds the music of a single
// chord variation (no text commands) and turns one of its style tracks into
// Wq style events, for the style document to put in place of that track of
// one CV. Channels 10-15 are DRUM ... ACC3; the CV runs from the first
// measure to the last measure of the file, and each track's first bank
// select, volume, pan and program change at tick 0 are its setup values
// (their first repetitions in the track are dropped, as the converter does).
//
// Every run returns 0 or an error code of the table below (below 100 the
// MIDI reader's), formatted by ReportError. Nothing is written to disk.
class CMidiToWqStyImporter : public CMidiToWqStyReader {
public:
    // Error codes of the importer: each stands for a converter code and has
    // its text (StyleConvertError; the table is in CMidiToWqStyImporter.cpp)
    enum Error : int {
        kApplicationDefined = 100,
        kTimeSigWrongPlace = 101,
        kTimeSigOutOfZeroTick = 102,
        kCannotAllocateRam = 103,
        kInternalMapper = 104,
        kWrongFread = 105,
        kWrongTrackIndex = 106,
        kCannotConvertChannel = 107,
        kCannotAllocateStyleBuffer = 108,
        kStyleBufferOverflow = 109,
        kCannotSaveStyle = 110,
        kWrongPatternIndex = 111,
        kCvBarNumberTooHigh = 112,
        kFatalParsingErrors = 113,
        kFatalConversionErrors = 114,
        kFormatNotSupported = 115,
        kDivisionNotSupported = 116,
        kDenominatorNotSupported = 117,
    };

    // The event buffer stays below 64 KB.
    static constexpr uint32_t kMaxEventBytes = 0xFFFF;

    CMidiToWqStyImporter();
    ~CMidiToWqStyImporter() override;

    // Error text: the reader's below 100, "CMidiFile error: %d - %s" for 100-117
    int ReportError(char* buffer, size_t size, int code) override;
    // The text of an importer code 100-117, or nullptr
    static const char* ErrorText(int code);

    // Run set-up, before Convert
    void SetModel(uint32_t model) { m_model = model; }
    uint32_t GetModel() const { return m_model; }
    void SetIgnoreFlags(int flags) { m_ignoreSetting = flags; } // WqIgnoreFlag bits
    void SetLog(std::ostream* log) { m_logStream = log; }       // optional

    // Imports track 0-5 (DRUM ... ACC3) of the file image.
    int Convert(const uint8_t* image, uint32_t length, int track);

    // Results of the last run: the 4-byte events of the chosen track (bar
    // events, events, end event), the event bytes every track would have,
    // and the CV length in bars.
    const std::vector<uint8_t>& GetEvents() const { return m_events; }
    uint32_t GetTrackSize(int track) const
    {
        return track >= 0 && track < kTracks ? m_trackSizes[size_t(track)] : 0;
    }
    int GetCvLength() const { return m_cvLength; }

protected:
    int CollectChannelEvent(int track, const StyleEventPosition& pos) override;
    CWqPatternBuilder* BuilderFor(int track, int measure) override;

private:
    int Run(const uint8_t* image, uint32_t length, int track);

    uint32_t m_model = wq::kModelWq8;
    int m_ignoreSetting = 0;
    std::ostream* m_logStream = nullptr;
    std::array<int, kTracks> m_noteCount{};
    std::array<std::unique_ptr<CWqPatternBuilder>, kTracks> m_builders;
    std::vector<uint8_t> m_events;
    std::array<uint32_t, kTracks> m_trackSizes{};
    int m_cvLength = 0;
};

// Result of one import: the code and its error text ("" on success), and the
// importer's results.
struct MidiToWqTrackImport {
    int code = 0;
    std::string errorText;
    std::vector<uint8_t> events;
    std::array<uint32_t, CMidiToWqStyReader::kTracks> trackSizes{};
    int cvLength = 0;
};

// The one entry point of the style document's track import: track 0-5 of
// the MIDI file image as Wq style events for a style of the model.
MidiToWqTrackImport ImportMidiToWqTrack(std::span<const uint8_t> midiImage, uint32_t model, int track,
                                        int ignoreFlags, std::ostream* log = nullptr);

} // namespace zib
