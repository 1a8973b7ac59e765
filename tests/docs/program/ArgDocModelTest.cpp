// Arrangement-global documents: the 80-byte file, its rows and texts, the
// dialogs of both models and the "Midi Channel" dialog.
#include "docs/program/core/ArgDocModel.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/core/MidiChannelDlgModel.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace zib {
namespace {

using ArgTestDoc = test::ProgramTestDoc<ArgDocModel>;
using Said = std::vector<std::string>;

TEST(ArgDocOpen, OnlyAnEightyByteFileOfAWqR65OrWq41Opens)
{
    auto x = test::argImage('X');
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        bool opens;
        Said said;
    };
    const Case cases[] = {
        {"a.arg", test::argImage('M'), true, {}},
        {"lower.arg", test::argImage('I'), true, {}},
        {"a.ARG", [] { auto b = test::argImage('M'); b.pop_back(); return b; }(), false,
         {"Bad file size!!! File possibly corrupted!!!"}},
        {"b.arg", [] { auto b = test::argImage('I'); b.push_back(0); return b; }(), false,
         {"Bad file size!!! File possibly corrupted!!!"}},
        {"huge.arg", [] { auto b = test::argImage('M'); b.resize(1 << 20); return b; }(), false,
         {"Bad file size!!! File possibly corrupted!!!"}},
        {"empty.arg", {}, false, {"46"}},
        {"tiny.arg", {'D', 'A', 'S', 'K'}, false, {"17"}}, // the letter is not read past the file
        {"other.arg", {'K', 'S', 'A', 'D', 'M', 0}, false, {"17"}},
        {"x.arg", x, false, {"18"}},
        {"a.gbl", test::argImage('M'), false, {}},
    };
    for (const Case& c : cases) {
        ArgTestDoc t;
        EXPECT_EQ(t.open(c.name, c.image), c.opens) << c.name;
        EXPECT_EQ(t.said(), c.said) << c.name;
        if (!c.opens) {
            EXPECT_TRUE(t.doc.rows.empty()) << c.name;
            continue;
        }
        EXPECT_EQ(t.port.lastOpenedKind, 8);
    }
    ArgTestDoc t;
    EXPECT_FALSE(t.open("a.ARG", [] { auto b = test::argImage('M'); b.pop_back(); return b; }()));
    EXPECT_EQ(t.captions(), Said{"ParseArg"});
}

TEST(ArgDocOpen, RowsAndTheirTexts)
{
    auto m = test::argImage('M');
    m[32] = 0;    // UP1 channel 1
    m[40] = 0xFF; // ACC3 read unsigned: "???"
    m[43] = 0xFF; // Chord1 signed: "OFF"
    m[44] = 16;   // past the channels
    m[70] = 0x08; // lower memory type 0 ("???"), target HARM... bits 2-3 = 2: BOTH
    m[68] = 0x12; // One Finger, ON & OFF
    m[69] = 1;
    ArgTestDoc t;
    ASSERT_TRUE(t.open("m.arg", m));
    ASSERT_EQ(t.doc.RowCount(), 22);
    ASSERT_EQ(t.doc.texts.size(), 22u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"      MIDI CHANNELS", "----------"},
        {"UP1 MIDI Channel", "1"},
        {"UP2 MIDI Channel", "1"},
        {"LOW MIDI Channel", "1"},
        {"DRUM MIDI Channel", "1"},
        {"PERC MIDI Channel", "1"},
        {"BASS MIDI Channel", "1"},
        {"ACC1 MIDI Channel", "1"},
        {"ACC2 MIDI Channel", "1"},
        {"ACC3 MIDI Channel", "???"},
        {"Chord1 MIDI Channel", "OFF"},
        {"Chord2 MIDI Channel", "???"},
        {"ArrChange MIDI Channel", "1"},
        {"KbdSet MIDI Channel", "1"},
        {"      LOWER MEMORY", "----------"},
        {"Lower Memory Type", "???"},
        {"Target", "BOTH"},
        {"      CHORD RECOGNITION", "----------"},
        {"Chord Recognition Type", "One Finger"},
        {"Trigger Mode", "ON & OFF"},
        {"      CHORD SCAN", "----------"},
        {"Auto Chord Scan", "ON"},
    };
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(t.doc.texts[i].name, expected[i].first) << i;
        EXPECT_EQ(t.doc.texts[i].value, expected[i].second) << i;
    }

    auto i41 = test::argImage('I');
    i41[49] = 0x11; // harmony ACTUAL, sound memory on
    i41[56] = 2;    // synchro stop only
    i41[58] = 3;
    i41[68] = 1;
    ArgTestDoc w;
    ASSERT_TRUE(w.open("i.arg", i41));
    ASSERT_EQ(w.doc.RowCount(), 36);
    EXPECT_EQ(w.doc.texts[10].name, "Harmony MIDI Channel");
    EXPECT_EQ(w.doc.texts[12].value, "1"); // Chord: 0 read signed
    EXPECT_EQ(w.doc.texts[19].value, "FILL 2");
    EXPECT_EQ(w.doc.texts[22].value, "ACTUAL");
    EXPECT_EQ(w.doc.texts[25].value, "ON ");
    EXPECT_EQ(w.doc.texts[27].name, "Emsemble SW");
    EXPECT_EQ(w.doc.texts[32].value, "OFF");
    EXPECT_EQ(w.doc.texts[33].value, "ON ");
    EXPECT_EQ(w.doc.texts[35].value, "Normal");
}

