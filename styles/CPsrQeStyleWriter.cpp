#include "styles/CPsrQeStyleWriter.h"

#include "styles/PsrConvertError.h"

#include <array>
#include <cstring>

namespace zib {

namespace {

constexpr char kAuthorTag[] = "Dunmore";
constexpr size_t kNameLength = 18;
constexpr uint16_t kTrackModes = 0x5550;
constexpr uint8_t kTensionBits = 0xF8;

} // namespace

CPsrQeStyleWriter::CPsrQeStyleWriter(size_t capacity, CConversionLog& log) : m_out(capacity), m_log(log) {}

int CPsrQeStyleWriter::CodeOf(CQeStyleChunkWriter::Status status)
{
    switch (status) {
    case CQeStyleChunkWriter::Status::Ok:
        return 0;
    case CQeStyleChunkWriter::Status::DeltaTooLarge:
        return kPsrDeltaOverflow;
    case CQeStyleChunkWriter::Status::NoRoom:
        break;
    }
    return kPsrNotEnoughStyleSpace;
}

int CPsrQeStyleWriter::BeginStyle(const PsrStylePlan& plan)
{
    std::array<uint8_t, kNameLength> name{};
    std::memcpy(name.data(), kAuthorTag, sizeof kAuthorTag - 1);
    if (!m_out.OpenContainer(0x01) || !m_out.StyleHeader(name, kTrackModes, kTensionBits, plan.elementMask) ||
        !m_out.OpenContainer(0x02))
        return kPsrNotEnoughStyleSpace;

    // Every use of every CV, in element, CV and track order.
    if (plan.references == 0) return kPsrNoPatternReferences;
    std::vector<uint16_t> uses;
    for (const PsrElement& element : plan.elements) {
        if (!element.defined) continue;
        for (int cv = 0; cv < element.cvCount; ++cv)
            for (int number : element.patternNumber[size_t(cv)])
                if (number > 0) uses.push_back(uint16_t(number));
    }
    if (int(uses.size()) != plan.references) return kPsrWrongReferenceCount;
    return m_out.PatternMap(uint16_t(plan.differentPatterns), uses) ? 0 : kPsrNotEnoughStyleSpace;
}

int CPsrQeStyleWriter::WritePattern(const PsrStylePlan& plan, int e, int track, uint8_t chordType, uint8_t chordKey,
                                    std::span<const PsrPatternEvent> events)
{
    if (events.empty()) return kPsrNoEventsInTrack;
    const PsrElement& element = plan.elements[size_t(e)];
    const uint32_t length = ScalePsrTicks(element.Length(), plan.division);
    if (!m_out.OpenPattern(uint8_t(QePatternType(track) + 2), length)) return kPsrNotEnoughStyleSpace;

    // Each delta is the source time from the event before (the element's
    // start for the first one), scaled and rounded; the last one takes the
    // stream to the pattern's end. The roundings add up, so a run of them
    // may not carry an event of the element to or past the pattern's end
    // (where it would not be played): it stops on the last tick before.
    uint32_t previousTime = element.startTime;
    uint64_t at = 0;
    for (const PsrPatternEvent& event : events) {
        uint32_t delta = event.time > previousTime ? ScalePsrTicks(event.time - previousTime, plan.division) : 0;
        if (event.time > previousTime) previousTime = event.time;
        const uint64_t last = event.time < element.stopTime && length > 0 ? length - 1 : length;
        if (at + delta > last) delta = last > at ? uint32_t(last - at) : 0;
        at += delta;
        const uint8_t bytes[] = {event.kind, uint8_t(event.data1 & 0x7F), uint8_t(event.data2 | 0x80)};
        if (const int rc = CodeOf(m_out.Event(delta, bytes))) return rc;
    }
    const uint32_t toEnd = length > at ? uint32_t(length - at) : 0;
    m_log.Printf("Inserting EOT event with delta time: %8lu\n", static_cast<unsigned long>(toEnd));
    if (const int rc = CodeOf(m_out.EndOfTrack(toEnd))) return rc;
    uint32_t size = 0;
    if (!m_out.ClosePattern(chordType, chordKey, &size)) return kPsrNotEnoughStyleSpace;
    m_log.Printf("Written Pattern Size: %d (%08x)\n", int(size), size);
    return 0;
}

int CPsrQeStyleWriter::FinishStyle(const PsrStylePlan& plan)
{
    uint32_t patterns = 0;
    if (!m_out.Close(&patterns)) return kPsrNotEnoughStyleSpace;
    m_log.Printf("Written DCWIFPL chunk of size: %d (%08x)\n", int(patterns), patterns);

    if (plan.elementMask >> kPsrElementCount) return kPsrWrongElementIndex;
    for (int e = 0; e < kPsrElementCount; ++e) {
        if (!((plan.elementMask >> e) & 1)) continue;
        if (const int rc = WriteElement(plan, e)) return rc;
    }
    return m_out.Close() ? 0 : kPsrNotEnoughStyleSpace;
}

int CPsrQeStyleWriter::WriteElement(const PsrStylePlan& plan, int e)
{
    const PsrElement& element = plan.elements[size_t(e)];
    std::array<std::array<uint8_t, 6>, kQeTrackCount> tracks;
    for (size_t t = 0; t < tracks.size(); ++t) {
        const PsrTrackSettings& s = element.tracks[t];
        tracks[t] = {s.expression, s.bankMsb, s.bankLsb, s.program, 21, 108};
    }
    const uint8_t ntt = e == 4 || e == 8 ? 3 : 0; // INT1 and END1
    if (!m_out.OpenContainer(0x03) ||
        !m_out.ElementInfo(element.CvMask(), ntt, element.timeSignature, element.chordTable) ||
        !m_out.TrackTable(tracks))
        return kPsrNotEnoughStyleSpace;

    // Each CV starts every pattern it uses at tick 0 and ends at its length.
    const uint32_t length = ScalePsrTicks(element.Length(), plan.division);
    for (int cv = 0; cv < element.cvCount; ++cv) {
        std::vector<QeCvUse> uses;
        for (int t = 0; t < kQeTrackCount; ++t)
            if (element.sources[size_t(cv)][size_t(t)] != 0) uses.push_back(QeCvUse{QePatternType(t), uint8_t(t)});
        if (const int rc = CodeOf(m_out.CvRecord(length, uses))) return rc;
    }
    uint32_t size = 0;
    if (!m_out.Close(&size)) return kPsrNotEnoughStyleSpace;
    m_log.Printf("SE Chunk Size for %s: %lu\n", PsrElementName(e), static_cast<unsigned long>(size));
    return 0;
}

} // namespace zib
