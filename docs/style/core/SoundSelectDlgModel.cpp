#include "docs/style/core/SoundSelectDlgModel.h"

namespace zib {

SoundSelectDlgModel::SoundSelectDlgModel(uint32_t model, uint32_t current)
    : list_(QeSoundList::ForSeries(QeSoundList::SeriesOfModel(model))), current_(current)
{
}

std::string SoundSelectDlgModel::TitleFormat(int selection) const
{
    return selection >= 0 && size_t(selection) < list_.Size() ? "Sounds: (%d,%d,%d) - %s" : "Sounds";
}

std::vector<std::string> SoundSelectDlgModel::TitleArgs(int selection) const
{
    if (selection < 0 || size_t(selection) >= list_.Size()) return {};
    const QeSoundList::Entry& e = list_.At(size_t(selection));
    return {std::to_string(SoundMsb(e.value)), std::to_string(SoundLsb(e.value)),
            std::to_string(SoundProgram(e.value)), e.name};
}

uint32_t SoundSelectDlgModel::Ok(int selection) const
{
    return selection >= 0 && size_t(selection) < list_.Size() ? list_.At(size_t(selection)).value : current_;
}

} // namespace zib
