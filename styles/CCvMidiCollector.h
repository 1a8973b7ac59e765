#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "midi/CMidiFileEx.h"
#include "midi/MidiErrorText.h"
#include "platform/ByteWriter.h"
#include "styles/CConversionLog.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

// What a collection hands back to its caller: 0 or an error code with its
// text, and the collected file.
struct CvCollectResult {
    int code = 0;
    std::string errorText;
    std::filesystem::path outputPath;
};

// What the collectors of the two series differ in, as data.
struct CvCollectSeries {
    std::span<const char* const> elementMarkers; // "Element: VAR1" ... in element order
    std::span<const char* const> terminators;    // "V11" ... in CV slot order
    uint16_t defaultDivision;                    // ticks per quarter note of the collected file
    uint16_t fixedChannels;                      // bit c: channel c (0-based) always gets a track
    const char* outputSuffix;                    // appended to the set's prefix
    const char* channelMarkerPrefix;             // before the markers of the channel tracks
};

// The machinery shared by the chord-variation (CV) MIDI collectors: they join
// the CV files of one style ("<prefix>V11.mid" ...) into one format-1 file
// whose conductor track carries the markers ("Element: VAR1", "CV: CMajor")
// that the MIDI-to-style converters read back, followed by one track per
// MIDI channel.
//
// Every CV file is read twice. The measuring pass captures the tempo, the
// first time signature (which also gives the output division), the setup
// values of the channels and which channels are used. The copying pass
// rescales every event to the output division, places it at the CV's start
// (the cumulative time) and appends it to its channel's track; the conductor
// takes the meta events of each file's first track and first bar. Each CV
// ends with the bar of its last channel event; a missing CV file becomes one
// empty bar. The first bar of the collected file holds only the set-up
// events. The file is written whole at the end, or not at all.
class CCvMidiCollector : public CMidiFileEx {
public:
    // Error codes of both collectors (texts in CCvMidiCollector.cpp)
    enum CollectError : int {
        kFormatNotSupported = 106,
        kCannotAllocateTrackBuffers = 107,
        kTempoTrackTooLong = 108,
        kBadCvFileName = 109,
        kUnexpectedChannel = 110,  // has a text, raised by no path
        kDifferentDivisions = 111, // has a text, raised by no path
    };

    // Meta events longer than this are not copied.
    static constexpr uint32_t kMaxCopiedMetaLength = 1000;
    static constexpr int kMaxCvSlots = 40;

    ~CCvMidiCollector() override;

    // The log: null logs nothing; the caller owns the stream.
    void SetLog(std::ostream* log);
    // Clears the time-signature map and frees the track buffers.
    void FreeChannelBuffers();

    // The collected file of the last collection (set once the picked name is accepted)
    const std::filesystem::path& GetOutputPath() const { return outputPath_; }
    // What a collection that ended with `code` hands back to its caller: the
    // code, its text and the collected file. Frees the track buffers.
    CvCollectResult FinishCollection(int code);

protected:
    explicit CCvMidiCollector(const CvCollectSeries& series);

    enum class Pass { Idle, Measuring, Copying, Writing };

    // One track of the collected file being built
    struct OutTrack {
        ByteWriter bytes;
        uint64_t measured = 0; // bytes counted by the measuring pass
        uint32_t lastTick = 0; // tick of the last copied event, within the current file
        uint32_t lastTime = 0; // absolute time of the last copied event
        uint32_t lastMeasure = 0;
        uint32_t pending = 0; // ticks owed before the next event written to the track
    };

    // The shared run over the CV set that `pickedFile` belongs to
    int Collect(const std::filesystem::path& pickedFile);

    // "<className> error: %d - %s": CMidiFileEx's codes first, then the shared
    // table, then `own`; 0 for a code no table knows
    int FormatCollectError(char* buffer, size_t size, int code, const char* className,
                           std::span<const MidiErrorText> own);

    // ---- Series hooks -------------------------------------------------------
    // Step 3 of a collection: settings, key-chord table, setup defaults
    virtual void ResetSeries() = 0;
    // The output path's base and the style name may be cut further (Qe "_tmp_")
    virtual void AdjustNames(std::string& outputBase, std::string& styleName);
    // Elements of the measuring and of the copying pass
    virtual int MeasuredElementCount() const;
    virtual int CopiedElementCount() const;
    // Key-chord text of a found CV's marker ("CMajor", "Dmin" ...)
    virtual std::string CvMarkerText(int element, int cv, bool conductor) const = 0;
    // The first bar: conductor commands after tempo, signature and name, and
    // the set-up events of a present channel track
    virtual void WriteConductorHeads() = 0;
    virtual void WriteChannelHeads(int channel) = 0;
    // After the CV markers of a found or missing CV were written
    virtual void AfterCvMarkers(int element, int cv, bool found);
    // After the last element, before the tracks end
    virtual void AfterLastElement();
    // Whether a time signature of the first track goes into the conductor
    // while the current CV is copied (it sets the bars either way)
    virtual bool CopiesTimeSignature() const;
    // The two forced-signature log lines
    virtual void LogForcedFromFirstCv(uint8_t numerator, uint8_t denominator, const std::string& file) = 0;
    // Channel events of each pass (the event is in the reader's buffer)
    virtual int MeasureChannelEvent() = 0;
    virtual int CopyChannelEvent() = 0;
    // Extra checks at a file's header and at a track chunk (reading)
    virtual int OnFileHeader();
    virtual int OnTrackChunk();

