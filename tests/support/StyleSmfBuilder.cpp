#include "tests/support/StyleSmfBuilder.h"

namespace zib::test {

StyleSmfBuilder::StyleSmfBuilder(uint16_t division, int numerator, int denominatorPower)
    : m_division(division), m_bar(uint32_t(numerator) * division * 4 / (1u << denominatorPower)),
      m_smf(1, division), m_conductor(&m_smf.AddTrack())
{
    m_conductor->Tempo(0, 500000).TimeSig(0, numerator, denominatorPower);
}

StyleSmfBuilder& StyleSmfBuilder::Command(uint32_t tick, const std::string& text)
{
    m_conductor->Text(tick, 0x01, text);
    return *this;
}

SmfTrack& StyleSmfBuilder::Channel(int channel)
{
    auto it = m_channels.find(channel);
    if (it != m_channels.end()) return *it->second;
    SmfTrack& track = m_smf.AddTrack();
    m_channels[channel] = &track;
    return track;
}

StyleSmfBuilder& StyleSmfBuilder::Note(int channel, uint32_t on, uint32_t off, int key, int velocity)
{
    Channel(channel).NoteOn(on, channel - 1, key, velocity).NoteOff(off, channel - 1, key);
    return *this;
}

} // namespace zib::test
