#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/ItemBuilders.h"
#include "docs/style/core/Qe9zToQe4k.h"
#include "docs/style/core/UlvaRfHandles.h"

#include "platform/ByteCursor.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/QeStyleBuilder.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

using test::QeCvRecord;
using test::QeElementChunk;
using test::QePatternChunk;
using test::QeStyleLayout;

std::vector<uint8_t> stream(uint8_t key)
{
    return test::PropStreamBuilder().noteOn(0, key).noteOff(96, key).end(1536);
}

// A Qe9z style: VAR1 (element 0) plays patterns 1 and 3, FILL3 (element 10)
// pattern 2; the pattern list says so: 1, 3, 2.
QeStyleLayout qe9zLayout()
{
    QeStyleLayout layout;
    layout.version = 1;
    layout.header = test::qeHeaderRecord("Nine", 0, 0, 0x0401);
    layout.mapChunks = 3;
    layout.map = {1, 3, 2};
    layout.patterns = {test::qePattern(2, 1536, stream(36)), test::qePattern(2, 1536, stream(50)),
                       test::qePattern(3, 1536, stream(40), 0, 0)};
    QeElementChunk var1;
    var1.cvs = {test::qeCv(1536, {}, {{0, 0}, {1, 2}})};
    var1.trackTable = std::vector<uint8_t>(48, 0);
    for (size_t t = 0; t < 8; ++t) {
        var1.trackTable[6 * t] = 100;
        var1.trackTable[6 * t + 1] = 121;
        var1.trackTable[6 * t + 4] = 21;
        var1.trackTable[6 * t + 5] = 108;
    }
    var1.trackTable[6 * 2 + 2] = 68; // BASS: an expansion bank of the Qe9z
    var1.trackTable[6 * 2 + 3] = 5;
    QeElementChunk fill3;
    fill3.cvs = {test::qeCv(1536, {}, {{0, 1}})};
    layout.elements = {var1, fill3};
    return layout;
}

// The uncompressed serialised instance of a layout.
std::vector<uint8_t> instanceOf(const QeStyleLayout& layout)
{
    return test::qeStyleResource(test::qeStyleChunk(layout));
}

struct Walk {
    std::vector<std::pair<uint8_t, std::vector<uint8_t>>> chunks; // id, payload
};

// The children of the chunk whose payload starts at `at` and runs `size` bytes.
Walk children(std::span<const uint8_t> bytes, size_t at, size_t size)
{
    Walk w;
    ByteCursor c(bytes.data() + at, size);
    while (!c.atEnd()) {
        const uint8_t id = c.u8();
        c.skip(3);
        const uint32_t n = c.u32be();
        const auto payload = c.bytes(n);
        if (c.failed()) break;
        w.chunks.push_back({id, std::vector<uint8_t>(payload.begin(), payload.end())});
    }
    return w;
}

TEST(Qe9zToQe4k, KeepsElementsZeroToNineAndThePatternsTheyUse)
{
    std::vector<uint8_t> in = instanceOf(qe9zLayout());
    in[18] = 4; // the style-info release
    const uint32_t size = GetQe9zToQe4kSize(in);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> out(size);
    ASSERT_EQ(BuildQe4kStyleChunk(in, out, size), 1);
    EXPECT_EQ(BuildQe4kStyleChunk(in, out, size + 1), 0); // the size pass's length only

    ByteCursor head(out);
    EXPECT_EQ(head.u32be(), 0x02000000u);
    EXPECT_EQ(head.u32le(), size - 8);
    EXPECT_EQ(out[8], 6);
    EXPECT_EQ(out[16], 1);
    EXPECT_EQ(out[17], 0); // version 0
    EXPECT_EQ(out[18], 4); // the release stays
    EXPECT_EQ(GetStyleElementMask(std::span<const uint8_t>(out).subspan(8)), 0x0001);

    const Walk style = children(out, 24, size - 24);
    ASSERT_EQ(style.chunks.size(), 3u); // header, patterns, VAR1
    EXPECT_EQ(style.chunks[0].second.size(), 4u + 6u);
    ASSERT_EQ(style.chunks[1].first, 2);
    const Walk patterns = children(style.chunks[1].second, 0, style.chunks[1].second.size());
    ASSERT_EQ(patterns.chunks.size(), 3u); // list, two patterns
    // Two chunks carried, two uses; pattern 3 became number 2.
    EXPECT_EQ(patterns.chunks[0].second, (std::vector<uint8_t>{0, 2, 0, 2, 0, 1, 0, 2}));
    EXPECT_EQ(patterns.chunks[1].first, 2);
    EXPECT_EQ(patterns.chunks[2].first, 3);
    EXPECT_EQ(style.chunks[2].first, 3);

    // The BASS sound is one of the Qe4k: bank LSB 0 with its program, or the piano.
    const std::vector<uint8_t>& element = style.chunks[2].second;
    const Walk records = children(element, 0, element.size());
    ASSERT_GE(records.chunks.size(), 2u);
    const std::vector<uint8_t>& table = records.chunks[1].second;
    EXPECT_EQ(table[6 * 2 + 1], 121);
    EXPECT_EQ(table[6 * 2 + 2], 0);
    EXPECT_EQ(table[6 * 2 + 3], 5);
    EXPECT_EQ(table[6 * 2 + 0], 100); // expression stays
}

