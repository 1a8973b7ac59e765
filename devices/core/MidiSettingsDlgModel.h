#pragma once

#include "ui/core/SettingsCommands.h"

#include <string>
#include <vector>

namespace zib {

class MidiDeviceNames;

// The "MIDI settings" dialog (235): the MIDI IN and OUT device of style
// playback, how a MIDI file is played from a command (the external player
// command or the built-in player window) and whether percussion plays on the
// drum channel.
class MidiSettingsDlgModel {
public:
    static constexpr int kIdInDevice = 1021;
    static constexpr int kIdOutDevice = 1022;
    static constexpr int kIdExternalPlayer = 1776;
    static constexpr int kIdBuiltInPlayer = 1777;
    static constexpr int kIdPercussion = 1069;

    // The lists hold every device of the system in device order ("???" for a
    // device the system cannot name); the current devices are selected when
    // they exist.
    MidiSettingsDlgModel(const PlaybackValues& values, const MidiDeviceNames& devices);

    // Lists
    const std::vector<std::string>& InDevices() const { return inDevices_; }
    const std::vector<std::string>& OutDevices() const { return outDevices_; }
    int InSelection() const { return inSelection_; } // -1 none
    int OutSelection() const { return outSelection_; }
    void SelectIn(int row);
    void SelectOut(int row);

    // Check marks
    bool ExternalPlayer() const { return externalPlayer_; } // else the built-in player
    bool Percussion() const { return percussion_; }
    void SetExternalPlayer(bool on) { externalPlayer_ = on; }
    void SetPercussion(bool on) { percussion_ = on; }

    // OK: method 1 for the external player, else 2; percussion 1 or 0; the
    // devices are the selected rows (0 when none).
    PlaybackValues Ok() const;

private:
    std::vector<std::string> inDevices_;
    std::vector<std::string> outDevices_;
    int inSelection_ = -1;
    int outSelection_ = -1;
    bool externalPlayer_ = false;
    bool percussion_ = false;
};

// A device's name as the device lists show it; "???" when the system gives none.
std::string DeviceListName(const MidiDeviceNames& devices, bool output, int device);

} // namespace zib
