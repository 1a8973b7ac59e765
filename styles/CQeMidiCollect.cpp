#include "styles/CQeMidiCollect.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "midi/CMidiFileParser.h"
#include "midi/ValueTexts.h"
#include "styles/CQeStyleInfo.h"
#include "styles/PackQe7Bit.h"
#include "styles/StringPrintf.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

constexpr MidiErrorText kQeMidiCollectErrorTexts[] = {
    {112, "Found more then 8 channel tracks"},
    {113, "Found event in channel that is already processed"},
};

constexpr const char* kElementMarkers[] = {
    "Element: VAR1",  "Element: VAR2",  "Element: VAR3", "Element: VAR4", "Element: INT1",  "Element: INT2",
    "Element: FILL1", "Element: FILL2", "Element: END1", "Element: END2", "Element: FILL3", "Element: INT3"};
constexpr const char* kTerminators[] = {"V11", "V12", "V13", "V14", "V15", "V16", "V21", "V22", "V23", "V24",
                                        "V25", "V26", "V31", "V32", "V33", "V34", "V35", "V36", "V41", "V42",
                                        "V43", "V44", "V45", "V46", "I11", "I12", "I21", "I22", "F11", "F12",
                                        "F21", "F22", "E11", "E12", "E21", "E22", "F31", "F32", "I31", "I32"};

const CvCollectSeries kQeSeries{kElementMarkers,  kTerminators, 384,
                                0xFF00, // channels 9-16: the eight style tracks
                                "_QECOLLECT.MID", "__"};

constexpr int kElements = 12;
constexpr int kShortStyleElements = 10; // without FILL3 and INT3
constexpr int kTracks = 8;
constexpr int kKeys = 12;
constexpr int kChords = 22;
constexpr size_t kItemNameSize = 18;
constexpr const char kStsSignature[] = "DASKQESTS "; // 10 characters
constexpr const char* kIgnored = " --- IGNORED";

// Style track t plays on this MIDI channel (0-based).
int trackChannel(int t)
{
    return CMidiFileParser::QeTrackChannelTable[t];
}

size_t cvIndex(int element, int cv)
{
    return size_t(element * 6 + cv);
}

} // namespace

QeCollectStyleInfo::QeCollectStyleInfo()
{
    for (auto& r : rangeLow)
        r.fill(CQeStyleInfo::kLowestNote);
    for (auto& r : rangeHigh)
        r.fill(CQeStyleInfo::kHighestNote);
}

QeCollectStyleInfo QeCollectStyleInfo::FromStyleInfo(const CQeStyleInfo& info)
{
    QeCollectStyleInfo out;
    out.tensionBits = info.GetStyleByte();
    out.trackModes = info.GetStyleWord2();
    out.twelveElements = (info.GetStyleWord() & 0x0C00) != 0;
    for (int e = 0; e < kElements; ++e) {
        out.ntt[size_t(e)] = info.GetTrackByte(e);
        for (int i = 0; i < kChords; ++i)
            out.chordAssign[size_t(e)][size_t(i)] = info.GetSeTrackByte(e, i);
        for (int t = 0; t < kTracks; ++t) {
            out.rangeLow[size_t(e)][size_t(t)] = info.GetSeTrackByteA(e, t);
            out.rangeHigh[size_t(e)][size_t(t)] = info.GetSeTrackByteB(e, t);
            const uint32_t program = info.GetSeTrackDword(e, t);
            out.setup[size_t(e)][size_t(t)] =
                TrackSetup{uint8_t(program >> 24), uint8_t(program >> 16), uint8_t(program)};
        }
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv) {
            out.cvKey[cvIndex(e, cv)] = info.GetCvKey(e, cv);
            out.cvChord[cvIndex(e, cv)] = info.GetCvChord(e, cv);
            for (int t = 0; t < kTracks; ++t) {
                out.trackKey[cvIndex(e, cv)][size_t(t)] = info.GetCvTrackByteB(e, cv, t);
                out.trackChord[cvIndex(e, cv)][size_t(t)] = info.GetCvTrackByteA(e, cv, t);
            }
        }
    }
    return out;
}

