#include "mididoc/core/TempoDlgModel.h"

#include "mididoc/core/PositionDlgModels.h"

#include <algorithm>

namespace zib {

TempoDlgModel::TempoDlgModel(int bpm, uint32_t tick) : bpm_(std::clamp(bpm, kMin, kMax)), tick_(tick) {}

std::optional<std::string> TempoDlgModel::TypeTempo(std::string_view text)
{
    const auto typed = ParseDialogInt(text);
    if (!typed) return std::nullopt;
    if (*typed > kMax) return TempoText();
    if (*typed >= kMin) bpm_ = int(*typed);
    return std::nullopt;
}

void TempoDlgModel::Ok(std::string_view tempoText, uint32_t tick)
{
    const auto typed = ParseDialogInt(tempoText);
    if (typed && *typed >= kMin && *typed <= kMax) bpm_ = int(*typed);
    tick_ = tick;
}

} // namespace zib
