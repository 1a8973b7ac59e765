#include "devices/core/ChordRecognizer.h"

#include "devices/core/ChordPatternTable.h"

namespace zib {

ChordRecognizer::ChordRecognizer(bool qeStyle) : m_qeStyle(qeStyle) {}

void ChordRecognizer::Reset()
{
    m_held.fill(0);
    m_lastMask = 0;
    m_lastLowestNote = kInitialLowestNote;
    m_current = Chord{};
    m_pending = Chord{};
}

bool ChordRecognizer::IsHeld(int note) const
{
    return note >= 0 && note < kHeldNoteLimit && m_held[size_t(note)] != 0;
}

uint16_t ChordRecognizer::HeldMask() const
{
    uint16_t mask = 0;
    for (int note = 0; note < kHeldNoteLimit; ++note)
        if (m_held[size_t(note)]) mask = uint16_t(mask | 1u << (note % 12));
    return mask;
}

void ChordRecognizer::NoteOff(int note)
{
    if (note >= 0 && note < kHeldNoteLimit) m_held[size_t(note)] = 0;
}

bool ChordRecognizer::MidiInput(uint32_t message)
{
    const uint32_t kind = message & 0xF0;
    const int note = int(message >> 8 & 0x7F);
    const uint32_t velocity = message >> 16 & 0x7F;
    if (kind == 0x90 && velocity > 0) return NoteOn(note);
    if (kind == 0x80 || kind == 0x90) NoteOff(note);
    return false;
}

bool ChordRecognizer::NoteOn(int note)
{
    if (note < 0 || note >= kHeldNoteLimit) return false;

    int lowestBefore = -1;
    for (int n = 0; n < kHeldNoteLimit && lowestBefore < 0; ++n)
        if (m_held[size_t(n)]) lowestBefore = n;
    m_held[size_t(note)] = 1;
    const uint16_t mask = HeldMask();

    if (lowestBefore < 0) {
        m_lastLowestNote = note;
        m_lastMask = mask;
        m_pending = Chord{note % 12, m_qeStyle ? kChordTypeNo3rdNo5th : kChordTypeMajor, 0};
        return true;
    }

    const int lowest = lowestBefore < note ? lowestBefore : note;
    m_lastLowestNote = lowest;
    const int bassRoot = lowest % 12;
    const int currentRoot = m_current.root;

    auto tryRoot = [&](int root) {
        const uint16_t rotated = RotatePitchClassMask(mask, root);
        const ChordPattern* row = FindChordPattern(rotated);
        if (row == nullptr) return false;
        m_pending = Chord{root, int(row->chordType), int(row->tension)};
        m_lastMask = rotated;
        return true;
    };

    if (tryRoot(bassRoot)) return true;
    if (currentRoot != bassRoot && tryRoot(currentRoot)) return true;
    for (int root = 0; root < 12; ++root) {
        if (root == bassRoot || root == currentRoot || !(mask & 1u << root)) continue;
        if (tryRoot(root)) return true;
    }
    return false;
}

} // namespace zib
