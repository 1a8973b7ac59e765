#include "docs/style/core/CQeStyleTreeEdits.h"
#include "docs/style/core/CStyItem.h"
#include "docs/style/core/NewCvTemplate.h"
#include "docs/style/core/QeStyleEditor.h"

#include "platform/ByteCursor.h"
#include "tests/support/FakeStyUiPort.h"
#include "tests/support/QeEditorStyleBuilder.h"
#include "tests/support/RealStyles.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

// A style tree's edits over a built style, on the fake port.
struct Tree {
    test::QeEditorStyleBuilder style;
    test::FakeStyUiPort ui;
    CStyItem item;
    CQeStyleTreeEdits edits;
    int refills = 0;

    explicit Tree(uint32_t documentModel = 'F') : edits(style.editor(), ui, documentModel, &item)
    {
        _ULStESetQeVersion(style.editor(), documentModel == 'X' ? 1 : 0);
        edits.refill = [this] { ++refills; };
    }
    void select(int e, int cv = 255, int t = 255)
    {
        edits.selection = {uint8_t(e), uint8_t(cv), uint8_t(t)};
    }
    int query(int e, int cv) { return _ULStEQueryChordVar(style.editor(), e, cv); }
    uint8_t signature(int e)
    {
        uint8_t s = 0;
        _ULStEGetSignature(style.editor(), e, &s);
        return s;
    }
    void setSignature(int e, uint8_t s) { _ULStESetSignature(style.editor(), e, &s); }
};

TEST(NewCvTemplate, OneBarInTheElementsSignature)
{
    const struct {
        uint8_t numerator, exponent;
        std::vector<uint8_t> bar;
    } cases[] = {
        {4, 2, {0x8C, 0x00}}, // 4/4: 1536 ticks
        {3, 2, {0x89, 0x00}}, // 3/4: 1152
        {6, 3, {0x89, 0x00}}, // 6/8: 1152
        {1, 4, {0x60}},       // 1/16: 96
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> track = NewCvTemplate(c.numerator, c.exponent);
        ASSERT_EQ(track.size(), 176 + c.bar.size() + 3) << int(c.numerator);
        EXPECT_EQ(std::vector<uint8_t>(track.begin(), track.begin() + 8),
                  (std::vector<uint8_t>{0x00, 0xFF, 0x58, 0x04, c.numerator, c.exponent, 24, 8}));
        EXPECT_EQ(std::vector<uint8_t>(track.end() - 3 - ptrdiff_t(c.bar.size()), track.end() - 3), c.bar);
        EXPECT_EQ(std::vector<uint8_t>(track.end() - 3, track.end()), (std::vector<uint8_t>{0xFF, 0x2F, 0x00}));
    }

    // 4/4 as a file: 203 bytes; the first and the last channel's events.
    const std::vector<uint8_t> file = NewCvMidiFile(4, 2);
    ASSERT_EQ(file.size(), 203u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "MThd");
    ByteCursor head(file.data() + 8, 6);
    EXPECT_EQ(head.u16be(), 0u);   // format 0
    EXPECT_EQ(head.u16be(), 1u);   // one track
    EXPECT_EQ(head.u16be(), 384u); // division
    EXPECT_EQ(ByteCursor(file.data() + 18, 4).u32be(), 181u);
    const std::vector<uint8_t> channel9(file.begin() + 22 + 8, file.begin() + 22 + 8 + 21);
    EXPECT_EQ(channel9, (std::vector<uint8_t>{0x00, 0xB8, 0x0B, 0x64, 0x00, 0x00, 0x79, 0x00, 0x20, 0x03, 0x00, 0xC8,
                                              0x21, 0x00, 0x98, 0x30, 0x01, 0x00, 0x98, 0x30, 0x00}));
    const std::vector<uint8_t> channel16(file.begin() + 22 + 8 + 7 * 21, file.begin() + 22 + 8 + 8 * 21);
    EXPECT_EQ(channel16, (std::vector<uint8_t>{0x00, 0xBF, 0x0B, 0x64, 0x00, 0x00, 0x79, 0x00, 0x20, 0x03, 0x00, 0xCF,
                                               0x05, 0x00, 0x9F, 0x30, 0x08, 0x00, 0x9F, 0x30, 0x00}));
}

