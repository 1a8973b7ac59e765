// The DASF container: reading, writing, the index operations, damaged images
// and the one-resource containers that the program's converters write.

#include "ulvarf/CResourceFile.h"

#include "ulvarf/CChunkNav.h"
#include "ulvarf/CResourceInstance.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"

#include "platform/ByteCursor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::ChunkBuilder;
using zib::test::DasfResource;
using zib::test::dasfImage;

const Bytes kEmptyImage = {
    0x01, 0x00, 0x01, 0x14, 0x00, 0x00, 0x00, 0x34, // top, 52 bytes
    0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C, // root info
    0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 'D', 'A', 'S', 'F', 0x00,
    0x05, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, // empty index
    0xFE, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x10, // directory
    'D', 'B', 'E', 'G', 0x00, 0x00, 0x00, 0x1C, 'D', 'E', 'N', 'D', 0x00, 0x00, 0x00, 0x01,
};

Bytes imageOf(const CResourceFile& file)
{
    Bytes image(file.OutBufferSize() + 16, 0xEE);
    EXPECT_TRUE(file.FillOutBuffer(image));
    for (size_t i = file.OutBufferSize(); i < image.size(); ++i) EXPECT_EQ(image[i], 0xEE) << "written past the size";
    image.resize(file.OutBufferSize());
    return image;
}

// The chunk's bytes with its payload decompressed.
Bytes plainChunk(const CChunkNav& chunk)
{
    CChunkNav plain(chunk, 0);
    EXPECT_TRUE(plain.Decompress(true));
    return Bytes(plain.Image().begin(), plain.Image().end());
}

Bytes leafChunk(uint8_t id, const Bytes& payload, uint8_t flags = 0x18)
{
    return ChunkBuilder().leaf(id, 0, 0, flags, payload).bytes();
}

std::vector<DasfResource> sampleResources()
{
    const Bytes styleChunk = zib::test::sampleQeStyleChunk();
    return {
        {"Style One", 2, 3, 4, 0, 0, 0, ChunkBuilder().open(0x06, 0, 0, 0x10).raw(styleChunk).close().bytes()},
        {"Sts Data", 7, 17, 0, 1, 2, 0x55, leafChunk(0x07, zib::test::midiLikeBytes(4000))},
        {"tiny", 4, 0, 0, 0, 0, 0, leafChunk(0x04, {1, 2, 3})},
    };
}

TEST(CResourceFile, AnEmptyContainerIsSixtyBytes)
{
    for (const Bytes& input : {Bytes{}, Bytes(28, 0)}) {
        auto file = CResourceFile::FromImage(input);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->count(), 0u);
        EXPECT_EQ(file->OutBufferSize(), 60u);
        EXPECT_EQ(imageOf(*file), kEmptyImage);
    }
    EXPECT_EQ(imageOf(CResourceFile()), kEmptyImage);
    // It reads back as itself.
    auto again = CResourceFile::FromImage(kEmptyImage);
    ASSERT_TRUE(again);
    EXPECT_EQ(imageOf(*again), kEmptyImage);
}

