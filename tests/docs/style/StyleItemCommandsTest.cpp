#include "docs/style/core/CZibStyDoc.h"
#include "docs/style/core/ItemFile.h"

#include "platform/FileIo.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace zib {
namespace {

using Doc = test::StyDocHarness;

// A Qe style file: Pop (Qe4k, with its STS block) at 0, an empty position 1, Jazz at 2.
std::vector<uint8_t> qeFile(uint8_t jazzVersion = 0)
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop"})),
                            test::stsEntry("PopSts", 2, 0, 0, 5),
                            test::qeEntry("Jazz", 2, 2, 2, test::qeStyleInstance({"Jazz", jazzVersion}))});
}

std::vector<uint8_t> wqFile(char model, int items)
{
    return test::smallWqStyleFile(model, items, "Style");
}

TEST(StyleItemCommands, DeleteTakesTheStsItemAlong)
{
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
    const std::vector<int> rows{0, 1};
    d.doc.m_ViewMode = 2;
    EXPECT_EQ(d.doc.DeleteSelectedItems(rows, 0), 1);
    EXPECT_EQ(d.doc.StyCount(), 3); // the STS view deletes nothing
    EXPECT_FALSE(d.doc.IsModified());
    d.doc.m_ViewMode = 1;
    EXPECT_EQ(d.doc.DeleteSelectedItems(rows, 2), 1);
    EXPECT_EQ(d.names(), (std::vector<std::string>{"Jazz"}));
    ASSERT_EQ(d.doc.StsCount(), 1);
    EXPECT_EQ(d.doc.m_StyItems[0].position, 0u);
    EXPECT_EQ(d.doc.m_StsItems[0].position, 0u);
    EXPECT_TRUE(d.doc.IsModified());
    // Without a selection the focused row goes; without either nothing.
    EXPECT_EQ(d.doc.DeleteSelectedItems({}, -1), 1);
    EXPECT_EQ(d.doc.StyCount(), 1);
    EXPECT_EQ(d.doc.DeleteSelectedItems({}, 0), 1);
    EXPECT_EQ(d.doc.StyCount(), 0);
}

TEST(StyleItemCommands, EmptyingNamesTheItemsByTheirModel)
{
    Doc wq41;
    ASSERT_TRUE(wq41.doc.OpenImage(wqFile('I', 6), "/x/w.sty"));
    const std::vector<int> rows{4, 5};
    ASSERT_TRUE(wq41.doc.EmptyItems(rows, -1));
    EXPECT_EQ(wq41.names(), (std::vector<std::string>{"Style0", "Style1", "Style2", "Style3", "InitStyle1",
                                                      "InitStyle2"}));
    EXPECT_EQ(wq41.doc.m_StyItems[4].Size(), 1176u);
    EXPECT_EQ(wq41.doc.m_StyItems[5].data[9], '2');

    Doc wq8;
    ASSERT_TRUE(wq8.doc.OpenImage(wqFile('9', 2), "/x/w.sty"));
    ASSERT_TRUE(wq8.doc.EmptyItems({}, 1));
    EXPECT_EQ(wq8.names(), (std::vector<std::string>{"Style0", "empty"}));
    EXPECT_EQ(wq8.doc.m_StyItems[1].Size(), 1168u);

    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(), "/x/q.sty"));
    qe.doc.m_ViewMode = 2; // the STS view empties STS items only
    ASSERT_TRUE(qe.doc.EmptyItems(std::vector<int>{0}, -1));
    EXPECT_GT(qe.doc.m_StyItems[0].Size(), 0u);
    EXPECT_EQ(qe.doc.m_StsItems[0].Size(), 0u);
    EXPECT_EQ(qe.doc.m_StsItems[0].NameText(), "** (N/A) Empty **");
    EXPECT_EQ(qe.doc.m_StsItems[0].model, uint32_t('F'));
    qe.doc.m_ViewMode = 1;
    const int32_t bank = qe.doc.m_StyItems[2].bank;
    ASSERT_TRUE(qe.doc.EmptyItems(std::vector<int>{1, 2}, -1));
    EXPECT_EQ(qe.names(), (std::vector<std::string>{"Pop", "** (N/A) EMPTY **", "** (N/A) Empty **"}));
    EXPECT_EQ(qe.doc.m_StyItems[2].Size(), 0u);
    EXPECT_EQ(qe.doc.m_StyItems[2].bank, bank); // the place stays
}

