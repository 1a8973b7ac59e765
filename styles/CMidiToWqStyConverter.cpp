#include "styles/CMidiToWqStyConverter.h"

#include <algorithm>
#include <limits>
#include <new>

#include "platform/FileIo.h"
#include "styles/CWqStyleWriter.h"
#include "styles/StringPrintf.h"
#include "styles/StyleConvertError.h"

namespace zib {

namespace {

constexpr int kElements = wq::kElementCount;
constexpr int kFirstTempo = 30;
constexpr int kLastTempo = 30 + 255;

int code(StyleConvertError e)
{
    return int(e);
}

std::string cvName(int cv)
{
    return StringPrintf("CV%d", cv + 1);
}

} // namespace

CMidiToWqStyConverter::CMidiToWqStyConverter()
    : CMidiToWqStyReader(Codes{
          code(StyleConvertError::FormatNotSupported), code(StyleConvertError::DivisionNotSupported),
          code(StyleConvertError::DenominatorNotSupported), code(StyleConvertError::CannotConvertChannel),
          code(StyleConvertError::FatalParsingErrors), code(StyleConvertError::FatalConversionErrors)}),
      m_commands(WqStyleSeries(), m_log)
{
}

CMidiToWqStyConverter::~CMidiToWqStyConverter() = default;

int CMidiToWqStyConverter::ReportError(char* buffer, size_t size, int errorCode)
{
    if (errorCode < 100) return CMidiFileEx::ReportError(buffer, size, errorCode);
    return int(FormatStyleConvertError(errorCode, buffer, size));
}

void CMidiToWqStyConverter::Reset()
{
    for (auto& builder : m_builders)
        builder.reset();
    std::vector<uint8_t>().swap(m_image);
    m_patternized = false;
}

// Run

int CMidiToWqStyConverter::Convert(const uint8_t* image, uint32_t length, std::ostream* log)
{
    std::vector<uint8_t> file;
    return ConvertAndLog(image, length, log, file, true);
}

int CMidiToWqStyConverter::ConvertToImage(const uint8_t* image, uint32_t length, std::ostream* log,
                                          std::vector<uint8_t>& file)
{
    return ConvertAndLog(image, length, log, file, false);
}

// The file is saved before the log ends, so that the log's counts hold a
// failed save too.
int CMidiToWqStyConverter::ConvertAndLog(const uint8_t* image, uint32_t length, std::ostream* log,
                                         std::vector<uint8_t>& file, bool save)
{
    file.clear();
    int rc = RunGuarded(image, length, log, file);
    if (rc == 0 && save && writeFileAtomically(m_outputFile, file) != FileIoError::None)
        rc = code(StyleConvertError::CannotSaveStyle);
    if (rc != 0) file.clear();
    EndRun(rc);
    for (auto& builder : m_builders)
        builder.reset();
    return rc;
}

// Running out of memory is a failure code, never an exception.
int CMidiToWqStyConverter::RunGuarded(const uint8_t* image, uint32_t length, std::ostream* log,
                                      std::vector<uint8_t>& file)
{
    try {
        return Run(image, length, log, file);
    } catch (const std::bad_alloc&) {
        file.clear();
        return code(StyleConvertError::CannotAllocateStyleBuffer);
    }
}

int CMidiToWqStyConverter::Run(const uint8_t* image, uint32_t length, std::ostream* log,
                               std::vector<uint8_t>& file)
{
    Reset();
    BeginRun(log, m_settings.ignoreFlags);
    m_commands.Reset(
        StyleCommandSettings{m_settings.keyChordDetermination != 0, m_settings.chordDetermination != 0});
    // ACC1-ACC3 start with their tension switch on; TensionOFF turns it off.
    for (int t = 3; t < kTracks; ++t)
        m_commands.State().tension[size_t(t)] = 1;

    int rc = CheckSettings();
    if (rc) return rc;
    if ((rc = RunCollectPass(image, length))) return rc;
    m_commands.FinishLastCv(m_highestMeasure);
    if (ErrorCount()) return code(StyleConvertError::FatalParsingErrors);
    m_log.BetweenPasses();

    // A file without elements or notes would make an empty style.
    const StyleCommandState& state = m_commands.State();
    if (std::none_of(state.elementFound.begin(), state.elementFound.begin() + kElements,
                     [](bool f) { return f; }))
        return code(StyleConvertError::NoElementFound);
    bool anyNote = false;
    for (int e = 0; e < kElements; ++e)
        for (int cv = 0; cv < wq::cvCountOf(e); ++cv)
            for (int t = 0; t < kTracks; ++t) {
                if (state.noteCount[size_t(e)][size_t(cv)][size_t(t)] == 0) continue;
                anyNote = true;
                m_builders[size_t(wq::trackSlotOf(e, cv, t))] = std::make_unique<CWqPatternBuilder>(
                    *this, state.firstMeasure[size_t(e)][size_t(cv)][size_t(t)],
                    state.lastMeasure[size_t(e)][size_t(cv)][size_t(t)], m_headers[size_t(t)], m_ignoreFlags,
                    10 + t, m_log.IsOpen());
            }
    if (!anyNote) return code(StyleConvertError::NoElementWithNotes);

    m_lastCv.fill(LastCv{});
    if ((rc = RunConvertPass(image, length))) return rc;
    if ((rc = BuildImage())) return rc;
    if (ErrorCount()) return code(StyleConvertError::FatalConversionErrors);
    return WriteStyle(file);
}

// The letter tables are read only when they are used; each letter must be
// in its entry's range, as it becomes a key or a CV number of the style.
int CMidiToWqStyConverter::CheckSettings()
{
    if (m_settings.keyChordDetermination == 0) {
        bool valid = m_settings.keyChord.size() >= size_t(wq::kCvSlotCount);
        for (int i = 0; valid && i < wq::kCvSlotCount; ++i) {
            char c = m_settings.keyChord[size_t(i)];
            valid = c >= 'A' && c <= 'A' + 23;
        }
        if (!valid) {
            m_log.Printf("Error: Wrong KeyChord setting\n");
            return code(StyleConvertError::ApplicationDefined);
        }
    }
    if (m_settings.chordDetermination == 0) {
        bool valid = m_settings.chordTable.size() >= size_t(kElements * wq::kChordTableSize);
        for (int i = 0; valid && i < kElements * wq::kChordTableSize; ++i) {
            char c = m_settings.chordTable[size_t(i)];
            valid = c >= 'A' && c < 'A' + wq::cvCountOf(i / wq::kChordTableSize);
        }
        if (!valid) {
            m_log.Printf("Error: Wrong ChordTable setting\n");
            return code(StyleConvertError::ApplicationDefined);
        }
    }
    return 0;
}

// Pass 1

void CMidiToWqStyConverter::LogStart()
{
    m_log.StartWq(char(m_model));
}

int CMidiToWqStyConverter::CollectText(const StyleEventPosition& pos, uint8_t type,
                                       std::span<const uint8_t> text)
{
    if (GetTrackIndex() != 0) return 0;
    return m_commands.Dispatch(pos, type, text);
}

// The element and CV whose measures hold `measure`, in element and CV order.
// While pass 1 reads the channel tracks, the CV started last has no end yet.
bool CMidiToWqStyConverter::FindCv(int track, int measure, bool openLastCv, int& element, int& cv) const
{
    const StyleCommandState& state = m_commands.State();
    for (int e = 0; e < kElements; ++e)
        for (int c = 0; c < wq::cvCountOf(e); ++c) {
            int first = state.firstMeasure[size_t(e)][size_t(c)][size_t(track)];
            int last = state.lastMeasure[size_t(e)][size_t(c)][size_t(track)];
            if (first < 0 || measure < first) continue;
            bool open = openLastCv && last < 0 && e == state.currentElement && c == state.currentCv;
            if (measure <= last || open) {
                element = e;
                cv = c;
                return true;
            }
        }
    return false;
}

int CMidiToWqStyConverter::CollectChannelEvent(int track, const StyleEventPosition& pos)
{
    uint8_t kind = m_status & 0xF0;
    int element = 0, cv = 0; // the first measure belongs to VAR1 CV1
    if (pos.measure > 0 && !FindCv(track, pos.measure, true, element, cv)) {
        m_log.At(pos, "Error: Wrong style element number found: %d\n", m_commands.State().currentElement);
        return code(StyleConvertError::InternalMapper);
    }
    if (pos.measure == 0) {
        m_headers[size_t(track)].Capture(m_status, m_eventData[0], m_eventData[1]);
        if (kind == 0x80 || kind == 0x90) {
            ++m_errors;
            m_log.At(pos, "Error: Note events not allowed inside first bar of MIDI file!\n");
        }
        return 0;
    }
    if (kind == 0x90 && m_eventData[1] > 0)
        ++m_commands.State().noteCount[size_t(element)][size_t(cv)][size_t(track)];
    return 0;
}

// Pass 2

// The CVs' measures do not overlap and do not change in pass 2: the CV of
// the track's last event is tried first.
CWqPatternBuilder* CMidiToWqStyConverter::BuilderFor(int track, int measure)
{
    LastCv& last = m_lastCv[size_t(track)];
    if (last.slot < 0 || measure < last.firstMeasure || measure > last.lastMeasure) {
        int element = 0, cv = 0;
        if (!FindCv(track, measure, false, element, cv)) return nullptr;
        const StyleCommandState& state = m_commands.State();
        last = LastCv{wq::trackSlotOf(element, cv, track),
                      state.firstMeasure[size_t(element)][size_t(cv)][size_t(track)],
                      state.lastMeasure[size_t(element)][size_t(cv)][size_t(track)]};
    }
    return m_builders[size_t(last.slot)].get();
}

// Building the image

// Bank and program of a track's sound, fitted to the banks of the model.
uint16_t CMidiToWqStyConverter::FitSoundWord(int bank, int program) const
{
    bool b = wq::isLayoutB(m_model);
    switch (bank) {
    case 0:
    case 1:
        break;
    case 2:
        if (b)
            program = program < 64 ? program : 0;
        else if (!wq::isLayoutA(m_model))
            bank = program = 0;
        break;
    case 3:
        if (m_model == wq::kModelWq8)
            bank = program = 0;
        else if (m_model == wq::kModelWqR65)
            program = program < 64 ? program : 0;
        else if (m_model == wq::kModelWq6 || m_model == wq::kModelWqT517 || m_model == wq::kModelWq41)
            program = program < 128 ? program : 0;
        else
            program = 0;
        break;
    case 4:
        if (!b) bank = program = 0;
        break;
    default:
        bank = program = 0;
        break;
    }
    return uint16_t(bank << 8 | program);
}

int CMidiToWqStyConverter::BuildImage()
{
    const wq::Layout& layout = wq::layoutOf(m_model);
    const StyleCommandState& state = m_commands.State();
    std::vector<uint8_t> head(layout.headSize, 0);

    // Name, blank-padded to the model's width
    std::string name = m_commands.StyleNameForModel(char(m_model));
    for (size_t i = 0; i < layout.nameWidth; ++i)
        head[i] = i < name.size() ? uint8_t(name[i]) : uint8_t(' ');

    // Tempo, time signature and resolution
    int tempo = std::clamp(m_tempo, kFirstTempo, kLastTempo);
    if (tempo != m_tempo) {
        ++m_warnings;
        m_log.Printf("Warning: Tempo %d BPM is out of the style's range. Set to %d BPM\n", m_tempo, tempo);
    }
    head[layout.tempo] = uint8_t(tempo - kFirstTempo);
    int timeSig = TimeSigCodeAt(0);
    head[layout.timeSig] =
        uint8_t((timeSig < 0 ? wq::kTimeSig44 : timeSig) | (GetDivision() == 96 ? 0x80 : 0));
    if (wq::isLayoutB(m_model)) head[18] = 12;

    // Track settings: retrigger (Rflag) and tension bits, wrap-around
    // (Shiftup) of BASS..ACC3, sound, volume and pan of every track
    for (int t = 2; t < kTracks; ++t) {
        if (state.rflag[size_t(t)]) head[layout.retrigger] |= uint8_t(1 << t);
        head[layout.wrapAround + size_t(t - 2)] = uint8_t(state.shiftup[size_t(t)]);
        if (t >= 3 && state.tension[size_t(t)]) head[layout.tension] |= uint8_t(1 << t);
    }
    for (int t = 0; t < kTracks; ++t) {
        const WqTrackHeader& h = m_headers[size_t(t)];
        uint16_t word = FitSoundWord(h.bankLsb, h.program);
        size_t at = layout.trackRecords + 4 * size_t(t);
        head[at] = uint8_t(word);
        head[at + 1] = uint8_t(word >> 8);
        head[at + 2] = h.volume;
        head[at + 3] = h.pan;
    }

    // Chord tables, and the pattern table with every pattern free (4/4, no bars)
    for (int e = 0; e < kElements; ++e)
        for (int i = 0; i < wq::kChordTableSize; ++i) {
            int cv = m_settings.chordDetermination == 0
                         ? m_settings.chordTable[size_t(e * wq::kChordTableSize + i)] - 'A'
                         : state.chordTable[size_t(e)][size_t(i)];
            head[layout.chordTables + size_t(e * wq::kChordTableSize + i)] = uint8_t(cv);
        }
    for (int k = 0; k < wq::kPatternCount; ++k)
        head[layout.patternTable + 2 * size_t(k)] = wq::kTimeSig44;

    return BuildEvents(head);
}

// The tracks in slot order, each CV's key and length after its tracks, then
// the offset table.
int CMidiToWqStyConverter::BuildEvents(std::vector<uint8_t>& head)
{
    const wq::Layout& layout = wq::layoutOf(m_model);
    ByteWriter events(kMaxImageSize - layout.headSize);
    std::array<uint16_t, wq::kOffsetEntryCount> offsets{};
    for (int e = 0; e < kElements; ++e)
        for (int cv = 0; cv < wq::cvCountOf(e); ++cv) {
            for (int t = 0; t < kTracks; ++t) {
                int slot = wq::trackSlotOf(e, cv, t);
                offsets[size_t(slot)] = uint16_t(layout.headSize + events.size());
                m_log.Printf("\nConverting %s, %s, %s\n\n", WqStyleSeries().elementNames[size_t(e)],
                             cvName(cv).c_str(), WqStyleSeries().trackNames[size_t(t)]);
                CWqPatternBuilder* builder = m_builders[size_t(slot)].get();
                if (!builder) continue;
                CWqPatternBuilder::Result result = builder->Finish(events);
                Absorb(*builder);
                if (result == CWqPatternBuilder::Result::TooManyBars) {
                    m_log.Printf("Error: Too high (%d) number of bars per CV. SE: %s, CV:%s\n",
                                 builder->FailedBar(), WqStyleSeries().elementNames[size_t(e)],
                                 cvName(cv).c_str());
                    return code(StyleConvertError::CvBarNumberTooHigh);
                }
                if (result == CWqPatternBuilder::Result::Overflow)
                    return code(StyleConvertError::StyleBufferOverflow);
            }
            if (int rc = FinishCv(e, cv, head)) return rc;
        }
    // The image holds no patterns yet.
    for (int entry = wq::kPatternEntryBase; entry < wq::kOffsetEntryCount; ++entry)
        offsets[size_t(entry)] = uint16_t(layout.headSize + events.size());
    for (int entry = 0; entry < wq::kOffsetEntryCount; ++entry) {
        head[layout.offsetTable + 2 * size_t(entry)] = uint8_t(offsets[size_t(entry)]);
        head[layout.offsetTable + 2 * size_t(entry) + 1] = uint8_t(offsets[size_t(entry)] >> 8);
    }
    m_image = std::move(head);
    m_image.insert(m_image.end(), events.bytes().begin(), events.bytes().end());
    return 0;
}

// The CV's key and length. A CV never started has no bars; a CV of two bars
// or more whose last bar holds nothing later than its first tenth of a
// quarter note loses that bar (it only carries the end of the file).
int CMidiToWqStyConverter::FinishCv(int e, int cv, std::vector<uint8_t>& head)
{
    const wq::Layout& layout = wq::layoutOf(m_model);
    const StyleCommandState& state = m_commands.State();
    int index = wq::cvIndexOf(e, cv);
    int key = m_settings.keyChordDetermination == 0 ? m_settings.keyChord[size_t(index)] - 'A'
                                                    : state.cvChord[size_t(e)][size_t(cv)];
    int first = state.firstMeasure[size_t(e)][size_t(cv)][0];
    int last = state.lastMeasure[size_t(e)][size_t(cv)][0];
    int length = 0;
    if (first >= 0 && last >= first) {
        length = last - first + 1;
        uint32_t latest = 0;
        for (int t = 0; t < kTracks; ++t)
            if (const CWqPatternBuilder* b = m_builders[size_t(wq::trackSlotOf(e, cv, t))].get())
                latest = std::max(latest, b->LatestTick());
        if (length > 1 && LastBarIsSparse(latest, last)) {
            --length;
            ++m_warnings;
            m_log.Printf("WARNING: %s, %s. Found only few or none events in first 10%% ticks of last bar. "
                         "Decrementing CV length to: %d!!!\n",
                         WqStyleSeries().elementNames[size_t(e)], cvName(cv).c_str(), length);
        }
        if (length > wq::kMaxCvBars) {
            m_log.Printf("Error: Too high (%d) number of bars per CV. SE: %s, CV:%s\n", length - 1,
                         WqStyleSeries().elementNames[size_t(e)], cvName(cv).c_str());
            return code(StyleConvertError::CvBarNumberTooHigh);
        }
    }
    head[layout.cvRecords + 2 * size_t(index)] = uint8_t(key);
    head[layout.cvRecords + 2 * size_t(index) + 1] = uint8_t(length);
    return 0;
}

// Writing: patternized when the writer finds it worth it, else as it is.
int CMidiToWqStyConverter::WriteStyle(std::vector<uint8_t>& file)
{
    m_log.Printf("\nTrying to patternize style data. Current style size: %lu\n",
                 (unsigned long)m_image.size());
    CWqStyleWriter writer(m_image.data(), m_image.size(), m_model);
    if (writer.BuildPatternized(file) == WqPatternizeResult::Written) {
        m_patternized = true;
        m_log.Printf("Style data successfully patternized. New style size: %lu\n",
                     (unsigned long)writer.GetNewSize());
        return 0;
    }
    m_log.Printf("Patternization failed. Style data remain unpatternized.\n");
    if (m_image.size() >= wq::kMaxStyleSize) {
        m_log.Printf("Error: Style size greater then allowed: %lu.\n", (unsigned long)m_image.size());
        file.clear();
        return code(StyleConvertError::StyleBufferOverflow);
    }
    file = CWqStyleWriter::MakeUnpatternizedFile(m_model, m_image);
    return 0;
}

MidiToWqStyleResult ConvertMidiToWqStyle(std::span<const uint8_t> midiImage,
                                         const std::filesystem::path& outputFile, uint32_t model,
                                         const WqStyleConvertSettings& settings, std::ostream* log)
{
    CMidiToWqStyConverter converter;
    MidiToWqStyleResult result;
    if (midiImage.size() > std::numeric_limits<uint32_t>::max()) {
        result.code = CMidiFile::kBadByteCount;
    } else {
        converter.SetOutputFile(outputFile);
        converter.SetModel(model);
        converter.SetSettings(settings);
        result.code = converter.Convert(midiImage.data(), uint32_t(midiImage.size()), log);
    }
    if (result.code != 0) result.errorText = ReportedErrorText(converter, result.code);
    return result;
}

} // namespace zib
