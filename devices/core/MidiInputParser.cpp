#include "devices/core/MidiInputParser.h"

namespace zib {

void MidiInputParser::Reset()
{
    m_status = m_needed = m_count = 0;
    m_skipping = false;
}

bool MidiInputParser::Take(uint8_t b, uint32_t& message)
{
    if (b >= 0xF8) return false; // real-time: no effect on anything else
    if (b >= 0xF0) {
        // System exclusive and system common end running status; their data
        // bytes are skipped up to the next status byte.
        m_status = m_count = 0;
        m_skipping = b != 0xF7 && b != 0xF6;
        return false;
    }
    if (b >= 0x80) {
        m_status = b;
        m_needed = (b & 0xE0) == 0xC0 ? 1 : 2; // program change and channel pressure take one
        m_count = 0;
        m_skipping = false;
        return false;
    }
    if (m_skipping || m_status == 0) return false;
    m_data[m_count++] = b;
    if (m_count < m_needed) return false;
    m_count = 0;
    message = uint32_t(m_status) | uint32_t(m_data[0]) << 8 | (m_needed == 2 ? uint32_t(m_data[1]) << 16 : 0);
    return true;
}

} // namespace zib
