#include "styles/CQeStyleInfo.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "midi/CMidiFileParser.h"
#include "platform/FileIo.h"
#include "styles/StringPrintf.h"
#include "styles/StyleSeriesTraits.h"
#include "ulvarf/ulvarf.h"

namespace zib {

namespace {

constexpr uint8_t kMaxKey = 11;
constexpr uint8_t kMaxChord = 21;
constexpr uint8_t kMaxMode = 2;
// The converter's error text in the message box is cut to 80 characters.
constexpr size_t kConverterTextSize = 81;

struct ResInstanceDeleter {
    void operator()(ULRFResInstance* r) const { _ULRFDelResInstance(r); }
};
struct EditorDeleter {
    void operator()(ULStEEditor* e) const { _ULStEDeleteInstance(e); }
};
using EditorHandle = std::unique_ptr<ULStEEditor, EditorDeleter>;

// A style editor over the serialised resource; null when the library refuses it.
EditorHandle OpenEditor(std::span<const uint8_t> resource)
{
    if (resource.empty() || resource.size() > std::numeric_limits<uint32_t>::max()) return nullptr;
    std::unique_ptr<ULRFResInstance, ResInstanceDeleter> instance(
        _ULRFCreateResInstance(resource.data(), uint32_t(resource.size())));
    if (!instance) return nullptr;
    return EditorHandle(_ULStECreateInstance(instance.get()));
}

uint8_t ClampedOrZero(uint8_t value, uint8_t max)
{
    return value > max ? 0 : value;
}

} // namespace

CQeStyleInfo::CQeStyleInfo()
{
    for (auto& r : rangeLow_)
        r.fill(kLowestNote);
    for (auto& r : rangeHigh_)
        r.fill(kHighestNote);
}

CQeStyleInfo::CQeStyleInfo(std::span<const uint8_t> styleResource) : CQeStyleInfo()
{
    styleData_.assign(styleResource.begin(), styleResource.end());
    Fill();
}

bool CQeStyleInfo::ValidCv(int element, int cv)
{
    return element >= 0 && element < kElementCount && cv >= 0 && cv < StyleSeriesTraits::CvCountOf(element);
}

// The snapshot, asked of the library for every element and CV in range;
// absent ones answer with their defaults and are not marked present.
void CQeStyleInfo::Fill()
{
    EditorHandle editor = OpenEditor(styleData_);
    if (!editor) return;
    ULStEEditor* h = editor.get();

    // Presence
    for (int e = 0; e < kElementCount; ++e) {
        if (!_ULStEQueryStyleElem(h, e)) continue;
        elementMask_ |= uint16_t(1u << e);
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv) {
            if (!_ULStEQueryChordVar(h, e, cv)) continue;
            cvMasks_[size_t(e)] |= uint8_t(1u << cv);
            for (int t = 0; t < kTrackCount; ++t)
                if (_ULStEQueryPattern(h, e, cv, t)) trackMasks_[CvIndex(e, cv)] |= uint8_t(1u << t);
        }
    }

    // Tensions (any non-zero value counts as on) and track modes
    for (int t = 0; t < kTrackCount; ++t) {
        uint8_t tension = 0;
        _ULStEGetTrackTension(h, t, &tension);
        if (tension) tensionBits_ |= uint8_t(1u << t);
    }
    for (int t = 0; t < kTrackCount; ++t) {
        uint8_t mode = 0;
        _ULStEGetTrackMode(h, t, &mode);
        modeWord_ |= uint16_t(std::min(mode, kMaxMode) << (2 * t));
    }

