#include "styles/CMidiToQeStyConverter.h"

#include <algorithm>
#include <limits>
#include <new>
#include <ostream>

#include "midi/ValueTexts.h"
#include "platform/FileIo.h"
#include "styles/ConversionLogSink.h"
#include "styles/PackQe7Bit.h"
#include "styles/StyleConvertError.h"
#include "ulvarf/ulvarf.h"

namespace zib {

// The style file this converter writes is a DASF container with one style
// resource, built here byte by byte (all numbers big-endian):
//
//   offset  bytes  content
//   0       8      01 00 01 14, size = total - 8          top chunk
//   8       8      02 00 00 18, size 12                   root info
//   16      12     0B 00 00 00 00 00 00 "DASF" 00
//   28      8      05 00 00 18, size 24                   index, one entry:
//   36      18       the style name, cleaned, zero-padded
//   54      6        02 (type) 11 (user byte 1 = 17) 00 00 00 00
//   60      8      06 00 00 10, size = total - 96         resource chunk
//   68      8      01 vv 00 00, size = total - 104        style chunk (vv = 1 extended)
//   76      ...    header record, pattern list, elements (the Qe style tree)
//   total-28 28    FE 00 00 18, size 20, "DBEG" 0x1C 0x3C "DEND" 2   directory
//
// UlvaRf then opens the image, takes a second resource when the MIDI file
// embeds one, and writes the container as the file.

namespace {

constexpr int codeOf(StyleConvertError e)
{
    return int(e);
}

// Time base of the style world
constexpr uint32_t kPulsesPerQuarter = 384;
constexpr int kMaxCvMeasures = 32;

// Names and the embedded second resource
constexpr size_t kStyleNameLength = 18;
constexpr std::string_view kStsSignature = "DASKQESTS ";
constexpr size_t kStsHeadLength = 28; // signature and 18-byte name
constexpr int kStsIndexUser1 = 17;
constexpr int kStsIndexUser2 = 0;

// Chunk flags of the old-form chunks written here
constexpr uint8_t kContainerChunk = 0x00;
constexpr uint8_t kLeafChunk = 0x08;

// Directory of the one-resource container: the index at 0x1C, the resource at 0x3C.
constexpr uint8_t kDirectory[] = {0xFE, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x14, 'D',  'B',
                                  'E',  'G',  0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x3C,
                                  'D',  'E',  'N',  'D',  0x00, 0x00, 0x00, 0x02};

// Element defaults
constexpr uint8_t kDefaultTimeSignature = 34; // 4/4
constexpr int kIntro1 = 4;
constexpr int kEnding1 = 8;
constexpr uint8_t kFixedNtt = 3; // INT1 and END1

// Pattern records and the controllers a pattern keeps
constexpr uint8_t kNoteOff = 0;
constexpr uint8_t kNoteOn = 1;
constexpr uint8_t kControl = 3;
constexpr uint8_t kPitchWheel = 6;
constexpr uint8_t kVexSoundOff = 12;
constexpr uint8_t kVexSoundOn = 13;
constexpr uint8_t kNoteOffVelocity = 64;

// Names of the setup values in the log, in the order of Setup
constexpr const char* kSetupNames[] = {"HBank", "LBank", "Expr", "Prog"};
constexpr const char* kSetupEventNames[] = {"HBANK", "LBANK", "EXPR", "PROG"};
// The last setup values of a track before it sets any: DRUM and PERC, then
// the other tracks.
constexpr std::array<int, 4> kInitialLastSetup[] = {{120, 0, 100, 0}, {121, 0, 100, 0}};

bool isPatternController(uint8_t controller)
{
    switch (controller) {
    case 1:
    case 2:
    case 10:
    case 12:
    case 13:
    case 64:
    case 71:
    case 74:
    case 80:
    case 81:
    case 82:
        return true;
    default:
        return false;
    }
}

// A VexSound event: F0 with the 9 data bytes 'B' '?' 'x' 01 sub-type channel key velocity F7.
bool isVexSound(std::span<const uint8_t> data)
{
    return data.size() == 9 && data[0] == 'B' && data[1] == '?' && data[2] == 'x';
}

// Pattern type of a style track: 0 DRUM and PERC, 1 BASS, 2 ACC1-ACC5.
uint8_t patternTypeOf(int track)
{
    return track < 2 ? 0 : track == 2 ? 1 : 2;
}

// Letter tables of the settings, checked before their letters become indexes.
bool keyChordLettersValid(std::string_view letters)
{
    if (letters.size() < 80) return false;
    for (size_t slot = 0; slot < 40; ++slot) {
        const int key = letters[2 * slot] - 'A', chord = letters[2 * slot + 1] - 'A';
        if (key < 0 || key > 11 || chord < 0 || chord >= StyleCommandState::kChords) return false;
    }
    return true;
}

bool chordTableLettersValid(std::string_view letters)
{
    if (letters.size() < size_t(StyleCommandState::kElements * StyleCommandState::kChords)) return false;
    for (size_t i = 0; i < size_t(StyleCommandState::kElements * StyleCommandState::kChords); ++i)
        if (letters[i] < 'A' || letters[i] >= 'A' + StyleCommandState::kCvs) return false;
    return true;
}

struct ContainerDeleter {
    void operator()(ULRFContainer* container) const { _ULRFDeleteInstance(container); }
};
using ContainerHandle = std::unique_ptr<ULRFContainer, ContainerDeleter>;

} // namespace

// Gathers the log lines of one pattern while the file is read.
class CMidiToQeStyConverter::BufferSink : public IConversionLogSink {
public:
    void Write(std::string_view text) override
    {
        if (target) target->append(text);
    }
    std::string* target = nullptr;
};

CMidiToQeStyConverter::CMidiToQeStyConverter()
    : CMidiToStyleReader(RunCodes{codeOf(StyleConvertError::FormatNotSupported),
                                  codeOf(StyleConvertError::DivisionNotSupported),
                                  codeOf(StyleConvertError::FatalParsingErrors),
                                  codeOf(StyleConvertError::FatalConversionErrors)}),
      m_commands(QeStyleSeries(), m_log)
{
    ResetRun();
}

CMidiToQeStyConverter::~CMidiToQeStyConverter() = default;

int CMidiToQeStyConverter::ReportError(char* buffer, size_t size, int code)
{
    if (code < 100) return CMidiFileEx::ReportError(buffer, size, code);
    if (buffer && size) buffer[0] = '\0';
    return int(FormatStyleConvertError(code, buffer, size));
}

// ---- Run -------------------------------------------------------------------

int CMidiToQeStyConverter::Convert(const uint8_t* image, uint32_t length, std::ostream* log)
{
    std::vector<uint8_t> file;
    return ConvertAndLog(image, length, log, file, true);
}

int CMidiToQeStyConverter::ConvertToImage(const uint8_t* image, uint32_t length, std::ostream* log,
                                          std::vector<uint8_t>& file)
{
    return ConvertAndLog(image, length, log, file, false);
}

// The file is saved before the log ends, so that the log's counts hold a
// failed save too; a run that stopped on an error of its own counts it.
int CMidiToQeStyConverter::ConvertAndLog(const uint8_t* image, uint32_t length, std::ostream* log,
                                         std::vector<uint8_t>& file, bool save)
{
    file.clear();
    OpenLog(log);
    int rc;
    try {
        rc = Run(image, length, file);
    } catch (const std::bad_alloc&) {
        rc = codeOf(StyleConvertError::CannotAllocateRam);
    }
    if (rc == 0 && save && (m_outputFile.empty() || writeFileAtomically(m_outputFile, file) != FileIoError::None))
        rc = codeOf(StyleConvertError::CannotSaveStyle);
    if (rc) file.clear();
    if (StopsOnUncountedError(rc)) ++m_commands.State().errors;
    CloseLog(ErrorCount(), WarningCount());
    Reset();
    return rc;
}

void CMidiToQeStyConverter::Reset()
{
    std::vector<PatternBucket>().swap(m_buckets);
    for (auto& list : m_bucketsOfTrack)
        std::vector<size_t>().swap(list);
    m_bufferSink.reset();
    m_style = ByteWriter();
    m_body.reset();
    m_image = nullptr;
    m_imageSize = 0;
}

void CMidiToQeStyConverter::ResetRun()
{
    Reset();
    LoadSettingsTables();
    m_pass = kPassCollect;
    m_allocationEstimate = 0;
    m_noteOns = m_noteOffs = 0;
    m_highestEndMeasure = -1;
    m_chunkLastMeasure = -1;
    m_chunkLastNoteMeasure = -1;
    m_chunkEndMeasure = -1;
    m_chunkSawEnd = false;
    for (auto& cvs : m_cvUsed)
        cvs.fill(false);
    for (auto& tracks : m_setup)
        for (auto& values : tracks)
            values = {0, 0, 100, 0};
    for (auto& tracks : m_setupFound)
        for (auto& flags : tracks)
            flags.fill(false);
    for (int t = 0; t < kTracks; ++t)
        m_lastSetup[size_t(t)] = kInitialLastSetup[t < 2 ? 0 : 1];
    m_trackElement.fill(-1);
    m_elementEnteredAt.fill(-1);
    m_lookupMeasure.fill(-1);
    m_timeSignature.fill(kDefaultTimeSignature);
    m_elementMask = 0;
    m_patternCount = 0;
    m_hasSts = false;
    m_stsName.clear();
    m_stsData.clear();
}

// The command state starts from the settings: with user-defined key-chord
// determination every CV takes its key and chord from the key-chord table,
// with user-defined chord determination every element its chord table. A
// damaged table is replaced by the default one.
void CMidiToQeStyConverter::LoadSettingsTables()
{
    const StyleCommandSettings commandSettings{m_settings.keyChordDetermination != 0,
                                               m_settings.chordDetermination != 0};
    m_commands.Reset(commandSettings);
    StyleCommandState& state = m_commands.State();
    if (!commandSettings.keyChordFromFile) {
        const std::string_view letters = keyChordLettersValid(m_settings.keyChord)
                                             ? std::string_view(m_settings.keyChord)
                                             : QeStyleConvertSettings::kDefaultKeyChord;
        for (int e = 0; e < kElements; ++e)
            for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv) {
                const size_t slot = size_t(StyleSeriesTraits::CvSlotOf(e, cv));
                state.cvChord[size_t(e)][size_t(cv)] =
                    (letters[2 * slot] - 'A') * kChords + (letters[2 * slot + 1] - 'A');
            }
    }
    if (!commandSettings.chordTableFromFile) {
        const std::string_view letters = chordTableLettersValid(m_settings.chordTable)
                                             ? std::string_view(m_settings.chordTable)
                                             : QeStyleConvertSettings::kDefaultChordTable;
        for (int e = 0; e < kElements; ++e)
            for (int c = 0; c < kChords; ++c)
                state.chordTable[size_t(e)][size_t(c)] = letters[size_t(e * kChords + c)] - 'A';
    }
}

