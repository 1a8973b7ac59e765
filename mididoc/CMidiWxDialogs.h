#pragma once

#include "mididoc/core/MidiDocDialogs.h"
#include "mididoc/core/MidiDocReports.h"

namespace zib {

// The MIDI dialogs and message boxes of the running program, over the main
// frame: the MIDI document asks through them, and the event lists of the
// style and pad track editors do too.
class CMidiWxDialogs : public MidiDocDialogs, public MidiDocReports {
public:
    // MidiDocDialogs
    std::optional<int> TransposeAmount() override;
    std::optional<uint32_t> ShiftTo(const CMidiParserEx& map, uint32_t from, uint32_t to) override;
    std::optional<PasteDlgValues> PasteEvents(const CMidiParserEx& map,
                                              const PasteDlgValues& values) override;
    std::optional<CopyEventKinds> CopyMidiEvents(const CopyEventKinds& kinds) override;
    std::optional<uint16_t> MidiClock(uint16_t division) override;
    std::optional<TrackPropertiesValues> TrackProperties(const TrackPropertiesValues& values) override;
    std::optional<EventCodeChoice> EditEventCode(const EventCodeDlgValues& values) override;
    std::optional<TempoDlgValues> Tempo(const CMidiParserEx& map, const TempoDlgValues& values) override;
    std::optional<MarkerDlgValues> Marker(const CMidiParserEx& map, const MarkerDlgValues& values) override;
    std::optional<TimeSigDlgValues> TimeSignature(const CMidiParserEx& map,
                                                  const TimeSigDlgValues& values) override;
    std::optional<FromThruTicks> FromThru(const CMidiParserEx& map, const FromThruTicks& ticks) override;
    std::optional<uint32_t> GoTo(const CMidiParserEx& map, uint32_t tick) override;
    std::optional<std::array<uint32_t, 64>> RecordInput(const std::array<uint32_t, 64>& codes,
                                                        int selectedRow) override;
    std::optional<uint16_t> RecordSettings(uint16_t echoChannels) override;
    std::optional<std::filesystem::path> DumpTarget(const std::string& defaultName,
                                                    const std::filesystem::path& folder) override;
    std::optional<MidiToStyleTarget> MidiToStyleFile(StyleSeries series, const std::string& defaultName,
                                                     const std::filesystem::path& folder,
                                                     uint32_t model) override;

    // MidiDocReports
    void Report(const DocMessage& message) override;
    bool AskYesNo(const DocMessage& question) override;
    void BeginWait() override;
    void EndWait() override;
};

} // namespace zib