TEST(Qe9zToQe4k, WholeListsStayAndLongHeadersAreCut)
{
    QeStyleLayout layout = qe9zLayout();
    layout.header = test::qeHeaderRecord("Nine", 0, 0, 0x0001, true);
    layout.map = {1, 3};
    layout.elements.pop_back();
    const std::vector<uint8_t> in = instanceOf(layout);
    const uint32_t size = GetQe9zToQe4kSize(in);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> out(size);
    ASSERT_EQ(BuildQe4kStyleChunk(in, out, size), 1);
    const Walk style = children(out, 24, size - 24);
    EXPECT_EQ(style.chunks[0].second.size(), 10u); // n + 6
    const Walk patterns = children(style.chunks[1].second, 0, style.chunks[1].second.size());
    EXPECT_EQ(patterns.chunks[0].second, (std::vector<uint8_t>{0, 2, 0, 2, 0, 1, 0, 2}));
}

TEST(Qe9zToQe4k, APatternThatKeepsNoEventIsLeftOut)
{
    // Pattern 2 holds only events the re-encoding drops (kind 20) and is
    // stored before pattern 3, which VAR1 also uses: pattern 2 goes like an
    // unused one, its use becomes 0, pattern 3 becomes number 1.
    QeStyleLayout layout = qe9zLayout();
    layout.map = {2, 3, 1};
    layout.patterns[1] = test::qePattern(2, 1536, test::PropStreamBuilder().raw({0x14, 0x81, 0x85, 0x14, 0x81}).bytes());
    const std::vector<uint8_t> in = instanceOf(layout);
    const uint32_t size = GetQe9zToQe4kSize(in);
    ASSERT_GT(size, 0u);
    std::vector<uint8_t> out(size);
    ASSERT_EQ(BuildQe4kStyleChunk(in, out, size), 1);
    const Walk style = children(out, 24, size - 24);
    ASSERT_EQ(style.chunks.size(), 3u);
    const Walk patterns = children(style.chunks[1].second, 0, style.chunks[1].second.size());
    ASSERT_EQ(patterns.chunks.size(), 2u); // list and pattern 3
    EXPECT_EQ(patterns.chunks[0].second, (std::vector<uint8_t>{0, 1, 0, 2, 0, 0, 0, 1}));
    EXPECT_EQ(patterns.chunks[1].first, 3);

    // The library opens the result and finds the kept pattern.
    UlrfResInstancePtr resource(_ULRFCreateResInstance(out.data(), uint32_t(out.size())));
    ASSERT_NE(resource, nullptr);
    UlsteEditorPtr editor(_ULStECreateInstance(resource.get()));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(_ULStEQueryStyleElem(editor.get(), 0), 2);
}

