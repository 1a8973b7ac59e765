// The style-editor handle: reading and making resources, signatures,
// VexSound conversion and the exchange of CVs with Standard MIDI Files.

#include "ulvarf/CChunkNav.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/CResourceInstance.h"
#include "ulvarf/CStyleEditor.h"
#include "ulvarf/QeTime.h"

#include "tests/support/ChunkBuilder.h"
#include "tests/support/DasfImageBuilder.h"
#include "tests/support/QeStyleBuilder.h"
#include "tests/support/SmfBuilder.h"

#include <gtest/gtest.h>

#include <vector>

namespace zib::ulvarf {
namespace {

using Bytes = std::vector<uint8_t>;
using zib::test::PropStreamBuilder;

std::unique_ptr<CResourceInstance> resourceOf(const Bytes& serialised)
{
    auto resource = CResourceInstance::FromSerialised(serialised);
    EXPECT_TRUE(resource);
    return resource;
}

// The style chunk inside a resource, decompressed.
Bytes styleChunkOf(const CResourceInstance& resource)
{
    CChunkNav wrapper(resource.chunk(), 0);
    EXPECT_TRUE(wrapper.Decompress(true));
    EXPECT_TRUE(wrapper.Enter());
    return {wrapper.Chunk().begin(), wrapper.Chunk().end()};
}

TEST(CStyleEditor, ResourcesOfOtherTypesIdsOrShapesAreRefused)
{
    const Bytes style = zib::test::sampleQeStyleChunk();
    EXPECT_TRUE(CStyleEditor::FromResource(*resourceOf(zib::test::qeStyleResource(style, 2))));
    auto pad = CStyleEditor::FromResource(*resourceOf(zib::test::qeStyleResource(style, 9)));
    ASSERT_TRUE(pad);
    EXPECT_TRUE(pad->type9());

    Bytes wrongType = zib::test::qeStyleResource(style, 2);
    wrongType[0] = 7;
    Bytes wrongId1 = zib::test::qeStyleResource(style, 2);
    wrongId1[1] = 1;
    Bytes wrongId2 = zib::test::qeStyleResource(style, 2);
    wrongId2[2] = 1;
    const Bytes leaf = zib::test::qeStyleResource(zib::test::ChunkBuilder().leaf(0x01, 0, 0, 0x08, {1, 2, 3}).bytes());
    const Bytes newForm = zib::test::qeStyleResource(zib::test::ChunkBuilder().open(0x01, 0, 0, 0x10).close().bytes());
    const Bytes otherId = zib::test::qeStyleResource(zib::test::ChunkBuilder().open(0x02, 0, 0, 0x00).close().bytes());
    const Bytes noChild = zib::test::serialisedResInstance(2, 0, 0, 0, zib::test::chunkHead(0x06, 0, 0, 0x10, 0));
    for (const Bytes* serial : std::vector<const Bytes*>{&wrongType, &wrongId1, &wrongId2, &leaf, &newForm, &otherId, &noChild}) {
        EXPECT_FALSE(CStyleEditor::FromResource(*resourceOf(*serial)));
    }

    // A compressed chunk whose check byte is wrong does not decompress.
    auto good = resourceOf(zib::test::qeStyleResource(style, 2));
    Bytes serial(good->SerialisedSize());
    ASSERT_TRUE(good->PutSerialised(serial));
    ASSERT_TRUE(serial[8 + 3] & 0x20);
    serial.back() ^= 0x55;
    EXPECT_FALSE(CStyleEditor::FromResource(*resourceOf(serial)));
}

TEST(CStyleEditor, ResourcesAreMadeInTheWrapperOfTheirKind)
{
    for (bool pad : {false, true}) {
        auto editor = CStyleEditor::NewStyle(pad);
        auto resource = editor->CreateResource();
        ASSERT_TRUE(resource);
        EXPECT_EQ(resource->type(), pad ? 9 : 2);
        EXPECT_EQ(resource->id1(), 0);
        EXPECT_EQ(resource->id2(), 0);
        EXPECT_EQ(resource->chunk().id(), pad ? 0x0C : 0x06);
        EXPECT_EQ(resource->chunk().flags(), 0x30);
        const Bytes chunk = styleChunkOf(*resource);
        EXPECT_EQ(chunk[0], 0x01);
        EXPECT_EQ(chunk[1], 0x01); // version 1
    }
}

TEST(CStyleEditor, SetSignatureGivesPresentCvsTheSignatureAndTheirLength)
{
    auto editor = CStyleEditor::NewStyle(false);
    CNstQeIfc& style = editor->style();
    style.Pattern(1, 0, 2);
    style.ChordVar(1, 4).bars = 3;
    editor->SetSignature(1, 0x33);
    const CNstStyleElem& element = *style.FindElement(1);
    EXPECT_EQ(element.numerator, 4);
    EXPECT_EQ(element.log2Denominator, 3);
    EXPECT_EQ(style.FindChordVar(1, 0)->length, 1536u);
    EXPECT_EQ(style.FindChordVar(1, 4)->length, 2304u);
    EXPECT_EQ(style.FindChordVar(1, 0)->patterns[2].log2Denominator, 3);
    EXPECT_EQ(style.FindChordVar(1, 0)->patterns[3].log2Denominator, 2); // not created
    EXPECT_EQ(style.QueryChordVar(1, 1), 0);
    EXPECT_EQ(editor->GetSignature(1), 0x33);

    // The element byte keeps 3 bits of log2 denominator: 3/32 up to 3/128 are
    // stored, 3/256 is not.
    for (uint8_t packed : {0x52, 0x62, 0x72}) {
        editor->SetSignature(1, packed);
        EXPECT_EQ(editor->GetSignature(1), packed);
        EXPECT_EQ(style.FindChordVar(1, 0)->length, 2 * BarLength(3, packed >> 4));
    }
    editor->SetSignature(1, 0x82);
    EXPECT_EQ(editor->GetSignature(1), 0x72);
    EXPECT_EQ(editor->GetSignature(7), 0x23); // made, 4/4
}

TEST(CStyleEditor, NotesOutsideTheirRangeBecomeVexSoundsAndBack)
{
    auto editor = CStyleEditor::NewStyle(false);
    CNstQeIfc& style = editor->style();
    const Bytes notes = PropStreamBuilder()
                            .noteOn(0, 30).note(0, 50, 90, 96).noteOn(0, 80)
                            .noteOff(96, 30).noteOff(96, 80).control(100, 64, 0)
                            .end(3072);
    for (int t : {0, 1, 2}) style.Pattern(0, 0, t).SetStream(notes);
    const uint8_t ranges[8][2] = {{40, 70}, {0, 127}, {60, 90}, {40, 70}, {0, 0}, {0, 0}, {0, 0}, {0, 0}};
    editor->ConvertNoteToVexSound(0, 0, ranges);

    // Plain notes outside the range become VexSounds; the note with a
    // duration is not converted, and the re-encoding (both switches off)
    // gives it as a note on and off.
    const CNstChordVar& cv = *style.FindChordVar(0, 0);
    EXPECT_EQ(cv.patterns[0].stream, PropStreamBuilder()
                                         .channel(0, 13, {30, 100}).noteOn(0, 50, 90).channel(0, 13, {80, 100})
                                         .noteOff(96, 50).channel(96, 12, {30, 64}).channel(96, 12, {80, 64})
                                         .control(100, 64, 0).end(3072));
    EXPECT_EQ(cv.patterns[1].stream, notes); // range 0-127: left alone
    EXPECT_EQ(cv.patterns[2].stream, PropStreamBuilder()
                                         .channel(0, 13, {30, 100}).noteOn(0, 50, 90).noteOn(0, 80)
                                         .noteOff(96, 50).channel(96, 12, {30, 64}).noteOff(96, 80)
                                         .control(100, 64, 0).end(3072));
    EXPECT_EQ(style.QueryPattern(0, 0, 3), 0); // not created: not made either

    // Back to notes: every created pattern is re-encoded, converted or not.
    editor->ConvertVexSoundToNote(0, 0);
    const Bytes plain = PropStreamBuilder()
                            .noteOn(0, 30).noteOn(0, 50, 90).noteOn(0, 80)
                            .noteOff(96, 50).noteOff(96, 30).noteOff(96, 80).control(100, 64, 0)
                            .end(3072);
    for (int t : {0, 1, 2}) EXPECT_EQ(cv.patterns[size_t(t)].stream, plain) << t;
}

TEST(CStyleEditor, ARefusedFileLeavesTheStyleUnchanged)
{
    auto editor = CStyleEditor::NewStyle(false);
    const Bytes format1 = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0x01, 0x80,
                           'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0};
    EXPECT_FALSE(editor->ImportSmf(format1, 3, 1));
    EXPECT_FALSE(editor->ImportSmf({}, 3, 1));
    EXPECT_EQ(editor->style().QueryStyleElem(3), 0);
    EXPECT_EQ(editor->tempo(), 120);
}

TEST(CStyleEditor, AnImportSetsSignatureAndTrackRecordsOnlyOfAnElementWithoutData)
{
    // A 3/4 file: bass (channel 9) with program 33 and expression 90 at tick 0.
    zib::test::SmfBuilder smf(0, 384);
    smf.AddTrack()
        .TimeSig(0, 3, 2)
        .Controller(0, 8, 11, 90)
        .Program(0, 8, 33)
        .NoteOn(0, 8, 40, 100)
        .NoteOff(1000, 8, 40)
        .EndAt(2304);
    const Bytes file = smf.Build();

    auto editor = CStyleEditor::NewStyle(false);
    CNstQeIfc& style = editor->style();
    // Element 3 holds data in CV 0; element 5 exists but holds none.
    style.Pattern(3, 0, 0).SetStream(PropStreamBuilder().noteOn(0, 36, 100, 9).noteOff(96, 36, 64, 9).end(3072));
    style.Element(3).tracks[2].program = 7;
    style.ChordVar(5, 0);
    for (int e : {3, 5}) ASSERT_TRUE(editor->ImportSmf(file, e, 1)) << e;

    const CNstStyleElem& kept = *style.FindElement(3);
    EXPECT_EQ(editor->GetSignature(3), 0x23); // still 4/4
    EXPECT_EQ(kept.tracks[2].program, 7);
    EXPECT_EQ(kept.tracks[2].expression, 121);
    const CNstChordVar& keptCv = *style.FindChordVar(3, 1);
    EXPECT_EQ(keptCv.numerator, 4);
    EXPECT_EQ(keptCv.bars, 2);           // 2304 ticks of 4/4
    EXPECT_EQ(keptCv.length, 2u * 1536u);

    const CNstStyleElem& taken = *style.FindElement(5);
    EXPECT_EQ(editor->GetSignature(5), 0x22); // 3/4
    EXPECT_EQ(taken.tracks[2].program, 33);
    EXPECT_EQ(taken.tracks[2].expression, 90);
    const CNstChordVar& takenCv = *style.FindChordVar(5, 1);
    EXPECT_EQ(takenCv.numerator, 3);
    EXPECT_EQ(takenCv.bars, 2);
    EXPECT_EQ(takenCv.length, 2u * 1152u);
    EXPECT_EQ(style.QueryPattern(5, 1, 2), 2);
    EXPECT_EQ(style.QueryPattern(5, 1, 0), 0);
}

TEST(CStyleEditor, ACvTravelsThroughAStandardMidiFile)
{
    auto editor = CStyleEditor::NewStyle(false);
    CNstQeIfc& style = editor->style();
    // Events on the channel of their track, as an imported file has them.
    const Bytes drums = PropStreamBuilder().noteOn(0, 36, 100, 9).noteOff(96, 36, 64, 9).noteOn(768, 38, 90, 9)
                            .noteOff(800, 38, 64, 9).end(3072);
    const Bytes bass = PropStreamBuilder().noteOn(0, 40, 100, 8).noteOff(700, 40, 64, 8).noteOn(1536, 43, 100, 8)
                           .noteOff(3000, 43, 64, 8).end(3072);
    style.Pattern(0, 0, 0).SetStream(drums);
    style.Pattern(0, 0, 0).length = 3072;
    style.Pattern(0, 0, 2).SetStream(bass);
    style.Pattern(0, 0, 2).length = 3072;
    editor->SetTempo(100);

    EXPECT_FALSE(editor->ExportSmfFill({}));
    const size_t size = editor->ExportSmfPrepare(0, 0);
    ASSERT_GT(size, 22u);
    Bytes smf(size);
    EXPECT_FALSE(editor->ExportSmfFill(std::span(smf).first(size - 1)));
    ASSERT_TRUE(editor->ExportSmfFill(smf));
    EXPECT_EQ(Bytes(smf.begin(), smf.begin() + 14),
              (Bytes{0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x01, 0x80}));

    // The patterns come back behind the bank selects and program change of
    // the track record (DRUM 0/0/0, BASS 0/32/0) that the export writes first.
    const Bytes drumsBack = PropStreamBuilder().control(0, 0, 0, 9).control(0, 32, 0, 9)
                                .channel(0, 4, {0x80}, 9).noteOn(0, 36, 100, 9).noteOff(96, 36, 64, 9)
                                .noteOn(768, 38, 90, 9).noteOff(800, 38, 64, 9).end(3072);
    const Bytes bassBack = PropStreamBuilder().control(0, 0, 0, 8).control(0, 32, 32, 8)
                               .channel(0, 4, {0x80}, 8).noteOn(0, 40, 100, 8).noteOff(700, 40, 64, 8)
                               .noteOn(1536, 43, 100, 8).noteOff(3000, 43, 64, 8).end(3072);
    auto other = CStyleEditor::NewStyle(false);
    ASSERT_TRUE(other->ImportSmf(smf, 2, 1));
    EXPECT_EQ(other->tempo(), 100);
    EXPECT_EQ(other->style().QueryChordVar(2, 1), 2);
    EXPECT_EQ(other->style().FindChordVar(2, 1)->length, 3072u);
    EXPECT_EQ(other->style().FindChordVar(2, 1)->patterns[0].stream, drumsBack);
    EXPECT_EQ(other->style().FindChordVar(2, 1)->patterns[2].stream, bassBack);
    EXPECT_EQ(other->style().QueryPattern(2, 1, 1), 0);

    // An empty "New Style" CV exports too.
    auto empty = CStyleEditor::NewStyle(false);
    EXPECT_GT(empty->ExportSmfPrepare(0, 0), 22u);
    EXPECT_EQ(empty->style().QueryChordVar(0, 0), 1);
}

} // namespace
} // namespace zib::ulvarf