TEST(CResourceFile, RoundTripsEntriesAndPayloadsWithTheDirectoryRight)
{
    const auto resources = sampleResources();
    auto file = CResourceFile::FromImage(dasfImage(resources));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->count(), resources.size());
    for (size_t i = 0; i < resources.size(); ++i) {
        EXPECT_EQ(file->entry(i), zib::test::dasfIndexEntry(resources[i])) << i;
        EXPECT_EQ(plainChunk(*file->resourceChunk(i)), resources[i].chunk) << i;
    }
    // Compressed where that helps, plain where it does not.
    EXPECT_TRUE(file->resourceChunk(1)->flags() & kChunkCompressed);
    EXPECT_FALSE(file->resourceChunk(2)->flags() & kChunkCompressed);

    const Bytes image = imageOf(*file);
    // Byte for byte the layout of a container image around the stored chunks.
    auto stored = resources;
    for (size_t i = 0; i < stored.size(); ++i) {
        const auto chunk = file->resourceChunk(i)->Image();
        stored[i].chunk.assign(chunk.begin(), chunk.end());
    }
    EXPECT_EQ(image, dasfImage(stored));
    uint64_t expectedSize = 60 + 28 * resources.size();
    for (size_t i = 0; i < resources.size(); ++i) expectedSize += file->resourceChunk(i)->usedLength();
    EXPECT_EQ(image.size(), expectedSize);

    // The directory names the index and every resource chunk.
    zib::ByteCursor top(image);
    top.seek(4);
    EXPECT_EQ(top.u32be(), image.size() - 8);
    const size_t directory = image.size() - (8 + 4 * resources.size() + 16);
    zib::ByteCursor dir(image);
    dir.seek(directory);
    EXPECT_EQ(dir.u32be(), 0xFE000018u);
    EXPECT_EQ(dir.u32be(), 4 * resources.size() + 16);
    EXPECT_TRUE(dir.match("DBEG"));
    EXPECT_EQ(dir.u32be(), 28u);
    for (size_t i = 0; i < resources.size(); ++i) {
        const uint32_t offset = dir.u32be();
        const auto chunk = file->resourceChunk(i)->Image();
        EXPECT_TRUE(std::equal(chunk.begin(), chunk.end(), image.begin() + offset)) << i;
    }
    EXPECT_TRUE(dir.match("DEND"));
    EXPECT_EQ(dir.u32be(), resources.size() + 1);

    auto again = CResourceFile::FromImage(image);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->count(), resources.size());
    for (size_t i = 0; i < resources.size(); ++i) {
        EXPECT_EQ(again->entry(i), file->entry(i));
        EXPECT_EQ(plainChunk(*again->resourceChunk(i)), resources[i].chunk);
    }
    EXPECT_EQ(imageOf(*again), image);
}

TEST(CResourceFile, AcceptsTheOtherTopChunkAndWritesItBackInTheUsualForm)
{
    auto file = CResourceFile::FromImage(dasfImage(sampleResources(), 0));
    ASSERT_TRUE(file);
    const Bytes image = imageOf(*file);
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 4), (Bytes{0x01, 0x00, 0x01, 0x14}));
}

TEST(CResourceFile, RefusesImagesWithOtherSignatures)
{
    const Bytes good = dasfImage(sampleResources());
    auto with = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    for (const auto& [name, image] : std::vector<std::pair<std::string, Bytes>>{
             {"top id", with(0, 0x02)},
             {"top id2", with(2, 0x02)},
             {"top flags", with(3, 0x10)},
             {"root head", with(11, 0x08)},
             {"DASF", with(26, 'G')},
             {"NUL after DASF", with(27, 'x')},
         })
        EXPECT_FALSE(CResourceFile::FromImage(image)) << name;
}

TEST(CResourceFile, RefusesImagesWhoseChunksRunPastTheirRoom)
{
    const Bytes good = dasfImage(sampleResources());
    auto setSize = [](Bytes b, size_t head, uint32_t size) {
        b[head + 4] = uint8_t(size >> 24);
        b[head + 5] = uint8_t(size >> 16);
        b[head + 6] = uint8_t(size >> 8);
        b[head + 7] = uint8_t(size);
        return b;
    };
    const size_t firstResource = 36 + 24 * 3;
    Bytes trailing = good;
    trailing.insert(trailing.end() - 0, {1, 2, 3});
    trailing = setSize(trailing, 0, uint32_t(trailing.size() - 8)); // 3 stray bytes inside the top chunk

    for (const auto& [name, image] : std::vector<std::pair<std::string, Bytes>>{
             {"top larger than the image", setSize(good, 0, uint32_t(good.size() - 7))},
             {"image cut short", Bytes(good.begin(), good.end() - 1)},
             {"index past the image", setSize(good, 28, 100000)},
             {"resource past the top chunk", setSize(good, firstResource, 1000000)},
             {"stray bytes in the top chunk", trailing},
             // "ASF" NUL is the head of an empty chunk after a root info of 8 bytes.
             {"root info of 8 bytes", ChunkBuilder().open(0x01, 0, 1, 0x14)
                                          .leaf(0x02, 0, 0, 0x18, {11, 0, 0, 0, 0, 0, 0, 'D'})
                                          .raw({'A', 'S', 'F', 0, 0, 0, 0, 0})
                                          .leaf(0x05, 0, 0, 0x18, {}).close().bytes()},
             {"no index", ChunkBuilder().open(0x01, 0, 1, 0x14)
                              .leaf(0x02, 0, 0, 0x18, {11, 0, 0, 0, 0, 0, 0, 'D', 'A', 'S', 'F', 0}).close()
                              .raw({0}).bytes()},
         })
        EXPECT_FALSE(CResourceFile::FromImage(image)) << name;

    // Trailing bytes after the top chunk are not part of the image.
    Bytes longer = good;
    longer.resize(good.size() + 10, 0x77);
    EXPECT_TRUE(CResourceFile::FromImage(longer));
}

