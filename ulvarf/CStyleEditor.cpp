#include "ulvarf/CStyleEditor.h"

#include "ulvarf/CChunkNav.h"
#include "ulvarf/CDecSMF0.h"
#include "ulvarf/CEncoderProp.h"
#include "ulvarf/CEncoderSMF0.h"
#include "ulvarf/CPropEventList.h"
#include "ulvarf/CQeStyleReader.h"
#include "ulvarf/CQeStyleWriter.h"
#include "ulvarf/CResourceInstance.h"
#include "ulvarf/QeTime.h"
#include "ulvarf/SmfCvData.h"
#include "ulvarf/TraceMessage.h"

#include "platform/ByteWriter.h"

#include <algorithm>
#include <cstring>

namespace zib::ulvarf {

namespace {

constexpr uint8_t kStyleWrapper = 0x06;
constexpr uint8_t kPadWrapper = 0x0C;
constexpr uint8_t kStyleChunkId = 0x01;
constexpr uint8_t kMaxLog2Denominator = 7; // the element byte holds 3 bits: denominators 1 ... 128

// Plain note kinds and their VexSound counterparts: off, on. Notes with a
// duration are not converted; the re-encoding turns them into plain pairs.
constexpr uint8_t kNoteKinds[] = {PropKind::NoteOff, PropKind::NoteOn};
constexpr uint8_t kVexSoundKinds[] = {PropKind::VexSoundOff, PropKind::VexSoundOn};

// Re-kinds the events of a pattern for which `change` gives a new kind, then
// re-encodes the stream with both switches off, changed or not; a stream
// that cannot be read whole is left alone.
template <class Change>
void rekind(CNstPattern& pattern, Change change)
{
    CPropEventList events = CPropEventList::Decode(pattern.stream);
    if (events.damaged()) return;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events.Bytes(events[i])[0] & 0x20) continue; // a form without a defined event
        const int kind = change(events, events[i]);
        if (kind >= 0) events.SetKind(i, uint8_t(kind));
    }
    const uint32_t end = events.hasEnd() ? events.endTick() : std::max(pattern.length, events.lastTick());
    auto stream = events.Encode(end);
    if (stream) stream = CEncoderProp::ReEncode(*stream);
    if (stream) pattern.SetStream(std::move(*stream));
}

int indexOf(const uint8_t (&kinds)[2], uint8_t kind)
{
    for (int i = 0; i < 2; ++i) {
        if (kinds[i] == kind) return i;
    }
    return -1;
}

SmfTrackSetup setupOf(const CNstTrackRecord& r)
{
    return {r.expression, r.bankMsb, r.bankLsb, r.program};
}

} // namespace

CStyleEditor::CStyleEditor(std::unique_ptr<CNstQeIfc> style, bool type9)
    : self_(reinterpret_cast<uintptr_t>(this) + 2), style_(std::move(style)), type9_(type9)
{
}

CStyleEditor::~CStyleEditor()
{
    self_ = 0;
}

std::unique_ptr<CStyleEditor> CStyleEditor::NewStyle(bool type9)
{
    return std::unique_ptr<CStyleEditor>(new CStyleEditor(CNstQeIfc::NewStyle(), type9));
}

std::unique_ptr<CStyleEditor> CStyleEditor::FromResource(const CResourceInstance& resource)
{
    if ((resource.type() != kStyleType && resource.type() != kPadType) || resource.id1() != 0 || resource.id2() != 0) {
        return nullptr;
    }
    CChunkNav wrapper(resource.chunk(), 0);
    if (!wrapper.valid() || !wrapper.Decompress(true)) return nullptr;
    if (!wrapper.Enter() || wrapper.id() != kStyleChunkId || (wrapper.flags() & (kChunkNewForm | kChunkLeaf))) {
        return nullptr;
    }
    // Read over the "New Style" defaults: what the resource does not store
    // (a missing header, the per-track pattern types, type forcing) keeps them.
    auto style = CNstQeIfc::NewStyle();
    if (!CQeStyleReader::Read(wrapper.Chunk(), *style)) return nullptr;
    return std::unique_ptr<CStyleEditor>(new CStyleEditor(std::move(style), resource.type() == kPadType));
}

bool CStyleEditor::IsValid() const
{
    return self_ != 0 && self_ == reinterpret_cast<uintptr_t>(this) + 2;
}

std::unique_ptr<CResourceInstance> CStyleEditor::CreateResource()
{
    const auto styleChunk = CQeStyleWriter::Write(*style_);
    if (!styleChunk) return nullptr;
    zib::ByteWriter out;
    out.reserve(styleChunk->size() + kChunkHeadSize);
    out.u8(type9_ ? kPadWrapper : kStyleWrapper);
    out.u8(0);
    out.u8(0);
    out.u8(kChunkNewForm);
    out.u32be(uint32_t(styleChunk->size()));
    out.bytes(*styleChunk);
    const CChunkNav wrapper = CChunkNav::Owning(out.take());
    return CResourceInstance::FromChunk(type9_ ? kPadType : kStyleType, 0, 0, 0, wrapper);
}