int CMidiToQeStyConverter::Run(const uint8_t* image, uint32_t length, std::vector<uint8_t>& file)
{
    ResetRun();
    m_image = image;
    m_imageSize = image ? length : 0;

    m_pass = kPassCollect;
    int rc = ParseMemory(m_image, m_imageSize);
    if (rc) return rc;
    FinishTrackChunk();
    FillSilentTracks();
    FinishOpenCvs();

    if ((rc = BetweenPasses())) return rc;
    if ((rc = BuildStyle())) return rc;
    if (ErrorCount() != 0) return codeOf(StyleConvertError::FatalConversionErrors);
    return FinishContainer(file);
}

// The CV started last ends at the highest measure in which a track chunk
// ended; a CV that no later command closed ends there too.
void CMidiToQeStyConverter::FinishOpenCvs()
{
    if (m_highestEndMeasure < 0) return;
    m_commands.FinishLastCv(m_highestEndMeasure);
    StyleCommandState& state = m_commands.State();
    for (int e = 0; e < kElements; ++e)
        for (int cv = 0; cv < kCvs; ++cv)
            for (int t = 0; t < kTracks; ++t) {
                int& last = state.lastMeasure[size_t(e)][size_t(cv)][size_t(t)];
                if (state.firstMeasure[size_t(e)][size_t(cv)][size_t(t)] >= 0 && last < 0)
                    last = m_highestEndMeasure;
            }
}

int CMidiToQeStyConverter::BetweenPasses()
{
    const StyleCommandState& state = m_commands.State();
    if (state.errors != 0) return codeOf(StyleConvertError::FatalParsingErrors);
    m_log.BetweenPasses();

    m_elementMask = 0;
    for (int e = 0; e < kElements; ++e)
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv)
            if (m_cvUsed[size_t(e)][size_t(cv)]) m_elementMask = uint16_t(m_elementMask | (1u << e));
    if (m_elementMask == 0) return codeOf(StyleConvertError::NoElementWithNotes);
    if (std::none_of(state.elementFound.begin(), state.elementFound.end(), [](bool f) { return f; }))
        return codeOf(StyleConvertError::NoElementFound);

    m_patternCount = 0;
    for (int e = 0; e < kElements; ++e) {
        if (!(m_elementMask & (1u << e))) continue;
        // Only an element that an Element command started has a chunk of its own.
        if (!state.elementFound[size_t(e)]) {
            m_elementMask = uint16_t(m_elementMask & ~(1u << e));
            continue;
        }
        m_timeSignature[size_t(e)] = TimeSignatureByte(state.elementStartMeasure[size_t(e)]);
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv)
            for (int t = 0; t < kTracks; ++t)
                if (state.noteCount[size_t(e)][size_t(cv)][size_t(t)] > 0) ++m_patternCount;
    }
    if (m_patternCount == 0) return codeOf(StyleConvertError::NoPatterns);
    return 0;
}