TEST(CQeStyleTreeEdits, AddingAChordVariation)
{
    Tree tree;
    tree.style.cvWithNotes(0, 0, {0, 2}).cvWithNotes(4, 0, {0}).cvWithNotes(4, 1, {0});
    tree.select(0);
    tree.edits.OnQeAddCv();
    EXPECT_EQ(tree.query(0, 1), 2);
    EXPECT_EQ(tree.edits.edited, 1);
    EXPECT_EQ(tree.refills, 1);
    uint8_t chord = 0, key = 9;
    _ULStEGetTrackChord(tree.style.editor(), 0, 1, 5, &chord);
    _ULStEGetTrackKey(tree.style.editor(), 0, 1, 5, &key);
    EXPECT_EQ(chord, 2);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(_ULStEExportSmfPrepare(tree.style.editor(), 0, 1) > 0, true);

    // An intro with two chord variations takes no more.
    tree.select(4);
    tree.edits.OnQeAddCv();
    EXPECT_EQ(tree.refills, 1);
    EXPECT_TRUE(tree.ui.messages.empty());

    // A gap is filled first: nothing already there is overwritten.
    Tree gap;
    gap.style.cvWithNotes(1, 0, {0}).cvWithNotes(1, 2, {2});
    gap.select(1);
    gap.edits.OnQeAddCv();
    EXPECT_EQ(gap.query(1, 1), 2);
    EXPECT_EQ(gap.query(1, 3), 0);

    // A signature byte whose denominator is no Qe one.
    Tree odd;
    odd.style.cvWithNotes(0, 0, {0});
    odd.setSignature(0, 0x53);
    odd.select(0);
    if (odd.signature(0) == 0x53) {
        odd.edits.OnQeAddCv();
        EXPECT_EQ(odd.ui.lastText(), "Cannot add Chord Variation");
        EXPECT_EQ(odd.query(0, 1), 0);
        EXPECT_EQ(odd.edits.edited, 0);
    }
}

TEST(CQeStyleTreeEdits, CopyingAndPastingAChordVariation)
{
    Tree source;
    source.style.cvWithNotes(0, 2, {0, 2, 4});
    _ULStESetQeVersion(source.style.editor(), 1);
    uint8_t chord = 7, key = 5;
    _ULStESetTrackChord(source.style.editor(), 0, 2, 4, &chord);
    _ULStESetTrackKey(source.style.editor(), 0, 2, 4, &key);
    source.select(0, 2);
    source.edits.CopySelection();
    ASSERT_TRUE(source.ui.clipboard);
    const std::vector<uint8_t>& block = *source.ui.clipboard;
    ASSERT_GT(block.size(), 705u);
    EXPECT_EQ(block[0], 'X');
    EXPECT_EQ(ByteCursor(block.data() + 1, 4).u32le(), 101u);
    EXPECT_EQ(block[17], 5);
    EXPECT_EQ(ByteCursor(block.data() + 19, 4).u32le(), block.size() - 705);
    EXPECT_EQ(ByteCursor(block.data() + 32, 4).u32le(), block.size() - 705);
    EXPECT_EQ(block[584], 0);                      // element
    EXPECT_EQ(block[585], 2);                      // CV
    EXPECT_EQ(block[586], source.signature(0));
    EXPECT_EQ(block[584 + 25 + 4], 7);             // track chord of ACC2
    EXPECT_EQ(block[584 + 73 + 4], 5);             // track key of ACC2

    // Into a Qe9z document: onto Variation1's CV4.
    Tree target('X');
    target.style.cvWithNotes(0, 0, {0});
    target.ui.clipboard = block;
    target.select(0, 3);
    target.edits.PasteSelection();
    EXPECT_EQ(target.query(0, 3), 2);
    uint8_t pasted = 0;
    _ULStEGetTrackChord(target.style.editor(), 0, 3, 4, &pasted);
    EXPECT_EQ(pasted, 7);
    EXPECT_EQ(target.edits.edited, 1);

    // Another element's CV takes nothing; a Qe4k document refuses a Qe9z block.
    target.select(1, 0);
    target.edits.PasteSelection();
    EXPECT_EQ(target.query(1, 0), 0);
    Tree four('F');
    four.style.cvWithNotes(0, 0, {0});
    four.ui.clipboard = block;
    four.select(0, 1);
    four.edits.PasteSelection();
    EXPECT_EQ(four.ui.texts(), (std::vector<std::string>{"Cannot paste from Qe9z to Qe4k format"}));
    EXPECT_EQ(four.query(0, 1), 0);

    // Another signature: the tact message, nothing pasted.
    Tree waltz('X');
    waltz.style.cvWithNotes(0, 0, {0});
    waltz.setSignature(0, 0x22); // 3/4
    waltz.ui.clipboard = block;
    waltz.select(0, 1);
    waltz.edits.PasteSelection();
    EXPECT_EQ(waltz.ui.texts(),
              (std::vector<std::string>{"Cannot paste CV with tact: 4/4 over CV with tact: 3/4"}));
    EXPECT_EQ(waltz.ui.messages[0].caption, "OnPasteQeChordVariation");
    EXPECT_EQ(waltz.query(0, 1), 0);
    EXPECT_EQ(waltz.edits.edited, 0);

    // A CV without data is not copied.
    Tree empty;
    empty.select(0, 0);
    empty.edits.CopySelection();
    EXPECT_FALSE(empty.ui.clipboard);
}

