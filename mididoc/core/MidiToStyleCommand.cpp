#include "mididoc/core/MidiToStyleCommand.h"

#include "mididoc/core/CZibMidDoc.h"

#include <fstream>

namespace zib {

std::string MidiToStyleDefaultName(std::string_view title, StyleSeries series)
{
    std::string name(title);
    if (const size_t dot = name.find_last_of('.'); dot != std::string::npos) name.erase(dot);
    const std::string_view collect = series == StyleSeries::Wq ? "_COLLECT" : "_QECOLLECT";
    if (const size_t at = name.find(collect); at != std::string::npos) name.erase(at);
    return name + ".STY";
}

MidiToStyleOutcome RunMidiToStyle(const CZibMidDoc& doc, StyleSeries series, const std::filesystem::path& target,
                                  uint32_t model, const WqStyleConvertSettings& wqSettings,
                                  const QeStyleConvertSettings& qeSettings, const std::filesystem::path& logPath)
{
    MidiToStyleOutcome outcome;
    std::ofstream log(logPath, std::ios::binary | std::ios::trunc);
    std::ostream* logStream = log.is_open() ? &log : nullptr;
    outcome.logWritten = logStream != nullptr;
    const std::span<const uint8_t> image(doc.RawImage());
    if (series == StyleSeries::Wq) {
        const MidiToWqStyleResult r = ConvertMidiToWqStyle(image, target, model, wqSettings, logStream);
        outcome.code = r.code;
        outcome.errorText = r.errorText;
    } else {
        const MidiToQeStyleResult r = ConvertMidiToQeStyle(image, target, qeSettings, logStream);
        outcome.code = r.code;
        outcome.errorText = r.errorText;
    }
    return outcome;
}

} // namespace zib
