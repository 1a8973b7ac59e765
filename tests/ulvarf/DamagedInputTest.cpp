// Every truncation and every single-bit flip of a container image, a
// serialised instance and a COComp block: the readers refuse, or read
// something they write back as it was read (compared byte for byte with what
// they read and with the undamaged original), and never step outside their
// input.

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

// Every resource of a container in serialised form, decompressed where the
// library gives an uncompressed form (the STS resource); empty when it cannot
// be put out.
std::vector<Bytes> resourcesOf(const CResourceFile& file)
{
    std::vector<Bytes> out;
    for (size_t i = 0; i < file.count(); ++i) {
        auto resource = file.ExtractResource(int(i));
        Bytes plain(resource ? resource->SerialisedSizeUnComp() : 0);
        if (!resource || !resource->PutSerialisedUnComp(plain)) plain.clear();
        out.push_back(std::move(plain));
    }
    return out;
}

// A damaged image is refused, or opens and writes an image that opens with
// the very same resources. Damage to names and unused bytes leaves the
// resources as they were; a cut-off image opens only when every resource is
// whole (the cut fell in the directory, which is not read), or as a new empty
// container when less than 29 bytes are left.
TEST(DamagedInput, AContainerImageReadsBackAsItOpened)
{
    const Bytes good = sampleImage();
    const auto original = resourcesOf(*CResourceFile::FromImage(good));
    ASSERT_EQ(original.size(), 2u);
    size_t opened = 0, intact = 0;
    forEachDamage(good, [&](const Bytes& image) {
        auto file = CResourceFile::FromImage(image);
        if (!file) return;
        ++opened;
        const auto resources = resourcesOf(*file);
        if (resources == original) ++intact;
        if (image.size() < 29) {
            EXPECT_TRUE(resources.empty()) << "cut to " << image.size(); // too short: a new, empty container
        } else if (image.size() < good.size()) {
            EXPECT_EQ(resources, original) << "cut to " << image.size();
        }
        Bytes written(file->OutBufferSize());
        ASSERT_TRUE(file->FillOutBuffer(written));
        auto again = CResourceFile::FromImage(written);
        ASSERT_TRUE(again);
        EXPECT_EQ(resourcesOf(*again), resources);
    });
    EXPECT_GT(intact, 0u);
    EXPECT_GE(opened, intact);
}

// A damaged serialised instance is refused, or reads as an instance that
// puts out a form reading back to the same instance.
TEST(DamagedInput, ASerialisedInstanceReadsBackAsItWasRead)
{
    Bytes packed;
    {
        auto sts = CResourceInstance::FromSerialised(stsSerial());
        packed.resize(sts->SerialisedSize());
        sts->PutSerialised(packed);
    }
    for (const Bytes& good : {stsSerial(), packed}) {
        auto plainOf = [](const CResourceInstance& instance) {
            Bytes plain(instance.SerialisedSizeUnComp());
            if (!instance.PutSerialisedUnComp(plain)) plain.clear();
            return plain;
        };
        ASSERT_FALSE(plainOf(*CResourceInstance::FromSerialised(good)).empty());
        size_t read = 0;
        forEachDamage(good, [&](const Bytes& data) {
            auto instance = CResourceInstance::FromSerialised(data);
            if (!instance) return;
            ++read;
            Bytes out(instance->SerialisedSize());
            ASSERT_TRUE(instance->PutSerialised(out));
            auto again = CResourceInstance::FromSerialised(out);
            ASSERT_TRUE(again);
            Bytes outAgain(again->SerialisedSize());
            ASSERT_TRUE(again->PutSerialised(outAgain));
            EXPECT_EQ(outAgain, out);
            EXPECT_EQ(plainOf(*again), plainOf(*instance));
        });
        EXPECT_GT(read, 0u); // the type, ids and flag byte, and payload bytes, are read as they are
    }
}

// The block's own check is an XOR byte: a cut-off block decodes only when the
// cut took nothing but the optional end marker (and then exactly), a damaged
// one that decodes has the original's XOR, and a changed level digit decodes
// exactly. (An XOR cannot tell every damage: a flipped bit in a byte
// the output holds an even number of times passes it.)
TEST(DamagedInput, ACOCompBlockDecodesToItsLengthAndItsCheckOrNotAtAll)
{
    const Bytes data = zib::test::midiLikeBytes(2000);
    uint8_t xorOfData = 0;
    for (uint8_t b : data) xorOfData ^= b;
    for (int version = 2; version <= 3; ++version) {
        Bytes block(COComp::MaxBlockSize(data.size()));
        block.resize(COComp::Encode(data, block, version, 2));
        size_t exact = 0, truncatedDecoded = 0;
        forEachDamage(block, [&](const Bytes& damaged) {
            const uint32_t length = COComp::UncompressedLength(damaged);
            Bytes out(length);
            const uint32_t decoded = COComp::Decode(damaged, out, true);
            ASSERT_TRUE(decoded == 0 || decoded == length);
            if (!decoded) return;
            if (out == data) ++exact;
            if (damaged.size() < block.size()) {
                ++truncatedDecoded;
                EXPECT_EQ(out, data) << "cut to " << damaged.size();
            }
            if (version == 3 && damaged.back() == block.back()) {
                uint8_t x = 0;
                for (uint8_t b : out) x ^= b;
                EXPECT_EQ(x, xorOfData);
            }
        });
        EXPECT_LE(truncatedDecoded, 3u) << version; // the end marker 01 00 00, byte by byte
        EXPECT_GT(exact, 0u) << version;
    }
}

} // namespace
} // namespace zib::ulvarf
