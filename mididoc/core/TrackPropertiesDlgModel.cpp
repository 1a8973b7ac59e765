#include "mididoc/core/TrackPropertiesDlgModel.h"

#include "ui/core/AsciiCase.h"
#include "mididoc/core/PositionDlgModels.h"

#include <algorithm>

namespace zib {

namespace {

constexpr int kNoChannel = 255;

// "%d-%s": a bank or patch by number and name
std::string numberDashName(int number, std::string_view name)
{
    return std::to_string(number) + "-" + std::string(name);
}

// "%3d - %s": a port by its place in the list
std::string portEntry(int number, std::string_view name)
{
    std::string text = std::to_string(number);
    if (text.size() < 3) text.insert(0, 3 - text.size(), ' ');
    return text + " - " + std::string(name);
}

} // namespace

TrackPropertiesDlgModel::TrackPropertiesDlgModel(const TrackProperties& values, TrackPropertiesSources sources)
    : values_(values), sources_(std::move(sources)), channel_(values.channel), port_(values.port),
      bank_(values.bank >> 8 == 0xFF ? -1 : (values.bank >> 8) * 128 + (values.bank & 0xFF)),
      program_(values.program == 255 ? -1 : values.program), volume_(values.volume), pan_(values.pan)
{
    relate(port_, channel_);
    channels_.push_back({"<undefined>", kNoChannel});
    for (int c = 0; c < 16; ++c) channels_.push_back({std::to_string(c + 1), c});
    inputs_.push_back({"<Undefined>", 0});
    inputs_.push_back({"MIDI Omni", 17});
    for (int c = 1; c <= 16; ++c) inputs_.push_back({std::string(c < 10 ? "MIDI Channel  " : "MIDI Channel ") + std::to_string(c), c});
    fillPorts();
    fillBanks();
    fillPatches();
}

int TrackPropertiesDlgModel::find(const std::vector<Entry>& entries, int data)
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].data == data) return int(i);
    return -1;
}

TrackPropertiesDlgModel::Focus TrackPropertiesDlgModel::InitialFocus() const
{
    switch (values_.column) {
    case 5:
        return Focus::Channel;
    case 6:
        return Focus::Input;
    case 7:
        return Focus::Port;
    case 8:
        return Focus::Bank;
    case 9:
        return Focus::Patch;
    case 10:
        return Focus::Volume;
    case 11:
        return Focus::Pan;
    default:
        return Focus::Name;
    }
}

void TrackPropertiesDlgModel::relate(int port, int channel)
{
    instrumentName_.clear();
    for (const auto& r : sources_.relations)
        if (r.port == port && r.channel == channel) {
            instrumentName_ = r.instrument;
            break;
        }
    if (sources_.instruments.empty()) {
        definition_ = -1;
        return;
    }
    definition_ = 0;
    if (instrumentName_.empty()) return;
    for (size_t i = 0; i < sources_.instruments.size(); ++i)
        if (EqualIgnoringCase(sources_.instruments[i].name, instrumentName_)) {
            definition_ = int(i);
            break;
        }
}

const TrackPropertiesSources::Instrument* TrackPropertiesDlgModel::definition() const
{
    if (sources_.instruments.empty()) return nullptr;
    return &sources_.instruments[size_t(std::max(definition_, 0))];
}

void TrackPropertiesDlgModel::fillPorts()
{
    ports_.clear();
    const int devices = std::clamp(sources_.outDeviceCount, 0, 128);
    int n = 0;
    for (int p = 0; p < devices; ++p) {
        const auto& entry = sources_.outPorts[size_t(p)];
        if (entry.enabled != 1 || entry.deviceId >= 128) continue;
        std::string name;
        for (const auto& r : sources_.relations)
            if (r.port == p && r.channel == channel_) {
                name = r.instrument;
                break;
            }
        if (name.empty()) name = sources_.portNames[size_t(p)];
        ports_.push_back({portEntry(++n, name), p});
    }
    // A port that is no longer offered still shows, so OK keeps it.
    if (find(ports_, port_) < 0 && port_ >= 0 && port_ < 128) ports_.push_back({sources_.portNames[size_t(port_)], port_});
}

