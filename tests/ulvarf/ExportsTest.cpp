// The built libulvarf.so: its export table and the container family called
// through it, as the program binds it.

#include "ulvarf/ulvarf.h"

#include "tests/support/ByteSamples.h"
#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// The exports in the order of their ordinals.
const std::vector<std::string> kExports = {
    "_ULRFCreateInstance",  "_ULRFDeleteInstance",    "_ULRFOutBufferSize",         "_ULRFFillOutBuffer",
    "_ULRFEnumIndex",       "_ULRFModifyIndex",       "_ULRFDeleteResource",        "_ULRFExtractResource",
    "_ULRFInsertResource",  "_ULRFDelResInstance",    "_ULRFResInstanceSize",       "_ULRFPutResInstance",
    "_ULRFCreateResInstance", "_ULRFResInstanceSizeUnComp", "_ULRFPutResInstanceUnComp",
};

// The library, loaded once, and its functions by name.
class Library {
public:
    Library() : handle_(dlopen(ULVARF_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
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

TEST(UlvaRfExports, TheLibraryExportsExactlyTheContainerFamily)
{
    ASSERT_TRUE(library().loaded()) << dlerror();
    for (const std::string& name : kExports) EXPECT_NE(library().symbol(name), nullptr) << name;

    const std::string command = std::string(ULVARF_NM) + " -D --defined-only " + ULVARF_LIBRARY;
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

} // namespace
