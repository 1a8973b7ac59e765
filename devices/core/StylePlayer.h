#pragma once

#include "devices/core/CChordSwitch.h"
#include "devices/core/CChordTimer.h"
#include "devices/core/ChordRecognizer.h"
#include "devices/core/StylePlace.h"
#include "devices/core/Transposer.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace zib {

class CStyleMidiReader;

// The one MIDI output of the style playback console: a stream on one device
// that takes one buffer of stream events at a time (12 bytes each: delta,
// stream id 0, event word). Results are the device layer's error numbers
// (0 = success). The console's window implements it over the device layer
// and hands every "buffer done" report back to StylePlayer::OnBufferDone on
// the user-interface thread.
class StylePlayerOutput {
public:
    virtual ~StylePlayerOutput() = default;

    // Opens the stream paused at tick 0 with its time division and tempo
    virtual uint32_t Open(uint16_t division, uint32_t microsecondsPerQuarter) = 0;
    virtual uint32_t SetTempo(uint32_t microsecondsPerQuarter) = 0;
    // Queues one buffer (the bytes are copied)
    virtual uint32_t Queue(std::span<const uint8_t> events) = 0;
    virtual uint32_t Restart() = 0;
    // Ends the stream: what is queued is dropped, `noteOffs` (short messages)
    // go out at once, then the stream closes and reports nothing more
    virtual void Close(std::span<const uint32_t> noteOffs) = 0;
};

// The style playback console without its window: it plays the patterns of
// one style the way an arranger keyboard does, moving every note to the chord
// the player holds, one event per buffer, refilled from each "buffer done".
//
// Elements 0-9: VAR1-VAR4, INTRO1-INTRO2, then FILL1-FILL2 and END1-END2 for
// the Qe series, END1-END2 and FILL1-FILL2 for the others. A variation loops;
// an intro goes on with VAR1, a fill with the last variation chosen; an
// ending stops. Chords and elements chosen while stopped take effect at once;
// while playing they wait for the switch point (CChordSwitch.h).
//
// Every note the player starts is ended by it: a note off ends the notes its
// note on went out as, a switch ends the notes that sound across it, and
// stopping, closing or a failed step ends all that still sound.
class StylePlayer {
public:
    // The program name shown with the selected track: (style, element, track)
    using ProgramNameFunction = std::function<std::string(const CStyleMidiReader&, int, int)>;

    static constexpr int kMinTempo = 40;
    static constexpr int kMaxTempo = 240;
    static constexpr int kStartTempo = 80;
    static constexpr int kStartVolume = 90;
    static constexpr int kNoElement = -1;

    // What a step, a start or a tempo change ran into
    struct Result {
        uint32_t streamError = 0;   // the device layer's error number; 0 none
        bool cannotPrepare = false; // a step could not be built ("Cannot Prepare Midi Event")
        bool ok() const { return streamError == 0 && !cannotPrepare; }
    };

    StylePlayer(const CStyleMidiReader& style, StylePlayerOutput& output,
                const TensionSource& tensions = ZibTblTensions());

    // Opening: start element (INTRO1 when the style has it, else VAR1), its
    // chord variation for Major, tempo 80, volumes 90, chord C, track 0.
    void Open();

    // Transport
    Result Start();
    void Stop();
    // The queued buffer has played: the next one goes out. When the result
    // says so, or the style ran to its end, the player has stopped.
    Result OnBufferDone();

    // Controls
    // An element button: at once while stopped, at the switch point while playing
    void SelectElement(int element);
    // One step up (+1) or down (-1); false when refused at 40 or 240
    bool StepTempo(int step, Result* result = nullptr);
    // A track's volume bar (0 at the top = volume 127); the track becomes the selected one
    void SetTrackBar(int track, int position);
    // The selected track's octave shift by one step; false for DRUM and PERC
    // and past -2..+2
    bool StepOctave(int step);

    // Chord input: notes from MIDI IN, the piano and the computer keyboard.
    // True when the 40 ms chord timer is to be armed (the window starts it
    // when ChordTimerArmed() was false).
    bool MidiInput(uint32_t message);
    bool Key(int note, bool down);
    // The chord timer fired: the pending chord takes effect (at once while
    // stopped) and the display text is returned. The timer is off afterwards.
    std::string OnChordTimer();
    bool ChordTimerArmed() const { return timer_.IsArmed(); }