TEST(StyleItemCommands, ExtractedItemFiles)
{
    test::TempDir dir;
    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(), "/x/q.sty"));
    ASSERT_EQ(qe.doc.ExtractItem(0, dir / "Pop.wsf"), 1);
    std::vector<uint8_t> file;
    ASSERT_EQ(readWholeFile(dir / "Pop.wsf", file), FileIoError::None);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "DASKX");
    ItemFileContent content;
    ASSERT_EQ(ReadItemFile(file, true, content), ItemFileError::None);
    EXPECT_EQ(content.data, qe.doc.m_StyItems[0].data);
    EXPECT_EQ(content.sts, qe.doc.m_StsItems[0].data);
    EXPECT_EQ(content.header.stsRelease, 5u);
    EXPECT_EQ(std::string(content.header.styleName.data()), "Pop");
    EXPECT_EQ(std::string(content.header.stsName.data()), "PopSts");
    EXPECT_EQ(file.size(), 5 + 60 + content.data.size() + content.sts.size());

    // An empty Qe item: the head and a header with sizes 0, no data.
    ASSERT_EQ(qe.doc.ExtractItem(1, dir / "Empty.wsf"), 1);
    ASSERT_EQ(readWholeFile(dir / "Empty.wsf", file), FileIoError::None);
    ASSERT_EQ(file.size(), 65u);
    ASSERT_EQ(ReadItemFile(file, true, content), ItemFileError::None);
    EXPECT_EQ(content.header.styleSize, 0u);
    EXPECT_EQ(content.header.stsSize, 0u);

    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(wqFile('M', 1), "/x/w.sty"));
    ASSERT_EQ(wq.doc.ExtractItem(0, dir / "W.wsf"), 1);
    ASSERT_EQ(readWholeFile(dir / "W.wsf", file), FileIoError::None);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 5), "DASKM");
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 5, file.end()), wq.doc.m_StyItems[0].data);

    EXPECT_EQ(wq.doc.ExtractItem(0, dir / "no" / "such" / "dir.wsf"), 0);
    EXPECT_EQ(wq.texts(), (std::vector<std::string>{"Cannot open file"}));
    EXPECT_EQ(wq.doc.ExtractItem(3, dir / "x.wsf"), 0);
}

TEST(StyleItemCommands, ImportingQeItemFiles)
{
    test::TempDir dir;
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile(1), "/x/q.sty"));
    ASSERT_EQ(source.doc.ExtractItem(0, dir / "Pop.wsf"), 1);  // Qe4k
    ASSERT_EQ(source.doc.ExtractItem(2, dir / "Jazz.WSF"), 1); // Qe9z

    // Into a Qe9z document: the Qe4k item keeps 'F', the Qe9z one 'X'.
    Doc nine;
    ASSERT_TRUE(nine.doc.OpenImage(qeFile(1), "/x/q.sty"));
    ASSERT_EQ(nine.doc.m_Model, uint32_t('X'));
    const auto outcome = nine.doc.ImportItems({(dir / "Pop.wsf").string(), (dir / "Jazz.WSF").string()});
    EXPECT_EQ(outcome.imported, 2);
    EXPECT_FALSE(outcome.failed);
    ASSERT_EQ(nine.doc.StyCount(), 5);
    ASSERT_EQ(nine.doc.StsCount(), 5);
    const CStyItem& pop = nine.doc.m_StyItems[3];
    EXPECT_EQ(pop.NameText(), "Pop");
    EXPECT_EQ(pop.model, uint32_t('F'));
    EXPECT_EQ(pop.kind, 2u);
    EXPECT_EQ(pop.resourceIndex, 3);
    EXPECT_EQ(pop.bank, 2);
    EXPECT_EQ(pop.sounds, source.doc.m_StyItems[0].sounds);
    EXPECT_EQ(nine.doc.m_StsItems[3].NameText(), "PopSts");
    EXPECT_EQ(nine.doc.m_StsItems[3].data, source.doc.m_StsItems[0].data);
    EXPECT_EQ(nine.doc.m_StsItems[3].release, 5u);
    EXPECT_EQ(nine.doc.m_StyItems[4].model, uint32_t('X'));
    EXPECT_TRUE(nine.doc.IsModified());

    // Into a Qe4k document: the Qe9z item is refused.
    Doc four;
    ASSERT_TRUE(four.doc.OpenImage(qeFile(0), "/x/q.sty"));
    const auto refused = four.doc.ImportItems({(dir / "Jazz.WSF").string(), (dir / "Pop.wsf").string()});
    EXPECT_EQ(refused.imported, 0);
    EXPECT_TRUE(refused.failed);
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Cannot import Qe9z style into Qe4k STY file"}));

    // An STS block of a Qe9z keyboard is skipped, and the batch goes on.
    std::vector<uint8_t> file;
    ASSERT_EQ(readWholeFile(dir / "Pop.wsf", file), FileIoError::None);
    file[5 + 16] = 1;
    test::writeFile(dir / "NineSts.wsf", file);
    const auto skipped = four.doc.ImportItems({(dir / "NineSts.wsf").string(), (dir / "Pop.wsf").string()});
    EXPECT_EQ(skipped.imported, 1);
    EXPECT_FALSE(skipped.failed);
    EXPECT_EQ(four.texts(), (std::vector<std::string>{"Cannot import QE9Z style: " + (dir / "NineSts.wsf").string() +
                                                      ", into QE4K file!!!"}));
}

