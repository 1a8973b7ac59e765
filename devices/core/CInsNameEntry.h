#pragma once

#include <memory>
#include <string>
#include <vector>

namespace zib {

// One port-instrument relation: which instrument plays on a MIDI OUT port and channel.
class CInsNameEntry {
public:
    int port = 0;               // user MIDI OUT port 0-127
    int channel = 0;            // 0-15
    std::string instrumentName; // Windows-1252 bytes
};

// The relations of the application, in file order.
using RelationArray = std::vector<std::shared_ptr<CInsNameEntry>>;

} // namespace zib
