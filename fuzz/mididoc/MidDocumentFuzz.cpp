// The MIDI document over arbitrary bytes: opened as a .mid file, every list
// kind refilled with all its cells, the tempo list of every view, both text
// dumps built in memory, and the file written back (which must open again).
#include "ui/core/ZibSettings.h"
#include "mididoc/core/EventListDump.h"
#include "mididoc/core/EventListModel.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/TempoTrackModel.h"
#include "mididoc/core/TrackEditorOwner.h"
#include "tests/support/MemoryProfile.h"

#include <cstdlib>

namespace {

using namespace zib;

void check(bool condition)
{
    if (!condition) std::abort();
}

template <typename List>
void readCells(List& list, int columns)
{
    for (int row = 0; row < list.RowCount(); ++row)
        for (int column = 0; column < columns; ++column)
            (void)list.CellText(row, column);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    test::MemoryProfile profile;
    ZibSettings settings(profile);
    const std::atomic<int> playing{0};
    MidiDocModel doc(settings, playing);
    if (doc.OpenImage("/fuzz/Input.mid", std::vector<uint8_t>(data, data + size)) != MidiDocModel::OpenResult::Ok) {
        check(!doc.HasTrackRecords());
        return 0;
    }
    check(doc.TrackRecordCount() == MidiDocModel::kTrackRecordCount);
    const bool small = doc.Sequence().GetEventCount() < 20000;

    EventListModel whole(doc);
    std::array<uint8_t, 65> all{};
    all.fill(1);
    whole.SetShownTracks(all);
    whole.RefillRows();
    if (small) readCells(whole, EventListModel::kColumnCount);
    for (int kind = 0; kind <= TempoTrackModel::kAll; ++kind) {
        TempoTrackModel tempo(doc, kind);
        tempo.RefillList();
        if (small) readCells(tempo, 5);
    }
    for (uint32_t letter : {uint32_t('F'), uint32_t('9')})
        for (uint32_t kind : {EventListOwner::kPadDocument, EventListOwner::kStyleDocument}) {
            TrackEditorOwner owner(kind, letter, settings, playing);
            owner.BindSequence(&doc.Sequence());
            EventListModel track(owner);
            track.ShowOnlyTrack(1);
            track.RefillRows();
            if (small) readCells(track, EventListModel::kColumnCount);
        }
    if (small) {
        (void)doc.DumpText("Input.mid");
        whole.RefillRows();
        (void)EventListTextDump(doc.Sequence(), "Input.mid", EventTextStyle::ListDump, 0);
    }

    // Written back changed: the file opens again.
    doc.SetModified(true);
    bool built = false;
    const std::vector<uint8_t> image = doc.BuildFileImage(built);
    if (built) {
        MidiDocModel again(settings, playing);
        check(again.OpenImage("/fuzz/Again.mid", image) == MidiDocModel::OpenResult::Ok);
        check(again.Sequence().GetEventCount() == doc.Sequence().GetEventCount());
    }
    return 0;
}
