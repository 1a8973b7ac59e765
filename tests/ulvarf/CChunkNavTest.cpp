// The chunk cursor: walking, searching and editing chunk trees, the checks
// that keep it inside damaged trees and small buffers, and compression.

#include "ulvarf/CChunkNav.h"
#include "ulvarf/COComp.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::ChunkBuilder;

// top 01 (container)
//   A 0A leaf [1 2 3]
//   B 0B container
//     B1 0C leaf [4]
//     B2 0D empty container
//     B3 0E leaf [5 6]
//   C 0F new-form leaf [7]
struct SampleTree {
    Bytes bytes;
    size_t a, b, b1, b2, b3, c;
};

SampleTree sampleTree()
{
    SampleTree t;
    ChunkBuilder builder;
    builder.open(0x01, 0, 0, 0x00);
    t.a = builder.offset();
    builder.leaf(0x0A, 0, 0, 0x08, {1, 2, 3});
    t.b = builder.offset();
    builder.open(0x0B, 0, 0, 0x00);
    t.b1 = builder.offset();
    builder.leaf(0x0C, 0, 0, 0x08, {4});
    t.b2 = builder.offset();
    builder.open(0x0D, 0, 0, 0x00).close();
    t.b3 = builder.offset();
    builder.leaf(0x0E, 0, 0, 0x08, {5, 6});
    builder.close();
    t.c = builder.offset();
    builder.leaf(0x0F, 0, 0, 0x18, {7});
    builder.close();
    t.bytes = builder.bytes();
    return t;
}

uint32_t sizeAt(const Bytes& bytes, size_t head)
{
    return uint32_t(bytes[head + 4]) << 24 | uint32_t(bytes[head + 5]) << 16 | uint32_t(bytes[head + 6]) << 8
         | bytes[head + 7];
}

Bytes payloadOf(const CChunkNav& nav)
{
    auto p = nav.Payload();
    return Bytes(p.begin(), p.end());
}

TEST(CChunkNav, WalksTheTreeAndStaysPutWhenAStepFails)
{
    SampleTree t = sampleTree();
    CChunkNav nav(t.bytes);
    ASSERT_TRUE(nav.valid());
    EXPECT_EQ(nav.usedLength(), t.bytes.size());

    enum class Op { Enter, Next, Up, Top };
    struct Step {
        Op op;
        bool ok;
        uint8_t id; // current id afterwards
        int depth;
    };
    const Step steps[] = {
        {Op::Enter, true, 0x0A, 1},  {Op::Enter, false, 0x0A, 1}, // a leaf
        {Op::Next, true, 0x0B, 1},   {Op::Enter, true, 0x0C, 2},  {Op::Next, true, 0x0D, 2},
        {Op::Enter, false, 0x0D, 2}, // an empty container
        {Op::Next, true, 0x0E, 2},   {Op::Next, false, 0x0E, 2},  // the last child
        {Op::Up, true, 0x0B, 1},     {Op::Next, true, 0x0F, 1},   {Op::Next, false, 0x0F, 1},
        {Op::Up, true, 0x01, 0},     {Op::Up, false, 0x01, 0},    {Op::Next, false, 0x01, 0},
        {Op::Enter, true, 0x0A, 1},  {Op::Top, true, 0x01, 0},
    };
    int i = 0;
    for (const Step& s : steps) {
        NavResult r;
        switch (s.op) {
        case Op::Enter: r = nav.Enter(); break;
        case Op::Next: r = nav.Next(); break;
        case Op::Up: r = nav.Up(); break;
        case Op::Top: r = nav.Top(); break;
        }
        EXPECT_EQ(r.ok, s.ok) << "step " << i;
        EXPECT_EQ(r.id, s.ok ? s.id : 0) << "step " << i;
        EXPECT_EQ(nav.id(), s.id) << "step " << i;
        EXPECT_EQ(nav.depth(), s.depth) << "step " << i;
        ++i;
    }
}

