// The built libulvarf.so: its export table and the container family called
// through it, as the program binds it.

#include "ulvarf/ulvarf.h"
#include "tests/support/BuildPaths.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/QeStyleBuilder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The exports in the order of their ordinals.
const std::vector<std::string> kExports = {
    "_ULRFCreateInstance",     "_ULRFDeleteInstance",         "_ULRFOutBufferSize",
    "_ULRFFillOutBuffer",      "_ULRFEnumIndex",              "_ULRFModifyIndex",
    "_ULRFDeleteResource",     "_ULRFExtractResource",        "_ULRFInsertResource",
    "_ULRFDelResInstance",     "_ULRFResInstanceSize",        "_ULRFPutResInstance",
    "_ULRFCreateResInstance",  "_ULRFResInstanceSizeUnComp",  "_ULRFPutResInstanceUnComp",
    "_ULStECreateInstance",    "_ULStEDeleteInstance",        "_ULStECreateResource",
    "_ULStEQueryStyleElem",    "_ULStEQueryChordVar",         "_ULStEQueryPattern",
    "_ULStEDeleteStyleElem",   "_ULStEDeleteChordVar",        "_ULStEDeletePattern",
    "_ULStEImportSmf",         "_ULStEExportSmfPrepare",      "_ULStEExportSmfFill",
    "_ULStEGetName",           "_ULStESetName",               "_ULStEGetBPM",
    "_ULStESetBPM",            "_ULStEGetTrackMode",          "_ULStESetTrackMode",
    "_ULStEGetTrackTension",   "_ULStESetTrackTension",       "_ULStEGetNTT",
    "_ULStESetNTT",            "_ULStEGetSignature",          "_ULStESetSignature",
    "_ULStEGetChordAssign",    "_ULStESetChordAssign",        "_ULStEGetTrackExpression",
    "_ULStESetTrackExpression", "_ULStEGetTrackProgram",      "_ULStESetTrackProgram",
    "_ULStEGetTrackKBRangeLow", "_ULStESetTrackKBRangeLow",   "_ULStEGetTrackKBRangeHigh",
    "_ULStESetTrackKBRangeHigh", "_ULStEGetTrackChord",       "_ULStESetTrackChord",
    "_ULStEGetTrackKey",       "_ULStESetTrackKey",           "_ULStEGetQeVersion",
    "_ULStESetQeVersion",      "_ULStEGetQeStyInfoRelease",   "_ULStEConvertVexSoundToNote",
    "_ULStEConvertNoteToVexSound",
};

// The library, loaded once, and its functions by name.
class Library {
public:
    Library() : handle_(dlopen(zib::test::BuildFile(ULVARF_LIBRARY).c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~Library()
    {
        if (handle_) dlclose(handle_);
    }
    bool loaded() const { return handle_ != nullptr; }
    void* symbol(const std::string& name) const { return handle_ ? dlsym(handle_, name.c_str()) : nullptr; }

private:
    void* handle_;
};

const Library& library()
{
    static Library lib;
    return lib;
}

#define ULRF(name) reinterpret_cast<decltype(&name)>(library().symbol(#name))

TEST(UlvaRfExports, TheLibraryExportsExactlyItsFiftyEightFunctions)
{
    ASSERT_TRUE(library().loaded()) << dlerror();
    ASSERT_EQ(kExports.size(), 58u);
    for (const std::string& name : kExports) EXPECT_NE(library().symbol(name), nullptr) << name;

    const std::string command = std::string(ULVARF_NM) + " -D --defined-only " + zib::test::BuildFile(ULVARF_LIBRARY);
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::set<std::string> defined;
    char line[512];
    while (fgets(line, sizeof line, pipe.get())) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) defined.insert(name.substr(0, name.find('@')));
    }
    EXPECT_EQ(defined, std::set<std::string>(kExports.begin(), kExports.end()));
}

