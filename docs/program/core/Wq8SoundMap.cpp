#include "docs/program/core/Wq8SoundMap.h"

#include "docs/program/core/DataTable.h"

#include "platform/Cp1252.h"
#include "platform/DataDir.h"

#include <charconv>

namespace zib {

namespace {

std::vector<std::string_view> tabFields(std::string_view line)
{
    std::vector<std::string_view> out;
    size_t at = 0;
    while (true) {
        const size_t tab = line.find('\t', at);
        out.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
        if (tab == std::string_view::npos) return out;
        at = tab + 1;
    }
}

bool soundNumber(std::string_view text, uint16_t& value)
{
    unsigned v = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || v > 0xFFFF) return false;
    value = uint16_t(v);
    return true;
}

} // namespace

uint16_t Wq8SoundMap::Convert(uint16_t wq8Number) const
{
    // The loader keeps row n at index n.
    return wq8Number < rows_.size() ? rows_[wq8Number].targetNumber : wq8Number;
}

void Wq8SoundMap::LoadText(std::string_view text)
{
    ForEachDataLine(text, [this](int lineNumber, std::string_view line) {
        auto f = tabFields(line);
        if (f.size() != 5 || (f[0] != "sound" && f[0] != "drum")) {
            problems_.push_back("line " + std::to_string(lineNumber) +
                                ": not \"map, Wq8 number, name, Wq41/WqR65 number, name\"");
            return;
        }
        if ((f[0] == "sound") != (kind_ == Kind::Sound)) return; // the other map's row
        f.erase(f.begin());
        Row row;
        if (!soundNumber(f[0], row.wq8Number) || !soundNumber(f[2], row.targetNumber)) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": a number that is no sound number");
            return;
        }
        row.wq8Name = utf8ToCp1252(f[1]);
        row.targetName = utf8ToCp1252(f[3]);
        if (row.wq8Name.size() > 16 || row.targetName.size() > 16) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": a name longer than 16 characters");
            return;
        }
        if (row.wq8Number != rows_.size() || int(rows_.size()) >= rowCount_) {
            problems_.push_back("line " + std::to_string(lineNumber) + ": row " + std::to_string(row.wq8Number) +
                                " out of order");
            return;
        }
        rows_.push_back(std::move(row));
    });
    if (int(rows_.size()) < rowCount_)
        problems_.push_back("rows " + std::to_string(rows_.size()) + " to " + std::to_string(rowCount_ - 1) +
                            " are missing");
}

Wq8SoundMap Wq8SoundMap::LoadFile(const std::filesystem::path& path, Kind kind)
{
    Wq8SoundMap map(kind);
    if (const auto text = ReadDataTable(path, map.problems_)) map.LoadText(*text);
    return map;
}

const Wq8SoundMap& builtInWq8SoundMap()
{
    static const Wq8SoundMap map = Wq8SoundMap::LoadFile(dataFile(Wq8SoundMap::kFile), Wq8SoundMap::Kind::Sound);
    return map;
}

const Wq8SoundMap& builtInWq8DrumSoundMap()
{
    static const Wq8SoundMap map = Wq8SoundMap::LoadFile(dataFile(Wq8SoundMap::kFile), Wq8SoundMap::Kind::Drum);
    return map;
}

} // namespace zib
