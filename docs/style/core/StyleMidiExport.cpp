#include "docs/style/core/StyleMidiExport.h"

#include "docs/style/core/CStyItem.h"
#include "docs/style/core/Qe9zToQe4k.h"
#include "docs/style/core/UlvaRfHandles.h"
#include "midi/CMidiFileParser.h"
#include "midi/CStyleMidiReader.h"
#include "midi/ValueTexts.h"
#include "platform/FileIo.h"
#include "styles/CQeMidiCollect.h"
#include "styles/CQeStyleInfo.h"
#include "styles/CWqStyleFile.h"

#include <cstdlib>
#include <fstream>
#include <random>

namespace zib {

namespace {

constexpr const char* kWqElementNames[10] = {"V1", "V2", "V3", "V4", "I1", "I2", "E1", "E2", "F1", "F2"};

int cvCountOf(int element)
{
    return element < 4 ? 6 : 2;
}

std::filesystem::path fileIn(const std::filesystem::path& folder, const std::string& name)
{
    return folder / std::filesystem::u8path(name);
}

std::string utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// Asks about an existing file unless Yes To All was answered.
StyleMidiOutcome askOverwrite(StyUiPort& port, const std::filesystem::path& file, bool& yesToAll)
{
    std::error_code ec;
    if (yesToAll || !std::filesystem::exists(file, ec)) return StyleMidiOutcome::Converted;
    switch (port.ConfirmOverwrite(file)) {
    case StyAnswer::Cancel:
        return StyleMidiOutcome::Cancelled;
    case StyAnswer::No:
        return StyleMidiOutcome::Skipped;
    case StyAnswer::YesToAll:
        yesToAll = true;
        return StyleMidiOutcome::Converted;
    case StyAnswer::Yes:
        break;
    }
    return StyleMidiOutcome::Converted;
}

StyleMidiOutcome exportWq(const StyleMidiExport& job, const std::filesystem::path& folder, StyUiPort& port,
                          bool& yesToAll)
{
    const std::string name = ItemFileName(*job.style);
    CWqStyleFile style(job.style->data.data(), job.style->data.size(), job.model);
    style.SetPercOnDrumChannel(job.percussionOnDrumChannel);
    if (job.styToMidiType == 0) {
        const std::filesystem::path file = fileIn(folder, name + "_COLLECT.mid");
        const StyleMidiOutcome asked = askOverwrite(port, file, yesToAll);
        if (asked != StyleMidiOutcome::Converted) return asked;
        return style.DumpStyleToMidi(file) == CWqStyleFile::kOk ? StyleMidiOutcome::Converted
                                                               : StyleMidiOutcome::Failed;
    }
    int written = 0;
    for (int e = 0; e < 10; ++e)
        for (int cv = 0; cv < cvCountOf(e); ++cv) {
            if (style.IsChordVarEmpty(uint8_t(e), uint8_t(cv))) continue;
            const std::filesystem::path file =
                fileIn(folder, name + "_" + kWqElementNames[e] + char('1' + cv) + ".mid");
            if (style.DumpChordVarToMidi(uint8_t(e), uint8_t(cv), CWqStyleFile::kAllTracks, file) !=
                CWqStyleFile::kOk)
                return StyleMidiOutcome::Failed;
            ++written;
        }
    return written ? StyleMidiOutcome::Converted : StyleMidiOutcome::Failed;
}

StyleMidiOutcome exportQe(const StyleMidiExport& job, const std::filesystem::path& folder, StyUiPort& port,
                          bool& yesToAll)
{
    const std::string name = ItemFileName(*job.style);
    CQeStyleInfo info(job.style->data);
    const bool extended = job.style->version != 0;
    const int elements = extended ? 12 : 10;
    auto cvFile = [&](const std::string& middle, int e, int cv) {
        return fileIn(folder, name + middle + GetQeElementShortName(e) + char('1' + cv) + ".mid");
    };
    std::vector<std::pair<int, int>> present;
    for (int e = 0; e < elements; ++e)
        for (int cv = 0; cv < cvCountOf(e); ++cv)
            if (info.HasChordVar(e, cv)) present.emplace_back(e, cv);

    if (job.styToMidiType != 0) {
        bool all = !present.empty();
        for (const auto& [e, cv] : present)
            all = info.CreateMidiFromQeCvOrTrack(e, cv, 255, cvFile("_", e, cv), extended ? 1 : 0) == 1 && all;
        return all ? StyleMidiOutcome::Converted : StyleMidiOutcome::Failed;
    }

    const StyleMidiOutcome asked = askOverwrite(port, fileIn(folder, name + "_QECOLLECT.MID"), yesToAll);
    if (asked != StyleMidiOutcome::Converted) return asked;
    bool all = !present.empty();
    std::vector<std::filesystem::path> written;
    for (const auto& [e, cv] : present) {
        const std::filesystem::path file = cvFile("_tmp_", e, cv);
        if (info.CreateMidiFromQeCvOrTrack(e, cv, 255, file, extended ? 1 : 0) == 1)
            written.push_back(file);
        else
            all = false;
    }
    QeCollectStyleInfo styleInfo = QeCollectStyleInfo::FromStyleInfo(info);
    styleInfo.twelveElements = extended;
    std::optional<QeStyleItem> stsItem;
    if (job.sts && job.sts->Size() != 0) stsItem = QeStyleItem{job.sts->NameText(), job.sts->data};
    std::ofstream log(folder / CQeMidiCollect::kLogFileName, std::ios::binary | std::ios::trunc);
    const CvCollectResult result = CollectQeCvMidi(fileIn(folder, name + "_tmp_V11.MID"), job.qeCollect,
                                                   log ? &log : nullptr, &styleInfo, stsItem ? &*stsItem : nullptr);
    log.close();
    std::error_code ec;
    for (const auto& file : written)
        std::filesystem::remove(file, ec);
    return all && result.code == 0 ? StyleMidiOutcome::Converted : StyleMidiOutcome::Failed;
}

// ---- Playback -----------------------------------------------------------

// A file name in the temporary folder no other file has.
std::filesystem::path uniqueTempFile(const std::filesystem::path& folder, const std::string& stem)
{
    static std::mt19937_64 random{std::random_device{}()};
    for (;;) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "-%016llx", static_cast<unsigned long long>(random()));
        const std::filesystem::path file = fileIn(folder, stem + suffix + ".mid");
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) return file;
    }
}

