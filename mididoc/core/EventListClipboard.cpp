// Copy and paste of the event lists.
#include "mididoc/core/EventListModel.h"

#include "midi/CMidiParserEx.h"
#include "mididoc/core/CUndoManager.h"
#include "mididoc/core/EventClipboardBlock.h"
#include "mididoc/core/EventClipboardSupplement.h"
#include "mididoc/core/EventListOwner.h"
#include "mididoc/core/EventPasteEngine.h"
#include "mididoc/core/MidiDocAllocator.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/MidiDocModel.h"
#include "mididoc/core/SequenceEdits.h"

#include <algorithm>

namespace zib {

namespace {

void report(EventListOwner& owner, int message, const char* caption)
{
    DocMessage m;
    m.message = message;
    m.caption = caption;
    owner.ListHooks().Reports().Report(m);
}

} // namespace

EditResult EventListModel::CopyToClipboard(const std::vector<int>& rows)
{
    EventClipboard& clipboard = m_owner.ListHooks().Clipboard();
    CMidiParserEx* sequence = Sequence();
    const uint32_t kind = m_owner.ListDocKind();
    const bool right = m_policy.WholeFile() ? kind == EventListOwner::kMidiDocument
                                            : (kind == EventListOwner::kPadDocument ||
                                               kind == EventListOwner::kStyleDocument);
    if (!sequence || !clipboard.HasPrivateFormat() || !right || !m_policy.Clipboard() || RowCount() < 2)
        return EditResult::Unavailable;

    WaitCursor wait(m_owner.ListHooks().Reports());
    std::vector<int> selected(rows);
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    EventClipboardBlock block;
    std::vector<const CMidiEvent*> copied; // the event of each record
    int firstTrack = -1;
    bool oneTrack = true;
    uint32_t firstTime = 0;
    for (int row : selected) {
        const CMidiEvent* e = RowEvent(row);
        if (!e) continue;
        copied.push_back(e);
        if (block.records.empty()) firstTime = e->time;
        ClipboardEventRecord r;
        r.time = e->time - firstTime;
        r.status = e->status;
        r.data.assign(e->data.begin(), e->data.begin() + std::ptrdiff_t(std::min<size_t>(e->length, e->data.size())));
        r.paired = e->paired;
        r.duration = e->duration;
        r.track = e->track;
        r.flags = e->flags;
        if (firstTrack < 0) firstTrack = e->track;
        oneTrack = oneTrack && firstTrack == e->track;
        const int type = MetaType(*e);
        if (type == 0x51) {
            block.tempo = true;
        } else if (type == 0x58) {
            block.tact = true;
        } else {
            block.trackEvents = true;
        }
        block.records.push_back(std::move(r));
    }
    if (block.records.empty()) return EditResult::Nothing;
    block.oneTrack = oneTrack;

    // The headers of the shown tracks; a copy that cannot make them fails.
    int shown = 0;
    for (int t = 1; t <= 64; ++t)
        shown += m_shown[size_t(t)] ? 1 : 0;
    std::vector<uint8_t> headerSpace;
    if (!MidiDocAllocator::Resize(headerSpace, size_t(shown) * EventClipboardBlock::kTrackHeaderSize)) {
        report(m_owner, kMsgNoMemory, "CopyToClipboard");
        return EditResult::Failed;
    }
    if (const MidiDocModel* doc = m_owner.ListDocument()) {
        for (int t = 1; t <= 64; ++t) {
            const CTrackInfo* record = m_shown[size_t(t)] ? doc->TrackRecord(t - 1) : nullptr;
            if (record)
                block.headers.push_back({record->name, record->index, record->port, record->channel, record->bank,
                                         record->program, record->volume, record->pan});
        }
    } else if (shown <= 1 && FirstShownTrack() > 0) {
        const CMidiParserEx::Track& table = *sequence->GetTrack(FirstShownTrack());
        ClipboardTrackHeader h;
        h.channel = table.channel;
        h.bank = uint16_t(table.bankMsb << 8 | table.bankLsb);
        h.program = table.program;
        h.volume = table.volume;
        block.headers.push_back(h);
    }
    std::vector<uint8_t> bytes;
    if (!MidiDocAllocator::Resize(bytes, block.EncodedSize())) {
        report(m_owner, kMsgNoMemory, "CopyToClipboard");
        return EditResult::Failed;
    }
    bytes = block.Encode();
    std::vector<uint8_t> supplement =
        EventClipboardSupplement::Of(*sequence, copied).Encode(bytes.size(), block.records.size());
    if (clipboard.PutWithSupplement(std::move(bytes), std::move(supplement)) != EventClipboard::Result::Ok) {
        report(m_owner, kMsgCannotAttach, "");
        return EditResult::Failed;
    }
    return EditResult::Done;
}

EditResult EventListModel::PasteEvents(const std::vector<int>& rows, uint32_t startTick)
{
    if (Refused()) return EditResult::RefusedWhilePlaying;
    CMidiParserEx* sequence = Sequence();
    const uint32_t kind = m_owner.ListDocKind();
    if (!sequence) return EditResult::Unavailable;
    if (m_policy.WholeFile() ? kind != EventListOwner::kMidiDocument
                             : (!m_policy.Clipboard() ||
                                (kind != EventListOwner::kPadDocument && kind != EventListOwner::kStyleDocument)))
        return EditResult::Unavailable;

    std::vector<uint8_t> bytes, supplementBytes;
    switch (m_owner.ListHooks().Clipboard().GetWithSupplement(bytes, supplementBytes)) {
    case EventClipboard::Result::Ok:
        break;
    case EventClipboard::Result::CannotAttach:
        report(m_owner, kMsgCannotAttach, "");
        return EditResult::Failed;
    case EventClipboard::Result::CannotGetData:
        report(m_owner, kMsgCannotGetData, "");
        return EditResult::Failed;
    case EventClipboard::Result::NoBlock:
        return EditResult::Nothing;
    }
    EventClipboardBlock block;
    const auto decoded = EventClipboardBlock::Decode(bytes, block);
    // A block of another kind is ignored by a track list and fails the whole-file list.
    if (decoded == EventClipboardBlock::Decoded::NotEventBlock && !m_policy.WholeFile()) return EditResult::Nothing;
    if (decoded != EventClipboardBlock::Decoded::Ok || (m_policy.WholeFile() && block.headers.empty())) {
        report(m_owner, kMsgCannotPaste, "OnEditPaste");
        return EditResult::Failed;
    }

    m_shown[0] = 0;
    PasteDlgValues values;
    values.mode = int(kind);
    values.startTrack = FirstShownTrack() > 0 ? FirstShownTrack() : 1;
    values.oneTrack = block.oneTrack;
    values.trackEvents = block.trackEvents;
    values.markers = block.markers;
    values.tempo = block.tempo;
    values.tact = block.tact;
    if (m_policy.WholeFile()) {
        values.startTick = startTick;
    } else {
        // A track list starts at its first selected event.
        values.startTick = 0;
        for (int row : rows)
            if (const CMidiEvent* e = RowEvent(row)) {
                values.startTick = e->time;
                break;
            }
    }
    auto choice = m_owner.ListHooks().Dialogs().PasteEvents(*sequence, values);
    if (!choice) return EditResult::Cancelled;
    if (!m_policy.WholeFile()) {
        // Only the start time can change in a track list.
        const uint32_t tick = choice->startTick;
        *choice = values;
        choice->startTick = tick;
    }
    WaitCursor wait(m_owner.ListHooks().Reports());
    m_owner.ListHooks().Views().Freeze();
    EventPasteEngine engine(m_policy.WholeFile() ? EventPasteEngine::Mode::WholeList : EventPasteEngine::Mode::TrackList,
                            *sequence, m_owner.ListUndo(), m_owner.ListDocument());
    const EditResult result = engine.Paste(
        block, EventClipboardSupplement::Decode(supplementBytes, bytes.size(), block.records.size()),
        *choice);
    m_owner.ListHooks().Views().Thaw();
    if (result == EditResult::Failed) {
        report(m_owner, kMsgCannotPaste, "OnEditPaste");
    } else if (result == EditResult::Done) {
        m_owner.ListSetModified();
        if (m_policy.WholeFile()) {
            m_owner.ListHooks().Views().Redraw();
            if (engine.TimeSignaturesChanged()) m_owner.ListHooks().Views().RebuildBarList();
        }
    }
    RefillRows();
    return result;
}

} // namespace zib
