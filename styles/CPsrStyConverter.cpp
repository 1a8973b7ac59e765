#include "styles/CPsrStyConverter.h"

#include "midi/MidiErrorText.h"
#include "midi/ValueTexts.h"
#include "styles/CPsrQeStyleWriter.h"
#include "styles/CPsrStylePlanner.h"
#include "styles/PsrChordTypes.h"
#include "styles/PsrConvertError.h"
#include "styles/StringPrintf.h"
#include "styles/StyleSeriesTraits.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <limits>

namespace zib {

namespace {

// Returned by a pass-2 callback once the pattern's section is read: stops
// the reading early, and is no error.
constexpr int kPatternRead = 0x7FFF;

constexpr uint8_t kDefaultTimeSig = 34; // 4/4

// Controllers a pattern keeps.
bool isPatternController(uint8_t controller)
{
    switch (controller) {
    case 1: case 2: case 10: case 12: case 13: case 64: case 71: case 74: case 80: case 81: case 82:
        return true;
    default:
        return false;
    }
}

std::string_view untilZero(std::string_view text) { return text.substr(0, text.find('\0')); }


// A note moved by whole octaves into 0-127 when a key shift pushes it out.
uint8_t shiftedKey(uint8_t key, int shift)
{
    int k = int(key & 0x7F) + shift;
    while (k < 0) k += 12;
    while (k > 127) k -= 12;
    return uint8_t(k);
}

} // namespace

CPsrStyConverter::CPsrStyConverter()
{
    m_mapper.SetLog(&m_log);
    Reset();
}

CPsrStyConverter::~CPsrStyConverter() = default;

int CPsrStyConverter::ReportError(char* buffer, size_t size, int code)
{
    if (const char* text = PsrConvertErrorText(code)) return FormatMidiError(buffer, size, "CMidiFile", code, text);
    return CMidiFile::ReportError(buffer, size, code);
}

// ---- Messages --------------------------------------------------------------

void CPsrStyConverter::Warning(const char* format, ...)
{
    ++m_counters.warnings;
    va_list args;
    va_start(args, format);
    if (m_log.IsOpen()) m_log.Printf("%s", StringPrintfV(format, args).c_str());
    va_end(args);
}

void CPsrStyConverter::ErrorAt(const char* format, ...)
{
    ++m_counters.errors;
    va_list args;
    va_start(args, format);
    m_log.AtV(m_pos, format, args);
    va_end(args);
}

void CPsrStyConverter::WarningAt(const char* format, ...)
{
    ++m_counters.warnings;
    va_list args;
    va_start(args, format);
    m_log.AtV(m_pos, format, args);
    va_end(args);
}

// ---- The time-signature list ----------------------------------------------

uint64_t CPsrStyConverter::BarTicks(const CTimeSigRecord& record) const
{
    return uint64_t(record.numerator) * m_plan.division * 4 / record.denominator;
}

StyleEventPosition CPsrStyConverter::Locate(uint32_t tick)
{
    size_t i = m_timeSigHint;
    if (i >= m_timeSigs.size() || m_timeSigs[i].startTick > tick) i = 0;
    while (i + 1 < m_timeSigs.size() && m_timeSigs[i + 1].startTick <= tick) ++i;
    m_timeSigHint = i;
    const CTimeSigRecord& record = m_timeSigs[i];
    const uint64_t bar = BarTicks(record);
    const uint64_t beat = uint64_t(m_plan.division) * 4 / record.denominator;
    const uint64_t offset = tick - record.startTick;
    const uint64_t inBar = offset % bar;
    StyleEventPosition pos;
    pos.absTick = tick;
    pos.measure = int(m_timeSigBars[i] + offset / bar);
    pos.beat = int(inBar / beat);
    pos.tick = int(inBar % beat);
    return pos;
}

uint64_t CPsrStyConverter::BarStart(uint32_t bar) const
{
    size_t i = m_timeSigs.size() - 1;
    while (i > 0 && m_timeSigBars[i] > bar) --i;
    return m_timeSigs[i].startTick + uint64_t(bar - m_timeSigBars[i]) * BarTicks(m_timeSigs[i]);
}

// ---- Conversion ------------------------------------------------------------

void CPsrStyConverter::Reset()
{
    m_plan.Reset(m_letters);
    m_counters = {};
    m_output.clear();
    m_styleName.fill(0);
    m_pass = Pass::One;
    m_imageSize = 0;
    m_pos = {};
    m_timeSigs.assign(1, CTimeSigRecord{0, 4, 4});
    m_timeSigBars.assign(1, 0);
    m_timeSigHint = 0;
    m_haveTrackName = false;
    m_sff1Found = false;
    m_sintFound = false;
    m_markerFound = false;
    m_section = -1;
    m_markerOffset = 0;
    m_lastTimeSig = kDefaultTimeSig;
    m_pendingTimeSig = false;
    m_pendingTimeSigTick = 0;
    m_haveChannelEvent = false;
    m_lastEventTime = 0;
    m_setup = {};
    m_lastFound = {};
    m_work = {};
    m_events.clear();
    m_openNotes.clear();
}

int CPsrStyConverter::Convert(const uint8_t* image, uint32_t size, uint8_t* output, uint32_t capacity)
{
    const int rc = Convert(std::span<const uint8_t>(image, image ? size : 0), capacity);
    if (rc == 0 && output) std::memcpy(output, m_output.data(), m_output.size());
    return rc;
}

int CPsrStyConverter::Convert(std::span<const uint8_t> image, uint32_t capacity)
{
    Reset();
    int rc = image.size() > std::numeric_limits<uint32_t>::max() ? int(kBadByteCount) : RunPass1(image);
    if (rc == 0) rc = FinishPass1();
    if (rc == 0) {
        CPsrStylePlanner planner(m_plan, m_mapper, m_log, m_counters);
        rc = planner.Run();
    }
    if (rc == 0) rc = WriteStyle(image, capacity);
    if (rc != 0) {
        char text[128];
        if (ReportError(text, sizeof text, rc) > 0) m_log.Printf("\n%s\n", text);
        m_output.clear();
        // A stop on an error of its own counts it; the two codes that stop on
        // the errors counted before add none.
        if (rc != kPsrFatalParsingErrors && rc != kPsrFatalConversionErrors) ++m_counters.errors;
    }
    m_log.End(m_counters.errors, m_counters.warnings);

    // The work arrays are emptied whatever the outcome.
    std::vector<PsrPatternEvent>().swap(m_events);
    std::vector<OpenNote>().swap(m_openNotes);
    return rc;
}

int CPsrStyConverter::RunPass1(std::span<const uint8_t> image)
{
    m_pass = Pass::One;
    m_imageSize = uint32_t(image.size());
    return ParseMemory(image.data(), uint32_t(image.size()));
}

// The checks after the whole file is read, the end of the last section and
// the bars of the elements.
int CPsrStyConverter::FinishPass1()
{
    if (m_pendingTimeSig) {
        m_log.Printf("Error: Time signature change at tick %u lies inside a section\n", m_pendingTimeSigTick);
        return kPsrTimeSigWrongPlace;
    }
    if (m_counters.errors) return kPsrFatalParsingErrors;
    if (!m_sff1Found) {
        m_log.Printf("Error: SFF1 marker not found\n");
        return kPsrSff1NotFound;
    }
    if (m_section >= 0) {
        // The last section ends with the whole bars that cover the last event.
        PsrSection& last = m_plan.sections[size_t(m_section)];
        if (!m_haveChannelEvent || last.startTime > m_lastEventTime) {
            m_log.Printf("ERROR: Last event found before last section start time!!!\n");
            return kPsrInternalMapper;
        }
        Locate(last.startTime);
        const uint64_t bar = BarTicks(m_timeSigs[m_timeSigHint]);
        const uint64_t span = m_lastEventTime - last.startTime;
        const uint64_t bars = std::max<uint64_t>(1, (span + bar - 1) / bar);
        last.stopTime = uint32_t(std::min<uint64_t>(last.startTime + bars * bar, std::numeric_limits<uint32_t>::max()));
        PropagateValues(m_section);
    }

    for (int e = 0; e < kPsrElementCount; ++e) {
        const int s = m_plan.elementSection[size_t(e)];
        if (s < 0 || !m_plan.sections[size_t(s)].found) continue;
        const PsrSection& section = m_plan.sections[size_t(s)];
        PsrElement& element = m_plan.elements[size_t(e)];
        element.startBar = section.startBar;
        element.startTime = section.startTime;
        element.stopTime = section.stopTime;
        // Offset markers end their section inside the bar of the next marker.
        uint32_t endBar = uint32_t(Locate(section.stopTime).measure);
        if (m_markerOffset == 0 && endBar > section.startBar) --endBar;
        element.endBar = std::max(endBar, section.startBar);
    }
    return 0;
}

int CPsrStyConverter::WriteStyle(std::span<const uint8_t> image, uint32_t capacity)
{
    CPsrQeStyleWriter writer(capacity, m_log);
    int rc = writer.BeginStyle(m_plan);

    // Pass 2 for every pattern number, in the order of the numbers.
    int written = 0;
    for (int e = 0; e < kPsrElementCount && rc == 0; ++e) {
        const PsrElement& element = m_plan.elements[size_t(e)];
        if (!element.defined) continue;
        for (int cv = 0; cv < element.cvCount && rc == 0; ++cv) {
            for (int t = 0; t < kQeTrackCount && rc == 0; ++t) {
                const int number = element.patternNumber[size_t(cv)][size_t(t)];
                if (number != written + 1) continue;
                m_log.Printf("\nConverting %s, %s, %s\n\n", PsrElementName(e), PsrCvName(cv), PsrTrackName(t));
                if ((rc = PreparePattern(e, cv, t)) || (rc = CollectPattern(image))) break;
                m_log.Printf("Writing Patern Chunk: %s, %s, %s. Pattern index: %d\n", PsrElementName(e),
                             PsrCvName(cv), PsrTrackName(t), number);
                const uint8_t chordType = uint8_t(FindPsrChordType(m_work.chordType)->nearestQe);
                m_log.Printf("Pattern ChordKey: %s, Pattern ChordType: %s\n", StyleKeyName(m_work.chordKey),
                             QeStyleSeries().chordNames[size_t(chordType)]);
                if (m_events.empty()) {
                    m_log.Printf("Error: %s_%s_%s - Found no events in pattern!\n", PsrElementName(e),
                                 PsrCvName(cv), PsrTrackName(t));
                    rc = kPsrNoEventsInTrack;
                    break;
                }
                rc = writer.WritePattern(m_plan, e, t, chordType, m_work.chordKey, m_events);
                ++written;
            }
        }
    }
    if (rc == 0) rc = writer.FinishStyle(m_plan);
    if (rc == 0 && m_counters.errors) rc = kPsrFatalConversionErrors;
    m_log.Printf("\nNumber of bytes written in style buffer: %lu\n", static_cast<unsigned long>(writer.Size()));
    if (rc == 0) m_output = writer.Bytes();
    return rc;
}

// Chord key and type of the pattern from its first source channel, the key
// whose notes it leaves out and the shift of each further channel.
int CPsrStyConverter::PreparePattern(int e, int cv, int t)
{
    m_work = {};
    m_work.element = e;
    m_work.cv = cv;
    m_work.track = t;
    m_work.mask = m_plan.elements[size_t(e)].sources[size_t(cv)][size_t(t)];
    m_work.section = m_plan.elementSection[size_t(e)];
    const int s = m_work.section;
    if (s < 0 || s >= kPsrSectionCount) return kPsrWrongSectionIndex;
    m_work.startTime = m_plan.sections[size_t(s)].startTime;
    m_work.stopTime = m_plan.sections[size_t(s)].stopTime;

    int first = 0;
    while (first < 16 && !((m_work.mask >> first) & 1)) ++first;
    if (first == 16) return kPsrNoEventsInTrack;
    uint8_t root = 0, type = 0;
    if (m_mapper.GetSourceRoot(s, uint8_t(first), root)) {
        m_log.Printf("Error while calculating Chord Key from CASM chunk\n");
        return kPsrCasmNotParsed;
    }
    if (root == CYamahaPsrCasmMapper::kNone) return kPsrWrongChordKey;
    if (m_mapper.GetSourceChordType(s, uint8_t(first), type)) {
        m_log.Printf("Error while calculating Chord Type from CASM chunk\n");
        return kPsrCasmNotParsed;
    }
    const PsrChordType* chord = FindPsrChordType(type);
    if (!chord || chord->nearestQe >= kQeChordTypeCount) return kPsrWrongChordType;
    m_work.chordKey = root;
    m_work.chordType = type;

    if (chord->exactQe == kNoQeChordType) {
        m_work.dropKey = (root + PsrTensionInterval(chord->tension)) % 12;
        Warning("Warning: PSR chord %s%s has no equal Qe chord type; %s is used and the notes of key %s are left out\n",
                StyleKeyName(root), chord->name, QeStyleSeries().chordNames[size_t(chord->nearestQe)], StyleKeyName(m_work.dropKey));
    }
    for (int ch = first + 1; ch < 16; ++ch) {
        if (!((m_work.mask >> ch) & 1)) continue;
        uint8_t other = 0;
        m_mapper.GetSourceRoot(s, uint8_t(ch), other);
        if (other != CYamahaPsrCasmMapper::kNone) m_work.keyShift[size_t(ch)] = int(root) - int(other);
    }
    return 0;
}

// Pass 2: the events of the pattern's channels inside its section. Notes
// still sounding at the section's end are closed there.
int CPsrStyConverter::CollectPattern(std::span<const uint8_t> image)
{
    m_pass = Pass::Two;
    m_events.clear();
    m_openNotes.clear();
    int rc = ParseMemory(image.data(), uint32_t(image.size()));
    m_pass = Pass::One;
    if (rc == kPatternRead) rc = 0;
    if (rc) return rc;

    for (const OpenNote& open : m_openNotes) {
        const PsrPatternEvent& on = m_events[open.event];
        Warning("Warning: Found NoteON (Key= %-4s, Vol= %03d) without corresponding NoteOFF. Closed at pattern end\n",
                GetNoteOctaveText(on.data1, 0).c_str(), on.data2);
        m_events.push_back(PsrPatternEvent{m_work.stopTime, PsrPatternEvent::NoteOff, on.data1, 0, false});
    }
    m_openNotes.clear();
    return 0;
}

// ---- Reader callbacks ------------------------------------------------------

int CPsrStyConverter::BeforeEvent()
{
    // Pass 2 locates only the events it logs.
    if (m_pass == Pass::Two) return m_trackTime >= m_work.stopTime ? kPatternRead : 0;
    m_pos = Locate(m_trackTime);
    // A signature change off its section's start bar was allowed only as
    // the start of a section whose marker follows at the same tick.
    if (m_pendingTimeSig && m_trackTime > m_pendingTimeSigTick) {
        m_log.At(m_pos, "Error: Time signature change at tick %u lies inside a section\n", m_pendingTimeSigTick);
        return kPsrTimeSigWrongPlace;
    }
    return 0;
}

int CPsrStyConverter::OnHeader()
{
    if (m_pass == Pass::Two) return 0;
    m_log.Printf("Converting Yamaha style: %s to DASK QE4K style\n\n", m_fileName.c_str());
    m_log.Printf("STY File size: %ld\n", long(m_imageSize));
    m_log.Printf("Format: %d, Num of tracks: %d, Division: %d\n\n", int(m_format), int(m_tracks), int(m_division));
    if (m_format != 0) {
        m_log.Printf("Error: File format not supported in YamahaStyToQeSty conversion - Format: %d\n", int(m_format));
        return kPsrFormatNotSupported;
    }
    // SMPTE divisions (bit 15) are refused with the small ones.
    if (m_division < 96 || (m_division & 0x8000)) {
        m_log.Printf("Error: TimeDivision (TimeBase) not supported: %lu PPQN. Supported divisions: 96 PPQN and greater\n",
                     static_cast<unsigned long>(m_division));
        return kPsrDivisionNotSupported;
    }
    m_plan.division = m_division;
    return 0;
}

// A format-0 file has one track; a second one would start its time again.
int CPsrStyConverter::OnTrackStart()
{
    if (GetTrackIndex() == 0) return 0;
    m_log.Printf("Error: File format not supported in YamahaStyToQeSty conversion - Format: %d\n", int(m_format));
    return kPsrFormatNotSupported;
}

int CPsrStyConverter::OnUnknownChunk()
{
    if (m_pass == Pass::Two) return 0;
    if (GetChunkId() != CYamahaCasmParser::kChunkCasm) {
        m_log.Printf("Found Unknown chunk\n");
        return 0;
    }
    // The mapper reads the block from its head.
    const uint32_t size = GetChunkBytes();
    std::vector<uint8_t> block(size_t(size) + 8);
    for (int i = 0; i < 4; ++i) {
        block[size_t(i)] = uint8_t(CYamahaCasmParser::kChunkCasm >> (24 - 8 * i));
        block[size_t(4 + i)] = uint8_t(size >> (24 - 8 * i));
    }
    if (const int rc = ReadBytes(block.data() + 8, size)) return rc;
    if (const int rc = m_mapper.Parse(block.data(), block.size())) {
        char text[128];
        if (m_mapper.ReportError(text, sizeof text, rc) > 0) m_log.Printf("Error: %s\n", text);
        return kPsrCannotParseCasm;
    }
    return 0;
}

int CPsrStyConverter::OnChannelEvent()
{
    if (m_pass == Pass::Two) return Pass2ChannelEvent();
    LogChannelEvent();
    Pass1ChannelEvent();
    return 0;
}

int CPsrStyConverter::OnSysEx()
{
    if (m_pass == Pass::One) m_log.At(m_pos, "SysEx       | len=%u\n", GetEventBytes());
    return 0;
}

int CPsrStyConverter::OnMetaSeqNum()
{
    if (m_pass == Pass::One) m_log.At(m_pos, "Seq Number  | %u\n", (unsigned(m_eventData[1]) << 8) | m_eventData[2]);
    return 0;
}

int CPsrStyConverter::OnMetaTempo()
{
    if (m_pass == Pass::One) m_log.Tempo(m_pos, 60000000u / m_eventTempo, m_eventTempo);
    return 0;
}

int CPsrStyConverter::OnMetaSMPTE()
{
    if (m_pass == Pass::One)
        m_log.At(m_pos, "SMPTE       | %02u:%02u:%02u:%02u.%02u\n", m_eventData[1], m_eventData[2], m_eventData[3],
                 m_eventData[4], m_eventData[5]);
    return 0;
}

// A change of signature lies on a bar start, and inside a section on its
// start bar; the element of the section takes it.
int CPsrStyConverter::OnMetaTime()
{
    if (m_pass == Pass::Two) return 0;
    const uint8_t numerator = m_eventData[1];
    const uint8_t power = m_eventData[2];
    const unsigned long denominator = power < 32 ? 1ul << power : 0;
    m_log.TimeSig(m_pos, numerator, denominator, m_eventData[3], m_eventData[4]);
    if (numerator == 0 || power > 4) {
        m_log.Printf("Error: Tact Denominator not supported: %lu\n", denominator);
        return kPsrDenominatorNotSupported;
    }
    const uint8_t code = numerator > 16 ? kDefaultTimeSig : uint8_t(numerator * 8 + power);

    CTimeSigRecord& current = m_timeSigs[m_timeSigHint];
    if (current.numerator != numerator || current.denominator != denominator) {
        if (!m_pos.IsBarStart()) {
            m_log.TimeSigWrongPlace(m_pos, numerator, denominator, m_eventData[3], m_eventData[4]);
            return kPsrTimeSigWrongPlace;
        }
        if (m_section >= 0 && uint32_t(m_pos.measure) != m_plan.sections[size_t(m_section)].startBar) {
            m_pendingTimeSig = true;
            m_pendingTimeSigTick = m_trackTime;
        }
        if (current.startTick == m_trackTime) {
            current.numerator = numerator;
            current.denominator = uint8_t(denominator);
        } else {
            m_timeSigs.push_back(CTimeSigRecord{m_trackTime, numerator, uint8_t(denominator)});
            m_timeSigBars.push_back(uint32_t(m_pos.measure));
            m_timeSigHint = m_timeSigs.size() - 1;
        }
    }
    m_lastTimeSig = code;
    if (m_section >= 0 && !m_pendingTimeSig) {
        const int e = m_plan.sectionElement[size_t(m_section)];
        if (e >= 0 && !m_plan.elements[size_t(e)].timeSignatureFromEvent) {
            PsrElement& element = m_plan.elements[size_t(e)];
            element.timeSignature = code;
            element.hasTimeSignature = true;
            element.timeSignatureFromEvent = true;
        }
    }
    return 0;
}

int CPsrStyConverter::OnMetaKeySig()
{
    if (m_pass == Pass::One)
        m_log.KeySig(m_pos, StringPrintf("%+d %s", int(int8_t(m_eventData[1])), m_eventData[2] ? "minor" : "major"));
    return 0;
}

int CPsrStyConverter::OnMetaPort()
{
    if (m_pass == Pass::One) m_log.PortNumber(m_pos, m_eventData[1]);
    return 0;
}

int CPsrStyConverter::OnMetaChan()
{
    if (m_pass == Pass::One) m_log.ChanNumber(m_pos, m_eventData[1]);
    return 0;
}

int CPsrStyConverter::OnMetaEndOfTrack()
{
    if (m_pass == Pass::One) m_log.EndOfTrack(m_pos);
    return 0;
}

int CPsrStyConverter::OnMetaText()
{
    const uint32_t length = GetEventBytes();
    std::string text(length, '\0');
    if (const int rc = ReadBytes(reinterpret_cast<uint8_t*>(text.data()), length)) return rc;
    const std::string name(untilZero(text));

    if (m_pass == Pass::Two) {
        if (m_status == 0x06 && CYamahaCasmParser::FindSection(name) == m_work.section) m_work.markerSeen = true;
        return 0;
    }
    switch (m_status) {
    case 0x03:
        m_log.At(m_pos, "Track name  | %s\n", name.c_str());
        if (!m_haveTrackName) {
            m_haveTrackName = true;
            std::copy_n(name.begin(), std::min<size_t>(name.size(), m_styleName.size()), m_styleName.begin());
        }
        return 0;
    case 0x06: {
        m_log.At(m_pos, "Marker      | %s\n", name.c_str());
        const int section = CYamahaCasmParser::FindSection(name);
        if (section >= 0) return OnMarker(section);
        if (name == "SFF1")
            m_sff1Found = true;
        else if (name == "SInt")
            m_sintFound = true;
        else
            WarningAt("Warning: Unrecognized marker: %s\n", name.c_str());
        return 0;
    }
    default:
        m_log.At(m_pos, "Unrecognized Text Meta| Type = 0x%02x, len=%lu\n", unsigned(m_status),
                 static_cast<unsigned long>(length));
        return 0;
    }
}

// ---- Pass 1 ----------------------------------------------------------------

// A section marker ends the section before it and starts its own. All
// markers share the offset inside the bar of the first one.
int CPsrStyConverter::OnMarker(int s)
{
    const uint32_t offset = uint32_t(m_trackTime - BarStart(uint32_t(m_pos.measure)));
    if (!m_markerFound) {
        m_markerFound = true;
        m_markerOffset = offset;
        if (offset != 0) WarningAt("Warning: Section marker lies %u ticks after its bar start\n", offset);
    } else if (offset != m_markerOffset) {
        ErrorAt("Error: Section offset:%d differs from first section offset:%d\n", int(offset), int(m_markerOffset));
    }
    PsrSection& section = m_plan.sections[size_t(s)];
    if (section.found) {
        ErrorAt("Error: Section %s already found\n", CYamahaCasmParser::SectionName(s));
        return 0;
    }
    if (m_pendingTimeSig && m_trackTime == m_pendingTimeSigTick) m_pendingTimeSig = false;
    if (m_section >= 0) {
        m_plan.sections[size_t(m_section)].stopTime = m_trackTime;
        PropagateValues(m_section);
    }
    section.found = true;
    section.startBar = uint32_t(m_pos.measure);
    section.startTime = m_trackTime;
    m_section = s;

    const int e = m_plan.sectionElement[size_t(s)];
    if (e >= 0 && !m_plan.elements[size_t(e)].hasTimeSignature) {
        PsrElement& element = m_plan.elements[size_t(e)];
        element.timeSignature = m_lastTimeSig;
        element.hasTimeSignature = true;
        m_log.Printf("TimeSig not found for %s. Propagated from last found time signature (%2x)\n", PsrElementName(e),
                     m_lastTimeSig);
    }
    return 0;
}

void CPsrStyConverter::TakeValue(int channel, PsrValue value, uint8_t x)
{
    PsrChannelValues& values = m_plan.sections[size_t(m_section)].channels[size_t(channel)].values;
    if (values.Has(value)) return;
    values.Set(value, x);
    m_lastFound[size_t(channel)].Set(value, x);
}

// Each sounding channel of a section that set no bank, expression or program
// of its own takes the last one found before.
void CPsrStyConverter::PropagateValues(int s)
{
    PsrSection& section = m_plan.sections[size_t(s)];
    for (int ch = 0; ch < 16; ++ch) {
        PsrSectionChannel& channel = section.channels[size_t(ch)];
        if (!channel.used) continue;
        for (size_t v = 0; v < kPsrValueCount; ++v) {
            const PsrValue value = PsrValue(v);
            if (channel.values.Has(value) || !m_lastFound[size_t(ch)].Has(value)) continue;
            const uint8_t x = m_lastFound[size_t(ch)].Get(value);
            channel.values.Set(value, x);
            Warning("Warning: %s not found for %s, chan: %d. Propagated from last found value: %d\n",
                    PsrValueName(value), CYamahaCasmParser::SectionName(s), ch + 1, x);
        }
    }
}

void CPsrStyConverter::Pass1ChannelEvent()
{
    const int channel = m_status & 0x0F;
    const uint8_t kind = m_status & 0xF0;
    const uint8_t d1 = m_eventData[0];
    const uint8_t d2 = m_eventData[1];
    m_haveChannelEvent = true;
    m_lastEventTime = m_trackTime;

    bool isValue = true;
    PsrValue value = PsrValue::Program;
    uint8_t x = d1;
    if (kind == 0xB0 && d1 == 0)
        value = PsrValue::BankMsb, x = d2;
    else if (kind == 0xB0 && d1 == 32)
        value = PsrValue::BankLsb, x = d2;
    else if (kind == 0xB0 && d1 == 11)
        value = PsrValue::Expression, x = d2;
    else
        isValue = kind == 0xC0;
    const bool noteOn = kind == 0x90 && d2 > 0;

    // Before the first section marker: the initial setup.
    if (!m_markerFound) {
        if (noteOn) WarningAt("Warning: Note event found before the first section marker\n");
        if (isValue && !m_setup[size_t(channel)].Has(value)) {
            m_setup[size_t(channel)].Set(value, x);
            m_lastFound[size_t(channel)].Set(value, x);
        }
        return;
    }
    if (m_section < 0 || m_section >= kPsrSectionCount) {
        ErrorAt("Error: Event found in unknown section %d\n", m_section);
        return;
    }
    PsrSection& section = m_plan.sections[size_t(m_section)];
    if (noteOn) {
        section.used = true;
        section.channels[size_t(channel)].used = true;
        ++section.channels[size_t(channel)].noteOns;
    }
    // Bank, expression and program count at the section's first bar, tick 0.
    if (isValue && uint32_t(m_pos.measure) == section.startBar &&
        (m_pos.IsBarStart() || m_trackTime == section.startTime))
        TakeValue(channel, value, x);
}

void CPsrStyConverter::LogChannelEvent()
{
    if (!m_log.IsOpen()) return;
    const unsigned channel = (m_status & 0x0F) + 1u;
    const uint8_t d1 = m_eventData[0];
    const uint8_t d2 = m_eventData[1];
    switch (m_status & 0xF0) {
    case 0x90:
        if (d2 > 0) {
            m_log.NoteOn(m_pos, GetNoteOctaveText(d1, 0), d2, int(channel));
            break;
        }
        [[fallthrough]];
    case 0x80:
        m_log.At(m_pos, "Note OFF Event (Key= %-4s, Vol= %03d) found at channel: %d\n", GetNoteOctaveText(d1, 0).c_str(),
                 d2, int(channel));
        break;
    case 0xA0:
        m_log.KeyPress(m_pos, channel, d1, d2);
        break;
    case 0xB0:
        m_log.Controller(m_pos, channel, d1, d2);
        break;
    case 0xC0:
        m_log.Program(m_pos, channel, d1);
        break;
    case 0xD0:
        m_log.ChanPress(m_pos, channel, d1);
        break;
    case 0xE0:
        m_log.PitchWheel(m_pos, channel, d1, d2);
        break;
    }
}

// ---- Pass 2 ----------------------------------------------------------------

int CPsrStyConverter::Pass2ChannelEvent()
{
    const int channel = m_status & 0x0F;
    if (!((m_work.mask >> channel) & 1)) return 0;
    // Only the section's own events: the setup before the first section is
    // never part of one, while every note inside it is kept, even where a
    // section starts inside the file's first bar.
    if (m_trackTime < m_work.startTime || m_trackTime >= m_work.stopTime) return 0;
    const uint8_t kind = m_status & 0xF0;
    const uint8_t d1 = m_eventData[0];
    const uint8_t d2 = m_eventData[1];
    if (!m_work.markerSeen) {
        m_pos = Locate(m_trackTime);
        WarningAt("WARNING: Found channel event (Code=x%02X, Chan=x%02X) before expected Section Marker: %s. --- EVENT "
                  "IGNORRED!!!\n",
                  unsigned(kind), unsigned(channel), CYamahaCasmParser::SectionName(m_work.section));
        return 0;
    }

    if (kind == 0x80 || kind == 0x90) {
        const uint8_t key = shiftedKey(d1, m_work.keyShift[size_t(channel)]);
        if (m_work.dropKey >= 0 && key % 12 == m_work.dropKey) return 0;
        if (kind == 0x90 && d2 > 0) {
            m_openNotes.push_back(OpenNote{uint8_t(channel), key, m_events.size()});
            m_events.push_back(PsrPatternEvent{m_trackTime, PsrPatternEvent::NoteOn, key, d2, false});
            return 0;
        }
        // A note-off closes the oldest open note of its key and channel.
        const auto open = std::find_if(m_openNotes.begin(), m_openNotes.end(), [&](const OpenNote& n) {
            return n.channel == channel && n.key == key;
        });
        if (open == m_openNotes.end()) {
            Warning("Warning: Found NoteOFF (Key= %-4s, Vol= %03d) without corresponding NoteON. Discarded\n",
                    GetNoteOctaveText(key, 0).c_str(), d2);
            return 0;
        }
        m_events[open->event].resolved = true;
        m_openNotes.erase(open);
        m_events.push_back(PsrPatternEvent{m_trackTime, PsrPatternEvent::NoteOff, key, d2, false});
    } else if (kind == 0xB0 && isPatternController(d1)) {
        m_events.push_back(PsrPatternEvent{m_trackTime, PsrPatternEvent::Controller, d1, d2, false});
    } else if (kind == 0xE0) {
        m_events.push_back(PsrPatternEvent{m_trackTime, PsrPatternEvent::PitchWheel, d1, d2, false});
    }
    return 0;
}

} // namespace zib
