#include "midi/CMidiFileEx.h"

#include "midi/MidiErrorText.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace zib {

namespace {

constexpr MidiErrorText kMidiFileExErrorTexts[] = {
    {30, "Measure limit exceeded"},
    {100, "Application defined error code"},
    {101, "Time signature found at wrong place"},
    {102, "Time signature found out of zero tick"},
    {103, "Cannot allocate space for RAM buffer"},
    {104, "Wrong FREAD operation"},
};

constexpr uint32_t kMaxTick = std::numeric_limits<uint32_t>::max();

bool isNoteValue(uint8_t denominator)
{
    return denominator != 0 && denominator <= 128 && (denominator & (denominator - 1)) == 0;
}

bool divisionUsable(uint16_t division)
{
    return division != 0 && !(division & 0x8000);
}

} // namespace

CMidiFileEx::CMidiFileEx()
{
    m_division = 96;
    ResetTimeSigMap();
}

CMidiFileEx::~CMidiFileEx() = default;

int CMidiFileEx::ReportError(char* buffer, size_t size, int code)
{
    if (const int n = CMidiFile::ReportError(buffer, size, code)) return n;
    const char* text = FindMidiErrorText(kMidiFileExErrorTexts, code);
    return text ? FormatMidiError(buffer, size, "CMidiFileEx", code, text) : 0;
}

int CMidiFileEx::ParseMemory(const uint8_t* image, uint32_t size)
{
    ResetTimeSigMap();
    return CMidiFile::ParseMemory(image, size);
}

int CMidiFileEx::ParseFile(const std::filesystem::path& path)
{
    ResetTimeSigMap();
    return CMidiFile::ParseFile(path);
}

// ---- The map ---------------------------------------------------------------

void CMidiFileEx::ResetTimeSigMap()
{
    m_map.assign(1, CTimeSigRecord{0, 4, 4});
    m_curMeasure = m_curBeat = m_curTick = 0;
    SetCurrentSignature(4, 4);
    m_pendingNumerator = 4;
    m_pendingDenominator = 4;
}

void CMidiFileEx::ClearTimeSigMap()
{
    m_map.clear();
    m_curMeasure = 0;
}

void CMidiFileEx::SetTimeSigMap(std::vector<CTimeSigRecord> map)
{
    m_map = std::move(map);
    if (m_map.empty()) m_map.push_back(CTimeSigRecord{0, 4, 4});
    m_curMeasure = 0;
}

// An emptied map starts again with the current signature at tick 0.
void CMidiFileEx::SeedIfEmpty()
{
    if (m_map.empty()) m_map.push_back(CTimeSigRecord{0, m_numerator, m_denominator});
}

uint32_t CMidiFileEx::MeasureTicks(uint8_t numerator, uint8_t denominator) const
{
    if (!divisionUsable(m_division) || denominator == 0) return 0;
    return uint32_t(uint64_t(numerator) * m_division * 4 / denominator);
}

uint32_t CMidiFileEx::BeatTicks(uint8_t denominator) const
{
    if (!divisionUsable(m_division) || denominator == 0) return 0;
    return uint32_t(m_division) * 4 / denominator;
}

void CMidiFileEx::SetCurrentSignature(uint8_t numerator, uint8_t denominator)
{
    m_numerator = numerator;
    m_denominator = denominator;
    m_ticksPerMeasure = MeasureTicks(numerator, denominator);
    m_ticksPerBeat = BeatTicks(denominator);
}

uint32_t CMidiFileEx::GetMeasureStartTick(uint32_t n) const
{
    if (m_map.empty()) return uint32_t(std::min<uint64_t>(uint64_t(n) * GetTicksPerMeasure(), kMaxTick));
    if (n < m_map.size()) return m_map[n].startTick;
    const auto& last = m_map.back();
    const uint64_t start =
        last.startTick + uint64_t(n - m_map.size() + 1) * MeasureTicks(last.numerator, last.denominator);
    return uint32_t(std::min<uint64_t>(start, kMaxTick));
}

uint32_t CMidiFileEx::GetMeasureLength(uint32_t n) const
{
    if (n == std::numeric_limits<uint32_t>::max()) return 0;
    const uint32_t a = GetMeasureStartTick(n);
    const uint32_t b = GetMeasureStartTick(n + 1);
    return b > a ? b - a : 0;
}

uint8_t CMidiFileEx::GetNumeratorAtMeasure(uint32_t n) const
{
    if (m_map.empty()) return m_numerator;
    return n < m_map.size() ? m_map[n].numerator : m_map.back().numerator;
}

