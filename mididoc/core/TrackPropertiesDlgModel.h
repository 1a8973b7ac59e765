#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zib {

// One track as the Track Properties dialog edits it; the MIDI document applies
// the edited values as one undo group when `changed` is set.
struct TrackProperties {
    int trackNumber = 1;
    int column = 0;          // the track-list column that was clicked
    std::string name;        // file bytes, at most 256
    uint32_t input = 0;      // 0 none, 1-16 one channel, 17 omni, 18 channels of the high 16 bits
    uint8_t channel = 255;   // 0-15, 255 none
    int port = 0;            // user MIDI OUT port
    uint16_t bank = 0xFF00;  // LSB low byte, MSB high byte; MSB 255: no bank
    uint8_t program = 255;   // 0-127, 255 none
    uint8_t volume = 100;
    uint8_t pan = 64;
    bool channelEvents = true; // the track holds channel events (its first values have a channel)
    bool changed = false;
    bool operator==(const TrackProperties&) const = default;
};

// What the dialog offers by name: the instrument definitions, the
// port-instrument relations and the user's MIDI OUT ports.
struct TrackPropertiesSources {
    struct Bank {
        int number = -1; // -1: a bank without number
        std::string name;
        std::array<std::string, 128> patches;
    };
    struct Instrument {
        std::string name;
        std::vector<Bank> banks;
    };
    struct Relation {
        int port = 0;
        int channel = 0;
        std::string instrument;
    };
    struct OutPort {
        uint8_t deviceId = 255;
        uint8_t enabled = 0;
    };
    std::vector<Instrument> instruments; // empty: no definitions loaded
    std::vector<Relation> relations;
    std::array<OutPort, 128> outPorts{};
    int outDeviceCount = 0;
    std::array<std::string, 128> portNames; // the names kept for the user's ports
};

// The Track Properties dialog without its window: the lists and their
// selections, the reactions to choices and typing, and OK.
class TrackPropertiesDlgModel {
public:
    struct Entry {
        std::string text;
        int data = 0;
        bool operator==(const Entry&) const = default;
    };
    enum class Focus { Name, Channel, Input, Port, Bank, Patch, Volume, Pan };
    static constexpr int kBankLimit = 16384;

    TrackPropertiesDlgModel(const TrackProperties& values, TrackPropertiesSources sources);

    // The dialog as it opens
    Focus InitialFocus() const;
    const std::vector<Entry>& Channels() const { return channels_; }
    const std::vector<Entry>& Inputs() const { return inputs_; }
    const std::vector<Entry>& Ports() const { return ports_; }
    const std::vector<Entry>& Banks() const { return banks_; }
    const std::vector<Entry>& Patches() const { return patches_; }
    // The entry that shows the current value (-1: none)
    int ChannelSelection() const { return find(channels_, channel_); }
    int InputSelection() const { return find(inputs_, int(values_.input)); }
    int PortSelection() const { return find(ports_, port_); }
    int BankSelection() const { return find(banks_, bank_); }
    int PatchSelection() const { return find(patches_, program_); }
    // The bank box's text when no entry shows the working bank
    std::string BankText() const { return std::to_string(bank_); }
    // The instrument of the current port and channel (empty: none)
    const std::string& InstrumentName() const { return instrumentName_; }
    int DefinitionIndex() const { return definition_; }

    // Choices and typing
    void ChooseChannel(int data);
    void ChoosePort(int data);
    void ChooseBank(int data);
    // The bank as typed: below 16384 it becomes the bank, otherwise the
    // previous one stays. The text to show afterwards.
    std::string TypeBank(std::string_view text);
    void ChoosePatch(int data) { program_ = data; }
    // Volume and pan as typed: above 127 (or no number) the previous value is
    // put back; the text to show, when it changes.
    std::optional<std::string> TypeVolume(std::string_view text) { return typeLevel(text, volume_); }
    std::optional<std::string> TypePan(std::string_view text) { return typeLevel(text, pan_); }
    // The port-instrument relations were edited and saved.
    void RelationsChanged(std::vector<TrackPropertiesSources::Relation> relations);
    // The port and channel the relation dialog opens with
    int Port() const { return port_; }
    int InitialChannel() const { return values_.channel; }

    // OK with the selected entries (-1: none) and the name edit.
    TrackProperties Ok(int channelEntry, int inputEntry, int portEntry, std::string_view name) const;
    // Bank, patch, volume and pan are stored as events of the track's
    // channel: on a track without channel events they need a channel. OK is
    // refused with kNeedsChannelText (the values stay as typed) while the
    // channel entry is "<undefined>" and any of them differs from the track's.
    static constexpr const char* kNeedsChannelText =
        "Choose a channel for this track: its bank, patch, volume and pan are stored on that channel.";
    bool NeedsChannel(int channelEntry) const;

private:
    static int find(const std::vector<Entry>& entries, int data);
    void relate(int port, int channel);
    void fillPorts();
    void fillBanks();
    void fillPatches();
    const TrackPropertiesSources::Instrument* definition() const;
    std::optional<std::string> typeLevel(std::string_view text, int& level);

    TrackProperties values_;
    TrackPropertiesSources sources_;
    int channel_;
    int port_;
    int bank_;
    int program_;
    int volume_;
    int pan_;
    std::string instrumentName_;
    int definition_ = -1;
    std::vector<Entry> channels_, inputs_, ports_, banks_, patches_;
};

} // namespace zib
