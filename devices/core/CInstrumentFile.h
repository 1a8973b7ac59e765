#pragma once

#include "devices/core/CInsNameEntry.h"
#include "devices/core/CLineTextFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zib {

// The port-instrument relation file (zibinstr.ini): one "port,channel=name"
// line per relation; every other line is ignored.
class CInstrumentFile : public CLineTextFile {
public:
    // Reading: appends the valid relation lines of the file in file order.
    InsFileResult ReadRelations(const std::filesystem::path& path, RelationArray& relations);
    InsFileResult ReadRelationsFromText(std::string_view text, RelationArray& relations);

    // The relation of one line; none for a line that is not a valid relation
    // (port 0-127 and channel 0-15, both in digits; a non-empty name).
    static std::optional<CInsNameEntry> ClassifyRelationLine(std::string_view line);

    // The file's text: the comment header, then one line per relation.
    static std::string FormatRelations(const RelationArray& relations, std::string_view applicationName);

private:
    InsFileResult ReadAll(RelationArray& relations);
};

} // namespace zib
