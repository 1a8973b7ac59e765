#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "midi/CMidiFileEx.h"
#include "platform/FileIo.h"
#include "styles/CCvMidiCollector.h"
#include "styles/CConversionLog.h"
#include "styles/CStyleTextCommands.h"
#include "styles/ConversionLogSink.h"
#include "tests/styles/SmfListing.h"
#include "tests/support/RealFixtures.h"

namespace zib::test {

// Reads a collected CV file the way the MIDI-to-style converters read its
// first track: every meta text event goes through the text commands of the
// series at its measure:beat:tick. Also lists the first track's texts with
// their ticks.
class CollectedCommandCheck : public CMidiFileEx {
public:
    struct Text {
        uint32_t tick;
        uint8_t type;
        std::string text;
    };

    explicit CollectedCommandCheck(const StyleSeriesTraits& traits)
        : sink_(logText_), log_(&sink_), commands_(traits, log_)
    {
        commands_.Reset(StyleCommandSettings{});
    }

    int Read(const std::vector<uint8_t>& image)
    {
        m_flags = kDenominatorAsNote;
        const int rc = ParseMemory(image.data(), uint32_t(image.size()));
        if (rc == 0) commands_.FinishLastCv(int(GetTimeSigCount()) - 1);
        return rc;
    }

    const StyleCommandState& State() const { return commands_.State(); }
    std::string Log() const { return logText_.str(); }
    std::vector<Text> texts;
    int fatal = 0;

protected:
    int OnMetaText() override
    {
        if (GetTrackIndex() != 0) return 0;
        std::vector<uint8_t> data(GetEventBytes());
        if (!data.empty() && ReadBytes(data.data(), uint32_t(data.size())) != 0) return 99;
        texts.push_back(Text{m_trackTime, m_status, std::string(data.begin(), data.end())});
        const StyleEventPosition pos{m_trackTime, int(GetLastMeasure()), int(GetLastBeat()),
                                     int(GetLastTick())};
        const int rc = commands_.Dispatch(pos, m_status, std::span<const uint8_t>(data));
        if (rc && !fatal) fatal = rc;
        return 0;
    }

private:
    std::ostringstream logText_;
    COStreamLogSink sink_;
    CConversionLog log_;
    CStyleTextCommands commands_;
};

inline void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    ASSERT_EQ(writeFileAtomically(path, bytes), FileIoError::None) << path;
}

// One collection as the tests look at it: its result and log, and the
// collected file with its listing when it succeeded.
struct Collected {
    int code = -1;
    std::string log;
    std::string errorText;
    std::filesystem::path output;
    std::vector<uint8_t> file;
    SmfListing listing;

    static std::unique_ptr<Collected> Of(const CvCollectResult& result, std::string log)
    {
        auto out = std::make_unique<Collected>();
        out->code = result.code;
        out->errorText = result.errorText;
        out->output = result.outputPath;
        out->log = std::move(log);
        if (out->code == 0) {
            out->file = readFileBytes(out->output);
            EXPECT_EQ(out->listing.Read(out->file), 0) << "the collected file must parse";
        }
        return out;
    }
};

// The markers of one track: "tick text", or the texts alone.
inline std::vector<std::string> markers(const SmfListing& listing, int track)
{
    std::vector<std::string> out;
    for (const auto& e : listing.events)
        if (e.track == track && e.status == 0xFF && e.type == 0x06)
            out.push_back(std::to_string(e.tick) + " " + e.text());
    return out;
}

inline std::vector<std::string> markerTexts(const SmfListing& listing, int track)
{
    return listing.Texts(track, 0x06);
}

inline bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

} // namespace zib::test
