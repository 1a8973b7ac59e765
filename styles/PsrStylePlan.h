#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zib {

// What the PSR-style converter learns about a Yamaha style in its first
// pass and how it lays the Qe style out: the 16 PSR sections, the 10 Qe
// elements made from them with their chord variations (CVs), the source
// channels of every CV track and the pattern numbers.

inline constexpr int kPsrSectionCount = 16;
inline constexpr int kPsrElementCount = 10; // VAR1-VAR4, INT1, INT2, FILL1, FILL2, END1, END2
inline constexpr int kPsrMaxCvs = 6;
inline constexpr int kQeTrackCount = 8;      // DRUM, PERC, BASS, ACC1-ACC5
inline constexpr int kQeChordTypeCount = 22;

// Element, track and CV names of the log
const char* PsrElementName(int element); // "VAR1" ... "END2"; "???" outside 0-9
const char* PsrTrackName(int track);     // "DRUM" ... "ACC5"; "???" outside 0-7
const char* PsrCvName(int cv);           // "CV1" ... "CV6"; "???" outside 0-5

// Style-editor pattern type of a Qe track: 0 DRUM and PERC, 1 BASS, 2 ACC1-ACC5
inline uint8_t QePatternType(int track) { return track < 2 ? 0 : track == 2 ? 1 : 2; }

// File ticks to Qe ticks (384 per quarter note), rounded half up.
uint32_t ScalePsrTicks(uint64_t ticks, uint16_t division);

// The default section-to-element setting (PsrStyToQeSty) and its reading:
// letters 1-4 stand for the Main sections, 5-6 choose the intros of INT1
// and INT2, 7-8 the fills of FILL1 and FILL2, 9-10 the endings of END1 and
// END2 (intro and ending letters A-C, fill letters A-F = AA, AB, BA, BB,
// CC, DD). A pair counts only when its first letter comes before its second.
inline constexpr std::string_view kDefaultPsrStyToQeSty = "ABCDABADAB";
// True for ten letters each in its range.
bool IsValidPsrStyToQeSty(std::string_view letters);
// Element of each section (-1 for none); an invalid setting reads as the default.
std::array<int, kPsrSectionCount> MapPsrSections(std::string_view letters);

// A program-change and controller value a channel sets
enum class PsrValue : uint8_t { BankMsb = 0, BankLsb = 1, Expression = 2, Program = 3 };
inline constexpr size_t kPsrValueCount = 4;
const char* PsrValueName(PsrValue value); // "HBank", "LBank", "Expr", "Prog"

struct PsrChannelValues {
    std::array<uint8_t, kPsrValueCount> value{};
    std::array<bool, kPsrValueCount> found{};

    bool Has(PsrValue v) const { return found[size_t(v)]; }
    uint8_t Get(PsrValue v) const { return value[size_t(v)]; }
    void Set(PsrValue v, uint8_t x)
    {
        value[size_t(v)] = x;
        found[size_t(v)] = true;
    }
};

struct PsrSectionChannel {
    bool used = false;     // a note-on was seen
    uint32_t noteOns = 0;  // note-ons with velocity above 0
    PsrChannelValues values;
};

struct PsrSection {
    bool found = false;
    bool used = false;
    uint32_t startBar = 0; // from 0
    uint32_t startTime = 0;
    uint32_t stopTime = 0;
    std::array<PsrSectionChannel, 16> channels{};
    // Filled by the plan: Ctab destination (8-15) of each sounding channel,
    // 255 for none, and the channels that sound for each Qe chord type
    std::array<uint8_t, 16> destChannel{};
    std::array<uint16_t, kQeChordTypeCount> chordMute{};
};

struct PsrTrackSettings {
    uint8_t expression = 100;
    uint8_t bankMsb = 121;
    uint8_t bankLsb = 0;
    uint8_t program = 0;
};

struct PsrElement {
    bool defined = false;
    int section = -1; // the PSR section it is made from
    uint32_t startBar = 0;
    uint32_t endBar = 0;
    uint32_t startTime = 0;
    uint32_t stopTime = 0;
    uint8_t timeSignature = 34; // numerator x 8 + log2 denominator
    bool hasTimeSignature = false;
    bool timeSignatureFromEvent = false; // set by an event in its section, not propagated

    int cvCount = 0;
    std::array<uint8_t, kQeChordTypeCount> chordTable{}; // CV of each Qe chord type
    std::array<uint16_t, kPsrMaxCvs> cvChordMute{};      // the source mask the CV was made from
    std::array<uint8_t, kPsrMaxCvs> cvTracks{};          // bit t: Qe track t has sources
    std::array<std::array<uint16_t, kQeTrackCount>, kPsrMaxCvs> sources{};
    std::array<std::array<int, kQeTrackCount>, kPsrMaxCvs> patternNumber{}; // from 1; -1 none
    std::array<PsrTrackSettings, kQeTrackCount> tracks{};

    uint8_t CvMask() const { return uint8_t((1u << cvCount) - 1); }
    uint32_t Length() const { return stopTime > startTime ? stopTime - startTime : 0; }
};

// One event of a pattern in work (pass 2)
struct PsrPatternEvent {
    enum Kind : uint8_t { NoteOff = 0, NoteOn = 1, Controller = 3, PitchWheel = 6 };
    uint32_t time = 0; // file ticks
    uint8_t kind = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    bool resolved = false; // a note-on whose note-off was found
};

struct PsrStylePlan {
    uint16_t division = 96;
    std::array<PsrSection, kPsrSectionCount> sections{};
    std::array<PsrElement, kPsrElementCount> elements{};
    std::array<int, kPsrSectionCount> sectionElement{};
    std::array<int, kPsrElementCount> elementSection{};
    uint16_t elementMask = 0;
    int differentPatterns = 0;
    int references = 0;

    PsrStylePlan() { Reset(kDefaultPsrStyToQeSty); }
    // Empty, with the sections mapped by the setting
    void Reset(std::string_view letters);
};

// Errors and warnings of one conversion run
struct PsrCounters {
    int errors = 0;
    int warnings = 0;
};

} // namespace zib
