// The MIDI document over arbitrary bytes: opening, the track list cells, the
// text dump, the file written back (which must open again with the same
// events), and an undo group of deletions taken back and made again.
#include "midi/CMidiParserEx.h"
#include "mididoc/core/CTrackListModel.h"
#include "mididoc/core/CTrackNameSource.h"
#include "mididoc/core/CZibMidDoc.h"
#include "mididoc/core/MidiTextDump.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace zib;

struct Event {
    uint32_t time;
    int track;
    uint8_t status;
    std::vector<uint8_t> bytes;
    bool operator==(const Event&) const = default;
};

std::vector<Event> eventsOf(const CMidiParserEx& sequence)
{
    std::vector<Event> out;
    for (const auto& e : sequence.GetEvents())
        out.push_back({e->time, e->track, e->status,
                       std::vector<uint8_t>(e->data.begin(),
                                            e->data.begin() + std::ptrdiff_t(std::min<size_t>(e->length, e->data.size())))});
    return out;
}

void check(bool condition)
{
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CZibMidDoc doc;
    if (doc.LoadImage("/fuzz/Input.mid", std::vector<uint8_t>(data, data + size)) != CZibMidDoc::Result::Ok) {
        check(!doc.HasTrackRecords());
        return 0;
    }
    check(doc.TrackRecordCount() == CZibMidDoc::kTrackRecordCount);

    CTrackNameSource names;
    CTrackListModel list(doc, names);
    for (int row = 0; row < list.RowCount(); ++row)
        for (int column = 0; column < CTrackListModel::kColumnCount; ++column)
            (void)list.CellText(row, column);
    if (doc.Sequence().GetEventCount() < 20000) (void)MidiTextDump(doc, "Input.mid");

    // Written back after a change: opens again with the same events.
    const auto before = eventsOf(doc.Sequence());
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        doc.Sequence().SetTrackModified(t, 1);
    doc.SetModified(true);
    std::vector<uint8_t> image;
    if (doc.BuildFileImage(image) == CZibMidDoc::Result::Ok) {
        CZibMidDoc again;
        if (again.LoadImage("/fuzz/Again.mid", image) == CZibMidDoc::Result::Ok)
            check(eventsOf(again.Sequence()) == before);
    }

    // Every third event deleted as one command, undone and redone.
    CMidiParserEx& sequence = doc.Sequence();
    uint32_t group = 1;
    for (size_t i = sequence.GetEventCount(); i-- > 0;) {
        if (i % 3) continue;
        if (doc.UndoManager().RecordAction(UndoTargetEvent, *sequence.GetEvent(i), UndoDelete, group, int32_t(i),
                                           int32_t(i)) < 0)
            break;
        group = 0;
        sequence.RemoveEvent(i);
    }
    const auto deleted = eventsOf(sequence);
    if (doc.Undo()) {
        check(eventsOf(sequence) == before);
        if (doc.Redo()) check(eventsOf(sequence) == deleted);
    }
    return 0;
}
