#include "devices/core/Transposer.h"

#include "devices/core/StyleTrackChannels.h"
#include "midi/CStyleMidiReader.h"
#include "midi/MidiEventKind.h"
#include "zibtbl/TensionPair.h"

namespace zib {

namespace {

constexpr int kBassTrack = 2;
constexpr int kStoredShiftBias = 3; // a stored shift of -2..2 is kept as 1..5; 0 = none

// Notes of a bad key or a large offset stay playable: whole octaves in or out.
uint8_t intoNoteRange(int note)
{
    while (note < 0)
        note += 12;
    while (note > 127)
        note -= 12;
    return uint8_t(note);
}

} // namespace

Transposer::Transposer(const CStyleMidiReader& style, const TensionSource& tensions)
    : m_style(style), m_tensions(tensions), m_qeStyle(style.modelCode == kQeStyleModelCode)
{
}

int Transposer::TrackCount() const
{
    return StyleTrackCount(m_qeStyle);
}

int Transposer::OctaveShift(int track) const
{
    if (track < 0 || track >= TrackCount()) return 0;
    return m_octaveShift[size_t(track)];
}

bool Transposer::StepOctaveShift(int track, int step)
{
    if (track < kBassTrack || track >= TrackCount()) return false;
    const int shift = m_octaveShift[size_t(track)] + step;
    if (shift < kMinOctaveShift || shift > kMaxOctaveShift) return false;
    m_octaveShift[size_t(track)] = shift;
    return true;
}

void Transposer::Reset()
{
    m_octaveShift.fill(0);
    m_noteOnShift.clear();
}

// The shift the note on `noteOnIndex` went out with; the track's shift for a
// note on that has not gone out.
int Transposer::StoredShift(uint32_t noteOnIndex, int track) const
{
    if (noteOnIndex < m_noteOnShift.size() && m_noteOnShift[noteOnIndex] != 0)
        return m_noteOnShift[noteOnIndex] - kStoredShiftBias;
    return m_octaveShift[size_t(track)];
}

Transposer::Result Transposer::Transpose(uint32_t eventIndex, StylePlace place,
                                                             const Chord& chord, TransposedNote& out)
{
    return Move(eventIndex, place, chord, Use::AsEvent, out);
}

Transposer::Result Transposer::TransposeAsNoteOff(uint32_t noteOnIndex, StylePlace place,
                                                                      const Chord& chord, TransposedNote& out)
{
    return Move(noteOnIndex, place, chord, Use::AsNoteOff, out);
}

Transposer::Result Transposer::Move(uint32_t eventIndex, StylePlace place, const Chord& chord,
                                                        Use use, TransposedNote& out)
{
    out = TransposedNote{};
    const auto& events = m_style.GetEvents();
    if (eventIndex >= events.size()) return Result::Failed;
    const CMidiEventBase& e = *events[eventIndex];
    const uint8_t kind = e.status & 0xF0;
    if ((kind != 0x80 && kind != 0x90) || e.length != 2 || e.data.size() < 2) return Result::Failed;
    if (place.element < 0 || size_t(place.element) >= CStyleMidiReader::kElements || place.variation < 0 ||
        size_t(place.variation) >= CStyleMidiReader::kVariations)
        return Result::Failed;

    const uint8_t track = StyleChannelTrack(m_qeStyle, e.status & 0x0F);
    if (track == kNoStyleTrack || track >= TrackCount()) return Result::Failed;

    const int note = e.data[0];
    if (use == Use::AsNoteOff && !isNoteOn(e)) return Result::Failed;
    out.status = e.status;
    out.velocity = use == Use::AsNoteOff ? 0 : e.data[1];
    out.count = 1;
    out.notes[0] = uint8_t(note);
    if (track < kBassTrack) return Result::Unchanged;

    const auto& element = m_style.elements[size_t(place.element)];
    const auto& cv = element.variations[size_t(place.variation)];
    const int key = cv.key[track];
    const int recordedChord = cv.chord[track];
    const uint8_t tensionSwitch = m_style.trackTension[track];
    const uint8_t ntt = element.ntt;

    int base = note + chord.root - key;
    const int interval = ((note - key) % 12 + 12) % 12;
    auto lookup = [&](uint8_t flag) -> int32_t {
        if (m_qeStyle) {
            // A recorded chord past the tables (a damaged style): the note follows the root only.
            if (recordedChord >= kChordTypeCount) return 0;
            return m_tensions.QeTension(flag, ntt, recordedChord, uint8_t(chord.type), chord.tension, interval);
        }
        return m_tensions.WqSeriesTension(flag, recordedChord % 2, uint8_t(chord.type), chord.tension, interval);
    };

    int second = 0;
    bool pair = false;
    if (tensionSwitch == 0) {
        base += lookup(0);
    } else if (track > kBassTrack) {
        const int32_t value = lookup(tensionSwitch);
        if (tbl::TensionPair::isPacked(value)) {
            const tbl::TensionPair offsets = tbl::TensionPair::decode(value);
            second = base + offsets.second;
            base += offsets.first;
            pair = true;
        } else {
            base += value;
        }
    }

    // A note on goes out with the track's shift and keeps it; its note off
    // (found through the pairing) ends the note at the same octave.
    int shift;
    if (use == Use::AsNoteOff) {
        shift = StoredShift(eventIndex, track);
    } else if (isNoteOn(e)) {
        shift = m_octaveShift[track];
        if (m_noteOnShift.size() <= eventIndex) m_noteOnShift.resize(size_t(eventIndex) + 1, 0);
        m_noteOnShift[eventIndex] = int8_t(shift + kStoredShiftBias);
    } else {
        shift = e.paired ? StoredShift(e.duration, track) : m_octaveShift[track];
    }
    shift *= 12;
    out.notes[0] = intoNoteRange(base + shift);
    if (pair) {
        out.notes[1] = intoNoteRange(second + shift);
        out.count = 2;
    }
    return Result::Moved;
}

} // namespace zib
