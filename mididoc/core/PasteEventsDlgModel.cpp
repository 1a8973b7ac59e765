#include "mididoc/core/PasteEventsDlgModel.h"

#include "mididoc/core/PositionDlgModels.h"

#include <algorithm>

namespace zib {

std::optional<std::string> PasteEventsDlgModel::TypeStartTrack(std::string_view text) const
{
    const auto typed = ParseDialogInt(text);
    if (typed && *typed > kMaxTrack) return std::to_string(kMaxTrack);
    return std::nullopt;
}

PasteOptions PasteEventsDlgModel::Ok(uint32_t startTick, std::string_view startTrackText, bool oneTrack,
                                     const std::array<bool, 4>& kinds) const
{
    PasteOptions r = given_;
    r.startTick = startTick;
    if (given_.mode == 1) {
        const auto typed = ParseDialogInt(startTrackText);
        r.startTrack = typed ? int(std::clamp<int64_t>(*typed, kMinTrack, kMaxTrack)) : std::clamp(given_.startTrack, kMinTrack, kMaxTrack);
        r.oneTrack = given_.oneTrack || oneTrack;
    }
    for (size_t i = 0; i < kinds.size(); ++i) r.kinds[i] = given_.kinds[i] && kinds[i];
    return r;
}

} // namespace zib
