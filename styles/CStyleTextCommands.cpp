#include "styles/CStyleTextCommands.h"

#include <cstdarg>

#include "midi/ValueTexts.h"
#include "styles/StyleConvertError.h"

namespace zib {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimLeading(std::string_view s)
{
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    return s;
}

std::string_view trimTrailing(std::string_view s)
{
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view trim(std::string_view s) { return trimTrailing(trimLeading(s)); }

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// Index of `text` in `names` (compared without regard to case), or -1.
int findNoCase(std::span<const char* const> names, std::string_view text)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (equalsNoCase(names[i], text)) return int(i);
    return -1;
}

int findExact(std::span<const char* const> names, std::string_view text)
{
    for (size_t i = 0; i < names.size(); ++i)
        if (text == names[i]) return int(i);
    return -1;
}

// "1" .. "max" as exact text, or -1.
int smallNumber(std::string_view text, int max)
{
    for (int v = 1; v <= max; ++v)
        if (text == std::to_string(v)) return v;
    return -1;
}

// The text after the first colon.
std::string_view argumentOf(std::string_view text)
{
    size_t colon = text.find(':');
    return colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
}

// Splits at the first comma; false when there is none.
bool splitAtComma(std::string_view s, std::string_view& first, std::string_view& rest)
{
    size_t comma = s.find(',');
    if (comma == std::string_view::npos) return false;
    first = trim(s.substr(0, comma));
    rest = trim(s.substr(comma + 1));
    return true;
}

constexpr int kNoteRangeLow = 21;
constexpr int kNoteRangeHigh = 108;

} // namespace

CStyleTextCommands::CStyleTextCommands(const StyleSeriesTraits& traits, CConversionLog& log) : traits_(traits), log_(log)
{
    Reset(StyleCommandSettings{});
}

void CStyleTextCommands::Reset(const StyleCommandSettings& settings)
{
    settings_ = settings;
    state_ = StyleCommandState{};
    state_.elementStartMeasure.fill(-1);
    for (auto& cvs : state_.firstMeasure) for (auto& tracks : cvs) tracks.fill(-1);
    for (auto& cvs : state_.lastMeasure) for (auto& tracks : cvs) tracks.fill(-1);
    for (auto& cvs : state_.trackKey) for (auto& tracks : cvs) tracks.fill(-1);
    for (auto& cvs : state_.trackChord) for (auto& tracks : cvs) tracks.fill(-1);
    state_.rflag = traits_.defaultRflag;
    state_.tension = traits_.defaultTension;
    state_.shiftup.fill(7);
    for (auto& tracks : state_.rangeLow) tracks.fill(kNoteRangeLow);
    for (auto& tracks : state_.rangeHigh) tracks.fill(kNoteRangeHigh);
}

// Messages: every line starts with the position prefix; errors and warnings
// are counted whether or not the log has a sink.

void CStyleTextCommands::Error(const StyleEventPosition& pos, const char* format, ...)
{
    ++state_.errors;
    va_list args;
    va_start(args, format);
    log_.AtV(pos, format, args);
    va_end(args);
}

void CStyleTextCommands::Warning(const StyleEventPosition& pos, const char* format, ...)
{
    ++state_.warnings;
    va_list args;
    va_start(args, format);
    log_.AtV(pos, format, args);
    va_end(args);
}

void CStyleTextCommands::Info(const StyleEventPosition& pos, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    log_.AtV(pos, format, args);
    va_end(args);
}

// Dispatching

