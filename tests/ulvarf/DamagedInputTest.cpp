// Every truncation and every single-bit flip of a container image, a
// serialised instance and a COComp block: the readers refuse or read
// something they can write back, and never step outside their input.

#include "ulvarf/COComp.h"
#include "ulvarf/CResourceFile.h"
#include "ulvarf/CResourceInstance.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;

// Calls `read` on every truncation and every one-bit change of `good`.
void forEachDamage(const Bytes& good, const std::function<void(const Bytes&)>& read)
{
    for (size_t n = 0; n < good.size(); ++n) read(Bytes(good.begin(), good.begin() + n));
    for (size_t at = 0; at < good.size(); ++at) {
        for (int bit = 0; bit < 8; ++bit) {
            Bytes damaged = good;
            damaged[at] ^= uint8_t(1 << bit);
            read(damaged);
        }
    }
}

Bytes stsSerial()
{
    return zib::test::serialisedResInstance(
        7, 0, 0, 0, zib::test::ChunkBuilder().leaf(0x07, 0, 0, 0x18, zib::test::midiLikeBytes(300)).bytes());
}

Bytes sampleImage()
{
    auto file = CResourceFile::FromImage(
        zib::test::qeConverterStyleImage("Damage", zib::test::sampleQeStyleChunk()));
    auto sts = CResourceInstance::FromSerialised(stsSerial());
    file->InsertResource(-1, *sts);
    Bytes image(file->OutBufferSize());
    file->FillOutBuffer(image);
    return image;
}

TEST(DamagedInput, AContainerImageOpensWholeOrNotAtAll)
{
    size_t opened = 0;
    forEachDamage(sampleImage(), [&](const Bytes& image) {
        auto file = CResourceFile::FromImage(image);
        if (!file) return;
        ++opened;
        Bytes written(file->OutBufferSize());
        ASSERT_TRUE(file->FillOutBuffer(written));
        auto again = CResourceFile::FromImage(written);
        ASSERT_TRUE(again);
        ASSERT_EQ(again->count(), file->count());
        for (size_t i = 0; i < file->count(); ++i) {
            auto resource = file->ExtractResource(int(i));
            ASSERT_TRUE(resource);
            Bytes plain(resource->SerialisedSizeUnComp());
            resource->PutSerialisedUnComp(plain);
        }
    });
    EXPECT_GT(opened, 0u); // changes to names and unused bytes still open
}

TEST(DamagedInput, ASerialisedInstanceReadsWholeOrNotAtAll)
{
    Bytes packed;
    {
        auto sts = CResourceInstance::FromSerialised(stsSerial());
        packed.resize(sts->SerialisedSize());
        sts->PutSerialised(packed);
    }
    for (const Bytes& good : {stsSerial(), packed}) {
        forEachDamage(good, [&](const Bytes& data) {
            auto instance = CResourceInstance::FromSerialised(data);
            if (!instance) return;
            Bytes out(instance->SerialisedSize());
            ASSERT_TRUE(instance->PutSerialised(out));
            ASSERT_TRUE(CResourceInstance::FromSerialised(out));
            const uint64_t plain = instance->SerialisedSizeUnComp();
            ASSERT_GE(plain, 16u);
            Bytes unpacked(plain);
            instance->PutSerialisedUnComp(unpacked);
        });
    }
}

TEST(DamagedInput, ACOCompBlockDecodesExactlyOrNotAtAll)
{
    const Bytes data = zib::test::midiLikeBytes(2000);
    for (int version = 2; version <= 3; ++version) {
        Bytes block(COComp::MaxBlockSize(data.size()));
        block.resize(COComp::Encode(data, block, version, 2));
        forEachDamage(block, [&](const Bytes& damaged) {
            const uint32_t length = COComp::UncompressedLength(damaged);
            Bytes out(length);
            const uint32_t decoded = COComp::Decode(damaged, out, true);
            ASSERT_TRUE(decoded == 0 || decoded == length);
        });
    }
}

} // namespace
} // namespace zib::ulvarf
