#include "styles/CMidiToStyleReader.h"

#include "styles/ConversionLogSink.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

// Divisions below this cannot be mapped onto the style's resolution.
constexpr uint16_t kMinDivision = 96;

} // namespace

CMidiToStyleReader::CMidiToStyleReader(const RunCodes& codes) : m_runCodes(codes) {}

CMidiToStyleReader::~CMidiToStyleReader() = default;

void CMidiToStyleReader::OpenLog(std::ostream* log)
{
    m_sink = log ? std::make_unique<COStreamLogSink>(*log) : nullptr;
    m_log.SetSink(m_sink.get());
}

void CMidiToStyleReader::CloseLog(int errors, int warnings)
{
    m_log.End(errors, warnings);
    m_log.SetSink(nullptr);
    m_sink.reset();
}

bool CMidiToStyleReader::StopsOnUncountedError(int result) const
{
    return result != kSuccess && result != m_runCodes.fatalParsingErrors && result != m_runCodes.fatalConversionErrors;
}

std::string CMidiToStyleReader::KeySignatureText(int sharps, int minor)
{
    const char* tonic = KeySignatureTonic(sharps, minor != 0);
    if (!tonic) return "???";
    return std::string(tonic) + (minor ? " minor" : " major");
}

StyleEventPosition CMidiToStyleReader::Position() const
{
    return StyleEventPosition{GetTrackTime(), int(GetLastMeasure()), int(GetLastBeat()), int(GetLastTick())};
}

int CMidiToStyleReader::OnHeader()
{
    if (m_pass != kPassCollect) return kSuccess;
    LogStart();
    m_log.FileInfo(long(m_imageSize), m_format, m_tracks, m_division);
    // A time-code division has bit 15 set.
    if (m_division < kMinDivision || (m_division & 0x8000)) {
        m_log.Printf(
            "Error: Time division not supported: %lu PPQN. Supported divisions: 96 PPQN and greater\n",
            (unsigned long)m_division);
        return m_runCodes.divisionNotSupported;
    }
    if (m_format != 1) {
        m_log.Printf("Error: MIDI file format not supported in MIDI2STY conversion - Format: %d\n", m_format);
        return m_runCodes.formatNotSupported;
    }
    return kSuccess;
}

int CMidiToStyleReader::OnMetaTempo()
{
    if (m_pass == kPassCollect) m_log.Tempo(Position(), 60000000u / m_eventTempo, m_eventTempo);
    return kSuccess;
}

int CMidiToStyleReader::OnMetaTime()
{
    if (m_pass == kPassCollect)
        m_log.TimeSig(Position(), m_eventData[1], 1ul << (m_eventData[2] & 7), m_eventData[3],
                      m_eventData[4]);
    return kSuccess;
}

int CMidiToStyleReader::OnMetaKeySig()
{
    if (m_pass == kPassCollect)
        m_log.KeySig(Position(), KeySignatureText(int8_t(m_eventData[1]), m_eventData[2]));
    return kSuccess;
}

int CMidiToStyleReader::OnMetaPort()
{
    if (m_pass == kPassCollect) m_log.PortNumber(Position(), m_eventData[1]);
    return kSuccess;
}

int CMidiToStyleReader::OnMetaChan()
{
    if (m_pass == kPassCollect) m_log.ChanNumber(Position(), m_eventData[1]);
    return kSuccess;
}

} // namespace zib
