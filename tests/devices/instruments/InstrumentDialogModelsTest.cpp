// The models behind the Add Instruments, Configure Instruments and
// Port - Instrument Relation dialogs.
#include "devices/core/AddInstrumentsModel.h"
#include "devices/core/ConnectorLine.h"
#include "devices/core/InstrumentTree.h"
#include "devices/core/PortInstrumentDlgModel.h"

#include "ui/core/UserMidiPortMap.h"

#include <gtest/gtest.h>

namespace zib {
namespace {

TEST(AddInstrumentsModel, KeepsOnlyTheChosenNames)
{
    std::vector<std::string> wanted = {"A", "", "B", "C", "B"};
    AddInstrumentsModel model(wanted);
    ASSERT_EQ(model.Items().size(), 4u) << "empty names are not listed";
    EXPECT_EQ(model.Items()[1].name, "B");
    EXPECT_EQ(model.Items()[1].index, 2u);
    model.Apply({false, true, false, true});
    EXPECT_EQ(wanted, (std::vector<std::string>{"", "B", "B"}));

    std::vector<std::string> none = {"A", "B"};
    AddInstrumentsModel nothing(none);
    nothing.Apply({});
    EXPECT_TRUE(none.empty());
}

TEST(InstrumentTree, ShowsEveryInstrumentWithItsListsAndNames)
{
    auto synth = std::make_shared<CInsInstrument>("Synth");
    CInsPatchNames bank;
    bank.name = "Bank 5";
    bank.bank = 5;
    bank.names[3] = "Three";
    synth->patchLists.push_back(bank);
    for (auto [b, p, name] : {std::tuple{2, 7, "Both"}, {2, -1, "Bank only"}, {-1, 7, "Patch only"}, {-1, -1, "Any"}}) {
        CInsNoteNames kit;
        kit.name = name;
        kit.bank = b;
        kit.patch = p;
        synth->noteLists.push_back(kit);
    }
    const InstrumentTreeItem root = BuildInstrumentTree({std::make_shared<CInsInstrument>("default"), synth});
    EXPECT_EQ(root.text, "Instruments");
    ASSERT_EQ(root.children.size(), 2u);
    const InstrumentTreeItem& item = root.children[1];
    EXPECT_EQ(item.level, InstrumentTreeItem::Instrument);
    EXPECT_EQ(item.text, "Synth");
    ASSERT_EQ(item.children.size(), 3u);
    EXPECT_EQ(item.children[0].text, "Patch Names");
    EXPECT_EQ(item.children[1].text, "Note Names");
    EXPECT_EQ(item.children[2].text, "Controller Names");

    const auto& patches = item.children[0].children;
    ASSERT_EQ(patches.size(), 2u);
    EXPECT_EQ(patches[0].text, "(*) - General MIDI");
    EXPECT_EQ(patches[0].children.size(), 128u);
    EXPECT_EQ(patches[0].children[4].text, "4 = \"Rhodes Piano\"");
    EXPECT_EQ(patches[1].text, "5 - Bank 5");
    ASSERT_EQ(patches[1].children.size(), 1u);
    EXPECT_EQ(patches[1].children[0].level, InstrumentTreeItem::Name);
    EXPECT_EQ(patches[1].children[0].text, "3 = \"Three\"");

    const auto& notes = item.children[1].children;
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[0].text, "[2,7] - Both");
    EXPECT_EQ(notes[1].text, "[2,*] - Bank only");
    EXPECT_EQ(notes[2].text, "[*,7] - Patch only");
    EXPECT_EQ(notes[3].text, "[*,*] - Any");
    EXPECT_EQ(item.children[2].children.at(0).text, "Standard");
}

// The application's relations, instruments and ports behind one dialog.
struct RelationDialog {
    RelationArray relations;
    InstrumentArray instruments{std::make_shared<CInsInstrument>("default"), std::make_shared<CInsInstrument>("Synth"),
                                std::make_shared<CInsInstrument>("Drums"), std::make_shared<CInsInstrument>("")};
    UserMidiPortMap ports;
    PortNameArray names;