    // Element settings
    for (int e = 0; e < kElementCount; ++e) {
        uint8_t ntt = 0;
        _ULStEGetNTT(h, e, &ntt);
        ntt_[size_t(e)] = ClampedOrZero(ntt, kMaxNtt);
        const uint8_t lastCv = uint8_t(StyleSeriesTraits::CvCountOf(e) - 1);
        for (int i = 0; i < kChordTypeCount; ++i) {
            uint8_t cv = 0;
            _ULStEGetChordAssign(h, e, i, &cv);
            chordAssign_[size_t(e)][size_t(i)] = ClampedOrZero(cv, lastCv);
        }
        for (int t = 0; t < kTrackCount; ++t) {
            uint8_t low = 0, high = 0;
            _ULStEGetTrackKBRangeLow(h, e, t, &low);
            _ULStEGetTrackKBRangeHigh(h, e, t, &high);
            const KeyboardRange range = ValidKeyboardRange(low, high);
            rangeLow_[size_t(e)][size_t(t)] = range.low;
            rangeHigh_[size_t(e)][size_t(t)] = range.high;
        }
        for (int t = 0; t < kTrackCount; ++t) {
            uint32_t program = 0;
            _ULStEGetTrackProgram(h, e, t, &program);
            program_[size_t(e)][size_t(t)] = program;
        }
    }

    // Key and chord of each CV: those of its first BASS or ACC pattern with data
    for (int e = 0; e < kElementCount; ++e)
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv)
            for (int t = 2; t < kTrackCount; ++t) {
                if (_ULStEQueryPattern(h, e, cv, t) != 2) continue;
                uint8_t chord = 0, key = 0;
                _ULStEGetTrackChord(h, e, cv, t, &chord);
                _ULStEGetTrackKey(h, e, cv, t, &key);
                cvChord_[CvIndex(e, cv)] = ClampedOrZero(chord, kMaxChord);
                cvKey_[CvIndex(e, cv)] = ClampedOrZero(key, kMaxKey);
                break;
            }

    // Key and chord of every pattern
    for (int e = 0; e < kElementCount; ++e)
        for (int cv = 0; cv < StyleSeriesTraits::CvCountOf(e); ++cv)
            for (int t = 0; t < kTrackCount; ++t) {
                uint8_t chord = 0, key = 0;
                _ULStEGetTrackChord(h, e, cv, t, &chord);
                _ULStEGetTrackKey(h, e, cv, t, &key);
                trackChord_[CvIndex(e, cv)][size_t(t)] = ClampedOrZero(chord, kMaxChord);
                trackKey_[CvIndex(e, cv)][size_t(t)] = ClampedOrZero(key, kMaxKey);
            }
}

// ---- Accessors --------------------------------------------------------------

int CQeStyleInfo::HasChordVar(int element, int cv) const
{
    return ValidCv(element, cv) && (cvMasks_[size_t(element)] >> cv & 1) ? 1 : 0;
}

int CQeStyleInfo::HasTrack(int element, int cv, int track) const
{
    if (!ValidCv(element, cv) || track < 0 || track >= kTrackCount) return 0;
    return trackMasks_[CvIndex(element, cv)] >> track & 1;
}

uint8_t CQeStyleInfo::GetTrackByte(int element) const
{
    return element >= 0 && element < kElementCount ? ntt_[size_t(element)] : 0;
}

uint8_t CQeStyleInfo::GetSeTrackByte(int element, int i) const
{
    if (element < 0 || element >= kElementCount || i < 0 || i >= kChordTypeCount) return 0;
    return chordAssign_[size_t(element)][size_t(i)];
}

uint8_t CQeStyleInfo::GetSeTrackByteA(int element, int track) const
{
    if (element < 0 || element >= kElementCount || track < 0 || track >= kTrackCount) return kLowestNote;
    return rangeLow_[size_t(element)][size_t(track)];
}

uint8_t CQeStyleInfo::GetSeTrackByteB(int element, int track) const
{
    if (element < 0 || element >= kElementCount || track < 0 || track >= kTrackCount) return kHighestNote;
    return rangeHigh_[size_t(element)][size_t(track)];
}

uint32_t CQeStyleInfo::GetSeTrackDword(int element, int track) const
{
    if (element < 0 || element >= kElementCount || track < 0 || track >= kTrackCount) return 0;
    return program_[size_t(element)][size_t(track)];
}

