#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "styles/CCvMidiCollector.h"

namespace zib {

class CQeStyleInfo;

// Settings of a Qe collection (the application's values, passed in).
struct QeCvCollectSettings {
    // QeKeyChordDetermination: 1 = every CV marker says C major; otherwise
    // from `qeKeyChord`
    int qeKeyChordDetermination = 1;
    // QeKeyChord: two letters per CV slot (40 slots): key 0-11, then chord
    // 0-21 (letter - 'A'); missing or out-of-range letters take the default's
    std::string qeKeyChord =
        "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH";
};

// The settings of a Qe style that a collection writes out as text commands,
// filled by the caller (the style and pad exports) before collecting. Element
// e 0-11, style track t 0-7 (DRUM, PERC, BASS, ACC1-ACC5); per-CV tables by
// element * 6 + CV. Values out of range are written as their defaults.
struct QeCollectStyleInfo {
    struct TrackSetup {
        uint8_t bankMsb = 0;
        uint8_t bankLsb = 0;
        uint8_t program = 0;
    };

    QeCollectStyleInfo();
    // From a style snapshot: its settings, and 12 elements when it has FILL3
    // or INT3
    static QeCollectStyleInfo FromStyleInfo(const CQeStyleInfo& info);

    uint8_t tensionBits = 0;                               // bit t: tension on for track t
    uint16_t trackModes = 0;                               // 2 bits per track t: 0 S, 1 T, otherwise P
    bool twelveElements = true;                            // false: the style has 10 elements
    std::array<uint8_t, 12> ntt{};                         // 0-3
    std::array<std::array<uint8_t, 22>, 12> chordAssign{}; // chord type -> CV
    std::array<uint8_t, 72> cvKey{};                       // 0-11
    std::array<uint8_t, 72> cvChord{};                     // 0-21
    std::array<std::array<uint8_t, 8>, 72> trackKey{};     // per CV and track
    std::array<std::array<uint8_t, 8>, 72> trackChord{};
    std::array<std::array<uint8_t, 8>, 12> rangeLow{};  // 21-108, preset 21
    std::array<std::array<uint8_t, 8>, 12> rangeHigh{}; // 21-108, preset 108
    std::array<std::array<TrackSetup, 8>, 12> setup{};  // from the track records
};

// The style item embedded in a collected file: its name and its data.
struct QeStyleItem {
    std::string name; // Windows-1252 bytes, stored as 18 bytes
    std::vector<uint8_t> data;
};

// Joins the chord-variation MIDI files of one Qe style ("<prefix>V11.mid" ...
// "<prefix>I32.mid", 40 of them) into "<prefix>_QECOLLECT.MID" for the
// MIDI-to-Qe-style converter: 12 elements VAR1-VAR4, INT1, INT2, FILL1,
// FILL2, END1, END2, FILL3, INT3 (10 when neither FILL3 nor INT3 has a file,
// or the style has 10), with markers on the conductor and "__" markers on
// the channel tracks; channels 9-16 always get a track. Each element starts
// with its set-up events (expression, bank, program). With style information
// the conductor also carries the style's settings as text commands and, with
// a style item, the item itself as a system-exclusive block.
class CQeMidiCollect : public CCvMidiCollector {
public:
    // Error codes added to the shared ones (texts in CQeMidiCollect.cpp)
    enum QeCollectError : int {
        kTooManyChannelTracks = 112,
        kChannelAlreadyProcessed = 113,
    };

    static constexpr const char* kLogFileName = "CollectQeCVMidi.txt";
    static constexpr int kCvSlots = 40;

    CQeMidiCollect();
    ~CQeMidiCollect() override;

    // "CQeMidiCollect error: %d - %s" for the collector's codes
    int ReportError(char* buffer, size_t size, int code) override;

    void SetSettings(const QeCvCollectSettings& settings) { settings_ = settings; }
    // The style-information block, filled by the caller
    QeCollectStyleInfo& StyleInfo() { return styleInfo_; }

    // Collects the set of `path` (any one CV file of it), with the style
    // information block when `withStyleInfo`, embedding `styleItem` when
    // given and not empty. 0 or an error code; nothing is written on failure.
    int CollectCvMidiFiles(const std::filesystem::path& path, bool withStyleInfo,
                           const QeStyleItem* styleItem);
    // Frees the track buffers
    void Cleanup() { FreeChannelBuffers(); }

protected:
    void ResetSeries() override;
    void AdjustNames(std::string& outputBase, std::string& styleName) override;
    int MeasuredElementCount() const override;
    int CopiedElementCount() const override;
    std::string CvMarkerText(int element, int cv, bool conductor) const override;
    void WriteConductorHeads() override;
    void WriteChannelHeads(int channel) override;
    void AfterCvMarkers(int element, int cv, bool found) override;
    void AfterLastElement() override;
    bool CopiesTimeSignature() const override;
    void LogForcedFromFirstCv(uint8_t numerator, uint8_t denominator, const std::string& file) override;
    int MeasureChannelEvent() override;
    int CopyChannelEvent() override;
    int OnFileHeader() override;
    int OnTrackChunk() override;
    int OnSysEx() override;

private:
    // A set-up value of one element and channel
    struct Setup {
        uint8_t value;
        bool captured;
    };
    enum SetupIndex { kExpression, kBankMsb, kBankLsb, kProgram, kSetupCount };

    void WriteElementSetup(int element, int channel);
    void ConductorMarker(int element, int cv, const std::string& text);
    int BindChannel(int channel);
    bool ElementHasFiles(int element) const;

    QeCvCollectSettings settings_;
    QeCollectStyleInfo styleInfo_;
    bool withStyleInfo_ = false;
    const QeStyleItem* styleItem_ = nullptr;

    std::array<std::array<uint8_t, 2>, kCvSlots> keyChord_{}; // key, chord
    std::array<std::array<std::array<Setup, kSetupCount>, 16>, 12> setup_{};

    // Channel bindings of the file being copied: the track chunk each channel
    // plays in (-1 = none yet)
    std::array<int, 16> channelTrack_{};
};

// The collection as one call: the collector over `pickedFile`, the settings,
// the log (may be null), and optionally the style information and the style
// item. Returns the code, its text and the collected file.
CvCollectResult CollectQeCvMidi(const std::filesystem::path& pickedFile, const QeCvCollectSettings& settings,
                                std::ostream* log, const QeCollectStyleInfo* styleInfo = nullptr,
                                const QeStyleItem* styleItem = nullptr);

} // namespace zib