TEST(Qe9zToQe4k, InputsThatGiveNoResult)
{
    struct Case {
        const char* what;
        QeStyleLayout layout;
    };
    std::vector<Case> cases;
    QeStyleLayout shortList = qe9zLayout();
    shortList.map = {1};
    cases.push_back({"list shorter than the uses", shortList});
    QeStyleLayout noPatterns = qe9zLayout();
    noPatterns.mapChunks = 0;
    noPatterns.map = {};
    noPatterns.patterns.clear();
    cases.push_back({"pattern count 0", noPatterns});
    QeStyleLayout noneCarried = qe9zLayout();
    noneCarried.map = {7, 8, 9};
    cases.push_back({"no chunk carried over", noneCarried});
    QeStyleLayout badId = qe9zLayout();
    badId.patterns[1].id = 5;
    cases.push_back({"pattern chunk of another id", badId});
    for (const auto& c : cases) {
        const std::vector<uint8_t> in = instanceOf(c.layout);
        EXPECT_EQ(GetQe9zToQe4kSize(in), 0u) << c.what;
        std::vector<uint8_t> out(4096);
        EXPECT_EQ(BuildQe4kStyleChunk(in, out, 4096), 0) << c.what;
    }
    // Short or foreign inputs
    EXPECT_EQ(GetQe9zToQe4kSize(std::vector<uint8_t>(20)), 0u);
    std::vector<uint8_t> in = instanceOf(qe9zLayout());
    in[8] = 7;
    EXPECT_EQ(GetQe9zToQe4kSize(in), 0u);
    in = instanceOf(qe9zLayout());
    for (size_t cut = 0; cut < in.size(); cut += 7)
        EXPECT_EQ(GetQe9zToQe4kSize(std::span<const uint8_t>(in).first(cut)), 0u) << cut;
}

TEST(Qe9zToQe4k, ElementMaskOfAWrapperChunk)
{
    const std::vector<uint8_t> in = instanceOf(qe9zLayout());
    const std::span<const uint8_t> wrapper = std::span<const uint8_t>(in).subspan(8);
    EXPECT_EQ(GetStyleElementMask(wrapper), 0x0401);
    std::vector<uint8_t> compressed(wrapper.begin(), wrapper.end());
    compressed[3] |= 0x20;
    EXPECT_EQ(GetStyleElementMask(compressed), 0);
    EXPECT_EQ(GetStyleElementMask(wrapper.first(16)), 0);
    EXPECT_EQ(GetStyleElementMask(wrapper.first(24 + 4 + 4 + 1)), 0); // the mask would run past the end
}

TEST(Qe9zToQe4k, ItemConversionThroughTheLibrary)
{
    CZibStyDoc doc;
    doc.NewDocument();
    doc.m_Model = 'F';
    CStyItem item;
    item.data = test::qeStyleInstance({"Nine", 1, {0, 10}, 0x79440005});
    ASSERT_EQ(AddSoundInfo(item), 1);
    item.model = 'X';
    item.version = 1;
    doc.m_StyItems.push_back(item);
    ASSERT_EQ(doc.ConvertItem('X', 'F', 0), 0);
    CStyItem& converted = doc.m_StyItems[0];
    EXPECT_EQ(converted.model, uint32_t('F'));
    EXPECT_EQ(converted.version, 0u);
    UlrfResInstancePtr resource(_ULRFCreateResInstance(converted.data.data(), uint32_t(converted.Size())));
    ASSERT_NE(resource, nullptr);
    UlsteEditorPtr editor(_ULStECreateInstance(resource.get()));
    ASSERT_NE(editor, nullptr);
    uint8_t version = 9;
    _ULStEGetQeVersion(editor.get(), &version);
    EXPECT_EQ(version, 0);
    EXPECT_EQ(_ULStEQueryStyleElem(editor.get(), 0), 2);
    EXPECT_EQ(_ULStEQueryStyleElem(editor.get(), 10), 0);
    uint32_t program = 0;
    _ULStEGetTrackProgram(editor.get(), 0, 2, &program);
    EXPECT_EQ(program >> 16, 0x7900u); // LSB 68 is no Qe4k bank

    // A Qe9z item of version 0 and a Qe4k item need nothing.
    converted.model = 'X';
    const auto before = converted.data;
    EXPECT_EQ(doc.ConvertItem('X', 'F', 0), 0);
    EXPECT_EQ(converted.data, before);

    // A style that cannot be rewritten fails alone (-3, not -2: the
    // document stays usable) and keeps its data.
    converted.version = 1;
    converted.data = {1, 2, 3};
    EXPECT_EQ(doc.ConvertItem('X', 'F', 0), -3);
    EXPECT_EQ(converted.data, (std::vector<uint8_t>{1, 2, 3}));
}

} // namespace
} // namespace zib