int CStyleTextCommands::Dispatch(const StyleEventPosition& pos, uint8_t metaType, std::span<const uint8_t> text)
{
    return Dispatch(pos, metaType, std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
}

int CStyleTextCommands::Dispatch(const StyleEventPosition& pos, uint8_t metaType, std::string_view raw)
{
    if (metaType != 1 && metaType != 5 && metaType != 6 && metaType != 7) {
        Info(pos, "Unrecognized Text Meta| Type = 0x%02x, len=%lu\n", metaType, (unsigned long)raw.size());
        return 0;
    }
    if (raw.size() > kMaxTextLength) return 0;
    std::string text(traits_.trimsWholeText ? trim(raw) : raw);

    size_t colon = text.find(':');
    if (colon == std::string::npos) {
        if (traits_.series == StyleSeries::Qe) Info(pos, "Wrong or unrecognized meta text event: %s\n", text.c_str());
        else Info(pos, "Wrong meta text event: %s\n", text.c_str());
        return 0;
    }
    std::string_view command = std::string_view(text).substr(0, colon);
    int slot = findNoCase(traits_.commandNames, command);
    switch (slot) {
    case 0: return OnName(pos, text);
    case 1: return OnRflag(pos, text);
    case 2: return OnTensionOff(pos, text);
    case 3: return OnElement(pos, text);
    case 4: return OnCv(pos, text);
    case 5: return traits_.series == StyleSeries::Qe ? OnRange(pos, text) : 0;
    case 6: return OnTable(pos, text);
    case 7: return traits_.series == StyleSeries::Qe ? OnNtt(pos, text) : 0;
    case 8: return traits_.slot8 == StyleSlot8Command::Shiftup ? OnShiftup(pos, text) : OnKeyChord(pos, text);
    default:
        Warning(pos, "Warning: Unprocessed meta text event: %s\n", text.c_str());
        return 0;
    }
}

void CStyleTextCommands::FinishLastCv(int highestEndMeasure)
{
    int e = state_.currentElement, cv = state_.currentCv;
    if (e < 0 || cv < 0) return;
    for (int t = 0; t < traits_.TrackCount(); ++t) state_.lastMeasure[size_t(e)][size_t(cv)][size_t(t)] = highestEndMeasure;
}

std::string CStyleTextCommands::StyleNameForModel(char model) const
{
    size_t width = traits_.series == StyleSeries::Qe ? 18 : (model == 'I' || model == 'M') ? 16 : 10;
    return state_.styleName.substr(0, width);
}

// Argument pieces

CStyleTextCommands::TrackPiece CStyleTextCommands::ParseTrack(std::string_view piece, int& track) const
{
    int channel = smallNumber(piece, 16);
    if (channel > 0) {
        track = traits_.TrackOfChannel(channel);
        return track >= 0 ? TrackPiece::Ok : TrackPiece::WrongChannel;
    }
    track = findNoCase(traits_.trackNames, piece);
    return track >= 0 ? TrackPiece::Ok : TrackPiece::Wrong;
}

// Key and chord as in "A# min7": the key is the first of B, A#, A ... C# , C
// found anywhere in the argument (case-sensitive); the chord is what follows
// as many characters as the key name has.
CStyleTextCommands::KeyChordError CStyleTextCommands::ParseKeyChord(std::string_view argument, KeyChord& out) const
{
    auto keys = StyleKeyNames();
    for (int k = int(keys.size()) - 1; k >= 0; --k) {
        std::string_view name = keys[size_t(k)];
        if (argument.find(name) == std::string_view::npos) continue;
        out.key = k;
        std::string_view chord = trim(argument.substr(std::min(name.size(), argument.size())));
        if (chord.empty()) return KeyChordError::NoChord;
        out.chord = findNoCase(traits_.chordNames, chord);
        return out.chord < 0 ? KeyChordError::Chord : KeyChordError::None;
    }
    return KeyChordError::Key;
}

bool CStyleTextCommands::IsElementStart(const StyleEventPosition& pos) const
{
    int e = state_.currentElement;
    return e >= 0 && pos.IsBarStart() && pos.measure == state_.elementStartMeasure[size_t(e)];
}

// Handlers

int CStyleTextCommands::OnName(const StyleEventPosition& pos, const std::string& text)
{
    if (!pos.IsFileStart()) return int(StyleConvertError::NameWrongPlace);
    std::string_view name = trim(argumentOf(text));
    state_.styleName = name.empty() ? std::string("NewStyle") : std::string(name);
    Info(pos, "Name text cmd found: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnRflag(const StyleEventPosition& pos, const std::string& text)
{
    if (!pos.IsFileStart()) {
        Error(pos, "Error: Rflag text cmd found at wrong place: %s\n", text.c_str());
        return 0;
    }
    std::string_view trackPiece, flagPiece;
    if (!splitAtComma(trimLeading(argumentOf(text)), trackPiece, flagPiece)) {
        Error(pos, "Error: Wrong Rflag text cmd: %s\n", text.c_str());
        return 0;
    }
    int track = -1;
    TrackPiece parsed = ParseTrack(trackPiece, track);
    if (parsed == TrackPiece::WrongChannel) {
        Error(pos, "Error: Wrong Channel parameter in Rflag text cmd: %s\n", text.c_str());
        return 0;
    }
    int flag = -1;
    if (flagPiece.size() == 1) {
        char letter = lower(flagPiece[0]);
        bool qe = traits_.series == StyleSeries::Qe;
        if (letter == 's') flag = 0;
        else if (letter == 't') flag = 1;
        else if (letter == 'p') flag = qe ? 2 : 1;
    }
    if (parsed != TrackPiece::Ok || flag < 0) {
        Error(pos, "Error: Wrong Rflag text cmd: %s\n", text.c_str());
        return 0;
    }
    state_.rflag[size_t(track)] = flag;
    Info(pos, "Rflag text cmd found: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnTensionOff(const StyleEventPosition& pos, const std::string& text)
{
    if (!pos.IsFileStart()) {
        Error(pos, "Error: TensionOFF text cmd found at wrong place: %s\n", text.c_str());
        return 0;
    }
    int track = -1;
    TrackPiece parsed = ParseTrack(trim(argumentOf(text)), track);
    if (parsed == TrackPiece::WrongChannel) {
        Error(pos, "Error: Wrong Channel parameter in TensionOFF text cmd: %s\n", text.c_str());
        return 0;
    }
    if (parsed != TrackPiece::Ok) {
        Error(pos, "Error: Wrong TensionOFF text cmd: %s\n", text.c_str());
        return 0;
    }
    state_.tension[size_t(track)] = 0;
    Info(pos, "TensionOFF text cmd found: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnElement(const StyleEventPosition& pos, const std::string& text)
{
    if (!pos.IsBarStart()) {
        Error(pos, "Error: Style Element text cmd found at wrong place: %s\n", text.c_str());
        return 0;
    }
    int element = findNoCase(traits_.elementNames, trim(argumentOf(text)));
    if (element < 0) {
        Error(pos, "Error: Wrong Element text cmd: %s\n", text.c_str());
        return 0;
    }
    if (state_.elementFound[size_t(element)]) {
        Error(pos, "Error: Style Element %s already found\n", text.c_str());
        return 0;
    }
    state_.previousElement = state_.currentElement;
    state_.currentElement = element;
    state_.elementFound[size_t(element)] = true;
    state_.previousCv = state_.currentCv;
    state_.currentCv = -1;
    state_.elementStartMeasure[size_t(element)] = pos.measure;
    if (traits_.series == StyleSeries::Qe && element >= 10) state_.extendedStyle = true;
    Info(pos, "Element text cmd found: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnCv(const StyleEventPosition& pos, const std::string& text)
{
    int e = state_.currentElement;
    if (e < 0) {
        Error(pos, "Error: CV text cmd found at undefined SE: %s\n", text.c_str());
        return 0;
    }
    if (!pos.IsBarStart()) {
        Error(pos, "Error: CV text cmd found out of first tick: %s\n", text.c_str());
        return 0;
    }
    int cv = state_.currentCv + 1;
    if (cv >= StyleSeriesTraits::CvCountOf(e)) {
        StyleEventPosition barStart{pos.absTick, pos.measure, 0, 0};
        Error(barStart, "Error: Found too many CVs (%d) per SE type: %s\n", cv, traits_.elementNames[size_t(e)]);
        return 0;
    }

    int code = 0;
    std::string_view argument = trim(argumentOf(text));
    if (settings_.keyChordFromFile) {
        if (argument.empty()) {
            Error(pos, "Error: CV text cmd incorrect: %s\n", text.c_str());
            return 0;
        }
        if (traits_.series == StyleSeries::Wq) {
            code = findNoCase(WqCvKeyNames(), argument);
            if (code < 0) {
                Error(pos, "Error: CV text cmd incorrect: %s\n", text.c_str());
                return 0;
            }
        } else {
            KeyChord keyChord;
            switch (ParseKeyChord(argument, keyChord)) {
            case KeyChordError::Key:
                Info(pos, "Error: CV text cmd has incorrect key: %s\n", text.c_str());
                return int(StyleConvertError::IncorrectCv);
            case KeyChordError::NoChord:
                Info(pos, "Error: CV text cmd without chord parameter: %s\n", text.c_str());
                return int(StyleConvertError::IncorrectCv);
            case KeyChordError::Chord:
                Info(pos, "Error: CV text cmd has incorrect Chord: %s\n", text.c_str());
                return int(StyleConvertError::IncorrectCv);
            case KeyChordError::None:
                break;
            }
            code = keyChord.key * StyleCommandState::kChords + keyChord.chord;
        }
    }

    // The CV before this one ends in the previous measure.
    for (int t = 0; t < traits_.TrackCount(); ++t) {
        if (cv == 0) {
            if (state_.previousElement >= 0 && state_.previousCv >= 0)
                state_.lastMeasure[size_t(state_.previousElement)][size_t(state_.previousCv)][size_t(t)] = pos.measure - 1;
        } else {
            state_.lastMeasure[size_t(e)][size_t(state_.currentCv)][size_t(t)] = pos.measure - 1;
        }
        state_.firstMeasure[size_t(e)][size_t(cv)][size_t(t)] = pos.measure;
    }
    if (state_.currentCv != -1) state_.previousCv = state_.currentCv;
    state_.currentCv = cv;

    if (settings_.keyChordFromFile) {
        state_.cvChord[size_t(e)][size_t(cv)] = code;
        Info(pos, "CV text cmd found: %s\n", text.c_str());
    } else {
        Info(pos, "CV text cmd found: %s. Command not parsed as User-Defined determination is set\n", text.c_str());
    }
    return 0;
}

int CStyleTextCommands::OnRange(const StyleEventPosition& pos, const std::string& text)
{
    int e = state_.currentElement;
    if (e < 0) {
        Error(pos, "Error: Range text cmd found at undefined SE: %s\n", text.c_str());
        return 0;
    }
    if (!IsElementStart(pos)) {
        Error(pos, "Error: Range text cmd found at wrong place: %s\n", text.c_str());
        return 0;
    }
    std::string_view trackPiece, notes, lowPiece, highPiece;
    if (!splitAtComma(trimLeading(argumentOf(text)), trackPiece, notes) || !splitAtComma(notes, lowPiece, highPiece)) {
        Error(pos, "Error: Wrong Range text cmd: %s\n", text.c_str());
        return 0;
    }
    int track = -1;
    TrackPiece parsed = ParseTrack(trackPiece, track);
    if (parsed == TrackPiece::WrongChannel) {
        Error(pos, "Error: Wrong Channel parameter in Range text cmd: %s\n", text.c_str());
        return 0;
    }
    auto noteOf = [](std::string_view name) {
        for (int n = kNoteRangeLow; n <= kNoteRangeHigh; ++n)
            if (equalsNoCase(FormatNoteName(n, -1), name)) return n;
        return -1;
    };
    int low = noteOf(lowPiece), high = noteOf(highPiece);
    if (parsed != TrackPiece::Ok || low < 0 || high < 0) {
        Error(pos, "Error: Wrong Range text cmd: %s\n", text.c_str());
        return 0;
    }
    state_.rangeLow[size_t(e)][size_t(track)] = low;
    state_.rangeHigh[size_t(e)][size_t(track)] = high;
    Info(pos, "Range text cmd found: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnTable(const StyleEventPosition& pos, const std::string& text)
{
    if (!settings_.chordTableFromFile) {
        Info(pos, "Table text cmd found: %s. Command not parsed as User-Defined determination is set\n", text.c_str());
        return 0;
    }
    int e = state_.currentElement;
    if (e < 0) {
        Error(pos, "Error: Table text cmd found at undefined SE: %s\n", text.c_str());
        return 0;
    }
    std::string_view chordPiece, numberPiece;
    int chord = -1, number = -1;
    if (splitAtComma(trimLeading(argumentOf(text)), chordPiece, numberPiece)) {
        chord = findExact(traits_.chordNames, chordPiece);
        number = smallNumber(numberPiece, 6);
    }
    // A CV the element does not have would make a chord table that names it.
    if (chord < 0 || number < 0 || number > StyleSeriesTraits::CvCountOf(e)) {
        Error(pos, "Error: Wrong Table text cmd: %s\n", text.c_str());
        return 0;
    }
    state_.chordTable[size_t(e)][size_t(chord)] = number - 1;
    if (IsElementStart(pos)) Info(pos, "Table text cmd found: %s\n", text.c_str());
    else Warning(pos, "Warning: Table text cmd found at wrong place: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnNtt(const StyleEventPosition& pos, const std::string& text)
{
    int e = state_.currentElement;
    if (e < 0) {
        Error(pos, "Error: NTT text cmd found at undefined SE: %s\n", text.c_str());
        return 0;
    }
    int value = smallNumber(trim(argumentOf(text)), 4);
    if (value < 0) {
        Error(pos, "Error: Wrong NTT text cmd: %s\n", text.c_str());
        return 0;
    }
    state_.ntt[size_t(e)] = value - 1;
    if (IsElementStart(pos)) Info(pos, "NTT text cmd found: %s\n", text.c_str());
    else Warning(pos, "Warning: NTT text cmd found at wrong place: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnShiftup(const StyleEventPosition& pos, const std::string& text)
{
    if (!pos.IsFileStart()) {
        Error(pos, "Error: Shiftup text cmd found at wrong place: %s\n", text.c_str());
        return 0;
    }
    std::string_view trackPiece, valuePiece;
    if (!splitAtComma(trimLeading(argumentOf(text)), trackPiece, valuePiece)) {
        Error(pos, "Error: Wrong Shiftup text cmd: %s\n", text.c_str());
        return 0;
    }
    int track = -1;
    TrackPiece parsed = ParseTrack(trackPiece, track);
    if (parsed == TrackPiece::WrongChannel) {
        Error(pos, "Error: Wrong Channel parameter in Shiftup text cmd: %s\n", text.c_str());
        return 0;
    }
    int value = smallNumber(valuePiece, 12);
    if (parsed != TrackPiece::Ok || value < 0) {
        Error(pos, "Error: Wrong Shiftup text cmd: %s\n", text.c_str());
        return 0;
    }
    state_.shiftup[size_t(track)] = value - 1;
    Info(pos, "Shiftup text cmd found: %s\n", text.c_str());
    return 0;
}

int CStyleTextCommands::OnKeyChord(const StyleEventPosition& pos, const std::string& text)
{
    int e = state_.currentElement, cv = state_.currentCv;
    if (e < 0) {
        Warning(pos, "Warning: KeyChord text cmd found at undefined SE: %s --- IGNORED\n", text.c_str());
        return 0;
    }
    if (cv < 0) {
        Warning(pos, "Warning: KeyChord text cmd found at undefined CV: %s --- IGNORED\n", text.c_str());
        return 0;
    }
    if (!pos.IsBarStart()) {
        Warning(pos, "Warning: KeyChord text cmd found out of first tick: %s --- IGNORED\n", text.c_str());
        return 0;
    }
    std::string_view trackPiece, keyChordPiece;
    if (!splitAtComma(trimLeading(argumentOf(text)), trackPiece, keyChordPiece)) {
        Error(pos, "Error: Wrong KeyChord text cmd: %s\n", text.c_str());
        return 0;
    }
    int track = -1;
    TrackPiece parsed = ParseTrack(trackPiece, track);
    if (parsed == TrackPiece::WrongChannel) {
        Error(pos, "Error: Wrong Channel parameter in KeyChord text cmd: %s\n", text.c_str());
        return 0;
    }
    if (parsed != TrackPiece::Ok) {
        Error(pos, "Error: Wrong KeyChord text cmd: %s\n", text.c_str());
        return 0;
    }
    KeyChord keyChord;
    switch (ParseKeyChord(keyChordPiece, keyChord)) {
    case KeyChordError::Key:
        Error(pos, "Error: KeyChord text cmd has incorrect key: %s\n", text.c_str());
        return 0;
    case KeyChordError::NoChord:
        Error(pos, "Error: KeyChord text cmd without chord parameter: %s\n", text.c_str());
        return 0;
    case KeyChordError::Chord:
        Error(pos, "Error: KeyChord text cmd has incorrect Chord: %s\n", text.c_str());
        return 0;
    case KeyChordError::None:
        break;
    }
    state_.trackKey[size_t(e)][size_t(cv)][size_t(track)] = keyChord.key;
    state_.trackChord[size_t(e)][size_t(cv)][size_t(track)] = keyChord.chord;
    Info(pos, "KeyChord text cmd found: %s\n", text.c_str());
    return 0;
}

} // namespace zib
