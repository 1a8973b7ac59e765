#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteWriter.h"
#include "styles/CMidiToStyleReader.h"
#include "styles/CQeStyleChunkWriter.h"
#include "styles/CStyleTextCommands.h"

namespace zib {

// The conversion settings the MIDI-to-Qe-style converter reads at the start
// of every run (the QeKeyChord... values of the program's settings).
struct QeStyleConvertSettings {
    // The default letter tables of the settings.
    static constexpr std::string_view kDefaultKeyChord =
        "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH";
    static constexpr std::string_view kDefaultChordTable =
        "ACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCC"
        "AAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA"
        "AAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA";

    // 0: every CV's key and chord come from keyChord; else from the file's CV
    // and KeyChord commands.
    int keyChordDetermination = 1;
    // 40 CV slots x (key 'A'-'L', chord 'A'-'V'), VAR1 CV1-6 ... VAR4, then
    // INT1, INT2, FILL1, FILL2, END1, END2, FILL3, INT3 with CV1-2 each.
    std::string keyChord{kDefaultKeyChord};
    // 0: the chord tables come from chordTable; else from Table commands.
    int chordDetermination = 1;
    // 12 elements x 22 chord types, each the CV ('A'-'F') that plays it.
    std::string chordTable{kDefaultChordTable};
};

// Turns one format-1 Standard MIDI File that carries the style text commands
// into a Qe-series style file: a DASF container holding one style resource
// (and a second resource when the file embeds a "DASKQESTS " block).
//
// Pass 1 reads the whole file: it checks the header and the time signatures,
// runs the text commands of the first track chunk, finds the element and CV
// of every channel event, collects the element setup values (bank, program,
// expression) and counts the notes of each element x CV x track. Pass 2
// reads the file once more and gives every element x CV x track with notes
// the channel events of its track inside its CV's measures as its pattern.
// The container image is built in memory,
// opened in UlvaRf, completed there and written to disk whole; a failed run
// writes nothing.
//
// Every run returns 0 or an error code: below 100 the MIDI reader's, 100-146
// the converter's (StyleConvertError), formatted by ReportError.
class CMidiToQeStyConverter : public CMidiToStyleReader {
public:
    // Pass 2 (pass 1 is kPassCollect)
    static constexpr int kPassPattern = 7;

    CMidiToQeStyConverter();
    ~CMidiToQeStyConverter() override;

    // Error text: the reader's below 100, "CMidiFile error: %d - %s" for 100-146
    int ReportError(char* buffer, size_t size, int code) override;

    // Run set-up, before Convert
    void SetOutputFile(const std::filesystem::path& path) { m_outputFile = path; }
    void SetSettings(const QeStyleConvertSettings& settings) { m_settings = settings; }

    // Conversion of a file image into the output file. The log (the
    // caller's, may be null) gets the conversion log; its end lines are
    // written on every way out. The event lists and the style buffer are
    // freed afterwards; the counts stay until the next run.
    int Convert(const uint8_t* image, uint32_t length, std::ostream* log);
    // The same without writing a file: the finished style file image.
    int ConvertToImage(const uint8_t* image, uint32_t length, std::ostream* log, std::vector<uint8_t>& file);
    // Frees the event lists and the style buffer.
    void Reset();

    // Counts of the last run (the log's totals)
    int ErrorCount() const { return m_commands.State().errors; }
    int WarningCount() const { return m_commands.State().warnings; }

protected:
    // Reading callbacks
    void LogStart() override;
    int OnTrackStart() override;
    int OnChannelEvent() override;
    int OnSysEx() override;
    int OnMetaText() override;
    int OnMetaEndOfTrack() override;

    // Measure layer steps
    int BeforeHeader() override;
    int BeforeEvent() override;
    int BeforeTimeSignature() override;
    int ApplyTimeSignature(uint32_t t) override;

private:
    static constexpr int kElements = StyleCommandState::kElements;
    static constexpr int kCvs = StyleCommandState::kCvs;
    static constexpr int kTracks = StyleCommandState::kTracks;
    static constexpr int kChords = StyleCommandState::kChords;

    // The four setup values of an element track, in the order of the flags.
    enum class Setup { HBank, LBank, Expr, Prog };
    static constexpr int kSetupValues = 4;

    // One event of a pattern.
    struct PatternRecord {
        uint32_t tick = 0; // absolute file tick
        uint8_t kind = 0;  // 0 note off, 1 note on, 3 controller, 6 pitch wheel, 12/13 VexSound off/on
        uint8_t data1 = 0;
        uint8_t data2 = 0;
    };

    // Where a pattern lies: its element x CV x track and its measures.
    struct PatternPlace {
        int element = 0;
        int cv = 0;
        int track = 0;
        int firstMeasure = 0;
        int lastMeasure = 0;
        uint32_t startTick = 0; // first tick of the first measure
        uint32_t endTick = 0;   // first tick after the last measure
    };

    // One pattern as pass 2 collects it: its records, its open notes per key
    // (oldest first from pendingHead), and its log lines, warnings and
    // failure, handed on when the pattern's turn comes.
    struct PatternBucket {
        PatternPlace place;
        bool tooLong = false; // more than 32 measures: not collected
        int failure = 0;      // a code that ends the run at this pattern
        std::vector<PatternRecord> records;
        std::array<std::vector<uint32_t>, 128> pending;
        std::array<uint32_t, 128> pendingHead{};
        std::string log;
        int warnings = 0;
    };
    class BufferSink;

