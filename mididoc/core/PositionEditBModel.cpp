#include "mididoc/core/PositionEditBModel.h"

namespace zib {

namespace {

bool allowedInText(char c)
{
    return (c >= '0' && c <= '9') || c == ':' || c == ' ';
}

} // namespace

PositionRecord PositionEditBModel::Parse(std::string_view text) const
{
    // Without a map the tick is 0; bar, beat and tick stay as typed.
    return ParsePositionText(text.substr(0, kLimit), context_);
}

std::string PositionEditBModel::StartText() const
{
    return FormatPositionText(context_ ? context_->FromTick(tick_) : start_);
}

bool PositionEditBModel::AcceptsChar(char32_t c)
{
    return (c >= '0' && c <= '9') || c == ':' || c == 8;
}

std::optional<PositionEditBModel::Correction> PositionEditBModel::TextChanged(std::string_view text)
{
    size_t end = 0;
    while (end < text.size() && allowedInText(text[end])) ++end;
    const bool cut = end < text.size();
    std::string kept(text.substr(0, end));
    const PositionRecord p = Parse(kept);
    if (p.bar + 1 <= kMaxMeasure) {
        tick_ = p.tick;
        if (cut) return Correction{kept, false};
        return std::nullopt;
    }
    if (!kept.empty()) kept.pop_back();
    tick_ = Parse(kept).tick;
    return Correction{kept, true};
}

PositionEditBModel::Correction PositionEditBModel::Spin(int step, std::string_view text)
{
    uint32_t tick = Parse(text).tick;
    bool bell = false;
    if (step > 0) {
        if (context_ && context_->FromTick(tick + 1).bar + 1 <= kMaxMeasure)
            ++tick;
        else
            bell = true;
    } else if (tick > 0) {
        --tick;
    }
    tick_ = tick;
    return {StartText(), bell};
}

PositionRecord PositionEditBModel::GetPosition(std::string_view text)
{
    PositionRecord p = Parse(text);
    tick_ = p.tick;
    return p;
}

} // namespace zib