// Copies read every track's chord and key and pastes write them, through
// library accessors that make a pattern for a track without one: here the
// tracks without data keep no pattern, in the source and in the pasted copy,
// as the tree shows them (status 0) and as the file keeps them.
TEST(CQeStyleTreeEdits, CopyAndPasteLeaveTracksWithoutAPatternAbsent)
{
    const auto patterns = [](ULStEEditor* editor, int e, int cv) {
        std::string s;
        for (int t = 0; t < 8; ++t)
            s += char('0' + _ULStEQueryPattern(editor, e, cv, t));
        return s;
    };
    // V1's CV1 onto its empty CV4.
    Tree cv;
    cv.style.cvWithNotes(0, 0, {0, 2, 3, 4, 5, 7});
    cv.select(0, 0);
    cv.edits.CopySelection();
    ASSERT_TRUE(cv.ui.clipboard);
    cv.select(0, 3);
    cv.edits.PasteSelection();
    ASSERT_EQ(cv.edits.edited, 1);
    EXPECT_EQ(patterns(cv.style.editor(), 0, 0), "20222202");
    EXPECT_EQ(patterns(cv.style.editor(), 0, 3), "20222202");

    // Intro1 onto Intro2.
    Tree element;
    element.style.cvWithNotes(4, 0, {0, 2}).cvWithNotes(4, 1, {3});
    element.select(4);
    element.edits.CopySelection();
    element.select(5);
    element.edits.PasteSelection();
    ASSERT_EQ(element.edits.edited, 1);
    for (int e : {4, 5}) {
        EXPECT_EQ(patterns(element.style.editor(), e, 0), "20200000") << e;
        EXPECT_EQ(patterns(element.style.editor(), e, 1), "00020000") << e;
    }

    // The dialogs' editor (the key-chord dialog) alike; the values stay with the track.
    auto made = LibraryQeStyleEditor::FromItem(cv.style.resource());
    ASSERT_TRUE(made.editor);
    QeStyleEditor& editor = *made.editor;
    EXPECT_EQ(editor.TrackChord(0, 0, 1), 0);
    editor.SetTrackKey(0, 0, 1, 3);
    editor.SetTrackChord(0, 0, 1, 4);
    EXPECT_EQ(editor.QueryPattern(0, 0, 1), 0);
    EXPECT_EQ(editor.TrackKey(0, 0, 1), 3);
    EXPECT_EQ(editor.TrackChord(0, 0, 1), 4);
    EXPECT_EQ(editor.QueryPattern(0, 0, 1), 0);
    EXPECT_EQ(editor.QueryPattern(0, 0, 2), 2);
}

// The export of a chord variation starts each pattern's channel with the
// element's track record. A pasted chord variation gives back exactly what
// its source exports: the record events stay out of the pasted patterns
// (their own events of the same kinds stay in), an element without data
// takes the records, and a copy of a copy is the same again.
TEST(CQeStyleTreeEdits, APastedChordVariationExportsAsItsSource)
{
    const auto exported = [](Tree& tree, int e, int cv) { return ExportCvImage(tree.style.editor(), e, cv); };
    const auto copy = [](Tree& from, int e, int cv, Tree& to, int te, int tcv) {
        from.select(e, cv);
        from.edits.CopySelection();
        to.ui.clipboard = from.ui.clipboard;
        to.select(te, tcv);
        to.edits.PasteSelection();
        EXPECT_EQ(to.edits.edited, 1);
        EXPECT_TRUE(to.ui.messages.empty()) << to.ui.texts()[0];
    };
    // V1 CV1 whose patterns carry program changes of their own; its
    // records (bank, program, expression) differ from them.
    const auto fill = [](Tree& tree) {
        tree.style.cvWithNotes(0, 0, {0, 2, 4}, 2).cvWithNotes(0, 1, {2}).program(0, 2, 0x79030021u);
        const uint8_t expression = 90;
        _ULStESetTrackExpression(tree.style.editor(), 0, 4, &expression);
    };
    Tree source('X');
    fill(source);
    const std::vector<uint8_t> original = exported(source, 0, 0);
    ASSERT_FALSE(original.empty());
    {
        SCOPED_TRACE("onto an empty CV of the same element");
        copy(source, 0, 0, source, 0, 3);
        EXPECT_EQ(exported(source, 0, 3), original);
    }
    {
        SCOPED_TRACE("a copy of the pasted copy");
        copy(source, 0, 3, source, 0, 4);
        EXPECT_EQ(exported(source, 0, 4), original);
    }
    {
        SCOPED_TRACE("over a CV with data");
        copy(source, 0, 0, source, 0, 1);
        EXPECT_EQ(exported(source, 0, 1), original);
    }
    {
        SCOPED_TRACE("into a style whose Variation1 holds nothing");
        Tree empty('X');
        copy(source, 0, 0, empty, 0, 0);
        EXPECT_EQ(exported(empty, 0, 0), original);
        uint32_t program = 0;
        _ULStEGetTrackProgram(empty.style.editor(), 0, 2, &program);
        EXPECT_EQ(program, 0x79030021u);
    }
    {
        SCOPED_TRACE("the whole element onto Variation2");
        Tree element('X');
        fill(element);
        copy(element, 0, 255, element, 1, 255);
        for (int cv = 0; cv < 2; ++cv)
            EXPECT_EQ(exported(element, 1, cv), exported(element, 0, cv)) << "CV " << cv + 1;
    }
}

