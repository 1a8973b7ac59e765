#include "docs/style/core/StsTrackPageModel.h"

#include "docs/style/core/CStsItemAccessor.h"
#include "docs/style/core/QeSoundList.h"
#include "docs/style/core/QeValueHelpers.h"
#include "docs/style/core/StsItemData.h"
#include "midi/ValueTexts.h"

#include <cstdio>
#include <cstdlib>

namespace zib {

namespace {

uint32_t readSound(std::span<const uint8_t> data, size_t at)
{
    if (at + 12 > data.size()) return 0;
    return uint32_t(data[at + 8]) << 24 | uint32_t(data[at + 9]) << 16 | uint32_t(data[at + 10]) << 8 |
           data[at + 11];
}

} // namespace

StsTrackPageModel::StsTrackPageModel(std::span<const uint8_t> data, uint32_t model, size_t first,
                                     std::vector<std::string> names, bool realtime)
    : model_(model), realtime_(realtime)
{
    for (size_t i = 0; i < names.size(); ++i) {
        const size_t at = first + i * StsItemData::kTrackRecord;
        Row r;
        r.name = std::move(names[i]);
        r.sound = readSound(data, at);
        r.volume = StsItemData::Get(data, at + StsTrackRecord::kVolume);
        r.pan = StsItemData::Get(data, at + StsTrackRecord::kPan);
        rows_.push_back(std::move(r));
    }
}

StsTrackPageModel StsTrackPageModel::StylePerformance(std::span<const uint8_t> data, uint32_t model)
{
    std::vector<std::string> names;
    for (int t = 0; t < StsItemData::kStyleTrackCount; ++t)
        names.push_back(GetQeTrackName(t));
    return StsTrackPageModel(data, model, StsItemData::kStyleTracks, std::move(names), false);
}

StsTrackPageModel StsTrackPageModel::Realtime(std::span<const uint8_t> data, uint32_t model, int slot, int ordinal)
{
    const size_t block = StsItemData::kFirstSts + StsItemData::kStsBlock * size_t(ordinal);
    StsTrackPageModel page(data, model, block + StsItemData::kStsHead, {"LOW", "UP1", "UP2", "UP3"}, true);
    page.slot_ = slot;
    page.ordinal_ = ordinal;
    return page;
}

std::string StsTrackPageModel::SoundText(int row) const
{
    const uint32_t s = rows_[size_t(row)].sound & 0xFFFF00FFu;
    const std::string name = GetQeSoundName(s, model_ == 'X' ? 1 : 0);
    if (soundChosen_ && realtime_) return TrimBlanks(name);
    char head[32];
    std::snprintf(head, sizeof head, "(%d,%d,%d) - ", int(s >> 24), int((s >> 16) & 0xFF), int(s & 0xFF));
    const std::string text = head + name;
    return soundChosen_ ? TrimBlanks(text) : text;
}

bool StsTrackPageModel::SoundChosen(int row, uint32_t sound)
{
    Row& r = rows_[size_t(row)];
    if (sound == r.sound) return false;
    r.sound = sound;
    soundChosen_ = true;
    changed = true;
    return true;
}

std::optional<std::string> StsTrackPageModel::VolumeTyped(int row, const std::string& text)
{
    changed = true;
    const long typed = std::strtol(text.c_str(), nullptr, 10);
    Row& r = rows_[size_t(row)];
    if (typed >= 128) {
        r.volume = 127;
        return std::string("127");
    }
    r.volume = uint8_t(typed < 0 ? 0 : typed);
    return std::nullopt;
}

void StsTrackPageModel::VolumeStep(int row, int direction)
{
    Row& r = rows_[size_t(row)];
    if (direction < 0 && r.volume > 0) {
        --r.volume;
        changed = true;
    } else if (direction > 0 && r.volume < 127) {
        ++r.volume;
        changed = true;
    }
}

std::vector<std::string> StsTrackPageModel::PanTexts()
{
    std::vector<std::string> texts{"Off"};
    for (int p = 0; p < 128; ++p)
        texts.push_back(CStsItemAccessor::GetStsPanText(p));
    return texts;
}

int StsTrackPageModel::PanSelection(int row) const
{
    const uint8_t pan = rows_[size_t(row)].pan;
    if (pan > 254) return 0;
    return pan < 128 ? pan + 1 : -1;
}

void StsTrackPageModel::PanSelected(int row, int index)
{
    if (index < 0 || index > 128) return;
    Row& r = rows_[size_t(row)];
    const uint8_t pan = PanOfEntry(index);
    if (pan == r.pan) return;
    r.pan = pan;
    changed = true;
}

} // namespace zib