CQeMidiCollect::CQeMidiCollect() : CCvMidiCollector(kQeSeries)
{
    channelTrack_.fill(-1);
}

CQeMidiCollect::~CQeMidiCollect()
{
    Cleanup();
}

int CQeMidiCollect::ReportError(char* buffer, size_t size, int code)
{
    return FormatCollectError(buffer, size, code, "CQeMidiCollect", kQeMidiCollectErrorTexts);
}

int CQeMidiCollect::CollectCvMidiFiles(const std::filesystem::path& path, bool withStyleInfo,
                                       const QeStyleItem* styleItem)
{
    withStyleInfo_ = withStyleInfo;
    styleItem_ = styleItem;
    const int rc = Collect(path);
    styleItem_ = nullptr;
    return rc;
}

void CQeMidiCollect::ResetSeries()
{
    const std::string defaults = QeCvCollectSettings{}.qeKeyChord;
    const std::string& letters = settings_.qeKeyChord;
    for (size_t slot = 0; slot < keyChord_.size(); ++slot) {
        if (settings_.qeKeyChordDetermination == 1) {
            keyChord_[slot] = {0, 0};
            continue;
        }
        auto entry = [&](size_t i, int limit) {
            const int value = i < letters.size() ? letters[i] - 'A' : -1;
            return uint8_t(value >= 0 && value < limit ? value : defaults[i] - 'A');
        };
        keyChord_[slot] = {entry(2 * slot, kKeys), entry(2 * slot + 1, kChords)};
    }

    for (auto& channels : setup_)
        for (int c = 0; c < 16; ++c)
            channels[size_t(c)] = {Setup{100, false}, Setup{uint8_t(c == 9 || c == 10 ? 120 : 121), false},
                                   Setup{0, false}, Setup{0, false}};
    if (withStyleInfo_) {
        auto dataByte = [](uint8_t value, uint8_t fallback) { return value < 0x80 ? value : fallback; };
        for (int e = 0; e < kElements; ++e)
            for (int t = 0; t < kTracks; ++t) {
                const QeCollectStyleInfo::TrackSetup& from = styleInfo_.setup[size_t(e)][size_t(t)];
                auto& to = setup_[size_t(e)][size_t(trackChannel(t))];
                to[kBankMsb].value = dataByte(from.bankMsb, to[kBankMsb].value);
                to[kBankLsb].value = dataByte(from.bankLsb, 0);
                to[kProgram].value = dataByte(from.program, 0);
            }
    }
    channelTrack_.fill(-1);
}

// The style and pad exports name their CV files "<name>_tmp_<...>"; the
// collected file and the style keep the name.
void CQeMidiCollect::AdjustNames(std::string& outputBase, std::string& styleName)
{
    if (!withStyleInfo_) return;
    if (const size_t at = outputBase.find("_tmp_"); at != std::string::npos) outputBase.resize(at);
    if (const size_t at = styleName.find("_tmp_"); at != std::string::npos) styleName.resize(at);
}

int CQeMidiCollect::MeasuredElementCount() const
{
    return withStyleInfo_ && !styleInfo_.twelveElements ? kShortStyleElements : kElements;
}

int CQeMidiCollect::CopiedElementCount() const
{
    if (withStyleInfo_) return styleInfo_.twelveElements ? kElements : kShortStyleElements;
    return ElementHasFiles(10) || ElementHasFiles(11) ? kElements : kShortStyleElements;
}

bool CQeMidiCollect::ElementHasFiles(int element) const
{
    for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(element); ++cv)
        if (CvFileExists(element, cv)) return true;
    return false;
}

std::string CQeMidiCollect::CvMarkerText(int element, int cv, bool conductor) const
{
    if (conductor && withStyleInfo_)
        return CQeStyleInfo::GetKeyChordName(styleInfo_.cvKey[cvIndex(element, cv)],
                                             styleInfo_.cvChord[cvIndex(element, cv)]);
    const auto& entry = keyChord_[size_t(StyleSeriesTraits::CvSlotOf(element, cv))];
    return CQeStyleInfo::GetKeyChordName(entry[0], entry[1]);
}

