#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace zib::ulvarf {

// One run of the COComp encoder (see COComp.h for the block and token
// layout). Levels differ in the match search:
//   0  one 16384-slot hash of three bytes, most recent position only, greedy;
//   1  1024 buckets of the 32 most recent positions, scored, lazy;
//   2  hash chains over the 16384-slot hash (65536 links reused in turn), up
//      to 2000 candidates per position, scored, lazy.
// A candidate scores its length minus the bytes of its token; the lazy
// levels look one position ahead and take the later match when it scores
// higher. The search stops at a candidate of the longest possible length,
// and skips candidates that cannot beat the best one so far, so degenerate
// input (long runs, short periods) stays linear.
class COCompEncoder {
public:
    COCompEncoder(std::span<const uint8_t> input, std::span<uint8_t> out, int version, int level);

    // Writes the whole block; its length, or 0 when it does not fit in `out`.
    uint32_t Run();

private:
    struct Match {
        uint32_t length = 0;
        uint32_t distance = 0;
        int score = 0;
    };

    // Output
    bool put(uint8_t byte);
    bool putInput(size_t from, size_t n);
    bool putLiteralRuns(size_t from, size_t n);
    bool putPending(size_t from, size_t n);
    bool putMatch(const Match& match);

    // Match search
    void prepareTables();
    void insertUpTo(size_t end);
    void insert(size_t p);
    Match find(size_t p);
    Match evaluate(size_t p, size_t candidate, uint32_t bestLength) const;
    static int tokenBytes(uint32_t length, uint32_t distance);
    uint32_t hash3(size_t p) const;
    uint32_t bucketHash(size_t p) const;

    const uint8_t* src_;
    size_t n_;
    uint8_t* dst_;
    size_t capacity_;
    size_t o_ = 0;
    bool overflow_ = false;
    int version_;
    int level_;
    size_t lastOffsetByte_ = SIZE_MAX; // last offset byte of the previous match
    size_t nextInsert_ = 0;            // next position to enter into the tables

    std::unique_ptr<uint32_t[]> heads_;   // level 0/2: position + 1 per slot; level 1: bucket rings
    std::unique_ptr<uint32_t[]> links_;   // level 2: previous position + 1 with the same hash
    std::unique_ptr<uint8_t[]> ringNext_; // level 1: next ring slot per bucket
    std::unique_ptr<uint8_t[]> ringFill_; // level 1: positions held per bucket
};

} // namespace zib::ulvarf
