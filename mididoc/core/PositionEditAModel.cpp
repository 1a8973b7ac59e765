#include "mididoc/core/PositionEditAModel.h"

namespace zib {

std::string PositionEditAModel::FocusGained(uint32_t tick, const MeasureContext& context)
{
    tick_ = tick;
    cancel_ = false;
    return FormatPositionText(context.FromTick(tick_));
}

PositionEditAModel::Commit PositionEditAModel::FocusLost(std::string_view text, const MeasureContext& context)
{
    if (cancel_) {
        cancel_ = false;
        return {FormatPositionText(context.FromTick(tick_)), std::nullopt};
    }
    const PositionRecord p = ParsePositionText(text.substr(0, kReadLimit), &context);
    tick_ = p.tick;
    return {FormatPositionText(p), p.tick};
}

std::string PositionEditAModel::Spin(int step, std::string_view text, const MeasureContext& context)
{
    uint32_t tick = ParsePositionText(text.substr(0, kReadLimit), &context).tick;
    if (step > 0)
        ++tick;
    else if (tick > 0)
        --tick;
    return FormatPositionText(context.FromTick(tick));
}

} // namespace zib
