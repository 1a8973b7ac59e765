#include "zibtbl/gen/TensionRules.h"

#include "zibtbl/TensionPair.h"
#include "zibtbl/TensionTables.h"

#include <array>
#include <optional>
#include <vector>

namespace zib::tbl {
namespace {

constexpr int kNone = -1; // the chord has no added tone
constexpr int kKeep = -2; // the chord does not say: the note keeps its recorded pitch

// Pitch classes above the root. The "third" of a sus chord is its 4th or 2nd;
// scale degrees that a chord leaves out fold onto a neighbour (min: the 6th
// goes to the b7).
struct ChordShape {
    int third;
    int fifth;
    int added; // 6th or 7th of a four-note chord, kNone for a triad
    int second;
    int fourth;
    int sixth;
    int seventh;
};

constexpr std::array<ChordShape, kChordTypeCount> kShapes = {{
    {4, 7, kNone, 2, 5, 9, 11},                        // 0 Major
    {4, 7, 9, 2, 5, 9, 11},                            // 1 Maj6
    {4, 7, 11, 2, 5, 9, 11},                           // 2 Maj7
    {4, 6, 11, 2, 6, 9, 11},                           // 3 Maj7b5
    {5, 7, kNone, 2, 5, 9, 10},                        // 4 Sus4
    {2, 7, kNone, 2, 5, 9, 11},                        // 5 Sus2
    {5, 7, 11, 2, 5, 9, 11},                           // 6 Maj7sus4
    {3, 7, kNone, 2, 5, 10, 10},                       // 7 min
    {3, 7, 9, 2, 5, 9, 10},                            // 8 min6
    {3, 7, 10, 2, 5, 10, 10},                          // 9 min7
    {3, 6, 10, 2, 5, 8, 10},                           // 10 min7b5
    {3, 7, 11, 2, 5, 9, 11},                           // 11 minMaj7
    {4, 7, 10, 2, 5, 10, 10},                          // 12 7
    {4, 6, 10, 2, 6, 10, 10},                          // 13 7b5
    {5, 7, 10, 2, 5, 9, 10},                           // 14 7sus4
    {3, 6, kNone, 2, 5, 8, 9},                         // 15 dim
    {3, 6, 11, 2, 5, 8, 11},                           // 16 dimMaj7
    {4, 8, kNone, 2, 6, 9, 11},                        // 17 aug
    {4, 8, 10, 2, 6, 10, 10},                          // 18 aug7
    {4, 8, 11, 2, 6, 9, 11},                           // 19 augMaj7
    {kKeep, 7, kKeep, kKeep, kKeep, kKeep, kKeep},     // 20 No3rd
    {kKeep, kKeep, kKeep, kKeep, kKeep, kKeep, kKeep}, // 21 No3rdNo5th
}};

constexpr int kMajor = 0;
constexpr int kMaj7 = 2;
constexpr int kMin7 = 9;

// Tension tones of each set, in the order of the set's name.
const std::array<std::vector<int>, kChordTensionCount> kTensionTones = {{
    {},        {1},    {2},       {3},       {5},       {6},       {9},    {1, 5},
    {1, 9},    {1, 6}, {1, 5, 9}, {1, 6, 9}, {2, 5},    {2, 9},    {2, 6}, {2, 5, 9},
    {2, 6, 9}, {3, 5}, {3, 9},    {3, 6},    {3, 5, 9}, {3, 6, 9}, {5, 9}, {6, 9},
}};

// Largest move of a plain Qe entry; a transposition that would go further is
// left to the root.
constexpr int kPlainMin = -3;
constexpr int kPlainMax = 4;

enum class Role { Root, Third, Fifth, Added, Second, Fourth, Sixth, Seventh, Outside };

// The shortest move from one pitch class to another; a tritone goes up.
int nearest(int from, int to)
{
    const int d = ((to - from) % 12 + 12) % 12;
    return d > 6 ? d - 12 : d;
}

// The move up to the next note of that pitch class (1-12).
int upTo(int from, int to)
{
    const int d = ((to - from) % 12 + 12) % 12;
    return d == 0 ? 12 : d;
}

// Recorded chords: the two without a third and fifth are read as "Major",
// the chord their patterns are shown and played as.
const ChordShape& sourceShape(int chordType)
{
    return chordType >= 20 ? kShapes[kMajor] : kShapes[std::size_t(chordType)];
}

Role roleOf(const ChordShape& s, int interval)
{
    if (interval == 0) return Role::Root;
    if (interval == s.third) return Role::Third;
    if (interval == s.fifth) return Role::Fifth;
    if (s.added >= 0 && interval == s.added) return Role::Added;
    if (interval == s.seventh) return Role::Seventh;
    if (interval == s.sixth) return Role::Sixth;
    if (interval == s.fourth) return Role::Fourth;
    if (interval == s.second) return Role::Second;
    return Role::Outside;
}

// Everything about one (source, target, mode, tension set) that the entries share.
class VoicePlan {
public:
    VoicePlan(int sourceChordType, int chordType, int chordTension, NttMode mode, bool tensions)
        : src_(sourceShape(sourceChordType)), tgt_(kShapes[std::size_t(chordType)])
    {
        planAddedTone(mode);
        if (tensions) planTensions(kTensionTones[std::size_t(chordTension)], mode);
    }

