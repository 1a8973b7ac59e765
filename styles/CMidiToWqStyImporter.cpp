#include "styles/CMidiToWqStyImporter.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <new>

#include "midi/MidiErrorText.h"
#include "styles/StyleConvertError.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

// The importer reports the converter's failures under numbers of its own:
// codes 100-117 stand for these converter codes and carry their texts.
constexpr StyleConvertError kConverterCodes[] = {
    StyleConvertError::ApplicationDefined,        // 100
    StyleConvertError::TimeSigWrongPlace,         // 101
    StyleConvertError::TimeSigOutOfZeroTick,      // 102
    StyleConvertError::CannotAllocateRam,         // 103
    StyleConvertError::InternalMapper,            // 104
    StyleConvertError::WrongFread,                // 105
    StyleConvertError::WrongTrackIndex,           // 106
    StyleConvertError::CannotConvertChannel,      // 107
    StyleConvertError::CannotAllocateStyleBuffer, // 108
    StyleConvertError::StyleBufferOverflow,       // 109
    StyleConvertError::CannotSaveStyle,           // 110
    StyleConvertError::WrongPatternIndex,         // 111
    StyleConvertError::CvBarNumberTooHigh,        // 112
    StyleConvertError::FatalParsingErrors,        // 113
    StyleConvertError::FatalConversionErrors,     // 114
    StyleConvertError::FormatNotSupported,        // 115
    StyleConvertError::DivisionNotSupported,      // 116
    StyleConvertError::DenominatorNotSupported,   // 117
};

constexpr int kFirst = CMidiToWqStyImporter::kApplicationDefined;
constexpr int kLast = kFirst + int(std::size(kConverterCodes)) - 1;
static_assert(kLast == CMidiToWqStyImporter::kDenominatorNotSupported);

} // namespace

CMidiToWqStyImporter::CMidiToWqStyImporter()
    : CMidiToWqStyReader(Codes{kFormatNotSupported, kDivisionNotSupported, kDenominatorNotSupported,
                               kCannotConvertChannel, kFatalParsingErrors, kFatalConversionErrors})
{
    m_channelEventsInFirstChunk = true;
}

CMidiToWqStyImporter::~CMidiToWqStyImporter() = default;

const char* CMidiToWqStyImporter::ErrorText(int code)
{
    if (code < kFirst || code > kLast) return nullptr;
    return StyleConvertErrorText(int(kConverterCodes[code - kFirst]));
}

int CMidiToWqStyImporter::ReportError(char* buffer, size_t size, int code)
{
    if (code < kFirst) return CMidiFileEx::ReportError(buffer, size, code);
    const char* text = ErrorText(code);
    return text ? FormatMidiError(buffer, size, "CMidiFile", code, text) : 0;
}

int CMidiToWqStyImporter::Convert(const uint8_t* image, uint32_t length, int track)
{
    m_events.clear();
    m_trackSizes.fill(0);
    m_noteCount.fill(0);
    m_cvLength = 0;
    BeginRun(m_logStream, m_ignoreSetting);
    int rc = kWrongTrackIndex;
    if (track >= 0 && track < kTracks) {
        try {
            rc = Run(image, length, track);
        } catch (const std::bad_alloc&) { // out of memory is a code, never an exception
            rc = kCannotAllocateRam;
        }
    }
    if (rc != 0) {
        m_events.clear();
        m_trackSizes.fill(0);
        m_cvLength = 0;
    }
    EndRun(rc);
    for (auto& builder : m_builders)
        builder.reset();
    return rc;
}

int CMidiToWqStyImporter::Run(const uint8_t* image, uint32_t length, int chosen)
{
    int rc = RunCollectPass(image, length);
    if (rc) return rc;
    if (ErrorCount()) return kFatalParsingErrors;
    m_log.BetweenPasses();

    // One CV from the first measure to the last measure of the file.
    int last = m_highestMeasure;
    m_cvLength = last + 1;
    for (int t = 0; t < kTracks; ++t)
        if (m_noteCount[size_t(t)] > 0)
            m_builders[size_t(t)] = std::make_unique<CWqPatternBuilder>(
                *this, 0, last, m_headers[size_t(t)], m_ignoreFlags, 10 + t, m_log.IsOpen());
    if ((rc = RunConvertPass(image, length))) return rc;

    uint32_t latest = 0;
    for (int t = 0; t < kTracks; ++t) {
        m_log.Printf("\nConverting %s\n\n", WqStyleSeries().trackNames[size_t(t)]);
        CWqPatternBuilder* builder = m_builders[size_t(t)].get();
        if (!builder) continue;
        ByteWriter out = t == chosen ? ByteWriter(kMaxEventBytes) : ByteWriter();
        CWqPatternBuilder::Result result = builder->Finish(out);
        Absorb(*builder);
        if (result == CWqPatternBuilder::Result::TooManyBars) {
            m_log.Printf("Error: Too high (%d) number of bars per CV\n", builder->FailedBar());
            return kCvBarNumberTooHigh;
        }
        if (result == CWqPatternBuilder::Result::Overflow) return kStyleBufferOverflow;
        m_trackSizes[size_t(t)] = uint32_t(out.size());
        if (t == chosen) m_events = out.take();
        latest = std::max(latest, builder->LatestTick());
    }

    // The last-bar rule of the converter; a one-bar CV keeps its bar.
    if (m_cvLength > 1 && LastBarIsSparse(latest, last)) {
        m_cvLength = last;
        ++m_warnings;
        m_log.Printf("WARNING: Found only few or none events in first 10%% ticks of last bar. Decrementing "
                     "CV length to: %d!!!\n",
                     m_cvLength);
    }
    if (m_cvLength > wq::kMaxCvBars) {
        m_log.Printf("Error: Too high (%d) number of bars per CV\n", m_cvLength - 1);
        return kCvBarNumberTooHigh;
    }
    if (ErrorCount()) return kFatalConversionErrors;
    return 0;
}

// Pass 1: setup values at the file's first tick; every note-on counts.
int CMidiToWqStyImporter::CollectChannelEvent(int track, const StyleEventPosition& pos)
{
    if (pos.IsFileStart()) m_headers[size_t(track)].Capture(m_status, m_eventData[0], m_eventData[1]);
    if ((m_status & 0xF0) == 0x90 && m_eventData[1] > 0) ++m_noteCount[size_t(track)];
    return 0;
}

CWqPatternBuilder* CMidiToWqStyImporter::BuilderFor(int track, int measure)
{
    CWqPatternBuilder* builder = m_builders[size_t(track)].get();
    return builder && builder->Holds(measure) ? builder : nullptr;
}

MidiToWqTrackImport ImportMidiToWqTrack(std::span<const uint8_t> midiImage, uint32_t model, int track,
                                        int ignoreFlags, std::ostream* log)
{
    CMidiToWqStyImporter importer;
    MidiToWqTrackImport result;
    if (midiImage.size() > std::numeric_limits<uint32_t>::max()) {
        result.code = CMidiFile::kBadByteCount;
    } else {
        importer.SetModel(model);
        importer.SetIgnoreFlags(ignoreFlags);
        importer.SetLog(log);
        result.code = importer.Convert(midiImage.data(), uint32_t(midiImage.size()), track);
    }
    if (result.code != 0) {
        result.errorText = ReportedErrorText(importer, result.code);
        return result;
    }
    result.events = importer.GetEvents();
    for (int t = 0; t < CMidiToWqStyReader::kTracks; ++t)
        result.trackSizes[size_t(t)] = importer.GetTrackSize(t);
    result.cvLength = importer.GetCvLength();
    return result;
}

} // namespace zib