TEST(StyleItemCommands, ImportingWqItemFiles)
{
    test::TempDir dir;
    Doc wq8;
    ASSERT_TRUE(wq8.doc.OpenImage(wqFile('9', 1), "/x/w.sty"));
    ASSERT_EQ(wq8.doc.ExtractItem(0, dir / "a.wsf"), 1);

    Doc r65;
    ASSERT_TRUE(r65.doc.OpenImage(wqFile('M', 1), "/x/r.sty"));
    EXPECT_EQ(r65.doc.ImportItems({(dir / "a.wsf").string()}).imported, 1);
    ASSERT_EQ(r65.doc.StyCount(), 2);
    EXPECT_EQ(r65.doc.m_StyItems[1].model, uint32_t('M'));
    EXPECT_EQ(r65.doc.m_StyItems[1].Size(), wq8.doc.m_StyItems[0].Size() + 8);
    EXPECT_EQ(r65.doc.m_StyItems[1].NameText(), "Style0");
    EXPECT_EQ(r65.doc.StsCount(), 0);

    CZibStyDoc fresh;
    fresh.NewDocument();
    EXPECT_EQ(fresh.ImportItems({(dir / "a.wsf").string()}).imported, 1);
    EXPECT_EQ(fresh.m_Model, uint32_t('9'));
    EXPECT_EQ(fresh.m_StyItems[0].data, wq8.doc.m_StyItems[0].data);

    // Into a Qe document: converted to a Qe style with an empty STS item.
    Doc qe;
    ASSERT_TRUE(qe.doc.OpenImage(qeFile(), "/x/q.sty"));
    EXPECT_EQ(qe.doc.ImportItems({(dir / "a.wsf").string()}).imported, 1);
    ASSERT_EQ(qe.doc.StyCount(), 4);
    ASSERT_EQ(qe.doc.StsCount(), 4);
    const CStyItem& converted = qe.doc.m_StyItems[3];
    EXPECT_EQ(converted.NameText(), "Style0");
    EXPECT_EQ(converted.model, uint32_t('F'));
    EXPECT_EQ(converted.kind, 2u);
    EXPECT_EQ(converted.bank, 2);
    EXPECT_EQ(converted.data[0], 2); // a serialised style instance
    EXPECT_EQ(qe.doc.m_StsItems[3].Size(), 0u);
    EXPECT_EQ(qe.doc.m_StsItems[3].NameText(), "** (N/A) EMPTY **");
}