    // ---- Reader callbacks ---------------------------------------------------
    int OnHeader() override;
    int OnTrackStart() override;
    int OnChannelEvent() override;
    int OnMetaTempo() override;
    int OnMetaTime() override;
    int OnMetaKeySig() override;
    int OnMetaPort() override;
    int OnMetaChan() override;
    int OnMetaText() override;
    int BeforeEvent() override;
    int BeforeTimeSignature() override;

    // ---- Helpers for the series ---------------------------------------------
    // Position of the current event for the log
    StyleEventPosition EventPosition() const;
    // The log line of the current channel event: its kind ("Note on" ...; a
    // controller's is `controllerLabel`, "Ctrl-Volume" ...), its channel and
    // values, then `note` (" --- IGNORED" ...)
    void LogChannelEvent(const std::string& note = "", const char* controllerLabel = "Control");
    bool InFirstTrack() const { return GetTrackIndex() == 0; }
    bool InFirstBar() const;
    // The event's channel track: the bytes of a copied event (status and
    // data), queued until the file is read and then written in time order
    void QueueChannelEvent(int channel, std::span<const uint8_t> bytes);
    void CountChannelEvent(int channel, size_t bytes) { channels_[size_t(channel)].measured += bytes; }
    // Writes at the track's pending delta (which becomes 0)
    void WriteAtPending(OutTrack& track, std::span<const uint8_t> bytes);
    void WriteMarker(OutTrack& track, const std::string& text);
    void WriteChannelMarker(int channel, const std::string& text); // with the series' prefix
    bool IsPresent(int channel) const;
    bool CvFileExists(int element, int cv) const
    {
        return !cvFiles_[size_t(StyleSeriesTraits::CvSlotOf(element, cv))].empty();
    }
    // "<prefix><terminator>.mid" of a slot, found or not
    std::string CvFileName(int element, int cv) const;

    // Series, log, pass and the file being read
    const CvCollectSeries& series_;
    CConversionLog log_;
    Pass pass_ = Pass::Idle;
    std::filesystem::path currentFile_;

    // Collection state
    int element_ = 0;
    int cv_ = 0;
    uint32_t cumulative_ = 0;
    uint32_t tempo_ = 500000;
    bool tempoFound_ = false;
    bool timeSigFound_ = false;
    uint16_t outDivision_ = 96;
    uint16_t fileDivision_ = 96;
    uint8_t outNumerator_ = 4;
    uint8_t outDenominator_ = 4; // as a note value
    uint8_t outClocks_ = 36;
    uint8_t out32nds_ = 8;

    // The current event: tick within its file (rescaled while copying) and
    // absolute time in the collected file
    uint32_t eventTick_ = 0;
    uint32_t eventAbs_ = 0;

    // The tracks of the collected file
    std::array<OutTrack, 16> channels_;
    OutTrack conductor_;

private:
    struct QueuedEvent {
        uint32_t tick;
        uint32_t measure;
        uint32_t offset; // into the channel's queue bytes
        uint32_t size;
    };

    // Steps of a collection
    int CheckTerminator(const std::filesystem::path& pickedFile);
    void FindCvFiles(const std::string& prefix);
    void ResetCollection();
    int MeasuringPass();
    int AllocateTracks();
    int CopyingPass();
    int CopyFoundCv(int element, int cv);
    int CopyMissingCv(int element, int cv);
    void WriteElementMarkers(int element);
    void WriteHeads();
    void FlushQueuedEvents();
    int WriteCollectedFile();
    void CopyMetaToConductor(uint8_t type, std::span<const uint8_t> data);

    // The set: its prefix, the style name (Windows-1252 bytes), the collected
    // file and the members found (empty paths for missing CVs)
    std::string prefix_;
    std::string styleName_;
    std::filesystem::path outputPath_;
    std::array<std::filesystem::path, kMaxCvSlots> cvFiles_;

    // Channel events of the file being copied, per channel
    std::array<std::vector<QueuedEvent>, 16> queued_;
    std::array<ByteWriter, 16> queuedBytes_;

    std::unique_ptr<IConversionLogSink> sink_;
    int writeCursor_ = -1; // channel of the last track handed to the writer
};

} // namespace zib
