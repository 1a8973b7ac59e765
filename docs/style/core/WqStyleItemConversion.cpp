#include "docs/style/core/WqStyleItemConversion.h"

#include "docs/style/core/WqEmptyStyle.h"
#include "midi/ProgramNames.h"
#include "styles/CWqToQeConverter.h"
#include "styles/WqStyleLayout.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace zib {

namespace {

constexpr size_t kHeadA = 1168;
constexpr size_t kHeadB = 1176;
constexpr size_t kOffsetsA = 534;
constexpr size_t kOffsetsB = 542;
constexpr int kOffsetCount = 317;

void notify(const StyNoticeSink& notices, StyNotice notice)
{
    if (notices) notices(notice);
}

uint16_t get16(const std::vector<uint8_t>& d, size_t at)
{
    return at + 1 < d.size() ? uint16_t(d[at] | d[at + 1] << 8) : 0;
}

void put16(std::vector<uint8_t>& d, size_t at, uint16_t v)
{
    if (at + 1 >= d.size()) return;
    d[at] = uint8_t(v);
    d[at + 1] = uint8_t(v >> 8);
}

bool nameBegins(const CStyItem& item, const char* word)
{
    return std::strncmp(item.name.data(), word, std::strlen(word)) == 0;
}

void nameFromData(CStyItem& item, uint32_t model)
{
    const size_t width = IsWqFamilyB(model) ? 16 : 10;
    item.name.fill('\0');
    std::memcpy(item.name.data(), item.data.data(), std::min(width, item.data.size()));
    ConvertItemName(item.name, model, 1);
}

bool validImage(const CStyItem& item, uint32_t model)
{
    return ValidateWqImage(item.data.data(), item.data.size(), model) == WqImageError::None;
}

int layoutAToB(CStyItem& item, int listIndex, uint32_t from, uint32_t to, bool mapEvents,
               const StyNoticeSink& notices)
{
    static constexpr const char* kCaption = "ConvertStyWQ8ToWqR65";
    try {
        if (nameBegins(item, "empty")) {
            item.data = WqEmptyStyleImage('M', listIndex);
            nameFromData(item, 'M');
            item.model = 'M';
            return kStyConvertOk;
        }
        if (!validImage(item, '9') || item.data.size() + 8 > 0xFFFF) return kStyConvertRefused;
        const std::vector<uint8_t>& old = item.data;
        const std::array<uint8_t, 6> banks = WqTrackBanks(old, '9');
        std::vector<uint8_t> out(old.size() + 8, 0);
        std::copy_n(old.begin(), 10, out.begin());
        std::fill_n(out.begin() + 10, 6, uint8_t(' '));
        put16(out, 16, 15);
        std::copy(old.begin() + 10, old.begin() + kOffsetsA, out.begin() + 18);
        for (int i = 0; i < kOffsetCount; ++i)
            put16(out, kOffsetsB + 2 * size_t(i), uint16_t(get16(old, kOffsetsA + 2 * size_t(i)) + 8));
        std::copy(old.begin() + kHeadA, old.end(), out.begin() + kHeadB);
        item.data.swap(out);
        item.model = 'M';
        nameFromData(item, 'M');
        MapWqTrackPrograms(item.data, 'M', from, to);
        if (mapEvents) MapWqEventPrograms(item.data, 'M', from, to, banks);
        return kStyConvertOk;
    } catch (const std::bad_alloc&) {
        notify(notices, StyNotice::Numbered(stymsg::MemoryAllocationFailed, kCaption));
        return kStyConvertRefused;
    }
}

} // namespace

std::array<uint8_t, 6> WqTrackBanks(const std::vector<uint8_t>& data, uint32_t model)
{
    const size_t base = IsWqFamilyB(model) ? 46 : 38;
    std::array<uint8_t, 6> banks{};
    for (size_t t = 0; t < 6; ++t)
        banks[t] = uint8_t(get16(data, base + 4 * t) >> 8);
    return banks;
}

void MapWqTrackPrograms(std::vector<uint8_t>& data, uint32_t model, uint32_t from, uint32_t to)
{
    const size_t base = IsWqFamilyB(model) ? 46 : 38;
    for (size_t t = 0; t < 6; ++t) {
        const size_t at = base + 4 * t;
        put16(data, at, MapProgramNumber(int(from), int(to), get16(data, at)));
    }
}

