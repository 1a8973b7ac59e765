#pragma once

#include "midi/CMidiFile.h"
#include "midi/CTimeSigRecord.h"

#include <vector>

namespace zib {

// The measure layer of the MIDI reader. While a file is read it keeps a map
// with one entry per measure, so every callback can read the measure, beat
// and tick of its event (GetLastMeasure/Beat/Tick); afterwards the map turns
// ticks into measure:beat:tick and back and sets time signatures for ranges
// of measures. All positions count from 0 here; displays add 1 to measure
// and beat.
//
// Ticks per measure = numerator x division x 4 / denominator; ticks per
// beat = division x 4 / denominator (integer arithmetic). Past the last
// entry of the map the last signature continues.
class CMidiFileEx : public CMidiFile {
public:
    // Error codes added to CMidiFile's (texts in CMidiFileEx.cpp)
    enum ExError : int {
        kMeasureLimitExceeded = 30, // a position beyond kMaxMeasures measures
        kApplicationDefined = 100,
        kTimeSigWrongPlace = 101,
        kTimeSigOutOfZeroTick = 102,
        kCannotAllocateRam = 103,
        kWrongFread = 104,
        kInternalMapperError = 115, // LocateTickFrom with a measure outside the map
    };

    // The map never grows beyond this many measures (a hostile file cannot
    // make it exhaust memory).
    static constexpr uint32_t kMaxMeasures = 100000;

    CMidiFileEx();
    ~CMidiFileEx() override;

    int ReportError(char* buffer, size_t size, int code) override;

    // Reading: as CMidiFile's, after resetting the map
    int ParseMemory(const uint8_t* image, uint32_t size) override;
    int ParseFile(const std::filesystem::path& path) override;

    // Slot 16: locates tick t from the current measure on (never backwards),
    // growing the map when t lies past its end; sets the current fields
    virtual int ConvertTick(uint32_t t);
    // Slot 17: applies the pending time signature at tick t, which must fall
    // on a measure start (101 otherwise)
    virtual int ApplyTimeSignature(uint32_t t);

    // Tick to measure:beat:tick
    int TickToMbt(uint32_t t, uint32_t& measure, uint32_t& beat, uint32_t& tick);
    int TickToMbtHinted(uint32_t t, int32_t& measureHint, uint32_t& beat, uint32_t& tick);
    int LocateTick(uint32_t t);
    int LocateTickFrom(uint32_t t, uint32_t measureIndex);
    uint32_t GetLastMeasure() const { return m_curMeasure; }
    uint32_t GetLastBeat() const { return m_curBeat; }
    uint32_t GetLastTick() const { return m_curTick; }

    // The map
    uint32_t GetMeasureStartTick(uint32_t n) const;
    uint32_t GetMeasureLength(uint32_t n) const;
    uint8_t GetNumeratorAtMeasure(uint32_t n) const;
    uint8_t GetDenominatorAtMeasure(uint32_t n) const;
    uint32_t GetEndOfLastMeasure() const;
    uint32_t GetTimeSigCount() const { return uint32_t(m_map.size()); }
    const std::vector<CTimeSigRecord>& GetTimeSigMap() const { return m_map; }
    // Over the current signature and the division as they are now (a header
    // set since the last conversion counts)
    uint32_t GetTicksPerMeasure() const { return MeasureTicks(m_numerator, m_denominator); }
    uint32_t GetTicksPerBeat() const { return BeatTicks(m_denominator); }
    void ClearTimeSigMap();
    // Puts a map taken with GetTimeSigMap back whole (an empty one starts
    // again with 4/4 at tick 0)
    void SetTimeSigMap(std::vector<CTimeSigRecord> map);
    // One 4/4 measure at tick 0; position 0:0:0; current and pending signature 4/4
    void ResetTimeSigMap();

    // Sets numerator/denominator (a note value) for measures m .. end-1
    // (end below 0 or past the map: to its end) and moves the later measures
    // in step; for m past the map, appends copies of the last signature up to
    // m. Returns 1 when the map changed, 0 when nothing happened (m below 0,
    // an invalid signature, or a map that would pass the measure or tick limits).
    int SetTimeSignature(int32_t m, uint8_t numerator, uint8_t denominator, int32_t end);

protected:
    int BeforeHeader() override;
    int BeforeTrack() override;
    int BeforeEvent() override;
    int BeforeTimeSignature() override;

    // Ticks per measure and per beat of a signature at the current division; 0 when invalid
    uint32_t MeasureTicks(uint8_t numerator, uint8_t denominator) const;
    uint32_t BeatTicks(uint8_t denominator) const;

    // The map, one entry per measure from measure 0 on
    std::vector<CTimeSigRecord> m_map;

    // Result of the last conversion
    uint32_t m_curMeasure = 0;
    uint32_t m_curBeat = 0;
    uint32_t m_curTick = 0;
    uint8_t m_numerator = 4;
    uint8_t m_denominator = 4;
    uint32_t m_ticksPerMeasure = 0;
    uint32_t m_ticksPerBeat = 0;

    // Signature of the time-signature event being read
    uint8_t m_pendingNumerator = 4;
    uint8_t m_pendingDenominator = 4;

private:
    struct Located {
        size_t measure; // measure holding t (may be past the map when it must grow)
        uint32_t beat;
        uint32_t tick;
        uint32_t remainder; // ticks from the start of the measure
    };
    int Locate(uint32_t t, size_t from, Located& where, bool applyPending);
    int GrowTo(size_t measure, size_t from);
    void SetCurrentSignature(uint8_t numerator, uint8_t denominator);
    void SeedIfEmpty();
};

} // namespace zib
