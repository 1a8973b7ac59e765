#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zib {

// A failure of CreateMidiFromQeCvOrTrack that the GUI shows in a message box:
// the text, the caption, and the icon (exclamation or stop).
struct QeCvExportMessage {
    enum class Icon { Exclamation, Stop };
    std::string text;
    std::string caption;
    Icon icon = Icon::Exclamation;
};

// A snapshot of one Qe style taken through the library's style-editor
// exports: which elements, chord variations (CVs) and patterns exist, and the
// settings the collected CV MIDI file writes out as text commands (track
// modes, tensions, NTT, chord assignment, key and chord per CV and per
// pattern, keyboard ranges, programs). It can also write one CV as a format-1
// Standard MIDI File, one track per MIDI channel.
//
// Elements 0-11 (VAR1-VAR4, INT1, INT2, FILL1, FILL2, END1, END2, FILL3,
// INT3), CVs 0-5 (0-1 from element 4 on), style tracks 0-7 (DRUM, PERC, BASS,
// ACC1-ACC5), chord types 0-21. Per-CV tables are indexed element * 6 + CV.
class CQeStyleInfo {
public:
    static constexpr int kElementCount = 12;
    static constexpr int kCvCount = 6;
    static constexpr int kTrackCount = 8;
    static constexpr int kChordTypeCount = 22;
    static constexpr int kCvTableSize = kElementCount * kCvCount; // 72
    static constexpr uint8_t kLowestNote = 21;
    static constexpr uint8_t kHighestNote = 108;
    static constexpr uint8_t kMaxNtt = 3;

    // Nothing filled (for GetKeyChordName alone)
    CQeStyleInfo();
    // The snapshot of a serialised style resource (type, ids, flag, length,
    // chunk); the bytes are copied. An empty or unreadable resource leaves
    // everything absent, with ranges 21-108.
    explicit CQeStyleInfo(std::span<const uint8_t> styleResource);

    // Presence: 1 when it exists, 0 when not or out of range
    int HasChordVar(int element, int cv) const;
    int HasTrack(int element, int cv, int track) const;

    // Style: element mask (bit e), tension bits (bit t), mode word (2 bits
    // per track: 0, 1 or 2)
    uint16_t GetStyleWord() const { return elementMask_; }
    uint8_t GetStyleByte() const { return tensionBits_; }
    uint16_t GetStyleWord2() const { return modeWord_; }

    // Element: NTT (0-3), chord assignment of chord type i (a CV of the
    // element), keyboard range low and high note, program (bank MSB << 24 |
    // bank LSB << 16 | program)
    uint8_t GetTrackByte(int element) const;
    uint8_t GetSeTrackByte(int element, int i) const;
    uint8_t GetSeTrackByteA(int element, int track) const;
    uint8_t GetSeTrackByteB(int element, int track) const;
    uint32_t GetSeTrackDword(int element, int track) const;

    // CV: chord (0-21) and key (0-11) of the first of tracks 2-7 with data;
    // per pattern: chord and key
    uint8_t GetCvChord(int element, int cv) const;
    uint8_t GetCvKey(int element, int cv) const;
    uint8_t GetCvTrackByteA(int element, int cv, int track) const;
    uint8_t GetCvTrackByteB(int element, int cv, int track) const;

    // A keyboard range as the snapshot keeps it: a low note off the keyboard
    // (21-108) becomes 21, a high note off it 108; a range then upside down
    // becomes 21-108.
    struct KeyboardRange {
        uint8_t low;
        uint8_t high;
    };
    static KeyboardRange ValidKeyboardRange(int low, int high);

    // "C" .. "B" followed by "Major" .. "No3rdNo5th"; "CMajor" for a key above
    // 11 or a chord above 21
    static std::string GetKeyChordName(int key, int chord);

    // Writes CV (element, cv) with all its tracks as a format-1 Standard MIDI
    // File (the track argument is not used). With `makerSysex` 1 the VexSound
    // messages go to the tracks of their channels. Returns 1 on success, 0 on
    // failure; a conversion or file failure also leaves GetLastMessage().
    int CreateMidiFromQeCvOrTrack(int element, int cv, int track, const std::filesystem::path& fileName,
                                  int makerSysex);
    const std::optional<QeCvExportMessage>& GetLastMessage() const { return lastMessage_; }

private:
    void Fill();
    static bool ValidCv(int element, int cv);
    static size_t CvIndex(int element, int cv) { return size_t(element * kCvCount + cv); }

    std::vector<uint8_t> styleData_;

    // Presence
    uint16_t elementMask_ = 0;
    std::array<uint8_t, kElementCount> cvMasks_{};
    std::array<uint8_t, kCvTableSize> trackMasks_{};

    // Style
    uint8_t tensionBits_ = 0;
    uint16_t modeWord_ = 0;

    // Elements
    std::array<uint8_t, kElementCount> ntt_{};
    std::array<std::array<uint8_t, kChordTypeCount>, kElementCount> chordAssign_{};
    std::array<std::array<uint8_t, kTrackCount>, kElementCount> rangeLow_{};
    std::array<std::array<uint8_t, kTrackCount>, kElementCount> rangeHigh_{};
    std::array<std::array<uint32_t, kTrackCount>, kElementCount> program_{};

    // CVs and patterns
    std::array<uint8_t, kCvTableSize> cvChord_{};
    std::array<uint8_t, kCvTableSize> cvKey_{};
    std::array<std::array<uint8_t, kTrackCount>, kCvTableSize> trackChord_{};
    std::array<std::array<uint8_t, kTrackCount>, kCvTableSize> trackKey_{};

    std::optional<QeCvExportMessage> lastMessage_;
};

} // namespace zib
