#include "app/core/ElementTableSettingsModel.h"

#include "ui/core/LetterStrings.h"

#include <utility>

namespace zib {

ElementTableSettingsModel::ElementTableSettingsModel(ConversionSeries series, int determination,
                                                     std::vector<uint8_t> table)
    : table_(std::move(table)), series_(series), determination_(determination)
{
}

int ElementTableSettingsModel::ElementRadioId(int element) const
{
    return (series_ == ConversionSeries::Wq ? 1001 : 1639) + element;
}

void ElementTableSettingsModel::ChooseElement(int element, std::span<const std::string> chosen)
{
    if (element < 0 || element >= ElementCount()) return;
    StoreElement(chosen);
    element_ = element;
}

void ElementTableSettingsModel::ChooseDetermination(int radioId)
{
    if (radioId == kAcceptUserRadio) determination_ = 0;
    if (radioId == kLetApplicationRadio) determination_ = 1;
}

void ElementTableSettingsModel::Ok(std::span<const std::string> chosen, int checkedDeterminationRadio)
{
    StoreElement(chosen);
    determination_ = checkedDeterminationRadio == kAcceptUserRadio ? 0 : 1;
}

std::string ElementTableSettingsModel::Letters() const
{
    return TableToLetters(table_);
}

} // namespace zib