uint8_t CMidiFileEx::GetDenominatorAtMeasure(uint32_t n) const
{
    if (m_map.empty()) return m_denominator;
    return n < m_map.size() ? m_map[n].denominator : m_map.back().denominator;
}

uint32_t CMidiFileEx::GetEndOfLastMeasure() const
{
    if (m_map.empty()) return 0;
    const auto& last = m_map.back();
    return uint32_t(std::min<uint64_t>(
        last.startTick + uint64_t(MeasureTicks(last.numerator, last.denominator)), kMaxTick));
}

// Appends entries up to `measure` with the signature of entry `from`, one
// measure of it apart.
int CMidiFileEx::GrowTo(size_t measure, size_t from)
{
    if (measure >= kMaxMeasures) return kMeasureLimitExceeded;
    const CTimeSigRecord base = m_map[from];
    const uint64_t length = MeasureTicks(base.numerator, base.denominator);
    m_map.reserve(measure + 1);
    for (size_t k = m_map.size(); k <= measure; ++k) {
        const uint64_t start = base.startTick + (k - from) * length;
        if (start > kMaxTick) return kMeasureLimitExceeded;
        m_map.push_back(CTimeSigRecord{uint32_t(start), base.numerator, base.denominator});
    }
    return kSuccess;
}

// The search shared by slots 16 and 17: from measure `from` on, the measure
// that holds t, growing the map when t lies past its end. With
// `applyPending`, an entry that starts exactly at the search start takes the
// pending signature first.
int CMidiFileEx::Locate(uint32_t t, size_t from, Located& where, bool applyPending)
{
    if (!divisionUsable(m_division)) return kBadMThdChunk;
    SeedIfEmpty();
    if (from >= m_map.size() || m_map[from].startTick > t) from = 0;
    if (m_map[from].startTick > t) return kInternalMapperError;

    // First entry at or after t (the starts grow strictly, so a binary
    // search finds what a scan from `from` would).
    const auto it =
        std::lower_bound(m_map.begin() + std::ptrdiff_t(from), m_map.end(), t,
                         [](const CTimeSigRecord& r, uint32_t tick) { return r.startTick < tick; });
    const size_t first = size_t(it - m_map.begin());
    if (applyPending && first == from) {
        m_map[from].numerator = m_pendingNumerator;
        m_map[from].denominator = m_pendingDenominator;
    }
    const size_t m = (first > 0 && first - 1 > from) ? first - 1 : from;

    const CTimeSigRecord entry = m_map[m];
    const uint32_t perMeasure = MeasureTicks(entry.numerator, entry.denominator);
    const uint32_t perBeat = BeatTicks(entry.denominator);
    if (perMeasure == 0 || perBeat == 0) return kInvalidDenominator;
    SetCurrentSignature(entry.numerator, entry.denominator);

    const uint32_t offset = t - entry.startTick;
    const size_t q = offset / perMeasure;
    const uint32_t r = offset % perMeasure;
    if (q > 0 && m + q >= m_map.size()) {
        const int rc = GrowTo(m + q, m);
        if (rc) return rc;
    }
    where.measure = m + q;
    where.beat = r / perBeat;
    where.tick = r % perBeat;
    where.remainder = r;
    return kSuccess;
}

int CMidiFileEx::ConvertTick(uint32_t t)
{
    Located where{};
    const int rc = Locate(t, m_curMeasure, where, false);
    if (rc) return rc;
    m_curMeasure = uint32_t(where.measure);
    m_curBeat = where.beat;
    m_curTick = where.tick;
    return kSuccess;
}

int CMidiFileEx::ApplyTimeSignature(uint32_t t)
{
    if (MeasureTicks(m_pendingNumerator, m_pendingDenominator) == 0 || BeatTicks(m_pendingDenominator) == 0)
        return kInvalidDenominator;
    Located where{};
    const int rc = Locate(t, m_curMeasure, where, true);
    if (rc) return rc;
    if (where.remainder != 0) return kTimeSigWrongPlace;
    m_curMeasure = uint32_t(where.measure);
    m_curBeat = m_curTick = 0;
    m_map[m_curMeasure].numerator = m_pendingNumerator;
    m_map[m_curMeasure].denominator = m_pendingDenominator;
    SetCurrentSignature(m_pendingNumerator, m_pendingDenominator);
    return kSuccess;
}

int CMidiFileEx::TickToMbt(uint32_t t, uint32_t& measure, uint32_t& beat, uint32_t& tick)
{
    m_curMeasure = 0;
    const int rc = ConvertTick(t);
    if (rc == kSuccess) {
        measure = m_curMeasure;
        beat = m_curBeat;
        tick = m_curTick;
    }
    return rc;
}