void MapWqEventPrograms(std::vector<uint8_t>& data, uint32_t model, uint32_t from, uint32_t to,
                        const std::array<uint8_t, 6>& trackBanks)
{
    const size_t offsets = IsWqFamilyB(model) ? kOffsetsB : kOffsetsA;
    auto isProgram = [](const uint8_t* e) { return (e[1] >> 4) == 0x3; };
    auto isBankSelect = [](const uint8_t* e) { return (e[1] >> 4) == 0x4 && e[2] == 32; };
    for (int slot = 0; slot < wq::kCvSlotCount; ++slot) {
        for (int track = 0; track < wq::kTrackCount; ++track) {
            const int entry = slot * wq::kTrackCount + track;
            const size_t begin = get16(data, offsets + 2 * size_t(entry));
            const size_t end = std::min<size_t>(get16(data, offsets + 2 * size_t(entry) + 2), data.size());
            uint8_t bank = trackBanks[size_t(track)];
            for (size_t at = begin; at + 4 <= end; at += 4) {
                uint8_t* e = data.data() + at;
                if (isProgram(e)) {
                    const uint16_t mapped =
                        MapProgramNumber(int(from), int(to), uint16_t(bank << 8 | e[2]));
                    e[2] = uint8_t(mapped);
                    e[3] = uint8_t(mapped >> 8);
                } else if (isBankSelect(e)) {
                    bank = e[3];
                    for (size_t next = at + 4; next + 4 <= end; next += 4) {
                        const uint8_t* p = data.data() + next;
                        if (!isProgram(p)) continue;
                        if (p[2] < 255)
                            e[3] = uint8_t(MapProgramNumber(int(from), int(to), uint16_t(bank << 8 | p[2])) >> 8);
                        break;
                    }
                }
            }
        }
    }
}

int ConvertStyWQ8ToWqR65(CStyItem& item, int listIndex, uint32_t from, uint32_t to, const StyNoticeSink& notices)
{
    return layoutAToB(item, listIndex, from, to, true, notices);
}

int ConvertWQ8ToWqR65(CStyItem& item, int listIndex, uint32_t from, uint32_t to, const StyNoticeSink& notices)
{
    return layoutAToB(item, listIndex, from, to, false, notices);
}

int ConvertWqR65ToWQ8(CStyItem& item, uint32_t from, uint32_t to, const StyNoticeSink& notices)
{
    static constexpr const char* kCaption = "ConvertWqR65ToWQ8";
    try {
        if (nameBegins(item, "InitStyle")) {
            item.data = WqEmptyStyleImage('9', 0);
            nameFromData(item, '9');
            item.model = '9';
            return kStyConvertOk;
        }
        if (!validImage(item, 'M')) return kStyConvertRefused;
        const std::vector<uint8_t>& old = item.data;
        const std::array<uint8_t, 6> banks = WqTrackBanks(old, 'M');
        std::vector<uint8_t> out(old.size() - 8, 0);
        std::copy_n(old.begin(), 10, out.begin());
        std::copy(old.begin() + 18, old.begin() + kOffsetsB, out.begin() + 10);
        for (int i = 0; i < kOffsetCount; ++i)
            put16(out, kOffsetsA + 2 * size_t(i), uint16_t(get16(old, kOffsetsB + 2 * size_t(i)) - 8));
        std::copy(old.begin() + kHeadB, old.end(), out.begin() + kHeadA);
        item.data.swap(out);
        item.model = '9';
        nameFromData(item, '9');
        MapWqTrackPrograms(item.data, '9', from, to);
        MapWqEventPrograms(item.data, '9', from, to, banks);
        return kStyConvertOk;
    } catch (const std::bad_alloc&) {
        notify(notices, StyNotice::Numbered(stymsg::MemoryAllocationFailed, kCaption));
        return kStyConvertRefused;
    }
}

int ConvertStyWQ8ToQE4K(CStyItem& item, uint32_t sourceModel, const StyNoticeSink& notices)
{
    static constexpr const char* kCaption = "ConvertStyWQ8ToQE4K";
    const std::string name = item.NameText();
    WqToQeResult result = ConvertWqStyleToQe(item.data, sourceModel, name);
    if (result.code < 0) {
        notify(notices, StyNotice::Text("Style %s not converted - Error no: %ld", {name, std::to_string(result.code)},
                                        kCaption));
        return kStyConvertFailedSaid;
    }
    if (result.body.empty()) {
        notify(notices, StyNotice::Text("Tarsk style Zero Size - %s", {name}, kCaption));
        return kStyConvertFailedSaid;
    }
    item.data.swap(result.body);
    item.model = 'F';
    return kStyConvertOk;
}

} // namespace zib
