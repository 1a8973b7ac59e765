// Every property sheet, dialog and label editor of the program, performance,
// arrangement and global documents that is confirmed without a change: the
// document stays unmarked and its file stays as it was.
#include "docs/program/core/ArgDocModel.h"
#include "docs/program/core/ArgGlobalDlgModel.h"
#include "docs/program/core/ArrDocModel.h"
#include "docs/program/core/ArrListModel.h"
#include "docs/program/core/ArrPageModel.h"
#include "docs/program/core/GblDocModel.h"
#include "docs/program/core/GlobalDataDlgModel.h"
#include "docs/program/core/MidiChannelDlgModel.h"
#include "docs/program/core/PcgListModel.h"
#include "docs/program/core/PrfDocModel.h"
#include "docs/program/core/PrfListModel.h"
#include "docs/program/core/PrfSheetModel.h"
#include "docs/program/core/PrgPageModel.h"
#include "tests/docs/program/PcgTestDoc.h"
#include "tests/support/ArrFileBuilder.h"
#include "tests/support/GlobalFileBuilder.h"
#include "tests/support/PcgFileBuilder.h"
#include "tests/support/PrfFileBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zib {
namespace {

using Bytes = std::vector<uint8_t>;

// A document of one kind, opened from a file and confirmed through one of
// its windows; then its file as Save builds it and its modified flag.
// `prepare` first puts the values of the test file that no control can show
// as the sheet stores them (the fixed repairs of an OK; see the sheets).
struct ConfirmedDoc {
    Bytes before, after;
    bool modified = true;
};

template <class Model>
ConfirmedDoc confirmed(const char* name, const Bytes& file, const std::function<void(Model&)>& confirm,
                       const std::function<void(Model&)>& prepare = {})
{
    test::ProgramTestDoc<Model> t;
    ConfirmedDoc c;
    if (!t.open(name, file)) {
        ADD_FAILURE() << "cannot open " << name;
        return c;
    }
    if (prepare) prepare(t.doc);
    t.doc.modified = false;
    c.before = t.doc.BuildFileImage().value_or(Bytes());
    confirm(t.doc);
    c.after = t.doc.BuildFileImage().value_or(Bytes());
    c.modified = t.doc.modified;
    return c;
}

struct ConfirmRoad {
    const char* name;
    std::function<ConfirmedDoc()> run;
};

// The program sheet with all twelve pages shown, then OK; whether it changed the record.
bool allProgramPages(PcgDocModel& doc, int row)
{
    std::vector<std::unique_ptr<PrgPageModel>> pages;
    std::vector<const PrgPageModel*> shown;
    for (int p = 1; p <= 12; ++p) {
        pages.push_back(std::make_unique<PrgPageModel>(p));
        EXPECT_TRUE(pages.back()->Read(doc, row)) << p;
        shown.push_back(pages.back().get());
    }
    return WritePrgPages(doc, shown);
}

// The arrangement sheet with all five pages shown, then OK.
void allArrangementPages(ArrDocModel& doc)
{
    ArrSheetModel sheet(doc, 0, ArrProgramForm::Code);
    for (int p = 1; p <= 5; ++p) {
        sheet.Show(p);
        if (p < 5) sheet.Leave(p);
    }
    sheet.Ok(5);
}

Bytes performances()
{
    return test::qePrfImage(
        {{"Pop Live", 2, 0, test::performanceData(1, 1)}, {"Jazz", 2, 1, test::performanceData(2, 2)}});
}

// Every value of a track page typed or chosen as it is shown.
void putBackRows(StsTrackPageModel& page)
{
    for (int r = 0; r < int(page.Rows().size()); ++r) {
        page.VolumeTyped(r, std::to_string(page.Rows()[size_t(r)].volume));
        page.PanSelected(r, page.PanSelection(r));
    }
}

const ConfirmRoad kConfirmRoads[] = {
    {"Wq8 program sheet",
     [] {
         return confirmed<PcgDocModel>(
             "wq8.pcg", test::WqPcgBuilder('9').image(),
             [](PcgDocModel& d) { EXPECT_FALSE(allProgramPages(d, 1)); },
             [](PcgDocModel& d) { allProgramPages(d, 1); });
     }},
    {"Wq41 drum kit sheet",
     [] {
         return confirmed<PcgDocModel>(
             "wq41.prg", test::WqPcgBuilder('I').image(),
             [](PcgDocModel& d) { EXPECT_FALSE(allProgramPages(d, 0)); },
             [](PcgDocModel& d) {
                 d.shownList = 2;
                 allProgramPages(d, 0);
             });
     }},
    {"performance sheet looked at",
     [] {
         return confirmed<PrfDocModel>("live.prf", performances(), [](PrfDocModel& d) {
             ASSERT_TRUE(PrfSheetModel::CanOpen(d, 1));
             EXPECT_FALSE(PrfSheetModel(d, 1).Ok());
         });
     }},
    {"performance sheet with its values put back",
     [] {
         return confirmed<PrfDocModel>("live.prf", performances(), [](PrfDocModel& d) {
             PrfSheetModel sheet(d, 1);
             putBackRows(sheet.StylePage());
             putBackRows(sheet.StsPage());
             StsArrangerInfoPageModel& arranger = sheet.ArrangerPage();
             arranger.TempoTyped(std::to_string(arranger.tempo));
             using F = StsArrangerInfoPageModel::Field;
             for (F f : {F::Bank, F::Position, F::Variation, F::Element, F::Fill1, F::Fill2})
                 arranger.Select(f, arranger.Selection(f));
             EXPECT_FALSE(sheet.Ok());
         });
     }},
    {"arrangement sheet",
     [] {
         return confirmed<ArrDocModel>("set.arr", test::ArrFileBuilder('M').image(), allArrangementPages,
                                       allArrangementPages);
     }},
    {"global data with its pedal and scale dialogs",
     [] {
         return confirmed<GblDocModel>("set.gbl", test::gblImage('M', 1), [](GblDocModel& d) {
             GlobalDataDlgModel dialog(d);
             for (int line = 0; line < int(dialog.pedals.size()); ++line)
                 dialog.SetPedalCode(line, dialog.PedalSwDialog(line).Ok());
             for (int scale = 0; scale < int(dialog.Control(GlobalDataDlgModel::kScaleList)->options.size());
                  ++scale)
                 dialog.SetScale(scale, dialog.ScaleDialog(scale).Ok());
             EXPECT_FALSE(d.ApplyImage(dialog.Ok()));
         });
     }},
    {"arrangement global data with its channel dialogs",
     [] {
         return confirmed<ArgDocModel>("set.arg", test::argImage('I', 1), [](ArgDocModel& d) {
             ArgGlobalDlgModel dialog(d);
             for (int r = 0; r < int(dialog.records.size()); ++r)
                 dialog.SetChannelDatum(
                     MidiChannelDlgModel(dialog.records[size_t(r)].label, dialog.Datum(r)).Ok());
             EXPECT_FALSE(d.ApplyImage(dialog.Ok()));
         });
     }},
    {"Wq program renamed as shown",
     [] {
         return confirmed<PcgDocModel>("wq8.pcg", test::WqPcgBuilder('9').image(), [](PcgDocModel& d) {
             EXPECT_TRUE(PcgListModel(d).EndLabelEdit(1, d.programs[1].NameText() + "  "));
         });
     }},
    {"Qe program renamed as shown",
     [] {
         return confirmed<PcgDocModel>(
             "qe.pcg", test::qePcgImage({{"Piano", 9, 0, 4, 1}, {"Organ", 9, 1, 4, 2}}),
             [](PcgDocModel& d) { EXPECT_TRUE(PcgListModel(d).EndLabelEdit(1, "Organ")); });
     }},
    {"performance renamed as shown",
     [] {
         return confirmed<PrfDocModel>("live.prf", performances(), [](PrfDocModel& d) {
             EXPECT_TRUE(PrfListModel(d).EndLabelEdit(0, "Pop Live"));
         });
     }},
    {"arrangement renamed as shown",
     [] {
         return confirmed<ArrDocModel>("set.arr", test::ArrFileBuilder('9').image(), [](ArrDocModel& d) {
             EXPECT_TRUE(ArrListModel(d).EndLabelEdit(1, d.items[1].NameText()));
         });
     }},
};

TEST(UnchangedOk, LeavesTheProgramDocumentsUnmarkedAndTheirFilesAsTheyWere)
{
    for (const ConfirmRoad& road : kConfirmRoads) {
        SCOPED_TRACE(road.name);
        const ConfirmedDoc c = road.run();
        ASSERT_FALSE(c.before.empty());
        EXPECT_FALSE(c.modified);
        EXPECT_EQ(c.after, c.before);
    }
}

} // namespace
} // namespace zib