// ---- Pass 1 and 2 callbacks --------------------------------------------------

int CMidiToQeStyConverter::BeforeHeader()
{
    // Time codes (SMPTE divisions) are refused by the header callback like
    // any other division the style world cannot map.
    return (m_division & 0x8000) ? 0 : CMidiFileEx::BeforeHeader();
}

void CMidiToQeStyConverter::LogStart()
{
    m_log.StartQe();
}

int CMidiToQeStyConverter::OnTrackStart()
{
    if (m_pass != kPassCollect) return 0;
    FinishTrackChunk();
    m_chunkLastMeasure = -1;
    m_chunkLastNoteMeasure = -1;
    m_chunkEndMeasure = -1;
    m_chunkSawEnd = false;
    m_lookupMeasure.fill(-1);
    m_log.TrackBanner(GetTrackIndex());
    return 0;
}

int CMidiToQeStyConverter::BeforeEvent()
{
    const int rc = CMidiFileEx::BeforeEvent();
    if (rc == 0 && m_pass == kPassCollect)
        m_chunkLastMeasure = std::max(m_chunkLastMeasure, int(GetLastMeasure()));
    return rc;
}

int CMidiToQeStyConverter::OnChannelEvent()
{
    // The first track chunk is the conductor track: its channel events do not count.
    if (GetTrackIndex() == 0) return 0;
    if (m_pass == kPassPattern) {
        CollectPatternEvent();
        return 0;
    }

    const int channel = m_status & 0x0F;
    const int track = TrackOfChannel(channel);
    if (track < 0) {
        m_log.At(Position(), "Error: Cannot convert MIDI channel: %d to arr track.\n", channel + 1);
        return codeOf(StyleConvertError::CannotConvertChannel);
    }
    const uint8_t kind = m_status & 0xF0;
    const bool noteOn = kind == 0x90 && m_eventData[1] > 0;
    if (noteOn)
        ++m_noteOns;
    else if (kind == 0x80 || kind == 0x90)
        ++m_noteOffs;
    int element = 0, cv = 0;
    int rc = EnterElementCv(track, element, cv);
    if (rc) return rc;

    if (kind == 0xB0) {
        switch (m_eventData[0]) {
        case 0:
            return CollectSetupEvent(element, cv, track, Setup::HBank, m_eventData[1]);
        case 32:
            return CollectSetupEvent(element, cv, track, Setup::LBank, m_eventData[1]);
        case 11:
            return CollectSetupEvent(element, cv, track, Setup::Expr, m_eventData[1]);
        default:
            return 0;
        }
    }
    if (kind == 0xC0) return CollectSetupEvent(element, cv, track, Setup::Prog, m_eventData[0]);
    if (noteOn) return CountNote(element, cv, track);
    return 0;
}

int CMidiToQeStyConverter::OnSysEx()
{
    if (m_pass == kPassPattern) {
        // Only a VexSound event (9 data bytes) can belong to a pattern.
        if (GetTrackIndex() == 0 || GetEventBytes() != 9) return 0;
        uint8_t data[9];
        if (const int rc = ReadBytes(data, 9)) return rc;
        if (isVexSound(data)) CollectPatternVexSound(data);
        return 0;
    }
    std::vector<uint8_t> data(GetEventBytes());
    if (!data.empty())
        if (const int rc = ReadBytes(data.data(), uint32_t(data.size()))) return rc;
    if (isVexSound(data)) return GetTrackIndex() == 0 ? 0 : CollectVexSound(data);
    CollectStsBlock(data);
    return 0;
}

int CMidiToQeStyConverter::OnMetaText()
{
    // Text commands: the first track chunk, pass 1 only.
    if (m_pass != kPassCollect || GetTrackIndex() != 0) return 0;
    std::vector<uint8_t> text(GetEventBytes());
    if (!text.empty())
        if (const int rc = ReadBytes(text.data(), uint32_t(text.size()))) return rc;
    return m_commands.Dispatch(Position(), m_status, std::span<const uint8_t>(text));
}

int CMidiToQeStyConverter::OnMetaEndOfTrack()
{
    if (m_pass != kPassCollect) return 0;
    m_log.EndOfTrack(Position());
    // A track that ends on a bar line ends in the bar before it.
    const int measure = int(GetLastMeasure());
    m_chunkEndMeasure = (measure > 0 && GetLastBeat() == 0 && GetLastTick() == 0) ? measure - 1 : measure;
    m_chunkSawEnd = true;
    FinishTrackChunk();
    return 0;
}

// Time signatures: denominators 1 to 16 only; a change must fall on a
// measure start.
int CMidiToQeStyConverter::BeforeTimeSignature()
{
    const uint8_t numerator = m_eventData[1];
    const uint8_t power = m_eventData[2];
    if (power > 4) {
        if (m_pass == kPassCollect)
            m_log.At(PositionOf(m_trackTime),
                     "Error: Tact Denominator is not supported by DASK wq-series styles\n");
        return codeOf(StyleConvertError::DenominatorNotSupported);
    }
    if (numerator == 0) return kInvalidDenominator;
    m_pendingNumerator = numerator;
    m_pendingDenominator = uint8_t(1u << power);
    if (numerator != m_numerator || m_pendingDenominator != m_denominator)
        return ApplyTimeSignature(m_trackTime);
    return 0;
}

int CMidiToQeStyConverter::ApplyTimeSignature(uint32_t t)
{
    const int rc = CMidiFileEx::ApplyTimeSignature(t);
    if (rc == kTimeSigWrongPlace && m_pass == kPassCollect)
        m_log.TimeSigWrongPlace(PositionOf(t), m_eventData[1], 1ul << m_eventData[2], m_eventData[3],
                                m_eventData[4]);
    return rc;
}

// ---- Pass 1 ----------------------------------------------------------------

// The element and CV of the current event's measure on `track`: the first
// element x CV whose measures, for this track or a later one, hold it; in
// measure 0 (the header bar) VAR1 CV1. Leaving an element on a track hands it
// the track's last setup values it did not set itself.
int CMidiToQeStyConverter::EnterElementCv(int track, int& element, int& cv)
{
    const int measure = int(GetLastMeasure());
    if (!FindElementCv(track, measure, element, cv)) {
        // The element the commands stand at, as the log of the Wq series shows it.
        m_log.At(Position(), "Error: Wrong style element number found: %d\n",
                 m_commands.State().currentElement);
        return codeOf(StyleConvertError::InternalMapper);
    }
    m_allocationEstimate += 8;
    int& enteredAt = m_elementEnteredAt[size_t(element)];
    if (enteredAt < 0 || measure < enteredAt) enteredAt = measure;
    if (m_trackElement[size_t(track)] != element) {
        LeaveElement(track);
        m_trackElement[size_t(track)] = element;
    }
    return 0;
}