// Release flags and tension switches of the style, as text commands.
void CQeMidiCollect::WriteConductorHeads()
{
    if (!withStyleInfo_) return;
    for (int t = 0; t < kTracks; ++t) {
        const int mode = styleInfo_.trackModes >> (2 * t) & 3;
        WriteMarker(conductor_, StringPrintf("Rflag: %d, %c", trackChannel(t) + 1,
                                             mode == 0   ? 'S'
                                             : mode == 1 ? 'T'
                                                         : 'P'));
    }
    for (int t = 3; t < kTracks; ++t)
        if (!(styleInfo_.tensionBits >> t & 1))
            WriteMarker(conductor_, StringPrintf("TensionOFF: %d", trackChannel(t) + 1));
}

void CQeMidiCollect::WriteChannelHeads(int channel)
{
    WriteElementSetup(0, channel);
}

// Expression, bank MSB, bank LSB, program.
void CQeMidiCollect::WriteElementSetup(int element, int channel)
{
    const auto& s = setup_[size_t(element)][size_t(channel)];
    const uint8_t control = uint8_t(0xB0 | channel);
    const uint8_t expression[] = {control, 11, s[kExpression].value};
    const uint8_t msb[] = {control, 0, s[kBankMsb].value};
    const uint8_t lsb[] = {control, 32, s[kBankLsb].value};
    const uint8_t program[] = {uint8_t(0xC0 | channel), s[kProgram].value};
    OutTrack& track = channels_[size_t(channel)];
    WriteAtPending(track, expression);
    WriteAtPending(track, msb);
    WriteAtPending(track, lsb);
    WriteAtPending(track, program);
}

void CQeMidiCollect::ConductorMarker(int element, int cv, const std::string& text)
{
    const std::string elementName = GetQeElementName(element);
    const std::string cvName = GetQeChordVariationName(cv);
    log_.Printf("Tempo Track - %s %s - Inserted MARKER: %s\n", elementName.c_str(), cvName.c_str(),
                text.c_str());
    WriteMarker(conductor_, text);
}

void CQeMidiCollect::AfterCvMarkers(int element, int cv, bool found)
{
    if (cv == 0)
        for (int c = 0; c < 16; ++c)
            if (IsPresent(c)) WriteElementSetup(element, c);
    if (!withStyleInfo_) return;

    // Key and chord of the BASS and ACC tracks of a CV that has a file.
    if (found)
        for (int t = 2; t < kTracks; ++t)
            ConductorMarker(element, cv,
                            StringPrintf("KeyChord: %d, %s", trackChannel(t) + 1,
                                         CQeStyleInfo::GetKeyChordName(
                                             styleInfo_.trackKey[cvIndex(element, cv)][size_t(t)],
                                             styleInfo_.trackChord[cvIndex(element, cv)][size_t(t)])
                                             .c_str()));

    // The element's chord table, keyboard ranges and NTT with its first CV,
    // when that CV has a file.
    if (cv != 0 || !found) return;
    const auto chords = QeStyleSeries().chordNames;
    const int lastCv = StyleSeriesTraits::CvCountOf(element) - 1;
    for (int i = 0; i < kChords; ++i) {
        const int assigned = styleInfo_.chordAssign[size_t(element)][size_t(i)];
        ConductorMarker(
            element, cv,
            StringPrintf("Table: %s, %c", chords[size_t(i)], char('1' + (assigned > lastCv ? 0 : assigned))));
    }
    for (int t = 0; t < kTracks; ++t) {
        const CQeStyleInfo::KeyboardRange range =
            CQeStyleInfo::ValidKeyboardRange(styleInfo_.rangeLow[size_t(element)][size_t(t)],
                                             styleInfo_.rangeHigh[size_t(element)][size_t(t)]);
        ConductorMarker(element, cv,
                        StringPrintf("Range: %d, %s, %s", trackChannel(t) + 1,
                                     FormatNoteName(range.low, -1).c_str(),
                                     FormatNoteName(range.high, -1).c_str()));
    }
    const int ntt = styleInfo_.ntt[size_t(element)];
    ConductorMarker(element, cv, StringPrintf("NTT: %d", (ntt > CQeStyleInfo::kMaxNtt ? 0 : ntt) + 1));
}