TEST(UlvaRfExports, AnEmptyContainerComesOutAsTheSixtyByteImage)
{
    const Bytes expected = {
        0x01, 0x00, 0x01, 0x14, 0x00, 0x00, 0x00, 0x34, 0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C,
        0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 'D',  'A',  'S',  'F',  0x00, 0x05, 0x00, 0x00, 0x18,
        0x00, 0x00, 0x00, 0x00, 0xFE, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x10, 'D',  'B',  'E',  'G',
        0x00, 0x00, 0x00, 0x1C, 'D',  'E',  'N',  'D',  0x00, 0x00, 0x00, 0x01,
    };
    const Bytes shortImage(28, 0x01);
    for (const uint8_t* image : {static_cast<const uint8_t*>(nullptr), shortImage.data()}) {
        ULRFContainer* container = ULRF(_ULRFCreateInstance)(image, 28);
        ASSERT_NE(container, nullptr);
        ASSERT_EQ(ULRF(_ULRFOutBufferSize)(container), 60);
        Bytes out(60);
        EXPECT_TRUE(ULRF(_ULRFFillOutBuffer)(container, out.data()));
        EXPECT_EQ(out, expected);
        ULRF(_ULRFDeleteInstance)(container);
    }
}

TEST(UlvaRfExports, TheConverterRoadWorksThroughTheLibrary)
{
    // The MIDI-to-Qe converter opens its own image, adds an STS block as a
    // second resource, names it and writes the container.
    const Bytes style = zib::test::sampleQeStyleChunk();
    const Bytes image = zib::test::qeConverterStyleImage("Converted Style 01", style);
    ULRFContainer* container = ULRF(_ULRFCreateInstance)(image.data(), uint32_t(image.size()));
    ASSERT_NE(container, nullptr);

    const Bytes stsChunk = zib::test::ChunkBuilder().leaf(0x07, 0, 0, 0x18, zib::test::midiLikeBytes(2000)).bytes();
    const Bytes serial = zib::test::serialisedResInstance(7, 0, 0, 0, stsChunk);
    ULRFResInstance* sts = ULRF(_ULRFCreateResInstance)(serial.data(), uint32_t(serial.size()));
    ASSERT_NE(sts, nullptr);
    EXPECT_EQ(ULRF(_ULRFInsertResource)(container, -1, sts), 1);
    ULRF(_ULRFDelResInstance)(sts);
    EXPECT_TRUE(ULRF(_ULRFModifyIndex)(container, 1, "STS block", 17, 0));

    const int size = ULRF(_ULRFOutBufferSize)(container);
    ASSERT_GT(size, 60);
    Bytes out(size_t(size) + 4, 0xEE);
    ASSERT_TRUE(ULRF(_ULRFFillOutBuffer)(container, out.data()));
    EXPECT_EQ(out[size_t(size)], 0xEE);
    ULRF(_ULRFDeleteInstance)(container);

    ULRFContainer* reread = ULRF(_ULRFCreateInstance)(out.data(), uint32_t(size));
    ASSERT_NE(reread, nullptr);
    char name[18];
    int type = 0, user1 = 0, user2 = 0;
    ASSERT_TRUE(ULRF(_ULRFEnumIndex)(reread, 0, name, &type, &user1, &user2));
    EXPECT_STREQ(name, "Converted Style 0");
    EXPECT_EQ(type, 2);
    EXPECT_EQ(user1, 17);
    ASSERT_TRUE(ULRF(_ULRFEnumIndex)(reread, 1, name, &type, &user1, &user2));
    EXPECT_STREQ(name, "STS block");
    EXPECT_EQ(type, 7);
    EXPECT_FALSE(ULRF(_ULRFEnumIndex)(reread, 2, name, &type, &user1, &user2));

    // The STS resource comes back out decompressed, as it went in.
    ULRFResInstance* back = ULRF(_ULRFExtractResource)(reread, 1);
    ASSERT_NE(back, nullptr);
    const int packed = ULRF(_ULRFResInstanceSize)(back);
    const int plain = ULRF(_ULRFResInstanceSizeUnComp)(back);
    EXPECT_LT(packed, plain);
    Bytes unpacked(static_cast<size_t>(plain), 0);
    EXPECT_FALSE(ULRF(_ULRFPutResInstanceUnComp)(back, unpacked.data(), uint32_t(plain - 1)));
    ASSERT_TRUE(ULRF(_ULRFPutResInstanceUnComp)(back, unpacked.data(), uint32_t(plain)));
    EXPECT_EQ(unpacked, serial);
    Bytes stored(static_cast<size_t>(packed));
    EXPECT_FALSE(ULRF(_ULRFPutResInstance)(back, stored.data(), uint32_t(packed - 1)));
    EXPECT_TRUE(ULRF(_ULRFPutResInstance)(back, stored.data(), uint32_t(packed)));
    ULRF(_ULRFDelResInstance)(back);

    EXPECT_TRUE(ULRF(_ULRFDeleteResource)(reread, 0));
    EXPECT_FALSE(ULRF(_ULRFDeleteResource)(reread, 1));
    ULRF(_ULRFDeleteInstance)(reread);
}