// Sets the control to its next option (or toggles it) and gives the changed bytes.
std::set<size_t> changedByControl(const ArgDocModel& doc, int id)
{
    ArgGlobalDlgModel dlg(doc);
    DialogControl* c = dlg.Control(id);
    EXPECT_TRUE(c) << id;
    c->value = c->kind == DialogControl::Kind::Check ? 1 - c->value : (c->value + 1) % int(c->options.size());
    const auto after = dlg.Ok();
    std::set<size_t> out;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i] != doc.image[i]) out.insert(i);
    return out;
}

TEST(ArgDialog, EverySwitchWritesItsOwnByte)
{
    auto m = test::argImage('M');
    m[68] = 0x01, m[69] = 0, m[70] = 0x01;
    ArgTestDoc r65;
    ASSERT_TRUE(r65.open("m.arg", m));
    struct Case {
        int id;
        std::set<size_t> bytes;
    };
    for (const Case& c : {Case{1337, {69}}, Case{1338, {70}}, Case{1605, {70}}, Case{1329, {68}}, Case{1608, {68}}})
        EXPECT_EQ(changedByControl(r65.doc, c.id), c.bytes) << c.id;

    ArgTestDoc wq41;
    ASSERT_TRUE(wq41.open("i.arg", test::argImage('I')));
    const Case cases[] = {{1312, {57}}, {1313, {58}}, {1317, {64}}, {1318, {49}}, {1320, {56}}, {1321, {56}},
                          {1322, {48}}, {1323, {49}}, {1324, {50}}, {1325, {54}}, {1326, {52}}, {1327, {53}},
                          {1328, {59}}, {1329, {68}}};
    for (const Case& c : cases)
        EXPECT_EQ(changedByControl(wq41.doc, c.id), c.bytes) << c.id;
}

TEST(ArgDialog, OkWithoutEditsAndRadioGroupsWithNothingCheckedKeepEveryByte)
{
    for (int model : {'M', 'I'}) {
        auto image = test::argImage(model, 0x5A); // values no control shows: nothing checked or selected
        ArgTestDoc t;
        ASSERT_TRUE(t.open("a.arg", image));
        ArgGlobalDlgModel dlg(t.doc);
        EXPECT_EQ(dlg.Ok(), image) << char(model);
    }
    // Lower memory type 0: no "Type" button is checked and OK keeps bits 0-1 as 0.
    auto m = test::argImage('M');
    m[70] = 0x04;
    ArgTestDoc t;
    ASSERT_TRUE(t.open("m.arg", m));
    ArgGlobalDlgModel dlg(t.doc);
    EXPECT_EQ(dlg.Control(1338)->value, -1);
    EXPECT_EQ(dlg.Control(1605)->value, 1);
    EXPECT_EQ(dlg.Ok()[70], 0x04);
    EXPECT_EQ(dlg.Title(), std::string("WQR65 Arrangement Global Data"));
}

