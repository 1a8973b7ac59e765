// Resource instances: the serialised form, its checks, and the decompressed
// form of type-7 resources.

#include "ulvarf/CResourceInstance.h"

#include "ulvarf/COComp.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::ChunkBuilder;
using zib::test::serialisedResInstance;

Bytes serialised(const CResourceInstance& instance, uint64_t size)
{
    Bytes out(size + 8, 0xEE);
    EXPECT_TRUE(instance.PutSerialised(std::span(out).first(size)));
    EXPECT_EQ(out[size], 0xEE);
    out.resize(size);
    return out;
}

const Bytes kStsChunk = ChunkBuilder().leaf(0x07, 0, 0, 0x18, zib::test::midiLikeBytes(3000)).bytes();

TEST(CResourceInstance, RoundTripsItsSerialisedFormStoredCompressed)
{
    const Bytes input = serialisedResInstance(7, 1, 2, 0x5A, kStsChunk);
    auto instance = CResourceInstance::FromSerialised(input);
    ASSERT_TRUE(instance);
    EXPECT_TRUE(instance->IsValid());
    EXPECT_EQ(instance->type(), 7);
    EXPECT_EQ(instance->id1(), 1);
    EXPECT_EQ(instance->id2(), 2);
    EXPECT_EQ(instance->flagByte(), 0x5A);
    EXPECT_EQ(instance->chunk().flags(), 0x38);
    EXPECT_LT(instance->SerialisedSize(), input.size());

    const Bytes out = serialised(*instance, instance->SerialisedSize());
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{7, 1, 2, 0x5A}));
    auto again = CResourceInstance::FromSerialised(out);
    ASSERT_TRUE(again);
    EXPECT_EQ(serialised(*again, again->SerialisedSize()), out); // already compressed: kept as it is

    Bytes small(instance->SerialisedSize() - 1);
    EXPECT_FALSE(instance->PutSerialised(small));
}

TEST(CResourceInstance, ATinyChunkStaysPlain)
{
    const Bytes chunk = ChunkBuilder().leaf(0x04, 0, 0, 0x18, {1, 2, 3, 4}).bytes();
    auto instance = CResourceInstance::FromSerialised(serialisedResInstance(4, 0, 0, 0, chunk));
    ASSERT_TRUE(instance);
    EXPECT_EQ(instance->chunk().flags(), 0x18);
    EXPECT_EQ(serialised(*instance, instance->SerialisedSize()), serialisedResInstance(4, 0, 0, 0, chunk));
}

TEST(CResourceInstance, RefusesALengthWordThatDisagrees)
{
    const Bytes chunk = ChunkBuilder().leaf(0x04, 0, 0, 0x18, {1, 2, 3, 4}).bytes(); // 12 bytes
    auto withLength = [&](uint32_t length) {
        Bytes b = serialisedResInstance(4, 0, 0, 0, chunk);
        b[4] = uint8_t(length);
        b[5] = uint8_t(length >> 8);
        b[6] = uint8_t(length >> 16);
        b[7] = uint8_t(length >> 24);
        return b;
    };
    const Bytes good = serialisedResInstance(4, 0, 0, 0, chunk);
    struct Case {
        const char* name;
        Bytes data;
    };
    const Case cases[] = {
        {"shorter than 16 bytes", Bytes(good.begin(), good.begin() + 15)},
        {"length below 8", withLength(7)},
        {"length one more than the chunk", [&] {
             Bytes b = withLength(13);
             b.push_back(0);
             return b;
         }()},
        {"length one less than the chunk", withLength(11)},
        {"length past the data", withLength(0xFFFFFFF0)},
        {"chunk cut short", Bytes(good.begin(), good.end() - 1)},
    };
    for (const Case& c : cases) EXPECT_FALSE(CResourceInstance::FromSerialised(c.data)) << c.name;
    EXPECT_TRUE(CResourceInstance::FromSerialised(good));
    Bytes longer = good;
    longer.push_back(0x99); // bytes after the chunk are not part of it
    EXPECT_TRUE(CResourceInstance::FromSerialised(longer));
}

TEST(CResourceInstance, TypeSevenIsAlsoWrittenDecompressed)
{
    auto sts = CResourceInstance::FromSerialised(serialisedResInstance(7, 0, 0, 0, kStsChunk));
    ASSERT_TRUE(sts);
    EXPECT_EQ(sts->SerialisedSizeUnComp(), 8 + kStsChunk.size());
    EXPECT_GT(sts->SerialisedSizeUnComp(), sts->SerialisedSize());
    Bytes out(sts->SerialisedSizeUnComp());
    ASSERT_TRUE(sts->PutSerialisedUnComp(out));
    EXPECT_EQ(out, serialisedResInstance(7, 0, 0, 0, kStsChunk));
    Bytes small(out.size() - 1);
    EXPECT_FALSE(sts->PutSerialisedUnComp(small));

    // Any other type is written as stored by both.
    auto style = CResourceInstance::FromSerialised(serialisedResInstance(2, 0, 0, 0, kStsChunk));
    ASSERT_TRUE(style);
    EXPECT_EQ(style->SerialisedSizeUnComp(), style->SerialisedSize());
    Bytes plain(style->SerialisedSize()), unComp(style->SerialisedSize());
    ASSERT_TRUE(style->PutSerialised(plain));
    ASSERT_TRUE(style->PutSerialisedUnComp(unComp));
    EXPECT_EQ(plain, unComp);
}

TEST(CResourceInstance, ADamagedTypeSevenBlockIsNeverWrittenAsDecompressed)
{
    // A chunk that says it is compressed, with a block too damaged to tell its length.
    const Bytes garbage = ChunkBuilder().leaf(0x07, 0, 0, 0x38, zib::test::randomBytes(40)).bytes();
    auto broken = CResourceInstance::FromSerialised(serialisedResInstance(7, 0, 0, 0, garbage));
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->SerialisedSizeUnComp(), broken->SerialisedSize());
    Bytes out(broken->SerialisedSizeUnComp() + 100);
    EXPECT_FALSE(broken->PutSerialisedUnComp(out));

    // A sound length but a wrong check byte.
    auto sts = CResourceInstance::FromSerialised(serialisedResInstance(7, 0, 0, 0, kStsChunk));
    Bytes stored(sts->SerialisedSize());
    ASSERT_TRUE(sts->PutSerialised(stored));
    stored.back() ^= 0x01;
    auto badCheck = CResourceInstance::FromSerialised(stored);
    ASSERT_TRUE(badCheck);
    EXPECT_EQ(badCheck->SerialisedSizeUnComp(), 8 + kStsChunk.size());
    Bytes big(badCheck->SerialisedSizeUnComp());
    EXPECT_FALSE(badCheck->PutSerialisedUnComp(big));
}

} // namespace
} // namespace zib::ulvarf
