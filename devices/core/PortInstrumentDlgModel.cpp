#include "devices/core/PortInstrumentDlgModel.h"

#include "ui/core/AsciiCase.h"
#include "ui/core/UserMidiPortMap.h"

#include <algorithm>

namespace zib {

PortInstrumentDlgModel::PortInstrumentDlgModel(RelationArray& relations, const InstrumentArray& instruments,
                                               const UserMidiPortMap& outPorts, int outDeviceCount,
                                               const PortNameArray& portNames, int initialPort, int initialChannel)
    : relations_(relations),
      instruments_(instruments),
      outPorts_(outPorts),
      outDeviceCount_(outDeviceCount),
      portNames_(portNames),
      initialPort_(initialPort),
      initialChannel_(initialChannel)
{
}

PortInstrumentDlgModel::InitResult PortInstrumentDlgModel::Initialise()
{
    modified_ = false;
    const int n = std::clamp(outDeviceCount_, 0, 127);
    for (int p = 0; p < n; ++p)
        if (outPorts_[p].enabled != 0 && outPorts_[p].deviceId < 128) ports_.push_back({portNames_[size_t(p)], p});
    if (ports_.empty()) return InitResult::NoOutPorts;
    if (instruments_.empty()) return InitResult::NoInstruments;

    working_.clear();
    for (const auto& relation : relations_)
        if (relation) working_.push_back(std::make_shared<CInsNameEntry>(*relation));

    portRow_ = 0;
    for (size_t i = 0; i < ports_.size(); ++i)
        if (ports_[i].port == initialPort_) portRow_ = int(i);
    currentPort_ = ports_[size_t(portRow_)].port;
    currentChannel_ = initialChannel_ >= 0 && initialChannel_ <= 15 ? initialChannel_ : 0;
    selectedChannels_ = {currentChannel_};

    FillInstruments();
    SelectRelatedInstrument();
    return InitResult::Ok;
}

std::string PortInstrumentDlgModel::RelatedInstrument(int port, int channel) const
{
    for (const auto& relation : working_)
        if (relation->port == port && relation->channel == channel) return relation->instrumentName;
    return {};
}

int PortInstrumentDlgModel::RowOfInstrument(const std::string& name) const
{
    if (name.empty()) return 0;
    for (size_t i = 0; i < instrumentItems_.size(); ++i)
        if (EqualIgnoringCase(instrumentItems_[i].name, name)) return int(i);
    return 0;
}

void PortInstrumentDlgModel::FillInstruments()
{
    instrumentItems_.clear();
    for (size_t i = 0; i < instruments_.size(); ++i)
        if (instruments_[i] && !instruments_[i]->name.empty())
            instrumentItems_.push_back({instruments_[i]->name, int(i)});
}

void PortInstrumentDlgModel::SelectRelatedInstrument()
{
    instrumentRow_ = instrumentItems_.empty() ? -1 : RowOfInstrument(RelatedInstrument(currentPort_, currentChannel_));
    lineShown_ = true;
}

void PortInstrumentDlgModel::SelectPort(int row)
{
    if (row < 0 || size_t(row) >= ports_.size()) return;
    portRow_ = row;
    currentPort_ = ports_[size_t(row)].port;
    SelectRelatedInstrument();
}

void PortInstrumentDlgModel::SelectChannels(std::vector<int> channels)
{
    std::erase_if(channels, [](int c) { return c < 0 || c > 15; });
    selectedChannels_ = std::move(channels);
    if (selectedChannels_.size() == 1) {
        currentChannel_ = selectedChannels_[0];
        SelectRelatedInstrument();
        return;
    }
    const std::string selected =
        instrumentRow_ >= 0 && size_t(instrumentRow_) < instrumentItems_.size() ? instrumentItems_[size_t(instrumentRow_)].name : "";
    lineShown_ = std::all_of(selectedChannels_.begin(), selectedChannels_.end(), [&](int channel) {
        return EqualIgnoringCase(RelatedInstrument(currentPort_, channel), selected);
    });
}

void PortInstrumentDlgModel::SelectInstrument(int row)
{
    if (row < 0 || size_t(row) >= instrumentItems_.size()) return;
    instrumentRow_ = row;
    const std::string& name = instrumentItems_[size_t(row)].name;
    for (int channel : selectedChannels_) {
        auto found = std::find_if(working_.begin(), working_.end(), [&](const auto& r) {
            return r->port == currentPort_ && r->channel == channel;
        });
        if (found != working_.end())
            (*found)->instrumentName = name;
        else
            working_.push_back(std::make_shared<CInsNameEntry>(CInsNameEntry{currentPort_, channel, name}));
    }
    modified_ = true;
    lineShown_ = true;
}

void PortInstrumentDlgModel::InstrumentsChanged()
{
    // Dropping a relation is a change that OK must keep.
    const size_t before = working_.size();
    std::erase_if(working_, [this](const auto& r) { return FindInstrument(instruments_, r->instrumentName) < 0; });
    if (working_.size() != before) modified_ = true;
    FillInstruments();
    SelectRelatedInstrument();
}

void PortInstrumentDlgModel::Apply()
{
    if (!modified_) return;
    relations_.clear();
    for (const auto& relation : working_)
        relations_.push_back(std::make_shared<CInsNameEntry>(*relation));
}

} // namespace zib