TEST(CChunkNav, EnterAndNextTakeOnlyTheWantedChunk)
{
    SampleTree t = sampleTree();
    CChunkNav nav(t.bytes);
    EXPECT_FALSE(nav.Enter({WantId(0x0B)}));
    EXPECT_FALSE(nav.Enter({0, FlagWanted::Any, FlagWanted::Clear})); // A is a leaf
    EXPECT_FALSE(nav.Enter({0, FlagWanted::Set}));                    // A is old-form
    EXPECT_EQ(nav.depth(), 0);
    EXPECT_TRUE(nav.Enter({WantId(0x0A), FlagWanted::Clear, FlagWanted::Set}));
    EXPECT_FALSE(nav.Next({WantId(0x0C)}));
    EXPECT_EQ(nav.id(), 0x0A);
    EXPECT_TRUE(nav.Next({0x0C, FlagWanted::Any, FlagWanted::Clear})); // ids below 256 accept any id
    EXPECT_TRUE(nav.Next({WantId(0x0F), FlagWanted::Set, FlagWanted::Set}));

    // A compressed container is not entered.
    Bytes packed = ChunkBuilder().open(0x01, 0, 0, 0x20).leaf(0x02, 0, 0, 0x08, {1}).close().bytes();
    CChunkNav compressed(packed);
    EXPECT_FALSE(compressed.Enter());
}

TEST(CChunkNav, SearchWalksInDocumentOrderWithinItsDepths)
{
    SampleTree t = sampleTree();
    CChunkNav nav(t.bytes);

    // Exact depth 1 from the top visits only the top chunk's children.
    std::vector<uint8_t> seen;
    while (NavResult r = nav.Search({}, 0, 1)) seen.push_back(r.id);
    EXPECT_EQ(seen, (std::vector<uint8_t>{0x0A, 0x0B, 0x0F}));
    EXPECT_EQ(nav.id(), 0x0F); // a failed search leaves the cursor where it was

    nav.Top();
    seen.clear();
    while (NavResult r = nav.Search({}, 0, 0)) seen.push_back(r.id);
    EXPECT_EQ(seen, (std::vector<uint8_t>{0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}));

    nav.Top();
    NavResult found = nav.Search({WantId(0x0E), FlagWanted::Any, FlagWanted::Set}, 0, 0);
    EXPECT_TRUE(found);
    EXPECT_EQ(nav.headerOffset(), t.b3);
    EXPECT_EQ(nav.depth(), 2);
    EXPECT_FALSE(nav.Search({WantId(0x0E)}, 0, 0)); // only one

    // The floor depth keeps the search inside B.
    ASSERT_TRUE(nav.GoToHeader(t.b1, 0));
    EXPECT_FALSE(nav.Search({WantId(0x0F)}, 1, 0));
    EXPECT_EQ(nav.headerOffset(), t.b1);
    EXPECT_TRUE(nav.Search({WantId(0x0F)}, 0, 0));
}

TEST(CChunkNav, GoToHeaderClimbsAndSearchesForward)
{
    SampleTree t = sampleTree();
    CChunkNav nav(t.bytes);
    EXPECT_TRUE(nav.GoToHeader(t.b3, 2));
    EXPECT_EQ(nav.id(), 0x0E);
    EXPECT_TRUE(nav.GoToHeader(t.a, 0));
    EXPECT_EQ(nav.id(), 0x0A);
    EXPECT_FALSE(nav.GoToHeader(t.b3, 1)); // B3 is at depth 2
    EXPECT_FALSE(nav.GoToHeader(t.b1 + 2, 0)); // not a head
    EXPECT_EQ(nav.id(), 0x0A);
}

TEST(CChunkNav, ResizeKeepsEveryAncestorAndTheBytesBehindRight)
{
    SampleTree t = sampleTree();
    CChunkNav nav = CChunkNav::Owning(t.bytes);
    ASSERT_TRUE(nav.GoToHeader(t.b1, 2));
    ASSERT_TRUE(nav.Resize(5));
    auto image = nav.Image();
    Bytes grown(image.begin(), image.end());
    EXPECT_EQ(grown.size(), t.bytes.size() + 4);
    EXPECT_EQ(sizeAt(grown, 0), sizeAt(t.bytes, 0) + 4);
    EXPECT_EQ(sizeAt(grown, t.b), sizeAt(t.bytes, t.b) + 4);
    EXPECT_EQ(payloadOf(nav), (Bytes{4, 0, 0, 0, 0}));
    // Everything after B1 moved by 4 bytes unchanged.
    EXPECT_TRUE(std::equal(t.bytes.begin() + t.b2, t.bytes.end(), grown.begin() + t.b2 + 4));

    ASSERT_TRUE(nav.Resize(0));
    EXPECT_EQ(sizeAt(Bytes(nav.Image().begin(), nav.Image().end()), t.b), sizeAt(t.bytes, t.b) - 1);
    EXPECT_TRUE(nav.Next());
    EXPECT_EQ(nav.id(), 0x0D);
}

