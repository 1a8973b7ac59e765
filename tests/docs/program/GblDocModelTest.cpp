// Global-data documents: the 448-byte file, its texts, the "Global Data"
// dialog with its "Pedal & SW" and "Scale" dialogs, and the Wq41 function table.
#include "docs/program/core/GblDocModel.h"
#include "docs/program/core/GlobalDataDlgModel.h"
#include "docs/program/core/Wq41FunctionTable.h"

#include "tests/docs/program/ProgramTestDoc.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace zib {
namespace {

using GblTestDoc = test::ProgramTestDoc<GblDocModel>;
using Said = std::vector<std::string>;
using G = GlobalDataDlgModel;

std::string value(const GblDocModel& doc, const std::string& name)
{
    for (const auto& row : doc.texts)
        if (row.name == name) return row.value;
    return "<no row " + name + ">";
}

TEST(GblDocOpen, SizesModelsAndRows)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> image;
        bool opens;
        Said said;
        int rows;
    };
    const Case cases[] = {
        {"m.gbl", test::gblImage('M'), true, {}, 49},
        {"i.GBL", test::gblImage('I'), true, {}, 69},
        {"short.gbl", [] { auto b = test::gblImage('M'); b.pop_back(); return b; }(), false, {"14"}, 0},
        {"long.gbl", [] { auto b = test::gblImage('I'); b.push_back(0); return b; }(), false, {"14"}, 0},
        {"empty.gbl", {}, false, {"46"}, 0},
        {"tiny.gbl", {'D', 'A'}, false, {"17"}, 0},
        {"x.gbl", test::gblImage('9'), false, {"18"}, 0},
    };
    for (const Case& c : cases) {
        GblTestDoc t;
        EXPECT_EQ(t.open(c.name, c.image), c.opens) << c.name;
        EXPECT_EQ(t.said(), c.said) << c.name;
        EXPECT_EQ(t.doc.RowCount(), c.rows) << c.name;
        EXPECT_EQ(int(t.doc.texts.size()), c.rows) << c.name;
        if (c.said == Said{"14"}) {
            EXPECT_EQ(t.captions(), Said{"ParseGbl"});
        }
    }
}

TEST(GblDocOpen, TextsOfBothModels)
{
    auto m = test::gblImage('M');
    m[32] = 0xF6; // master tune -10
    m[34] = 0x48; // joystick X low DIS, up2 PRG, up1 PRG; echo back MIDI
    m[38] = 0xFF; // global channel OFF
    m[40] = 0x08; // transpose position 2: "???"
    m[41] = 0x85;
    m[62] = 12, m[63] = 11;
    m[244] = 0;
    m[256] = 1;
    for (int i = 0; i < 12; ++i)
        m[64 + 12 * 13 + size_t(i)] = uint8_t(i - 2);
    GblTestDoc t;
    ASSERT_TRUE(t.open("m.gbl", m));
    EXPECT_EQ(value(t.doc, "Master Tune"), "-10");
    EXPECT_EQ(value(t.doc, "Joystick X Low"), "DIS");
    EXPECT_EQ(value(t.doc, "Joystick X Up2"), "PRG");
    EXPECT_EQ(value(t.doc, "Joystick X Up1"), "PRG");
    EXPECT_EQ(value(t.doc, "Echo Back"), "MIDI");
    EXPECT_EQ(value(t.doc, "Global MIDI Channel"), "OFF");
    EXPECT_EQ(value(t.doc, "Transpose Position"), "???");
    EXPECT_EQ(value(t.doc, "Program Change"), "ENABLED");
    EXPECT_EQ(value(t.doc, "Aftertouch"), "ENABLED");
    EXPECT_EQ(value(t.doc, "Bank Change"), "DISABLED");
    EXPECT_EQ(value(t.doc, "Discard Dask GM"), "ON ");
    EXPECT_EQ(value(t.doc, "Main Scale Type"), "USER SCALE 3");
    EXPECT_EQ(value(t.doc, "Main Scale Key"), "H");
    EXPECT_EQ(value(t.doc, "Velocity Input"), "Normal");
    EXPECT_EQ(value(t.doc, "EC5 Pedal A"), "Start/Stop");
    EXPECT_EQ(value(t.doc, "User Scale 14"), "C:-2, C#:-1, D:0, D#:1, E:2, F:3, F#:4, G:5, G#:6, A:7, A#:8, H:9");
    EXPECT_EQ(t.doc.texts[14].name, "      PEDALS");
    EXPECT_EQ(t.doc.texts[14].value, "----------");

    auto i = test::gblImage('I');
    i[51] = 6, i[52] = 31, i[47] = 1, i[35] = 70;
    GblTestDoc w;
    ASSERT_TRUE(w.open("i.gbl", i));
    EXPECT_EQ(value(w.doc, "Ritardando Type"), "7");
    EXPECT_EQ(value(w.doc, "Ritardando Beat"), "32");
    EXPECT_EQ(value(w.doc, "Switch 1"), "Start/Stop");
    EXPECT_EQ(value(w.doc, "Assignable Pedal 1"), "???");
    EXPECT_EQ(value(w.doc, "User Scale 32"), "C:0, C#:0, D:0, D#:0, E:0, F:0, F#:0, G:0, G#:0, A:0, A#:0, H:0");
    EXPECT_EQ(w.doc.texts[23].name, "      USER SCALES");
}