TEST(CResourceFile, CutsTheIndexToTheResourceChunksPresent)
{
    auto resources = sampleResources();
    // The index lists four entries; the image holds three chunks.
    Bytes image = dasfImage(resources);
    {
        auto extra = resources;
        extra.push_back({"missing", 4, 0, 0, 0, 0, 0, {}});
        Bytes index;
        for (const auto& r : extra) {
            auto e = zib::test::dasfIndexEntry(r);
            index.insert(index.end(), e.begin(), e.end());
        }
        ChunkBuilder b;
        b.open(0x01, 0, 1, 0x14).leaf(0x02, 0, 0, 0x18, {11, 0, 0, 0, 0, 0, 0, 'D', 'A', 'S', 'F', 0});
        b.leaf(0x05, 0, 0, 0x18, index);
        for (const auto& r : resources) b.raw(r.chunk);
        b.leaf(0xFE, 0, 0, 0x18, {'D', 'B', 'E', 'G'});
        image = b.close().bytes();
    }
    auto file = CResourceFile::FromImage(image);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->count(), 3u);
    EXPECT_TRUE(file->ExtractResource(2));
    EXPECT_FALSE(file->ExtractResource(3));
    auto again = CResourceFile::FromImage(imageOf(*file));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->count(), 3u);
    EXPECT_EQ(plainChunk(*again->resourceChunk(2)), resources[2].chunk);

}

TEST(CResourceFile, ReadsBackOldFormResourceChunks)
{
    // An old-form chunk is a resource too when a container holds it: the
    // written image must read back whole.
    auto resources = sampleResources();
    resources[0].chunk = leafChunk(0x04, {1, 2, 3, 4}, 0x08);
    resources[1].chunk = ChunkBuilder().open(0x07, 0, 0, 0x00).leaf(0x01, 0, 0, 0x08, {5}).close().bytes();
    auto file = CResourceFile::FromImage(dasfImage(resources));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->count(), 3u);
    auto again = CResourceFile::FromImage(imageOf(*file));
    ASSERT_TRUE(again);
    ASSERT_EQ(again->count(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Bytes(again->resourceChunk(i)->Image().begin(), again->resourceChunk(i)->Image().end()),
                  resources[i].chunk);
}

TEST(CResourceFile, AnFeChunkEndsTheResourceListWhereverItStands)
{
    auto resources = sampleResources();
    resources[1].chunk = leafChunk(0xFE, {1, 2, 3, 4}, 0x18);
    auto file = CResourceFile::FromImage(dasfImage(resources));
    ASSERT_TRUE(file);
    ASSERT_EQ(file->count(), 1u);
    EXPECT_EQ(plainChunk(*file->resourceChunk(0)), resources[0].chunk);

    // So no container takes such a chunk in: it could not be read back.
    auto fe = CResourceInstance::FromSerialised(zib::test::serialisedResInstance(4, 0, 0, 0, resources[1].chunk));
    ASSERT_TRUE(fe);
    EXPECT_EQ(file->InsertResource(-1, *fe), -1);
    EXPECT_EQ(file->count(), 1u);
}

