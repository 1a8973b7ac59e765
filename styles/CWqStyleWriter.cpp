#include "styles/CWqStyleWriter.h"

#include <algorithm>

#include "platform/ByteWriter.h"
#include "platform/FileIo.h"

namespace zib {

namespace {

constexpr int kMaxCandidates = 200;
constexpr int kPatternBarLimit = 16;

WqEvent eventAt(std::span<const uint8_t> run, size_t at) { return WqEvent::fromBytes(run.data() + at); }

bool isBoundary(const WqEvent& e) { return e.isBar() || e.isEnd(); }

void appendEvent(std::vector<uint8_t>& out, const WqEvent& e) { out.insert(out.end(), e.b.begin(), e.b.end()); }

void appendEnd(std::vector<uint8_t>& out, int barsMinusOne)
{
    uint16_t w1 = uint16_t(std::max(barsMinusOne, 0));
    out.insert(out.end(), {0x00, 0x70, uint8_t(w1), uint8_t(w1 >> 8)});
}

// A run that refers to a pattern already (a marked bar event).
bool hasPatternReference(std::span<const uint8_t> run)
{
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
        WqEvent e = eventAt(run, at);
        if (e.isBar() && e.hasPattern()) return true;
    }
    return false;
}

} // namespace

// File heads
//
// Layout A (96 bytes): "DASK" + model, model bytes, u32 32/40/72/24, the
// style's name, three "empty" names, four style entries {address low, 0,
// address high, 4, u16 size}.
// Layout B (224 bytes): "DASK" + model, model bytes, u32 224, 00 30, style
// entries {number, 1, u16 size} (16 for 'M', 48 for 'I').
std::vector<uint8_t> CWqStyleWriter::MakeFileHead(uint32_t model, std::span<const uint8_t> name, uint32_t imageSize)
{
    ByteWriter head;
    head.text("DASK");
    head.u8(uint8_t(model));
    // Version bytes: 5 4 for the Wq41, 1 4 for the Wq8, 0 4 1 for the others.
    if (model == wq::kModelWq41 || model == wq::kModelWq8) {
        head.u8(model == wq::kModelWq41 ? 0x05 : 0x01);
        head.u8(0x04);
    } else {
        head.u8(0x00);
        head.u8(0x04);
        head.u8(0x01);
    }
    head.fill(0, 16 - head.size());
    if (wq::isLayoutB(model)) {
        head.u32le(224);
        head.u8(0x00);
        head.u8(0x30);
        int entries = model == wq::kModelWq41 ? 48 : 16;
        for (int i = 0; i < entries; ++i) {
            head.u8(uint8_t(i));
            head.u8(1);
            head.u16le(i == 0 ? uint16_t(imageSize) : 0);
        }
        head.fill(0, 224 - head.size());
        return head.take();
    }
    for (uint32_t v : {32u, 40u, 72u, 24u}) head.u32le(v);
    for (size_t i = 0; i < 10; ++i) head.u8(i < name.size() ? name[i] : uint8_t(' '));
    for (int i = 0; i < 3; ++i) head.text("empty     ");
    uint32_t address = 32;
    for (int i = 0; i < 4; ++i) {
        head.u8(uint8_t(address));
        head.u8(0);
        head.u8(uint8_t(address >> 8));
        head.u8(4);
        head.u16le(i == 0 ? uint16_t(imageSize) : 0);
        address += i == 0 ? ((imageSize & 0xFFFF) + 15) / 16 * 16 : uint32_t(wq::kLayoutA.headSize);
    }
    return head.take();
}

