#include "docs/style/core/QeSoundList.h"

#include "docs/style/core/CQeSoundTables.h"

#include <array>
#include <cstdio>
#include <memory>

namespace zib {

namespace {

std::string numbered(const char* format, int n)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, n);
    return buffer;
}

} // namespace

std::string TrimBlanks(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

void QeSoundList::Add(std::string name, uint8_t msb, uint8_t lsb, uint8_t program)
{
    const uint32_t value = uint32_t(msb) << 24 | uint32_t(lsb) << 16 | program;
    index_.emplace(value, int(entries_.size()));
    entries_.push_back({std::move(name), value});
}

QeSoundList QeSoundList::Build(const CQeSoundTables& tables, int series)
{
    using T = CQeSoundTables::Table;
    QeSoundList list;
    const bool qe9z = series != 0;
    list.entries_.reserve(qe9z ? 1916 : 983);
    for (const auto& row : tables.Rows(qe9z ? T::Qe9zDrums : T::Qe4kDrums))
        list.Add(TrimBlanks(row.name), row.msb, row.lsb, row.program);
    // User drum kits: bank LSB 64, and on the Qe9z the two expansion banks.
    struct UserBank {
        const char* format;
        uint8_t msb;
        uint8_t lsb;
        int count;
    };
    const std::vector<UserBank> drums = qe9z ? std::vector<UserBank>{{"UserDrum%02d", 120, 64, 64},
                                                                     {"EXB1UserDrum%02d", 120, 68, 64},
                                                                     {"EXB2UserDrum%02d", 120, 70, 64}}
                                             : std::vector<UserBank>{{"UserDrum%02d", 120, 64, 64}};
    for (const UserBank& b : drums)
        for (int n = 0; n < b.count; ++n)
            list.Add(numbered(b.format, n), b.msb, b.lsb, uint8_t(n));
    for (const auto& row : tables.Rows(qe9z ? T::Qe9zMelodic : T::Qe4kMelodic))
        list.Add(TrimBlanks(row.name), row.msb, row.lsb, row.program);
    const std::vector<UserBank> sounds =
        qe9z ? std::vector<UserBank>{{"User1Prg%03d", 121, 64, 128},     {"User2Prg%03d", 121, 65, 128},
                                     {"EXB1User1Prg%03d", 121, 68, 128}, {"EXB1User2Prg%03d", 121, 69, 128},
                                     {"EXB2User1Prg%03d", 121, 70, 128}, {"EXB2User2Prg%03d", 121, 71, 128}}
             : std::vector<UserBank>{{"User1Prg%02d", 121, 64, 64}, {"User2Prg%02d", 121, 65, 64}};
    for (const UserBank& b : sounds)
        for (int n = 0; n < b.count; ++n)
            list.Add(numbered(b.format, n), b.msb, b.lsb, uint8_t(n));
    return list;
}

const QeSoundList& QeSoundList::ForSeries(int series)
{
    // Built on first use on the UI thread.
    static std::array<std::unique_ptr<QeSoundList>, 2> lists;
    const size_t s = series == 0 ? 0 : 1;
    if (!lists[s]) lists[s] = std::make_unique<QeSoundList>(Build(CQeSoundTables::BuiltIn(), int(s)));
    return *lists[s];
}

int QeSoundList::IndexOf(uint32_t value) const
{
    const auto it = index_.find(value & 0xFFFF00FFu);
    return it == index_.end() ? -1 : it->second;
}

} // namespace zib
