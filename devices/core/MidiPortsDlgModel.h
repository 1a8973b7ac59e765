#pragma once

#include "ui/core/SettingsCommands.h"

#include <string>
#include <vector>

namespace zib {

class MidiDeviceNames;

// The "Select MIDI Ports" dialog (258): which MIDI IN and OUT devices the
// playback engine uses, and the order that numbers the user's OUT ports.
//
// At the start the OUT map follows the devices present now: every device
// keeps the place of its entry (devices without one come after all others,
// disabled), entries of devices that are gone are dropped, and the places are
// numbered from 0 again. The IN map is the devices in device order, each
// keeping its enabled flag. The lists show the devices in map order with the
// enabled ones selected.
//
// OK: with no OUT or no IN device selected the user is warned first (and may
// go back). The OUT map becomes the selected devices in list order, enabled,
// then the others, disabled: the selected ports get the lowest numbers. The
// IN map enables the selected devices only.
class MidiPortsDlgModel {
public:
    static constexpr int kIdWarning = 1047;
    static constexpr int kIdInList = 1944;
    static constexpr int kIdOutList = 1945;

    // Localized messages of the warning lines
    static constexpr int kMsgOutCountChanged = 107; // "WARNING: Number of available OUT ports differs ..."
    static constexpr int kMsgSelectPorts = 108;     // "Select MIDI ports"
    static constexpr int kMsgNoInPorts = 112;       // "WARNING: There is no selected any MIDI INPUT ports"
    static constexpr int kMsgNoOutPorts = 113;      // "WARNING: There is no selected any MIDI OUTPUT ports"
    static constexpr int kMsgNoPlayback = 114;      // "You will not hear any playback!!!"

    struct Item {
        std::string name; // the device's name; "???" when the system gives none
        int device;
    };

    MidiPortsDlgModel(const MidiPortsValues& values, const MidiDeviceNames& devices);

    // The warning line: the OUT device count differs from the entries of the
    // map the dialog was given
    int WarningMessage() const { return outCountChanged_ ? kMsgOutCountChanged : kMsgSelectPorts; }

    // Lists, and which rows start selected
    const std::vector<Item>& OutItems() const { return outItems_; }
    const std::vector<Item>& InItems() const { return inItems_; }
    const std::vector<bool>& OutSelected() const { return outSelected_; }
    const std::vector<bool>& InSelected() const { return inSelected_; }

    // OK. The warnings due for these selections, in the order they are
    // shown: kMsgNoOutPorts, kMsgNoInPorts.
    static std::vector<int> MissingSelections(const std::vector<bool>& outSelected,
                                              const std::vector<bool>& inSelected);
    // The two maps for these selections (one flag per row).
    MidiPortsValues Ok(const std::vector<bool>& outSelected, const std::vector<bool>& inSelected) const;

private:
    bool outCountChanged_ = false;
    std::vector<Item> outItems_;
    std::vector<Item> inItems_;
    std::vector<bool> outSelected_;
    std::vector<bool> inSelected_;
};

} // namespace zib
