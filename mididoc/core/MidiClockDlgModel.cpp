#include "mididoc/core/MidiClockDlgModel.h"

namespace zib {

std::optional<size_t> MidiClockDlgModel::InitialChoice(uint16_t division)
{
    for (size_t i = 0; i < kDivisions.size(); ++i)
        if (kDivisions[i] == division) return i;
    return std::nullopt;
}

uint16_t MidiClockDlgModel::Ok(std::optional<size_t> checked)
{
    return checked && *checked < kDivisions.size() ? kDivisions[*checked] : 384;
}

} // namespace zib
