#pragma once

#include "devices/core/FilePlaybackDocument.h"
#include "devices/core/PlaybackEngine.h"
#include "devices/core/SinglePortHost.h"

#include <cstdint>
#include <filesystem>
#include <memory>

namespace zib {

class PlaybackHost;
class PlaybackUi;

// The built-in player window's model. It reads the temporary MIDI file once
// and plays it through the playback engine, every track on one port opened
// on the chosen device (the built-in synth when that device is not there),
// with no metronome, loop or recording. The caller's playing flag is set
// once the file is open and cleared when the model goes; the file is
// deleted when the window closes, whether it plays, has played or could not
// be read.
class PlayMidiFileModel {
public:
    PlayMidiFileModel(std::filesystem::path path, uint8_t* playerOpen, PlaybackHost& app, int deviceId,
                      PlaybackUi& ui);
    ~PlayMidiFileModel();
    PlayMidiFileModel(const PlayMidiFileModel&) = delete;
    PlayMidiFileModel& operator=(const PlayMidiFileModel&) = delete;

    // Reads and parses the file, sets the caller's flag and starts playing.
    // False when the file cannot be read or parsed (the flag stays as it was).
    bool Open();
    bool IsOpen() const { return m_engine != nullptr; }

    // Transport: Play starts from the top when nothing plays; Stop stops this window's run
    void Play();
    void Stop();
    bool IsPlaying() const;
    PlaybackEngine* Engine() { return m_engine.get(); }

    // The window closes: the run ends at once and the file goes
    void Close();

private:
    std::filesystem::path m_path;
    uint8_t* m_playerOpen;
    PlaybackHost& m_app;
    PlaybackUi& m_ui;
    SinglePortHost m_host;
    std::unique_ptr<FilePlaybackDocument> m_document;
    std::unique_ptr<PlaybackEngine> m_engine;
    bool m_closed = false;
};

} // namespace zib
