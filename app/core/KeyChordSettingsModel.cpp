#include "app/core/KeyChordSettingsModel.h"

#include "ui/core/LetterStrings.h"
#include "ui/core/WqStyleDlgModels.h"
#include "midi/ValueTexts.h"

#include <algorithm>

namespace zib {

namespace {

constexpr int kQeKeys = 12;
constexpr int kQeChords = 22;

} // namespace

std::vector<uint8_t> KeyChordSettingsModel::TextToKeyChord(std::string_view text)
{
    return LettersToTable(LetterTable::KeyChord, text);
}

std::string KeyChordSettingsModel::KeyChordToText(std::span<const uint8_t> table)
{
    return TableToLetters(table.first(std::min<size_t>(table.size(), 36)));
}

std::vector<uint8_t> KeyChordSettingsModel::TextToQeKeyChord(std::string_view text)
{
    return LettersToTable(LetterTable::QeKeyChord, text);
}

std::string KeyChordSettingsModel::QeKeyChordToText(std::span<const uint8_t> table)
{
    return TableToLetters(table.first(std::min<size_t>(table.size(), 80)));
}

KeyChordSettingsModel::KeyChordSettingsModel(ConversionSeries series, std::string_view letters,
                                             int determination)
    : ElementTableSettingsModel(series, determination,
                                series == ConversionSeries::Wq ? TextToKeyChord(letters) : TextToQeKeyChord(letters))
{
    if (series == ConversionSeries::Wq) {
        choices_ = CvParamsDlgModel::KeyNames();
    } else {
        // Entry k * 22 + t: key k, chord type t.
        for (int k = 0; k < kQeKeys; ++k)
            for (int t = 0; t < kQeChords; ++t)
                choices_.push_back(GetQeKeyName(k) + GetQeChordName(t));
    }
}

std::string KeyChordSettingsModel::CvLabel(int cv)
{
    return "CV" + std::to_string(cv + 1) + ": ";
}

bool KeyChordSettingsModel::BoxEnabled(int cv) const
{
    return ElementsEnabled() && cv >= 0 && cv < CvCountOf(element());
}

std::string KeyChordSettingsModel::Selected(int cv) const
{
    if (cv < 0 || cv >= CvCountOf(element())) return {};
    const size_t at = size_t(CvSlotOf(element(), cv) * bytesPerSlot());
    int entry = 0;
    if (series() == ConversionSeries::Wq) {
        entry = table_[at];
    } else {
        const int key = table_[at], chord = table_[at + 1];
        entry = key < kQeKeys && chord < kQeChords ? key * kQeChords + chord : -1;
    }
    // A stored value out of range (a damaged setting) shows the first entry, "CMajor".
    return entry >= 0 && size_t(entry) < choices_.size() ? choices_[size_t(entry)] : choices_.front();
}

void KeyChordSettingsModel::StoreElement(std::span<const std::string> chosen)
{
    for (int cv = 0; cv < CvCountOf(element()); ++cv) {
        // No choice, or a text that names no entry, stores 0 (C major).
        int entry = 0;
        if (size_t(cv) < chosen.size()) {
            auto it = std::find(choices_.begin(), choices_.end(), chosen[size_t(cv)]);
            if (it != choices_.end()) entry = int(it - choices_.begin());
        }
        const size_t at = size_t(CvSlotOf(element(), cv) * bytesPerSlot());
        if (series() == ConversionSeries::Wq) {
            table_[at] = uint8_t(entry);
        } else {
            table_[at] = uint8_t(entry / kQeChords);
            table_[at + 1] = uint8_t(entry % kQeChords);
        }
    }
}

} // namespace zib