TEST(ArgDialog, ChannelsGoThroughTheMidiChannelDialog)
{
    auto m = test::argImage('M');
    m[40] = 0xFF; // Acc3: no OFF offered, the byte read unsigned
    ArgTestDoc t;
    ASSERT_TRUE(t.open("m.arg", m));
    ArgGlobalDlgModel dlg(t.doc);
    ASSERT_EQ(dlg.records.size(), 13u);
    EXPECT_EQ(dlg.ChannelLine(0), "Up1Kbd   : 1");
    EXPECT_EQ(dlg.ChannelLine(8), "Acc3     : ???");

    // Up1Kbd offers no OFF; the list is sorted as text.
    MidiChannelDlgModel up1(dlg.records[0].label, dlg.Datum(0));
    EXPECT_EQ(up1.options, (std::vector<std::string>{"1", "10", "11", "12", "13", "14", "15", "16", "2", "3", "4",
                                                     "5", "6", "7", "8", "9"}));
    EXPECT_EQ(up1.options[size_t(up1.selection)], "1");
    MidiChannelDlgModel chord1(dlg.records[9].label, dlg.Datum(9));
    EXPECT_EQ(chord1.options.back(), "OFF");
    chord1.selection = int(chord1.options.size()) - 1;
    dlg.SetChannelDatum(chord1.Ok());
    EXPECT_EQ(dlg.ChannelLine(9), "Chord1   : OFF");
    // Acc3 at 0xFF: the channel dialog selects nothing, and its OK keeps the byte.
    MidiChannelDlgModel acc3(dlg.records[8].label, dlg.Datum(8));
    EXPECT_EQ(acc3.selection, -1);
    EXPECT_EQ(acc3.Ok(), dlg.Datum(8));
    dlg.SetChannelDatum(acc3.Ok());
    MidiChannelDlgModel up2(dlg.records[1].label, dlg.Datum(1));
    up2.selection = 1; // "10"
    dlg.SetChannelDatum(up2.Ok());

    auto out = dlg.Ok();
    EXPECT_EQ(out[43], 0xFF);
    EXPECT_EQ(out[33], 9);
    EXPECT_EQ(out[40], 0xFF);
    t.doc.ApplyImage(out);
    EXPECT_EQ(t.doc.texts[10].value, "OFF");
    EXPECT_EQ(t.doc.texts[2].value, "10");
    EXPECT_TRUE(t.doc.modified);

    // The Wq41's K.Bass offers no OFF, its Chord does.
    ArgTestDoc i;
    ASSERT_TRUE(i.open("i.arg", test::argImage('I')));
    ArgGlobalDlgModel w(i.doc);
    EXPECT_EQ(w.Datum(10) & 1, 1u);
    EXPECT_EQ(w.Datum(11) & 1, 0u);
    EXPECT_EQ(w.Datum(11) >> 24, 11u);
}

TEST(ArgDoc, SavesTheImageAndReopens)
{
    ArgTestDoc t;
    auto image = test::argImage('I', 1);
    ASSERT_TRUE(t.open("a.arg", image));
    image[57] = 0;
    t.doc.ApplyImage(image);
    ASSERT_TRUE(t.doc.SaveTo(t.path("b.arg")));
    EXPECT_EQ(test::readFileBytes(t.path("b.arg")), image);
    ArgTestDoc again;
    ASSERT_TRUE(again.open("b.arg", image));
    EXPECT_EQ(again.doc.texts[18].value, "OFF");
}

} // namespace
} // namespace zib