// The style item as one system-exclusive block ("DASKQESTS ", 18-byte name,
// data, in 7-bit groups) right after the conductor's last event, then the
// closing marker at the end of the last CV.
void CQeMidiCollect::AfterLastElement()
{
    if (withStyleInfo_ && styleItem_ && !styleItem_->data.empty()) {
        constexpr size_t kSignatureSize = sizeof kStsSignature - 1;
        const std::vector<uint8_t>& data = styleItem_->data;
        std::vector<uint8_t> block(kSignatureSize + kItemNameSize + data.size(), 0);
        std::memcpy(block.data(), kStsSignature, kSignatureSize);
        std::memcpy(block.data() + kSignatureSize, styleItem_->name.data(),
                    std::min(styleItem_->name.size(), kItemNameSize));
        std::memcpy(block.data() + kSignatureSize + kItemNameSize, data.data(), data.size());
        const std::vector<uint8_t> packed = PackQe7BitBlock(block);
        ByteWriter& out = conductor_.bytes;
        out.u8(0x00);
        out.u8(0xF0);
        out.varLen(uint32_t(std::min<size_t>(packed.size() + 1, UINT32_MAX)));
        out.bytes(packed);
        out.u8(0xF7);
    }
    WriteMarker(conductor_, "End of MIDI file");
}

// An element's signature goes into the conductor with its first CV only.
bool CQeMidiCollect::CopiesTimeSignature() const
{
    return cv_ == 0;
}

void CQeMidiCollect::LogForcedFromFirstCv(uint8_t numerator, uint8_t denominator, const std::string& file)
{
    log_.Printf("FOrcing tact to tact %d/%d of first CV in current SE. MIDI File: %s\n", numerator,
                denominator, file.c_str());
}

int CQeMidiCollect::OnFileHeader()
{
    channelTrack_.fill(-1);
    return kSuccess;
}

int CQeMidiCollect::OnTrackChunk()
{
    if (GetTrackIndex() > kTracks) {
        log_.Printf("Error: Found more then 8 channel tracks!!!\n");
        return kTooManyChannelTracks;
    }
    return kSuccess;
}

// Each channel plays in one track chunk of a file.
int CQeMidiCollect::BindChannel(int channel)
{
    const int track = GetTrackIndex();
    if (track <= 0) return kSuccess;
    int& owner = channelTrack_[size_t(channel)];
    if (owner < 0) owner = track;
    if (owner == track) return kSuccess;
    log_.Printf(
        "Error: Last event found in MIDI channel (%d) that is already processed in MIDI track %d!!!\n",
        channel + 1, owner);
    return kChannelAlreadyProcessed;
}

// The first expression, bank and program of each channel in an element
// become that element's set-up values.
int CQeMidiCollect::MeasureChannelEvent()
{
    const int channel = m_status & 0x0F;
    const uint8_t kind = m_status & 0xF0;
    CountChannelEvent(channel, kind == 0xC0 || kind == 0xD0 ? 3 : 4);

    auto capture = [&](SetupIndex i, uint8_t value) {
        Setup& s = setup_[size_t(element_)][size_t(channel)][i];
        if (s.captured) return false;
        s.value = value;
        s.captured = true;
        return true;
    };
    const std::string saved = std::string(" --- Saved as default for ") + kElementMarkers[element_];
    const uint8_t d1 = m_eventData[0], d2 = m_eventData[1];
    if (kind == 0xB0) {
        switch (d1) {
        case 11:
            if (capture(kExpression, d2)) LogChannelEvent(saved, "Ctrl-Expr");
            break;
        case 0:
            if (capture(kBankMsb, d2)) LogChannelEvent(saved, "Ctrl-HBank");
            break;
        case 32:
            if (capture(kBankLsb, d2)) LogChannelEvent(saved, "Ctrl-LBank");
            break;
        default:
            break;
        }
    } else if (kind == 0xC0 && capture(kProgram, d1)) {
        // The program's line has the layout of a controller's.
        log_.At(EventPosition(), "Program     | chan=%2u   | contr #%-3u | value=%u%s\n",
                unsigned(channel + 1), d1, d1, saved.c_str());
    }
    return kSuccess;
}

