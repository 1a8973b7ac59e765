#include "docs/style/core/StyleBufferRebuild.h"

#include "docs/style/core/QeStyleEditor.h"
#include "midi/CMidiFileParser.h"
#include "midi/CMidiParserEx.h"
#include "platform/ByteWriter.h"

#include <array>

namespace zib {

namespace {

constexpr const char* kQeCaption = "RecreateQeStyleBuffer";
constexpr const char* kWqCaption = "RecreateOldStyleBuffer";

// Message numbers of the rebuilds.
constexpr int kCannotRecreateLastChanges = 92;
constexpr int kCannotRecreateVexSound = 93;
constexpr int kCannotImportMidiData = 94;
constexpr int kCannotRecreateStyleBuffer = 95;
constexpr int kCannotAllocateOutput = 66;
constexpr int kCannotWriteOutput = 67;

constexpr size_t kVexSoundSize = 11;

bool isMetaOrSysEx(uint8_t status)
{
    return status == 0xFF || status == 0xF0 || status == 0xF7;
}

bool isVexSound(const CMidiEvent& e)
{
    return (e.flags & CMidiEvent::kVexNoise) != 0;
}

// Stores the delta as a variable-length number in the event.
void setDelta(CMidiEvent& e, uint32_t delta)
{
    ByteWriter w;
    w.varLen(delta & (ByteWriter::kMaxVarLen));
    e.deltaSize = uint8_t(w.size());
    for (size_t i = 0; i < w.size() && i < sizeof(e.deltaBytes); ++i)
        e.deltaBytes[i] = w.bytes()[i];
}

uint32_t dataLength(const CMidiEvent& e)
{
    return uint32_t(std::min<size_t>(e.length, e.data.size()));
}

// The end of the bar that holds `tick`.
uint32_t endOfBarAt(CMidiParserEx& sequence, uint32_t tick)
{
    uint32_t measure = 0, beat = 0, inBeat = 0;
    if (sequence.TickToMbt(tick, measure, beat, inBeat) != 0) measure = 0;
    const uint32_t numerator = sequence.GetNumeratorAtMeasure(measure);
    const uint32_t denominator = sequence.GetDenominatorAtMeasure(measure);
    const uint32_t division = sequence.GetDivision();
    if (numerator == 0 || denominator == 0) return tick;
    return sequence.GetMeasureStartTick(measure) + numerator * division * 4 / denominator;
}

bool isNoteOff(const CMidiEvent& e)
{
    const uint8_t kind = e.status & 0xF0;
    return kind == 0x80 || (kind == 0x90 && dataLength(e) >= 2 && e.data[1] == 0);
}

// Where a rebuilt Qe track ends: on the bar line after its last event. An
// event on a bar line opens that bar, but a note-off there ends the bar
// before it (the export ends the notes still sounding at the CV's end
// exactly there). The track never ends before the end of track the
// sequence was read with, taken up to a bar line: the chord variation keeps
// its length when its last bars are quiet or the user emptied them.
class TrackEnd {
public:
    explicit TrackEnd(CMidiParserEx& sequence) : sequence_(sequence)
    {
        for (uint32_t readEnd : sequence.GetChunkEndTimes())
            if (readEnd > 0) atLeast(readEnd - 1);
    }
    void Take(const CMidiEvent& e) { atLeast(isNoteOff(e) && e.time > 0 ? e.time - 1 : e.time); }
    uint32_t Tick() { return end_ ? end_ : endOfBarAt(sequence_, 0); }

private:
    void atLeast(uint32_t tick) { end_ = std::max(end_, endOfBarAt(sequence_, tick)); }

