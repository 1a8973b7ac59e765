#include "docs/program/core/WqPcgFile.h"

#include "docs/program/core/PcgLayout.h"
#include "platform/ByteCursor.h"
#include "platform/ByteWriter.h"

namespace zib {

std::optional<WqPcgFile::Layout> WqPcgFile::LayoutOf(int model)
{
    if (pcg::IsFamilyA(model)) return Layout{14255, 791, 64, 2, pcg::kProgramRecordA, pcg::kDrumKitMapA};
    if (pcg::IsFamilyB(model)) return Layout{30480, 48, 128, 8, pcg::kProgramRecordB, pcg::kDrumKitMapB};
    return std::nullopt;
}

WqPcgFile::Error WqPcgFile::Parse(std::span<const uint8_t> image, int model, size_t headLength)
{
    head.clear();
    programs.clear();
    drumKits.clear();
    const auto layout = LayoutOf(model);
    if (!layout || layout->head != headLength) return Error::ModelNotSupported;
    if (image.size() != layout->total) return Error::BadSize;

    ByteCursor in(image);
    const auto headBytes = in.bytes(layout->head);
    head.assign(headBytes.begin(), headBytes.end());
    // Family A keeps the maps before the programs; they join the kits after the heads.
    ByteCursor maps;
    if (pcg::IsFamilyA(model)) maps = in.sub(layout->map * size_t(layout->drumKits));
    for (int i = 0; i < layout->programs; ++i) {
        const auto record = in.bytes(layout->record);
        programs.emplace_back(record.begin(), record.end());
    }
    for (int k = 0; k < layout->drumKits; ++k) {
        const auto record = in.bytes(layout->record);
        drumKits.emplace_back(record.begin(), record.end());
    }
    if (pcg::IsFamilyB(model)) maps = in.sub(layout->map * size_t(layout->drumKits));
    for (auto& kit : drumKits) {
        const auto map = maps.bytes(layout->map);
        kit.insert(kit.end(), map.begin(), map.end());
    }
    return in.ok() && maps.ok() ? Error::None : Error::BadSize;
}

std::optional<std::vector<uint8_t>> WqPcgFile::Build(int model) const
{
    const auto layout = LayoutOf(model);
    if (!layout || programs.size() != size_t(layout->programs) || drumKits.size() != size_t(layout->drumKits))
        return std::nullopt;
    for (const auto& p : programs)
        if (p.size() != layout->record) return std::nullopt;
    for (const auto& k : drumKits)
        if (k.size() != layout->record + layout->map) return std::nullopt;

    ByteWriter out;
    out.reserve(layout->total);
    if (head.size() == layout->head) {
        out.bytes(head);
    } else {
        out.text("DASK");
        out.u8(uint8_t(model));
        out.fill(0, layout->head - 5);
    }
    const auto writeMaps = [&] {
        for (const auto& k : drumKits)
            out.bytes(std::span<const uint8_t>(k).subspan(layout->record));
    };
    if (pcg::IsFamilyA(model)) writeMaps();
    for (const auto& p : programs)
        out.bytes(p);
    for (const auto& k : drumKits)
        out.bytes(std::span<const uint8_t>(k).first(layout->record));
    if (pcg::IsFamilyB(model)) writeMaps();
    return out.take();
}

} // namespace zib