// Import Item(s) closes the windows over the items (edit frame, track
// editor, text dump) only once a file's import goes ahead: a cancelled
// dialog or a refused file leaves them open with what they hold.
TEST(StyleItemCommands, ImportClosesTheItemWindowsOnlyWhenAnImportGoesAhead)
{
    test::TempDir dir;
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile(), "/x/q.sty"));
    test::writeFile(dir / "Pop.WSF",
                    StyleItemFileBytes('F', source.doc.m_StyItems[0], &source.doc.m_StsItems[0]));
    test::writeFile(dir / "Pop.txt", StyleItemFileBytes('F', source.doc.m_StyItems[0], nullptr));
    CStyItem empty;
    empty.SetName("Empty");
    test::writeFile(dir / "Empty.WSF", StyleItemFileBytes('F', empty, nullptr));
    const struct {
        const char* name;
        std::vector<std::filesystem::path> chosen;
        bool imports;
    } cases[] = {
        {"dialog cancelled", {}, false},
        {"a file of another kind", {dir / "Pop.txt"}, false},
        {"an item file without data", {dir / "Empty.WSF"}, false},
        {"an item file", {dir / "Pop.WSF"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
        d.ui.openFiles.push_back(c.chosen);
        d.doc.ImportItem();
        EXPECT_EQ(d.doc.StyCount(), c.imports ? 4 : 3);
        EXPECT_EQ(d.doc.IsModified(), c.imports);
        const auto& notices = d.ui.viewNotices;
        const auto close = std::find_if(notices.begin(), notices.end(), [](const auto& n) {
            return n.first == StyViewNotice::CloseToolWindows;
        });
        const auto added = std::find_if(notices.begin(), notices.end(),
                                        [](const auto& n) { return n.first == StyViewNotice::RowAdded; });
        EXPECT_EQ(close != notices.end(), c.imports);
        EXPECT_TRUE(close <= added) << "the windows close before the rows change";
    }
}

TEST(StyleItemCommands, ImportRefusalsAndLimits)
{
    test::TempDir dir;
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile(), "/x/q.sty"));
    ASSERT_EQ(source.doc.ExtractItem(0, dir / "Pop.wsf"), 1);

    // A Qe item into a Wq document with items.
    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(wqFile('9', 1), "/x/w.sty"));
    EXPECT_TRUE(wq.doc.ImportItems({(dir / "Pop.wsf").string()}).failed);
    EXPECT_EQ(wq.texts(), (std::vector<std::string>{"Cannot import QE-series style: " + (dir / "Pop.wsf").string() +
                                                    ", into wq-series file!!!"}));
    // Into an empty Wq document: the document takes the Qe model.
    CZibStyDoc empty;
    empty.NewDocument();
    empty.m_Model = '9';
    EXPECT_EQ(empty.ImportItems({(dir / "Pop.wsf").string()}).imported, 1);
    EXPECT_EQ(empty.m_Model, uint32_t('X'));
    EXPECT_EQ(empty.m_FirstBank, 17);
    EXPECT_EQ(empty.m_StyItems[0].bank, 17);

    // Names and contents
    const std::vector<uint8_t> qe = test::wqStyleFile('9', {});
    test::writeFile(dir / "a.sty", qe);
    test::writeFile(dir / "bad.wsf", std::vector<uint8_t>{'M', 'T', 'h', 'd', 0});
    std::vector<uint8_t> cut;
    ASSERT_EQ(readWholeFile(dir / "Pop.wsf", cut), FileIoError::None);
    cut.resize(cut.size() - 3);
    test::writeFile(dir / "cut.wsf", cut);
    struct Case {
        std::string file;
        std::string text;
    } cases[] = {
        {"a.sty", "Error: Not WSF file type: STY"},
        {"bad.wsf", "Imported File not expected format - Insertion failed!"},
        {"cut.wsf", "Wrong number of bytes read!"},
        {"missing.wsf", "Cannot open file - 1"},
    };
    for (const auto& c : cases) {
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
        const auto outcome = d.doc.ImportItems({(dir / c.file).string(), (dir / "Pop.wsf").string()});
        EXPECT_TRUE(outcome.failed) << c.file;
        EXPECT_EQ(outcome.imported, 0) << c.file;
        EXPECT_EQ(d.texts(), std::vector<std::string>{c.text}) << c.file;
        EXPECT_EQ(d.doc.StyCount(), 3);
        EXPECT_EQ(d.doc.StsCount(), 3);
    }

    // 31 items and three files: one is imported, then the limit of 32.
    Doc full;
    ASSERT_TRUE(full.doc.OpenImage(qeFile(), "/x/q.sty"));
    while (full.doc.StyCount() < 31)
        full.doc.m_StyItems.push_back(full.doc.m_StyItems[1]), full.doc.m_StsItems.push_back(full.doc.m_StsItems[1]);
    const std::string pop = (dir / "Pop.wsf").string();
    EXPECT_EQ(full.doc.ImportItems({pop, pop, pop}).imported, 1);
    EXPECT_EQ(full.texts(), (std::vector<std::string>{"Insertion stopped - LIMIT reached!"}));
    EXPECT_EQ(full.doc.ImportItems({pop}).imported, 0);
    EXPECT_EQ(full.texts(), (std::vector<std::string>{"Insertion stopped - LIMIT reached!"}));
}

