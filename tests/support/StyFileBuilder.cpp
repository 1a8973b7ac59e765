#include "tests/support/StyFileBuilder.h"

#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/WqImageBuilder.h"
#include "ulvarf/ulvarf.h"

#include <fstream>
#include <gtest/gtest.h>

namespace zib::test {

std::vector<uint8_t> qeStyleInstance(const QeStyleRecipe& recipe)
{
    ULStEEditor* editor = _ULStECreateInstance(recipe.pad ? ULSTE_NEW_PAD : nullptr);
    EXPECT_NE(editor, nullptr);
    const std::vector<uint8_t> smf = qeCvSmf({0, 2});
    for (int e : recipe.elements)
        EXPECT_TRUE(_ULStEImportSmf(editor, smf.data(), uint32_t(smf.size()), e, 0)) << e;
    _ULStESetName(editor, recipe.name.c_str());
    if (recipe.program) _ULStESetTrackProgram(editor, 0, 2, &recipe.program);
    _ULStESetQeVersion(editor, recipe.version);
    ULRFResInstance* resource = _ULStECreateResource(editor);
    _ULStEDeleteInstance(editor);
    EXPECT_NE(resource, nullptr);
    std::vector<uint8_t> out(size_t(_ULRFResInstanceSize(resource)));
    EXPECT_TRUE(_ULRFPutResInstance(resource, out.data(), uint32_t(out.size())));
    _ULRFDelResInstance(resource);
    return out;
}

std::vector<uint8_t> resourceChunkOf(std::span<const uint8_t> instance)
{
    if (instance.size() < 8) {
        ADD_FAILURE() << "a resource instance of " << instance.size() << " bytes has no chunk";
        return {};
    }
    return std::vector<uint8_t>(instance.begin() + 8, instance.end());
}

DasfResource qeEntry(const std::string& name, uint8_t type, uint8_t bank, uint8_t position,
                     std::span<const uint8_t> instance)
{
    DasfResource r;
    r.name = name;
    r.type = type;
    r.user1 = bank;
    r.user2 = position;
    r.chunk = resourceChunkOf(instance);
    return r;
}

std::vector<uint8_t> stsChunk(uint8_t wordA, uint8_t wordB, size_t payload)
{
    std::vector<uint8_t> chunk = {0x0B, wordA, wordB, 0x18, 0, 0, 0, uint8_t(payload)};
    for (size_t i = 0; i < payload; ++i)
        chunk.push_back(uint8_t(i));
    return chunk;
}

DasfResource stsEntry(const std::string& name, uint8_t bank, uint8_t position, uint8_t wordA, uint8_t wordB)
{
    DasfResource r;
    r.name = name;
    r.type = 7;
    r.user1 = bank;
    r.user2 = position;
    r.chunk = stsChunk(wordA, wordB);
    return r;
}

std::vector<uint8_t> stsBlock(uint8_t slot, uint8_t seed)
{
    std::vector<uint8_t> block(261);
    for (size_t i = 0; i < 113; ++i)
        block[i] = uint8_t(seed + i);
    block[0] = slot;
    for (size_t r = 0; r < 4; ++r) {
        uint8_t* record = block.data() + 113 + 37 * r;
        record[8] = 121;
        record[9] = 0;
        record[11] = uint8_t(10 + slot);
        record[12] = uint8_t(90 + r);
        record[13] = 64;
    }
    return block;
}

std::vector<uint8_t> stsInstance(const std::vector<uint8_t>& slots, size_t tail, uint8_t wordA, uint8_t wordB)
{
    const size_t total = 432 + 261 * slots.size() + tail;
    std::vector<uint8_t> data(total, 0);
    auto be32 = [&data](size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i)
            data[at + i] = uint8_t(v >> (24 - 8 * i));
    };
    data[0] = 7;
    data[1] = wordA;
    data[2] = wordB;
    const uint32_t chunk = uint32_t(total - 8);
    for (size_t i = 0; i < 4; ++i)
        data[4 + i] = uint8_t(chunk >> (8 * i));
    data[8] = 0x0B;
    data[9] = wordA;
    data[10] = wordB;
    data[11] = 0x18;
    be32(12, uint32_t(total - 16));
    data[16] = 1;
    be32(20, uint32_t(total - 24));
    be32(24, uint32_t(total - 28));
    data[36] = uint8_t(slots.size());
    data[38] = 3, data[39] = 4, data[41] = 120, data[42] = 1, data[43] = 2, data[45] = 7, data[46] = 8;
    for (size_t t = 0; t < 8; ++t) {
        uint8_t* record = data.data() + 136 + 37 * t;
        record[8] = 121;
        record[9] = uint8_t(t);
        record[11] = uint8_t(t + 1);
        record[12] = 100;
        record[13] = 64;
    }
    for (size_t k = 0; k < slots.size(); ++k) {
        const std::vector<uint8_t> block = stsBlock(slots[k], uint8_t(k * 16));
        std::copy(block.begin(), block.end(), data.begin() + ptrdiff_t(432 + 261 * k));
    }
    for (size_t i = 0; i < tail; ++i)
        data[total - tail + i] = uint8_t(0xE0 + i);
    return data;
}

DasfResource stsDataEntry(const std::string& name, uint8_t bank, uint8_t position, const std::vector<uint8_t>& slots)
{
    DasfResource r;
    r.name = name;
    r.type = 7;
    r.user1 = bank;
    r.user2 = position;
    r.chunk = resourceChunkOf(stsInstance(slots));
    return r;
}

std::vector<uint8_t> smallWq8Image(const std::string& name, char model)
{
    WqImageBuilder b = WqImageBuilder::fromEmptyItem(model);
    b.name(name).tempo(120).timeSig(19).track(0, 0x0200, 100, 15).track(2, 0x0021, 100, 15);
    b.cv(0, 0, 0, 1);
    b.slot(0, 0, 0, {WqEv::bar(0), WqEv::note(0, 36, 100, 48), WqEv::note(96, 38, 100, 48), WqEv::end(0)});
    b.slot(0, 0, 2, {WqEv::bar(0), WqEv::program(0, 0x0021), WqEv::note(0, 40, 90, 96), WqEv::end(0)});
    return b.build();
}

std::vector<uint8_t> wqStyleFile(char model, const std::vector<std::vector<uint8_t>>& items, std::vector<int> slots)
{
    const bool familyB = model == 'I' || model == 'M';
    std::vector<uint8_t> file(familyB ? 224 : 96, 0);
    std::copy_n("DASK", 4, file.begin());
    file[4] = uint8_t(model);
    for (size_t i = 0; i < items.size(); ++i) {
        const size_t slot = i < slots.size() ? size_t(slots[i]) : i;
        const size_t at = familyB ? 24 + 4 * slot : 76 + 6 * slot;
        file[at] = uint8_t(items[i].size());
        file[at + 1] = uint8_t(items[i].size() >> 8);
    }
    for (const auto& item : items)
        file.insert(file.end(), item.begin(), item.end());
    return file;
}

std::string writeFile(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path.string();
}

} // namespace zib::test
