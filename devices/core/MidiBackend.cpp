#include "devices/core/MidiBackend.h"

#include <tuple>

namespace zib {

std::string MidiPortName::Shown() const
{
    return client.empty() ? port : client + ":" + port;
}

bool MidiPortName::operator<(const MidiPortName& other) const
{
    return std::tie(client, port) < std::tie(other.client, other.port);
}

} // namespace zib