bool CStyleEditor::ImportSmf(std::span<const uint8_t> smf, int e, int cv)
{
    // What the target element holds now, or would hold once made.
    CNstQeIfc scratch;
    const CNstStyleElem* existing = style_->FindElement(e);
    const CNstStyleElem& before = existing ? *existing : scratch.Element(e);
    SmfImportTarget target;
    target.tempo = tempo_;
    target.elementHasData = !before.HoldsNoData();
    target.signature = {before.numerator, before.log2Denominator};
    for (size_t t = 0; t < target.setups.size(); ++t) target.setups[t] = setupOf(before.tracks[t]);

    SmfImportResult result;
    if (!CDecSMF0::ImportCv(smf, target, result)) return false;

    if (result.tempo) tempo_ = *result.tempo;
    CNstStyleElem& element = style_->Element(e);
    element.numerator = result.signature.numerator;
    element.log2Denominator = result.signature.log2Denominator;
    for (size_t t = 0; t < element.tracks.size(); ++t) {
        const SmfTrackSetup& s = result.setups[t];
        element.tracks[t].expression = s.expression;
        element.tracks[t].bankMsb = s.bankMsb;
        element.tracks[t].bankLsb = s.bankLsb;
        element.tracks[t].program = s.program;
    }
    CNstChordVar& chordVar = style_->ChordVar(e, cv);
    chordVar.numerator = element.numerator;
    chordVar.log2Denominator = element.log2Denominator;
    chordVar.bars = uint8_t(std::clamp<uint32_t>(result.bars, 1, 255));
    chordVar.length = result.length;
    chordVar.stream = result.controlStream;
    for (int t = 0; t < CNstStyle::kTracks; ++t) {
        const SmfImportTrack& track = result.tracks[size_t(t)];
        if (!track.created) {
            chordVar.patterns[size_t(t)].Clear();
            continue;
        }
        CNstPattern& pattern = style_->Pattern(e, cv, t);
        pattern.numerator = chordVar.numerator;
        pattern.log2Denominator = chordVar.log2Denominator;
        pattern.length = track.length;
        pattern.SetStream(track.stream);
        chordVar.SetPatternBars(t, int(std::min<uint32_t>(track.bars, 255)));
    }
    return true;
}

size_t CStyleEditor::ExportSmfPrepare(int e, int cv)
{
    smfImage_.clear();
    smfPrepared_ = false;
    const CNstStyleElem& element = style_->Element(e);
    CNstChordVar& chordVar = style_->ChordVar(e, cv);

    SmfExportCv data;
    data.tempo = tempo_;
    data.signature = {chordVar.numerator, chordVar.log2Denominator};
    data.bars = chordVar.bars;
    data.controlStream = chordVar.stream;
    const uint32_t bar = BarLength(chordVar.numerator, chordVar.log2Denominator);
    for (int t = 0; t < CNstStyle::kTracks; ++t) {
        CNstPattern& pattern = chordVar.patterns[size_t(t)];
        SmfExportTrack& track = data.tracks[size_t(t)];
        track.created = pattern.created();
        track.setup = setupOf(element.tracks[size_t(t)]);
        if (!track.created) continue;
        // The pattern repeats over the CV in whole bars that divide the CV's bars.
        chordVar.SetPatternBars(t, pattern.bars);
        track.stream = pattern.stream;
        track.patternLength = pattern.bars * bar;
    }
    auto image = CEncoderSMF0::ExportCv(data);
    if (!image) return 0;
    smfImage_ = std::move(*image);
    smfPrepared_ = true;
    return smfImage_.size();
}

bool CStyleEditor::ExportSmfFill(std::span<uint8_t> out) const
{
    if (!smfPrepared_ || out.size() < smfImage_.size()) return false;
    std::copy(smfImage_.begin(), smfImage_.end(), out.begin());
    return true;
}

void CStyleEditor::SetSignature(int e, uint8_t packed)
{
    const uint8_t numerator = uint8_t((packed & 0x0F) + 1);
    const uint8_t log2Denominator = uint8_t(packed >> 4);
    if (log2Denominator > kMaxLog2Denominator) {
        TraceMessage("CStyleEditor::SetSignature() - Signature 0x%02X has no storable denominator; ignored", packed);
        return;
    }
    CNstStyleElem& element = style_->Element(e);
    element.numerator = numerator;
    element.log2Denominator = log2Denominator;
    for (auto& cv : element.cvs) {
        if (!cv) continue;
        cv->numerator = numerator;
        cv->log2Denominator = log2Denominator;
        cv->length = BarLength(numerator, log2Denominator) * cv->bars;
        for (CNstPattern& pattern : cv->patterns) {
            if (!pattern.created()) continue;
            pattern.numerator = numerator;
            pattern.log2Denominator = log2Denominator;
        }
    }
}

uint8_t CStyleEditor::GetSignature(int e)
{
    const CNstStyleElem& element = style_->Element(e);
    return PackSignature(element.numerator, element.log2Denominator);
}

void CStyleEditor::ConvertNoteToVexSound(int e, int cv, const uint8_t ranges[8][2])
{
    CNstChordVar& chordVar = style_->ChordVar(e, cv);
    for (size_t t = 0; t < CNstChordVar::kTracks; ++t) {
        CNstPattern& pattern = chordVar.patterns[t];
        const uint8_t low = ranges[t][0];
        const uint8_t high = ranges[t][1];
        if (!pattern.created() || (low == 0 && high == 127)) continue;
        rekind(pattern, [&](const CPropEventList& events, const CPropEventList::Event& event) {
            const int i = indexOf(kNoteKinds, event.kind);
            const uint8_t key = events.Payload(event, 0) & 0x7F;
            return i >= 0 && (key < low || key > high) ? int(kVexSoundKinds[i]) : -1;
        });
    }
}

void CStyleEditor::ConvertVexSoundToNote(int e, int cv)
{
    CNstChordVar& chordVar = style_->ChordVar(e, cv);
    for (CNstPattern& pattern : chordVar.patterns) {
        if (!pattern.created()) continue;
        rekind(pattern, [](const CPropEventList&, const CPropEventList::Event& event) {
            const int i = indexOf(kVexSoundKinds, event.kind);
            return i >= 0 ? int(kNoteKinds[i]) : -1;
        });
    }
}

} // namespace zib::ulvarf
