#pragma once

#include "tests/support/SmfBuilder.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace zib::test {

// One Ctab record of a CASM block: source and destination channel (0-15),
// the five chord-mute bytes, source chord root and type; `size` payload
// bytes (27 and more are valid, the rest of the record is zeros).
struct CtabEntry {
    uint8_t source = 0;
    uint8_t dest = 0;
    std::array<uint8_t, 5> chordMute{0x03, 0xFF, 0xFF, 0xFF, 0xFF}; // sounds for PSR chord types 0-33
    uint8_t root = 0;
    uint8_t chordType = 2; // Maj7
    uint32_t size = 27;
};

// One CSEG: its Sdec text, its Ctab records, and an unknown "Cntt" chunk
// after them when asked.
struct CsegEntry {
    std::string sections;
    std::vector<CtabEntry> ctabs;
    bool withCntt = false;
};

// The chord-mute bytes of a channel that sounds only for these PSR chord types.
std::array<uint8_t, 5> chordMuteFor(std::initializer_list<int> types);
// The payload of a CASM chunk (its CSEG chunks) and the whole chunk with its head.
std::vector<uint8_t> casmPayload(const std::vector<CsegEntry>& csegs);
std::vector<uint8_t> casmBlock(const std::vector<CsegEntry>& csegs);
// A chunk: 4-character id, big-endian size, payload.
std::vector<uint8_t> fourCcChunk(const std::string& id, const std::vector<uint8_t>& payload);

// A Yamaha style file as the keyboards write it: format 0, one track whose
// first bar is the setup (time signature 4/4, tempo, track name, the "SFF1"
// and "SInt" markers, each channel's bank and program), then the sections
// one after another from their markers on, then the CASM block. Bars are
// 4/4 unless the track gets other signatures.
class PsrStyleBuilder {
public:
    // Without `sff1` the setup bar has no "SFF1" and "SInt" markers; the
    // bars hold `beatsPerBar` quarter notes.
    explicit PsrStyleBuilder(uint16_t division = 96, std::string trackName = "Test Style", bool sff1 = true,
                             int beatsPerBar = 4);

    uint32_t Bar(uint32_t n) const { return n * uint32_t(m_beatsPerBar) * m_division; } // tick of bar n (from 0)
    uint32_t Beat() const { return m_division; }
    SmfTrack& Track() { return m_track; }

    // Tick 0: bank MSB, bank LSB and program of a channel
    PsrStyleBuilder& Sound(int channel, int bankMsb, int bankLsb, int program);
    // A section marker
    PsrStyleBuilder& Section(uint32_t tick, const std::string& name);
    // Notes of `key` from tick `from` up to `to`, one every `step` ticks,
    // each half a step long
    PsrStyleBuilder& Notes(int channel, int key, uint32_t from, uint32_t to, uint32_t step, int velocity = 100);
    PsrStyleBuilder& Casm(std::vector<CsegEntry> csegs);

    std::vector<uint8_t> Build() const;

private:
    uint16_t m_division;
    int m_beatsPerBar;
    SmfTrack m_track;
    std::vector<CsegEntry> m_csegs;
    bool m_casm = false;
};

} // namespace zib::test