TEST(CResourceFile, ReadsAtMost2000Entries)
{
    std::vector<DasfResource> many(2001);
    for (size_t i = 0; i < many.size(); ++i) {
        many[i].name = "R" + std::to_string(i);
        many[i].chunk = leafChunk(0x04, {uint8_t(i), uint8_t(i >> 8)});
    }
    auto file = CResourceFile::FromImage(dasfImage(many));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->count(), 2000u);
    char name[18];
    int type, user1, user2;
    ASSERT_TRUE(file->EnumIndex(1999, name, &type, &user1, &user2));
    EXPECT_STREQ(name, "R1999");
    EXPECT_EQ(imageOf(*file).size(), file->OutBufferSize());

    // A full index refuses an append.
    auto instance = file->ExtractResource(0);
    ASSERT_TRUE(instance);
    EXPECT_EQ(file->InsertResource(-1, *instance), -1);
    EXPECT_EQ(file->InsertResource(7, *instance), 7); // replacing still works
}

TEST(CResourceFile, EnumeratesAndModifiesIndexEntries)
{
    auto resources = sampleResources();
    resources[0].name = "ABCDEFGHIJKLMNOPQR"; // 18 characters, as the converters write
    resources[0].user2 = 9;
    auto file = CResourceFile::FromImage(dasfImage(resources));
    ASSERT_TRUE(file);

    char name[18];
    std::memset(name, 'x', sizeof name);
    int type = -5, user1 = -5, user2 = -5;
    ASSERT_TRUE(file->EnumIndex(0, name, &type, &user1, &user2));
    EXPECT_STREQ(name, "ABCDEFGHIJKLMNOPQ");
    EXPECT_EQ(type, 2);
    EXPECT_EQ(user1, 3);
    EXPECT_EQ(user2, 9);
    EXPECT_FALSE(file->EnumIndex(-1, name, &type, &user1, &user2));
    EXPECT_FALSE(file->EnumIndex(3, name, &type, &user1, &user2));

    // A null name and a negative user value keep their fields.
    const auto before = file->entry(0);
    ASSERT_TRUE(file->ModifyIndex(0, nullptr, -1, 0));
    auto after = file->entry(0);
    EXPECT_EQ(after[20], 0);
    after[20] = before[20];
    EXPECT_EQ(after, before);

    ASSERT_TRUE(file->ModifyIndex(1, "A name longer than seventeen", 300, -7));
    ASSERT_TRUE(file->EnumIndex(1, name, &type, &user1, &user2));
    EXPECT_STREQ(name, "A name longer tha");
    EXPECT_EQ(file->entry(1)[17], 0);
    EXPECT_EQ(user1, 300 & 0xFF);
    EXPECT_EQ(user2, 0);
    EXPECT_EQ(file->entry(1)[23], 0x55); // the reserved byte is carried
    ASSERT_TRUE(file->ModifyIndex(1, "Ab", -1, -1));
    EXPECT_EQ(file->entry(1)[3], 0); // the rest of the old name is cleared
    EXPECT_FALSE(file->ModifyIndex(3, "x", 0, 0));
}

