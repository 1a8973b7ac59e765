#include "ulvarf/CQeStyleReader.h"

#include "ulvarf/CCvUseTimes.h"
#include "ulvarf/CNstStyle.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/CPropPattMerge.h"
#include "ulvarf/CQeStyleTree.h"
#include "ulvarf/QeTime.h"
#include "ulvarf/TraceMessage.h"

#include "platform/ByteWriter.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace zib::ulvarf {

namespace {


// One CV record that the model takes, with what the checks found.
struct CvRead {
    int element = 0; // model slots
    int cv = 0;
    CQeStyleTree::ChordVar* record = nullptr;
    std::vector<long> chunkOfUse; // -1 = use ignored
    std::unique_ptr<CCvUseTimes> times;
};

// The model slots that the stored chunks fill: the k-th chunk takes the k-th
// set bit of the mask; chunks beyond the set bits get -1.
std::vector<int> slotsOf(unsigned mask, int bits, size_t chunks, const char* what)
{
    std::vector<int> slots(chunks, -1);
    size_t next = 0;
    for (int bit = 0; bit < bits && next < chunks; ++bit) {
        if (mask & (1u << bit)) slots[next++] = bit;
    }
    if (next < chunks) TraceMessage("CQeStyleReader::Read() - %zu %s chunk(s) beyond the mask ignored", chunks - next, what);
    return slots;
}

void readHeader(const CQeStyleTree& tree, CNstStyle& style)
{
    style.version = tree.version;
    if (!tree.hasHeader) return;
    const CQeStyleTree::Header& header = tree.header;
    style.release = header.release;
    if (header.name.size() > CNstStyle::kNameLength) {
        TraceMessage("CQeStyleReader::Read() - Style name of %zu characters cut to %zu", header.name.size(),
                     CNstStyle::kNameLength);
    }
    style.SetName(std::string_view(reinterpret_cast<const char*>(header.name.data()), header.name.size()));
    for (int t = 0; t < CNstStyle::kTracks; ++t) {
        CNstStyleTrack& track = style.tracks[size_t(t)];
        track.mode = uint8_t((header.trackModes >> (2 * t)) & 3);
        track.tension = uint8_t((header.tensionBits >> t) & 1);
        if (header.release >= 1) track.thirdFlag = uint8_t((header.thirdFlagBits >> t) & 1);
        if (header.release >= 2) track.trackByte = header.trackBytes[size_t(t)];
    }
    if (header.release >= 2) {
        style.styleByteA = header.styleByteA;
        style.styleByteB = header.styleByteB;
    }
}

// The chunk that use u plays, or -1.
long chunkOfUse(const CQeStyleTree& tree, size_t u)
{
    if (u < tree.map.size()) {
        const size_t value = tree.map[u];
        const size_t limit = std::min<size_t>(tree.mapChunks, tree.patterns.size());
        if (value >= 1 && value <= limit) return long(value - 1);
        TraceMessage("CQeStyleReader::Read() - Pattern map value %zu of use %zu names no pattern; use ignored", value,
                     u + 1);
        return -1;
    }
    if (u < tree.patterns.size()) return long(u);
    TraceMessage("CQeStyleReader::Read() - Pattern use %zu has no pattern chunk; ignored", u + 1);
    return -1;
}

// The element's signature; a numerator of 0 has no bar and reads as 4/4.
void signatureOf(const CQeStyleTree::Element& stored, int e, uint8_t& numerator, uint8_t& log2Denominator)
{
    numerator = uint8_t(stored.signature >> 3);
    log2Denominator = uint8_t(stored.signature & 7);
    if (numerator == 0) {
        TraceMessage("CQeStyleReader::Read() - Element %d has numerator 0; read as 4/4", e);
        numerator = 4;
        log2Denominator = 2;
    }
}

// The two length checks of one CV record.
void checkLengths(CQeStyleTree& tree, CvRead& read, bool& patternLengthForced)
{
    CQeStyleTree::ChordVar& cv = *read.record;
    CCvUseTimes& times = *read.times;
    for (size_t k = 0; k < cv.uses.size(); ++k) {
        if (read.chunkOfUse[k] < 0) continue;
        if (cv.uses[k].type + 2 != tree.patterns[size_t(read.chunkOfUse[k])].id) {
            TraceMessage("Warning! Pattern type && use in CV are inconsistent!");
        }
    }

    // A use cut short by the CV's end: the CV is made long enough to play the
    // chunk once from the use's start. Done once, so that it always ends.
    uint64_t needed = 0;
    for (size_t k = 0; k < cv.uses.size(); ++k) {
        if (read.chunkOfUse[k] < 0) continue;
        const uint32_t length = tree.patterns[size_t(read.chunkOfUse[k])].length;
        for (const CCvUseTimes::Interval& interval : times.Intervals(k)) {
            if (interval.toCvEnd && length > 0 && interval.length() < length) {
                needed = std::max<uint64_t>(needed, uint64_t(interval.start) + length);
            }
        }
    }
    if (needed > 0) {
        cv.length = uint32_t(std::min<uint64_t>(needed, kMaxStreamTick));
        times.SetCvLength(cv.length);
        TraceMessage("Warning! Uncorrect CV length found!\nForced to Pattern length.");
    }

    // A playing time that is no whole multiple of the chunk's length, or that
    // plays it more than once in a CV that is not merged, becomes the
    // chunk's length; its events stay as they are.
    const bool merge = CPropPattMerge::NeedsMerging(cv, times, read.chunkOfUse);
    for (size_t k = 0; k < cv.uses.size(); ++k) {
        if (read.chunkOfUse[k] < 0) continue;
        CQeStyleTree::Pattern& chunk = tree.patterns[size_t(read.chunkOfUse[k])];
        for (const CCvUseTimes::Interval& interval : times.Intervals(k)) {
            const uint32_t playing = interval.length();
            if (playing == 0) continue;
            if (chunk.length == 0 || playing % chunk.length != 0 || (!merge && playing > chunk.length)) {
                chunk.length = playing;
                patternLengthForced = true;
            }
        }
    }
}

// The CV's own stream: its tempo changes, ending at the CV's length.
std::vector<uint8_t> tempoStream(const CPropEventList& events, uint32_t length)
{
    CPropEventList tempo;
    for (const CPropEventList::Event& event : events.events()) {
        if (!events.IsMeta(event, CPropEventList::kMetaControl)) continue;
        const auto data = events.MetaData(event);
        if (data.size() >= 2 && data[0] == CCvUseTimes::kTempo) tempo.AppendFrom(events, event, event.tick);
    }
    if (tempo.empty()) return {};
    return tempo.Encode(length).value_or(std::vector<uint8_t>());
}

void readElement(const CQeStyleTree::Element& stored, int e, CNstStyle& style)
{
    CNstStyleElem& element = style.Element(e);
    if (stored.hasInfo) {
        signatureOf(stored, e, element.numerator, element.log2Denominator);
        element.ntt = stored.ntt;
        const auto& assign = stored.chordAssign;
        for (size_t i = 0; i < element.chordAssign.size(); ++i) {
            if (i < assign.size()) {
                element.chordAssign[i] = assign[i];
            } else if (!assign.empty()) {
                element.chordAssign[i] = assign[0];
            }
        }
    }
    for (size_t r = 0; r < stored.trackRecords && r < element.tracks.size(); ++r) {
        const uint8_t* b = stored.trackTable.data() + r * 6;
        element.tracks[r] = {b[0], b[1], b[2], b[3], b[4], b[5]};
    }
}

void readCv(const CQeStyleTree& tree, const CvRead& read, CNstStyle& style, size_t& eventBudget)
{
    CNstStyleElem& element = style.Element(read.element);
    CNstChordVar& cv = style.ChordVar(read.element, read.cv);
    cv.numerator = element.numerator;
    cv.log2Denominator = element.log2Denominator;
    cv.length = read.record->length;
    const uint32_t bar = BarLength(cv.numerator, cv.log2Denominator);
    cv.bars = uint8_t(std::clamp<uint32_t>(bar ? cv.length / bar : 1, 1, 255));
    cv.stream = tempoStream(read.times->events(), cv.length);

    const bool merge = CPropPattMerge::NeedsMerging(*read.record, *read.times, read.chunkOfUse);
    const auto patterns = CPropPattMerge::Merge(tree, *read.record, *read.times, read.chunkOfUse, merge, eventBudget);
    for (int t = 0; t < CNstStyle::kTracks; ++t) {
        const auto& stored = patterns[size_t(t)];
        if (!stored) continue;
        CNstPattern& pattern = style.Pattern(read.element, read.cv, t);
        pattern.type = uint8_t(stored->id - 2);
        pattern.chord = stored->chord;
        pattern.key = stored->key;
        pattern.numerator = cv.numerator;
        pattern.log2Denominator = cv.log2Denominator;
        pattern.bars = cv.bars;
        pattern.length = stored->length;
        pattern.SetStream(stored->stream);
        if (read.element == 0 && read.cv == 0) style.trackPatternType[size_t(t)] = pattern.type;
    }
}

} // namespace