void TrackPropertiesDlgModel::fillBanks()
{
    banks_.clear();
    const auto* instrument = definition();
    if (!instrument) return;
    for (const auto& bank : instrument->banks) {
        if (bank.number >= 0) {
            if (channel_ < 16) banks_.push_back({numberDashName(bank.number, bank.name), bank.number});
        } else {
            banks_.push_back({"<Undefined>", -1});
        }
    }
}

void TrackPropertiesDlgModel::fillPatches()
{
    patches_.clear();
    patches_.push_back({"<Undefined>", -1});
    const auto* instrument = definition();
    const TrackPropertiesSources::Bank* bank = nullptr;
    if (instrument && !instrument->banks.empty()) {
        bank = &instrument->banks.front();
        for (const auto& b : instrument->banks)
            if (b.number == bank_) {
                bank = &b;
                break;
            }
    }
    for (int p = 0; p < 128; ++p) {
        const std::string& name = bank ? bank->patches[size_t(p)] : std::string();
        patches_.push_back({name.empty() ? std::to_string(p) : numberDashName(p, name), p});
    }
}

void TrackPropertiesDlgModel::ChooseChannel(int data)
{
    channel_ = data;
    relate(port_, channel_);
    fillPorts();
    fillBanks();
    fillPatches();
}

void TrackPropertiesDlgModel::ChoosePort(int data)
{
    port_ = data;
    relate(port_, values_.channel);
    fillBanks();
    fillPatches();
}

void TrackPropertiesDlgModel::ChooseBank(int data)
{
    if (data >= -1) bank_ = data;
    fillPatches();
}

std::string TrackPropertiesDlgModel::TypeBank(std::string_view text)
{
    const auto typed = ParseDialogInt(text);
    if (typed && *typed >= -1 && *typed < kBankLimit) bank_ = int(*typed);
    fillPatches();
    return BankText();
}

void TrackPropertiesDlgModel::RelationsChanged(std::vector<TrackPropertiesSources::Relation> relations)
{
    sources_.relations = std::move(relations);
    relate(port_, values_.channel);
    fillPorts();
    fillBanks();
    fillPatches();
}

std::optional<std::string> TrackPropertiesDlgModel::typeLevel(std::string_view text, int& level)
{
    const auto typed = ParseDialogInt(text);
    if (typed && *typed >= 0 && *typed <= 127) {
        level = int(*typed);
        return std::nullopt;
    }
    if (text.empty()) return std::nullopt; // the edit is being cleared to type anew
    return std::to_string(level);
}

TrackProperties TrackPropertiesDlgModel::Ok(int channelEntry, int inputEntry, int portEntry,
                                            std::string_view name) const
{
    TrackProperties r = values_;
    if (channelEntry >= 0 && channelEntry < int(channels_.size())) r.channel = uint8_t(channels_[size_t(channelEntry)].data);
    if (inputEntry >= 0 && inputEntry < int(inputs_.size())) r.input = uint32_t(inputs_[size_t(inputEntry)].data);
    if (portEntry >= 0 && portEntry < int(ports_.size())) r.port = ports_[size_t(portEntry)].data;
    r.name = std::string(name.substr(0, 256));
    if (bank_ >= 0)
        r.bank = uint16_t((bank_ / 128) << 8 | (bank_ % 128));
    else
        r.bank = uint16_t(0xFF00 | (values_.bank & 0xFF));
    r.program = program_ < 0 ? 255 : uint8_t(program_);
    r.volume = uint8_t(std::min(volume_, 127));
    r.pan = uint8_t(std::min(pan_, 127));
    r.changed = r.channel != values_.channel || r.name != values_.name || r.input != values_.input ||
                r.port != values_.port || r.bank != values_.bank || r.program != values_.program ||
                r.volume != values_.volume || r.pan != values_.pan;
    return r;
}

bool TrackPropertiesDlgModel::NeedsChannel(int channelEntry) const
{
    if (values_.channelEvents) return false;
    const TrackProperties r = Ok(channelEntry, -1, -1, values_.name);
    return r.channel >= 16 &&
           (r.bank != values_.bank || r.program != values_.program || r.volume != values_.volume || r.pan != values_.pan);
}

} // namespace zib
