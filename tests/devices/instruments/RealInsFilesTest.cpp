// Real-world instrument definition files: every one is read without error and
// without losing an instrument, a list reference or a name, and survives the
// trip through the program's own instrument file.
#include "devices/core/CInstrumentDefs.h"
#include "devices/core/InsFileWriter.h"

#include "tests/devices/instruments/SameInstruments.h"
#include "tests/support/RealFixtures.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace zib {
namespace {

// What a file says, read with plain string handling: its name lists by
// section and name, and each instrument's Patch and Key references.
struct FileFacts {
    std::map<std::string, std::map<std::string, std::map<int, std::string>>> lists; // section -> name -> names
    struct Reference {
        std::string instrument, kind, key, list;
    };
    std::vector<Reference> references;
    std::vector<std::string> instruments;
};

std::string trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t\r");
    const size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

FileFacts readFacts(const std::string& text)
{
    FileFacts facts;
    std::istringstream in(text);
    std::string line, section, current;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '.') {
            section = line;
            current.clear();
            continue;
        }
        if (line[0] == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            if (section == ".Instrument Definitions")
                facts.instruments.push_back(current);
            else
                facts.lists[section][current];
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || current.empty()) continue;
        const std::string key = trim(line.substr(0, eq)), value = trim(line.substr(eq + 1));
        if (section == ".Instrument Definitions") {
            for (const char* kind : {"Patch[", "Key["})
                if (key.rfind(kind, 0) == 0)
                    facts.references.push_back({current, kind, key.substr(std::string(kind).size(),
                                                                          key.size() - std::string(kind).size() - 1),
                                                value});
        } else if (!key.empty() && key.find_first_not_of("0123456789") == std::string::npos && std::stoi(key) < 128) {
            facts.lists[section][current][std::stoi(key)] = value;
        }
    }
    return facts;
}

InstrumentArray loadAll(const std::string& text)
{
    InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
    CInstrumentDefs defs(instruments);
    EXPECT_EQ(defs.CollectNamesFromText(text), InsFileResult::Ok);
    EXPECT_EQ(defs.LoadSelectedFromText(text), InsFileResult::Ok);
    return instruments;
}

// The lines of a file that the reader passes over although they are not
// comments: headings it cannot take, keys it does not know, values that say
// nothing it uses.
std::vector<std::string> rejectedLines(const std::string& text)
{
    CLineTextFile file;
    file.OpenText(text);
    CInsFileReader reader;
    std::vector<std::string> rejected;
    while (file.ReadLine() == InsFileResult::Ok) {
        const std::string line = file.CurrentLine();
        reader.ClassifyInsLine(line);
        const InsLineFields& f = reader.Fields();
        const std::string trimmed(TrimInsText(line));
        bool passed = f.kind == InsLineKind::Ignored && !trimmed.starts_with(";");
        if (f.kind == InsLineKind::Entry && f.section == InsSection::InstrumentDefinitions) {
            const bool listLine = f.subKind == InsSubKind::Patch || f.subKind == InsSubKind::Key ||
                                  f.subKind == InsSubKind::Controller;
            passed = passed || (listLine && f.valueKind == InsValueKind::Number) ||
                     (f.subKind == InsSubKind::Drum && (f.valueKind != InsValueKind::Number || f.firstNumber != 1));
        }
        if (passed) rejected.push_back(trimmed);
    }
    return rejected;
}

TEST(RealInsFiles, RejectOnlyTheLinesKnownToSayNothing)
{
    const auto files = test::realFixtureFiles("ins");
    if (files.empty()) GTEST_SKIP() << "no real .INS files";
    const std::map<std::string, std::vector<std::string>> known = {
        {"Roland_XV-5080.ins", {"Drum[*]=1"}},
    };
    for (const auto& path : files) {
        const auto bytes = test::readFileBytes(path);
        const auto found = known.find(path.filename().string());
        EXPECT_EQ(rejectedLines(std::string(bytes.begin(), bytes.end())),
                  found == known.end() ? std::vector<std::string>{} : found->second)
            << path.filename().string();
    }
}

TEST(RealInsFiles, ReadWithoutErrorOrLoss)
{
    const auto files = test::realFixtureFiles("ins");
    if (files.empty()) GTEST_SKIP() << "no real .INS files";
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const auto bytes = test::readFileBytes(path);
        const std::string text(bytes.begin(), bytes.end());
        const FileFacts facts = readFacts(text);
        ASSERT_FALSE(facts.instruments.empty());

        InstrumentArray instruments{std::make_shared<CInsInstrument>("default")};
        CInstrumentDefs defs(instruments);
        ASSERT_EQ(defs.CollectNames(path), InsFileResult::Ok);
        EXPECT_EQ(defs.WantedNames(), facts.instruments);
        ASSERT_EQ(defs.LoadSelected(path), InsFileResult::Ok);
        for (const auto& name : facts.instruments)
            EXPECT_GE(FindInstrument(instruments, name), 0) << name;

        // Every reference to a list of the file holds that list's names.
        size_t checked = 0;
        for (const auto& ref : facts.references) {
            const CInsInstrument& instrument = *instruments[size_t(FindInstrument(instruments, ref.instrument))];
            const bool patch = ref.kind == std::string("Patch[");
            const auto& sectionLists = facts.lists.find(patch ? ".Patch Names" : ".Note Names");
            if (sectionLists == facts.lists.end()) continue;
            auto list = sectionLists->second.find(ref.list);
            if (list == sectionLists->second.end()) list = sectionLists->second.find(StripInsReferenceNotes(ref.list));
            if (list == sectionLists->second.end()) continue;
            const InsNameArray* names = nullptr;
            if (patch) {
                const int bank = ref.key == "*" ? -1 : std::stoi(ref.key);
                const int i = bank < 0 ? 0 : instrument.FindPatchList(bank);
                ASSERT_GE(i, 0) << ref.instrument << " Patch[" << ref.key << "]";
                names = &instrument.patchLists[size_t(i)].names;
            } else {
                const size_t comma = ref.key.find(',');
                const std::string b = ref.key.substr(0, comma), p = ref.key.substr(comma + 1);
                const int i = instrument.FindNoteList(b == "*" ? -1 : std::stoi(b), p == "*" ? -1 : std::stoi(p));
                ASSERT_GE(i, 0) << ref.instrument << " Key[" << ref.key << "]";
                names = &instrument.noteLists[size_t(i)].names;
            }
            for (const auto& [n, name] : list->second)
                if ((*names)[size_t(n)] != name) {
                    ADD_FAILURE() << ref.instrument << " " << ref.kind << ref.key << "] " << n << ": "
                                  << (*names)[size_t(n)] << " != " << name;
                    break;
                }
            ++checked;
        }
        EXPECT_GT(checked, 0u);

        // Through Zib.icf and back, every instrument keeps every list and name.
        const std::string icf = FormatInstrumentDefinitions(instruments, "Zib");
        const InstrumentArray back = loadAll(icf);
        test::expectSameInstruments(back, instruments);
        EXPECT_EQ(FormatInstrumentDefinitions(back, "Zib"), icf);
    }
}

} // namespace
} // namespace zib