std::vector<uint8_t> CWqStyleWriter::MakeUnpatternizedFile(uint32_t model, std::span<const uint8_t> image)
{
    std::vector<uint8_t> file = MakeFileHead(model, image.first(std::min<size_t>(image.size(), 10)), uint32_t(image.size()));
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// Bar comparison. Events are compared whole; counting stops at the first
// difference. A bar counts as shared only when it is complete in both tracks:
// the difference lies where both tracks reach a bar or end event, or both
// tracks ended. Bars must be numbered from 0, as pattern playback counts them.
int CWqStyleWriter::CompareBars(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    size_t n = std::min(a.size(), b.size());
    if (n < size_t(wq::kEventSize) || !eventAt(a, 0).isBar() || !eventAt(b, 0).isBar()) return 0;
    int matched = 0, bars = 0, sinceBar = 0;
    bool ranOut = true, boundary = false, lastWasEnd = false;
    for (size_t at = 0; at + wq::kEventSize <= n; at += wq::kEventSize) {
        WqEvent ea = eventAt(a, at), eb = eventAt(b, at);
        if (ea != eb) {
            ranOut = false;
            boundary = isBoundary(ea) && isBoundary(eb);
            break;
        }
        if (ea.isBar() && ea.barNumber() != bars) {
            ranOut = false;
            boundary = true;
            break;
        }
        ++matched;
        lastWasEnd = ea.isEnd();
        if (ea.isBar()) {
            ++bars;
            sinceBar = 0;
        } else if (ea.kind() == WqEventKind::ProgramChange) {
            return 0;
        } else {
            ++sinceBar;
        }
    }
    if (matched == bars) return 0;
    if (sinceBar == 0) return bars - 1;
    if (ranOut) return lastWasEnd ? bars : bars - 1;
    if (matched - sinceBar == bars) return 0;
    if (boundary) return bars;
    return bars - 1;
}

// Pattern search: for every pair of slots of one track number, slot1 before
// slot2, the bars slot2 repeats of slot1 make or extend a shared pattern.
WqPatternizeResult CWqStyleWriter::SearchPatterns()
{
    slots_.fill(SlotPattern{});
    int count = 0;
    for (int track = 0; track < wq::kTrackCount; ++track) {
        for (int e1 = 0; e1 < wq::kElementCount && count < kMaxCandidates; ++e1) {
            for (int c1 = 0; c1 < wq::cvCountOf(e1) && count < kMaxCandidates; ++c1) {
                int slot1 = wq::trackSlotOf(e1, c1, track);
                for (int e2 = 0; e2 < wq::kElementCount; ++e2) {
                    for (int c2 = 0; c2 < wq::cvCountOf(e2); ++c2) {
                        int slot2 = wq::trackSlotOf(e2, c2, track);
                        if (slot2 <= slot1) continue;
                        int n = CompareBars(GetSlotRun(slot1), GetSlotRun(slot2));
                        if (n <= 0 || count >= kMaxCandidates) continue;
                        SlotPattern& p1 = slots_[size_t(slot1)];
                        SlotPattern& p2 = slots_[size_t(slot2)];
                        if (p1.pattern < 0 || (n > p1.bars && n > p2.bars)) {
                            p1 = p2 = SlotPattern{count++, n};
                        } else if (n > p1.bars && n <= p2.bars) {
                            // slot1 shares only the n bars that match, not all of slot2's
                            p1 = SlotPattern{p2.pattern, n};
                        } else if (n <= p1.bars && n > p2.bars) {
                            p2 = SlotPattern{p1.pattern, n};
                        }
                    }
                }
            }
        }
    }
    if (count >= kMaxCandidates) return WqPatternizeResult::TooManyPatterns;
    if (count == 0) return WqPatternizeResult::NoPattern;

    patterns_.assign(size_t(count), PatternEntry{});
    for (int i = 0; i < count; ++i) patterns_[size_t(i)].initial = i;
    for (SlotPattern& s : slots_) {
        if (s.pattern < 0) continue;
        if (s.bars > kPatternBarLimit) s = SlotPattern{};
        else ++patterns_[size_t(s.pattern)].references;
    }
    return WqPatternizeResult::Written;
}

// Pattern choice: the most referenced candidates become patterns 0-99; a
// candidate with fewer than 2 references is no pattern.
void CWqStyleWriter::ChoosePatterns()
{
    std::vector<PatternEntry> order = patterns_;
    std::stable_sort(order.begin(), order.end(), [](const PatternEntry& x, const PatternEntry& y) {
        return x.references != y.references ? x.references > y.references : x.initial < y.initial;
    });
    patternCount_ = 0;
    for (size_t position = 0; position < order.size(); ++position) {
        PatternEntry& entry = patterns_[size_t(order[position].initial)];
        bool kept = position < size_t(wq::kPatternCount) && entry.references >= 2;
        entry.finalNumber = kept ? int(position) : -1;
        if (kept) ++patternCount_;
    }
    for (SlotPattern& s : slots_) {
        if (s.pattern < 0) continue;
        int finalNumber = patterns_[size_t(s.pattern)].finalNumber;
        s = finalNumber < 0 ? SlotPattern{} : SlotPattern{finalNumber, s.bars};
    }
}

// The slot of a pattern covering the most bars (the lowest slot on ties).
int CWqStyleWriter::SourceSlotOf(int pattern) const
{
    int source = -1;
    for (int s = 0; s < wq::kTrackSlotCount; ++s)
        if (slots_[size_t(s)].pattern == pattern && (source < 0 || slots_[size_t(s)].bars > slots_[size_t(source)].bars))
            source = s;
    return source;
}

// Bytes of the first `bars` bars of a run: up to its (bars + 1)-th bar event.
size_t CWqStyleWriter::PrefixSize(std::span<const uint8_t> run, int bars)
{
    int seen = 0;
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize)
        if (eventAt(run, at).isBar() && ++seen > bars) return at;
    return run.size() / wq::kEventSize * wq::kEventSize;
}