// The CV's measures on the style's time line: up to 16 time-signature bytes,
// the length (start of the last measure taken + its length) and the count.
void placeWqCv(CStyleMidiReader& reader, CStyleMidiReader::ChordVariation& cv, uint32_t& offset)
{
    cv.startTick = offset;
    // A measure the map holds because the end of the track lands on its
    // first tick is not part of the chord variation.
    uint32_t count = reader.GetTimeSigCount();
    const uint32_t end = reader.GetTrackTime();
    while (count > 1 && end > 0 && reader.GetMeasureStartTick(count - 1) >= end)
        --count;
    const uint32_t measures = std::min<uint32_t>(count, 16);
    uint32_t length = 0;
    for (uint32_t m = 0; m < measures; ++m) {
        const uint8_t numerator = reader.GetNumeratorAtMeasure(m);
        const uint8_t denominator = reader.GetDenominatorAtMeasure(m);
        cv.timeSignatures[m] = uint8_t(std::max(0, MakeQeTimeSignatureByte(numerator, denominator)));
        if (denominator) length = reader.GetMeasureStartTick(m) + numerator * uint32_t(reader.GetDivision()) * 4 / denominator;
    }
    cv.length = length;
    cv.measures = measures;
    offset += length;
    reader.ClearTimeSigMap();
}

bool failWq(StyUiPort& port, CStyleMidiReader& reader, const char* text, const std::filesystem::path& file)
{
    port.Message(StyNotice::Text(text, {utf8(file)}, {}));
    reader.Clear();
    return false;
}