bool CQeStyleReader::Read(std::span<const uint8_t> styleChunk, CNstStyle& style)
{
    auto tree = CQeStyleTree::Parse(styleChunk);
    if (!tree) return false;
    Read(*tree, style);
    return true;
}

void CQeStyleReader::Read(CQeStyleTree& tree, CNstStyle& style)
{
    readHeader(tree, style);
    const std::vector<int> elementSlots =
        slotsOf(tree.hasHeader ? tree.header.elementMask : 0u, CNstStyle::kElements, tree.elements.size(), "element");

    // Every use of the style finds its chunk, the ignored ones included, so
    // that the map's numbering holds.
    std::vector<CvRead> reads;
    size_t use = 0;
    for (size_t i = 0; i < tree.elements.size(); ++i) {
        CQeStyleTree::Element& element = tree.elements[i];
        const std::vector<int> cvSlots = slotsOf(element.cvMask, CNstStyle::kChordVars, element.cvs.size(), "CV");
        for (size_t j = 0; j < element.cvs.size(); ++j) {
            CvRead read{elementSlots[i], cvSlots[j], &element.cvs[j], {}, nullptr};
            for (const CQeStyleTree::Use& pair : element.cvs[j].uses) {
                long chunk = chunkOfUse(tree, use++);
                if (pair.track >= CNstStyle::kTracks || pair.type > CNstStyle::kMaxPatternType) {
                    TraceMessage("CQeStyleReader::Read() - Pattern use %zu names track %d, type %d; ignored", use,
                                 pair.track, pair.type);
                    chunk = -1;
                }
                read.chunkOfUse.push_back(chunk);
            }
            if (read.element >= 0 && read.cv >= 0) reads.push_back(std::move(read));
        }
    }

    bool patternLengthForced = false;
    for (CvRead& read : reads) {
        if (read.record->length > kMaxStreamTick) {
            TraceMessage("CQeStyleReader::Read() - CV length %u cut to %u", read.record->length, kMaxStreamTick);
            read.record->length = kMaxStreamTick;
        }
        read.times = std::make_unique<CCvUseTimes>(read.record->stream, read.record->length, read.record->uses.size());
        checkLengths(tree, read, patternLengthForced);
    }
    if (patternLengthForced) TraceMessage("Warning! Uncorrect Pattern length(s) found!\nForced to CV length.");

    for (size_t i = 0; i < tree.elements.size(); ++i) {
        if (elementSlots[i] >= 0) readElement(tree.elements[i], elementSlots[i], style);
    }
    size_t eventBudget = CPropPattMerge::kMaxStyleEvents;
    for (const CvRead& read : reads) readCv(tree, read, style, eventBudget);
}

} // namespace zib::ulvarf
