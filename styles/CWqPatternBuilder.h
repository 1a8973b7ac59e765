#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "midi/CMidiFileEx.h"
#include "platform/ByteWriter.h"
#include "styles/CConversionLog.h"
#include "styles/ConversionLogSink.h"
#include "styles/WqEvent.h"

namespace zib {

// Bits of the Midi2StyIgnoreFlags setting: kinds of events left out of the
// tracks of a converted Wq style.
enum WqIgnoreFlag : int {
    kWqIgnoreProgram = 1, // program change
    kWqIgnoreVolume = 2,  // controller 7
    kWqIgnorePan = 4,     // controller 10
    kWqIgnoreBank = 8,    // controllers 0 and 32
};

// The setup values of one style track: the first bank select (MSB and LSB),
// volume, pan and program change of the track found in the file's setup bar.
struct WqTrackHeader {
    uint8_t volume = 100;
    uint8_t pan = 31;
    uint8_t bankMsb = 0;
    uint8_t bankLsb = 0;
    uint8_t program = 0;
    bool volumeFound = false;
    bool panFound = false;
    bool bankMsbFound = false;
    bool bankLsbFound = false;
    bool programFound = false;

    // Keeps the first value of each kind; other events are not looked at.
    void Capture(uint8_t status, uint8_t data1, uint8_t data2);
    // The header word: bank LSB x 256 + program.
    uint16_t Word() const { return uint16_t(bankLsb << 8 | program); }
};

// Builds the events of one track of one chord variation of a Wq style image
// (4-byte events at 96 ticks per quarter note, times from the bar start)
// from the MIDI events of the track's channel that fall in the CV's measures.
//
// Events are collected in file order and written sorted by bar: a bar event
// (0x6000 + bar number, the bar's time-signature code) for every bar up to
// the bar of the event, the events, and an end event with the last bar
// number. Inside a bar, pieces of tied notes come first, then the events by
// tick in the order they came (a note at its note-on). A note that reaches
// into a later bar is tied: the piece in its first bar lasts 510 (tie), each
// later bar holds a piece tied in (time 510) that lasts the whole bar (510)
// or up to the note's end. A note-off exactly on a bar line ends the note in
// the bar before it.
//
// While no event of a kind has gone into the track, a first bank select,
// volume, pan or program change equal to the track's header value is
// dropped; the ignore flags drop every event of their kind.
class CWqPatternBuilder {
public:
    enum class Result { Ok, TooManyBars, Overflow };

    // Largest bar time or note length; 510 marks a tie.
    static constexpr uint16_t kMaxTime = 509;

    // `map` gives the measures (its division is the file's); the CV holds
    // measures first..last. With `logging` the builder keeps its log lines
    // for the caller (LogText); channel is 1-16.
    CWqPatternBuilder(const CMidiFileEx& map, int firstMeasure, int lastMeasure, const WqTrackHeader& header,
                      int ignoreFlags, int channel, bool logging);
    CWqPatternBuilder(const CWqPatternBuilder&) = delete;
    CWqPatternBuilder& operator=(const CWqPatternBuilder&) = delete;

    // The CV
    uint32_t StartTick() const { return startTick_; }
    bool Holds(int measure) const { return measure >= firstMeasure_ && measure <= lastMeasure_; }

    // Events of the track, in file order. A note takes its place among the
    // events at its note-on (NoteOn gives its handle) and is written once its
    // note-off is known (null: none was found; the note then ends with its
    // bar, with a warning).
    int NoteOn(const StyleEventPosition& on, uint8_t key, uint8_t velocity);
    void NoteOff(int note, const StyleEventPosition* off, uint8_t offVelocity);
    void AddController(const StyleEventPosition& pos, uint8_t controller, uint8_t value);
    void AddProgram(const StyleEventPosition& pos, uint8_t program, uint16_t soundWord);
    void AddKeyPressure(const StyleEventPosition& pos, uint8_t key, uint8_t value);
    void AddChannelPressure(const StyleEventPosition& pos, uint8_t value);
    void AddPitchWheel(const StyleEventPosition& pos, uint8_t lsb, uint8_t msb);
    void NoteOffWithoutNoteOn(const StyleEventPosition& pos, uint8_t key, uint8_t velocity);

    // Writes the track to `out` (nothing when it has no events). Overflow
    // when `out` refuses the bytes; TooManyBars (FailedBar) for a bar beyond
    // the 16th.
    Result Finish(ByteWriter& out);
    int FailedBar() const { return failedBar_; }

    // What the track found
    uint32_t LatestTick() const { return latestTick_; } // latest kept event or note end; 0 without
    int Errors() const { return errors_; }
    int Warnings() const { return warnings_; }
    CConversionLog& Log() { return log_; }
    const std::string& LogText() const { return logText_; }

    // Wq time-signature code of n/d (16-24 n/4, 32-47 n/8, 48-63 n/16), -1
    // when the style cannot hold it; bar length at 96 ticks per quarter.
    static int TimeSigCode(int numerator, int denominator);
    static uint32_t BarTicks(int numerator, int denominator)
    {
        return uint32_t(numerator * 384 / denominator);
    }

private:
    struct Record {
        int bar;
        bool tiedIn;   // a tied-in note piece goes first in its bar
        uint32_t tick; // file tick, for the order inside the bar
        uint32_t seq;  // arrival (of a note: of its note-on), for equal ticks
        WqEvent event;
    };
    struct OpenNote {
        StyleEventPosition on;
        uint8_t key;
        uint8_t velocity;
        uint32_t seq;
    };
    // Kinds under the first-value rule
    enum Kind { kBankMsb, kBankLsb, kVolume, kPan, kProgram, kKinds };

    // The log goes to a string that the caller writes out in slot order.
    class StringSink : public IConversionLogSink {
    public:
        explicit StringSink(std::string& out) : out_(out) {}
        void Write(std::string_view text) override { out_.append(text); }

    private:
        std::string& out_;
    };

    uint32_t Scale(uint32_t ticks) const;
    uint16_t BarTime(const StyleEventPosition& pos);
    uint32_t BarLength(int measure) const;
    bool FirstValueDropped(Kind kind, int value, int headerValue);
    void Keep(const StyleEventPosition& pos, uint8_t type, uint8_t byte2, uint8_t byte3);
    void Add(int measure, bool tiedIn, uint32_t tick, uint32_t seq, uint16_t w0, uint16_t w1);
    uint16_t CheckedTime(const StyleEventPosition& pos, uint32_t value);
    void Error(const StyleEventPosition& pos, const char* format, ...) __attribute__((format(printf, 3, 4)));

    const CMidiFileEx& map_;
    uint32_t division_;
    int firstMeasure_;
    int lastMeasure_;
    uint32_t startTick_;
    uint32_t endTick_;
    WqTrackHeader header_;
    int ignoreFlags_;
    int channel_;

    bool kindInTrack_[kKinds] = {};
    std::vector<Record> records_;
    std::vector<OpenNote> notes_;
    uint32_t nextSeq_ = 0;
    uint32_t latestTick_ = 0;
    int failedBar_ = -1;
    int errors_ = 0;
    int warnings_ = 0;

    std::string logText_;
    StringSink sink_{logText_};
    CConversionLog log_;
};

} // namespace zib
