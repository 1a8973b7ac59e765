// The instrument set and the relations on disk, and the name lookups.
#include "devices/core/CInstrumentStore.h"

#include "ui/core/UserMidiPortMap.h"
#include "devices/core/CInstrumentFile.h"
#include "tests/support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace zib {
namespace {

std::string readText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Records what the operations show; chooses the instruments it is told to.
class RecordingUi : public InstrumentUi {
public:
    std::vector<std::string> shown;
    bool cancel = false;
    std::vector<std::string> keep; // names to keep in the Add Instruments dialog
    bool keepAll = true;
    int waits = 0;

    void Message(InstrumentMessage message, const std::string& detail) override
    {
        shown.push_back(std::to_string(int(message)) + (detail.empty() ? "" : ":" + detail));
    }
    void ProgressStart(InstrumentProgress what) override
    {
        shown.push_back("progress " + std::to_string(int(what)));
    }
    void BeginWait() override { ++waits; }
    void EndWait() override { --waits; }
    bool ChooseInstruments(std::vector<std::string>& names) override
    {
        shown.push_back("choose " + std::to_string(names.size()));
        if (cancel) return false;
        if (!keepAll)
            std::erase_if(names, [this](const std::string& n) {
                return std::find(keep.begin(), keep.end(), n) == keep.end();
            });
        return true;
    }
};

// The application's fields a store works on.
struct StoreFixture {
    InstrumentArray instruments;
    bool instrumentsLoaded = false;
    RelationArray relations;
    bool relationsLoaded = false;
    PortNameArray outNames, inNames;
    test::TempDir dir;
    RecordingUi ui;
    CInstrumentStore store{instruments, instrumentsLoaded, relations, relationsLoaded, outNames, inNames};

