// Every sheet, dialog and label editor of the style and pad documents that
// is confirmed without a change: the document stays unmarked and its bytes
// stay as they were (an item name, STS data, a Wq style image, a Qe style).
#include "docs/style/core/NttDlgModel.h"
#include "docs/style/core/QeChordTableDlgModel.h"
#include "docs/style/core/QeKeyChordDlgModel.h"
#include "docs/style/core/QeStyleEditor.h"
#include "docs/style/core/QeStyleFlagsDlgModel.h"
#include "docs/style/core/SheetOk.h"
#include "docs/style/core/StsArrangerInfoPageModel.h"
#include "docs/style/core/StsItemData.h"
#include "docs/style/core/StsSheetApply.h"
#include "docs/style/core/StsTrackPageModel.h"
#include "docs/style/core/TrackParamsDlgModel.h"
#include "docs/style/core/WqStylePropertiesModel.h"
#include "tests/docs/style/StyDocHarness.h"
#include "tests/support/StyFileBuilder.h"
#include "tests/support/WqImageBuilder.h"

#include <functional>

namespace zib {
namespace {

using Bytes = std::vector<uint8_t>;

// What a road did: the bytes it could have changed, before and after, and
// whether it marked the document (or said it changed something).
struct Unchanged {
    Bytes before, after;
    bool marked = false;
};

struct UnchangedRoad {
    const char* name;
    std::function<Unchanged()> run;
};

Bytes qeStyFile()
{
    return test::dasfImage({test::qeEntry("Pop", 2, 2, 0, test::qeStyleInstance({"Pop", 0, {0, 4}})),
                            test::stsDataEntry("PopSts", 2, 0, {0, 2})});
}

// A label editor closed on the name it showed (with the blanks it may leave).
template <class Harness>
Unchanged renamedAsShown(const Bytes& file, const char* path, std::string_view text, bool stsView = false)
{
    Harness h;
    EXPECT_TRUE(h.doc.OpenImage(file, path));
    if constexpr (std::is_same_v<Harness, test::StyDocHarness>)
        if (stsView) h.doc.ToggleViewMode();
    Unchanged u;
    u.before = h.doc.BuildFileImage();
    EXPECT_TRUE(h.doc.RenameItem(0, text));
    u.after = h.doc.BuildFileImage();
    u.marked = h.doc.IsModified();
    return u;
}

// The STS sheets on STS data with two blocks, `edit` acting on the pages
// first: the chunk sheet ("Style Performance settings") and an STS page.
Unchanged
stsSheets(const std::function<void(StsTrackPageModel&, StsArrangerInfoPageModel&, StsTrackPageModel&)>& edit)
{
    Unchanged u;
    u.before = test::stsInstance({0, 2});
    u.before[StsItemData::kTempo] = 30; // below the lowest tempo: kept while not typed
    Bytes data = u.before;
    StsTrackPageModel performance = StsTrackPageModel::StylePerformance(data, 'F');
    StsArrangerInfoPageModel arranger(data, 'F');
    StsTrackPageModel sts = StsTrackPageModel::Realtime(data, 'F', 2, 1);
    edit(performance, arranger, sts);
    u.marked = ApplyStsChunkSheet(data, performance, arranger);
    u.marked = ApplyStsPage(data, sts) || u.marked;
    u.after = data;
    return u;
}

// Every value of a track page typed or chosen as it is shown.
void retypeRows(StsTrackPageModel& page)
{
    for (int r = 0; r < int(page.Rows().size()); ++r) {
        page.VolumeTyped(r, std::to_string(page.Rows()[size_t(r)].volume));
        page.PanSelected(r, page.PanSelection(r));
        page.SoundChosen(r, page.Rows()[size_t(r)].sound);
    }
}

// "Style Parameters" of a Wq style confirmed as the dialog fills it; the
// tempo byte and a range byte lie outside their lists.
Unchanged wqStyleProperties(char model)
{
    Unchanged u;
    u.before = test::WqImageBuilder::fromEmptyItem(model).name("Props").tempo(100).wrapAround(1, 15).build();
    const size_t shift = model == 'I' || model == 'M' ? 8 : 0;
    u.before[11 + shift] = 5; // 35 beats a minute
    Bytes image = u.before;
    WqStylePropertiesModel m(image, uint32_t(model), {int(model), 2, false, {}});
    EXPECT_TRUE(m.Usable());
    std::array<int, 6> volumes{}, pans{};
    for (size_t t = 0; t < 6; ++t) {
        volumes[t] = m.volumes[t] < 128 ? m.volumes[t] : -1;
        pans[t] = WqStylePropertiesModel::PanIndex(m.pans[t]);
    }
    u.marked = m.Ok(volumes, pans, m.LayoutB() ? m.category : -1);
    u.after = image;
    return u;
}

// A dialog of a Qe style's tree confirmed as it was filled, on the style's
// editor: its change flag, and the style serialised before and after.
Unchanged qeStyleDialog(const std::function<int(QeStyleEditor&)> confirm)
{
    auto made = LibraryQeStyleEditor::FromItem(test::qeStyleInstance({"Pop", 0, {0, 4}}));
    EXPECT_TRUE(made.editor);
    Unchanged u;
    if (!made.editor) return u;
    QeStyleEditor& editor = *made.editor;
    u.before = editor.SerializedResource();
    u.marked = confirm(editor) != 0;
    u.after = editor.SerializedResource();
    return u;
}

// A Wq style image given to the kit's chord table and CV parameters dialogs.
Unchanged wqItemDialog(const std::function<void(WqStyleItemRef)>& confirm)
{
    Unchanged u;
    u.before = test::smallWq8Image("Rock", '9');
    Bytes data = u.before;
    confirm(WqDialogItemRef('9', data, [&u] { u.marked = true; }));
    u.after = data;
    return u;
}

const UnchangedRoad kUnchangedRoads[] = {
    {"Qe style renamed as shown",
     [] { return renamedAsShown<test::StyDocHarness>(qeStyFile(), "/x/pop.sty", "Pop  "); }},
    {"STS item renamed as shown",
     [] { return renamedAsShown<test::StyDocHarness>(qeStyFile(), "/x/pop.sty", "PopSts", true); }},
    {"Wq style renamed as shown",
     [] {
         return renamedAsShown<test::StyDocHarness>(test::wqStyleFile('9', {test::smallWq8Image("Rock")}),
                                                    "/x/wq.sty", "Rock");
     }},
    {"pad renamed as shown",
     [] {
         return renamedAsShown<test::PadDocHarness>(
             test::dasfImage(
                 {test::qeEntry("Pad1", 9, 0, 0, test::qeStyleInstance({"Pad1", 0, {0}, 0, true}))}),
             "/x/a.pad", "Pad1");
     }},
    {"STS sheets looked at", [] { return stsSheets([](auto&, auto&, auto&) {}); }},
    {"STS sheets with every value put back as it was",
     [] {
         return stsSheets(
             [](StsTrackPageModel& performance, StsArrangerInfoPageModel& arranger, StsTrackPageModel& sts) {
                 retypeRows(performance);
                 retypeRows(sts);
                 arranger.TempoTyped(std::to_string(arranger.tempo));
                 using F = StsArrangerInfoPageModel::Field;
                 for (F f : {F::Bank, F::Position, F::Variation, F::Element, F::Fill1, F::Fill2})
                     arranger.Select(f, arranger.Selection(f));
             });
     }},
    {"Wq style parameters, layout A", [] { return wqStyleProperties('9'); }},
    {"Wq style parameters, layout B", [] { return wqStyleProperties('M'); }},
    {"Wq chord table",
     [] {
         return wqItemDialog([](WqStyleItemRef ref) {
             EditChordTableDlgModel m(ref, 0);
             std::array<int, EditChordTableDlgModel::kChordTypes> chosen{};
             for (int t = 0; t < EditChordTableDlgModel::kChordTypes; ++t)
                 chosen[size_t(t)] = m.SelectedAtStart(t);
             EXPECT_TRUE(m.Ok(chosen));
         });
     }},
    {"Wq CV parameters",
     [] {
         return wqItemDialog([](WqStyleItemRef ref) {
             CvParamsDlgModel m(ref, 0, 0);
             EXPECT_TRUE(m.Ok(CvParamsDlgModel::KeyName(m.key()), std::to_string(m.length())));
         });
     }},
    {"Qe style flags",
     [] {
         return qeStyleDialog([](QeStyleEditor& e) {
             QeStyleFlagsDlgModel m(e, "Pop");
             std::array<int, 8> rows{};
             std::array<bool, 8> tension{};
             for (int t = 0; t < 8; ++t) {
                 rows[size_t(t)] = m.RowAtStart(t);
                 tension[size_t(t)] = m.TensionAtStart(t);
             }
             return m.Ok(rows, tension);
         });
     }},
    {"Qe chord table",
     [] {
         return qeStyleDialog([](QeStyleEditor& e) {
             QeChordTableDlgModel m(e, 0);
             std::array<int, QeChordTableDlgModel::kChordTypes> selections{};
             for (int i = 0; i < QeChordTableDlgModel::kChordTypes; ++i)
                 selections[size_t(i)] = m.SelectionAtStart(i);
             return m.Ok(selections);
         });
     }},
    {"Qe NTT",
     [] {
         return qeStyleDialog([](QeStyleEditor& e) {
             NttDlgModel m(e, 4);
             return m.Ok(m.ntt);
         });
     }},
    {"Qe key-chord of a track with data and of one without",
     [] {
         return qeStyleDialog([](QeStyleEditor& e) {
             int changed = 0;
             for (int track : {2, 3}) {
                 QeKeyChordDlgModel m(e, 0, 0, track);
                 changed |= m.Ok(m.SelectionAtStart());
             }
             return changed;
         });
     }},
    {"Qe track parameters",
     [] {
         return qeStyleDialog([](QeStyleEditor& e) {
             TrackParamsDlgModel m(e, 0, "Pop");
             return m.Ok(m.ControlsAtStart());
         });
     }},
};

TEST(UnchangedOk, LeavesTheStyleDocumentsUnmarkedAndTheirBytesAsTheyWere)
{
    for (const UnchangedRoad& road : kUnchangedRoads) {
        SCOPED_TRACE(road.name);
        const Unchanged u = road.run();
        ASSERT_FALSE(u.before.empty());
        EXPECT_FALSE(u.marked);
        EXPECT_EQ(u.after, u.before);
    }
}

// The rule itself: a write that puts the same bytes back is no change.
TEST(UnchangedOk, OnlyDifferentBytesCountAsAChange)
{
    Bytes record{1, 2, 3};
    EXPECT_FALSE(WriteChangesBytes(record, [](std::span<uint8_t> b) { b[1] = 2; }));
    EXPECT_TRUE(WriteChangesBytes(record, [](std::span<uint8_t> b) { b[1] = 7; }));
    EXPECT_EQ(record, (Bytes{1, 7, 3}));
    EXPECT_FALSE(PutBackWhenChanged(record, {1, 7, 3}));
    EXPECT_TRUE(PutBackWhenChanged(record, {1, 7}));
    EXPECT_EQ(record, (Bytes{1, 7}));
}

} // namespace
} // namespace zib
