#include "docs/style/core/StsArrangerInfoPageModel.h"

#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/StsItemData.h"
#include "midi/ValueTexts.h"

#include <array>
#include <cstdlib>

namespace zib {

namespace {

constexpr std::array<const char*, 20> kCategories{
    "8/16 Beat 1", "8/16 Beat 2", "Ballad", "Ballroom",    "Dance",  "Rock",   "Soul & Funk",
    "World 1",     "World 2",     "World 3", "Latin 1",    "Latin 2", "Latin Dance", "Jazz 1",
    "Jazz 2",      "Traditional", "Reserved", "User 1",    "User 2", "User 3"};
constexpr int kReservedBank = 16;

} // namespace

StsArrangerInfoPageModel::StsArrangerInfoPageModel(std::span<const uint8_t> data, uint32_t model, int kind)
    : model_(model), kind_(kind)
{
    bank = StsItemData::Get(data, StsItemData::kBank);
    position = StsItemData::Get(data, StsItemData::kPosition);
    tempo = StsItemData::Get(data, StsItemData::kTempo);
    variation = StsItemData::Get(data, StsItemData::kVariation);
    element = StsItemData::Get(data, StsItemData::kElement);
    fill1 = StsItemData::Get(data, StsItemData::kFill1);
    fill2 = StsItemData::Get(data, StsItemData::kFill2);
}

const char* StsArrangerInfoPageModel::CategoryName(int b)
{
    return b >= 0 && b < int(kCategories.size()) ? kCategories[size_t(b)] : "";
}

uint8_t& StsArrangerInfoPageModel::ValueOf(Field f)
{
    switch (f) {
    case Field::Bank:
        return bank;
    case Field::Position:
        return position;
    case Field::Variation:
        return variation;
    case Field::Element:
        return element;
    case Field::Fill1:
        return fill1;
    case Field::Fill2:
        break;
    }
    return fill2;
}

uint8_t StsArrangerInfoPageModel::ValueOf(Field f) const
{
    return const_cast<StsArrangerInfoPageModel*>(this)->ValueOf(f);
}

std::vector<StsArrangerInfoPageModel::Entry> StsArrangerInfoPageModel::Entries(Field f) const
{
    std::vector<Entry> entries;
    switch (f) {
    case Field::Bank:
        if (kind_ != kPerformance) {
            entries.push_back({bank < 20 ? CategoryName(bank) : std::to_string(bank), bank});
            break;
        }
        for (int b = 0; b < 20; ++b)
            if (b != kReservedBank) entries.push_back({CategoryName(b), b});
        break;
    case Field::Position:
        if (kind_ != kPerformance) {
            entries.push_back({std::to_string(position), position});
            break;
        }
        for (int p = 0; p < (model_ == 'X' ? 32 : 16); ++p)
            entries.push_back({std::to_string(p), p});
        break;
    case Field::Variation:
        for (int v = 0; v < 4; ++v)
            entries.push_back({GetQeElementName(v), v});
        break;
    case Field::Element:
        for (int e = 0; e < (model_ == 'X' ? 12 : 10); ++e)
            entries.push_back({GetQeElementName(e), e});
        break;
    case Field::Fill1:
    case Field::Fill2:
        for (int m = 0; m < 15; ++m)
            entries.push_back({CStsItemAccessor::GetFillModeText(m), m});
        break;
    }
    return entries;
}

bool StsArrangerInfoPageModel::Enabled(Field f) const
{
    return kind_ == kPerformance || (f != Field::Bank && f != Field::Position);
}

int StsArrangerInfoPageModel::Selection(Field f) const
{
    const std::vector<Entry> entries = Entries(f);
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].value == ValueOf(f)) return int(i);
    return -1;
}

void StsArrangerInfoPageModel::Select(Field f, int index)
{
    const std::vector<Entry> entries = Entries(f);
    if (index < 0 || size_t(index) >= entries.size()) return;
    uint8_t& value = ValueOf(f);
    if (value == entries[size_t(index)].value) return;
    value = uint8_t(entries[size_t(index)].value);
    changed = true;
}

std::optional<std::string> StsArrangerInfoPageModel::TempoTyped(const std::string& text)
{
    changed = true;
    const long typed = std::strtol(text.c_str(), nullptr, 10);
    if (typed > kMaxTempo) {
        tempo = kMaxTempo;
        return std::to_string(kMaxTempo);
    }
    tempo = uint8_t(typed < 0 ? 0 : typed);
    return std::nullopt;
}

void StsArrangerInfoPageModel::TempoStep(int direction)
{
    if (direction < 0 && tempo > kMinTempo) {
        --tempo;
        changed = true;
    } else if (direction > 0 && tempo < kMaxTempo) {
        ++tempo;
        changed = true;
    }
}

} // namespace zib
