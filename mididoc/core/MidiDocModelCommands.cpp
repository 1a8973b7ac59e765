// The text dumps and the MIDI-to-style commands of the MIDI document.
#include "mididoc/core/MidiDocModel.h"

#include "ui/core/ZibSettings.h"
#include "mididoc/core/MidiDocMessages.h"
#include "mididoc/core/MidiTextDump.h"
#include "mididoc/core/MidiToStyleCommand.h"
#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/FileIo.h"

#include <new>
#include <sstream>

namespace zib {

std::string MidiDocModel::DumpText(std::string_view fileName)
{
    return MidiTextDump(m_sequence, m_format, m_fileTrackCount, m_division, fileName);
}

int MidiDocModel::DumpMidiToTextFile(const std::filesystem::path& output, std::string_view fileName)
{
    bool written = false;
    try {
        // Written as it is made: a dump of a million events is never held whole.
        AtomicFile file(output);
        written = file.Open() == FileIoError::None &&
                  MidiTextDump(m_sequence, m_format, m_fileTrackCount, m_division, fileName,
                               [&file](std::string_view piece) { return file.Write(piece) == FileIoError::None; }) &&
                  file.Commit() == FileIoError::None;
    } catch (const std::bad_alloc&) {
        written = false;
    }
    if (!written) {
        Report(kMsgCannotOpenReport, "DumpMidiToTextFile", DocMessage::Icon::Stop);
        return -1;
    }
    return 0;
}

std::filesystem::path MidiDocModel::DumpFilePath() const
{
    return m_folder / (TitleWithoutExtension(Title()) + ".txt");
}

EditResult MidiDocModel::OnFileTextDump()
{
    if (m_tracks.empty()) return EditResult::Unavailable;
    m_hooks.Views().CloseViewer();
    const std::filesystem::path output = DumpFilePath();
    if (DumpMidiToTextFile(output, utf8ToCp1252(m_path.string())) != 0) {
        Report(kMsgCannotUpdateDescription, "");
        return EditResult::Failed;
    }
    WaitCursor wait(m_hooks.Reports());
    if (!m_hooks.Views().OpenViewer("Midi file text description: ", output)) {
        Report(kMsgCannotCreateViewer, "");
        return EditResult::Failed;
    }
    return EditResult::Done;
}

EditResult MidiDocModel::OnMidiToText()
{
    if (m_tracks.empty()) return EditResult::Unavailable;
    const auto target = m_hooks.Dialogs().DumpTarget(TitleWithoutExtension(Title()) + ".txt", m_folder);
    if (!target) return EditResult::Cancelled;
    WaitCursor wait(m_hooks.Reports());
    if (DumpMidiToTextFile(*target, utf8ToCp1252(m_path.string())) != 0) {
        Report(kMsgCannotUpdateDescription, "");
        return EditResult::Failed;
    }
    return EditResult::Done;
}

EditResult MidiDocModel::OnUtilMidiToSty()
{
    return RunMidiToStyle(false);
}

EditResult MidiDocModel::OnUtilMidiToQeSty()
{
    return RunMidiToStyle(true);
}

EditResult MidiDocModel::RunMidiToStyle(bool qe)
{
    if (m_rawImage.empty()) return EditResult::Unavailable;
    const StyleSeries series = qe ? StyleSeries::Qe : StyleSeries::Wq;
    const auto target = m_hooks.Dialogs().MidiToStyleFile(series, MidiToStyleDefaultName(Title(), series), m_folder,
                                                          qe ? uint32_t('F') : uint32_t(m_settings.DefaultKbdType));
    if (!target) return EditResult::Cancelled;
    uint32_t model = 'F';
    if (!qe) {
        // The chosen model is kept before the conversion runs, also when it fails.
        m_settings.DefaultKbdType = int(target->model);
        m_settings.WriteSetting("DefaultKbdType");
        model = target->model;
    }
    const char* caption = qe ? "OnUtilMidiToQeSty" : "OnUtilMidiToSty";
    MidiToStyleOutcome outcome;
    const std::filesystem::path logPath = m_folder / std::string(kMidiToStyleLogName);
    {
        WaitCursor wait(m_hooks.Reports());
        outcome = zib::RunMidiToStyle(m_rawImage, series, target->path, model, m_settings, logPath);
    }
    if (outcome.code == 0) {
        m_hooks.Views().OpenDocument(target->path);
        return EditResult::Done;
    }
    DocMessage m;
    m.extra = cp1252ToUtf8(outcome.errorText);
    m.caption = caption;
    if (!outcome.logWritten) {
        m.uiText = "ERROR! %s";
        m_hooks.Reports().Report(m);
        return EditResult::Failed;
    }
    m.uiText = "ERROR! %s\n\nDo you want to see TXT report?";
    if (!m_hooks.Reports().AskYesNo(m)) return EditResult::Failed;
    WaitCursor wait(m_hooks.Reports());
    m_hooks.Views().CloseViewer();
    if (!m_hooks.Views().OpenViewer(qe ? "MidiToQeStyle text report: " : "MidiToStyle text report: ", logPath))
        Report(kMsgCannotCreateViewer, "");
    return EditResult::Failed;
}

} // namespace zib