// Every real converted style: Variation1's first chord variation pasted
// onto its first free one (or over its last) exports as it did.
TEST(CQeStyleTreeEdits, RealStylesPasteTheirChordVariationAsItIs)
{
    test::forEachRealStyleEditor([](QeStyleEditor& editor) {
        _ULStESetQeVersion(editor.Handle(), 1);
        test::FakeStyUiPort ui;
        CStyItem item;
        CQeStyleTreeEdits edits(editor.Handle(), ui, 'X', &item);
        int from = -1, to = QeStyleEditor::CvCountOf(0) - 1;
        for (int cv = QeStyleEditor::CvCountOf(0) - 1; cv >= 0; --cv) {
            if (editor.QueryChordVar(0, cv) == 2) from = cv;
            if (editor.QueryChordVar(0, cv) == 0) to = cv;
        }
        ASSERT_GE(from, 0);
        const std::vector<uint8_t> original = editor.ExportSmf(0, from);
        edits.selection = {0, uint8_t(from), 255};
        edits.CopySelection();
        edits.selection = {0, uint8_t(to), 255};
        edits.PasteSelection();
        EXPECT_EQ(edits.edited, 1);
        EXPECT_EQ(editor.ExportSmf(0, to), original) << "CV " << from + 1 << " onto CV " << to + 1;
    });
}

TEST(CQeStyleTreeEdits, CopyingAndPastingAStyleElement)
{
    Tree source;
    source.style.cvWithNotes(4, 0, {0, 2}).cvWithNotes(4, 1, {3}).ntt(4, 2).program(4, 2, 0x79010005).range(4, 3, 30, 90);
    source.select(4);
    source.edits.CopySelection();
    ASSERT_TRUE(source.ui.clipboard);
    SeClipBlock block;
    ASSERT_EQ(SeClipBlock::Read(*source.ui.clipboard, block), TreeBlockError::None);
    EXPECT_EQ(block.letter, 'F');
    EXPECT_EQ(block.record.element, 4);
    EXPECT_EQ(block.record.cvCount, 2);
    EXPECT_EQ(block.record.ntt, 2);
    EXPECT_EQ(block.record.program[2], 0x79010005u);
    EXPECT_EQ(block.midi.size(), 2u);

    // Onto Intro2 of another style: its chord variations are replaced.
    Tree target;
    target.style.cvWithNotes(5, 0, {1}).cvWithNotes(0, 0, {0});
    target.ui.clipboard = source.ui.clipboard;
    target.select(5);
    target.edits.PasteSelection();
    EXPECT_EQ(target.query(5, 0), 2);
    EXPECT_EQ(target.query(5, 1), 2);
    uint8_t ntt = 0, low = 0;
    uint32_t program = 0;
    _ULStEGetNTT(target.style.editor(), 5, &ntt);
    _ULStEGetTrackProgram(target.style.editor(), 5, 2, &program);
    _ULStEGetTrackKBRangeLow(target.style.editor(), 5, 3, &low);
    EXPECT_EQ(ntt, 2);
    EXPECT_EQ(program, 0x79010005u);
    EXPECT_EQ(low, 30);
    EXPECT_EQ(target.item.sounds[5][2], 0x79010005u); // the list's summary follows
    EXPECT_EQ(target.edits.edited, 1);

    // An intro onto a variation is refused by name; Fill3 and Intro3 take nothing.
    target.select(0);
    target.edits.PasteSelection();
    EXPECT_EQ(target.ui.texts(), (std::vector<std::string>{"Cannot paste Intro1 instead of Variation1"}));
    target.ui.messages.clear();
    for (int e : {10, 11}) {
        target.select(e);
        target.edits.PasteSelection();
        EXPECT_TRUE(target.ui.messages.empty()) << e;
        EXPECT_EQ(target.query(e, 0), 0);
    }
    EXPECT_TRUE(CQeStyleTreeEdits::ElementsFit(2, 0));
    EXPECT_TRUE(CQeStyleTreeEdits::ElementsFit(9, 8));
    EXPECT_FALSE(CQeStyleTreeEdits::ElementsFit(6, 8));
    EXPECT_FALSE(CQeStyleTreeEdits::ElementsFit(10, 6));
}