TEST(UlvaRfExports, NullHandlesAndBadInputsGiveNullFalseOrMinusOne)
{
    EXPECT_EQ(ULRF(_ULRFOutBufferSize)(nullptr), -1);
    EXPECT_FALSE(ULRF(_ULRFFillOutBuffer)(nullptr, nullptr));
    char name[18];
    int v;
    EXPECT_FALSE(ULRF(_ULRFEnumIndex)(nullptr, 0, name, &v, &v, &v));
    EXPECT_FALSE(ULRF(_ULRFModifyIndex)(nullptr, 0, "x", 0, 0));
    EXPECT_FALSE(ULRF(_ULRFDeleteResource)(nullptr, 0));
    EXPECT_EQ(ULRF(_ULRFExtractResource)(nullptr, 0), nullptr);
    EXPECT_EQ(ULRF(_ULRFInsertResource)(nullptr, 0, nullptr), -1);
    EXPECT_EQ(ULRF(_ULRFResInstanceSize)(nullptr), -1);
    EXPECT_FALSE(ULRF(_ULRFPutResInstance)(nullptr, nullptr, 0));
    EXPECT_EQ(ULRF(_ULRFResInstanceSizeUnComp)(nullptr), -1);
    EXPECT_FALSE(ULRF(_ULRFPutResInstanceUnComp)(nullptr, nullptr, 0));
    EXPECT_EQ(ULRF(_ULRFCreateResInstance)(nullptr, 100), nullptr);
    ULRF(_ULRFDeleteInstance)(nullptr);
    ULRF(_ULRFDelResInstance)(nullptr);

    ULRFContainer* empty = ULRF(_ULRFCreateInstance)(nullptr, 0);
    EXPECT_EQ(ULRF(_ULRFInsertResource)(empty, 0, nullptr), -1);
    EXPECT_FALSE(ULRF(_ULRFFillOutBuffer)(empty, nullptr));
    ULRF(_ULRFDeleteInstance)(empty);

    Bytes notDasf(200, 0x42);
    EXPECT_EQ(ULRF(_ULRFCreateInstance)(notDasf.data(), uint32_t(notDasf.size())), nullptr);
    const Bytes serial = zib::test::serialisedResInstance(2, 0, 0, 0, zib::test::chunkHead(0x06, 0, 0, 0x10, 0));
    EXPECT_EQ(ULRF(_ULRFCreateResInstance)(serial.data(), 15), nullptr);
}

