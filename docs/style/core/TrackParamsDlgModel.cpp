#include "docs/style/core/TrackParamsDlgModel.h"

#include "docs/style/core/QeStyleEditor.h"
#include "midi/ValueTexts.h"

#include <charconv>

namespace zib {

TrackParamsDlgModel::TrackParamsDlgModel(QeStyleEditor& editor, int element, std::string styleName)
    : editor_(editor), element_(element), name_(std::move(styleName)), version_(editor.QeVersion()),
      signature_(editor.Signature(element)), sounds_(QeSoundList::ForSeries(QeSoundList::SeriesOfVersion(version_)))
{
    for (int t = 0; t < kTracks; ++t) {
        Row& r = rows_[size_t(t)];
        r.program = r.newProgram = editor.TrackProgram(element, t);
        r.expression = editor.TrackExpression(element, t);
        r.high = editor.TrackKBRangeHigh(element, t);
        r.low = editor.TrackKBRangeLow(element, t);
    }
}

std::string TrackParamsDlgModel::ElementName() const
{
    return GetQeElementName(element_);
}

std::string TrackParamsDlgModel::TactText(uint8_t s)
{
    static constexpr const char* kDenominators[] = {"1", "2", "4", "8", "16"};
    if (s >= 0x50) return "?/?";
    return std::to_string((s & 0x0F) + 1) + "/" + kDenominators[s >> 4];
}

std::vector<std::string> TrackParamsDlgModel::NoteTexts()
{
    std::vector<std::string> notes;
    for (int n = kLowestNote; n <= kHighestNote; ++n)
        notes.push_back(FormatNoteName(n, -1));
    return notes;
}

int TrackParamsDlgModel::NoteIndex(uint8_t note)
{
    return note >= kLowestNote && note <= kHighestNote ? note - kLowestNote : -1;
}

void TrackParamsDlgModel::SoundChanged(int track, int index)
{
    if (index >= 0 && size_t(index) < sounds_.Size()) rows_[size_t(track)].newProgram = sounds_.At(size_t(index)).value;
}

bool TrackParamsDlgModel::SoundChosen(int track, uint32_t value)
{
    Row& r = rows_[size_t(track)];
    if (value == r.newProgram) return false;
    r.newProgram = value;
    return true;
}

std::array<std::string, 3> TrackParamsDlgModel::SoundBytes(int track) const
{
    const uint32_t v = rows_[size_t(track)].newProgram;
    return {std::to_string(SoundMsb(v)), std::to_string(SoundLsb(v)), std::to_string(SoundProgram(v))};
}

int TrackParamsDlgModel::ParseExpression(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return -1;
    const char* begin = text.data() + first;
    const char* end = text.data() + text.size();
    long value = 0;
    const auto [p, ec] = std::from_chars(begin, end, value);
    if (ec == std::errc::result_out_of_range) return *begin == '-' ? 0 : 127;
    if (ec != std::errc() || p == begin) return -1;
    return int(value < 0 ? 0 : value > 127 ? 127 : value);
}

TrackParamsDlgModel::Controls TrackParamsDlgModel::ControlsAtStart() const
{
    Controls c;
    for (int t = 0; t < kTracks; ++t) {
        const size_t i = size_t(t);
        c.sound[i] = SoundIndex(t);
        c.expression[i] = std::to_string(rows_[i].expression);
        c.low[i] = NoteIndex(rows_[i].low);
        c.high[i] = NoteIndex(rows_[i].high);
    }
    return c;
}

int TrackParamsDlgModel::Ok(const Controls& c)
{
    std::array<uint32_t, kTracks> programs{};
    std::array<uint8_t, kTracks> expressions{}, lows{}, highs{};
    bool programsChanged = false, expressionsChanged = false, lowsChanged = false, highsChanged = false;
    for (int t = 0; t < kTracks; ++t) {
        const Row& r = rows_[size_t(t)];
        const int sound = c.sound[size_t(t)];
        programs[size_t(t)] = sound >= 0 && size_t(sound) < sounds_.Size() ? sounds_.At(size_t(sound)).value
                                                                            : r.program;
        const int expression = ParseExpression(c.expression[size_t(t)]);
        expressions[size_t(t)] = expression < 0 ? r.expression : uint8_t(expression);
        const int low = c.low[size_t(t)], high = c.high[size_t(t)];
        lows[size_t(t)] = low >= 0 && low <= kHighestNote - kLowestNote ? uint8_t(kLowestNote + low) : r.low;
        highs[size_t(t)] = high >= 0 && high <= kHighestNote - kLowestNote ? uint8_t(kLowestNote + high) : r.high;
        programsChanged |= programs[size_t(t)] != r.program;
        expressionsChanged |= expressions[size_t(t)] != r.expression;
        lowsChanged |= lows[size_t(t)] != r.low;
        highsChanged |= highs[size_t(t)] != r.high;
    }
    auto writeAll = [&](bool changed, auto write) {
        if (!changed) return;
        for (int t = 0; t < kTracks; ++t)
            write(element_, t);
        modified = 1;
    };
    writeAll(programsChanged, [&](int e, int t) { editor_.SetTrackProgram(e, t, programs[size_t(t)]); });
    writeAll(expressionsChanged, [&](int e, int t) { editor_.SetTrackExpression(e, t, expressions[size_t(t)]); });
    writeAll(lowsChanged, [&](int e, int t) { editor_.SetTrackKBRangeLow(e, t, lows[size_t(t)]); });
    writeAll(highsChanged, [&](int e, int t) { editor_.SetTrackKBRangeHigh(e, t, highs[size_t(t)]); });

    if (c.applyToAll) {
        const int elements = version_ == 1 ? 12 : 10;
        for (int e = 0; e < elements; ++e) {
            // An absent element keeps nothing (the file has no place for it);
            // its track records are not read either, which would make it.
            if (e == element_ || editor_.QueryStyleElem(e) == 0) continue;
            for (int t = 0; t < kTracks; ++t) {
                const size_t i = size_t(t);
                auto update = [&](auto current, auto wanted, auto write) {
                    if (current == wanted) return;
                    write();
                    modified = 1;
                };
                update(editor_.TrackProgram(e, t), programs[i], [&] { editor_.SetTrackProgram(e, t, programs[i]); });
                update(editor_.TrackExpression(e, t), expressions[i],
                       [&] { editor_.SetTrackExpression(e, t, expressions[i]); });
                update(editor_.TrackKBRangeLow(e, t), lows[i], [&] { editor_.SetTrackKBRangeLow(e, t, lows[i]); });
                update(editor_.TrackKBRangeHigh(e, t), highs[i], [&] { editor_.SetTrackKBRangeHigh(e, t, highs[i]); });
            }
        }
    }
    return modified;
}

} // namespace zib
