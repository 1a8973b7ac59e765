#include "ulvarf/CQeStyleWriter.h"

#include "ulvarf/CEncoderProp.h"

#include "ulvarf/CCvUseTimes.h"
#include "ulvarf/CNstStyle.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/CPropPattUnmerge.h"
#include "ulvarf/QeTime.h"
#include "ulvarf/TraceMessage.h"

#include <algorithm>

namespace zib::ulvarf {

namespace {

constexpr int kCvsOfOtherElements = 2; // elements 4-11
constexpr int kFirstOtherElement = 4;

// The stream of a pattern repeated up to `cvLength`, and its new length;
// the pattern as it is when it need not or cannot be repeated.
void repeatToCv(CQeStyleTree::Pattern& chunk, uint32_t cvLength, size_t& eventBudget)
{
    if (chunk.length == 0) {
        // No length to repeat: the pattern spans the CV once.
        chunk.length = cvLength;
        return;
    }
    if (chunk.length >= cvLength) return;
    const CPropEventList events = CPropEventList::Decode(chunk.stream);
    const uint64_t copies = (uint64_t(cvLength) + chunk.length - 1) / chunk.length;
    const uint64_t total = copies * events.size();
    if (events.damaged() || copies > CQeStyleWriter::kMaxRepeats ||
        total > std::min(CQeStyleWriter::kMaxRepeatedEvents, eventBudget)) {
        TraceMessage("CQeStyleWriter::Write() - Pattern of %u ticks not repeated to %u ticks", chunk.length, cvLength);
        return;
    }
    CPropEventList repeated;
    repeated.Reserve(events.size() * copies, 0);
    for (uint64_t r = 0; r < copies; ++r) {
        const uint64_t offset = r * chunk.length;
        for (const CPropEventList::Event& event : events.events()) {
            if (offset + event.tick > UINT32_MAX) return;
            repeated.AppendFrom(events, event, uint32_t(offset + event.tick));
        }
    }
    repeated.SortByTick();
    const uint64_t length = copies * chunk.length;
    if (length > UINT32_MAX) return;
    auto stream = repeated.Encode(uint32_t(length));
    if (!stream) return;
    stream = CEncoderProp::ReEncode(*stream); // extended as the library re-encodes: both switches off
    if (!stream) return;
    chunk.stream = std::move(*stream);
    chunk.length = uint32_t(length);
    eventBudget -= total;
}

// The CV record's stream: the start of every pattern use at tick 0, the CV's
// own control events (not its starts, stops or end), the end at its length.
std::vector<uint8_t> cvStream(const CNstChordVar& cv, size_t uses)
{
    CPropEventList out;
    for (size_t k = 0; k < uses; ++k) CCvUseTimes::AppendStart(out, 0, uint8_t(k));
    const CPropEventList own = CPropEventList::Decode(cv.stream);
    for (const CPropEventList::Event& event : own.events()) {
        if (own.IsMeta(event, CPropEventList::kMetaControl)) {
            const auto data = own.MetaData(event);
            if (data.empty() || data[0] == CCvUseTimes::kStart || data[0] == CCvUseTimes::kStop) continue;
        }
        out.AppendFrom(own, event, event.tick);
    }
    auto stream = out.Encode(cv.length);
    if (stream) return std::move(*stream);
    // Own events too far apart to encode: the starts and the end alone.
    CPropEventList starts;
    for (size_t k = 0; k < uses; ++k) CCvUseTimes::AppendStart(starts, 0, uint8_t(k));
    return starts.Encode(cv.length).value_or(std::vector<uint8_t>());
}

} // namespace

void CQeStyleWriter::Prune(CNstStyle& style)
{
    for (int e = 0; e < CNstStyle::kElements; ++e) {
        CNstStyleElem* element = style.FindElement(e);
        if (!element) continue;
        const int keep = e < kFirstOtherElement ? CNstStyle::kChordVars : kCvsOfOtherElements;
        for (int c = 0; c < CNstStyle::kChordVars; ++c) {
            const CNstChordVar* cv = element->cvs[size_t(c)].get();
            if (cv && (c >= keep || cv->IsEmpty())) style.DeleteChordVar(e, c);
        }
        // An element left without a CV would come back as one that the next
        // writing deletes; it goes now.
        if (element->FirstPresentCv() < 0) {
            style.DeleteStyleElem(e);
            continue;
        }
        for (auto& cv : element->cvs) {
            if (!cv) continue;
            for (CNstPattern& pattern : cv->patterns) {
                if (pattern.created() && pattern.empty) pattern.notCreated = true;
            }
        }
        element->RepairChordAssign();
    }
    const CNstStyleElem* first = style.FindElement(0);
    if (!first || first->FirstPresentCv() < 0) style.Pattern(0, 0, 0);
}

CQeStyleTree CQeStyleWriter::BuildTree(const CNstStyle& style)
{
    CQeStyleTree tree;
    tree.version = uint8_t(style.version);
    tree.hasHeader = true;
    CQeStyleTree::Header& header = tree.header;
    header.name.assign(style.name().begin(), style.name().end());
    for (int t = 0; t < CNstStyle::kTracks; ++t) {
        const CNstStyleTrack& track = style.tracks[size_t(t)];
        header.trackModes |= uint16_t(std::min<uint8_t>(track.mode, 3) << (2 * t));
        header.tensionBits |= uint8_t((track.tension ? 1 : 0) << t);
        header.thirdFlagBits |= uint8_t((track.thirdFlag ? 1 : 0) << t);
        header.trackBytes[size_t(t)] = track.trackByte;
    }
    header.styleByteA = style.styleByteA;
    header.styleByteB = style.styleByteB;
    header.release = tree.version != 0 ? 2 : 0;

    size_t eventBudget = kMaxStyleEvents;
    for (int e = 0; e < CNstStyle::kElements; ++e) {
        const CNstStyleElem* element = style.FindElement(e);
        if (!element) continue;
        header.elementMask |= uint16_t(1u << e);
        CQeStyleTree::Element& stored = tree.elements.emplace_back();
        stored.hasInfo = true;
        stored.ntt = element->ntt;
        stored.signature = ElementSignatureByte(element->numerator, element->log2Denominator);
        stored.chordAssign.assign(element->chordAssign.begin(), element->chordAssign.end());
        stored.hasTrackTable = true;
        stored.trackRecords = CNstStyle::kTracks;
        for (size_t t = 0; t < element->tracks.size(); ++t) {
            const CNstTrackRecord& r = element->tracks[t];
            const uint8_t bytes[] = {r.expression, r.bankMsb, r.bankLsb, r.program, r.rangeLow, r.rangeHigh};
            std::copy(std::begin(bytes), std::end(bytes), stored.trackTable.begin() + long(t * 6));
        }
        for (int c = 0; c < CNstStyle::kChordVars; ++c) {
            const CNstChordVar* cv = element->cvs[size_t(c)].get();
            if (!cv) continue;
            stored.cvMask |= uint8_t(1u << c);
            CQeStyleTree::ChordVar& record = stored.cvs.emplace_back();
            record.length = cv->length;
            for (int t = 0; t < CNstStyle::kTracks; ++t) {
                const CNstPattern& pattern = cv->patterns[size_t(t)];
                if (!pattern.created()) continue;
                const uint8_t type =
                    std::min(style.typeForcing ? style.trackPatternType[size_t(t)] : pattern.type, CNstStyle::kMaxPatternType);
                CQeStyleTree::Pattern& chunk = tree.patterns.emplace_back();
                chunk.id = uint8_t(type + 2);
                chunk.length = pattern.length;
                chunk.stream = pattern.stream;
                if (type != 0) {
                    chunk.chord = pattern.chord;
                    chunk.key = pattern.key;
                }
                repeatToCv(chunk, cv->length, eventBudget);
                record.uses.push_back({type, uint8_t(t)});
            }
            record.stream = cvStream(*cv, record.uses.size());
        }
    }
    tree.hasMap = true;
    tree.mapChunks = uint16_t(std::min<size_t>(tree.patterns.size(), UINT16_MAX));
    for (size_t i = 0; i < tree.patterns.size() && i < UINT16_MAX; ++i) tree.map.push_back(uint16_t(i + 1));
    return tree;
}

std::optional<std::vector<uint8_t>> CQeStyleWriter::Write(CNstStyle& style)
{
    Prune(style);
    CQeStyleTree tree = BuildTree(style);
    if (tree.patterns.size() > UINT16_MAX || !CPropPattUnmerge::Run(tree)) {
        TraceMessage("CQeStyleWriter::Write() - Style cannot be stored: too many pattern uses, or a CV stream "
                     "that cannot be encoded");
        return std::nullopt;
    }
    return tree.Serialise();
}

} // namespace zib::ulvarf