// Decision: estimated size = current size - the bars moved out of the tracks
// + their bar events + the patterns' own bars.
bool CWqStyleWriter::IsWorthIt() const
{
    long long estimate = (long long)GetImageSize();
    for (int s = 0; s < wq::kTrackSlotCount; ++s) {
        const SlotPattern& p = slots_[size_t(s)];
        if (p.pattern >= 0) estimate -= (long long)PrefixSize(GetSlotRun(s), p.bars) - 4LL * p.bars;
    }
    for (int k = 0; k < patternCount_; ++k) {
        int source = SourceSlotOf(k);
        if (source >= 0) estimate += (long long)PrefixSize(GetSlotRun(source), slots_[size_t(source)].bars);
    }
    return estimate < (long long)GetImageSize();
}

// Referencing form: the first `bars` bar events marked 11, 10, 10 ... with the
// pattern number, every other event of those bars dropped (an end event is
// kept), everything from the next bar event on unchanged.
void CWqStyleWriter::AppendReferencing(std::vector<uint8_t>& out, std::span<const uint8_t> run, int pattern, int bars)
{
    int seen = 0;
    bool wroteEnd = false;
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
        WqEvent e = eventAt(run, at);
        if (e.isBar()) ++seen;
        if (seen > bars) {
            appendEvent(out, e);
        } else if (e.isBar()) {
            e.b[2] = uint8_t(pattern);
            e.b[3] = uint8_t((e.b[3] & 0x3F) | (seen == 1 ? 0xC0 : 0x80));
            appendEvent(out, e);
        } else if (e.isEnd()) {
            appendEvent(out, e);
        } else {
            continue;
        }
        wroteEnd = wroteEnd || e.isEnd();
    }
    if (!wroteEnd) appendEnd(out, seen - 1);
}

// A pattern from its source: the source's events of its first `bars` bars,
// then an end event unless one was among them.
bool CWqStyleWriter::AppendPattern(std::vector<uint8_t>& out, std::span<const uint8_t> run, int bars, uint8_t& timeSig)
{
    int seen = 0;
    bool wroteEnd = false;
    for (size_t at = 0; at + wq::kEventSize <= run.size(); at += wq::kEventSize) {
        WqEvent e = eventAt(run, at);
        if (e.isBar()) {
            if (++seen > bars) break;
            timeSig = e.barTimeSig();
        }
        appendEvent(out, e);
        wroteEnd = wroteEnd || e.isEnd();
    }
    if (seen < bars) return false;
    if (!wroteEnd) appendEnd(out, bars - 1);
    return true;
}