bool CMidiToQeStyConverter::FindElementCv(int track, int measure, int& element, int& cv)
{
    if (measure == 0) {
        element = cv = 0;
        return true;
    }
    // Events of one measure share their answer (the CV measures do not
    // change while the later track chunks are read).
    if (m_lookupMeasure[size_t(track)] == measure) {
        element = m_lookupElement[size_t(track)];
        cv = m_lookupCv[size_t(track)];
        return element >= 0;
    }
    const StyleCommandState& state = m_commands.State();
    element = cv = -1;
    for (int e = 0; e < kElements && element < 0; ++e)
        for (int c = 0; c < StyleSeriesTraits::CvCountOf(e) && element < 0; ++c)
            for (int t = track; t < kTracks; ++t) {
                const int first = state.firstMeasure[size_t(e)][size_t(c)][size_t(t)];
                const int last = state.lastMeasure[size_t(e)][size_t(c)][size_t(t)];
                // The CV started last is open until the file's end is known.
                if (first >= 0 && first <= measure && (last < 0 || measure <= last)) {
                    element = e;
                    cv = c;
                    break;
                }
            }
    m_lookupMeasure[size_t(track)] = measure;
    m_lookupElement[size_t(track)] = element;
    m_lookupCv[size_t(track)] = cv;
    return element >= 0;
}

void CMidiToQeStyConverter::LeaveElement(int track)
{
    const int e = m_trackElement[size_t(track)];
    if (e < 0) return;
    m_trackElement[size_t(track)] = -1;
    for (int v = 0; v < kSetupValues; ++v)
        if (!m_setupFound[size_t(e)][size_t(track)][size_t(v)])
            PropagateSetup(e, track, v, m_lastSetup[size_t(track)][size_t(v)]);
}

// An element track without a setup value of its own takes `value`.
void CMidiToQeStyConverter::PropagateSetup(int element, int track, int which, int value)
{
    m_setup[size_t(element)][size_t(track)][size_t(which)] = value;
    m_setupFound[size_t(element)][size_t(track)][size_t(which)] = true;
    ++m_commands.State().warnings;
    m_log.Printf("Warning: %s not found for %s %s. Propagated from last found value: %d\n",
                 kSetupNames[size_t(which)], ElementName(element), TrackName(track), value);
}

// At the end of pass 1 the tracks that no event took into an element get
// their setup values too: walking the elements in the order the file plays
// them, each such track takes the last value it had before the element.
void CMidiToQeStyConverter::FillSilentTracks()
{
    std::vector<int> order;
    for (int e = 0; e < kElements; ++e)
        if (m_elementEnteredAt[size_t(e)] >= 0) order.push_back(e);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return m_elementEnteredAt[size_t(a)] < m_elementEnteredAt[size_t(b)];
    });
    for (int t = 0; t < kTracks; ++t) {
        std::array<int, kSetupValues> last = kInitialLastSetup[t < 2 ? 0 : 1];
        for (const int e : order)
            for (int v = 0; v < kSetupValues; ++v) {
                if (m_setupFound[size_t(e)][size_t(t)][size_t(v)])
                    last[size_t(v)] = m_setup[size_t(e)][size_t(t)][size_t(v)];
                else
                    PropagateSetup(e, t, v, last[size_t(v)]);
            }
    }
}

// The end of a track chunk (its end of track, the next chunk's start or the
// end of the file): the tracks leave their elements, and the chunk's last
// measure may extend the file.
void CMidiToQeStyConverter::FinishTrackChunk()
{
    if (m_pass != kPassCollect) return;
    for (int t = 0; t < kTracks; ++t)
        LeaveElement(t);
    // A note that starts on the closing bar line still belongs to the file.
    const int end = m_chunkSawEnd ? std::max(m_chunkEndMeasure, m_chunkLastNoteMeasure) : m_chunkLastMeasure;
    m_highestEndMeasure = std::max(m_highestEndMeasure, end);
}

bool CMidiToQeStyConverter::IsSetupBar(int element, int cv) const
{
    const int measure = int(GetLastMeasure());
    return measure == 0 || (cv == 0 && measure == m_commands.State().elementStartMeasure[size_t(element)]);
}

// Bank select MSB and LSB, expression and program of an element track: taken
// once per element, at the first tick of the header bar or of the element's
// setup bar (its first measure while its first CV is current).
int CMidiToQeStyConverter::CollectSetupEvent(int element, int cv, int track, Setup which, int value)
{
    if (!IsSetupBar(element, cv)) return 0;
    StyleCommandState& state = m_commands.State();
    const StyleEventPosition pos = Position();
    const size_t e = size_t(element), t = size_t(track), v = size_t(which);
    const char* name = kSetupEventNames[v];
    if (!pos.IsBarStart()) {
        ++state.warnings;
        m_log.At(pos, "Warning: %s event found out of zero tick of HEADER or SETUP bar! --- IGNORED\n", name);
        return 0;
    }
    const char* en = ElementName(element);
    const char* tn = TrackName(track);
    if (m_setupFound[e][t][v]) {
        ++state.warnings;
        // Only the expression's line names the element and the track.
        if (which == Setup::Expr)
            m_log.At(pos, "Warning: EXPR event already found for %s, %s! --- IGNORED\n", en, tn);
        else
            m_log.At(pos, "Warning: %s event already found for current Style Element! --- IGNORED\n", name);
        return 0;
    }
    m_setup[e][t][v] = value;
    m_setupFound[e][t][v] = true;
    m_lastSetup[t][v] = value;
    m_log.At(pos, "%s found for %s, %s is: %d\n", name, en, tn, value);
    return 0;
}

// A note on (or VexSound on): an error in the header bar, else it marks its
// element x CV x track as holding notes.
int CMidiToQeStyConverter::CountNote(int element, int cv, int track)
{
    StyleCommandState& state = m_commands.State();
    const int measure = int(GetLastMeasure());
    if (measure == 0) {
        ++state.errors;
        m_log.At(Position(), "Error: Note events not allowed inside first bar of MIDI file!\n");
        return 0;
    }
    if (element < 0 || cv < 0 || track < 0) {
        m_log.Printf("Error: Wrong style data found. CV:%d, SE:%d, TR:%d\n", cv, element, track);
        return codeOf(StyleConvertError::InternalMapper);
    }
    ++state.noteCount[size_t(element)][size_t(cv)][size_t(track)];
    m_cvUsed[size_t(element)][size_t(cv)] = true;
    m_chunkLastNoteMeasure = std::max(m_chunkLastNoteMeasure, measure);
    return 0;
}

