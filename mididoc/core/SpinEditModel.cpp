#include "mididoc/core/SpinEditModel.h"

#include "mididoc/core/PositionDlgModels.h"

namespace zib {

namespace {

std::optional<int> typedTempo(std::string_view text)
{
    const auto value = ParseDialogInt(text.substr(0, SpinEditModel::kReadLimit));
    if (!value || *value < SpinEditModel::kMin || *value > SpinEditModel::kMax) return std::nullopt;
    return int(*value);
}

} // namespace

SpinEditModel::Commit SpinEditModel::FocusLost(std::string_view text)
{
    const auto typed = typedTempo(text);
    if (!typed) return {Text(), std::nullopt};
    value_ = *typed;
    return {Text(), value_};
}

std::string SpinEditModel::Spin(int step, std::string_view text)
{
    if (const auto typed = typedTempo(text)) value_ = *typed;
    if (step > 0 && value_ < kMax) ++value_;
    if (step < 0 && value_ > kMin) --value_;
    return Text();
}

} // namespace zib
