#include "styles/CPsrStylePlanner.h"

#include "styles/PsrChordTypes.h"
#include "styles/PsrConvertError.h"
#include "styles/StringPrintf.h"
#include "styles/StyleSeriesTraits.h"

#include <cstdarg>

namespace zib {

namespace {

// Qe track of a Ctab destination channel 8-15 (1-based 9-16): 9 PERC,
// 10 DRUM, 11 BASS, 12-16 ACC1-ACC5.
constexpr int kTrackOfDest[8] = {1, 0, 2, 3, 4, 5, 6, 7};

// Qe chord type of min, the last that must get a CV of its own.
constexpr int kMinorChordType = 7;

constexpr bool isAccTrack(int track) { return track >= 3; }

} // namespace

CPsrStylePlanner::CPsrStylePlanner(PsrStylePlan& plan, const CYamahaPsrCasmMapper& mapper, CConversionLog& log,
                                   PsrCounters& counters)
    : m_plan(plan), m_mapper(mapper), m_log(log), m_counters(counters)
{
}

void CPsrStylePlanner::Warning(const char* format, ...)
{
    ++m_counters.warnings;
    if (!m_log.IsOpen()) return;
    va_list args;
    va_start(args, format);
    const std::string text = StringPrintfV(format, args);
    va_end(args);
    m_log.Printf("%s", text.c_str());
}

uint8_t CPsrStylePlanner::ChordTypeOf(int section, int channel) const
{
    uint8_t type = 0;
    if (m_mapper.GetSourceChordType(section, uint8_t(channel), type) != 0 || type >= kPsrChordTypeCount) return 0;
    return type;
}

const char* CPsrStylePlanner::ChordTypeName(int section, int channel) const
{
    return FindPsrChordType(ChordTypeOf(section, channel))->name;
}

int CPsrStylePlanner::Run()
{
    DefineElements();
    if (!m_mapper.IsParsed()) return kPsrCasmNotParsed;
    if (const int rc = FindChordMutes()) return rc;
    LogCasmReport();
    LogChordMutes();
    LogBars();

    for (int e = 0; e < kPsrElementCount; ++e) {
        PsrElement& element = m_plan.elements[size_t(e)];
        if (!element.defined) continue;
        if (const int rc = AssignChordVariations(e)) return rc;
        if (element.cvCount == 0) {
            // Nothing of the section sounds for any chord.
            element.defined = false;
            m_log.Printf("Dask Qe4k style element: %s - NOT CREATED\n", PsrElementName(e));
            continue;
        }
        TakeSounds(e);
        LogChordTable(e);
    }

    m_plan.elementMask = 0;
    for (int e = 0; e < kPsrElementCount; ++e)
        if (m_plan.elements[size_t(e)].defined) m_plan.elementMask |= uint16_t(1u << e);
    m_log.Printf("\n\nDefined Style Element Flags: %04x\n\n", m_plan.elementMask);
    if (m_plan.elementMask == 0) {
        m_log.Printf("Conversion stopped: There is no defined QE style elements!!!\n");
        return kPsrNoElementWithNotes;
    }

    NumberPatterns();
    if (m_plan.differentPatterns == 0) {
        m_log.Printf("Conversion stopped: There is no non-empty patterns!!!\n");
        return kPsrNoPatterns;
    }
    return 0;
}

// An element exists when the section it is made from was found and plays.
void CPsrStylePlanner::DefineElements()
{
    for (int s = 0; s < kPsrSectionCount; ++s) {
        const int e = m_plan.sectionElement[size_t(s)];
        if (e >= 0)
            m_log.Printf("Yamaha PSR section: %s converted to Qe4k style element: %s \n", CYamahaCasmParser::SectionName(s),
                         PsrElementName(e));
        else
            m_log.Printf("Yamaha PSR section: %s NOT converted to any Qe4k style element\n",
                         CYamahaCasmParser::SectionName(s));
    }
    for (int e = 0; e < kPsrElementCount; ++e) {
        PsrElement& element = m_plan.elements[size_t(e)];
        const int s = m_plan.elementSection[size_t(e)];
        element.section = s;
        element.defined = s >= 0 && m_plan.sections[size_t(s)].found && m_plan.sections[size_t(s)].used;
        if (element.defined)
            m_log.Printf("Dask Qe4k style element: %s, converted from Yamaha PSR section: %s\n", PsrElementName(e),
                         CYamahaCasmParser::SectionName(s));
        else
            m_log.Printf("Dask Qe4k style element: %s - NOT CREATED\n", PsrElementName(e));
    }
}

// For every sounding channel with a destination: its bit in the mask of each
// Qe chord type that one of its unmuted PSR chord types equals.
int CPsrStylePlanner::FindChordMutes()
{
    for (int s = 0; s < kPsrSectionCount; ++s) {
        PsrSection& section = m_plan.sections[size_t(s)];
        if (!section.found) continue;
        for (int ch = 0; ch < 16; ++ch) {
            if (section.channels[size_t(ch)].noteOns == 0) continue;
            uint8_t dest = CYamahaPsrCasmMapper::kNone;
            std::array<uint8_t, 5> mute{};
            if (m_mapper.GetDestChannel(s, uint8_t(ch), dest) || m_mapper.GetChordMute(s, uint8_t(ch), mute))
                return kPsrCasmNotParsed;
            if (dest == CYamahaPsrCasmMapper::kNone) continue;
            section.destChannel[size_t(ch)] = dest;
            for (int t = 0; t < kPsrChordTypeCount; ++t) {
                const int qe = FindPsrChordType(t)->exactQe;
                if (qe == kNoQeChordType) continue;
                if ((mute[size_t(4 - t / 8)] >> (t % 8)) & 1) section.chordMute[size_t(qe)] |= uint16_t(1u << ch);
            }
        }
    }
    return 0;
}

void CPsrStylePlanner::LogCasmReport()
{
    if (!m_log.IsOpen()) return;
    m_log.Printf("\nCASM report\n\n");
    for (int s = 0; s < kPsrSectionCount; ++s) {
        if (!m_plan.sections[size_t(s)].found) continue;
        m_log.Printf("\nFound following channel mapping for %s: \n", CYamahaCasmParser::SectionName(s));
        m_log.Printf("Track\tChan\tKey\tChordType\tChordMute\n");
        for (int ch = 0; ch < 16; ++ch) {
            uint8_t root = 0, dest = 0;
            std::array<uint8_t, 5> mute{};
            m_mapper.GetSourceRoot(s, uint8_t(ch), root);
            if (root == CYamahaPsrCasmMapper::kNone) continue;
            m_mapper.GetDestChannel(s, uint8_t(ch), dest);
            m_mapper.GetChordMute(s, uint8_t(ch), mute);
            m_log.Printf("%2d\t%2d\t%s\t%-16s", ch + 1, dest == CYamahaPsrCasmMapper::kNone ? 0 : dest + 1,
                         StyleKeyName(root), ChordTypeName(s, ch));
            for (uint8_t b : mute) m_log.Printf("%02x ", b);
            m_log.Printf("\n");
        }
    }
}

void CPsrStylePlanner::LogChordMutes()
{
    if (!m_log.IsOpen()) return;
    for (int s = 0; s < kPsrSectionCount; ++s) {
        const PsrSection& section = m_plan.sections[size_t(s)];
        if (!section.found) continue;
        m_log.Printf("\nPrinting Qe ChordMute info for %s\n", CYamahaCasmParser::SectionName(s));
        for (int q = 0; q < kQeChordTypeCount; ++q)
            m_log.Printf("%s\t\t\t%04x\n", QeStyleSeries().chordNames[size_t(q)], section.chordMute[size_t(q)]);
    }
}

void CPsrStylePlanner::LogBars()
{
    if (!m_log.IsOpen()) return;
    m_log.Printf("\n");
    for (int s = 0; s < kPsrSectionCount; ++s) {
        const PsrSection& section = m_plan.sections[size_t(s)];
        if (!section.found) continue;
        m_log.Printf("%s - StartBar: %3d, StartTime: %10d, StopTime: %10d\n", CYamahaCasmParser::SectionName(s),
                     int(section.startBar + 1), int(section.startTime), int(section.stopTime));
    }
    m_log.Printf("\n");
    for (int e = 0; e < kPsrElementCount; ++e) {
        const PsrElement& element = m_plan.elements[size_t(e)];
        if (!element.defined) continue;
        m_log.Printf("%s, StartBar: %3d, EndBar: %3d, StartTime: %10d, StopTime: %10d\n", PsrElementName(e),
                     int(element.startBar + 1), int(element.endBar + 1), int(element.startTime),
                     int(element.stopTime));
    }
}

// Qe chord types in order: equal masks share a CV, a new mask makes a CV
// while the element has room. With no room left before min has been
// reached (Major first, min eighth) the element cannot be built; after it,
// the chord type plays CV1. A chord type where nothing sounds plays CV1.
int CPsrStylePlanner::AssignChordVariations(int e)
{
    PsrElement& element = m_plan.elements[size_t(e)];
    const PsrSection& section = m_plan.sections[size_t(element.section)];
    const int limit = StyleSeriesTraits::CvCountOf(e);
    m_log.Printf("\n====== Determining QeCvTrInfo for %s\n", PsrElementName(e));

    const auto findCv = [&element](uint16_t mask) {
        for (int c = 0; c < element.cvCount; ++c)
            if (element.cvChordMute[size_t(c)] == mask) return c;
        return -1;
    };
    for (int q = 0; q < kQeChordTypeCount; ++q) {
        const uint16_t mask = section.chordMute[size_t(q)];
        if (mask == 0) {
            element.chordTable[size_t(q)] = 0;
            continue;
        }
        int cv = findCv(mask);
        if (cv < 0) {
            if (element.cvCount < limit) {
                cv = element.cvCount;
                if (const int rc = AddCv(e, mask)) return rc;
            } else if (q <= kMinorChordType) {
                m_log.Printf("Error: Too many Cvs. Major or minor NOT processed!!! SE: %s, CvNum: %d\n",
                             PsrElementName(e), element.cvCount);
                return kPsrTooManyCvs;
            } else {
                Warning("Warning: %s - %s: Found ChordVar out of limit. Forcing to ChVar1!\n", PsrElementName(e),
                        QeStyleSeries().chordNames[size_t(q)]);
                cv = 0;
            }
        }
        element.chordTable[size_t(q)] = uint8_t(cv);
    }
    return 0;
}

// A new CV: each source channel of the mask goes to the Qe track of its
// destination channel; tracks fed by channels of different chord types are
// then split or thinned out.
int CPsrStylePlanner::AddCv(int e, uint16_t mask)
{
    PsrElement& element = m_plan.elements[size_t(e)];
    const PsrSection& section = m_plan.sections[size_t(element.section)];
    const int cv = element.cvCount++;
    element.cvChordMute[size_t(cv)] = mask;
    for (int ch = 0; ch < 16; ++ch) {
        if (!((mask >> ch) & 1)) continue;
        const uint8_t dest = section.destChannel[size_t(ch)];
        if (dest < 8 || dest > 15) {
            m_log.Printf("Error: %s_%s: PSR src track %02d has no QE track (destination channel %d)\n",
                         PsrElementName(e), PsrCvName(cv), ch + 1, dest + 1);
            return kPsrWrongChannelConversion;
        }
        const int track = kTrackOfDest[dest - 8];
        element.cvTracks[size_t(cv)] |= uint8_t(1u << track);
        element.sources[size_t(cv)][size_t(track)] |= uint16_t(1u << ch);
    }
    for (int t = 0; t < kQeTrackCount; ++t) SplitTrack(e, cv, t);
    return 0;
}

// Several source channels on one track play one pattern only when they
// share their source chord type. Otherwise the first channel is the
// reference: a channel of another type moves, with every further channel of
// its type, to a free ACC track (the one with more note-ons stays), or, when
// no ACC track is free or the track is DRUM, PERC or BASS, the one with fewer
// note-ons is dropped (the later one on equal counts).
void CPsrStylePlanner::SplitTrack(int e, int cv, int track)
{
    PsrElement& element = m_plan.elements[size_t(e)];
    const PsrSection& section = m_plan.sections[size_t(element.section)];
    const int s = element.section;
    uint16_t& sources = element.sources[size_t(cv)][size_t(track)];

    for (;;) {
        int ref = -1, other = -1, count = 0;
        for (int ch = 0; ch < 16; ++ch) {
            if (!((sources >> ch) & 1)) continue;
            ++count;
            if (ref < 0)
                ref = ch;
            else if (other < 0 && ChordTypeOf(s, ch) != ChordTypeOf(s, ref))
                other = ch;
        }
        if (count < 2) return;
        if (other < 0) {
            Warning("Warning - %s_%s_%s: %d PSR src tracks of the same chord type (%s) share this track\n",
                    PsrElementName(e), PsrCvName(cv), PsrTrackName(track), count, ChordTypeName(s, ref));
            return;
        }

        const uint32_t refNotes = section.channels[size_t(ref)].noteOns;
        const uint32_t otherNotes = section.channels[size_t(other)].noteOns;
        int freeTrack = -1;
        if (isAccTrack(track))
            for (int t = kQeTrackCount - 1; t >= 3 && freeTrack < 0; --t)
                if (!((element.cvTracks[size_t(cv)] >> t) & 1)) freeTrack = t;

        if (freeTrack >= 0) {
            const int mover = refNotes >= otherNotes ? other : ref;
            const uint8_t moverType = ChordTypeOf(s, mover);
            uint16_t group = 0;
            for (int ch = mover; ch < 16; ++ch)
                if (((sources >> ch) & 1) && ChordTypeOf(s, ch) == moverType) group |= uint16_t(1u << ch);
            sources &= uint16_t(~group);
            element.sources[size_t(cv)][size_t(freeTrack)] |= group;
            element.cvTracks[size_t(cv)] |= uint8_t(1u << freeTrack);
            m_log.Printf("Important: %s_%s: creating one more QE track: %s\n", PsrElementName(e), PsrCvName(cv),
                         PsrTrackName(freeTrack));
            continue;
        }

        const bool dropRef = otherNotes > refNotes;
        const int dropped = dropRef ? ref : other;
        const int dominant = dropRef ? other : ref;
        sources &= uint16_t(~(1u << dropped));
        Warning("Warning - %s_%s_%s: PSR src track %02d (%s) dominant over %02d (%s). Later ignored!!!\n",
                PsrElementName(e), PsrCvName(cv), PsrTrackName(track), dominant + 1, ChordTypeName(s, dominant),
                dropped + 1, ChordTypeName(s, dropped));
    }
}

// Each track takes the sound of its first source channel; the bank is
// translated: drum kits (MSB 127) and SFX kits (MSB 126) become the
// keyboard's kits, every other bank its general bank.
void CPsrStylePlanner::TakeSounds(int e)
{
    PsrElement& element = m_plan.elements[size_t(e)];
    const PsrSection& section = m_plan.sections[size_t(element.section)];
    const auto sameSound = [](const PsrChannelValues& a, const PsrChannelValues& b) {
        for (PsrValue v : {PsrValue::BankMsb, PsrValue::BankLsb, PsrValue::Program})
            if (a.Has(v) != b.Has(v) || (a.Has(v) && a.Get(v) != b.Get(v))) return false;
        return true;
    };

    std::array<int, kQeTrackCount> reference;
    reference.fill(-1);
    for (int cv = 0; cv < element.cvCount; ++cv) {
        for (int t = 0; t < kQeTrackCount; ++t) {
            for (int ch = 0; ch < 16; ++ch) {
                if (!((element.sources[size_t(cv)][size_t(t)] >> ch) & 1)) continue;
                const PsrChannelValues& values = section.channels[size_t(ch)].values;
                const int ref = reference[size_t(t)];
                if (ref >= 0) {
                    if (!sameSound(values, section.channels[size_t(ref)].values))
                        Warning("WARNING: Found different PSR sounds for QE %s_%s_%s. PSR sound at src track %2d "
                                "changed to be the same as at src track %2d\n",
                                PsrElementName(e), PsrCvName(cv), PsrTrackName(t), ch + 1, ref + 1);
                    continue;
                }
                reference[size_t(t)] = ch;
                PsrTrackSettings& settings = element.tracks[size_t(t)];
                if (values.Has(PsrValue::Program)) settings.program = values.Get(PsrValue::Program);
                if (values.Has(PsrValue::BankMsb)) {
                    const uint8_t msb = values.Get(PsrValue::BankMsb);
                    const uint8_t lsb = values.Has(PsrValue::BankLsb) ? values.Get(PsrValue::BankLsb) : 0;
                    settings.bankLsb = 0;
                    if (msb == 127 && lsb == 0) {
                        settings.bankMsb = 120;
                    } else if (msb == 126 && lsb == 0) {
                        settings.bankMsb = 120;
                        settings.program = settings.program == 35 ? 116 : 56;
                    } else {
                        settings.bankMsb = 121;
                    }
                }
                if (values.Has(PsrValue::Expression)) settings.expression = values.Get(PsrValue::Expression);
            }
        }
    }
}

void CPsrStylePlanner::LogChordTable(int e)
{
    if (!m_log.IsOpen()) return;
    const PsrElement& element = m_plan.elements[size_t(e)];
    m_log.Printf("\nChordTable for %s:\n", PsrElementName(e));
    for (int q = 0; q < kQeChordTypeCount; ++q)
        m_log.Printf("%s\t\t\t%s\n", QeStyleSeries().chordNames[size_t(q)], PsrCvName(element.chordTable[size_t(q)]));
    for (int cv = 0; cv < element.cvCount; ++cv) {
        m_log.Printf("%s:", PsrCvName(cv));
        for (int t = 0; t < kQeTrackCount; ++t)
            if (element.sources[size_t(cv)][size_t(t)])
                m_log.Printf(" %s=%04x", PsrTrackName(t), element.sources[size_t(cv)][size_t(t)]);
        m_log.Printf("\n");
    }
}

// A track whose source mask equals that of a track in an earlier CV of the
// element plays the same pattern; every other one gets the next number.
void CPsrStylePlanner::NumberPatterns()
{
    int next = 1;
    m_plan.references = 0;
    for (int e = 0; e < kPsrElementCount; ++e) {
        PsrElement& element = m_plan.elements[size_t(e)];
        if (!element.defined) continue;
        for (int cv = 0; cv < element.cvCount; ++cv) {
            int index = 0;
            for (int t = 0; t < kQeTrackCount; ++t) {
                const uint16_t mask = element.sources[size_t(cv)][size_t(t)];
                if (mask == 0) continue;
                int number = -1, foundCv = -1;
                for (int c = 0; c < cv && number < 0; ++c)
                    for (int u = 0; u < kQeTrackCount && number < 0; ++u)
                        if (element.sources[size_t(c)][size_t(u)] == mask) {
                            number = element.patternNumber[size_t(c)][size_t(u)];
                            foundCv = c;
                        }
                if (number > 0) {
                    m_log.Printf("%s_%s_%s: %04x --- PATTERN ALREADY FOUND at %s_%s. PattOrdNum: %d, CvPatIdx: %d\n",
                                 PsrElementName(e), PsrCvName(cv), PsrTrackName(t), mask, PsrElementName(e),
                                 PsrCvName(foundCv), number, index);
                } else {
                    number = next++;
                    m_log.Printf("%s_%s_%s: %04x --- NEW PATTERN. PattOrdNum: %d, CvPatIdx: %d\n", PsrElementName(e),
                                 PsrCvName(cv), PsrTrackName(t), mask, number, index);
                }
                element.patternNumber[size_t(cv)][size_t(t)] = number;
                ++m_plan.references;
                ++index;
            }
        }
    }
    m_plan.differentPatterns = next - 1;
}

} // namespace zib