int CMidiToQeStyConverter::CollectVexSound(std::span<const uint8_t> data)
{
    const int channel = data[5];
    const int track = channel < 16 ? TrackOfChannel(channel) : -1;
    if (track < 0) {
        m_log.At(Position(), "Error: Cannot convert VexSound event MIDI channel: %d to arr track.\n",
                 channel + 1);
        return codeOf(StyleConvertError::CannotConvertChannel);
    }
    m_commands.State().extendedStyle = true;
    int element = 0, cv = 0;
    if (const int rc = EnterElementCv(track, element, cv)) return rc;
    return data[4] == 1 ? CountNote(element, cv, track) : 0;
}

// A "DASKQESTS " block: the signature, an 18-character name and a resource
// to store beside the style (the first such block counts).
void CMidiToQeStyConverter::CollectStsBlock(std::span<const uint8_t> data)
{
    if (m_hasSts || data.size() <= kStsHeadLength) return;
    std::vector<uint8_t> block = UnpackQe7BitBlock(data);
    if (block.size() <= kStsHeadLength) return;
    if (!std::equal(kStsSignature.begin(), kStsSignature.end(), block.begin())) return;
    m_hasSts = true;
    m_stsName.assign(block.begin() + long(kStsSignature.size()), block.begin() + long(kStsHeadLength));
    m_stsData.assign(block.begin() + long(kStsHeadLength), block.end());
}

// ---- Pass 2 ----------------------------------------------------------------

// Pass 2 reads the file once more and hands every channel event of the
// channel tracks to each pattern whose track and measures hold it, so each
// pattern gets what a reading of the file for that pattern alone would give
// it; the patterns are then finished one by one in element, CV, track order.
int CMidiToQeStyConverter::CollectPatterns()
{
    const StyleCommandState& state = m_commands.State();
    m_buckets.clear();
    m_buckets.reserve(size_t(m_patternCount));
    for (auto& list : m_bucketsOfTrack)
        list.clear();
    for (int e = 0; e < kElements; ++e) {
        if (!(m_elementMask & (1u << e))) continue;
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv)
            for (int t = 0; t < kTracks; ++t) {
                const size_t ie = size_t(e), ic = size_t(cv), it = size_t(t);
                if (state.noteCount[ie][ic][it] <= 0) continue;
                PatternBucket& bucket = m_buckets.emplace_back();
                const int first = state.firstMeasure[ie][ic][it];
                const int last = std::max(first, state.lastMeasure[ie][ic][it]);
                bucket.place = {e,
                                cv,
                                t,
                                first,
                                last,
                                GetMeasureStartTick(uint32_t(first)),
                                GetMeasureStartTick(uint32_t(last) + 1)};
                bucket.tooLong = last - first >= kMaxCvMeasures;
                if (!bucket.tooLong) m_bucketsOfTrack[it].push_back(m_buckets.size() - 1);
            }
    }

    m_bufferSink = std::make_unique<BufferSink>();
    m_patternLog.SetSink(m_log.IsOpen() ? m_bufferSink.get() : nullptr);
    m_pass = kPassPattern;
    const int rc = ParseMemory(m_image, m_imageSize);
    m_pass = kPassCollect;
    m_patternLog.SetSink(nullptr);
    return rc;
}

void CMidiToQeStyConverter::CollectPatternEvent()
{
    const int channel = m_status & 0x0F;
    const int track = TrackOfChannel(channel);
    if (track < 0) return;
    const uint8_t kind = m_status & 0xF0;
    // Pattern streams hold 7-bit data; a file's data byte may have bit 7 set.
    const uint8_t d1 = m_eventData[0] & 0x7F, d2 = m_eventData[1] & 0x7F;
    uint8_t record;
    if (kind == 0x90 && d2 > 0)
        record = kNoteOn;
    else if (kind == 0x80 || kind == 0x90)
        record = kNoteOff;
    else if (kind == 0xB0 && isPatternController(d1))
        record = kControl;
    else if (kind == 0xE0)
        record = kPitchWheel;
    else
        return; // other controllers, key and channel pressure and program changes are not pattern data

    const int measure = int(GetLastMeasure());
    for (size_t index : m_bucketsOfTrack[size_t(track)]) {
        PatternBucket& bucket = m_buckets[index];
        if (bucket.failure || measure < bucket.place.firstMeasure || measure > bucket.place.lastMeasure)
            continue;
        AddPatternEvent(bucket, record, d1, d2, channel);
    }
}

void CMidiToQeStyConverter::CollectPatternVexSound(std::span<const uint8_t> data)
{
    const int channel = data[5];
    const int track = channel < 16 ? TrackOfChannel(channel) : -1;
    if (track < 0) return;
    const int measure = int(GetLastMeasure());
    for (size_t index : m_bucketsOfTrack[size_t(track)]) {
        PatternBucket& bucket = m_buckets[index];
        if (bucket.failure || measure < bucket.place.firstMeasure || measure > bucket.place.lastMeasure)
            continue;
        switch (data[4]) {
        case 1:
            AddPatternEvent(bucket, kVexSoundOn, data[6] & 0x7F, data[7] & 0x7F, channel);
            break;
        case 0:
            AddPatternEvent(bucket, kVexSoundOff, data[6] & 0x7F, data[7] & 0x7F, channel);
            break;
        default:
            bucket.failure = codeOf(StyleConvertError::WrongVexSound);
            break;
        }
    }
}

