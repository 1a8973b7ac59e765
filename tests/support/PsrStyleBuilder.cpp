#include "tests/support/PsrStyleBuilder.h"

#include <algorithm>

namespace zib::test {

namespace {

void appendU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 3; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
}

std::vector<uint8_t> ctabPayload(const CtabEntry& entry)
{
    std::vector<uint8_t> out(std::max<uint32_t>(entry.size, 20), 0);
    out[0] = entry.source;
    const char name[] = "Chan    ";
    for (size_t i = 0; i < 8; ++i) out[1 + i] = uint8_t(name[i]);
    out[9] = entry.dest;
    out[10] = 1;
    out[11] = 0x0F;
    out[12] = 0xFF;
    for (size_t i = 0; i < 5; ++i) out[13 + i] = entry.chordMute[i];
    out[18] = entry.root;
    out[19] = entry.chordType;
    out.resize(entry.size);
    return out;
}

} // namespace

std::array<uint8_t, 5> chordMuteFor(std::initializer_list<int> types)
{
    std::array<uint8_t, 5> bytes{};
    for (int t : types) bytes[size_t(4 - t / 8)] |= uint8_t(1u << (t % 8));
    return bytes;
}

std::vector<uint8_t> fourCcChunk(const std::string& id, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> out(id.begin(), id.end());
    out.resize(4, ' ');
    appendU32(out, uint32_t(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

std::vector<uint8_t> casmPayload(const std::vector<CsegEntry>& csegs)
{
    std::vector<uint8_t> out;
    for (const CsegEntry& cseg : csegs) {
        std::vector<uint8_t> body = fourCcChunk("Sdec", std::vector<uint8_t>(cseg.sections.begin(), cseg.sections.end()));
        for (const CtabEntry& ctab : cseg.ctabs) {
            const auto chunk = fourCcChunk("Ctab", ctabPayload(ctab));
            body.insert(body.end(), chunk.begin(), chunk.end());
        }
        if (cseg.withCntt) {
            const auto chunk = fourCcChunk("Cntt", {0x01, 0x00});
            body.insert(body.end(), chunk.begin(), chunk.end());
        }
        const auto chunk = fourCcChunk("CSEG", body);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

std::vector<uint8_t> casmBlock(const std::vector<CsegEntry>& csegs) { return fourCcChunk("CASM", casmPayload(csegs)); }

PsrStyleBuilder::PsrStyleBuilder(uint16_t division, std::string trackName, bool sff1, int beatsPerBar)
    : m_division(division), m_beatsPerBar(beatsPerBar)
{
    // The setup bar's meta events come first at tick 0 (equal ticks keep
    // the order they were added in).
    m_track.TimeSig(0, beatsPerBar, 2).Tempo(0, 500000).TrackName(0, trackName);
    if (sff1) m_track.Marker(0, "SFF1").Marker(0, "SInt");
}

PsrStyleBuilder& PsrStyleBuilder::Sound(int channel, int bankMsb, int bankLsb, int program)
{
    m_track.Controller(0, channel, 0, bankMsb).Controller(0, channel, 32, bankLsb).Program(0, channel, program);
    return *this;
}

PsrStyleBuilder& PsrStyleBuilder::Section(uint32_t tick, const std::string& name)
{
    m_track.Marker(tick, name);
    return *this;
}

PsrStyleBuilder& PsrStyleBuilder::Notes(int channel, int key, uint32_t from, uint32_t to, uint32_t step, int velocity)
{
    for (uint32_t t = from; t < to; t += step) {
        m_track.NoteOn(t, channel, key, velocity);
        m_track.NoteOff(t + step / 2, channel, key, 0);
    }
    return *this;
}

PsrStyleBuilder& PsrStyleBuilder::Casm(std::vector<CsegEntry> csegs)
{
    m_csegs = std::move(csegs);
    m_casm = true;
    return *this;
}

std::vector<uint8_t> PsrStyleBuilder::Build() const
{
    SmfBuilder smf(0, m_division);
    smf.AddTrack() = m_track;
    if (m_casm) smf.AddChunk("CASM", casmPayload(m_csegs));
    return smf.Build();
}

} // namespace zib::test