// Notes, pitch wheel and controllers go into the patterns; what the element
// heads carry (expression, pan, bank), programs and pressures do not.
int CQeMidiCollect::CopyChannelEvent()
{
    const int channel = m_status & 0x0F;
    if (const int rc = BindChannel(channel)) return rc;
    const uint8_t kind = m_status & 0xF0;
    const uint8_t d1 = m_eventData[0], d2 = m_eventData[1];
    switch (kind) {
    case 0x80:
    case 0x90:
    case 0xE0:
        LogChannelEvent();
        break;
    case 0xB0:
        switch (d1) {
        case 11:
            LogChannelEvent(kIgnored, "Ctrl-Expr");
            return kSuccess;
        case 10:
            LogChannelEvent(kIgnored, "Ctrl-Panpot");
            return kSuccess;
        case 0:
            LogChannelEvent(kIgnored, "Ctrl-HBank");
            return kSuccess;
        case 32:
            LogChannelEvent(kIgnored, "Ctrl-LBank");
            return kSuccess;
        default:
            LogChannelEvent();
            break;
        }
        break;
    default: // key and channel pressure, program
        LogChannelEvent(kIgnored);
        return kSuccess;
    }
    const uint8_t bytes[] = {m_status, d1, d2};
    QueueChannelEvent(channel, bytes);
    return kSuccess;
}

// VexSound messages (data 42 3F 78 ..., the channel in the sixth byte) of
// the channel track chunks go to their channel; other system-exclusive
// messages are dropped.
int CQeMidiCollect::OnSysEx()
{
    if ((pass_ != Pass::Measuring && pass_ != Pass::Copying) || InFirstTrack()) return kSuccess;
    const uint32_t length = GetEventBytes();
    if (length < 6 || length > kMaxCopiedMetaLength) return kSuccess;
    uint8_t data[kMaxCopiedMetaLength];
    if (const int rc = ReadBytes(data, length)) return rc;
    if (data[0] != 0x42 || data[1] != 0x3F || data[2] != 0x78) return kSuccess;

    const int channel = data[5];
    const StyleEventPosition pos = EventPosition();
    if (channel >= 16) {
        if (pass_ == Pass::Copying)
            log_.At(pos, "Warning: Unexpected channel in Qe9z VexSound event: %d\n", channel);
        return kSuccess;
    }
    if (pass_ == Pass::Measuring) {
        CountChannelEvent(channel, length + 4);
        return kSuccess;
    }
    if (const int rc = BindChannel(channel)) return rc;
    log_.At(pos, "Sysex      | chan=%2u   | Len= %5d\n", unsigned(channel + 1), int(length));
    ByteWriter event;
    event.u8(m_status);
    event.varLen(length);
    event.bytes(data, length);
    QueueChannelEvent(channel, event.bytes());
    return kSuccess;
}

CvCollectResult CollectQeCvMidi(const std::filesystem::path& pickedFile, const QeCvCollectSettings& settings,
                                std::ostream* log, const QeCollectStyleInfo* styleInfo,
                                const QeStyleItem* styleItem)
{
    CQeMidiCollect collector;
    collector.SetLog(log);
    collector.SetSettings(settings);
    if (styleInfo) collector.StyleInfo() = *styleInfo;
    const int code = collector.CollectCvMidiFiles(pickedFile, styleInfo != nullptr, styleItem);
    return collector.FinishCollection(code);
}

} // namespace zib
