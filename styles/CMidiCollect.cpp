#include "styles/CMidiCollect.h"

#include "midi/ValueTexts.h"
#include "styles/StyleSeriesTraits.h"

namespace zib {

namespace {

constexpr const char* kElementMarkers[] = {
    "Element: VAR1", "Element: VAR2", "Element: VAR3", "Element: VAR4",  "Element: INT1",
    "Element: INT2", "Element: END1", "Element: END2", "Element: FILL1", "Element: FILL2"};
constexpr const char* kTerminators[] = {"V11", "V12", "V13", "V14", "V15", "V16", "V21", "V22", "V23",
                                        "V24", "V25", "V26", "V31", "V32", "V33", "V34", "V35", "V36",
                                        "V41", "V42", "V43", "V44", "V45", "V46", "I11", "I12", "I21",
                                        "I22", "E11", "E12", "E21", "E22", "F11", "F12", "F21", "F22"};

const CvCollectSeries kWqSeries{kElementMarkers,
                                kTerminators,
                                96,
                                0x7E00, // channels 10-15: DRUM ... ACC3
                                "_COLLECT.MID",
                                ""};

// The bass line that decides a CV's key plays on the channel of style track 2.
constexpr int kBassChannel = 11;
constexpr int kKeyChordEntries = 24; // 12 keys, major and minor

bool isIntroOrEnding(int element)
{
    return element >= 4 && element <= 7;
}

} // namespace

CMidiCollect::CMidiCollect() : CCvMidiCollector(kWqSeries) {}

CMidiCollect::~CMidiCollect() = default;

int CMidiCollect::ReportError(char* buffer, size_t size, int code)
{
    return FormatCollectError(buffer, size, code, "CMidiCollect", {});
}

int CMidiCollect::CollectCvFiles(const std::filesystem::path& path)
{
    return Collect(path);
}

void CMidiCollect::ResetSeries()
{
    keyChordMode_ = settings_.keyChordDetermination;
    const std::string defaults = WqCvCollectSettings{}.keyChord;
    for (size_t i = 0; i < keyChord_.size(); ++i) {
        if (keyChordMode_ == 1) {
            keyChord_[i] = 0;
            continue;
        }
        const int value = i < settings_.keyChord.size() ? settings_.keyChord[i] - 'A' : -1;
        keyChord_[i] = value >= 0 && value < kKeyChordEntries ? value : defaults[i] - 'A';
    }
    for (int c = 0; c < 16; ++c) {
        const uint8_t control = uint8_t(0xB0 | c);
        setup_[size_t(c)] = {Setup{control, 10, 31, false}, Setup{control, 7, 100, false},
                             Setup{control, 0, 0, false}, Setup{control, 32, 0, false},
                             Setup{uint8_t(0xC0 | c), 0, 0, false}};
    }
    rootFound_ = minorFound_ = false;
}

std::string CMidiCollect::CvMarkerText(int element, int cv, bool) const
{
    return WqCvKeyNames()[size_t(keyChord_[size_t(StyleSeriesTraits::CvSlotOf(element, cv))])];
}

void CMidiCollect::WriteConductorHeads() {}

// Pan, volume, bank MSB, bank LSB, program.
void CMidiCollect::WriteChannelHeads(int channel)
{
    for (const Setup& s : setup_[size_t(channel)]) {
        if ((s.status & 0xF0) == 0xC0) {
            const uint8_t bytes[] = {s.status, s.value};
            WriteAtPending(channels_[size_t(channel)], bytes);
        } else {
            const uint8_t bytes[] = {s.status, s.controller, s.value};
            WriteAtPending(channels_[size_t(channel)], bytes);
        }
    }
}

void CMidiCollect::LogForcedFromFirstCv(uint8_t numerator, uint8_t denominator, const std::string& file)
{
    log_.Printf("Forcing tact to tact %d/%d of first CV in current SE. MIDI File: %s\n", numerator,
                denominator, file.c_str());
}

int CMidiCollect::OnFileHeader()
{
    rootFound_ = minorFound_ = false;
    return kSuccess;
}

// The first bass note gives the key (major); a later minor third above it
// makes the CV minor. The third is found modulo the octave, so A, A# and B
// minor are recognised too.
void CMidiCollect::DetectKeyChord(uint8_t note)
{
    int& entry = keyChord_[size_t(StyleSeriesTraits::CvSlotOf(element_, cv_))];
    if (!rootFound_) {
        entry = 2 * (note % 12);
        rootFound_ = true;
    } else if (!minorFound_ && note % 12 == (entry / 2 + 3) % 12) {
        entry += 1;
        minorFound_ = true;
    }
}

int CMidiCollect::MeasureChannelEvent()
{
    const int channel = m_status & 0x0F;
    const uint8_t kind = m_status & 0xF0;
    const bool oneByte = kind == 0xC0 || kind == 0xD0;
    CountChannelEvent(channel, oneByte ? 3 : 4);

    auto capture = [&](SetupIndex i, uint8_t value) {
        Setup& s = setup_[size_t(channel)][i];
        if (s.captured) return;
        s.status = m_status;
        s.value = value;
        s.captured = true;
    };
    if (kind == 0xB0) {
        switch (m_eventData[0]) {
        case 10:
            capture(kPan, m_eventData[1]);
            break;
        case 7:
            capture(kVolume, m_eventData[1]);
            break;
        case 0:
            capture(kBankMsb, m_eventData[1]);
            break;
        case 32:
            capture(kBankLsb, m_eventData[1]);
            break;
        default:
            break;
        }
    } else if (kind == 0xC0) {
        capture(kProgram, m_eventData[0]);
    } else if (kind == 0x90 && m_eventData[1] > 0 && channel == kBassChannel && keyChordMode_ == 1 &&
               !isIntroOrEnding(element_)) {
        DetectKeyChord(m_eventData[0]);
    }
    return kSuccess;
}

int CMidiCollect::CopyChannelEvent()
{
    const int channel = m_status & 0x0F;
    const uint8_t kind = m_status & 0xF0;
    const uint8_t d1 = m_eventData[0], d2 = m_eventData[1];
    if (kind != 0xB0) {
        LogChannelEvent();
    } else {
        switch (d1) {
        case 7:
            LogChannelEvent("", "Ctrl-Volume");
            break;
        case 10:
            LogChannelEvent("", "Ctrl-Panpot");
            break;
        case 32:
            LogChannelEvent("", "Ctrl-LBank");
            break;
        case 0:
            // The bank MSB goes only into the channel's head.
            LogChannelEvent(" --- IGNORED", "Ctrl-HBank");
            return kSuccess;
        default:
            LogChannelEvent();
            break;
        }
    }
    const uint8_t bytes[] = {m_status, d1, d2};
    QueueChannelEvent(channel, std::span<const uint8_t>(bytes, kind == 0xC0 || kind == 0xD0 ? 2 : 3));
    return kSuccess;
}

CvCollectResult CollectWqCvMidi(const std::filesystem::path& pickedFile, const WqCvCollectSettings& settings,
                                std::ostream* log)
{
    CMidiCollect collector;
    collector.SetLog(log);
    collector.SetSettings(settings);
    const int code = collector.CollectCvFiles(pickedFile);
    return collector.FinishCollection(code);
}

} // namespace zib