// One event of a pattern: note ons wait for their note off (the oldest open
// note of the key is closed first); a note off without an open note is dropped.
void CMidiToQeStyConverter::AddPatternEvent(PatternBucket& bucket, uint8_t kind, uint8_t d1, uint8_t d2,
                                            int channel)
{
    m_bufferSink->target = &bucket.log;
    if (!CheckBarTime(bucket, kind)) return;
    const bool logging = m_patternLog.IsOpen();
    const StyleEventPosition pos = Position();
    switch (kind) {
    case kNoteOn:
        bucket.pending[d1].push_back(uint32_t(bucket.records.size()));
        bucket.records.push_back({m_trackTime, kNoteOn, d1, d2});
        if (logging) m_patternLog.NoteOn(pos, GetNoteOctaveText(d1, 0), d2, channel + 1);
        break;
    case kNoteOff: {
        auto& open = bucket.pending[d1];
        uint32_t& head = bucket.pendingHead[d1];
        if (head == open.size()) {
            ++bucket.warnings;
            if (logging)
                m_patternLog.At(
                    pos,
                    "Warning: Found NoteOFF (Key= %-4s, Vol= %03d) without corresponding NoteON. Discarded\n",
                    GetNoteOctaveText(d1, 0).c_str(), d2);
            break;
        }
        ++head;
        bucket.records.push_back({m_trackTime, kNoteOff, d1, d2});
        break;
    }
    case kControl:
        bucket.records.push_back({m_trackTime, kControl, d1, d2});
        m_patternLog.Controller(pos, unsigned(channel + 1), d1, d2);
        break;
    case kPitchWheel:
        bucket.records.push_back({m_trackTime, kPitchWheel, d1, d2});
        m_patternLog.PitchWheel(pos, unsigned(channel + 1), d1, d2);
        break;
    default: { // VexSound on and off
        bucket.records.push_back({m_trackTime, kind, d1, d2});
        if (!logging) break;
        const std::string key = GetNoteOctaveText(d1, 0);
        if (kind == kVexSoundOn)
            m_patternLog.At(pos, "VEX ON   Event (Key= %-4s, Vol= %03d) found at channel: %d\n", key.c_str(),
                            d2, channel + 1);
        else
            m_patternLog.At(pos, "VEX OFF  Event (Key= %-4s, Vol= %03d) found at channel: %d\n", key.c_str(),
                            d2, channel + 1);
        break;
    }
    }
}

// An event before the start of its pattern cannot be placed in it; the
// pattern fails with 104.
bool CMidiToQeStyConverter::CheckBarTime(PatternBucket& bucket, uint8_t kind)
{
    if (m_trackTime >= bucket.place.startTick) return true;
    bucket.failure = codeOf(StyleConvertError::InternalMapper);
    const char* name = kind == kNoteOn       ? "Note ON"
                       : kind == kNoteOff    ? "Note OFF"
                       : kind == kControl    ? "Control"
                       : kind == kPitchWheel ? "Pitch Wheel"
                                             : "VexSound";
    m_patternLog.At(Position(), "Error: %s Event total time (%lu), less then current bar time (%lu)\n", name,
                    (unsigned long)m_trackTime, (unsigned long)bucket.place.startTick);
    return false;
}

// A pattern's turn: its log lines and warnings, its failure if any, the notes
// still open at its end, then its chunk.
int CMidiToQeStyConverter::EmitPattern(PatternBucket& bucket)
{
    StyleCommandState& state = m_commands.State();
    const PatternPlace& place = bucket.place;
    const char* en = ElementName(place.element);
    const char* tn = TrackName(place.track);
    const std::string cvName = GetQeChordVariationName(place.cv);
    m_log.Printf("\nConverting %s, %s, %s\n\n", en, cvName.c_str(), tn);
    if (bucket.tooLong) {
        m_log.Printf("\nERROR: CV length exceeded max number of measures! CvLen: %d -  %s, %s, %s\n\n",
                     place.lastMeasure - place.firstMeasure + 1, en, cvName.c_str(), tn);
        return codeOf(StyleConvertError::CvBarNumberTooHigh);
    }
    m_log.Printf("%s", bucket.log.c_str());
    std::string().swap(bucket.log);
    state.warnings += bucket.warnings;
    if (bucket.failure) return bucket.failure;

    // A note still sounding at the end of its CV ends there.
    for (int key = 0; key < 128; ++key) {
        const auto& open = bucket.pending[size_t(key)];
        for (size_t i = bucket.pendingHead[size_t(key)]; i < open.size(); ++i) {
            const uint8_t velocity = bucket.records[open[i]].data2;
            ++state.warnings;
            m_log.Printf(
                "Warning: NoteON (Key= %-4s, Vol= %03d) without NoteOFF in %s_%s_%s. Closed at pattern end\n",
                GetNoteOctaveText(key, 0).c_str(), velocity, en, cvName.c_str(), tn);
            bucket.records.push_back({place.endTick, kNoteOff, uint8_t(key), kNoteOffVelocity});
        }
    }

    if (bucket.records.empty()) {
        m_log.Printf("Error: %s_%s_%s - Found no events in pattern!\n", en, cvName.c_str(), tn);
        return codeOf(StyleConvertError::NoEventsInTrack);
    }
    // Track chunks that share a channel interleave by time.
    std::stable_sort(bucket.records.begin(), bucket.records.end(),
                     [](const PatternRecord& a, const PatternRecord& b) { return a.tick < b.tick; });
    const int rc = WritePattern(bucket);
    std::vector<PatternRecord>().swap(bucket.records);
    return rc;
}

// Pattern chunk: length, event data size, events (delta, kind, two data
// bytes, the second with bit 7 set), the delta to the end, the end mark; the
// chord and key of the track follow for BASS and ACC1-ACC5.
int CMidiToQeStyConverter::WritePattern(const PatternBucket& bucket)
{
    const PatternPlace& place = bucket.place;
    const uint8_t type = patternTypeOf(place.track);
    const uint32_t length = ScaleTicks(place.endTick - place.startTick);
    if (!m_body->OpenPattern(uint8_t(type + 2), length))
        return codeOf(StyleConvertError::NotEnoughStyleSpace);
    uint32_t previous = 0;
    for (const PatternRecord& record : bucket.records) {
        const uint32_t position = ScaleTicks(record.tick - place.startTick);
        const uint8_t event[] = {record.kind, uint8_t(record.data1 & 0x7F), uint8_t(record.data2 | 0x80)};
        if (const int rc = CodeOf(m_body->Event(position - previous, event))) return rc;
        previous = position;
    }
    if (const int rc = CodeOf(m_body->EndOfTrack(length > previous ? length - previous : 0))) return rc;

    const StyleCommandState& state = m_commands.State();
    const size_t e = size_t(place.element), cv = size_t(place.cv), t = size_t(place.track);
    const int code = state.cvChord[e][cv];
    const int key = state.trackKey[e][cv][t] >= 0 ? state.trackKey[e][cv][t] : code / kChords;
    const int chord = state.trackChord[e][cv][t] >= 0 ? state.trackChord[e][cv][t] : code % kChords;
    return m_body->ClosePattern(uint8_t(chord), uint8_t(key))
               ? 0
               : codeOf(StyleConvertError::NotEnoughStyleSpace);
}

// ---- The style buffer ------------------------------------------------------

