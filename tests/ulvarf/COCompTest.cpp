// COComp blocks: the worked vectors, every token form, damaged blocks and
// streams, the encoder's output bound, and round trips.

#include "ulvarf/COComp.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/PlainChainEncoder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::midiLikeBytes;
using zib::test::periodicBytes;
using zib::test::randomBytes;

Bytes bytesOf(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes encode(const Bytes& input, int version, int level)
{
    Bytes block(COComp::MaxBlockSize(input.size()));
    const uint32_t length = COComp::Encode(input, block, version, level);
    block.resize(length);
    return block;
}

Bytes decode(const Bytes& block, bool check = true)
{
    Bytes out(COComp::UncompressedLength(block));
    out.resize(COComp::Decode(block, out, check));
    return out;
}

Bytes header(char version, char level, uint32_t length)
{
    return {'O', 'C', uint8_t(version), uint8_t(level), uint8_t(length), uint8_t(length >> 8),
            uint8_t(length >> 16), uint8_t(length >> 24)};
}

uint8_t xorOf(const Bytes& data)
{
    uint8_t x = 0;
    for (uint8_t b : data) x ^= b;
    return x;
}

TEST(COComp, SeventeenDistinctLettersAreOneLiteralRun)
{
    const Bytes letters = bytesOf("ABCDEFGHIJKLMNOPQ");
    Bytes expected = header('3', '0', 17);
    expected.push_back(0x0F);
    expected.insert(expected.end(), letters.begin(), letters.end());
    expected.insert(expected.end(), {0x01, 0x00, 0x00, xorOf(letters)});
    EXPECT_EQ(encode(letters, 3, 0), expected);
    EXPECT_EQ(decode(expected), letters);
}

TEST(COComp, OneToThreeLiteralsWithNoMatchBeforeThemUseTheCountedRun)
{
    // A run of 1-3 written as t = n - 2 would read as another token.
    for (int level = 0; level <= 2; ++level) {
        for (size_t n = 1; n <= 3; ++n) {
            const Bytes input = bytesOf(std::string("xyz").substr(0, n));
            Bytes expected = header('3', char('0' + level), uint32_t(n));
            expected.insert(expected.end(), {0x01, 0x00, uint8_t(n)});
            expected.insert(expected.end(), input.begin(), input.end());
            expected.insert(expected.end(), {0x01, 0x00, 0x00, xorOf(input)});
            EXPECT_EQ(encode(input, 3, level), expected) << "level " << level << " n " << n;
            EXPECT_EQ(decode(expected), input);
        }
    }
    // Two literals before the first match of a longer input.
    const Bytes alternating = periodicBytes(40, {'a', 'b'});
    for (int level = 0; level <= 2; ++level) {
        Bytes expected = header('3', char('0' + level), 40);
        expected.insert(expected.end(), {0x01, 0x00, 0x02, 'a', 'b'});   // the two literals
        expected.insert(expected.end(), {0x20, 0x04, 0x00, 0x04});       // 38 bytes back 2
        expected.insert(expected.end(), {0x01, 0x00, 0x00, 0x00});
        EXPECT_EQ(encode(alternating, 3, level), expected) << "level " << level;
    }
}

TEST(COComp, EqualBytesEncodeToAHandfulAndDecodeThroughOverlappingCopies)
{
    const Bytes same(4096, 0x5A);
    for (int level = 0; level <= 2; ++level) {
        const Bytes block = encode(same, 3, level);
        EXPECT_LE(block.size(), 24u) << level;
        EXPECT_EQ(decode(block), same);
    }
}

TEST(COComp, DecodesEveryTokenForm)
{
    const Bytes twenty = randomBytes(20, 5);
    Bytes zeroForm = {0x00, 0x02};
    zeroForm.insert(zeroForm.end(), twenty.begin(), twenty.end());

    struct Case {
        const char* name;
        Bytes stream;
        Bytes output;
    };
    const Case cases[] = {
        {"literal t+2", {0x02, 'a', 'b', 'c', 'd'}, bytesOf("abcd")},
        {"literal next+18", zeroForm, twenty},
        {"literal counted", {0x01, 0x00, 0x03, 'x', 'y', 'z'}, bytesOf("xyz")},
        {"short match", {0x02, 'a', 'b', 'c', 'd', 0x60, 0x0C}, bytesOf("abcdabcd")},
        {"short match, 2 literals", {0x02, 'a', 'b', 'c', 'd', 0x60, 0x0E, 'X', 'Y'}, bytesOf("abcdabcdXY")},
        {"short match, period 1", {0x02, 'a', 'b', 'c', 'd', 0xE0, 0x00}, bytesOf("abcddddddddd")},
        {"match t&31+2", {0x02, 'a', 'b', 'c', 'd', 0x23, 0x00, 0x0C}, bytesOf("abcdabcda")},
        {"match next+34", {0x02, 'a', 'b', 'c', 'd', 0x20, 0x06, 0x00, 0x0D, '!'},
         bytesOf("abcd" + std::string("abcdabcdabcdabcdabcdabcdabcdabcdabcdabcd") + "!")},
        {"match counted", {0x01, 0x00, 0x01, 'z', 0x21, 0x01, 0x2C, 0x00, 0x00}, Bytes(301, 'z')},
        {"end marker last", {0x02, 'a', 'b', 'c', 'd', 0x01, 0x00, 0x00}, bytesOf("abcd")},
        {"empty stream", {}, {}},
    };
    for (const Case& c : cases) {
        Bytes out(c.output.size() + 8);
        const int64_t produced = COComp::DecodeRaw(c.stream, out);
        ASSERT_EQ(produced, int64_t(c.output.size())) << c.name;
        out.resize(size_t(produced));
        EXPECT_EQ(out, c.output) << c.name;
    }
}

TEST(COComp, DecodesFarMatchesUpToTheLongestDistance)
{
    struct Case {
        size_t prefix;  // literal bytes before the match
        Bytes token;
        size_t length;
        size_t distance;
    };
    const Case cases[] = {
        {16385, {0x12, 0x00, 0x00}, 4, 16385},              // (t&7)+2
        {16390, {0x10, 0x05, 0x00, 0x14}, 15, 16390},       // next + 10
        {20000, {0x11, 0x01, 0x00, 0x38, 0x7C}, 256, 20000}, // counted
        {32769, {0x1A, 0x00, 0x00}, 4, 32769},              // bit 3
        {49152, {0x1F, 0xFF, 0xFC}, 9, 49152},              // the longest distance
    };
    for (const Case& c : cases) {
        const Bytes prefix = randomBytes(c.prefix, uint32_t(c.prefix));
        Bytes stream = {0x01, uint8_t(c.prefix >> 8), uint8_t(c.prefix & 0xFF)};
        stream.insert(stream.end(), prefix.begin(), prefix.end());
        stream.insert(stream.end(), c.token.begin(), c.token.end());
        Bytes out(c.prefix + c.length);
        ASSERT_EQ(COComp::DecodeRaw(stream, out), int64_t(out.size())) << c.distance;
        for (size_t i = 0; i < c.length; ++i)
            ASSERT_EQ(out[c.prefix + i], out[c.prefix + i - c.distance]) << c.distance << " at " << i;
    }
}

TEST(COComp, DamagedStreamsFailWithoutReadingOrWritingOutside)
{
    struct Case {
        const char* name;
        Bytes stream;
        size_t capacity;
        int64_t result;
    };
    const Case cases[] = {
        {"literal run cut", {0x02, 'a'}, 64, COComp::kCorrupt},
        {"run length missing", {0x00}, 64, COComp::kCorrupt},
        {"counted run cut", {0x01, 0x00}, 64, COComp::kCorrupt},
        {"short match cut", {0x02, 'a', 'b', 'c', 'd', 0x60}, 64, COComp::kCorrupt},
        {"match cut", {0x02, 'a', 'b', 'c', 'd', 0x23, 0x00}, 64, COComp::kCorrupt},
        {"match length cut", {0x02, 'a', 'b', 'c', 'd', 0x21, 0x01}, 64, COComp::kCorrupt},
        {"far match cut", {0x02, 'a', 'b', 'c', 'd', 0x10}, 64, COComp::kCorrupt},
        {"riding literals cut", {0x02, 'a', 'b', 'c', 'd', 0x60, 0x0E, 'X'}, 64, COComp::kCorrupt},
        {"distance past the output", {0x02, 'a', 'b', 'c', 'd', 0x60, 0x10}, 64, COComp::kCorrupt},
        {"match before any output", {0x60, 0x00}, 64, COComp::kCorrupt},
        {"far match before its distance", {0x02, 'a', 'b', 'c', 'd', 0x12, 0x00, 0x00}, 64, COComp::kCorrupt},
        {"end marker not last", {0x02, 'a', 'b', 'c', 'd', 0x01, 0x00, 0x00, 0x02, 'a', 'b', 'c', 'd'}, 64,
         COComp::kCorrupt},
        {"literals past the output", {0x02, 'a', 'b', 'c', 'd'}, 3, COComp::kOverflow},
        {"match past the output", {0x02, 'a', 'b', 'c', 'd', 0x60, 0x0C}, 6, COComp::kOverflow},
        {"riding literals past the output", {0x02, 'a', 'b', 'c', 'd', 0x60, 0x0E, 'X', 'Y'}, 9, COComp::kOverflow},
        {"long match past the output", {0x01, 0x00, 0x01, 'z', 0x21, 0xFF, 0xFF, 0x00, 0x00}, 1000, COComp::kOverflow},
    };
    for (const Case& c : cases) {
        Bytes out(c.capacity + 4, 0xEE);
        EXPECT_EQ(COComp::DecodeRaw(c.stream, std::span(out).first(c.capacity)), c.result) << c.name;
        for (size_t i = c.capacity; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << c.name;
    }
}

TEST(COComp, RejectsBlocksThatAreNotValid)
{
    const Bytes data = bytesOf("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const Bytes good = encode(data, 3, 2);
    auto with = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    Bytes huge = good;
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    Bytes beyondStream = good; // claims more than its 31 stream bytes could make
    const uint32_t claim = 31 * 13107 + 1;
    for (int i = 0; i < 4; ++i) beyondStream[4 + size_t(i)] = uint8_t(claim >> (8 * i));

    struct Case {
        const char* name;
        Bytes block;
    };
    const Case cases[] = {
        {"14 bytes", Bytes(good.begin(), good.begin() + 14)},
        {"version 4", with(2, '4')},
        {"version 1", with(2, '1')},
        {"level 3", with(3, '3')},
        {"no OC", with(0, 'X')},
        {"huge length", huge},
        {"length no stream can reach", beyondStream},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(COComp::ParseHeader(c.block).valid) << c.name;
        EXPECT_EQ(COComp::UncompressedLength(c.block), 0u) << c.name;
        Bytes out(64);
        EXPECT_EQ(COComp::Decode(c.block, out, true), 0u) << c.name;
    }
    EXPECT_EQ(decode(good), data);

    // A length the stream does not produce exactly.
    Bytes shorter = good;
    shorter[4] = uint8_t(data.size() + 1);
    Bytes out(64);
    EXPECT_EQ(COComp::Decode(shorter, out, true), 0u);
    shorter[4] = uint8_t(data.size() - 1);
    EXPECT_EQ(COComp::Decode(shorter, out, true), 0u);
}

TEST(COComp, TheCheckByteIsVerifiedOnlyWhenAskedFor)
{
    const Bytes data = midiLikeBytes(3000);
    Bytes block = encode(data, 3, 2);
    block.back() ^= 0x40;
    Bytes out(data.size());
    EXPECT_EQ(COComp::Decode(block, out, true), 0u);
    EXPECT_EQ(COComp::Decode(block, out, false), data.size());
    EXPECT_EQ(out, data);
}

// Bytes in which no three bytes come twice: a counter's two bytes in turn.
Bytes countingBytes(size_t n, uint16_t from)
{
    Bytes out;
    for (uint16_t c = from; out.size() < n; ++c) {
        out.push_back(uint8_t(c >> 8));
        out.push_back(uint8_t(c));
    }
    out.resize(n);
    return out;
}

size_t occurrences(const Bytes& block, const Bytes& piece)
{
    size_t count = 0;
    for (size_t i = 0; i + piece.size() <= block.size(); ++i)
        count += std::equal(piece.begin(), piece.end(), block.begin() + ptrdiff_t(i));
    return count;
}

TEST(COComp, ACandidateFurtherBackThan2048BytesNeedsFourBytes)
{
    // F0 F1 F2 x ... F0 F1 F2 y at the given distance, nothing else repeated:
    // the second one is a match, or its three bytes stay literals.
    const Bytes marker = {0xF0, 0xF1, 0xF2};
    const struct {
        size_t distance;
        bool fourth; // the byte after the marker agrees too
        bool taken;
    } cases[] = {
        {2048, false, true},
        {2049, false, false},
        {2049, true, true},
        {16000, false, false},
        {16000, true, true},
    };
    for (const auto& c : cases) {
        for (size_t tail : {size_t(100), size_t(40000)}) { // short and long blocks
            Bytes input = marker;
            input.push_back(0x33);
            const Bytes between = countingBytes(c.distance - 4, 0x4000);
            input.insert(input.end(), between.begin(), between.end());
            input.insert(input.end(), marker.begin(), marker.end());
            input.push_back(c.fourth ? 0x33 : 0x55);
            const Bytes after = countingBytes(tail, 0x7000);
            input.insert(input.end(), after.begin(), after.end());
            for (int level = 0; level <= 2; ++level) {
                const Bytes block = encode(input, 3, level);
                EXPECT_EQ(occurrences(block, marker), c.taken ? 1u : 2u)
                    << c.distance << (c.fourth ? " four" : " three") << " tail " << tail << " l" << level;
                EXPECT_EQ(decode(block), input);
            }
        }
    }
}

TEST(COComp, OnlyTheNearest2000CandidatesOfASlotAreSearched)
{
    // A piece and a tail, about 2000 fillers that start like the piece, other
    // bytes, then the piece and the tail again: that is one match while fewer
    // than 2000 positions of its slot lie between, more tokens beyond. The
    // sweep crosses that border (a few other positions of the data fall into
    // the slot as well). Copies of the piece with another byte after it make
    // a block long enough for the search to leave its tiers; a run of the
    // three-byte start makes a short one, searched in the tiers, whose
    // positions are entered as repeats.
    const Bytes piece = {'X', 'Y', 'Z', 0xFF, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9};
    const Bytes tail = {'Q', 0x70, 0x71, 0x72, 0x73, 0x74, 0x75};
    Bytes pieceAndR = piece;
    pieceAndR.push_back('R');
    for (const Bytes& filler : {pieceAndR, Bytes{'X', 'Y', 'Z'}}) {
        std::vector<size_t> sizes;
        for (size_t copies = 1990; copies <= 2010; ++copies) {
            Bytes input = piece;
            input.insert(input.end(), tail.begin(), tail.end());
            for (size_t i = 0; i < copies; ++i) input.insert(input.end(), filler.begin(), filler.end());
            input.insert(input.end(), {0x30, 0x31, 0x32, 0x33}); // ends the match over the fillers
            input.insert(input.end(), piece.begin(), piece.end());
            input.insert(input.end(), tail.begin(), tail.end());
            input.insert(input.end(), 20, 0x11);
            const Bytes block = encode(input, 3, 2);
            ASSERT_EQ(block, zib::test::encodeWithPlainChains(input)) << copies << " of " << filler.size();
            EXPECT_EQ(decode(block), input) << copies;
            sizes.push_back(block.size());
        }
        EXPECT_LT(sizes.front(), sizes.back()) << filler.size();
    }
}

TEST(COComp, TheEncoderStaysInsideTheRoomItIsGiven)
{
    // n + n/4 bytes is too little for short inputs: the block has 12 fixed bytes.
    for (size_t n = 0; n <= 80; ++n) {
        const Bytes input = randomBytes(n, uint32_t(n + 1));
        const size_t room = n + n / 4;
        Bytes out(room + 16, 0xEE);
        const uint32_t length = COComp::Encode(input, std::span(out).first(room), 3, 2);
        EXPECT_LE(length, room) << n;
        if (n <= 40) {
            EXPECT_EQ(length, 0u) << n;
        }
        for (size_t i = room; i < out.size(); ++i) ASSERT_EQ(out[i], 0xEE) << n;

        const Bytes block = encode(input, 3, 2);
        ASSERT_FALSE(block.empty()) << n;
        EXPECT_EQ(decode(block), input) << n;
    }
}

TEST(COComp, UnknownVersionOrLevelEncodesNothing)
{
    const Bytes input = randomBytes(100);
    Bytes out(COComp::MaxBlockSize(100));
    for (auto [version, level] : {std::pair{1, 0}, {4, 0}, {3, 3}, {2, -1}})
        EXPECT_EQ(COComp::Encode(input, out, version, level), 0u) << version << "/" << level;
}

TEST(COComp, RoundTripsEveryVersionAndLevel)
{
    Bytes farRepeat = randomBytes(40000, 11); // a repeat 40000 bytes back needs far matches
    farRepeat.insert(farRepeat.end(), farRepeat.begin(), farRepeat.begin() + 20000);
    struct Case {
        const char* name;
        Bytes data;
        size_t maxBlock; // 0: no bound checked
    };
    const Case cases[] = {
        {"empty", {}, 0},
        {"1 byte", {0x42}, 0},
        {"17 bytes", bytesOf("0123456789ABCDEFG"), 0},
        {"18 bytes", bytesOf("0123456789ABCDEFGH"), 0},
        {"incompressible", randomBytes(70000, 3), 0},
        {"all-zero 1 MB", Bytes(1 << 20, 0), 200},
        {"period 3", periodicBytes(300000, {1, 2, 3}), 200},
        {"MIDI-like", midiLikeBytes(200000), 100000},
        {"far repeat", farRepeat, 0},
    };
    for (const Case& c : cases) {
        for (int version = 2; version <= 3; ++version) {
            for (int level = 0; level <= 2; ++level) {
                const Bytes block = encode(c.data, version, level);
                ASSERT_FALSE(block.empty()) << c.name << " v" << version << " l" << level;
                EXPECT_EQ(block[2], '0' + version);
                EXPECT_EQ(block[3], '0' + level);
                EXPECT_EQ(decode(block), c.data) << c.name << " v" << version << " l" << level;
                if (c.maxBlock) {
                    EXPECT_LE(block.size(), c.maxBlock) << c.name << " v" << version << " l" << level;
                }
            }
        }
    }
    EXPECT_LT(encode(farRepeat, 3, 2).size(), 40100u);
}

// The blocks the encoder writes for a set of inputs, as the FNV-1a hash of
// each block and its length. The encoder's match search may become faster;
// the bytes it writes must not change.
uint64_t fnv1a(const Bytes& bytes)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint8_t b : bytes) h = (h ^ b) * 0x100000001b3ull;
    return h;
}

Bytes encoderSample(int which)
{
    switch (which) {
    case 0:
        return midiLikeBytes(200000, 7);
    case 1:
        return midiLikeBytes(120000, 9);
    case 2:
        return randomBytes(70000, 3);
    case 3: {
        Bytes far = randomBytes(40000, 11);
        far.insert(far.end(), far.begin(), far.begin() + 30000);
        return far;
    }
    case 4: {
        // Pieces of every kind one after the other, longer than the link ring.
        Bytes mixed = midiLikeBytes(50000, 5);
        const Bytes random = randomBytes(20000, 8);
        mixed.insert(mixed.end(), random.begin(), random.end());
        const Bytes period = periodicBytes(30000, {0x90, 0x3C, 0x64, 0x80});
        mixed.insert(mixed.end(), period.begin(), period.end());
        const Bytes again = midiLikeBytes(60000, 5);
        mixed.insert(mixed.end(), again.begin(), again.end());
        return mixed;
    }
    case 5: {
        // Mostly zero with a byte here and there: long chains of short matches.
        Bytes sparse(150000, 0);
        zib::test::SampleRandom random(21);
        for (int i = 0; i < 3000; ++i) sparse[random.below(uint32_t(sparse.size()))] = uint8_t(random.next());
        return sparse;
    }
    case 7: {
        // Pattern data and incompressible data in turns, long enough for the
        // search to change its ways several times.
        Bytes turns;
        for (uint32_t round = 0; round < 6; ++round) {
            const Bytes pattern = midiLikeBytes(40000, 30 + round);
            const Bytes noise = randomBytes(30000, 40 + round);
            turns.insert(turns.end(), pattern.begin(), pattern.end());
            turns.insert(turns.end(), noise.begin(), noise.end());
        }
        return turns;
    }
    case 8: {
        // Pattern data around a run longer than the hashed stretch, then the
        // first pattern again from beyond the window.
        Bytes gap = midiLikeBytes(100000, 50);
        gap.insert(gap.end(), 120000, 0x00);
        const Bytes again = midiLikeBytes(100000, 50);
        gap.insert(gap.end(), again.begin(), again.end());
        return gap;
    }
    default:
        return Bytes(300000, 0x55); // one match longer than the hashed stretch
    }
}

TEST(COComp, TheEncoderWritesTheSameBlocksAsAlways)
{
    const struct {
        int sample;
        int level;
        size_t length;
        uint64_t hash;
    } expected[] = {
        {0, 0, 50026, 0x68b49bdeb285696full},
        {0, 1, 43023, 0xe8f5fe84101bc924ull},
        {0, 2, 40872, 0x7b9fbeb7f2ca5a32ull},
        {1, 0, 27398, 0x06d0f7efe7eae86cull},
        {1, 1, 23526, 0xc8f61582e00877aaull},
        {1, 2, 22394, 0xf76c65cb9fa2516cull},
        {2, 0, 70023, 0xbbc11f66a41ae69bull},
        {2, 1, 70023, 0x753893b217645766ull},
        {2, 2, 70025, 0xf9005de18623beafull},
        {3, 0, 40030, 0x9174b243d725c961ull},
        {3, 1, 40033, 0xb9a683498b4e1beaull},
        {3, 2, 40030, 0xc0c0fe0ea2321855ull},
        {4, 0, 45474, 0x9963898d4805fef3ull},
        {4, 1, 41855, 0x68c3e1a4a6dcdb2bull},
        {4, 2, 40971, 0x99060bb7bfb5b32cull},
        {5, 0, 14672, 0xa9eb43cb19e22b00ull},
        {5, 1, 12620, 0xbf87f83b82492e98ull},
        {5, 2, 11136, 0x6cf614e33025f5bfull},
        {6, 0, 41, 0xb7c8b22e5c1f18a2ull},
        {6, 1, 41, 0x36b493f81202fe5full},
        {6, 2, 41, 0xe3415eec11923578ull},
        {7, 0, 240419, 0x3b96cfedc058485bull},
        {7, 1, 232062, 0xd806b3ddc527f80aull},
        {7, 2, 229381, 0xba031982866191c9ull},
        {8, 0, 47721, 0xb2b9c0a9bcfba090ull},
        {8, 1, 41043, 0x86001af8389f347bull},
        {8, 2, 39003, 0x642340e86c3d3d56ull},
    };
    for (const auto& e : expected) {
        const Bytes block = encode(encoderSample(e.sample), 3, e.level);
        EXPECT_EQ(block.size(), e.length) << e.sample << " l" << e.level;
        EXPECT_EQ(fnv1a(block), e.hash) << e.sample << " l" << e.level;
    }
}

// Pieces of many kinds one after the other: pattern data, noise, short
// periods, runs, and copies of earlier pieces from near and from about the
// window's length back.
Bytes patchwork(uint32_t seed, size_t size)
{
    zib::test::SampleRandom random(seed);
    Bytes out;
    while (out.size() < size) {
        const size_t length = 500 + random.below(12000);
        switch (random.below(6)) {
        case 0: {
            const Bytes piece = midiLikeBytes(length, random.next());
            out.insert(out.end(), piece.begin(), piece.end());
            break;
        }
        case 1: {
            const Bytes piece = randomBytes(length, random.next());
            out.insert(out.end(), piece.begin(), piece.end());
            break;
        }
        case 2: {
            Bytes period(1 + random.below(40));
            for (auto& b : period) b = uint8_t(random.next());
            for (size_t i = 0; i < length; ++i) out.push_back(period[i % period.size()]);
            break;
        }
        case 3:
            out.insert(out.end(), length, uint8_t(random.below(3)));
            break;
        default: {
            if (out.size() < 1000) break;
            const size_t back = random.below(2) ? 1 + random.below(uint32_t(std::min<size_t>(out.size(), 3000)))
                                                : std::min<size_t>(out.size(), 49140 + random.below(20));
            const size_t from = out.size() - back;
            for (size_t i = 0; i < length; ++i) out.push_back(out[from + i % back]);
            if (random.below(2) && !out.empty()) out.back() ^= 0x5A; // ends one byte early
            break;
        }
        }
    }
    out.resize(size);
    return out;
}

// Periods of 1 to 40 bytes repeated for a while, runs longer than the
// longest match, and pieces of period data copied from far back: the
// search copies the entries of short repeats instead of hashing them, and
// changes its ways on long blocks.
Bytes periodsAndRuns(uint32_t seed)
{
    zib::test::SampleRandom random(seed);
    Bytes out = midiLikeBytes(3000, seed);
    for (size_t period = 1; period <= 40; period += 1 + random.below(3)) {
        Bytes unit(period);
        for (auto& b : unit) b = uint8_t(random.below(4)); // few values: hash slots shared by phases
        const size_t length = 20 + random.below(period <= 4 ? 70000 : 3000);
        for (size_t i = 0; i < length; ++i) out.push_back(unit[i % period]);
        const Bytes between = midiLikeBytes(50 + random.below(500), random.next());
        out.insert(out.end(), between.begin(), between.end());
    }
    return out;
}

TEST(COComp, TheSearchWritesWhatThePlainChainsWrite)
{
    struct Case {
        std::string name;
        Bytes data;
    };
    std::vector<Case> cases;
    for (uint32_t seed = 1; seed <= 6; ++seed)
        cases.push_back({"patchwork " + std::to_string(seed), patchwork(seed, 150000 + 30000 * seed)});
    for (uint32_t seed = 1; seed <= 3; ++seed)
        cases.push_back({"periods and runs " + std::to_string(seed), periodsAndRuns(seed)});
    // Around the block length from which the search keeps marks.
    for (size_t n : {32768, 32769, 40000})
        cases.push_back({"pattern data of " + std::to_string(n), midiLikeBytes(n, uint32_t(n))});
    cases.push_back({"incompressible", randomBytes(200000, 17)});
    {
        // In noise, a repeat of 16 bytes from the first stretch of 48 KB into
        // the second, and pieces of it found from the third, which sees only
        // the second stretch's marks (the phases searched are not those near
        // the repeat's end).
        Bytes repeatAcross = randomBytes(110000, 23);
        const Bytes unit = randomBytes(16, 29);
        for (size_t i = 40000; i < 89000; ++i) repeatAcross[i] = unit[i % 16];
        for (size_t at : {100000, 103000, 106000})
            for (size_t i = 0; i < 24; ++i) repeatAcross[at + i] = unit[(i + 8) % 16];
        cases.push_back({"repeat across stretches", repeatAcross});
    }
    for (const Case& c : cases) {
        const Bytes block = encode(c.data, 3, 2);
        ASSERT_FALSE(block.empty()) << c.name;
        EXPECT_EQ(block, zib::test::encodeWithPlainChains(c.data)) << c.name;
        EXPECT_EQ(decode(block), c.data) << c.name;
    }
}

TEST(COComp, RealFilesEncodeAsWithThePlainChains)
{
    size_t files = 0;
    for (const char* folder : {"psr-styles", "midi", "ins"}) {
        for (const auto& path : zib::test::realFixtureFiles(folder)) {
            const Bytes data = zib::test::readFileBytes(path);
            EXPECT_EQ(encode(data, 3, 2), zib::test::encodeWithPlainChains(data)) << path;
            ++files;
        }
    }
    if (files == 0) GTEST_SKIP() << "no real files";
}

} // namespace
} // namespace zib::ulvarf