uint8_t CQeStyleInfo::GetCvChord(int element, int cv) const
{
    return ValidCv(element, cv) ? cvChord_[CvIndex(element, cv)] : 0;
}

uint8_t CQeStyleInfo::GetCvKey(int element, int cv) const
{
    return ValidCv(element, cv) ? cvKey_[CvIndex(element, cv)] : 0;
}

uint8_t CQeStyleInfo::GetCvTrackByteA(int element, int cv, int track) const
{
    if (!ValidCv(element, cv) || track < 0 || track >= kTrackCount) return 0;
    return trackChord_[CvIndex(element, cv)][size_t(track)];
}

uint8_t CQeStyleInfo::GetCvTrackByteB(int element, int cv, int track) const
{
    if (!ValidCv(element, cv) || track < 0 || track >= kTrackCount) return 0;
    return trackKey_[CvIndex(element, cv)][size_t(track)];
}

CQeStyleInfo::KeyboardRange CQeStyleInfo::ValidKeyboardRange(int low, int high)
{
    if (low < kLowestNote || low > kHighestNote) low = kLowestNote;
    if (high < kLowestNote || high > kHighestNote) high = kHighestNote;
    if (high < low) return {kLowestNote, kHighestNote};
    return {uint8_t(low), uint8_t(high)};
}

std::string CQeStyleInfo::GetKeyChordName(int key, int chord)
{
    const auto keys = StyleKeyNames();
    const auto chords = QeStyleSeries().chordNames;
    if (key < 0 || size_t(key) >= keys.size() || chord < 0 || size_t(chord) >= chords.size()) {
        key = 0;
        chord = 0;
    }
    return std::string(keys[size_t(key)]) + chords[size_t(chord)];
}

// ---- CV export ----------------------------------------------------------------

int CQeStyleInfo::CreateMidiFromQeCvOrTrack(int element, int cv, int /*track*/,
                                            const std::filesystem::path& fileName, int makerSysex)
{
    lastMessage_.reset();
    if (!ValidCv(element, cv)) return 0;
    EditorHandle editor = OpenEditor(styleData_);
    if (!editor) return 0;

    // The CV as the library renders it: format 0, all eight tracks.
    const int size = _ULStEExportSmfPrepare(editor.get(), element, cv);
    if (size <= 0) return 0;
    std::vector<uint8_t> image;
    try {
        image.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!_ULStEExportSmfFill(editor.get(), image.data(), uint32_t(image.size()))) return 0;
    editor.reset();

    // One track per used channel.
    CMidiFileParser converter;
    uint32_t convertedSize = 0;
    std::vector<uint8_t> converted;
    int rc = converter.GetConvertedSize(image.data(), uint32_t(image.size()), convertedSize, makerSysex == 1);
    if (rc == 0) {
        try {
            converted.resize(convertedSize);
        } catch (const std::bad_alloc&) {
            rc = CMidiFileParser::kCannotAllocateBuffer;
        }
    }
    if (rc == 0)
        rc = converter.ConvertFormat(image.data(), uint32_t(image.size()), converted.data(), convertedSize,
                                     makerSysex == 1);
    if (rc != 0) {
        char text[kConverterTextSize] = {};
        converter.ReportError(text, sizeof text, rc);
        lastMessage_ = QeCvExportMessage{StringPrintf("ERROR! %s", text), "CreateMidiFromQeCvOrTrack",
                                         QeCvExportMessage::Icon::Exclamation};
        return 0;
    }

    const FileIoError written = writeFileAtomically(fileName, converted);
    if (written != FileIoError::None) {
        lastMessage_ = QeCvExportMessage{StringPrintf("Cannot open file - %d", int(written)),
                                         "CreateMidiFromQeCvOrTr", QeCvExportMessage::Icon::Stop};
        return 0;
    }
    return 1;
}

} // namespace zib
