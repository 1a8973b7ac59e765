#include "mididoc/core/MidiToStyleCommand.h"

#include "ui/core/ZibSettings.h"
#include "platform/FileIo.h"
#include "styles/CMidiToQeStyConverter.h"
#include "styles/CMidiToWqStyConverter.h"

#include <sstream>

namespace zib {

std::string TitleWithoutExtension(std::string_view title)
{
    std::string name(title);
    if (const size_t dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

std::string MidiToStyleDefaultName(std::string_view title, StyleSeries series)
{
    std::string name = TitleWithoutExtension(title);
    const std::string_view collect = series == StyleSeries::Wq ? "_COLLECT" : "_QECOLLECT";
    if (const size_t at = name.find(collect); at != std::string::npos) name.erase(at);
    return name + ".STY";
}

MidiToStyleOutcome RunMidiToStyle(std::span<const uint8_t> image, StyleSeries series,
                                  const std::filesystem::path& target, uint32_t model, const ZibSettings& settings,
                                  const std::filesystem::path& logPath)
{
    MidiToStyleOutcome outcome;
    std::ostringstream log;
    if (series == StyleSeries::Wq) {
        WqStyleConvertSettings wq;
        wq.keyChordDetermination = settings.KeyChordDetermination;
        wq.keyChord = settings.KeyChord;
        wq.chordDetermination = settings.ChordDetermination;
        wq.chordTable = settings.ChordTable;
        wq.ignoreFlags = settings.Midi2StyIgnoreFlags;
        const MidiToWqStyleResult r = ConvertMidiToWqStyle(image, target, model, wq, &log);
        outcome.code = r.code;
        outcome.errorText = r.errorText;
    } else {
        QeStyleConvertSettings qe;
        qe.keyChordDetermination = settings.QeKeyChordDetermination;
        qe.keyChord = settings.QeKeyChord;
        qe.chordDetermination = settings.QeChordDetermination;
        qe.chordTable = settings.QeChordTable;
        const MidiToQeStyleResult r = ConvertMidiToQeStyle(image, target, qe, &log);
        outcome.code = r.code;
        outcome.errorText = r.errorText;
    }
    outcome.logWritten = writeFileAtomically(logPath, log.str()) == FileIoError::None;
    return outcome;
}

} // namespace zib