TEST(CQeStyleTreeEdits, AnElementPasteChecksBeforeItDeletes)
{
    Tree source;
    source.style.cvWithNotes(4, 0, {0}).cvWithNotes(4, 1, {2});
    source.select(4);
    source.edits.CopySelection();
    SeClipBlock good;
    ASSERT_EQ(SeClipBlock::Read(*source.ui.clipboard, good), TreeBlockError::None);

    // More CVs than an intro holds, images beyond the block: refused, the target untouched.
    SeClipBlock six = good;
    six.record.cvCount = 6;
    six.midi.assign(6, good.midi[0]);
    std::vector<uint8_t> beyond = good.Bytes();
    beyond.resize(beyond.size() - 10);
    std::vector<uint8_t> tooMany = good.Bytes();
    tooMany[584 + 1] = 7;
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* text;
    } cases[] = {
        {"six CVs into an intro", six.Bytes(), "Wrong clipboard data size"},
        {"images beyond the block", beyond, "Wrong clipboard data size"},
        {"seven CVs", tooMany, "Wrong clipboard data size"},
        {"a CV block on an element", std::vector<uint8_t>(good.Bytes()), nullptr},
    };
    for (const auto& c : cases) {
        Tree target;
        target.style.cvWithNotes(4, 0, {1}).cvWithNotes(4, 1, {1});
        std::vector<uint8_t> bytes = c.bytes;
        if (!c.text) bytes[17] = 5;
        target.ui.clipboard = bytes;
        target.select(4);
        target.edits.PasteSelection();
        EXPECT_EQ(target.ui.lastText(), c.text ? c.text : "Wrong clipboard data format") << c.what;
        EXPECT_EQ(target.query(4, 0), 2) << c.what;
        EXPECT_EQ(target.query(4, 1), 2) << c.what;
        EXPECT_EQ(target.edits.edited, 0) << c.what;
    }

    // An image the library cannot import: refused before anything is deleted.
    SeClipBlock broken = good;
    broken.midi[1] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0x80};
    Tree target;
    target.style.cvWithNotes(4, 0, {1}).cvWithNotes(4, 1, {3});
    const int before = _ULStEExportSmfPrepare(target.style.editor(), 4, 1);
    target.ui.clipboard = broken.Bytes();
    target.select(4);
    target.edits.PasteSelection();
    EXPECT_EQ(target.ui.lastText(), "Cannot import CV MIDI buffer");
    EXPECT_EQ(target.query(4, 0), 2);
    EXPECT_EQ(target.query(4, 1), 2);
    EXPECT_EQ(_ULStEExportSmfPrepare(target.style.editor(), 4, 1), before);
    EXPECT_EQ(target.edits.edited, 0);
}

TEST(CQeStyleTreeEdits, ClipboardTroubles)
{
    const struct {
        const char* what;
        bool attaches;
        std::optional<std::vector<uint8_t>> clipboard;
        const char* text;
    } cases[] = {
        {"clipboard not opened", false, std::nullopt, "Cannot attach to clipboard"},
        {"nothing of ours", true, std::nullopt, "Wrong clipboard data format"},
        {"a list block", true, std::vector<uint8_t>(600, 0), "Wrong clipboard data format"},
        {"a short block", true, std::vector<uint8_t>(100, 0), "Wrong clipboard data format"},
    };
    for (const auto& c : cases) {
        Tree tree;
        tree.style.cvWithNotes(0, 0, {0});
        tree.ui.clipboardAttaches = c.attaches;
        tree.ui.clipboard = c.clipboard;
        tree.select(0, 1);
        tree.edits.PasteSelection();
        EXPECT_EQ(tree.ui.texts(), std::vector<std::string>{c.text}) << c.what;
        EXPECT_EQ(tree.query(0, 1), 0);
    }
}

} // namespace
} // namespace zib