TEST(CChunkNav, ACallersBufferIsNeverWrittenPastItsEnd)
{
    SampleTree t = sampleTree();
    Bytes buffer = t.bytes;
    buffer.resize(t.bytes.size() + 4, 0xEE);
    Bytes guard = buffer;
    guard.resize(buffer.size() + 8, 0xEE); // the caller's buffer is the first part only
    const std::span<uint8_t> region = std::span(guard).first(buffer.size());
    CChunkNav nav(region);
    ASSERT_TRUE(nav.GoToHeader(t.b1, 2));
    EXPECT_EQ(nav.freeRoom(), 4u);

    EXPECT_FALSE(nav.Resize(6));                                  // 5 more bytes
    EXPECT_FALSE(nav.InsertSibling({0x10, 0, 0, false, true, 0})); // 8 more bytes
    ASSERT_TRUE(nav.Up());
    EXPECT_FALSE(nav.AddFirstChild({0x10, 0, 0, false, false, 0}));
    EXPECT_FALSE(nav.AddFirstChildCopy(nav));
    ASSERT_TRUE(nav.Enter());
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.end(), guard.begin())); // nothing moved
    EXPECT_TRUE(nav.Resize(5));                                   // exactly the room left
    EXPECT_EQ(nav.freeRoom(), 0u);
    for (size_t i = buffer.size(); i < guard.size(); ++i) EXPECT_EQ(guard[i], 0xEE);

    // A cursor that owns its buffer grows it instead.
    CChunkNav owned = CChunkNav::Owning(t.bytes);
    ASSERT_TRUE(owned.GoToHeader(t.b1, 2));
    EXPECT_TRUE(owned.Resize(100000));
    EXPECT_EQ(owned.usedLength(), t.bytes.size() + 99999);
}

TEST(CChunkNav, DeleteMovesToTheNextSiblingOrUpToTheParent)
{
    SampleTree t = sampleTree();
    CChunkNav nav = CChunkNav::Owning(t.bytes);
    EXPECT_FALSE(nav.DeleteCurrent()); // the top chunk has no parent

    ASSERT_TRUE(nav.GoToHeader(t.b3, 2));
    NavResult r = nav.DeleteCurrent(); // the last child
    EXPECT_TRUE(r);
    EXPECT_EQ(r.id, 0x0B);
    EXPECT_EQ(nav.depth(), 1);
    EXPECT_EQ(nav.PayloadSize(), sizeAt(t.bytes, t.b) - 10);
    EXPECT_EQ(nav.usedLength(), t.bytes.size() - 10);

    ASSERT_TRUE(nav.GoToHeader(t.b1, 2));
    r = nav.DeleteCurrent();
    EXPECT_EQ(r.id, 0x0D); // B2 now sits where B1 was
    EXPECT_EQ(nav.headerOffset(), t.b1);
    r = nav.DeleteCurrent();
    EXPECT_EQ(r.id, 0x0B);
    EXPECT_EQ(nav.PayloadSize(), 0u);
    EXPECT_TRUE(nav.Next()); // C follows, unchanged
    EXPECT_EQ(payloadOf(nav), Bytes{7});
}

