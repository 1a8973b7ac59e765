#include "devices/core/RecordInputDlgModel.h"

#include <bit>

namespace zib {

RecordInputDlgModel::RecordInputDlgModel(const std::array<uint32_t, kTracks>& codes, int selected)
    : m_codes(codes), m_selected(selected >= 0 && selected < kTracks ? selected : 0)
{
}

std::string RecordInputDlgModel::CodeText(uint32_t code)
{
    const uint32_t low = code & 0xFFFF;
    const uint32_t mask = code >> 16;
    if (low >= 1 && low <= 16) return "MIDI Chan: " + std::to_string(low);
    if (low == kOmni) return "MIDI Omni";
    if (low == kMask && mask != 0) {
        std::string text = "MIDI Chan: ";
        for (int n = 0; n < 16; ++n)
            if (mask & (1u << n)) text += std::to_string(n + 1) + ", ";
        return text;
    }
    return "<Undefined>";
}

void RecordInputDlgModel::SelectRow(int row)
{
    if (row < 0 || row >= kTracks) return;
    uint32_t& left = m_codes[size_t(m_selected)];
    if ((left & 0xFFFF) == kMask && (left >> 16) == 0) left = 0;
    m_selected = row;
}

RecordInputDlgModel::Choice RecordInputDlgModel::ShownChoice() const
{
    const uint32_t low = m_codes[size_t(m_selected)] & 0xFFFF;
    if ((low >= 1 && low <= 16) || low == kMask) return Choice::Channels;
    if (low == kOmni) return Choice::AllChannels;
    return Choice::Undefined;
}

bool RecordInputDlgModel::BoxChecked(int channel) const
{
    if (ShownChoice() != Choice::Channels || channel < 0 || channel > 15) return false;
    const uint32_t code = m_codes[size_t(m_selected)];
    const uint32_t low = code & 0xFFFF;
    if (low >= 1 && low <= 16) return int(low) == channel + 1;
    return ((code >> 16) & (1u << channel)) != 0;
}

void RecordInputDlgModel::Choose(Choice choice)
{
    uint32_t& code = m_codes[size_t(m_selected)];
    switch (choice) {
    case Choice::Undefined: code = 0; break;
    case Choice::AllChannels: code = kOmni; break;
    case Choice::Channels:
        // The mask stays; a single channel becomes its mask
        if ((code & 0xFFFF) >= 1 && (code & 0xFFFF) <= 16)
            code = kMask | (1u << ((code & 0xFFFF) - 1)) << 16;
        else
            code = kMask | (code & 0xFFFF0000u);
        break;
    }
}

void RecordInputDlgModel::SetBox(int channel, bool checked)
{
    if (channel < 0 || channel > 15) return;
    uint32_t& code = m_codes[size_t(m_selected)];
    const uint32_t low = code & 0xFFFF;
    if (low >= 1 && low <= 16) code = kMask | (1u << (low - 1)) << 16;
    if ((code & 0xFFFF) != kMask) return;
    const uint32_t bit = 1u << (16 + channel);
    code = checked ? code | bit : code & ~bit;
}

void RecordInputDlgModel::Normalise()
{
    for (uint32_t& code : m_codes) {
        if ((code & 0xFFFF) != kMask) continue;
        const uint32_t mask = code >> 16;
        if (mask == 0)
            code = 0;
        else if (std::popcount(mask) == 1)
            code = uint32_t(std::countr_zero(mask)) + 1;
    }
}

} // namespace zib