int CMidiToQeStyConverter::BuildStyle()
{
    const StyleCommandState& state = m_commands.State();
    const bool extended = state.extendedStyle;
    // The estimate (8 bytes per channel event, 20 per pattern and a fixed
    // part) leaves too little for styles of many sparse patterns; the room
    // added covers every pattern, CV and element chunk and the note offs that
    // close notes still sounding at the end of a pattern.
    int cvCount = 0, elementCount = 0;
    for (int e = 0; e < kElements; ++e) {
        if (!(m_elementMask & (1u << e))) continue;
        ++elementCount;
        cvCount += int(std::count(m_cvUsed[size_t(e)].begin(), m_cvUsed[size_t(e)].end(), true));
    }
    const uint64_t unpairedNotes = m_noteOns > m_noteOffs ? m_noteOns - m_noteOffs : 0;
    const uint64_t room = uint64_t(m_patternCount) * 18 + uint64_t(cvCount) * 25 +
                          uint64_t(elementCount) * 98 + unpairedNotes * 8;
    const uint64_t size =
        m_allocationEstimate + 136 + (extended ? 1 : 0) + uint64_t(m_patternCount) * 20 + 6724 + room;
    m_log.Printf("Allocated %lu bytes for style buffer\n", (unsigned long)size);
    if (size > uint64_t(std::numeric_limits<int32_t>::max()))
        return codeOf(StyleConvertError::CannotAllocateStyleBuffer);
    m_style = ByteWriter(size_t(size));

    // 1. Container head, root info and the index entry of the style.
    std::string name = m_commands.StyleNameForModel('F');
    name.resize(kStyleNameLength, '\0');
    std::string indexName = name;
    MakeValidFileName(indexName);
    const size_t top = OpenChunk(0x01, 0x00, 0x01, 0x14);
    static constexpr uint8_t kRoot[] = {0x02, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x0C, 0x0B, 0x00,
                                        0x00, 0x00, 0x00, 0x00, 0x00, 'D',  'A',  'S',  'F',  0x00};
    m_style.bytes(kRoot, sizeof kRoot);
    static constexpr uint8_t kIndexHead[] = {0x05, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00, 0x18};
    m_style.bytes(kIndexHead, sizeof kIndexHead);
    m_style.text(indexName);
    static constexpr uint8_t kIndexTail[] = {0x02, kStsIndexUser1, 0x00, 0x00, 0x00, 0x00};
    m_style.bytes(kIndexTail, sizeof kIndexTail);

    // 2. Resource chunk and style chunk (version 1 for an extended style).
    const size_t resource = OpenChunk(0x06, 0x00, 0x00, 0x10);
    const size_t style = OpenChunk(0x01, extended ? 0x01 : 0x00, 0x00, kContainerChunk);

    // 3. Header record: name, track modes, tension bits, element mask; the
    //    extended form adds one more byte.
    const size_t header = OpenChunk(0x01, 0x00, extended ? 0x01 : 0x00, kLeafChunk);
    m_style.u8(uint8_t(kStyleNameLength));
    m_style.text(name);
    uint16_t modes = 0;
    uint8_t tension = 0;
    for (int t = 0; t < kTracks; ++t) {
        modes = uint16_t(modes | ((state.rflag[size_t(t)] & 3) << (2 * t)));
        if (state.tension[size_t(t)]) tension = uint8_t(tension | (1u << t));
    }
    m_style.u16be(modes);
    m_style.u8(tension);
    m_style.u16be(m_elementMask);
    if (extended) m_style.u8(1);
    CloseChunk(header);
    if (m_style.failed() || size - m_style.size() < sizeof kDirectory)
        return codeOf(StyleConvertError::NotEnoughStyleSpace);

    // 4. and 5. The pattern container and the elements, in the room that the
    //    directory leaves.
    m_body = std::make_unique<CQeStyleChunkWriter>(size_t(size) - m_style.size() - sizeof kDirectory);
    if (const int rc = WritePatterns()) return rc;
    for (int e = 0; e < kElements; ++e) {
        if (!(m_elementMask & (1u << e))) continue;
        if (const int rc = WriteElement(e)) return rc;
    }
    if (m_body->Failed()) return codeOf(StyleConvertError::NotEnoughStyleSpace);
    m_style.bytes(m_body->Data());
    m_body.reset();
    CloseChunk(style);
    CloseChunk(resource);

    // 6. Directory.
    m_style.bytes(kDirectory, sizeof kDirectory);
    CloseChunk(top);
    return CheckRoom();
}

// Pattern container: the pattern numbers 1 to n, then one pattern per
// element x CV x track with notes, in that order.
int CMidiToQeStyConverter::WritePatterns()
{
    std::vector<uint16_t> uses(static_cast<size_t>(m_patternCount));
    for (size_t i = 0; i < uses.size(); ++i)
        uses[i] = uint16_t(i + 1);
    if (!m_body->OpenContainer(0x02) || !m_body->PatternMap(uint16_t(m_patternCount), uses))
        return codeOf(StyleConvertError::NotEnoughStyleSpace);
    if (const int rc = CollectPatterns()) return rc;
    for (PatternBucket& bucket : m_buckets)
        if (const int rc = EmitPattern(bucket)) return rc;
    std::vector<PatternBucket>().swap(m_buckets);
    return m_body->Close() ? 0 : codeOf(StyleConvertError::NotEnoughStyleSpace);
}

// Element chunk: parameters (CV mask, NTT, time signature, chord table),
// track parameters, and one CV chunk per CV with notes.
int CMidiToQeStyConverter::WriteElement(int element)
{
    const StyleCommandState& state = m_commands.State();
    const size_t e = size_t(element);
    uint8_t cvMask = 0;
    for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(element); ++cv)
        if (m_cvUsed[e][size_t(cv)]) cvMask = uint8_t(cvMask | (1u << cv));
    const uint8_t ntt = element == kIntro1 || element == kEnding1 ? kFixedNtt : uint8_t(state.ntt[e]);
    std::array<uint8_t, kChords> chordAssign{};
    for (int c = 0; c < kChords; ++c)
        chordAssign[size_t(c)] = uint8_t(state.chordTable[e][size_t(c)]);
    std::array<std::array<uint8_t, 6>, kTracks> trackTable{};
    for (int t = 0; t < kTracks; ++t) {
        const auto& setup = m_setup[e][size_t(t)];
        trackTable[size_t(t)] = {
            uint8_t(setup[size_t(Setup::Expr)]),   uint8_t(setup[size_t(Setup::HBank)]),
            uint8_t(setup[size_t(Setup::LBank)]),  uint8_t(setup[size_t(Setup::Prog)]),
            uint8_t(state.rangeLow[e][size_t(t)]), uint8_t(state.rangeHigh[e][size_t(t)])};
    }
    if (!m_body->OpenContainer(0x03) || !m_body->ElementInfo(cvMask, ntt, m_timeSignature[e], chordAssign) ||
        !m_body->TrackTable(trackTable))
        return codeOf(StyleConvertError::NotEnoughStyleSpace);

    for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(element); ++cv) {
        if (!m_cvUsed[e][size_t(cv)]) continue;
        if (const int rc = WriteCv(element, cv)) return rc;
    }
    return m_body->Close() ? 0 : codeOf(StyleConvertError::NotEnoughStyleSpace);
}