TEST(CChunkNav, AddFirstChildOpensRoomAtTheStartOfThePayload)
{
    SampleTree t = sampleTree();
    CChunkNav nav = CChunkNav::Owning(t.bytes);

    // An empty container.
    ASSERT_TRUE(nav.GoToHeader(t.b2, 2));
    NavResult r = nav.AddFirstChild({0x11, 0, 0, true, true, 3});
    EXPECT_TRUE(r);
    EXPECT_EQ(r.id, 0x11);
    EXPECT_EQ(nav.depth(), 3);
    EXPECT_EQ(nav.flags(), 0x18);
    EXPECT_EQ(payloadOf(nav), (Bytes{0, 0, 0}));
    nav.Up();
    EXPECT_EQ(nav.PayloadSize(), 11u);
    nav.Up();
    EXPECT_EQ(nav.PayloadSize(), sizeAt(t.bytes, t.b) + 11);

    // A container with children: they stay whole behind the new one, and a
    // container child adds 8 bytes whatever size it is given.
    const uint32_t before = nav.PayloadSize();
    r = nav.AddFirstChild({0x12, 0, 0, false, false, 50});
    EXPECT_TRUE(r);
    EXPECT_EQ(nav.PayloadSize(), 0u);
    EXPECT_EQ(nav.flags(), 0x00);
    ASSERT_TRUE(nav.Next());
    EXPECT_EQ(nav.id(), 0x0C);
    EXPECT_EQ(payloadOf(nav), Bytes{4});
    nav.Up();
    EXPECT_EQ(nav.PayloadSize(), before + 8);

    // Not into a leaf.
    ASSERT_TRUE(nav.GoToHeader(t.a, 1));
    EXPECT_FALSE(nav.AddFirstChild({0x13, 0, 0, false, true, 1}));
    EXPECT_EQ(nav.id(), 0x0A);
}

TEST(CChunkNav, InsertsSiblingsAfterTheCurrentChunk)
{
    SampleTree t = sampleTree();
    CChunkNav nav = CChunkNav::Owning(t.bytes);
    EXPECT_FALSE(nav.InsertSibling({0x10, 0, 0, false, true, 1})); // the top chunk has no parent

    ASSERT_TRUE(nav.GoToHeader(t.b1, 2));
    NavResult r = nav.InsertSibling({0x13, 0, 0, false, true, 2});
    EXPECT_EQ(r.id, 0x13);
    EXPECT_EQ(nav.PayloadSize(), 2u);
    EXPECT_TRUE(nav.Next());
    EXPECT_EQ(nav.id(), 0x0D);

    ASSERT_TRUE(nav.Search({WantId(0x0E)}, 0, 0));
    r = nav.InsertSiblingLikeCurrent(4);
    EXPECT_EQ(r.id, 0x0E);
    EXPECT_EQ(nav.flags(), 0x08);
    EXPECT_EQ(nav.PayloadSize(), 4u);

    // A copy of a chunk of the same buffer, taken before the room opens.
    CChunkNav source = CChunkNav::ReadOnly(t.bytes);
    ASSERT_TRUE(source.GoToHeader(t.c, 1));
    nav.Top();
    nav.Enter();
    r = nav.InsertSiblingCopy(source);
    EXPECT_EQ(r.id, 0x0F);
    EXPECT_EQ(payloadOf(nav), Bytes{7});
    EXPECT_EQ(nav.usedLength(), t.bytes.size() + 10 + 12 + 9);
    ASSERT_TRUE(nav.Next());
    EXPECT_EQ(nav.id(), 0x0B);
    ASSERT_TRUE(nav.AddFirstChildCopy(nav)); // B copied into itself
    EXPECT_EQ(nav.id(), 0x0B);
    EXPECT_EQ(nav.depth(), 2);
}

