#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "styles/CWqStyleData.h"

namespace zib {

// The date printed in a dump report; injected so that reports are repeatable.
struct WqDumpDate {
    int day = 1;
    int month = 1;
    int year = 1970;

    static WqDumpDate Today(); // the local date
};

// Writes the human-readable report of one Wq style image ("Wqstyle Dump
// Report"): head fields, CV parameters, chord tables, pattern and offset
// tables, every track event by event with pattern references expanded, and
// a dump of every pattern. Runs are bounded by the image size; decreasing
// offset entries are flagged and read as empty runs.
class CWqStyleTextDump {
public:
    CWqStyleTextDump(const CWqStyleData& style, std::ostream& out) : style_(style), out_(out) {}

    // 1 when the report was written, 0 when the image is smaller than its head.
    int Write(const WqDumpDate& date);

    // Display text of a sound word for a model ("A12", "C34 ", "Dr12", "NUL").
    static std::string GetSoundText(uint32_t model, uint16_t soundWord);

private:
    // Report sections
    void WriteHead(const WqDumpDate& date);
    void WriteTables();
    void WriteOffsets();
    void WriteTrackListing();
    void WritePatternDump();

    // Event lines
    void ListRun(std::span<const uint8_t> run, bool expandPatterns);
    bool ListEvent(const WqEvent& event, bool expandPatterns); // false ends the listing
    void ListPatternBar(int pattern);
    void Line(const std::string& text) { out_ << text << '\n'; }
    void Line(const char* text) { out_ << text << '\n'; }

    const CWqStyleData& style_;
    std::ostream& out_;

    // Listing state
    int beatUnit_ = 4;
    int repeatCounter_ = 0;
    int expandedBars_ = 0; // pattern bars expanded in the current track
};

} // namespace zib
