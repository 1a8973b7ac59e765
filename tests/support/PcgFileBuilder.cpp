#include "tests/support/PcgFileBuilder.h"

#include "tests/support/DasfImageBuilder.h"

#include "platform/ByteWriter.h"

#include <algorithm>

namespace zib::test {

namespace {

bool familyB(int model)
{
    return model == 'I' || model == 'M';
}

} // namespace

std::vector<uint8_t> wqProgramRecord(int model, const std::string& name, uint8_t seed)
{
    const size_t size = familyB(model) ? 172 : 164;
    const size_t width = familyB(model) ? 16 : 10;
    std::vector<uint8_t> record(size);
    for (size_t i = 0; i < size; ++i)
        record[i] = i < width ? uint8_t(i < name.size() ? name[i] : ' ') : uint8_t(i + seed);
    return record;
}

std::vector<uint8_t> wqDrumKit(int model, const std::string& name, uint8_t seed)
{
    std::vector<uint8_t> kit = wqProgramRecord(model, name, seed);
    kit.resize(familyB(model) ? 1052 : 1484, 0);
    return kit;
}

void putWord(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

uint16_t wordAt(std::span<const uint8_t> bytes, size_t at)
{
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

WqPcgBuilder::WqPcgBuilder(int model) : model_(model)
{
    const bool b = familyB(model);
    head_.assign(b ? 48 : 791, 0);
    std::copy_n("DASK", 4, head_.begin());
    head_[4] = uint8_t(model);
    for (int i = 0; i < (b ? 128 : 64); ++i)
        programs_.push_back(wqProgramRecord(model, "Prog" + std::to_string(i + 1), uint8_t(i)));
    for (int k = 0; k < (b ? 8 : 2); ++k) {
        auto kit = wqDrumKit(model, "Kit" + std::to_string(k + 1), uint8_t(100 + k));
        std::fill(kit.begin() + (b ? 172 : 164), kit.end(), uint8_t(k + 1)); // map k filled with k + 1
        kits_.push_back(std::move(kit));
    }
}

WqPcgBuilder& WqPcgBuilder::program(int index, std::vector<uint8_t> record)
{
    programs_[size_t(index)] = std::move(record);
    return *this;
}

WqPcgBuilder& WqPcgBuilder::drumKit(int index, std::vector<uint8_t> kit)
{
    kits_[size_t(index)] = std::move(kit);
    return *this;
}

WqPcgBuilder& WqPcgBuilder::headByte(size_t at, uint8_t value)
{
    head_[at] = value;
    return *this;
}

std::vector<uint8_t> WqPcgBuilder::image() const
{
    const size_t record = familyB(model_) ? 172 : 164;
    zib::ByteWriter out;
    out.bytes(head_);
    const auto maps = [&] {
        for (const auto& kit : kits_)
            out.bytes(std::span<const uint8_t>(kit).subspan(record));
    };
    if (!familyB(model_)) maps();
    for (const auto& p : programs_)
        out.bytes(p);
    for (const auto& kit : kits_)
        out.bytes(std::span<const uint8_t>(kit).first(record));
    if (familyB(model_)) maps();
    return out.take();
}

std::vector<uint8_t> wqItemFile(int model, std::span<const uint8_t> record)
{
    zib::ByteWriter out;
    out.text("DASK");
    out.u8(uint8_t(model));
    out.bytes(record);
    return out.take();
}

std::vector<uint8_t> qeItemFile(int model, const std::string& name, uint32_t bank, std::span<const uint8_t> data,
                                uint32_t sizeField)
{
    zib::ByteWriter out;
    out.text("DASK");
    out.u8(uint8_t(model));
    out.u32le(sizeField);
    out.fill(0, 8);
    out.u32le(bank);
    for (size_t i = 0; i < 18; ++i)
        out.u8(i < name.size() ? uint8_t(name[i]) : 0);
    out.bytes(data);
    return out.take();
}

std::vector<uint8_t> qeItemFile(int model, const std::string& name, uint32_t bank, std::span<const uint8_t> data)
{
    return qeItemFile(model, name, bank, data, uint32_t(data.size()));
}

std::vector<uint8_t> qeProgramChunk(uint8_t seed)
{
    zib::ByteWriter out;
    const uint32_t payload = 40;
    out.u8(0x0C);
    out.u8(0);
    out.u8(0);
    out.u8(0x10);
    out.u32be(payload);
    for (uint32_t i = 0; i < payload; ++i)
        out.u8(uint8_t(seed + i * 3));
    return out.take();
}

std::vector<uint8_t> qePcgImage(const std::vector<QeProgram>& programs)
{
    std::vector<DasfResource> resources;
    for (const auto& p : programs) {
        DasfResource r;
        r.name = p.name;
        r.type = p.type;
        r.user1 = p.bank;
        r.user2 = p.position;
        r.chunk = qeProgramChunk(p.seed);
        resources.push_back(std::move(r));
    }
    return dasfImage(resources);
}

} // namespace zib::test
