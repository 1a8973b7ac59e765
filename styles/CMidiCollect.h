#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "styles/CCvMidiCollector.h"

namespace zib {

// Settings of a Wq collection (the application's values, passed in).
struct WqCvCollectSettings {
    // KeyChordDetermination: 1 = each CV's key from its bass line (INT and END
    // elements keep C major); otherwise from `keyChord`
    int keyChordDetermination = 1;
    // KeyChord: one letter per CV slot (36), letter - 'A' = 2 * key + minor;
    // missing or out-of-range letters take the default's
    std::string keyChord = "ABAAAAABAAAAABAAAAABAAAAABABABABABAB";
};

// Joins the chord-variation MIDI files of one Wq style ("<prefix>V11.mid" ...
// "<prefix>F22.mid", 36 of them) into "<prefix>_COLLECT.MID" for the
// MIDI-to-Wq-style converter: 10 elements VAR1-VAR4, INT1, INT2, END1, END2,
// FILL1, FILL2, their CVs marked "Element: VAR1", "CV: CMajor" ... on the
// conductor and on every channel track; channels 10-15 always get a track.
class CMidiCollect : public CCvMidiCollector {
public:
    static constexpr const char* kLogFileName = "CollectCVMidi.txt";
    static constexpr int kCvSlots = 36;

    CMidiCollect();
    ~CMidiCollect() override;

    // "CMidiCollect error: %d - %s" for the collector's codes
    int ReportError(char* buffer, size_t size, int code) override;

    void SetSettings(const WqCvCollectSettings& settings) { settings_ = settings; }

    // Collects the set of `path` (any one CV file of it); 0 or an error code.
    // Nothing is written on failure; no buffers stay allocated.
    int CollectCvFiles(const std::filesystem::path& path);

protected:
    void ResetSeries() override;
    std::string CvMarkerText(int element, int cv, bool conductor) const override;
    void WriteConductorHeads() override;
    void WriteChannelHeads(int channel) override;
    void LogForcedFromFirstCv(uint8_t numerator, uint8_t denominator, const std::string& file) override;
    int MeasureChannelEvent() override;
    int CopyChannelEvent() override;
    int OnFileHeader() override;

private:
    // A set-up value of a channel: status, controller (unused for the
    // program), value, and whether a file gave it
    struct Setup {
        uint8_t status;
        uint8_t controller;
        uint8_t value;
        bool captured;
    };
    enum SetupIndex { kPan, kVolume, kBankMsb, kBankLsb, kProgram, kSetupCount };

    void DetectKeyChord(uint8_t note);

    WqCvCollectSettings settings_;
    int keyChordMode_ = 1;
    std::array<int, kCvSlots> keyChord_{};
    bool rootFound_ = false;
    bool minorFound_ = false;
    std::array<std::array<Setup, kSetupCount>, 16> setup_{};
};

// The collection as one call: the collector over `pickedFile`, the settings
// and the log (may be null). Returns the code, its text and the collected file.
CvCollectResult CollectWqCvMidi(const std::filesystem::path& pickedFile, const WqCvCollectSettings& settings,
                                std::ostream* log);

} // namespace zib