    // Run
    int ConvertAndLog(const uint8_t* image, uint32_t length, std::ostream* log, std::vector<uint8_t>& file,
                      bool save);
    int Run(const uint8_t* image, uint32_t length, std::vector<uint8_t>& file);
    void ResetRun();
    void LoadSettingsTables();
    void FinishOpenCvs();
    int BetweenPasses();
    int FinishContainer(std::vector<uint8_t>& file);

    // Pass 1
    int EnterElementCv(int track, int& element, int& cv);
    bool FindElementCv(int track, int measure, int& element, int& cv);
    void LeaveElement(int track);
    void PropagateSetup(int element, int track, int which, int value);
    void FillSilentTracks();
    void FinishTrackChunk();
    bool IsSetupBar(int element, int cv) const;
    int CollectSetupEvent(int element, int cv, int track, Setup which, int value);
    int CountNote(int element, int cv, int track);
    int CollectVexSound(std::span<const uint8_t> data);
    void CollectStsBlock(std::span<const uint8_t> data);

    // Pass 2
    int CollectPatterns();
    int EmitPattern(PatternBucket& bucket);
    void CollectPatternEvent();
    void CollectPatternVexSound(std::span<const uint8_t> data);
    void AddPatternEvent(PatternBucket& bucket, uint8_t kind, uint8_t data1, uint8_t data2, int channel);
    bool CheckBarTime(PatternBucket& bucket, uint8_t kind);

    // The style buffer
    int BuildStyle();
    int WritePatterns();
    int WritePattern(const PatternBucket& bucket);
    int WriteElement(int element);
    int WriteCv(int element, int cv);
    uint32_t ScaleTicks(uint64_t ticks) const;
    static int CodeOf(CQeStyleChunkWriter::Status status);
    size_t OpenChunk(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags);
    void CloseChunk(size_t head);
    int CheckRoom() const;

    // Positions and names
    StyleEventPosition PositionOf(uint32_t t);
    const char* ElementName(int element) const;
    const char* TrackName(int track) const;
    int TrackOfChannel(int channel) const; // channel 0-15; -1 for none
    uint8_t TimeSignatureByte(int measure) const;

    // Settings and input
    QeStyleConvertSettings m_settings;
    std::filesystem::path m_outputFile;
    const uint8_t* m_image = nullptr;

    // Text commands
    CStyleTextCommands m_commands;

    // Pass 1: allocation estimate and where the file ends
    uint64_t m_allocationEstimate = 0;
    uint64_t m_noteOns = 0; // note ons and offs of the channel tracks
    uint64_t m_noteOffs = 0;
    int m_highestEndMeasure = -1;
    int m_chunkLastMeasure = -1;     // measure of the last event of the current track chunk
    int m_chunkLastNoteMeasure = -1; // measure of its last note on
    int m_chunkEndMeasure = -1;      // measure in which its end of track lies
    bool m_chunkSawEnd = false;

    // Pass 1: element bookkeeping
    template <typename T> using PerElementTrack = std::array<std::array<T, kTracks>, kElements>;
    std::array<std::array<bool, kCvs>, kElements> m_cvUsed{};
    PerElementTrack<std::array<int, kSetupValues>> m_setup{};
    PerElementTrack<std::array<bool, kSetupValues>> m_setupFound{};
    std::array<std::array<int, kSetupValues>, kTracks> m_lastSetup{};
    std::array<int, kTracks> m_trackElement{};       // element of the track's last event in this chunk
    std::array<int, kElements> m_elementEnteredAt{}; // first measure with an event of the element; -1 none
    std::array<int, kTracks> m_lookupMeasure{};      // last element x CV lookup per track
    std::array<int, kTracks> m_lookupElement{};
    std::array<int, kTracks> m_lookupCv{};
    std::array<uint8_t, kElements> m_timeSignature{};
    uint16_t m_elementMask = 0;
    int m_patternCount = 0;

    // Pass 1: the embedded second resource
    bool m_hasSts = false;
    std::string m_stsName; // 18 bytes
    std::vector<uint8_t> m_stsData;

    // Pass 2: the patterns in output order, those of each track, and the log
    // that gathers each pattern's lines
    std::vector<PatternBucket> m_buckets;
    std::array<std::vector<size_t>, kTracks> m_bucketsOfTrack;
    std::unique_ptr<BufferSink> m_bufferSink;
    CConversionLog m_patternLog;

    // The style buffer: the container head and tail, and the style body
    ByteWriter m_style;
    std::unique_ptr<CQeStyleChunkWriter> m_body;
};

// Result of one conversion: the code and its error text ("" on success).
struct MidiToQeStyleResult {
    int code = 0;
    std::string errorText;
};

// The one entry point of the "Midi to QE4K Style" command: converts the MIDI
// file image into the style file `outputFile` (written whole or not at all)
// with the given settings, writing the conversion log to `log` (may be null).
MidiToQeStyleResult ConvertMidiToQeStyle(std::span<const uint8_t> midiImage,
                                         const std::filesystem::path& outputFile,
                                         const QeStyleConvertSettings& settings, std::ostream* log);

} // namespace zib