int CMidiFileEx::TickToMbtHinted(uint32_t t, int32_t& measureHint, uint32_t& beat, uint32_t& tick)
{
    const size_t from = measureHint < 0 ? 0 : size_t(measureHint);
    Located where{};
    const int rc = Locate(t, from, where, false);
    if (rc) return rc;
    measureHint = int32_t(where.measure);
    beat = where.beat;
    tick = where.tick;
    return kSuccess;
}

int CMidiFileEx::LocateTick(uint32_t t)
{
    m_curMeasure = 0;
    return ConvertTick(t);
}

int CMidiFileEx::LocateTickFrom(uint32_t t, uint32_t measureIndex)
{
    if (measureIndex >= m_map.size()) return kInternalMapperError;
    m_curMeasure = measureIndex;
    return ConvertTick(t);
}

int CMidiFileEx::SetTimeSignature(int32_t m, uint8_t numerator, uint8_t denominator, int32_t end)
{
    if (m < 0 || uint32_t(m) >= kMaxMeasures) return 0;
    if (numerator == 0 || !isNoteValue(denominator)) return 0;
    const uint64_t length = MeasureTicks(numerator, denominator);
    if (length == 0 || BeatTicks(denominator) == 0) return 0;
    SeedIfEmpty();
    const size_t size = m_map.size();
    const size_t first = size_t(m);

    if (first >= size) {
        // Copies of the last signature up to m, then m with the new one.
        const CTimeSigRecord last = m_map.back();
        const uint64_t lastLength = MeasureTicks(last.numerator, last.denominator);
        if (lastLength == 0) return 0;
        const uint64_t startOfM = last.startTick + (first - size + 1) * lastLength;
        if (startOfM > kMaxTick) return 0;
        m_map.reserve(first + 1);
        for (size_t k = size; k < first; ++k)
            m_map.push_back(CTimeSigRecord{uint32_t(last.startTick + (k - size + 1) * lastLength),
                                           last.numerator, last.denominator});
        m_map.push_back(CTimeSigRecord{uint32_t(startOfM), numerator, denominator});
        return 1;
    }

    const size_t stop = (end < 0 || size_t(end) > size) ? size : size_t(end);
    // Work out the new starts first, so that a map which would pass the
    // tick range stays as it was.
    std::vector<uint32_t> starts(size - first);
    uint64_t s = m_map[first].startTick;
    for (size_t k = first; k < size; ++k) {
        if (s > kMaxTick) return 0;
        starts[k - first] = uint32_t(s);
        s += k < stop ? length : MeasureTicks(m_map[k].numerator, m_map[k].denominator);
    }
    for (size_t k = first; k < size; ++k) {
        m_map[k].startTick = starts[k - first];
        if (k < stop) {
            m_map[k].numerator = numerator;
            m_map[k].denominator = denominator;
        }
    }
    return 1;
}

// ---- Reading steps ---------------------------------------------------------

int CMidiFileEx::BeforeHeader()
{
    // Ticks per quarter note are needed for every measure; SMPTE divisions
    // and division 0 cannot be mapped.
    return divisionUsable(m_division) ? kSuccess : kBadMThdChunk;
}

int CMidiFileEx::BeforeTrack()
{
    SeedIfEmpty();
    SetCurrentSignature(m_map.front().numerator, m_map.front().denominator);
    m_pendingNumerator = m_numerator;
    m_pendingDenominator = m_denominator;
    m_curMeasure = m_curBeat = m_curTick = 0;
    return kSuccess;
}

int CMidiFileEx::BeforeEvent()
{
    return ConvertTick(m_trackTime);
}

int CMidiFileEx::BeforeTimeSignature()
{
    const uint8_t numerator = m_eventData[1];
    uint8_t denominator;
    if (m_flags & kDenominatorAsNote) {
        denominator = m_eventData[2];
    } else {
        if (m_eventData[2] < 1 || m_eventData[2] > 7) return kInvalidDenominator;
        denominator = uint8_t(1u << m_eventData[2]);
    }
    if (numerator == 0 || MeasureTicks(numerator, denominator) == 0 || BeatTicks(denominator) == 0)
        return kInvalidDenominator;
    m_pendingNumerator = numerator;
    m_pendingDenominator = denominator;
    if (numerator != m_numerator || denominator != m_denominator) return ApplyTimeSignature(m_trackTime);
    return kSuccess;
}

} // namespace zib
