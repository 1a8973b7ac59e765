#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "styles/CMidiToStyleReader.h"
#include "styles/CWqPatternBuilder.h"

namespace zib {

// The reading layer shared by the MIDI-to-Wq-style converter and importer:
// the checks of the time signatures, the six Wq style tracks on MIDI
// channels 10-15, the setup values of each track, the channel-event log
// lines of pass 1, and pass 2, which hands each channel event to the pattern
// builder of its chord variation and track (a subclass decides which) and
// pairs the notes of each track.
//
// Time signatures count only in the first track chunk; denominators 4, 8 and
// 16 with the numerators a Wq style can hold (up to 9/4, 16/8, 16/16). Every
// failure is a code of the subclass's own table.
class CMidiToWqStyReader : public CMidiToStyleReader {
public:
    // Pass 2 (pass 1 is kPassCollect)
    static constexpr int kPassConvert = 7;
    static constexpr int kTracks = 6;

    ~CMidiToWqStyReader() override;

    // Errors and warnings of the last run
    virtual int ErrorCount() const { return m_errors; }
    virtual int WarningCount() const { return m_warnings; }

protected:
    // The subclass's codes for the failures this layer finds, and the two
    // that stop a run on the errors it counted
    struct Codes {
        int formatNotSupported;
        int divisionNotSupported;
        int denominatorNotSupported;
        int channelNotMapped;
        int fatalParsingErrors;
        int fatalConversionErrors;
    };
    explicit CMidiToWqStyReader(const Codes& codes);

    // Run
    void BeginRun(std::ostream* log, int ignoreFlags);
    int RunCollectPass(const uint8_t* image, uint32_t size);
    int RunConvertPass(const uint8_t* image, uint32_t size);
    // Writes the builder's log lines to the log and adds its counts
    void Absorb(const CWqPatternBuilder& builder);
    // The log's end lines for a run that returned `result`, counting the
    // error it stopped on
    void EndRun(int result);

    // What the subclass adds
    virtual int CollectChannelEvent(int track, const StyleEventPosition& pos) = 0;
    virtual int CollectText(const StyleEventPosition& pos, uint8_t type, std::span<const uint8_t> text);
    virtual CWqPatternBuilder* BuilderFor(int track, int measure) = 0;

    // Reading callbacks
    int OnTrackStart() override;
    int OnChannelEvent() override;
    int OnMetaTempo() override;
    int OnMetaText() override;
    int OnMetaEndOfTrack() override;
    int BeforeEvent() override;
    int BeforeTimeSignature() override;
    int ApplyTimeSignature(uint32_t t) override;

    // Measures
    int TimeSigCodeAt(int measure) const;
    // The last-bar rule: nothing later than the first tenth of a quarter note
    // of the last measure (a bar that only carries the end of the file)
    bool LastBarIsSparse(uint32_t latestTick, int lastMeasure) const;

    // The counts
    int m_errors = 0;
    int m_warnings = 0;
    bool m_channelEventsInFirstChunk = false; // the importer reads every chunk's channel events

    // Pass 1 findings
    std::array<WqTrackHeader, kTracks> m_headers{};
    int m_highestMeasure = 0; // highest measure of any event
    int m_tempo = 120;        // whole BPM of a tempo event at 0:0:0 of the first chunk
    int m_ignoreFlags = 0;

private:
    struct PendingNote {
        uint8_t key;
        int handle;
        CWqPatternBuilder* builder;
    };

    void ConvertChannelEvent(int track, const StyleEventPosition& pos);
    void ResolveNoteOff(int track, const StyleEventPosition& pos, uint8_t key, uint8_t velocity);
    void FlushPendingNotes();
    void LogChannelEvent(const StyleEventPosition& pos);

    Codes m_codes;
    std::array<std::vector<PendingNote>, kTracks> m_pending;
    std::array<uint8_t, kTracks> m_currentBank{};
};

} // namespace zib