TEST(StyleItemCommands, ItemFilesThatDoNotHoldWhatTheySay)
{
    test::TempDir dir;
    Doc source;
    ASSERT_TRUE(source.doc.OpenImage(qeFile(), "/x/q.sty"));
    ASSERT_EQ(source.doc.ExtractItem(0, dir / "Pop.wsf"), 1);
    std::vector<uint8_t> pop;
    ASSERT_EQ(readWholeFile(dir / "Pop.wsf", pop), FileIoError::None);
    const auto head = [](char letter, size_t rest) {
        std::vector<uint8_t> file(5 + rest, 0x20);
        const uint8_t magic[] = {'D', 'A', 'S', 'K', uint8_t(letter)};
        std::copy(std::begin(magic), std::end(magic), file.begin());
        return file;
    };
    auto huge = pop;
    huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0xFF, huge[8] = 0x7F; // a style size past the file
    auto stsPast = pop;
    stsPast[5 + 12] = 0xFF; // an STS size past the file
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        std::string text;
    } cases[] = {
        {"short head", {'D', 'A', 'S'}, "Imported File not expected format - Insertion failed!"},
        {"unknown letter", head('Z', 2000), "Imported File not expected format - Insertion failed!"},
        {"Wq item shorter than an empty style", head('9', 1167), "Imported File not expected format - Insertion failed!"},
        {"Wq41 item shorter than an empty style", head('I', 1175), "Imported File not expected format - Insertion failed!"},
        {"Wq item over 65504 bytes", head('9', 65505), "Imported File not expected format - Insertion failed!"},
        {"Qe9z header cut", head('X', 59), "Error reading QE9Z item header data - 2"},
        {"Qe4k header cut", head('F', 43), "Error reading QE4K item header data - 2"},
        {"style size past the file", huge, "Wrong number of bytes read!"},
        {"STS size past the file", stsPast, "Wrong number of bytes read!"},
    };
    for (const auto& c : cases) {
        test::writeFile(dir / "c.wsf", c.file);
        Doc d;
        ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
        EXPECT_EQ(d.doc.ImportStyle(dir / "c.wsf"), 0) << c.what;
        EXPECT_EQ(d.texts(), std::vector<std::string>{c.text}) << c.what;
        EXPECT_EQ(d.notices.size(), 0u);
        EXPECT_EQ(d.doc.StyCount(), 3) << c.what;
        EXPECT_EQ(d.doc.StsCount(), 3) << c.what;
    }
    // The largest and smallest Wq items are taken.
    Doc wq;
    ASSERT_TRUE(wq.doc.OpenImage(wqFile('9', 1), "/x/w.sty"));
    test::writeFile(dir / "empty.wsf", head('9', 1168));
    EXPECT_EQ(wq.doc.ImportStyle(dir / "empty.wsf"), 1);
}

