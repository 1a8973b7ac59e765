#pragma once

#include "devices/core/CPianoListener.h"

#include <string>
#include <vector>

namespace zib::test {

// What a piano's listener heard, in order: "down 60", "up 60" ...
class PianoRecorder : public CPianoListener {
public:
    void NoteDown(int note) override { heard.push_back("down " + std::to_string(note)); }
    void NoteUp(int note) override { heard.push_back("up " + std::to_string(note)); }
    // What was heard since the last call.
    std::vector<std::string> Take()
    {
        std::vector<std::string> out;
        out.swap(heard);
        return out;
    }

    std::vector<std::string> heard;
};

} // namespace zib::test