TEST(CChunkNav, NewChunksAreWrittenByteForByte)
{
    // From an empty top chunk: a new-form leaf as its first child, an
    // old-form container after it, then a sibling like that container.
    CChunkNav nav = CChunkNav::Owning(zib::test::chunkHead(0x01, 0, 0, 0x00, 0));
    ASSERT_TRUE(nav.AddFirstChild({0x11, 0x22, 0x33, true, true, 3}));
    ASSERT_TRUE(nav.InsertSibling({0x44, 0x55, 0x66, false, false, 9}));
    // Zero bytes would not be children: the container sibling starts empty too.
    ASSERT_TRUE(nav.InsertSiblingLikeCurrent(5));
    EXPECT_EQ(nav.PayloadSize(), 0u);
    const Bytes expected = {
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1B, // top, 27 bytes
        0x11, 0x22, 0x33, 0x18, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
        0x44, 0x55, 0x66, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x44, 0x55, 0x66, 0x00, 0x00, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(Bytes(nav.Image().begin(), nav.Image().end()), expected);

    // A leaf sibling like the current one gets the size asked for.
    nav.Top();
    ASSERT_TRUE(nav.Enter());
    ASSERT_TRUE(nav.InsertSiblingLikeCurrent(0x0102));
    EXPECT_EQ(Bytes(nav.Chunk().begin(), nav.Chunk().begin() + 8),
              (Bytes{0x11, 0x22, 0x33, 0x18, 0x00, 0x00, 0x01, 0x02}));
    EXPECT_EQ(nav.usedLength(), expected.size() + 8 + 0x0102);
}

TEST(CChunkNav, CopiesAChunkAsTheTopOfANewBuffer)
{
    SampleTree t = sampleTree();
    CChunkNav nav = CChunkNav::ReadOnly(t.bytes);
    ASSERT_TRUE(nav.GoToHeader(t.b, 1));

    CChunkNav copy(nav, 16);
    EXPECT_TRUE(copy.ownsBuffer());
    EXPECT_EQ(copy.id(), 0x0B);
    EXPECT_EQ(copy.depth(), 0);
    EXPECT_EQ(copy.freeRoom(), 16u);
    EXPECT_TRUE(copy.Enter());
    EXPECT_EQ(copy.id(), 0x0C);

    Bytes small(20);
    EXPECT_FALSE(CChunkNav(nav, small).valid());
    Bytes exact(8 + sizeAt(t.bytes, t.b));
    CChunkNav into(nav, exact);
    EXPECT_TRUE(into.valid());
    EXPECT_EQ(exact[0], 0x0B);
    EXPECT_EQ(into.freeRoom(), 0u);

    // A read-only cursor walks but never writes.
    EXPECT_FALSE(nav.Resize(1));
    EXPECT_FALSE(nav.SetFlags(0));
    EXPECT_TRUE(nav.Payload().size() > 0); // the const view
    EXPECT_FALSE(nav.Compress(3, 2));
}

TEST(CChunkNav, DamagedTreesEndTheWalkInsideTheBuffer)
{
    struct Case {
        const char* name;
        Bytes bytes;
        bool valid;
        bool enters;
    };
    const Case cases[] = {
        {"child larger than its parent",
         ChunkBuilder().raw(zib::test::chunkHead(0x01, 0, 0, 0, 12)).raw(zib::test::chunkHead(0x02, 0, 0, 8, 100))
             .raw({0, 0, 0, 0}).bytes(),
         true, false},
        {"parent of 5 bytes", ChunkBuilder().raw(zib::test::chunkHead(0x01, 0, 0, 0, 5)).raw({1, 2, 3, 4, 5}).bytes(),
         true, false},
        {"top larger than the buffer", ChunkBuilder().raw(zib::test::chunkHead(0x01, 0, 0, 0, 9)).raw({1}).bytes(),
         false, false},
        {"buffer shorter than a head", Bytes{0x01, 0, 0, 0}, false, false},
        {"sound tree", ChunkBuilder().open(0x01, 0, 0, 0).leaf(0x02, 0, 0, 8, {1}).close().bytes(), true, true},
    };
    for (const Case& c : cases) {
        CChunkNav nav = CChunkNav::ReadOnly(c.bytes);
        EXPECT_EQ(nav.valid(), c.valid) << c.name;
        EXPECT_EQ(bool(nav.Enter()), c.enters) << c.name;
        EXPECT_FALSE(nav.Search({WantId(0x77)}, 0, 0)) << c.name;
    }

    // A sibling that runs past its parent is not reached.
    Bytes pastParent = ChunkBuilder()
                           .raw(zib::test::chunkHead(0x01, 0, 0, 0, 9 + 8))
                           .leaf(0x02, 0, 0, 8, {1})
                           .raw(zib::test::chunkHead(0x03, 0, 0, 8, 40))
                           .bytes();
    pastParent.resize(pastParent.size() + 40); // the bytes are there, but outside the parent
    CChunkNav nav = CChunkNav::ReadOnly(pastParent);
    ASSERT_TRUE(nav.Enter());
    EXPECT_FALSE(nav.Next());
    EXPECT_EQ(nav.id(), 0x02);
}

// top 01: L (a leaf of compressible data), M [9 9 9]
struct PackedTree {
    Bytes data;
    Bytes bytes;
};

PackedTree packedTree(const Bytes& data)
{
    PackedTree t;
    t.data = data;
    t.bytes = ChunkBuilder().open(0x01, 0, 0, 0x10).leaf(0x21, 0, 0, 0x18, data).leaf(0x22, 0, 0, 0x08, {9, 9, 9})
                  .close().bytes();
    return t;
}

TEST(CChunkNav, CompressAndDecompressRoundTripInPlace)
{
    PackedTree t = packedTree(zib::test::midiLikeBytes(5000));
    CChunkNav nav = CChunkNav::Owning(t.bytes);
    ASSERT_TRUE(nav.Enter());
    ASSERT_TRUE(nav.Compress(3, 2));
    EXPECT_EQ(nav.flags(), 0x38);
    const uint32_t packed = nav.PayloadSize();
    EXPECT_LT(packed, 5000u);
    EXPECT_EQ(COComp::UncompressedLength(nav.Payload()), 5000u);
    EXPECT_EQ(nav.usedLength(), t.bytes.size() - (5000 - packed));
    EXPECT_TRUE(nav.Compress(3, 2)); // already compressed: no change
    EXPECT_EQ(nav.PayloadSize(), packed);
    ASSERT_TRUE(nav.Next());
    EXPECT_EQ(payloadOf(nav), (Bytes{9, 9, 9}));

    nav.Top();
    nav.Enter();
    ASSERT_TRUE(nav.Decompress(true));
    EXPECT_EQ(nav.flags(), 0x18);
    EXPECT_TRUE(nav.Decompress(true)); // plain already: no change
    EXPECT_EQ(Bytes(nav.Image().begin(), nav.Image().end()), t.bytes);
}

TEST(CChunkNav, APayloadThatDoesNotShrinkStaysPlain)
{
    for (const Bytes& data : {Bytes{}, Bytes{1, 2, 3, 4, 5}, zib::test::randomBytes(16), zib::test::randomBytes(2000)}) {
        PackedTree t = packedTree(data);
        CChunkNav nav = CChunkNav::Owning(t.bytes);
        ASSERT_TRUE(nav.Enter());
        EXPECT_FALSE(nav.Compress(3, 2)) << data.size();
        EXPECT_EQ(Bytes(nav.Image().begin(), nav.Image().end()), t.bytes) << data.size();
    }
}

TEST(CChunkNav, ADamagedBlockIsLeftAsItWas)
{
    PackedTree t = packedTree(zib::test::periodicBytes(3000, {1, 2, 3, 4, 5, 6, 7}));
    CChunkNav source = CChunkNav::Owning(t.bytes);
    ASSERT_TRUE(source.Enter());
    ASSERT_TRUE(source.Compress(3, 2));
    const Bytes packed(source.Image().begin(), source.Image().end());
    const size_t blockAt = 16; // payload of L

    auto attempt = [&](Bytes image, bool check) {
        CChunkNav nav = CChunkNav::Owning(std::move(image));
        nav.Enter();
        const Bytes before(nav.Image().begin(), nav.Image().end());
        const bool ok = nav.Decompress(check);
        if (!ok) {
            EXPECT_EQ(Bytes(nav.Image().begin(), nav.Image().end()), before);
        }
        return ok;
    };
    Bytes badCheck = packed;
    badCheck[blockAt + sizeAt(packed, 8) - 1] ^= 1;
    EXPECT_FALSE(attempt(badCheck, true));
    EXPECT_TRUE(attempt(badCheck, false));

    Bytes hugeLength = packed;
    hugeLength[blockAt + 7] = 0x7F; // claims about 2 GB
    EXPECT_FALSE(attempt(hugeLength, true));

    Bytes badVersion = packed;
    badVersion[blockAt + 2] = '9';
    EXPECT_FALSE(attempt(badVersion, true));

    // No room in a caller's buffer for the data.
    Bytes fixed = packed;
    CChunkNav nav{std::span<uint8_t>(fixed)};
    ASSERT_TRUE(nav.Enter());
    EXPECT_FALSE(nav.Decompress(true));
    EXPECT_EQ(fixed, packed);
}

} // namespace
} // namespace zib::ulvarf