TEST(StyleItemCommands, CommandsAskThroughThePort)
{
    test::TempDir dir;
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile(), (dir / "q.sty").string()));

    // Extract Item: the focused row, a save dialog in the document's folder.
    d.doc.OnEditExtract();
    EXPECT_EQ(d.texts(), (std::vector<std::string>{"There is no focused item"}));
    EXPECT_EQ(d.ui.messages.size(), 0u);
    d.ui.focused = 2;
    d.ui.saveFiles.push_back(dir / "Out.WSF");
    d.doc.OnEditExtract();
    ASSERT_EQ(d.ui.fileDialogs.size(), 1u);
    const StyFileChoice& save = d.ui.fileDialogs[0];
    EXPECT_EQ(save.title, "Extract Item");
    EXPECT_EQ(save.filter, "WqStyle Files (*.WSF)|*.WSF||");
    EXPECT_EQ(save.defaultExtension, "WSF");
    EXPECT_EQ(save.folder, dir.path());
    EXPECT_EQ(save.fileName, "Jazz");
    EXPECT_TRUE(std::filesystem::exists(dir / "Out.WSF"));
    // The STS view extracts nothing.
    d.doc.ToggleViewMode();
    d.doc.OnEditExtract();
    d.doc.ImportItem();
    EXPECT_EQ(d.ui.fileDialogs.size(), 1u);
    d.doc.ToggleViewMode();

    // Import Item(s): the chosen files are imported and the rows told to the view.
    d.ui.openFiles.push_back({dir / "Out.WSF"});
    d.doc.ImportItem();
    EXPECT_EQ(d.ui.fileDialogs.back().title, "Import Styles");
    EXPECT_EQ(d.doc.StyCount(), 4);
    EXPECT_TRUE(d.ui.saw(StyViewNotice::RowAdded));

    // Select All and Delete on the port's selection.
    d.doc.SelectAll();
    EXPECT_EQ(d.ui.selected, (std::vector<int>{0, 1, 2, 3}));
    d.ui.select({1, 3});
    d.doc.OnEditDelete();
    EXPECT_EQ(d.names(), (std::vector<std::string>{"Pop", "Jazz"}));
    EXPECT_TRUE(d.ui.selected.empty());
    EXPECT_TRUE(d.ui.saw(StyViewNotice::CloseToolWindows));
}

TEST(StyleItemCommands, ExtractAllWritesOneFilePerItemWithData)
{
    test::TempDir dir;
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(qeFile(), "/x/q.sty"));
    d.ui.folders.push_back(dir.path());
    d.doc.OnEditExtractAll();
    EXPECT_EQ(d.ui.folderDialogs, (std::vector<std::string>{"Select Destination Folder"}));
    EXPECT_TRUE(std::filesystem::exists(dir / "Pop.WSF"));
    EXPECT_TRUE(std::filesystem::exists(dir / "Jazz.WSF"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2); // the empty row has none

    // Clashes go through the overwrite question.
    const struct {
        std::vector<StyAnswer> answers;
        size_t questions;
        bool jazzRewritten;
    } cases[] = {
        {{StyAnswer::Cancel}, 1, false},
        {{StyAnswer::No, StyAnswer::Yes}, 2, true},
        {{StyAnswer::YesToAll}, 1, true},
    };
    for (const auto& c : cases) {
        test::writeFile(dir / "Jazz.WSF", std::vector<uint8_t>{1});
        d.ui.overwriteQuestions.clear();
        d.ui.overwriteAnswers.assign(c.answers.begin(), c.answers.end());
        d.ui.folders.push_back(dir.path());
        d.doc.OnEditExtractAll();
        EXPECT_EQ(d.ui.overwriteQuestions.size(), c.questions);
        EXPECT_EQ(std::filesystem::file_size(dir / "Jazz.WSF") > 1, c.jazzRewritten);
    }
}

TEST(StyleItemCommands, SaveModifiedAsksYesNoCancel)
{
    Doc d;
    ASSERT_TRUE(d.doc.OpenImage(wqFile('9', 1), "/x/w.sty"));
    int saves = 0;
    const auto save = [&saves] { return ++saves, true; };
    EXPECT_TRUE(d.doc.SaveModified("w.sty", save)); // not modified: no question
    EXPECT_TRUE(d.ui.questions.empty());
    d.doc.SetModified();
    d.ui.answers = {StyAnswer::Cancel, StyAnswer::No, StyAnswer::Yes};
    EXPECT_FALSE(d.doc.SaveModified("w.sty", save));
    EXPECT_TRUE(d.doc.SaveModified("w.sty", save));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(d.doc.SaveModified("w.sty", save));
    EXPECT_EQ(saves, 1);
    ASSERT_EQ(d.ui.questions.size(), 3u);
    EXPECT_EQ(d.ui.questions[0].English(), "Save changes to w.sty");
    EXPECT_EQ(d.ui.questions[0].icon, StyNoticeIcon::Exclamation);
}

} // namespace
} // namespace zib
