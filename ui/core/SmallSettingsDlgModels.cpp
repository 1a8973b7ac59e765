#include "ui/core/SmallSettingsDlgModels.h"

namespace zib {

namespace {

enum class KindGroup { Unknown, Style, Midi, Other };

KindGroup groupOf(int kind)
{
    if (kind == 0) return KindGroup::Unknown;
    if (kind == 1 || kind == 9 || kind == 11) return KindGroup::Style;
    if (kind == 5 || kind == 7 || kind == 8) return KindGroup::Midi;
    return KindGroup::Other;
}

const ToolbarsDlgModel::Box* findBox(int id)
{
    for (const auto& b : ToolbarsDlgModel::kBoxes)
        if (b.id == id) return &b;
    return nullptr;
}

} // namespace

ToolbarsDlgModel::ToolbarsDlgModel(int kind, const BarFlags& flags, std::function<void(BarFlag, bool)> apply)
    : kind_(kind), flags_(flags), apply_(std::move(apply))
{
}

bool ToolbarsDlgModel::enabled(int boxId) const
{
    switch (groupOf(kind_)) {
    case KindGroup::Unknown:
        return true;
    case KindGroup::Style:
        return !(boxId >= 1906 && boxId <= 1910);
    case KindGroup::Midi:
        return !(boxId >= 1911 && boxId <= 1913);
    case KindGroup::Other:
        return !(boxId >= 1906 && boxId <= 1913);
    }
    return true;
}

bool ToolbarsDlgModel::checked(int boxId) const
{
    const Box* box = findBox(boxId);
    if (!box) return false;
    bool byFlag = flags_[size_t(box->flag)];
    switch (groupOf(kind_)) {
    case KindGroup::Unknown:
        return false;
    case KindGroup::Style:
        return (boxId == 1905 || boxId == 1911 || boxId == 1912 || boxId == 1913) && byFlag;
    case KindGroup::Midi:
        return (boxId == 1905 || (boxId >= 1906 && boxId <= 1910)) && byFlag;
    case KindGroup::Other:
        return (boxId == 1905 || boxId == 1913) && byFlag;
    }
    return false;
}

void ToolbarsDlgModel::Click(int boxId, bool state)
{
    const Box* box = findBox(boxId);
    if (!box) return;
    flags_[size_t(box->flag)] = state;
    if (apply_) apply_(box->flag, state);
}

} // namespace zib