    RelationDialog()
    {
        ports[0] = {0, 1};
        ports[2] = {1, 1};
        ports[3] = {1, 0};
        for (int p = 0; p < 128; ++p)
            names[size_t(p)] = "port " + std::to_string(p + 1);
    }
    PortInstrumentDlgModel Open(int port = -1, int channel = 0, int devices = 2)
    {
        return PortInstrumentDlgModel(relations, instruments, ports, devices, names, port, channel);
    }
};

TEST(PortInstrumentDlgModel, ListsEnabledPortsAndNamedInstruments)
{
    RelationDialog d;
    auto model = d.Open(2, 20, 3);
    ASSERT_EQ(model.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
    ASSERT_EQ(model.Ports().size(), 2u);
    EXPECT_EQ(model.Ports()[1].text, "port 3");
    EXPECT_EQ(model.PortRow(), 1);
    EXPECT_EQ(model.CurrentPort(), 2);
    EXPECT_EQ(model.CurrentChannel(), 0) << "a channel outside 0-15 selects the first";
    ASSERT_EQ(model.Instruments().size(), 3u);
    EXPECT_EQ(model.Instruments()[2].name, "Drums");
    EXPECT_EQ(model.InstrumentRow(), 0);

    // Only the first N ports count, N being the number of devices.
    EXPECT_EQ(d.Open(-1, 0, 2).Initialise(), PortInstrumentDlgModel::InitResult::Ok);
    auto onePort = d.Open(2, 0, 1);
    ASSERT_EQ(onePort.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
    EXPECT_EQ(onePort.Ports().size(), 1u);
    EXPECT_EQ(onePort.CurrentPort(), 0) << "the initial port is not listed";

    EXPECT_EQ(d.Open(-1, 0, 0).Initialise(), PortInstrumentDlgModel::InitResult::NoOutPorts);
    d.instruments.clear();
    EXPECT_EQ(d.Open().Initialise(), PortInstrumentDlgModel::InitResult::NoInstruments);
}

TEST(PortInstrumentDlgModel, RelatesInstrumentsToTheSelectedChannels)
{
    RelationDialog d;
    {
        auto model = d.Open(-1, 0, 3);
        ASSERT_EQ(model.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
        model.SelectPort(1);
        EXPECT_EQ(model.CurrentPort(), 2);
        model.SelectChannels({1, 2, 3});
        model.SelectInstrument(2);
        EXPECT_TRUE(model.Modified());
        EXPECT_TRUE(d.relations.empty()) << "only OK hands the relations back";
        model.Apply();
    }
    ASSERT_EQ(d.relations.size(), 3u);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(d.relations[size_t(c)]->port, 2);
        EXPECT_EQ(d.relations[size_t(c)]->channel, c + 1);
        EXPECT_EQ(d.relations[size_t(c)]->instrumentName, "Drums");
    }

    // Reopened, every one of them shows its instrument.
    for (int c = 1; c <= 3; ++c) {
        auto again = d.Open(2, c, 3);
        ASSERT_EQ(again.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
        EXPECT_EQ(again.InstrumentRow(), 2) << "channel " << c;
    }

    auto model = d.Open(2, 1, 3);
    ASSERT_EQ(model.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
    model.SelectChannels({2, 3});
    EXPECT_TRUE(model.LineShown()) << "all selected channels play the selected instrument";
    model.SelectChannels({3, 4});
    EXPECT_FALSE(model.LineShown());
    model.SelectChannels({4});
    EXPECT_EQ(model.CurrentChannel(), 4);
    EXPECT_EQ(model.InstrumentRow(), 0);
    EXPECT_TRUE(model.LineShown());
    model.SelectInstrument(1);
    model.SelectChannels({1});
    model.SelectInstrument(1);
    model.SelectPort(0);
    EXPECT_EQ(model.InstrumentRow(), 0);
    model.Apply();
    ASSERT_EQ(d.relations.size(), 4u);
    EXPECT_EQ(d.relations[0]->instrumentName, "Synth") << "an existing relation takes the new instrument";
    EXPECT_EQ(d.relations[3]->channel, 4);

    // Cancel: nothing changes.
    auto cancelled = d.Open(2, 1, 3);
    ASSERT_EQ(cancelled.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
    cancelled.SelectInstrument(2);
    EXPECT_EQ(d.relations[0]->instrumentName, "Synth");
}

TEST(PortInstrumentDlgModel, DropsRelationsOfRemovedInstruments)
{
    RelationDialog d;
    d.relations.push_back(std::make_shared<CInsNameEntry>(CInsNameEntry{0, 0, "Drums"}));
    d.relations.push_back(std::make_shared<CInsNameEntry>(CInsNameEntry{0, 1, "synth"}));
    auto model = d.Open(0, 0, 3);
    ASSERT_EQ(model.Initialise(), PortInstrumentDlgModel::InitResult::Ok);
    EXPECT_EQ(model.InstrumentRow(), 2);
    d.instruments.erase(d.instruments.begin() + 2); // "Configure..." removed "Drums"
    model.InstrumentsChanged();
    ASSERT_EQ(model.WorkingCopy().size(), 1u);
    EXPECT_EQ(model.WorkingCopy()[0]->instrumentName, "synth");
    EXPECT_EQ(model.Instruments().size(), 2u);
    EXPECT_EQ(model.InstrumentRow(), 0);
    model.Apply();
    EXPECT_EQ(d.relations.size(), 1u) << "OK keeps the drop although nothing else changed";
}

TEST(ConnectorLine, JoinsTheRowsAcrossTheGap)
{
    const ConnectorRect channels{10, 50, 60, 200};
    const ConnectorRect instruments{100, 40, 265, 181};
    const ConnectorRect area = ConnectorArea(channels, instruments);
    EXPECT_EQ(area.left, 60);
    EXPECT_EQ(area.top, 40);
    EXPECT_EQ(area.right, 100);
    EXPECT_EQ(area.bottom, 200);

    const auto points = ConnectorLinePoints(channels, 70, instruments, 120);
    EXPECT_EQ(points[0], (ConnectorPoint{62, 70}));
    EXPECT_EQ(points[1], (ConnectorPoint{80, 70}));
    EXPECT_EQ(points[2], (ConnectorPoint{80, 120}));
    EXPECT_EQ(points[3], (ConnectorPoint{98, 120}));

    // Rows scrolled out of sight: the ends move to the list's edges.
    const auto clamped = ConnectorLinePoints(channels, 10, instruments, 500);
    EXPECT_EQ(clamped[0].y, 50);
    EXPECT_EQ(clamped[3].y, 181);
}

} // namespace
} // namespace zib

#include "devices/core/InstrumentFileDialogs.h"
#include "tests/support/TempDir.h"

namespace zib {
namespace {

TEST(InstrumentFileDialogs, StartInTheLastFolderAndNameTheExtract)
{
    test::TempDir dir;
    EXPECT_EQ(InstrumentDialogFolder(""), "");
    EXPECT_EQ(InstrumentDialogFolder(dir.path().string()), dir.path().string());
    EXPECT_EQ(InstrumentDialogFolder((dir / "song.mid").string()), dir.path().string());
    EXPECT_EQ(InstrumentDialogFolder("plain"), "plain");
    EXPECT_EQ(ExtractFileName("Roland XV-5080: Kit 1/2"), "Roland XV-5080_ Kit 1_2.INS");
}

} // namespace
} // namespace zib
