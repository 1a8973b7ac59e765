#include "app/core/CopyrightDlgModel.h"
#include "app/core/NewFileDlgModel.h"
#include "app/core/PsrToQeStyleDlgModel.h"

#include <gtest/gtest.h>

using namespace zib;

TEST(CopyrightDlgModel, TrimsAndRefusesBlankNames)
{
    EXPECT_EQ(CopyrightDlgModel::Caption("Zib", 0), "Zib - Copyright Dialog");
    CopyrightDlgModel m;
    EXPECT_FALSE(m.Ok(""));
    EXPECT_FALSE(m.Ok("   \t "));
    EXPECT_EQ(m.name(), "");
    EXPECT_TRUE(m.Ok("  Jane Doe\t"));
    EXPECT_EQ(m.name(), "Jane Doe");
}

TEST(NewFileDlgModel, ListsTemplatesAndSubTypes)
{
    using T = NewFileDlgModel::Template;
    const std::vector<T> all = {
        {"Midi Files (*.mid)", ".mid"},
        {"Style Files (*.sty)", ".sty"},
        {"Program Files (*.pcg;*.prg)", ".pcg;*.prg"},
        {"", ".prf"},
        {"Global Data Files (*.gbl)", ".gbl"},
        {"Arrangement Global Data Files (*.arg)", ".arg"},
    };
    NewFileDlgModel m;
    ASSERT_EQ(m.Begin(all), NewFileDlgModel::Start::Show);
    EXPECT_EQ(m.entryNames(), (std::vector<std::string>{"Midi Files (*.mid)", "Style Files (*.sty)",
                                                        "Program Files (*.pcg;*.prg)"}));
    EXPECT_EQ(m.templateIndex(), 0);
    EXPECT_EQ(m.subTypeNames(), (std::vector<std::string>{"Normal template", "16 track template"}));
    EXPECT_TRUE(m.subTypesEnabled());
    EXPECT_EQ(m.subType(), 0);
    m.ChooseSubType(1);
    EXPECT_EQ(m.subType(), 1);
    m.ChooseEntry(2);
    EXPECT_EQ(m.templateIndex(), 2);
    EXPECT_EQ(m.subTypeNames().size(), 3u);
    EXPECT_EQ(m.subType(), 0);
    m.ChooseEntry(1);
    EXPECT_FALSE(m.subTypesEnabled());
    EXPECT_TRUE(m.subTypeNames().empty());
    EXPECT_EQ(m.subType(), -1);
    m.ChooseEntry(-1);
    EXPECT_EQ(m.templateIndex(), -1);

    // Only MIDI templates: ends at once with OK; none at all: -1.
    NewFileDlgModel one;
    EXPECT_EQ(one.Begin({all[0], all[4]}), NewFileDlgModel::Start::EndOk);
    EXPECT_EQ(one.templateIndex(), 0);
    EXPECT_EQ(one.subType(), 0);
    NewFileDlgModel none;
    EXPECT_EQ(none.Begin({}), NewFileDlgModel::Start::EndMinusOne);
    EXPECT_EQ(none.Begin({all[3], all[5]}), NewFileDlgModel::Start::EndMinusOne);
}

TEST(PsrToQeStyleDlgModel, RadiosFollowTheLetterPairs)
{
    using G = PsrToQeStyleDlgModel::Group;
    PsrToQeStyleDlgModel m("ABCDBCEFAC");
    EXPECT_EQ(m.checked(G::Intro), 1803);
    EXPECT_EQ(m.checked(G::Fill), 1838);
    EXPECT_EQ(m.checked(G::Ending), 1818);
    EXPECT_EQ(m.Ok(), "ABCDBCEFAC");

    // First four letters are always ABCD; others as chosen.
    PsrToQeStyleDlgModel odd("XYZWABADAB");
    odd.Check(G::Fill, 1827);
    EXPECT_EQ(odd.Ok(), "ABCDABBFAB");

    PsrToQeStyleDlgModel d("ABCDBCEFAC");
    d.Default();
    EXPECT_EQ(d.Ok(), "ABCDABADAB");

    // Pairs no radio has: nothing checked, the letters kept.
    PsrToQeStyleDlgModel none("ABCDCCFAZZ");
    EXPECT_EQ(none.checked(G::Intro), 0);
    EXPECT_EQ(none.checked(G::Fill), 0);
    EXPECT_EQ(none.checked(G::Ending), 0);
    EXPECT_EQ(none.Ok(), "ABCDCCFAZZ");

    // Wrong length: the default text.
    EXPECT_EQ(PsrToQeStyleDlgModel("ABC").Ok(), "ABCDABADAB");
    EXPECT_EQ(PsrToQeStyleDlgModel::Radios(G::Fill).size(), 15u);
    EXPECT_EQ(PsrToQeStyleDlgModel::Radios(G::Fill)[2].label, "Fill_In AA and BB");
}