// The style editor, as the style documents drive it.
TEST(UlvaRfExports, NewStyleIsMadeOnAccessAndStoredAsAResource)
{
    ULStEEditor* editor = ULRF(_ULStECreateInstance)(nullptr);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ULRF(_ULStEQueryStyleElem)(editor, 0), 0);
    uint8_t ntt = 0;
    ULRF(_ULStEGetNTT)(editor, 4, &ntt);
    EXPECT_EQ(ntt, 3);
    EXPECT_EQ(ULRF(_ULStEQueryStyleElem)(editor, 4), 1);

    uint8_t release = 9, version = 9;
    ULRF(_ULStEGetQeStyInfoRelease)(editor, &release);
    ULRF(_ULStEGetQeVersion)(editor, &version);
    EXPECT_EQ(release, 0);
    EXPECT_EQ(version, 1);
    ULRF(_ULStESetQeVersion)(editor, 0);
    ULRF(_ULStEGetQeStyInfoRelease)(editor, &release);
    EXPECT_EQ(release, 2);

    char name[12];
    std::memset(name, 'x', sizeof name);
    ULRF(_ULStEGetName)(editor, name, 5);
    EXPECT_EQ(std::string(name, 6), std::string("New S\0", 6));
    EXPECT_EQ(name[6], 'x');
    ULRF(_ULStESetName)(editor, "A name much longer than thirty-one characters");
    char full[40];
    ULRF(_ULStEGetName)(editor, full, 39);
    EXPECT_STREQ(full, "A name much longer than thirty-");

    int bpm = 0;
    ULRF(_ULStEGetBPM)(editor, &bpm);
    EXPECT_EQ(bpm, 120);

    // Program bytes from the most significant: bank MSB, bank LSB, (ignored), program.
    const uint32_t program = 0x01020304;
    ULRF(_ULStESetTrackProgram)(editor, 2, 5, &program);
    uint32_t back = 0;
    ULRF(_ULStEGetTrackProgram)(editor, 2, 5, &back);
    EXPECT_EQ(back, 0x01020004u);

    // Chord assign bytes naming a deleted CV move to the first one left.
    uint8_t cv = 0;
    for (int c : {0, 2, 3}) ULRF(_ULStEGetTrackChord)(editor, 1, c, 0, &cv);
    ULRF(_ULStEDeleteChordVar)(editor, 1, 0);
    const uint8_t three = 3;
    ULRF(_ULStESetChordAssign)(editor, 1, 7, &three);
    for (int i = 0; i < 22; ++i) {
        ULRF(_ULStEGetChordAssign)(editor, 1, i, &cv);
        EXPECT_EQ(cv, i == 7 ? 3 : 2) << i;
    }

    ULRFResInstance* resource = ULRF(_ULStECreateResource)(editor);
    ASSERT_NE(resource, nullptr);
    ULRF(_ULStEDeleteInstance)(editor);
    ULRFContainer* container = ULRF(_ULRFCreateInstance)(nullptr, 0);
    EXPECT_EQ(ULRF(_ULRFInsertResource)(container, -1, resource), 0);
    ULRF(_ULRFDelResInstance)(resource);
    ULRFResInstance* extracted = ULRF(_ULRFExtractResource)(container, 0);
    ULRF(_ULRFDeleteInstance)(container);
    ULStEEditor* reread = ULRF(_ULStECreateInstance)(extracted);
    ULRF(_ULRFDelResInstance)(extracted);
    ASSERT_NE(reread, nullptr);
    ULRF(_ULStEGetName)(reread, full, 39);
    EXPECT_STREQ(full, "A name much longer than thirty-");
    EXPECT_EQ(ULRF(_ULStEQueryStyleElem)(reread, 0), 1); // made by the writer
    EXPECT_EQ(ULRF(_ULStEQueryStyleElem)(reread, 4), 0); // held no data
    EXPECT_EQ(ULRF(_ULStEQueryChordVar)(reread, 1, 2), 0);
    ULRF(_ULStEGetTrackProgram)(reread, 2, 5, &back); // made again, with its defaults
    EXPECT_EQ(back, 0u);
    ULRF(_ULStEDeleteInstance)(reread);
}