    std::int32_t entry(int i) const
    {
        const Role role = roleOf(src_, i);
        for (const Assignment& a : assignments_) {
            if (a.voice != role) continue;
            if (a.carrier) return TensionPair{nearest(i, target(role, i)), upTo(i, a.tones[0])}.encode();
            if (a.tones.size() == 1) return nearest(i, a.tones[0]);
            return TensionPair{nearest(i, a.tones[1]), upTo(i, a.tones[0])}.encode();
        }
        return nearest(i, target(role, i));
    }

private:
    struct Assignment {
        Role voice;
        bool carrier; // the voice keeps its chord tone and adds the tension above
        std::vector<int> tones;
    };

    // The target pitch of a recorded note without tension tones.
    int target(Role role, int i) const
    {
        const auto keep = [i](int pitch) { return pitch == kKeep ? i : pitch; };
        switch (role) {
        case Role::Root:
            return transposed_ == Role::Root ? tgt_.added : 0;
        case Role::Third:
            return keep(tgt_.third);
        case Role::Fifth:
            return transposed_ == Role::Fifth ? tgt_.added : keep(tgt_.fifth);
        case Role::Added:
            return tgt_.added == kNone ? 0 : keep(tgt_.added);
        case Role::Second:
            return second_ ? *second_ : keep(tgt_.second);
        case Role::Fourth:
            return fourth_ ? *fourth_ : keep(tgt_.fourth);
        case Role::Sixth:
            return sixth_ ? *sixth_ : keep(tgt_.sixth);
        case Role::Seventh:
            return keep(tgt_.seventh);
        case Role::Outside:
            return i;
        }
        return i;
    }

    // A triad recorded for a four-note chord: the NTT mode's voice takes the added tone.
    void planAddedTone(NttMode mode)
    {
        if (src_.added >= 0 || tgt_.added < 0) return;
        const int fifthMove = nearest(src_.fifth, tgt_.added);
        transposed_ = mode == NttMode::TransposeFifth && tgt_.fifth == 7 && fifthMove >= kPlainMin &&
                              fifthMove <= kPlainMax
                          ? Role::Fifth
                          : Role::Root;
    }

    void planTensions(const std::vector<int>& tones, NttMode mode)
    {
        if (tones.empty()) return;
        for (int t : tones) {
            if (t <= 3)
                second_ = t;
            else if (t <= 6)
                fourth_ = t;
            else
                sixth_ = t;
        }

        std::vector<Role> free;
        if (src_.added >= 0 && tgt_.added == kNone) free.push_back(Role::Added);
        const int fifthPitch = tgt_.fifth == kKeep ? src_.fifth : tgt_.fifth;
        const bool rootFree = transposed_ != Role::Root;
        const bool fifthFree = transposed_ != Role::Fifth && fifthPitch == 7;
        if (mode == NttMode::TransposeRoot) {
            if (rootFree) free.push_back(Role::Root);
            if (fifthFree) free.push_back(Role::Fifth);
        } else {
            if (fifthFree) free.push_back(Role::Fifth);
            if (rootFree) free.push_back(Role::Root);
        }

        std::vector<std::vector<int>> groups;
        if (tones.size() <= 2)
            groups.push_back(tones);
        else
            groups = {{tones[0], tones[1]}, {tones[2]}};

        std::size_t g = 0;
        for (Role voice : free) {
            if (g == groups.size()) break;
            assignments_.push_back({voice, false, groups[g++]});
        }
        if (g < groups.size() && transposed_ != Role::Outside)
            assignments_.push_back({transposed_, true, groups[g]});
    }

    const ChordShape& src_;
    const ChordShape& tgt_;
    Role transposed_ = Role::Outside;            // the voice that took the target's added tone
    std::optional<int> second_, fourth_, sixth_; // scale degrees moved by the held tensions
    std::vector<Assignment> assignments_;
};

} // namespace

TensionRules::Row TensionRules::row(int sourceChordType, int chordType, int chordTension, NttMode mode,
                                    bool tensions)
{
    const VoicePlan plan(sourceChordType, chordType, chordTension, mode, tensions);
    Row out{};
    for (int i = 0; i < kIntervalCount; ++i)
        out[std::size_t(i)] = plan.entry(i);
    return out;
}

int TensionRules::wqSourceChordType(int sourceKind)
{
    return sourceKind == 0 ? kMaj7 : kMin7;
}

int TensionRules::wqSourceKind(int sourceChordType)
{
    return sourceShape(sourceChordType).third == 3 ? 1 : 0;
}

} // namespace zib::tbl
