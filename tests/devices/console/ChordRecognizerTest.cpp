#include "devices/core/ChordRecognizer.h"
#include "devices/core/CChordTimer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace zib;

namespace {

// Chord types by name, as the style data numbers them
const char* const kTypeNames[] = {"Major", "Maj6",    "Maj7",    "Maj7b5", "Sus4", "Sus2",    "Maj7sus4", "min",
                                  "min6",  "min7",    "min7b5",  "minMaj7", "7",   "7b5",     "7sus4",    "dim",
                                  "dimMaj7", "aug",   "aug7",    "augMaj7", "No3rd", "No3rdNo5th"};

int typeNumber(const std::string& name)
{
    for (int i = 0; i < 22; ++i)
        if (name == kTypeNames[i]) return i;
    ADD_FAILURE() << "no chord type " << name;
    return -1;
}

// Root-position shapes of the 20 chord types the table names
struct Shape {
    const char* type;
    std::vector<int> semitones;
};
const std::vector<Shape> kShapes = {
    {"Major", {0, 4, 7}},      {"Maj6", {0, 4, 7, 9}},    {"Maj7", {0, 4, 7, 11}},   {"Maj7b5", {0, 4, 6, 11}},
    {"Sus4", {0, 5, 7}},       {"Sus2", {0, 2, 7}},       {"Maj7sus4", {0, 5, 7, 11}}, {"min", {0, 3, 7}},
    {"min6", {0, 3, 7, 9}},    {"min7", {0, 3, 7, 10}},   {"min7b5", {0, 3, 6, 10}}, {"minMaj7", {0, 3, 7, 11}},
    {"7", {0, 4, 7, 10}},      {"7b5", {0, 4, 6, 10}},    {"7sus4", {0, 5, 7, 10}},  {"dim", {0, 3, 6}},
    {"dimMaj7", {0, 3, 6, 11}}, {"aug", {0, 4, 8}},       {"aug7", {0, 4, 8, 10}},   {"augMaj7", {0, 4, 8, 11}},
};

// Plays the notes one after the other, as fingers land, and returns the pending chord.
Chord play(ChordRecognizer& r, const std::vector<int>& notes)
{
    for (int n : notes)
        r.NoteOn(n);
    return r.Pending();
}

// Every chord type in root position on every root, from a low bass (C2 = 36) up.
TEST(ChordRecognizer, NamesEveryTypeInRootPositionOnEveryRoot)
{
    for (const Shape& shape : kShapes) {
        for (int root = 0; root < 12; ++root) {
            ChordRecognizer r(true);
            std::vector<int> notes;
            for (int s : shape.semitones)
                notes.push_back(36 + root + s);
            EXPECT_EQ(play(r, notes), (Chord{root, typeNumber(shape.type), 0})) << shape.type << " on " << root;
        }
    }
}

// Inversions on E (the current root is C, which none of these chords holds but
// the augmented ones): the bass names the chord when its rotation is a chord
// of the table, so a pitch set that is two chords is read from the bass
// (C#m7 for E6 over G#, G6 for Em7 over G). Sets whose bass rotation names
// nothing fall back on the other held roots from C upward.
TEST(ChordRecognizer, ReadsInversionsFromTheBassFirst)
{
    struct Case {
        const char* type;
        std::vector<std::string> inversions; // expected "root type" over each chord tone in the bass
    };
    const std::vector<Case> cases = {
        {"Major", {"E Major", "E Major", "E Major"}},
        {"Maj6", {"E Maj6", "C# min7", "C# min7", "C# min7"}},
        {"Maj7", {"E Maj7", "E Maj7", "E Maj7", "E Maj7"}},
        {"Maj7b5", {"E Maj7b5", "E Maj7b5", "E Maj7b5", "E Maj7b5"}},
        {"Sus4", {"E Sus4", "A Sus2", "E Sus4"}},
        {"Sus2", {"E Sus2", "E Sus2", "B Sus4"}},
        {"Maj7sus4", {"E Maj7sus4", "E Maj7sus4", "E Maj7sus4", "E Maj7sus4"}},
        {"min", {"E min", "E min", "E min"}},
        {"min6", {"E min6", "C# min7b5", "C# min7b5", "C# min7b5"}},
        {"min7", {"E min7", "G Maj6", "E min7", "E min7"}},
        {"min7b5", {"E min7b5", "G min6", "E min7b5", "E min7b5"}},
        {"minMaj7", {"E minMaj7", "E minMaj7", "E minMaj7", "E minMaj7"}},
        {"7", {"E 7", "E 7", "E 7", "E 7"}},
        {"7b5", {"E 7b5", "E 7b5", "A# 7b5", "E 7b5"}},
        {"7sus4", {"E 7sus4", "E 7sus4", "E 7sus4", "E 7sus4"}},
        {"dim", {"E dim", "E dim", "E dim"}},
        {"dimMaj7", {"E dimMaj7", "D# Major", "D# Major", "D# Major"}},
        {"aug", {"E aug", "G# aug", "C aug"}},
        {"aug7", {"E aug7", "E aug7", "E aug7", "E aug7"}},
        {"augMaj7", {"E augMaj7", "E augMaj7", "E augMaj7", "E augMaj7"}},
    };
    const char* roots[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    for (const Case& c : cases) {
        const Shape* shape = nullptr;
        for (const Shape& s : kShapes)
            if (std::string(s.type) == c.type) shape = &s;
        ASSERT_NE(shape, nullptr);
        ASSERT_EQ(c.inversions.size(), shape->semitones.size());
        for (size_t inversion = 0; inversion < shape->semitones.size(); ++inversion) {
            // Chord tone `inversion` in the bass, the others stacked above it
            std::vector<int> notes;
            for (size_t i = 0; i < shape->semitones.size(); ++i) {
                const size_t tone = (inversion + i) % shape->semitones.size();
                notes.push_back(28 + shape->semitones[tone] + (tone < inversion ? 12 : 0));
            }
            ChordRecognizer r(false);
            const Chord chord = play(r, notes);
            EXPECT_EQ(std::string(roots[chord.root]) + " " + kTypeNames[chord.type], c.inversions[inversion])
                << c.type << " inversion " << inversion;
        }
    }
}

TEST(ChordRecognizer, NamesASingleNoteBySeries)
{
    ChordRecognizer qe(true);
    EXPECT_TRUE(qe.NoteOn(50));
    EXPECT_EQ(qe.Pending(), (Chord{2, 21, 0})); // D "No3rdNo5th"
    EXPECT_EQ(qe.LastLowestNote(), 50);
    EXPECT_EQ(qe.LastMask(), 1u << 2);

    ChordRecognizer wq(false);
    EXPECT_TRUE(wq.NoteOn(59));
    EXPECT_EQ(wq.Pending(), (Chord{11, 0, 0})); // B "Major"
}

TEST(ChordRecognizer, CountsOnlyTheChordZone)
{
    ChordRecognizer r(false);
    r.NoteOn(52); // E3
    r.NoteOn(55); // G3
    EXPECT_FALSE(r.NoteOn(60)); // C4 lies outside the zone
    EXPECT_FALSE(r.IsHeld(60));
    EXPECT_EQ(r.Pending(), (Chord{4, 7, 0})); // E min
    EXPECT_EQ(r.LastMask(), 0b1001u);         // 0 3 relative to E
    EXPECT_EQ(r.LastLowestNote(), 52);
    EXPECT_FALSE(r.NoteOn(127));
    EXPECT_FALSE(r.NoteOn(-1));
    EXPECT_EQ(r.Pending(), (Chord{4, 7, 0}));
}

TEST(ChordRecognizer, NamesTheTensionOfAnAddedNinth)
{
    ChordRecognizer r(false);
    EXPECT_EQ(play(r, {48, 50, 52, 55}), (Chord{0, 0, 2})); // C3 D3 E3 G3: C Major " 9"
    EXPECT_EQ(r.LastMask(), 0b10010101u);
}

TEST(ChordRecognizer, KeepsTheChordWhenKeysGoUp)
{
    ChordRecognizer r(false);
    play(r, {45, 48, 52}); // A min
    for (int n : {45, 48, 52})
        r.NoteOff(n);
    EXPECT_EQ(r.Pending(), (Chord{9, 7, 0}));
    r.NoteOff(300); // out of range: nothing
    // The next note starts afresh: nothing is held any more.
    EXPECT_TRUE(r.NoteOn(43));
    EXPECT_EQ(r.Pending(), (Chord{7, 0, 0}));
}

TEST(ChordRecognizer, KeepsThePendingChordWhenNothingMatches)
{
    ChordRecognizer r(false);
    EXPECT_TRUE(r.NoteOn(48));
    EXPECT_FALSE(r.NoteOn(49)); // C C#: no chord of the table
    EXPECT_EQ(r.Pending(), (Chord{0, 0, 0}));
    EXPECT_EQ(r.LastLowestNote(), 48);
}

// The lowest note counts even when it comes last.
TEST(ChordRecognizer, TakesTheBassFromTheLowestHeldNote)
{
    ChordRecognizer r(false);
    play(r, {52, 55, 48}); // E G, then C below them: C Major
    EXPECT_EQ(r.Pending(), (Chord{0, 0, 0}));
    EXPECT_EQ(r.LastLowestNote(), 48);
}

// C E G A: with A in the bass it is A min7; with C in the bass C Maj6. When
// the bass names nothing, the current root is tried before the others.
TEST(ChordRecognizer, PrefersTheCurrentRootAfterTheBass)
{
    // G A C E: the bass G names nothing. Current root C: C Maj6 (A would give A min7).
    ChordRecognizer fromC(false);
    EXPECT_EQ(play(fromC, {43, 45, 48, 52}), (Chord{0, 1, 0}));

    // The same notes with A current: A min7.
    ChordRecognizer fromA(false);
    play(fromA, {45, 48, 52}); // A min
    fromA.Commit();
    for (int n : {45, 48, 52})
        fromA.NoteOff(n);
    EXPECT_EQ(play(fromA, {43, 45, 48, 52}), (Chord{9, 9, 0}));

    // With a current root the chord does not hold, the other roots go upward: C before A.
    ChordRecognizer fromD(false);
    play(fromD, {38});
    fromD.Commit();
    fromD.NoteOff(38);
    EXPECT_EQ(play(fromD, {43, 45, 48, 52}), (Chord{0, 1, 0}));
}

// Words as MIDI IN delivers them: status, then note and velocity
TEST(ChordRecognizer, TakesNotesFromMidiInOnEveryChannel)
{
    ChordRecognizer r(false);
    EXPECT_TRUE(r.MidiInput(0x402D90));  // note on A2, channel 1
    EXPECT_TRUE(r.MidiInput(0x01309F));  // C3 on channel 16, velocity 1
    EXPECT_TRUE(r.MidiInput(0x7F3495));  // E3
    EXPECT_EQ(r.Pending(), (Chord{9, 7, 0}));
    EXPECT_FALSE(r.MidiInput(0x00349A)); // velocity 0: a note off
    EXPECT_FALSE(r.IsHeld(52));
    EXPECT_FALSE(r.MidiInput(0x403080)); // note off
    EXPECT_FALSE(r.IsHeld(48));
    EXPECT_FALSE(r.MidiInput(0x402DA0)); // key pressure: ignored
    EXPECT_FALSE(r.MidiInput(0x0040B0)); // controller: ignored
    EXPECT_FALSE(r.MidiInput(0x0000F8)); // clock: ignored
    EXPECT_TRUE(r.IsHeld(45));
}

TEST(ChordRecognizer, CommitsAndDropsThePendingChord)
{
    ChordRecognizer r(false);
    play(r, {45, 48, 52});
    EXPECT_EQ(r.Current(), Chord{});
    r.Commit();
    EXPECT_EQ(r.Current(), (Chord{9, 7, 0}));
    for (int n : {45, 48, 52})
        r.NoteOff(n);
    r.NoteOn(40);
    EXPECT_NE(r.Pending(), r.Current());
    r.DropPending();
    EXPECT_EQ(r.Pending(), (Chord{9, 7, 0}));
    r.Reset();
    EXPECT_EQ(r.Current(), Chord{});
    EXPECT_EQ(r.Pending(), Chord{});
    EXPECT_EQ(r.LastLowestNote(), 48);
    EXPECT_EQ(r.LastMask(), 0);
    EXPECT_FALSE(r.IsHeld(40));
}

// Notes of one chord land within a few milliseconds: the timer armed by the
// first fires once, 40 ms later, and finds the last chord they named.
TEST(CChordTimer, FiresOnce40MillisecondsAfterTheFirstArming)
{
    ChordRecognizer r(false);
    CChordTimer timer;
    EXPECT_EQ(timer.Id(), 0u);
    const uint64_t times[] = {1000, 1010, 1025};
    const int notes[] = {36, 40, 43};
    std::vector<bool> armed;
    for (int i = 0; i < 3; ++i)
        if (r.NoteOn(notes[i])) armed.push_back(timer.Arm(times[i]));
    EXPECT_EQ(armed, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(timer.Id(), CChordTimer::kTimerId);
    EXPECT_FALSE(timer.IsDue(1039));
    EXPECT_TRUE(timer.IsDue(1040));
    EXPECT_EQ(r.Pending(), (Chord{0, 0, 0}));
    timer.Kill();
    EXPECT_FALSE(timer.IsArmed());
    EXPECT_FALSE(timer.IsDue(5000));
    EXPECT_TRUE(timer.Arm(5000));
    EXPECT_EQ(timer.Deadline(), 5040u);
}

} // namespace
