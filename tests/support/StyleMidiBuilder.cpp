#include "tests/support/StyleMidiBuilder.h"

#include <algorithm>

namespace zib::test {

StyleMidiBuilder::StyleMidiBuilder(uint16_t division, int numerator, int denominatorPower)
    : m_division(division), m_ticksPerBar(uint32_t(numerator) * division * 4 / (1u << denominatorPower)),
      m_ticksPerBeat(uint32_t(division) * 4 / (1u << denominatorPower)), m_smf(1, division),
      m_conductor(&m_smf.AddTrack())
{
    m_conductor->TimeSig(0, numerator, denominatorPower).Tempo(0, 500000);
}

uint32_t StyleMidiBuilder::Bar(int measure, int beat, int tick) const
{
    return uint32_t(measure) * m_ticksPerBar + uint32_t(beat) * m_ticksPerBeat + uint32_t(tick);
}

StyleMidiBuilder& StyleMidiBuilder::Command(uint32_t tick, const std::string& text, int metaType)
{
    m_conductor->Text(tick, metaType, text);
    return *this;
}

SmfTrack& StyleMidiBuilder::Channel(int channel)
{
    auto it = m_channels.find(channel);
    if (it != m_channels.end()) return *it->second;
    SmfTrack& track = m_smf.AddTrack();
    m_channels[channel] = &track;
    return track;
}

StyleMidiBuilder& StyleMidiBuilder::Note(int channel, uint32_t tick, int key, int velocity, uint32_t length,
                                         int offVelocity)
{
    Channel(channel)
        .NoteOn(tick, channel - 1, key, velocity)
        .NoteOff(tick + length, channel - 1, key, offVelocity);
    return *this;
}

StyleMidiBuilder& StyleMidiBuilder::NoteSpan(int channel, uint32_t on, uint32_t off, int key, int velocity)
{
    Channel(channel).NoteOn(on, channel - 1, key, velocity).NoteOff(off, channel - 1, key);
    return *this;
}

StyleMidiBuilder& StyleMidiBuilder::Setup(int channel, uint32_t tick, int expression, int bankMsb,
                                          int bankLsb, int program)
{
    Channel(channel)
        .Controller(tick, channel - 1, 11, expression)
        .Controller(tick, channel - 1, 0, bankMsb)
        .Controller(tick, channel - 1, 32, bankLsb)
        .Program(tick, channel - 1, program);
    return *this;
}

StyleMidiBuilder& StyleMidiBuilder::VexSound(int trackChannel, uint32_t tick, int subType, int vexChannel,
                                             int key, int velocity)
{
    Channel(trackChannel)
        .SysEx(tick, {'B', '?', 'x', 0x01, uint8_t(subType), uint8_t(vexChannel), uint8_t(key),
                      uint8_t(velocity), 0xF7});
    return *this;
}

StyleMidiBuilder& StyleMidiBuilder::EndAt(uint32_t tick)
{
    m_endTick = tick;
    m_hasEnd = true;
    return *this;
}

std::vector<uint8_t> StyleMidiBuilder::StsSysExData(const std::string& name, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> block{'D', 'A', 'S', 'K', 'Q', 'E', 'S', 'T', 'S', ' '};
    for (size_t i = 0; i < 18; ++i)
        block.push_back(i < name.size() ? uint8_t(name[i]) : 0);
    block.insert(block.end(), data.begin(), data.end());

    std::vector<uint8_t> packed;
    for (size_t at = 0; at < block.size(); at += 7) {
        const size_t n = std::min<size_t>(7, block.size() - at);
        uint8_t high = 0;
        for (size_t i = 0; i < n; ++i)
            high = uint8_t(high | ((block[at + i] >> 7) << i));
        packed.push_back(high);
        for (size_t i = 0; i < n; ++i)
            packed.push_back(block[at + i] & 0x7F);
    }
    packed.push_back(0xF7);
    return packed;
}

std::vector<uint8_t> StyleMidiBuilder::Build()
{
    if (m_hasEnd) {
        m_conductor->EndAt(m_endTick);
        for (auto& [channel, track] : m_channels)
            track->EndAt(m_endTick);
    }
    return m_smf.Build();
}

} // namespace zib::test