    StoreFixture()
    {
        store.SetConfigFolder(dir.path());
        store.SetUi(&ui);
    }
};

const std::string kTwoSynths = ".Patch Names\n[Bank A]\n0=A Piano\n.Instrument Definitions\n"
                               "[Synth A]\nPatch[0]=Bank A\n[Synth B]\nPatch[1]=Bank A\n";

TEST(InstrumentStore, LoadsTheInstrumentFileOncePerRun)
{
    StoreFixture f;
    EXPECT_EQ(f.store.InstrumentFilePath(), f.dir / "Zib.icf");
    EXPECT_EQ(f.store.LoadInstrumentDefinitions(), 0) << "no instrument file: only \"default\", silently";
    ASSERT_EQ(f.instruments.size(), 1u);
    EXPECT_EQ(f.instruments[0]->name, "default");
    EXPECT_EQ(f.ui.shown, std::vector<std::string>{"progress 0"});
    EXPECT_EQ(f.ui.waits, 0);

    writeText(f.dir / "Zib.icf", kTwoSynths);
    EXPECT_EQ(f.store.LoadInstrumentDefinitions(), 1);
    EXPECT_EQ(f.instruments.size(), 1u) << "not loaded a second time";

    StoreFixture g;
    writeText(g.dir / "Zib.icf", kTwoSynths);
    ASSERT_EQ(g.store.LoadInstrumentDefinitions(), 1);
    ASSERT_EQ(g.instruments.size(), 3u);
    EXPECT_EQ(g.store.GetPatchName("synth b", 1, 0), "A Piano");

    // A file whose name differs only in case is the instrument file; saving rewrites it.
    StoreFixture upper;
    writeText(upper.dir / "ZIB.ICF", kTwoSynths);
    EXPECT_EQ(upper.store.InstrumentFilePath(), upper.dir / "ZIB.ICF");
    ASSERT_EQ(upper.store.LoadInstrumentDefinitions(), 1);
    EXPECT_EQ(upper.instruments.size(), 3u);
    ASSERT_EQ(upper.store.SaveInstrumentDefinitions(), 1);
    EXPECT_FALSE(std::filesystem::exists(upper.dir / "Zib.icf"));
    writeText(upper.dir / "ZibInstr.INI", "0,9=Synth A\n");
    EXPECT_EQ(upper.store.RelationFilePath(), upper.dir / "ZibInstr.INI");
    ASSERT_EQ(upper.store.LoadPortInstrumentRelations(), 1);
    EXPECT_EQ(upper.store.GetInstrumentOfPort(0, 9), "Synth A");

    // A folder that is not there yet is made by the first save.
    StoreFixture fresh;
    fresh.store.SetConfigFolder(fresh.dir / "config" / "zib");
    EXPECT_EQ(fresh.store.LoadInstrumentDefinitions(), 0) << "no file to read";
    EXPECT_EQ(fresh.store.SaveInstrumentDefinitions(), 1);
    EXPECT_TRUE(std::filesystem::exists(fresh.dir / "config" / "zib" / "Zib.icf"));
    EXPECT_EQ(fresh.store.SavePortInstrumentRelations(), 1);

    // Without a folder only "default" is there.
    StoreFixture h;
    h.store.SetConfigFolder({});
    EXPECT_EQ(h.store.LoadInstrumentDefinitions(), 0);
    EXPECT_EQ(h.instruments.size(), 1u);
    EXPECT_EQ(h.store.SaveInstrumentDefinitions(), 0);
}

TEST(InstrumentStore, FallsBackToTheSuppliedInstrumentFile)
{
    StoreFixture f;
    writeText(f.dir / "supplied.icf", kTwoSynths);
    f.store.SetSuppliedDefinitions(f.dir / "supplied.icf");
    ASSERT_EQ(f.store.LoadInstrumentDefinitions(), 1);
    EXPECT_EQ(f.instruments.size(), 3u);
    EXPECT_FALSE(std::filesystem::exists(f.dir / "Zib.icf"));
    ASSERT_EQ(f.store.SaveInstrumentDefinitions(), 1) << "saved into the program folder";
    EXPECT_NE(readText(f.dir / "Zib.icf").find("[Synth B]\r\n"), std::string::npos);
}

TEST(InstrumentStore, NeverReplacesAnInstrumentFileItCouldNotRead)
{
    StoreFixture f;
    // A folder in the file's place opens but cannot be read.
    std::filesystem::create_directory(f.dir / "Zib.icf");
    writeText(f.dir / "Zib.icf" / "inside", "kept");
    EXPECT_EQ(f.store.SaveInstrumentDefinitions(), 0) << "nothing loaded yet";
    EXPECT_EQ(f.store.LoadInstrumentDefinitions(), 0);
    EXPECT_EQ(f.ui.shown.back(), std::to_string(int(InstrumentMessage::CannotReadInstrumentNames)));
    EXPECT_EQ(f.instruments.size(), 1u);
    EXPECT_EQ(f.store.LoadInstrumentDefinitions(), 1) << "not tried again in this run";
    EXPECT_EQ(f.store.SaveInstrumentDefinitions(), 0);
    EXPECT_EQ(readText(f.dir / "Zib.icf" / "inside"), "kept");
}

TEST(InstrumentStore, ImportsTheInstrumentsTheUserChooses)
{
    StoreFixture f;
    writeText(f.dir / "two.ins", kTwoSynths);

    f.ui.cancel = true;
    EXPECT_EQ(f.store.ImportInstrumentsFromIns(f.dir / "two.ins"), 0);
    EXPECT_EQ(f.instruments.size(), 1u) << "the definitions were loaded first";
    EXPECT_FALSE(std::filesystem::exists(f.dir / "Zib.icf"));

    f.ui.cancel = false;
    f.ui.keepAll = false;
    EXPECT_EQ(f.store.ImportInstrumentsFromIns(f.dir / "two.ins"), 1) << "OK with none chosen";
    EXPECT_EQ(f.instruments.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(f.dir / "Zib.icf"));

    f.ui.keep = {"Synth B"};
    EXPECT_EQ(f.store.ImportInstrumentsFromIns(f.dir / "two.ins"), 1);
    ASSERT_EQ(f.instruments.size(), 2u);
    EXPECT_EQ(f.instruments[1]->name, "Synth B");
    const std::string saved = readText(f.dir / "Zib.icf");
    EXPECT_NE(saved.find("[Synth B]\r\nController=Standard\r\nPatch[*]=General MIDI\r\nPatch[1]=Bank A\r\n"),
              std::string::npos);
    EXPECT_EQ(saved.find("Synth A"), std::string::npos);
    EXPECT_EQ(f.ui.waits, 0);

    // A file that cannot be read changes nothing and says so.
    f.ui.shown.clear();
    std::filesystem::create_directory(f.dir / "bad.ins");
    EXPECT_EQ(f.store.ImportInstrumentsFromIns(f.dir / "bad.ins"), 0);
    EXPECT_EQ(f.ui.shown, (std::vector<std::string>{
                              std::to_string(int(InstrumentMessage::CannotReadInstrumentNames)),
                              std::to_string(int(InstrumentMessage::CannotReadDefinitionsFromFile)) + ":" +
                                  (f.dir / "bad.ins").string()}));
    EXPECT_EQ(f.store.ImportInstrumentsFromIns(f.dir / "missing.ins"), 0);
    EXPECT_EQ(f.instruments.size(), 2u);
}

TEST(InstrumentStore, RemovesAndExportsInstruments)
{
    StoreFixture f;
    writeText(f.dir / "Zib.icf", kTwoSynths);
    ASSERT_EQ(f.store.LoadInstrumentDefinitions(), 1);

    EXPECT_FALSE(f.store.RemoveInstrument("DEFAULT"));
    EXPECT_FALSE(f.store.RemoveInstrument("nothing"));
    EXPECT_EQ(readText(f.dir / "Zib.icf"), kTwoSynths) << "nothing removed, nothing written";
    EXPECT_TRUE(f.store.RemoveInstrument("synth a"));
    EXPECT_EQ(f.instruments.size(), 2u);
    const std::string saved = readText(f.dir / "Zib.icf");
    EXPECT_EQ(saved.find("[Synth A]"), std::string::npos);
    EXPECT_NE(saved.find("[Synth B]"), std::string::npos);

    using R = CInstrumentStore::ExportResult;
    EXPECT_EQ(f.store.ExportInstrument("Synth A", f.dir / "a.ins"), R::NoSuchInstrument);
    EXPECT_EQ(f.store.ExportInstrument("Synth B", f.dir / "no" / "b.ins"), R::CannotOpenOutput);
    EXPECT_EQ(f.store.ExportInstrument("synth b", f.dir / "b.ins"), R::Written);
    EXPECT_EQ(readText(f.dir / "b.ins").rfind("; Instrument definition file for instrument: Synth B \r\n", 0),
              0u);
}

TEST(InstrumentStore, KeepsTheRelationFile)
{
    StoreFixture f;
    EXPECT_EQ(f.store.LoadPortInstrumentRelations(), 0) << "no file yet";
    EXPECT_FALSE(f.relationsLoaded);

    writeText(f.dir / "zibinstr.ini", "; comment\r\n3 ,10 = My Synth\r\n3,16=X\r\n5,0=Other\r\n");
    ASSERT_EQ(f.store.LoadPortInstrumentRelations(), 1);
    ASSERT_EQ(f.relations.size(), 2u);
    EXPECT_EQ(f.store.GetInstrumentOfPort(3, 10), "My Synth");
    EXPECT_EQ(f.store.GetInstrumentOfPort(3, 11), "");

    // Saved, the file and memory agree: no second read doubles them.
    f.relations.push_back(std::make_shared<CInsNameEntry>(CInsNameEntry{0, 9, "Drums"}));
    ASSERT_EQ(f.store.SavePortInstrumentRelations(), 1);
    EXPECT_EQ(f.store.LoadPortInstrumentRelations(), 1);
    EXPECT_EQ(f.relations.size(), 3u);

    // Port 5 disabled: its relations go, and the file follows.
    UserMidiPortMap ports;
    ports[0] = {0, 1};
    ports[3] = {1, 1};
    ports[5] = {2, 0};
    f.store.PurgePortInstrumentRelations(ports);
    ASSERT_EQ(f.relations.size(), 2u);
    const std::string saved = readText(f.dir / "zibinstr.ini");
    EXPECT_NE(saved.find("3,10=My Synth\r\n0,9=Drums\r\n\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("Other"), std::string::npos);

    StoreFixture g;
    g.relationsLoaded = false;
    std::filesystem::create_directory(g.dir / "zibinstr.ini");
    EXPECT_EQ(g.store.LoadPortInstrumentRelations(), 0) << "a file that cannot be read leaves no relations";
    EXPECT_TRUE(g.relations.empty());
    EXPECT_FALSE(g.relationsLoaded) << "tried again at the next call";
}

class FakeDevices : public MidiDeviceNames {
public:
    int OutDeviceCount() const override { return 3; }
    int InDeviceCount() const override { return 2; }
    std::optional<std::string> OutDeviceName(int d) const override
    {
        if (d == 2) return std::nullopt;
        return "Out " + std::to_string(d);
    }
    std::optional<std::string> InDeviceName(int d) const override { return "In " + std::to_string(d); }
};

TEST(InstrumentStore, NamesPortsAndDevices)
{
    StoreFixture f;
    f.outNames[100] = "stale";
    UserMidiPortMap ports;
    ports[0] = {1, 1};
    ports[1] = {0, 1};
    ports[2] = {0, 0};   // disabled: named after port 0's device
    ports[3] = {2, 1};   // a device the system cannot describe
    ports[5] = {200, 1}; // no such device
    f.store.EnumMidiDevices(ports, FakeDevices());
    EXPECT_EQ(f.inNames[0], "  0 - In 0");
    EXPECT_EQ(f.inNames[1], "  1 - In 1");
    EXPECT_EQ(f.inNames[2], "");
    EXPECT_EQ(f.outNames[0], "  1 - Out 1");
    EXPECT_EQ(f.outNames[1], "  2 - Out 0");
    EXPECT_EQ(f.outNames[2], "  3 - Out 1");
    EXPECT_EQ(f.outNames[3], "  4");
    EXPECT_EQ(f.outNames[5], "  6 - Out 1");
    EXPECT_EQ(f.outNames[100], "101 - Out 1");

    EXPECT_EQ(f.store.GetPortChannelText(0, 9), "  1 - Out 1");
    f.relations.push_back(std::make_shared<CInsNameEntry>(CInsNameEntry{0, 9, "Drum Kit"}));
    EXPECT_EQ(f.store.GetPortChannelText(0, 9), "  1 - Drum Kit");
    EXPECT_EQ(f.store.GetPortChannelText(200, 9), "  1 - Drum Kit") << "a port outside 0-127 counts as 0";
    EXPECT_EQ(f.store.GetPortChannelText(1, 9), "  2 - Out 0");

    ports[5] = {0, 0};
    f.store.EnumMidiDevices(ports, FakeDevices());
    EXPECT_EQ(f.outNames[5], "  6 - Out 1");
    UserMidiPortMap none;
    f.store.EnumMidiDevices(none, FakeDevices());
    EXPECT_EQ(f.outNames[5], "  6") << "port 0 has no device either";
}

TEST(InstrumentStore, LooksUpNamesByInstrument)
{
    StoreFixture f;
    EXPECT_EQ(f.store.GetPatchName("x", 0, 5), "5") << "no instruments";
    EXPECT_EQ(f.store.GetBankName("x", -3), "0");
    EXPECT_EQ(f.store.GetNoteName("x", 0, 0, 200), "0");
    EXPECT_EQ(f.store.GetControllerName("x", 7), "7");

    writeText(f.dir / "Zib.icf",
              ".Patch Names\n[Bank 2]\n3=Three\n.Note Names\n[Kit]\n36=Kick\n[Any Kit]\n38=Snare\n"
              ".Controller Names\n[Ctl]\n7=Loud\n.Instrument Definitions\n"
              "[Synth]\nControl=Ctl\nPatch[2]=Bank 2\nKey[2,0]=Kit\nKey[*,*]=Any Kit\n");
    ASSERT_EQ(f.store.LoadInstrumentDefinitions(), 1);
    f.store.SetKeyAlphabet([] { return 2; });

    struct Case {
        std::string got, expected;
    };
    const Case cases[] = {
        // Programs: bank list, else list 0; a missing name is the number once a bank is known.
        {f.store.GetPatchName("SYNTH", 2, 3), "Three"},
        {f.store.GetPatchName("Synth", 2, 4), "4"},
        {f.store.GetPatchName("Synth", 9, 0), "Acoustic Grand Piano"},
        {f.store.GetPatchName("Synth", -1, 300), "Acoustic Grand Piano"},
        {f.store.GetPatchName("", -1, 127), "Gunshot"},
        // Banks
        {f.store.GetBankName("Synth", 2), "2-Bank 2"},
        {f.store.GetBankName("Synth", 7), "7-General MIDI"},
        {f.store.GetBankName("Synth", -1), "General MIDI"},
        // Notes: exact list, then lists of any patch or bank, then the note's own name.
        {f.store.GetNoteName("Synth", 2, 0, 36), "Kick"},
        {f.store.GetNoteName("Synth", 2, 0, 37), "Do#2"},
        {f.store.GetNoteName("Synth", 2, 5, 38), "Snare"},
        {f.store.GetNoteName("Synth", -1, -1, 38), "Snare"},
        {f.store.GetNoteName("Synth", -1, 400, 38), "Snare"},
        {f.store.GetNoteName("default", 2, 0, 60), "Do4"},
        // Controllers
        {f.store.GetControllerName("Synth", 7), "Loud"},
        {f.store.GetControllerName("Synth", 8), "8"},
        {f.store.GetControllerName("nobody", 66), "Sustenuto(on/off)"},
        {f.store.GetControllerName("Synth", 128), "128"},
        {f.store.GetControllerName("Synth", -5), "-5"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;

    // By port and channel through the relations; no relation means "default".
    f.relations.push_back(std::make_shared<CInsNameEntry>(CInsNameEntry{1, 9, "Synth"}));
    EXPECT_EQ(f.store.GetPatchNameText(1, 9, 2, 3), "Three");
    EXPECT_EQ(f.store.GetPatchNameText(1, 8, 2, 3), "Honky-tonk Piano");
    EXPECT_EQ(f.store.GetBankNameText(1, 9, 2), "2-Bank 2");
    EXPECT_EQ(f.store.GetNoteNameText(1, 9, 2, 0, 36), "Kick");
    EXPECT_EQ(f.store.GetControllerNameText(1, 9, 7), "Loud");
    EXPECT_EQ(f.store.GetControllerNameText(1, 8, 7), "Volume (MSB)");

    f.store.FreeInstrumentArrays();
    EXPECT_TRUE(f.instruments.empty());
    EXPECT_TRUE(f.relations.empty());
}

} // namespace
} // namespace zib
