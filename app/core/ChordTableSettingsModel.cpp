#include "app/core/ChordTableSettingsModel.h"

#include "ui/core/LetterStrings.h"
#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

namespace {

LetterTable letterTableOf(ConversionSeries series)
{
    return series == ConversionSeries::Wq ? LetterTable::ChordTable : LetterTable::QeChordTable;
}

} // namespace

std::vector<uint8_t> ChordTableSettingsModel::TextToChordTable(std::string_view text)
{
    return LettersToTable(LetterTable::ChordTable, text);
}

std::string ChordTableSettingsModel::ChordTableToText(std::span<const uint8_t> table)
{
    return TableToLetters(table.first(std::min<size_t>(table.size(), 200)));
}

std::vector<uint8_t> ChordTableSettingsModel::TextToQeChordTable(std::string_view text)
{
    return LettersToTable(LetterTable::QeChordTable, text);
}

std::string ChordTableSettingsModel::QeChordTableToText(std::span<const uint8_t> table)
{
    return TableToLetters(table.first(std::min<size_t>(table.size(), 264)));
}

ChordTableSettingsModel::ChordTableSettingsModel(ConversionSeries series, std::string_view letters,
                                                 int determination)
    : ElementTableSettingsModel(series, determination, LettersToTable(letterTableOf(series), letters))
{
}

int ChordTableSettingsModel::ComboId(int chordType) const
{
    return (series() == ConversionSeries::Wq ? 1583 : 1651) + chordType;
}

std::string ChordTableSettingsModel::ChordLabel(int chordType)
{
    return GetQeChordName(chordType) + ":";
}

std::vector<std::string> ChordTableSettingsModel::Choices() const
{
    std::vector<std::string> out;
    for (int cv = 0; cv < CvCountOf(element()); ++cv)
        out.push_back(GetQeChordVariationName(cv));
    return out;
}

std::string ChordTableSettingsModel::Selected(int chordType) const
{
    if (chordType < 0 || chordType >= ChordTypeCount()) return {};
    const int cv = table_[size_t(element() * ChordTypeCount() + chordType)];
    // A CV the element does not have (a damaged setting too) selects nothing.
    return cv < CvCountOf(element()) ? GetQeChordVariationName(cv) : std::string();
}

void ChordTableSettingsModel::StoreElement(std::span<const std::string> chosen)
{
    const std::vector<std::string> names = Choices();
    for (int t = 0; t < ChordTypeCount(); ++t) {
        // No choice, or a text that is not one of the element's CVs, stores CV1.
        int cv = 0;
        if (size_t(t) < chosen.size())
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i] == chosen[size_t(t)]) cv = int(i);
        table_[size_t(element() * ChordTypeCount() + t)] = uint8_t(cv);
    }
}

} // namespace zib