// The new image: the old head with new pattern and offset tables, the slots
// in slot order, then the patterns.
WqPatternizeResult CWqStyleWriter::BuildImage(std::vector<uint8_t>& image)
{
    const wq::Layout& layout = GetLayout();
    image.assign(GetImage(), GetImage() + layout.headSize);
    std::array<uint16_t, wq::kOffsetEntryCount> offsets{};
    std::array<uint8_t, 2 * wq::kPatternCount> patternTable{};
    for (int k = 0; k < wq::kPatternCount; ++k) patternTable[2 * size_t(k)] = wq::kTimeSig44;

    for (int s = 0; s < wq::kTrackSlotCount; ++s) {
        offsets[size_t(s)] = uint16_t(image.size());
        const SlotPattern& p = slots_[size_t(s)];
        auto run = GetSlotRun(s);
        if (p.pattern >= 0) AppendReferencing(image, run, p.pattern, p.bars);
        else image.insert(image.end(), run.begin(), run.begin() + ptrdiff_t(run.size() / 4 * 4));
        if (image.size() >= wq::kMaxStyleSize) return WqPatternizeResult::TooLarge;
    }
    for (int k = 0; k < wq::kPatternCount; ++k) {
        offsets[size_t(wq::kPatternEntryBase + k)] = uint16_t(image.size());
        int source = k < patternCount_ ? SourceSlotOf(k) : -1;
        if (source < 0) continue;
        int bars = slots_[size_t(source)].bars;
        uint8_t timeSig = wq::kTimeSig44;
        if (!AppendPattern(image, GetSlotRun(source), bars, timeSig)) return WqPatternizeResult::BadImage;
        patternTable[2 * size_t(k)] = timeSig;
        patternTable[2 * size_t(k) + 1] = uint8_t(bars);
        if (image.size() >= wq::kMaxStyleSize) return WqPatternizeResult::TooLarge;
    }
    offsets[wq::kEndEntry] = uint16_t(image.size());

    std::copy(patternTable.begin(), patternTable.end(), image.begin() + layout.patternTable);
    for (int i = 0; i < wq::kOffsetEntryCount; ++i) {
        image[layout.offsetTable + 2 * size_t(i)] = uint8_t(offsets[size_t(i)]);
        image[layout.offsetTable + 2 * size_t(i) + 1] = uint8_t(offsets[size_t(i)] >> 8);
    }
    return WqPatternizeResult::Written;
}

WqPatternizeResult CWqStyleWriter::BuildPatternized(std::vector<uint8_t>& file)
{
    file.clear();
    newSize_ = 0;
    patternCount_ = 0;
    auto decline = [&](WqPatternizeResult r) { return lastResult_ = r; };

    if (Validate() != WqImageError::None) return decline(WqPatternizeResult::BadImage);
    for (int k = 0; k < wq::kPatternCount; ++k)
        if (!GetPatternRun(k).empty()) return decline(WqPatternizeResult::BadImage);
    for (int s = 0; s < wq::kTrackSlotCount; ++s)
        if (hasPatternReference(GetSlotRun(s))) return decline(WqPatternizeResult::BadImage);

    WqPatternizeResult search = SearchPatterns();
    if (search != WqPatternizeResult::Written) return decline(search);
    ChoosePatterns();
    if (patternCount_ == 0) return decline(WqPatternizeResult::NoPattern);
    if (!IsWorthIt()) return decline(WqPatternizeResult::NoGain);

    std::vector<uint8_t> image;
    WqPatternizeResult built = BuildImage(image);
    if (built != WqPatternizeResult::Written) return decline(built);
    newSize_ = uint32_t(image.size());
    file = MakeFileHead(GetModel(), std::span<const uint8_t>(image.data(), 10), newSize_);
    file.insert(file.end(), image.begin(), image.end());
    return decline(WqPatternizeResult::Written);
}

int CWqStyleWriter::WriteFile(const std::filesystem::path& path)
{
    std::vector<uint8_t> file;
    if (BuildPatternized(file) != WqPatternizeResult::Written) return 0;
    if (writeFileAtomically(path, file) != FileIoError::None) {
        lastResult_ = WqPatternizeResult::WriteFailed;
        return 0;
    }
    return 1;
}

} // namespace zib
