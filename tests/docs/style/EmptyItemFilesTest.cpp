// Style and pad item files with an empty body are refused at import, as
// other bad items are: a list never shows an item that Save would leave out
// of the file.
#include "docs/style/core/ItemFile.h"
#include "platform/ByteWriter.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"

namespace zib {
namespace {

// An item file of `letter` whose header names `name` and promises no data:
// the 60-byte header of 'X', the 44-byte one of older 'F' files.
std::vector<uint8_t> emptyItemFile(char letter, const std::string& name)
{
    QeItemSizeHeader header;
    std::copy(name.begin(), name.end(), header.styleName.begin());
    const auto bytes = header.Bytes();
    ByteWriter w;
    w.text("DASK");
    w.u8(uint8_t(letter));
    if (letter == 'X') {
        w.bytes(bytes);
    } else {
        w.u32le(0);                                               // style size
        w.u32le(0);                                               // STS size
        w.bytes(std::span<const uint8_t>(bytes).subspan(24, 36)); // the two names
    }
    return w.take();
}

template <class Harness>
void expectRefused(const std::vector<uint8_t>& document, const char* documentName, const char* itemFile,
                   char letter)
{
    SCOPED_TRACE(std::string(itemFile) + " " + letter);
    Harness h;
    ASSERT_TRUE(h.doc.OpenImage(document, documentName));
    const auto before = h.doc.BuildFileImage();
    const auto rows = h.names();
    test::TempDir dir;
    const auto path = dir / itemFile;
    test::writeFile(path, emptyItemFile(letter, "QeItemA"));
    const auto outcome = h.doc.ImportItems({path});
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.imported, 0);
    EXPECT_EQ(h.texts(), std::vector<std::string>{"Imported File not expected format - Insertion failed!"});
    EXPECT_EQ(h.names(), rows);
    EXPECT_FALSE(h.doc.IsModified());
    EXPECT_EQ(h.doc.BuildFileImage(), before);
}

TEST(EmptyItemFiles, StylesAndPadsAreRefusedAtImport)
{
    const auto styles =
        test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0}})),
                         test::stsDataEntry("PopSts", 2, 0, {0})});
    const auto pads =
        test::dasfImage({test::qeEntry("Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 0, {0}, 0, true}))});
    for (char letter : {'F', 'X'}) {
        expectRefused<test::StyDocHarness>(styles, "/x/pop.sty", "QeItemA.WSF", letter);
        expectRefused<test::PadDocHarness>(pads, "/x/a.pad", "QeItemA.ZPF", letter);
    }
}

} // namespace
} // namespace zib