TEST(UlvaRfExports, PadsAndForeignResources)
{
    ULStEEditor* pad = ULRF(_ULStECreateInstance)(ULSTE_NEW_PAD);
    ASSERT_NE(pad, nullptr);
    ULRFResInstance* resource = ULRF(_ULStECreateResource)(pad);
    std::vector<uint8_t> serial(size_t(ULRF(_ULRFResInstanceSize)(resource)));
    ASSERT_TRUE(ULRF(_ULRFPutResInstance)(resource, serial.data(), uint32_t(serial.size())));
    EXPECT_EQ(serial[0], 9);
    ULRF(_ULRFDelResInstance)(resource);
    ULRF(_ULStEDeleteInstance)(pad);

    const Bytes sts = zib::test::serialisedResInstance(7, 0, 0, 0, zib::test::ChunkBuilder().leaf(0x07, 0, 0, 0x18, {1, 2}).bytes());
    ULRFResInstance* other = ULRF(_ULRFCreateResInstance)(sts.data(), uint32_t(sts.size()));
    EXPECT_EQ(ULRF(_ULStECreateInstance)(other), nullptr);
    ULRF(_ULRFDelResInstance)(other);
}

TEST(UlvaRfExports, NumbersOutOfRangeTouchNothing)
{
    ULStEEditor* editor = ULRF(_ULStECreateInstance)(nullptr);
    ASSERT_NE(editor, nullptr);
    uint8_t byte = 0xAB;
    uint32_t word = 0xABABABAB;
    const uint8_t value = 1;
    const uint32_t wordValue = 1;
    const uint8_t ranges[8][2] = {};
    // Each call with the numbers it takes: e, cv, t, i.
    enum Uses { E = 1, CV = 2, T = 4, I = 8 };
    struct Call {
        int uses;
        std::function<void(int, int, int, int)> run;
    };
    const std::vector<Call> calls = {
        {E, [&](int e, int, int, int) { ULRF(_ULStEGetNTT)(editor, e, &byte); }},
        {E, [&](int e, int, int, int) { ULRF(_ULStESetNTT)(editor, e, &value); }},
        {E, [&](int e, int, int, int) { ULRF(_ULStEGetSignature)(editor, e, &byte); }},
        {E, [&](int e, int, int, int) { ULRF(_ULStESetSignature)(editor, e, &value); }},
        {E | I, [&](int e, int, int, int i) { ULRF(_ULStEGetChordAssign)(editor, e, i, &byte); }},
        {E | I, [&](int e, int, int, int i) { ULRF(_ULStESetChordAssign)(editor, e, i, &value); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStEGetTrackExpression)(editor, e, t, &byte); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStESetTrackExpression)(editor, e, t, &value); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStEGetTrackProgram)(editor, e, t, &word); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStESetTrackProgram)(editor, e, t, &wordValue); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStEGetTrackKBRangeLow)(editor, e, t, &byte); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStESetTrackKBRangeLow)(editor, e, t, &value); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStEGetTrackKBRangeHigh)(editor, e, t, &byte); }},
        {E | T, [&](int e, int, int t, int) { ULRF(_ULStESetTrackKBRangeHigh)(editor, e, t, &value); }},
        {E | CV | T, [&](int e, int cv, int t, int) { ULRF(_ULStEGetTrackChord)(editor, e, cv, t, &byte); }},
        {E | CV | T, [&](int e, int cv, int t, int) { ULRF(_ULStESetTrackChord)(editor, e, cv, t, &value); }},
        {E | CV | T, [&](int e, int cv, int t, int) { ULRF(_ULStEGetTrackKey)(editor, e, cv, t, &byte); }},
        {E | CV | T, [&](int e, int cv, int t, int) { ULRF(_ULStESetTrackKey)(editor, e, cv, t, &value); }},
        {T, [&](int, int, int t, int) { ULRF(_ULStEGetTrackMode)(editor, t, &byte); }},
        {T, [&](int, int, int t, int) { ULRF(_ULStESetTrackMode)(editor, t, &value); }},
        {T, [&](int, int, int t, int) { ULRF(_ULStEGetTrackTension)(editor, t, &byte); }},
        {T, [&](int, int, int t, int) { ULRF(_ULStESetTrackTension)(editor, t, &value); }},
        {E | CV, [&](int e, int cv, int, int) { ULRF(_ULStEConvertNoteToVexSound)(editor, e, cv, ranges); }},
        {E | CV, [&](int e, int cv, int, int) { ULRF(_ULStEConvertVexSoundToNote)(editor, e, cv); }},
        {E | CV, [&](int e, int cv, int, int) { EXPECT_EQ(ULRF(_ULStEExportSmfPrepare)(editor, e, cv), 0); }},
        {E | CV | T, [&](int e, int cv, int t, int) { EXPECT_EQ(ULRF(_ULStEQueryPattern)(editor, e, cv, t), 0); }},
        {E | CV | T, [&](int e, int cv, int t, int) { ULRF(_ULStEDeletePattern)(editor, e, cv, t); }},
    };
    // One number out of range at a time, the others in range.
    struct Bad {
        int which;
        int value;
    };
    const Bad bad[] = {{E, -1}, {E, 12}, {CV, -1}, {CV, 6}, {T, -1}, {T, 8}, {I, -1}, {I, 22}};
    for (const Bad& b : bad) {
        const int e = b.which == E ? b.value : 0;
        const int cv = b.which == CV ? b.value : 0;
        const int t = b.which == T ? b.value : 0;
        const int i = b.which == I ? b.value : 0;
        for (size_t c = 0; c < calls.size(); ++c) {
            if (!(calls[c].uses & b.which)) continue;
            calls[c].run(e, cv, t, i);
            EXPECT_EQ(byte, 0xAB) << "call " << c;
            EXPECT_EQ(word, 0xABABABABu) << "call " << c;
            for (int element = 0; element < 12; ++element) {
                ASSERT_EQ(ULRF(_ULStEQueryStyleElem)(editor, element), 0) << "call " << c;
            }
        }
    }
    const std::vector<uint8_t> smf = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0x80,
                                      'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
    EXPECT_FALSE(ULRF(_ULStEImportSmf)(editor, smf.data(), uint32_t(smf.size()), 12, 0));
    EXPECT_FALSE(ULRF(_ULStEImportSmf)(editor, smf.data(), uint32_t(smf.size()), 0, 6));
    for (int e = 0; e < 12; ++e) EXPECT_EQ(ULRF(_ULStEQueryStyleElem)(editor, e), 0);
    ULRF(_ULStEGetName)(editor, nullptr, 4);
    char name[4] = {'a', 'b', 'c', 'd'};
    ULRF(_ULStEGetName)(editor, name, -1);
    EXPECT_EQ(name[0], 'a');
    ULRF(_ULStEDeleteInstance)(editor);
}

