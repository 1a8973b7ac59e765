#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace zib {

// The clipboard as the MIDI document core uses it: one byte block under the
// program's private format. The window issue puts it over
// ZibClipboardFormat(); tests use a block in memory. This default has no
// private format: nothing is ever put or found.
class EventClipboard {
public:
    enum class Result {
        Ok,
        CannotAttach,  // "Cannot attach to clipboard"
        CannotGetData, // "Cannot get clipboard data"
        NoBlock,       // the private format is not offered
    };

    virtual ~EventClipboard();

    // Whether the program has its private clipboard format
    virtual bool HasPrivateFormat() const { return false; }
    // The block alone
    virtual Result Put(std::vector<uint8_t> /*block*/) { return Result::CannotAttach; }
    virtual Result Get(std::vector<uint8_t>& /*block*/) { return Result::NoBlock; }
    // The block with its supplement (EventClipboardSupplement), each under a
    // format of its own, so that a reader of the block alone finds it as
    // ever. A clipboard that cannot hold both keeps the block alone, and the
    // supplement read back is then empty.
    virtual Result PutWithSupplement(std::vector<uint8_t> block, std::vector<uint8_t> /*supplement*/)
    {
        return Put(std::move(block));
    }
    virtual Result GetWithSupplement(std::vector<uint8_t>& block, std::vector<uint8_t>& supplement)
    {
        supplement.clear();
        return Get(block);
    }
};

// The clipboard without a private format.
EventClipboard& NoClipboard();

} // namespace zib