TEST(CResourceFile, InsertsAppendsReplacesAndDeletesResources)
{
    const auto resources = sampleResources();
    auto file = CResourceFile::FromImage(dasfImage(resources));
    ASSERT_TRUE(file);

    auto style = file->ExtractResource(0);
    ASSERT_TRUE(style);
    EXPECT_EQ(style->type(), 2);
    EXPECT_EQ(style->flagByte(), 0);
    auto sts = file->ExtractResource(1);
    ASSERT_TRUE(sts);
    EXPECT_EQ(sts->id1(), 1);
    EXPECT_EQ(sts->id2(), 2);
    EXPECT_FALSE(file->ExtractResource(-1));
    EXPECT_FALSE(file->ExtractResource(3));

    // Outside the index: appended as a new entry.
    EXPECT_EQ(file->InsertResource(5, *sts), 3);
    char name[18];
    int type, user1, user2;
    ASSERT_TRUE(file->EnumIndex(3, name, &type, &user1, &user2));
    EXPECT_STREQ(name, "newRes");
    EXPECT_EQ(type, 7);
    EXPECT_EQ(user1, 0);
    EXPECT_EQ(file->entry(3)[21], 1);

    // Inside: only an instance of the entry's type replaces it.
    const auto entry1 = file->entry(1);
    EXPECT_EQ(file->InsertResource(1, *style), -1);
    EXPECT_EQ(file->entry(1), entry1);
    EXPECT_EQ(file->InsertResource(0, *style), 0);

    // Deleting moves the later entries down.
    ASSERT_TRUE(file->DeleteResource(1));
    EXPECT_EQ(file->count(), 3u);
    EXPECT_EQ(file->entry(1)[18], 4);
    EXPECT_FALSE(file->DeleteResource(3));
    auto again = CResourceFile::FromImage(imageOf(*file));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->count(), 3u);
    EXPECT_EQ(plainChunk(*again->resourceChunk(2)), resources[1].chunk);
}

TEST(CResourceFile, OpensTheOneResourceContainersTheConvertersWrite)
{
    const Bytes styleChunk = zib::test::sampleQeStyleChunk();
    struct Case {
        const char* name;
        Bytes image;
        const char* entryName;
        int user1;
        Bytes resourceChunk;
    };
    const Case cases[] = {
        {"PSR conversion", zib::test::psrStyleImage("Mix_Pop_Rock", styleChunk), "Mix_Pop_Rock", 0,
         ChunkBuilder().open(0x06, 0, 1, 0x10).raw(styleChunk).close().bytes()},
        {"MIDI-to-Qe converter", zib::test::qeConverterStyleImage("My_Style_Name_1234", styleChunk),
         "My_Style_Name_123", 17, ChunkBuilder().open(0x06, 0, 0, 0x10).raw(styleChunk).close().bytes()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.image.size(), 96 + styleChunk.size()) << c.name;
        auto file = CResourceFile::FromImage(c.image);
        ASSERT_TRUE(file) << c.name;
        ASSERT_EQ(file->count(), 1u) << c.name;
        char name[18];
        int type, user1, user2;
        ASSERT_TRUE(file->EnumIndex(0, name, &type, &user1, &user2));
        EXPECT_STREQ(name, c.entryName) << c.name;
        EXPECT_EQ(type, 2);
        EXPECT_EQ(user1, c.user1);
        EXPECT_EQ(user2, 0);

        // Written back with the resource compressed, it decompresses to the original.
        const Bytes written = imageOf(*file);
        EXPECT_LT(written.size(), c.image.size()) << c.name;
        // Head and index as they were (but the top size) and the same directory tail.
        ASSERT_GT(written.size(), 96u);
        EXPECT_TRUE(std::equal(written.begin(), written.begin() + 4, c.image.begin())) << c.name;
        EXPECT_TRUE(std::equal(written.begin() + 8, written.begin() + 63, c.image.begin() + 8)) << c.name;
        const Bytes tail = {0xFE, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x14, 'D',  'B',  'E',  'G',  0x00, 0x00,
                            0x00, 0x1C, 0x00, 0x00, 0x00, 0x3C, 'D',  'E',  'N',  'D',  0x00, 0x00, 0x00, 0x02};
        EXPECT_EQ(Bytes(written.end() - 28, written.end()), tail) << c.name;
        EXPECT_EQ(Bytes(c.image.end() - 28, c.image.end()), tail) << c.name;
        CChunkNav nav = CChunkNav::ReadOnly(written);
        ASSERT_TRUE(nav.Enter());
        ASSERT_TRUE(nav.Next());
        ASSERT_TRUE(nav.Next());
        EXPECT_EQ(nav.id(), 0x06);
        EXPECT_EQ(nav.flags(), 0x30) << c.name;
        EXPECT_EQ(plainChunk(nav), c.resourceChunk) << c.name;
    }
}

} // namespace
} // namespace zib::ulvarf