// CV chunk: its length, its event stream (a pattern-start control event for
// each track with notes, the end at the CV length) and the (type, track)
// pair of each pattern use.
int CMidiToQeStyConverter::WriteCv(int element, int cv)
{
    const StyleCommandState& state = m_commands.State();
    const size_t e = size_t(element), c = size_t(cv);
    std::vector<QeCvUse> uses;
    for (int t = 0; t < kTracks; ++t)
        if (state.noteCount[e][c][size_t(t)] > 0) uses.push_back({patternTypeOf(t), uint8_t(t)});
    if (uses.size() > size_t(kTracks)) return codeOf(StyleConvertError::TooManyCvs);
    if (uses.empty()) return codeOf(StyleConvertError::InternalMapper);

    const size_t t0 = uses.front().track;
    const int first = state.firstMeasure[e][c][t0];
    const int last = std::max(first, state.lastMeasure[e][c][t0]);
    const uint32_t length =
        ScaleTicks(GetMeasureStartTick(uint32_t(last) + 1) - GetMeasureStartTick(uint32_t(first)));
    return CodeOf(m_body->CvRecord(length, uses));
}

// Ticks of the file in pulses of 384 per quarter note: the whole part, plus
// one when the first decimal is 5 or more.
uint32_t CMidiToQeStyConverter::ScaleTicks(uint64_t ticks) const
{
    const uint64_t tenths = ticks * kPulsesPerQuarter * 10 / m_division;
    return uint32_t(tenths / 10 + (tenths % 10 >= 5 ? 1 : 0));
}

int CMidiToQeStyConverter::CodeOf(CQeStyleChunkWriter::Status status)
{
    switch (status) {
    case CQeStyleChunkWriter::Status::Ok:
        return 0;
    case CQeStyleChunkWriter::Status::DeltaTooLarge:
        return codeOf(StyleConvertError::DeltaOverflow);
    case CQeStyleChunkWriter::Status::NoRoom:
        break;
    }
    return codeOf(StyleConvertError::NotEnoughStyleSpace);
}

size_t CMidiToQeStyConverter::OpenChunk(uint8_t id, uint8_t id1, uint8_t id2, uint8_t flags)
{
    const size_t head = m_style.size();
    m_style.u8(id);
    m_style.u8(id1);
    m_style.u8(id2);
    m_style.u8(flags);
    m_style.u32be(0);
    return head;
}

void CMidiToQeStyConverter::CloseChunk(size_t head)
{
    if (m_style.failed()) return;
    m_style.patchU32be(head + 4, uint32_t(m_style.size() - head - 8));
}

int CMidiToQeStyConverter::CheckRoom() const
{
    return m_style.failed() ? codeOf(StyleConvertError::NotEnoughStyleSpace) : 0;
}

// ---- The container -----------------------------------------------------------

// UlvaRf opens the image as a container, adds the embedded second resource
// and writes the container image.
int CMidiToQeStyConverter::FinishContainer(std::vector<uint8_t>& file)
{
    ContainerHandle container(_ULRFCreateInstance(m_style.data(), uint32_t(m_style.size())));
    m_style = ByteWriter();
    if (!container) return codeOf(StyleConvertError::CannotCreateResource);

    if (m_hasSts) {
        ULRFResInstance* resource = _ULRFCreateResInstance(m_stsData.data(), uint32_t(m_stsData.size()));
        const int index = resource ? _ULRFInsertResource(container.get(), -1, resource) : -1;
        _ULRFDelResInstance(resource);
        if (index >= 0) {
            const std::string name = m_stsName + '\0';
            _ULRFModifyIndex(container.get(), index, name.c_str(), kStsIndexUser1, kStsIndexUser2);
        } else {
            ++m_commands.State().warnings;
            m_log.Printf("Warning: STS block %s is not a valid resource. Not stored\n", m_stsName.c_str());
        }
    }

    const int size = _ULRFOutBufferSize(container.get());
    if (size <= 0) return codeOf(StyleConvertError::CannotAllocateRam);
    file.assign(size_t(size), 0);
    if (!_ULRFFillOutBuffer(container.get(), file.data())) return codeOf(StyleConvertError::CannotSaveStyle);
    return 0;
}

// ---- Positions and names ---------------------------------------------------

StyleEventPosition CMidiToQeStyConverter::PositionOf(uint32_t t)
{
    int32_t measure = 0;
    uint32_t beat = 0, tick = 0;
    if (TickToMbtHinted(t, measure, beat, tick) != 0) return {t, 0, 0, 0};
    return {t, measure, int(beat), int(tick)};
}

const char* CMidiToQeStyConverter::ElementName(int element) const
{
    return m_commands.Traits().elementNames[size_t(element)];
}

const char* CMidiToQeStyConverter::TrackName(int track) const
{
    return m_commands.Traits().trackNames[size_t(track)];
}

int CMidiToQeStyConverter::TrackOfChannel(int channel) const
{
    return m_commands.Traits().TrackOfChannel(channel + 1);
}

// Element time-signature byte: numerator x 8 + the denominator's power of
// two; 4/4 for a numerator or denominator above 16.
uint8_t CMidiToQeStyConverter::TimeSignatureByte(int measure) const
{
    const uint32_t m = measure < 0 ? 0 : uint32_t(measure);
    const int numerator = GetNumeratorAtMeasure(m);
    const int denominator = GetDenominatorAtMeasure(m);
    if (numerator > 16 || denominator > 16) return kDefaultTimeSignature;
    int code;
    switch (denominator) {
    case 1:
        code = 0;
        break;
    case 2:
        code = 1;
        break;
    case 4:
        code = 2;
        break;
    case 8:
        code = 3;
        break;
    case 16:
        code = 4;
        break;
    default:
        code = 2;
        break;
    }
    return uint8_t(numerator * 8 + code);
}

// ---- Entry point -----------------------------------------------------------

MidiToQeStyleResult ConvertMidiToQeStyle(std::span<const uint8_t> midiImage,
                                         const std::filesystem::path& outputFile,
                                         const QeStyleConvertSettings& settings, std::ostream* log)
{
    MidiToQeStyleResult result;
    CMidiToQeStyConverter converter;
    converter.SetOutputFile(outputFile);
    converter.SetSettings(settings);
    if (midiImage.size() > std::numeric_limits<uint32_t>::max()) {
        result.code = CMidiFile::kBadByteCount;
    } else {
        result.code = converter.Convert(midiImage.data(), uint32_t(midiImage.size()), log);
    }
    if (result.code != 0) result.errorText = ReportedErrorText(converter, result.code);
    return result;
}

} // namespace zib
