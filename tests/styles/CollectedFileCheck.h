#pragma once

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "midi/CMidiFileEx.h"
#include "platform/FileIo.h"
#include "styles/CConversionLog.h"
#include "styles/CStyleTextCommands.h"
#include "styles/ConversionLogSink.h"

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

} // namespace zib::test
