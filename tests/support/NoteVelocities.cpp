#include "tests/support/NoteVelocities.h"

#include "midi/CMidiParserEx.h"

namespace zib::test {

std::vector<int> noteOnVelocities(const std::vector<uint8_t>& smf, int channel)
{
    CMidiParserEx sequence;
    std::vector<int> out;
    if (smf.empty() || sequence.ParseImage(smf.data(), uint32_t(smf.size())) != 0) return out;
    for (const auto& e : sequence.GetEvents())
        if ((e->status & 0xF0) == 0x90 && (channel < 0 || (e->status & 0x0F) == channel) &&
            e->data.size() >= 2 && e->data[1] > 0)
            out.push_back(e->data[1]);
    return out;
}

} // namespace zib::test