    // What the window shows
    bool Playing() const { return playing_; }
    bool HasElement(int element) const;
    std::string ElementLabel(int element) const; // "VAR1" ... "END2" by series
    int LitElement() const { return current().element; }
    std::string PositionText() const; // "   %3d:%02d"
    const std::string& ChordText() const { return chordText_; }
    int Tempo() const { return tempo_; }
    int TrackCount() const { return transposer_.TrackCount(); }
    std::string TrackName(int track) const;
    int TrackVolume(int track) const;
    int SelectedTrack() const { return selectedTrack_; }
    int OctaveShift() const { return transposer_.OctaveShift(selectedTrack_); }
    // "%s:   %-18s": the selected track and its program in the lit element
    std::string SelectedTrackText(const ProgramNameFunction& programName) const;
    // Whether computer keys may play now: no element restart or chord change pending
    bool KeysPlay() const { return !restart_ && !switch_.changePending; }

    // State, for tests
    StylePlace CurrentPlace() const { return switch_.current; }
    StylePlace PendingPlace() const { return switch_.pending; }
    const Chord& CurrentChord() const { return chords_.Current(); }
    bool ChangePending() const { return switch_.changePending; }
    SwitchTicks PendingTicks() const { return switch_.ticks; }
    int ReturnVariation() const { return returnVariation_; }
    // The notes that sound now because the player started them, as (channel, note)
    std::vector<std::pair<int, int>> SoundingNotes() const;

private:
    // One stream event: delta ticks and event word
    struct StreamEvent {
        uint32_t delta;
        uint32_t word;
    };
    // A note as it went out: its channel and one or two notes
    struct SentNote {
        uint8_t channel;
        uint8_t count;
        std::array<uint8_t, 2> notes;
    };

    const StylePlace& current() const { return switch_.current; }
    uint32_t StartIndex(StylePlace place) const;
    uint32_t PatternLength(StylePlace place) const;
    bool IsVariation(int element) const { return element >= 0 && element <= 3; }
    bool IsIntro(int element) const { return element == 4 || element == 5; }
    bool IsFill(int element) const;
    bool IsEnding(int element) const;

    // Building the buffers
    std::vector<StreamEvent> ElementSetup(int element, bool withVolumes) const;
    bool AppendEvent(uint32_t index, StylePlace place, const Chord& chord, std::vector<StreamEvent>& out);
    Result Queue(std::vector<StreamEvent> events);
    uint32_t TakeDelta(uint32_t time);
    void NoteSent(uint32_t word);

    // Steps
    Result Step();
    Result NextEvent();
    Result SendEvent(uint32_t index);
    Result EndOfList();
    Result SwitchAtEndOfList();
    Result SwitchAtTick();
    void Commit(bool& elementChanged);
    void UpdatePosition(uint32_t time);
    Result Finish(Result why);
    void CloseStream();

    const CStyleMidiReader& style_;
    StylePlayerOutput& output_;
    bool qe_;
    ChordRecognizer chords_;
    CChordSwitch switch_;
    CChordTimer timer_;
    Transposer transposer_;

    // Run state
    bool playing_ = false;
    bool streamOpen_ = false;
    bool end_ = false;
    bool restart_ = false;
    int returnVariation_ = 0;
    uint32_t nextIndex_ = 0;
    uint32_t lastEventTime_ = 0;
    uint32_t carry_ = 0; // ticks still owed to the next event (a loop, a switch)
    int bar_ = 0;
    int beat_ = 0;
    bool setupPending_ = false;
    std::vector<StreamEvent> setup_;
    std::vector<uint8_t> buffer_;

    // Controls
    int tempo_ = kStartTempo;
    std::array<int, 8> volumes_{};
    int selectedTrack_ = 0;
    std::string chordText_ = "C";

    // Notes the player started that have not ended: by (channel << 8 | note)
    // a count, and by note-on event the notes it went out as
    std::map<uint16_t, int> sounding_;
    std::map<uint32_t, SentNote> sentNoteOns_;
};

} // namespace zib
