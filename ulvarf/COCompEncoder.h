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
//
// Candidates come nearest first, so one further back wins only by being
// longer than the best so far. A candidate whose first eight bytes share no
// more with the current position than the best match already has is
// passed over without measuring it (level 1 keeps those bytes in its rings,
// level 2 reads them from the input). On blocks of more than 32 KB level 2
// also marks, per three-byte slot, which three-byte values the window holds
// (a position none of whose candidates can share three bytes walks no
// chain), numbers the positions of each slot, and, where the data pays for
// them, keeps tiers: chains of the positions that share their first 4, 5
// or 6 bytes. Once the best match has L bytes, a longer one shares L + 1,
// so the search goes on in the tier of the most bytes not above L + 1, and
// a position's number tells its place in the three-byte chain, which keeps
// the 2000-candidate limit. The blocks are the same as without these tables.
//
// Inside a match that repeats a short period (runs of one byte, short
// patterns), every position has the hashes, marks and chain links of the
// position one period back, and each slot's numbering goes on; level 2
// copies them there instead of hashing position by position. A match that
// reaches as far as any can (the longest length, or the end of the input)
// needs no look-ahead: one a byte shorter never scores more.
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
    void insertInBucket(size_t p);
    void insertInChains(size_t p);
    void insertRepeat(size_t stop);
    void enterInChains(size_t p, uint32_t h, uint32_t head, uint64_t bytes);
    void insertInTiers(size_t p);
    void weighTiers(size_t hashedTo);
    // The best match at p, left in `best` (length 0: none). Filled in place:
    // a returned struct would be stored in halves and read back whole.
    void find(size_t p, Match& best);
    size_t findInPlainChain(size_t p, uint32_t head, uint64_t here, Match& best);
    bool mayShareThree(size_t p, uint32_t h, uint64_t here) const;
    void findInTiers(size_t p, uint32_t h, uint32_t head, uint64_t here, Match& best);
    // The length of the match with the candidate; 0 when it is not one or cannot beat `bestLength`.
    uint32_t matchLength(size_t p, size_t candidate, uint32_t bestLength) const;
    uint32_t lengthFrom(size_t p, size_t candidate, uint32_t shared, uint32_t bestLength) const;
    uint64_t prefix(size_t p) const;
    static uint8_t mark(uint64_t prefix);
    uint32_t bucketMatches(uint32_t bucket, uint8_t mark) const;
    static uint32_t tierHash(uint64_t prefix, int bytes);
    static uint32_t mark6(uint64_t prefix);
    static uint16_t linkBack(size_t p, uint32_t head);
    static int tokenBytes(uint32_t length, uint32_t distance);
    static void keepBetter(Match& best, uint32_t length, size_t distance);
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

    std::unique_ptr<uint32_t[]> heads_;    // level 0/2: position + 1 per slot; level 1: bucket rings
    std::unique_ptr<uint64_t[]> prefixes_; // level 1: first eight bytes of each ring entry
    std::unique_ptr<uint8_t[]> marks_;     // level 1: a byte made of the first three bytes of each ring entry

    // Level 2, per position mod 65536: the distance back to the previous
    // position with the same three-byte hash (0: none within reach).
    // Candidates' first bytes are read from the input itself, whose window
    // is far smaller than any table of copies.
    std::unique_ptr<uint16_t[]> links_;

    // Level 2 on blocks longer than kPlainBlock (shorter ones walk the plain
    // chains: these tables would cost them more than they save).
    // Per three-byte hash slot, set up when the slot takes its first
    // position: the positions entered (mod 65536: the window is shorter),
    // and for the last two stretches of 49152 positions a set of 64 marks of
    // their first three bytes with the stretch's number (mod 256). A
    // position whose mark neither stretch holds has no candidate sharing
    // three bytes: its chain is not walked.
    static constexpr size_t kPlainBlock = 32768;
    struct SlotMarks {
        uint64_t marks[2];
        uint16_t serial;
        uint8_t stretch[2];
    };
    bool marked_ = false;
    std::unique_ptr<SlotMarks[]> slotMarks_;
    std::unique_ptr<uint16_t[]> nodeSerials_; // per position: its serial number in its slot
    // Tiers: chains of the positions with the same hash of their first 4, 5
    // or 6 bytes, as distances back like the links.
    static constexpr int kTiers = 3;
    static constexpr int kTierBytes[kTiers] = {4, 5, 6};
    static constexpr int kTierBits = 14;       // slots per tier, 16384
    std::unique_ptr<uint32_t[]> tierHeads_;    // position + 1 per slot of each tier
    std::unique_ptr<uint16_t[]> tierLinks_;
    // Whether the tiers are kept, the position up to which they hold every
    // hashed position, the first position hashed after a long match (the
    // ones before it lie outside every later window), and the weighing of
    // the stretch of kEpoch positions under way.
    static constexpr size_t kEpoch = 8192;
    bool tiersOn_ = false;
    size_t tiersTo_ = 0;
    size_t hashedFrom_ = 0;
    size_t epochFill_ = 0;
    size_t tierWanted_ = 0;
    // Level 2: the match written last, [repeatFrom_, repeatEnd_) repeating
    // the bytes repeatDistance_ back. Where that distance is a short
    // period, the positions inside take the entries of the positions one
    // period back instead of being hashed (insertRepeat).
    size_t repeatFrom_ = 0;
    size_t repeatEnd_ = 0;
    uint32_t repeatDistance_ = 0;
    std::unique_ptr<uint8_t[]> ringNext_;  // level 1: next ring slot per bucket
    std::unique_ptr<uint8_t[]> ringFill_;  // level 1: positions held per bucket
};

} // namespace zib::ulvarf