TEST(UlvaRfExports, NullStyleEditorsGiveZeroFalseOrNull)
{
    uint8_t byte = 0xAB;
    int bpm = 7;
    EXPECT_EQ(ULRF(_ULStECreateResource)(nullptr), nullptr);
    EXPECT_EQ(ULRF(_ULStEQueryStyleElem)(nullptr, 0), 0);
    EXPECT_EQ(ULRF(_ULStEQueryChordVar)(nullptr, 0, 0), 0);
    EXPECT_EQ(ULRF(_ULStEQueryPattern)(nullptr, 0, 0, 0), 0);
    EXPECT_FALSE(ULRF(_ULStEImportSmf)(nullptr, &byte, 1, 0, 0));
    EXPECT_EQ(ULRF(_ULStEExportSmfPrepare)(nullptr, 0, 0), 0);
    EXPECT_FALSE(ULRF(_ULStEExportSmfFill)(nullptr, &byte, 1));
    ULRF(_ULStEGetBPM)(nullptr, &bpm);
    ULRF(_ULStEGetNTT)(nullptr, 0, &byte);
    ULRF(_ULStEGetQeVersion)(nullptr, &byte);
    ULRF(_ULStEDeleteStyleElem)(nullptr, 0);
    ULRF(_ULStEDeleteInstance)(nullptr);
    EXPECT_EQ(bpm, 7);
    EXPECT_EQ(byte, 0xAB);
}

} // namespace
