#include "devices/core/CChordSwitch.h"

#include "devices/core/ChordRecognizer.h"
#include "devices/core/CChordTimer.h"
#include "devices/core/ChordNames.h"
#include "devices/core/StyleTrackChannels.h"
#include "midi/CStyleMidiReader.h"
#include "midi/MidiEventKind.h"

namespace zib {

namespace {

using ChordVariation = CStyleMidiReader::ChordVariation;

constexpr int kFirstFollowingTrack = 2; // BASS: DRUM and PERC are never moved

const ChordVariation* variationOf(const CStyleMidiReader& style, StylePlace place)
{
    if (place.element < 0 || size_t(place.element) >= CStyleMidiReader::kElements || place.variation < 0 ||
        size_t(place.variation) >= CStyleMidiReader::kVariations)
        return nullptr;
    return &style.elements[size_t(place.element)].variations[size_t(place.variation)];
}

uint32_t patternLength(const CStyleMidiReader& style, StylePlace place)
{
    const ChordVariation* cv = variationOf(style, place);
    return cv ? cv->length : 0;
}

// The element's time-signature byte: numerator - 1 in the low nibble, the
// power of two of the denominator in the high nibble.
struct BarShape {
    uint32_t barLength = 0;
    uint32_t beatLength = 0;
    uint32_t numerator = 1;
};

BarShape barShape(const CStyleMidiReader& style, int element)
{
    BarShape shape;
    if (element < 0 || size_t(element) >= CStyleMidiReader::kElements) return shape;
    const uint8_t signature = style.elements[size_t(element)].timeSignature;
    const uint32_t power = signature >> 4;
    if (power > 4) return shape; // not a denominator of 1-16: no bar to wait for
    shape.numerator = (signature & 0x0F) + 1u;
    shape.beatLength = uint32_t(style.GetDivision()) * 4 / (1u << power);
    shape.barLength = shape.beatLength * shape.numerator;
    return shape;
}

uint32_t nextBarLine(uint32_t t, uint32_t barLength)
{
    if (barLength == 0) return t;
    return (t + barLength - 1) / barLength * barLength;
}

// Entry into a pattern of `newLength` ticks that keeps the running pattern's
// remaining time: the remainder fits before the new pattern's end, else t
// folds into the new pattern.
uint32_t keepRemainder(uint32_t t, uint32_t oldLength, uint32_t newLength)
{
    const uint32_t remainder = t < oldLength ? oldLength - t : 0;
    if (remainder <= newLength) return newLength - remainder;
    return newLength == 0 ? 0 : t % newLength;
}

bool isQeStyle(const CStyleMidiReader& style)
{
    return style.modelCode == kQeStyleModelCode;
}

} // namespace

SwitchTicks ComputeSwitchTicks(const CStyleMidiReader& style, StylePlace from, StylePlace to, uint32_t t)
{
    const uint32_t oldLength = patternLength(style, from);
    const uint32_t newLength = patternLength(style, to);

    if (from.element == to.element) {
        if (from.variation == to.variation || newLength >= oldLength) return {t, t};
        return {t, keepRemainder(t, oldLength, newLength)};
    }

    const BarShape oldBar = barShape(style, from.element);
    const bool sameSignature = from.element >= 0 && to.element >= 0 &&
                               size_t(from.element) < CStyleMidiReader::kElements &&
                               size_t(to.element) < CStyleMidiReader::kElements &&
                               style.elements[size_t(from.element)].timeSignature ==
                                   style.elements[size_t(to.element)].timeSignature;
    if (to.element == 8 || to.element == 9 || !sameSignature) return {nextBarLine(t, oldBar.barLength), 0};

    if (oldLength > newLength) return {t, keepRemainder(t, oldLength, newLength)};

    if (oldBar.barLength != 0 && oldBar.beatLength != 0 &&
        (t % oldBar.barLength) / oldBar.beatLength == oldBar.numerator - 1) {
        const uint32_t bar = nextBarLine(t, oldBar.barLength);
        if (bar >= oldLength) return {0, 0};
        return {bar, bar};
    }
    return {t, t};
}

int AssignedVariation(const CStyleMidiReader& style, int element, int chordType)
{
    if (element < 0 || size_t(element) >= CStyleMidiReader::kElements) return 0;
    const auto& assign = style.elements[size_t(element)].chordAssign;
    if (chordType < 0 || size_t(chordType) >= assign.size()) return 0;
    const uint8_t variation = assign[size_t(chordType)];
    // A damaged style may assign a chord variation that does not exist.
    return variation < CStyleMidiReader::kVariations ? variation : 0;
}

std::vector<uint32_t> SoundingNotes(const CStyleMidiReader& style, StylePlace place, uint32_t tick)
{
    std::vector<uint32_t> notes;
    const ChordVariation* cv = variationOf(style, place);
    if (cv == nullptr) return notes;
    const bool qe = isQeStyle(style);
    const auto& events = style.GetEvents();
    for (size_t i = cv->firstEvent; i < events.size() && events[i]->length != 0; ++i) {
        const CMidiEventBase& e = *events[i];
        if (!isNoteOn(e)) continue;
        const uint8_t track = StyleChannelTrack(qe, e.status & 0x0F);
        if (track == kNoStyleTrack || track < kFirstFollowingTrack) continue;
        if (e.time < tick && uint64_t(e.time) + e.duration > tick) notes.push_back(uint32_t(i));
    }
    return notes;
}

std::optional<uint32_t> FirstEventAtOrAfter(const CStyleMidiReader& style, StylePlace place, uint32_t tick)
{
    const ChordVariation* cv = variationOf(style, place);
    if (cv == nullptr) return std::nullopt;
    const auto& events = style.GetEvents();
    for (size_t i = cv->firstEvent; i < events.size(); ++i) {
        if (events[i]->time >= tick) return uint32_t(i);
        if (events[i]->length == 0) break;
    }
    return std::nullopt;
}

std::string CChordSwitch::OnChordTimer(ChordRecognizer& chords, CChordTimer& timer, const CStyleMidiReader& style,
                                       bool playing, uint32_t lastEventTime)
{
    if (chords.Pending() != chords.Current()) {
        changePending = true;
        if (chords.Pending().type != chords.Current().type)
            pending.variation = AssignedVariation(style, pending.element, chords.Pending().type);
    }
    if (!playing) {
        chords.Commit();
        current.variation = pending.variation;
        changePending = false;
    } else if (changePending) {
        ticks = ComputeSwitchTicks(style, current, pending, lastEventTime);
    }
    timer.Kill();
    return FormatChordDisplay(chords.Pending());
}

bool CChordSwitch::Commit(ChordRecognizer& chords)
{
    chords.Commit();
    const bool elementChanged = pending.element != current.element;
    current = pending;
    changePending = false;
    ticks = {};
    return elementChanged;
}

void CChordSwitch::Cancel(ChordRecognizer& chords)
{
    chords.DropPending();
    pending = current;
    changePending = false;
    ticks = {};
}

} // namespace zib