// One Wq chord variation through a temporary MIDI file into the reader.
bool readWqCv(StyUiPort& port, CWqStyleFile& style, CStyleMidiReader& reader, const std::filesystem::path& file,
              int e, int cv, uint32_t& offset, bool percussion)
{
    if (style.DumpChordVarToMidi(uint8_t(e), uint8_t(cv), CWqStyleFile::kAllTracks, file) != CWqStyleFile::kOk)
        return failWq(port, reader, "Error: Cannot create CV MIDI file: %s", file);
    std::vector<uint8_t> image;
    const FileIoError read = readWholeFile(file, image);
    std::error_code ec;
    std::filesystem::remove(file, ec);
    if (read == FileIoError::OpenFailed) return failWq(port, reader, "Error: Cannot open CV MIDI file: %s", file);
    if (read != FileIoError::None) return failWq(port, reader, "Error: Cannot read CV MIDI file: %s", file);

    CMidiFileParser parser;
    parser.SetPercussionOnDrumChannel(percussion);
    uint32_t size = 0;
    if (parser.ParseFormat0(image.data(), uint32_t(image.size()), size) != 0 || size == 0)
        return failWq(port, reader, "Error: Cannot convert FMT1 buffer to FMT0 buffer, for CV MIDI file: %s", file);
    std::vector<uint8_t> format0(size);
    if (parser.ConvertToFormat0(image.data(), uint32_t(image.size()), format0.data(), size) != 0)
        return failWq(port, reader, "Error: Cannot convert CV MIDI file to FMT0 buffer: %s", file);
    parser.Reset();

    CStyleMidiReader::ChordVariation& slot = reader.elements[size_t(e)].variations[size_t(cv)];
    slot.firstEvent = uint32_t(reader.GetEventCount());
    if (reader.ReadImage(format0.data(), uint32_t(format0.size())) != 0)
        return failWq(port, reader, "Error: Cannot parse FMT0 buffer: %s", file);
    if (reader.ResolveNoteDurations(size_t(e), size_t(cv)) != 0)
        return failWq(port, reader, "Error: Cannot resolve note duration for: %s", file);
    placeWqCv(reader, slot, offset);
    return true;
}

bool fillWq(const CStyItem& item, uint32_t model, const std::filesystem::path& temp, bool percussion, StyUiPort& port,
            CStyleMidiReader& reader)
{
    CWqStyleFile style(item.data.data(), item.data.size(), model);
    style.SetPercOnDrumChannel(percussion);
    reader.modelCode = model;
    for (uint8_t f = 0; f < 6; ++f)
        reader.headerFlags[f] = style.GetHeaderFlag(f) ? 1 : 0;
    const std::string name = ItemFileName(item);
    uint32_t offset = 0;
    for (int e = 0; e < 10; ++e) {
        CStyleMidiReader::Element& element = reader.elements[size_t(e)];
        if (style.IsStyleElementEmpty(uint8_t(e))) {
            element.present = 0;
            continue;
        }
        for (uint8_t i = 0; i < 20; ++i)
            element.chordVariations[i] = style.GetElementList(uint8_t(e), i);
        bool first = true;
        for (int cv = 0; cv < cvCountOf(e); ++cv) {
            // A chord variation the element's chord table lists but that has
            // no data gives no file to play.
            if (!style.IsInElementList(uint8_t(e), uint8_t(cv)) || style.IsChordVarEmpty(uint8_t(e), uint8_t(cv)))
                continue;
            element.present = 1;
            CStyleMidiReader::ChordVariation& slot = element.variations[size_t(cv)];
            for (uint8_t t = 0; t < 6; ++t) {
                const bool data = style.HasTrackData(uint8_t(e), uint8_t(cv), t);
                if (first) {
                    CStyleMidiReader::TrackProgram& program = element.tracks[t];
                    program.program = data ? style.GetCvTrackInfo(uint8_t(e), t) : 0xFFFFFFFF;
                    program.programNumber = data ? style.GetTrackWord(uint8_t(e), t) : 0xFFFF;
                    program.expression = data ? style.GetTrackParam(uint8_t(e), t) : 255;
                }
                slot.key[t] = data ? style.GetCvKey(uint8_t(e), uint8_t(cv), t) : 0;
                slot.chord[t] = data ? style.GetCvChordType(uint8_t(e), uint8_t(cv), t) : 0;
            }
            first = false;
            const std::filesystem::path file =
                uniqueTempFile(temp, name + "_" + kWqElementNames[e] + char('1' + cv));
            if (!readWqCv(port, style, reader, file, e, cv, offset, percussion)) return false;
        }
    }
    return true;
}