    CMidiParserEx& sequence_;
    uint32_t end_ = 0;
};

void notify(const StyleRebuildContext& c, int message, const char* caption)
{
    if (c.notify) c.notify(StyNotice::Numbered(message, caption, StyNoticeIcon::Stop));
}

void closeWindow(const StyleRebuildContext& c)
{
    if (c.closeEventWindow) c.closeEventWindow();
}

void clearModifiedTracks(CMidiParserEx& sequence)
{
    for (int t = 0; t < CMidiParserEx::kMaxTracks; ++t)
        sequence.SetTrackModified(t, 0);
}

// The track record slot (0 expression, 1 bank select MSB, 2 bank select
// LSB, 3 program) an event sets, or -1.
int recordSlot(const CMidiEvent& event)
{
    if ((event.status & 0xF0) == 0xC0) return 3;
    if ((event.status & 0xF0) != 0xB0 || dataLength(event) < 1) return -1;
    switch (event.data[0]) {
    case 11:
        return 0;
    case 0:
        return 1;
    case 32:
        return 2;
    default:
        return -1;
    }
}

// The events the export wrote from the element's track records: on the
// channel of each created pattern (the style tracks in `tracks`), the first
// expression, bank select MSB, bank select LSB and program change at tick 0
// (the track lists hide them). They belong to the element, not to the
// pattern: written back, they would become the pattern's own events and
// play as a second set after the record.
std::vector<bool> trackRecordEvents(const CMidiParserEx& sequence, const std::array<bool, 8>& tracks)
{
    std::vector<bool> out(sequence.GetEventCount(), false);
    // Per channel, which of the four record events are still to come.
    std::array<std::array<bool, 4>, 16> pending{};
    for (int t = 0; t < 8; ++t)
        if (tracks[size_t(t)]) pending[CMidiFileParser::QeTrackChannelTable[t]].fill(true);
    for (size_t i = 0; i < sequence.GetEventCount(); ++i) {
        const CMidiEvent& event = *sequence.GetEvent(i);
        if (event.time > 0) break;
        const int slot = recordSlot(event);
        if (slot < 0) continue;
        bool& first = pending[event.status & 0x0F][size_t(slot)];
        out[i] = first;
        first = false;
    }
    return out;
}

std::array<bool, 8> createdPatterns(QeStyleEditor& editor, int e, int cv)
{
    std::array<bool, 8> out{};
    for (int t = 0; t < 8; ++t)
        out[size_t(t)] = editor.QueryPattern(e, cv, t) != 0;
    return out;
}

} // namespace

QeTrackBytes BuildQeTrackBytes(CMidiParserEx& sequence, const std::vector<bool>& leftOut)
{
    QeTrackBytes out;
    const auto written = [&leftOut](size_t i) { return i >= leftOut.size() || !leftOut[i]; };
    // First pass: deltas and sizes.
    uint64_t size = 0;
    uint32_t previousTime = 0;
    uint8_t previousStatus = 0;
    TrackEnd end(sequence);
    for (size_t i = 0; i < sequence.GetEventCount(); ++i) {
        if (!written(i)) continue;
        CMidiEvent& e = *sequence.GetEvent(i);
        end.Take(e);
        setDelta(e, e.time - std::min(e.time, previousTime));
        previousTime = e.time;
        size += e.deltaSize;
        if (isMetaOrSysEx(e.status)) {
            size += dataLength(e);
            previousStatus = e.status;
        } else if (isVexSound(e)) {
            size += kVexSoundSize;
            previousStatus = 0xF0;
        } else {
            size += dataLength(e) + (e.status != previousStatus ? 1 : 0);
            previousStatus = e.status;
        }
    }
    const uint32_t lastTime = previousTime;
    out.endTick = end.Tick();
    const uint32_t endDelta = out.endTick - std::min(out.endTick, lastTime);
    size += ByteWriter::varLenSize(endDelta) + 3;

    // Second pass: the bytes.
    ByteWriter w;
    w.reserve(size_t(size));
    previousStatus = 0;
    for (size_t i = 0; i < sequence.GetEventCount(); ++i) {
        if (!written(i)) continue;
        const CMidiEvent& e = *sequence.GetEvent(i);
        w.bytes(e.deltaBytes, e.deltaSize);
        if (isMetaOrSysEx(e.status)) {
            w.bytes(e.data.data(), dataLength(e));
            previousStatus = e.status;
        } else if (isVexSound(e)) {
            const uint8_t kind = e.status & 0xF0;
            if ((kind != 0x80 && kind != 0x90) || dataLength(e) < 2) {
                out.error = TrackBytesError::VexSound;
                return out;
            }
            const uint8_t vex[kVexSoundSize] = {0xF0, 0x09, 0x42, 0x3F, 0x78, 0x01, uint8_t(kind == 0x90 ? 1 : 0),
                                                uint8_t(e.status & 0x0F), e.data[0], e.data[1], 0xF7};
            w.bytes(vex, kVexSoundSize);
            previousStatus = 0xF0;
        } else {
            if (e.status != previousStatus) w.u8(e.status);
            w.bytes(e.data.data(), dataLength(e));
            previousStatus = e.status;
        }
    }
    w.varLen(endDelta);
    w.u8(0xFF);
    w.u8(0x2F);
    w.u8(0x00);
    if (!w.ok() || w.size() != size) {
        out.error = TrackBytesError::SizeDiffers;
        return out;
    }
    out.bytes = w.take();
    return out;
}

std::vector<std::vector<uint8_t>> BuildWqTrackBytes(CMidiParserEx& sequence)
{
    struct TrackState {
        ByteWriter writer;
        uint32_t previousTime = 0;
        uint8_t previousStatus = 0;
    };
    std::vector<TrackState> tracks(CMidiParserEx::kMaxTracks);
    for (const auto& event : sequence.GetEvents()) {
        CMidiEvent& e = *event;
        if (e.track >= tracks.size()) continue;
        TrackState& t = tracks[e.track];
        setDelta(e, e.time - std::min(e.time, t.previousTime));
        t.previousTime = e.time;
        t.writer.bytes(e.deltaBytes, e.deltaSize);
        if (!isMetaOrSysEx(e.status) && e.status != t.previousStatus) t.writer.u8(e.status);
        t.writer.bytes(e.data.data(), dataLength(e));
        t.previousStatus = e.status;
    }
    std::vector<std::vector<uint8_t>> out;
    for (TrackState& t : tracks) {
        if (t.writer.size() > 0) {
            for (uint8_t b : {0x00, 0xFF, 0x2F, 0x00})
                t.writer.u8(b);
        }
        out.push_back(t.writer.take());
    }
    return out;
}

std::vector<uint8_t> SmfImageOf(uint16_t division, const std::vector<std::vector<uint8_t>>& tracks)
{
    uint16_t count = 0;
    for (const auto& t : tracks)
        if (!t.empty()) ++count;
    ByteWriter w;
    w.text("MThd");
    w.u32be(6);
    w.u16be(count > 1 ? 1 : 0);
    w.u16be(count);
    w.u16be(division);
    for (const auto& t : tracks) {
        if (t.empty()) continue;
        w.text("MTrk");
        w.u32be(uint32_t(t.size()));
        w.bytes(t);
    }
    return w.ok() ? w.take() : std::vector<uint8_t>();
}

std::optional<CvImageParts> SplitCvExportImage(std::span<const uint8_t> image)
{
    CMidiParserEx sequence;
    if (image.empty() || sequence.ParseImage(image.data(), uint32_t(image.size())) != 0) return std::nullopt;
    // An export writes all four record events, first on the channel, for
    // each created pattern and nothing on the channel of any other.
    std::array<bool, 8> everyTrack{};
    everyTrack.fill(true);
    const std::vector<bool> leftOut = trackRecordEvents(sequence, everyTrack);
    CvImageParts out;
    for (size_t i = 0; i < leftOut.size(); ++i) {
        if (!leftOut[i]) continue;
        const CMidiEvent& event = *sequence.GetEvent(i);
        const int channel = event.status & 0x0F;
        for (int t = 0; t < 8; ++t) {
            if (CMidiFileParser::QeTrackChannelTable[t] != channel) continue;
            CvTrackRecord& record = out.records[size_t(t)];
            record.present = true;
            const uint8_t value = (event.status & 0xF0) == 0xC0 ? event.data[0] : event.data[1];
            const int slot = recordSlot(event);
            if (slot == 0) {
                record.expression = value;
                continue;
            }
            // Bank select MSB, LSB and program are the program word's bytes 3, 2 and 0.
            const int shift = slot == 1 ? 24 : slot == 2 ? 16 : 0;
            record.program = (record.program & ~(0xFFu << shift)) | uint32_t(value) << shift;
        }
    }
    const QeTrackBytes track = BuildQeTrackBytes(sequence, leftOut);
    if (track.error != TrackBytesError::None) return std::nullopt;
    out.patterns = SmfImageOf(sequence.GetDivision(), {track.bytes});
    if (out.patterns.empty()) return std::nullopt;
    return out;
}

int RecreateQeStyleBuffer(const StyleRebuildContext& c, const QeRebuildTarget& target)
{
    int result = 0;
    QeStyleEditor& editor = *target.editor;
    if (c.sequence && c.sequence->HasModifiedTrack()) {
        // The edit is taken now: written back, or dropped with its message.
        clearModifiedTracks(*c.sequence);
        QeTrackBytes track = BuildQeTrackBytes(
            *c.sequence, trackRecordEvents(*c.sequence, createdPatterns(editor, target.element, target.cv)));
        if (track.error != TrackBytesError::None) {
            notify(c, track.error == TrackBytesError::VexSound ? kCannotRecreateVexSound : kCannotRecreateLastChanges,
                   kQeCaption);
            closeWindow(c);
            return -1;
        }
        const std::vector<uint8_t> image = SmfImageOf(c.sequence->GetDivision(), {track.bytes});
        if (image.empty()) {
            notify(c, kCannotWriteOutput, kQeCaption);
            closeWindow(c);
            return -1;
        }
        // The events go into the chord variation as it stands: its patterns
        // keep their chords, keys and types, and its element (which holds
        // data, this CV's at least) its signature and track records. An
        // import that fails changes nothing.
        if (!editor.ImportSmf(image, target.element, target.cv)) {
            notify(c, kCannotImportMidiData, kQeCaption);
            closeWindow(c);
            return -1;
        }
        *c.edited = 1;
    }
    if (*c.edited == 0) return result;
    std::vector<uint8_t> data = editor.SerializedResource();
    if (data.empty()) {
        // The item keeps its data; the edits stay in the editor.
        notify(c, kCannotRecreateStyleBuffer, kQeCaption);
        return -1;
    }
    if (target.storeItemData) target.storeItemData(std::move(data));
    *c.edited = 0;
    if (c.setModified) c.setModified();
    return result;
}

int RecreateOldStyleBuffer(const StyleRebuildContext& c, const WqRebuildTarget& target)
{
    if (c.sequence && c.sequence->HasModifiedTrack()) {
        clearModifiedTracks(*c.sequence);
        const std::vector<uint8_t> image = SmfImageOf(c.sequence->GetDivision(), BuildWqTrackBytes(*c.sequence));
        if (image.empty()) {
            notify(c, kCannotAllocateOutput, kWqCaption);
            closeWindow(c);
            return -1;
        }
        // A track that cannot be replaced leaves the item intact: the edit
        // is lost, the document is not.
        if (!target.replaceTrackData ||
            target.replaceTrackData(image, target.element, target.cv, target.track) == 0) {
            notify(c, kCannotImportMidiData, kWqCaption);
            closeWindow(c);
            return -1;
        }
        if (target.remakeStyleData && !target.remakeStyleData()) {
            notify(c, kCannotRecreateStyleBuffer, kWqCaption);
            return -2;
        }
        *c.edited = 1;
    }
    if (*c.edited != 0) {
        *c.edited = 0;
        if (c.setModified) c.setModified();
    }
    return 0;
}

} // namespace zib