TEST(Wq41Functions, TheTableHoldsItsSixtyFiveCodes)
{
    const Wq41FunctionTable& table = builtInWq41Functions();
    EXPECT_TRUE(table.Problems().empty()) << table.Problems().front();
    ASSERT_EQ(table.Names().size(), 65u);
    EXPECT_EQ(table.Name(0), "Off");
    EXPECT_EQ(table.Name(1), "DRUM Play/Mute");
    EXPECT_EQ(table.Name(2), "PERC Play/Mute");
    EXPECT_EQ(table.Name(64), "Data Entry");
    EXPECT_EQ(table.Name(65), "???");
    EXPECT_EQ(table.Name(-1), "???");
    for (const auto& name : table.Names())
        EXPECT_LE(name.size(), 25u);
    Wq41FunctionTable bad;
    bad.LoadText("0\tOff\n2\tSkipped\n1\tA name of more than twenty-five characters\nx\ty\n");
    EXPECT_EQ(bad.Names().size(), 1u);
    EXPECT_EQ(bad.Problems().size(), 4u); // order, length, number, then the missing rows
}

// Every control moved to its next option (or toggled): the bytes it changed.
std::set<size_t> changedByControl(const GblDocModel& doc, int id)
{
    G dlg(doc);
    DialogControl* c = dlg.Control(id);
    EXPECT_TRUE(c) << id;
    if (!c || (c->kind != DialogControl::Kind::Check && c->options.empty())) return {};
    if (c->kind == DialogControl::Kind::Check)
        c->value = 1 - c->value;
    else
        c->value = (c->value + 1) % int(c->options.size());
    const auto after = dlg.Ok();
    std::set<size_t> out;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i] != doc.image[i]) out.insert(i);
    return out;
}

TEST(GblDialog, EveryControlWritesItsOwnBytes)
{
    struct Case {
        int id;
        std::set<size_t> m, i; // bytes changed in a WqR65 and a Wq41 block
    };
    const Case cases[] = {
        {G::kMasterTune, {32}, {32}},      {G::kDamper, {34}, {34}},        {G::kMidiClock, {40}, {40}},
        {G::kBaud, {40}, {40}},            {G::kTranspose, {40}, {40}},     {G::kClock, {40}, {40}},
        {G::kLocal, {40}, {40}},           {G::kDiscardGm, {41}, {41}},     {G::kExclusive, {41}, {41}},
        {G::kControlChange, {41}, {41}},   {G::kAftertouch, {41}, {41}},    {G::kProgBank, {41}, {41}},
        {G::kProgramChange, {41}, {41}},   {G::kChannel, {38}, {38}},       {G::kPedal1, {35}, {35}},
        {G::kPedal2, {}, {36}},            {G::kNormalType, {62}, {62}},    {G::kNormalKey, {63}, {63}},
        {G::kSpecialType, {60}, {60}},     {G::kSpecialKey, {61}, {61}},    {G::kVelocityCurve, {49}, {49}},
        {G::kAftertouchCurve, {50}, {50}}, {G::kRitType, {}, {51}},         {G::kRitBeat, {}, {52}},
        {G::kAccType, {}, {53}},           {G::kAccBeat, {}, {54}},         {G::kMidiInVelocity, {244}, {}},
        {G::kOctaveLow, {245}, {}},        {G::kOctaveUp, {245}, {}},       {G::kJoyLow, {34}, {}},
        {G::kJoyUp1, {34}, {}},            {G::kJoyUp2, {34}, {}},          {G::kEchoBack, {34}, {}},
    };
    GblTestDoc m, i;
    ASSERT_TRUE(m.open("m.gbl", test::gblImage('M')));
    ASSERT_TRUE(i.open("i.gbl", test::gblImage('I')));
    for (const Case& c : cases) {
        G mdlg(m.doc), idlg(i.doc);
        // Disabled controls of a model write nothing whatever they show.
        EXPECT_EQ(changedByControl(m.doc, c.id), mdlg.Control(c.id)->enabled ? c.m : std::set<size_t>{}) << c.id;
        EXPECT_EQ(changedByControl(i.doc, c.id), idlg.Control(c.id)->enabled ? c.i : std::set<size_t>{}) << c.id;
        EXPECT_EQ(mdlg.Control(c.id)->enabled, !c.m.empty()) << c.id;
        EXPECT_EQ(idlg.Control(c.id)->enabled, !c.i.empty()) << c.id;
    }
}