bool fillQe(const CStyItem& item, CStyleMidiReader& reader)
{
    // A Qe9z style plays in the Qe4k layout: converted on a copy.
    std::vector<uint8_t> converted;
    if (item.version != 0) {
        converted = ConvertQe9zStyleToQe4k(item.data);
        if (converted.empty()) return false;
    }
    const std::vector<uint8_t>& data = item.version != 0 ? converted : item.data;
    UlrfResInstancePtr resource(_ULRFCreateResInstance(data.data(), uint32_t(data.size())));
    UlsteEditorPtr editor(resource ? _ULStECreateInstance(resource.get()) : nullptr);
    resource.reset();
    if (!editor) return false;
    ULStEEditor* ed = editor.get();
    reader.modelCode = 'F';
    for (int t = 0; t < 8; ++t)
        _ULStEGetTrackTension(ed, t, &reader.trackTension[size_t(t)]);
    uint32_t offset = 0;
    for (int e = 0; e < 10; ++e) {
        CStyleMidiReader::Element& element = reader.elements[size_t(e)];
        _ULStEGetNTT(ed, e, &element.ntt);
        if (_ULStEQueryStyleElem(ed, e) != 2) {
            element.present = 0;
            continue;
        }
        for (int i = 0; i < 22; ++i)
            _ULStEGetChordAssign(ed, e, i, &element.chordAssign[size_t(i)]);
        bool first = true;
        for (int cv = 0; cv < cvCountOf(e); ++cv) {
            if (_ULStEQueryChordVar(ed, e, cv) != 2) continue;
            element.present = 1;
            CStyleMidiReader::ChordVariation& slot = element.variations[size_t(cv)];
            for (int t = 0; t < 8; ++t) {
                const bool pattern = _ULStEQueryPattern(ed, e, cv, t) == 2;
                uint8_t key = 0, chord = 0;
                if (pattern) {
                    _ULStEGetTrackKey(ed, e, cv, t, &key);
                    _ULStEGetTrackChord(ed, e, cv, t, &chord);
                }
                if (first) {
                    CStyleMidiReader::TrackProgram& program = element.tracks[size_t(t)];
                    program.program = 0xFFFFFFFF;
                    program.expression = 255;
                    if (pattern) {
                        _ULStEGetTrackProgram(ed, e, t, &program.program);
                        _ULStEGetTrackExpression(ed, e, t, &program.expression);
                    }
                }
                slot.key[size_t(t)] = key;
                slot.chord[size_t(t)] = chord;
            }
            first = false;
            _ULStEGetSignature(ed, e, &element.timeSignature);
            const int size = _ULStEExportSmfPrepare(ed, e, cv);
            if (size <= 0) return false;
            std::vector<uint8_t> image(static_cast<size_t>(size));
            if (!_ULStEExportSmfFill(ed, image.data(), uint32_t(image.size()))) return false;
            slot.firstEvent = uint32_t(reader.GetEventCount());
            if (reader.ReadImage(image.data(), uint32_t(image.size())) != 0) return false;
            if (reader.ResolveNoteDurations(size_t(e), size_t(cv)) != 0) return false;
            // Whole measures on the style's time line.
            slot.startTick = offset;
            const uint32_t perMeasure = reader.GetTicksPerMeasure();
            const uint32_t time = reader.GetTrackTime();
            slot.length = time == 0 || perMeasure == 0 ? 0 : (time + perMeasure - 1) / perMeasure * perMeasure;
            slot.measures = perMeasure ? slot.length / perMeasure : 0;
            offset += slot.length;
        }
    }
    return true;
}

} // namespace

std::filesystem::path TemporaryFolder()
{
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return std::filesystem::path(tmp);
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : folder;
}

StyleMidiOutcome ExportStyleToMidi(const StyleMidiExport& job, const std::filesystem::path& folder, StyUiPort& port,
                                   bool& yesToAll)
{
    if (!job.style) return StyleMidiOutcome::Failed;
    const bool qe = job.model == 'F' || job.model == 'X';
    return qe ? exportQe(job, folder, port, yesToAll) : exportWq(job, folder, port, yesToAll);
}

std::optional<StylePlayback> BuildStylePlayback(const CStyItem& style, uint32_t model,
                                                const std::filesystem::path& tempFolder, bool percussionOnDrumChannel,
                                                StyUiPort& port)
{
    StylePlayback playback;
    playback.reader = std::make_unique<CStyleMidiReader>();
    CStyleMidiReader& reader = *playback.reader;
    reader.ResetElements();
    reader.playPercussionOnDrumChannel = percussionOnDrumChannel;
    const bool qe = model == 'F' || model == 'X';
    const bool filled = qe ? fillQe(style, reader) : fillWq(style, model, tempFolder, percussionOnDrumChannel, port, reader);
    if (!filled) {
        reader.Clear();
        return std::nullopt;
    }
    playback.title = style.NameText().substr(0, 16);
    return playback;
}

} // namespace zib
