#pragma once

#include "midi/CMidiFile.h"
#include "midi/CTimeSigRecord.h"
#include "styles/CConversionLog.h"
#include "styles/CYamahaPsrCasmMapper.h"
#include "styles/PsrStylePlan.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// Turns a Yamaha PSR style file (a format-0 MIDI file whose markers name the
// style sections, followed by a CASM block) into the body of a Qe style.
// Pass 1 reads the whole file: sections, their bars, the channels that play
// in them and their sounds, and the CASM block. The plan then maps sections
// to elements and lays out CVs and patterns (CPsrStylePlanner). Pass 2 reads
// the file once more for every pattern to be written and collects that
// pattern's events; CPsrQeStyleWriter writes the chunks. Every step goes to
// the dump log when one is set.
class CPsrStyConverter : public CMidiFile {
public:
    // The output buffer the conversion command gives
    static constexpr uint32_t kOutputCapacity = 300000;

    CPsrStyConverter();
    ~CPsrStyConverter() override;

    // "CMidiFile error: %d - %s": the reader's texts for its codes, the
    // converter's for 100-128; the length, 0 for a code without a text
    int ReportError(char* buffer, size_t size, int code) override;

    // Settings: the PsrStyToQeSty letters (an invalid text reads as the
    // default), the chosen file name for the log, and the log
    void SetSectionMapping(std::string_view letters) { m_letters = std::string(letters); }
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    void SetLog(IConversionLogSink* sink) { m_log.SetSink(sink); }

    // Converts a file image into at most `capacity` bytes; 0 or an error
    // code. The second form copies the result into the caller's buffer.
    int Convert(std::span<const uint8_t> image, uint32_t capacity = kOutputCapacity);
    int Convert(const uint8_t* image, uint32_t size, uint8_t* output, uint32_t capacity);

    // Results of the last run
    uint32_t GetOutputSize() const { return uint32_t(m_output.size()); }
    const std::vector<uint8_t>& GetOutput() const { return m_output; }
    // The file's track name, at most 16 bytes, zero-padded
    const std::array<uint8_t, 16>& GetStyleName() const { return m_styleName; }
    const PsrStylePlan& GetPlan() const { return m_plan; }
    const PsrCounters& GetCounters() const { return m_counters; }

protected:
    int OnUnknownChunk() override;
    int OnTrackStart() override;
    int OnHeader() override;
    int OnChannelEvent() override;
    int OnSysEx() override;
    int OnMetaSeqNum() override;
    int OnMetaTempo() override;
    int OnMetaSMPTE() override;
    int OnMetaTime() override;
    int OnMetaKeySig() override;
    int OnMetaPort() override;
    int OnMetaChan() override;
    int OnMetaText() override;
    int OnMetaEndOfTrack() override;
    int BeforeEvent() override;

private:
    enum class Pass : uint8_t { One, Two };

    // The pattern pass 2 collects
    struct PatternWork {
        int element = 0;
        int cv = 0;
        int track = 0;
        uint16_t mask = 0;
        int section = -1;
        uint32_t startTime = 0;           // the section's
        uint32_t stopTime = 0;
        bool markerSeen = false;
        uint8_t chordKey = 0;             // root of the first source channel
        uint8_t chordType = 0;            // its PSR chord type
        int dropKey = -1;                 // pitch class whose notes are left out, -1 none
        std::array<int, 16> keyShift{};   // semitones added to each channel's notes
    };
    struct OpenNote {
        uint8_t channel;
        uint8_t key;
        size_t event;
    };

    // Runs
    int RunPass1(std::span<const uint8_t> image);
    int FinishPass1();
    int WriteStyle(std::span<const uint8_t> image, uint32_t capacity);
    int PreparePattern(int element, int cv, int track);
    int CollectPattern(std::span<const uint8_t> image);
    void Reset();

    // Pass 1 steps
    int OnMarker(int section);
    void TakeValue(int channel, PsrValue value, uint8_t x);
    void PropagateValues(int section);
    void Pass1ChannelEvent();
    void LogChannelEvent();
    // Pass 2 steps
    int Pass2ChannelEvent();

    // The time-signature list: one record per change, each on a bar start
    StyleEventPosition Locate(uint32_t tick);
    uint64_t BarStart(uint32_t bar) const;
    uint64_t BarTicks(const CTimeSigRecord& record) const;

    // Counted messages (the error a run stops on is counted when it ends)
    void Warning(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void ErrorAt(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void WarningAt(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Settings and results
    std::string m_letters = std::string(kDefaultPsrStyToQeSty);
    std::string m_fileName;
    CConversionLog m_log;
    CYamahaPsrCasmMapper m_mapper;
    PsrStylePlan m_plan;
    PsrCounters m_counters;
    std::vector<uint8_t> m_output;
    std::array<uint8_t, 16> m_styleName{};

    // Reading
    Pass m_pass = Pass::One;
    uint32_t m_imageSize = 0;
    StyleEventPosition m_pos;
    std::vector<CTimeSigRecord> m_timeSigs;
    std::vector<uint32_t> m_timeSigBars; // first bar of each record
    size_t m_timeSigHint = 0;

    // Pass 1
    bool m_haveTrackName = false;
    bool m_sff1Found = false;
    bool m_sintFound = false;
    bool m_markerFound = false;
    int m_section = -1;
    uint32_t m_markerOffset = 0;
    uint8_t m_lastTimeSig = 34;
    bool m_pendingTimeSig = false; // a change off its section's start bar, waiting for a marker at its tick
    uint32_t m_pendingTimeSigTick = 0;
    bool m_haveChannelEvent = false;
    uint32_t m_lastEventTime = 0;
    std::array<PsrChannelValues, 16> m_setup{};
    std::array<PsrChannelValues, 16> m_lastFound{};

    // Pass 2
    PatternWork m_work;
    std::vector<PsrPatternEvent> m_events;
    std::vector<OpenNote> m_openNotes;
};

} // namespace zib