TEST(GblDialog, WhatOpensWithoutASelectionIsKeptByOk)
{
    auto m = test::gblImage('M');
    m[245] = 0xFE; // LOW -2, UP1/UP2 -1
    m[38] = 0xFF;  // global channel: none
    m[62] = 20;    // a main scale type past the WqR65's 14
    m[40] = 0x08;  // transpose "Pre-OSC MIDI": no WqR65 button
    m[35] = 35;    // a code of no pedal function
    m[34] = 0xC0;  // echo back 3: none
    m[32] = 60;    // master tune past +50
    GblTestDoc t;
    ASSERT_TRUE(t.open("m.gbl", m));
    G dlg(t.doc);
    EXPECT_EQ(dlg.Control(G::kOctaveLow)->options[size_t(dlg.Control(G::kOctaveLow)->value)], "-2");
    EXPECT_EQ(dlg.Control(G::kOctaveUp)->options[size_t(dlg.Control(G::kOctaveUp)->value)], "-1");
    for (int id : {G::kChannel, G::kNormalType, G::kTranspose, G::kPedal1, G::kEchoBack, G::kMasterTune})
        EXPECT_EQ(dlg.Control(id)->value, -1) << id;
    EXPECT_FALSE(dlg.Control(G::kTranspose)->optionEnabled[2]);
    EXPECT_EQ(dlg.Title(), std::string("WQR65 Global Data"));
    EXPECT_EQ(dlg.Ok(), m);

    // The Wq41's codes past its 65 functions: "???" in the pedal list, no selection, kept.
    auto i = test::gblImage('I');
    i[35] = 65, i[36] = 200, i[44] = 99;
    GblTestDoc w;
    ASSERT_TRUE(w.open("i.gbl", i));
    G wdlg(w.doc);
    EXPECT_EQ(wdlg.Title(), std::string("WQ41 Global Data"));
    EXPECT_EQ(wdlg.Control(G::kPedal1)->value, -1);
    EXPECT_EQ(wdlg.Control(G::kPedal2)->value, -1);
    EXPECT_EQ(wdlg.Control(G::kPedalList)->options[2], "Pedal C  : ???");
    EXPECT_EQ(wdlg.Control(G::kPedalList)->options[5], "Switch 1 : Off");
    EXPECT_EQ(wdlg.Ok(), i);
}

TEST(GblDialog, PedalAndScaleDialogsWriteIntoTheDialogsCopy)
{
    GblTestDoc t;
    ASSERT_TRUE(t.open("i.gbl", test::gblImage('I')));
    const auto before = t.doc.image;
    G dlg(t.doc);
    PedalSwDlgModel pedal = dlg.PedalSwDialog(6);
    EXPECT_EQ(pedal.name, "Switch 2");
    EXPECT_EQ(pedal.options.size(), 65u);
    pedal.selection = 64;
    dlg.SetPedalCode(6, pedal.Ok());
    EXPECT_EQ(dlg.Control(G::kPedalList)->options[6], "Switch 2 : Data Entry");

    ScaleDlgModel scale = dlg.ScaleDialog(31);
    EXPECT_EQ(scale.Label(), "UserScale 32");
    EXPECT_TRUE(scale.SetText(0, "-128"));
    EXPECT_TRUE(scale.SetText(11, "127"));
    EXPECT_FALSE(scale.SetText(5, "128"));  // what a byte cannot hold
    EXPECT_FALSE(scale.SetText(5, "-129"));
    EXPECT_FALSE(scale.SetText(5, "x"));
    dlg.SetScale(31, scale.Ok());
    EXPECT_EQ(t.doc.image, before); // nothing reaches the document before OK

    const auto out = dlg.Ok();
    EXPECT_EQ(out[48], 64);
    EXPECT_EQ(out[64 + 12 * 31], 0x80);
    EXPECT_EQ(out[64 + 12 * 31 + 11], 0x7F);
    t.doc.ApplyImage(out);
    EXPECT_EQ(value(t.doc, "Switch 2"), "???"); // the list's texts come from the shared tables
    EXPECT_EQ(value(t.doc, "User Scale 32").substr(0, 7), "C:-128,");

    // The WqR65's pedal dialog lists the footswitch functions.
    GblTestDoc m;
    ASSERT_TRUE(m.open("m.gbl", test::gblImage('M')));
    G mdlg(m.doc);
    const PedalSwDlgModel r65 = mdlg.PedalSwDialog(0);
    EXPECT_EQ(r65.options.size(), 42u);
    EXPECT_EQ(r65.options[size_t(r65.selection)], "Off");
}

TEST(GblDoc, SavesTheImageAndReopens)
{
    GblTestDoc t;
    auto image = test::gblImage('M', 3);
    ASSERT_TRUE(t.open("a.gbl", image));
    ASSERT_TRUE(t.doc.SaveTo(t.path("b.gbl")));
    EXPECT_EQ(test::readFileBytes(t.path("b.gbl")), image);
    EXPECT_FALSE(t.doc.modified);
    EXPECT_EQ(t.doc.path, t.path("b.gbl"));
}

} // namespace
} // namespace zib
