#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "styles/CQeStyleChunkWriter.h"
#include "styles/CWqStyleData.h"
#include "styles/WqEvent.h"
#include "styles/WqToQeSoundTable.h"

namespace zib {

// Failures of the Wq-to-Qe conversion; the caller reports the number with
// "Style %s not converted - Error no: %ld". The texts are in
// CWqToQeConverter.cpp.
enum class WqToQeError : int {
    None = 0,
    DamagedImage = -1,    // no image, or one whose offset table points outside it
    NoRoom = -2,          // the output buffer has no room for the next write
    UnknownModel = -3,    // model letter not one of '9', '<', 'H', 'I', 'M'
    PatternCount = -8,    // no pattern with data, or more than 216
    BarFitting = -10,     // fitting a bar took 1000 steps
    TrackNumber = -11,    // track number above 5
    TooManyCvs = -12,     // more CVs in an element than it may hold
    TooManyTracks = -13,  // more than 6 tracks in a CV
    DeltaTooLarge = -14,  // a delta needs more than 4 bytes
    CvTooLong = -17,      // CV length above 16 bars
    PatternNumber = -18,  // Wq pattern number 100 or more
    SignatureChange = -19, // signature change inside a Variation or Fill
    EventsEnded = -20,    // a pattern's events ended without reaching its end
};

// The text of a code, or nullptr for a code without one.
const char* WqToQeErrorText(int code);
// "Style %s not converted - Error no: %ld"
std::string FormatWqToQeFailure(std::string_view styleName, int code);

// Turns one Wq style image into the body of a Qe style: the style chunk
// (01 00 00 00) with its header, the pattern container and one element chunk
// per Wq element that has a non-empty CV (CQeStyleChunkWriter shows the tree).
// Every Wq track with data becomes one pattern whose property event stream
// holds the track's notes, pitch bends and some controllers at 384 ticks per
// quarter note; the bars of a CV are read one by one, their events sorted by
// time, and the events of a referenced Wq pattern are played in place.
//
// Qe elements come in the order VAR1-VAR4, INT1, INT2, FILL1, FILL2, END1,
// END2, that is Wq elements 0-5, 8, 9, 6, 7.
class CWqToQeConverter : public CWqStyleData {
public:
    static constexpr size_t kOutputCapacity = 300000; // the caller's buffer

    CWqToQeConverter() = default;
    explicit CWqToQeConverter(const WqToQeSoundTable& sounds) : sounds_(&sounds) {}

    // Converting: the number of bytes written into out (> 0), or a negative
    // WqToQeError code; out is left untouched on failure.
    int Convert(const uint8_t* image, size_t size, uint32_t model, uint8_t* out, size_t capacity);
    int Convert(std::span<const uint8_t> image, uint32_t model, std::vector<uint8_t>& body,
                size_t capacity = kOutputCapacity);

    // Time signatures of the Wq codes (3/4 for an invalid code)
    struct Signature {
        uint8_t numerator = 3;
        uint8_t log2Denominator = 2;
        bool operator==(const Signature&) const = default;
        uint32_t WqBarLength() const { return uint32_t(numerator) * 384u >> log2Denominator; }
        uint32_t QeBarLength() const { return uint32_t(numerator) * 1536u >> log2Denominator; }
        uint8_t ElementByte() const { return uint8_t(numerator * 8 | log2Denominator); }
    };
    static Signature SignatureOf(int wqCode);

    // Whether the notes 21-34 of a DRUM (track 0) or PERC (track 1) track
    // with this sound word are lowered by an octave: the drum kits of a model
    static bool IsLoweredDrumKit(uint32_t model, int track, uint16_t soundWord);

private:
    // One event of the bar being read: time from the bar start in Qe ticks,
    // kind (0 note off, 1 note on, 3 controller, 6 pitch wheel), two data bytes
    struct Pending {
        uint32_t time = 0;
        uint8_t kind = 0;
        uint8_t data1 = 0;
        uint8_t data2 = 0;
    };

    // Reading one track of a CV, in the measuring read (bar events only) or
    // in the writing read
    struct TrackRead {
        int track = 0;
        bool writing = false;
        bool loweredKit = false;
        int bar = -1;              // bar being read, -1 before the first bar event
        uint32_t barStart = 0;     // Qe ticks from the pattern start
        uint32_t barShift = 0;     // padding before the bar's events (first bar shorter than a pattern bar)
        uint32_t barFitted = 0;    // Qe ticks the bar takes in the pattern
        uint32_t barLength = 0;    // Wq ticks of the bar
        int repeat = 0;            // bar of the referenced Wq pattern being played
        bool skip = false;         // inside a Wq pattern: a bar that is not played
        bool ended = false;
        bool firstWritten = false; // the first channel event carries the track change
        uint32_t lastWritten = 0;  // Qe ticks of the last written event
        std::vector<Pending> pending;
    };

    // Conversion steps
    int Run(uint32_t model);
    int WriteElementPatterns(int element);
    int WriteCvPatterns(int element, int cv);
    int WriteElements();

    // Reading a track
    int ReadTrack(TrackRead& read, std::span<const uint8_t> run);
    int StartBar(TrackRead& read, const WqEvent& event);
    int PlayPattern(TrackRead& read, int pattern);
    int EndTrack(TrackRead& read);
    int FinishBar(TrackRead& read);
    void Translate(TrackRead& read, const WqEvent& event);
    void TranslateNote(TrackRead& read, const WqEvent& event);
    void Enqueue(TrackRead& read, uint32_t wqTime, uint8_t kind, uint8_t data1, uint8_t data2);
    void EnqueueAt(TrackRead& read, uint32_t qeTime, uint8_t kind, uint8_t data1, uint8_t data2);
    int WriteEvent(TrackRead& read, uint32_t time, uint8_t kind, uint8_t data1, uint8_t data2);

    // Work state of one conversion
    struct CvState {
        uint8_t trackMask = 0; // tracks with data
        uint32_t length = 0;   // Qe ticks
    };
    struct ElementState {
        uint8_t cvMask = 0;    // Wq CVs that exist, are not empty and have track data
        uint8_t timeSig = 0;
        bool timeSigSet = false;
        std::array<uint8_t, 21> chordTable{};
    };

    const WqToQeSoundTable* sounds_ = nullptr;
    std::optional<CQeStyleChunkWriter> out_;
    std::array<ElementState, wq::kElementCount> elements_{};
    std::array<CvState, wq::kCvSlotCount> cvs_{};
    uint16_t elementMask_ = 0;
    int patternCount_ = 0;

    // The CV being written
    int element_ = 0;
    int cvBars_ = 0;
    Signature patternSig_;
    uint32_t cvLength_ = 0;
};

// The conversion as the style document's model conversion runs it: the
// image of one Wq style and its model letter in, the body of the Qe style
// out, or the failure's code and its message ("Style %s not converted -
// Error no: %ld" with the given style name).
struct WqToQeResult {
    int code = 0;
    std::string text;
    std::vector<uint8_t> body;
};
WqToQeResult ConvertWqStyleToQe(std::span<const uint8_t> image, uint32_t model, std::string_view styleName);

} // namespace zib
