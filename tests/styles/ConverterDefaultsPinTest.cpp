// The default letter tables the converters and collectors start from when
// no settings are given: the settings' defaults, every letter.
#include "styles/CMidiCollect.h"
#include "styles/CMidiToQeStyConverter.h"

#include <gtest/gtest.h>

#include <string_view>

namespace zib {
namespace {

TEST(ConverterDefaultsPin, LetterTablesInFull)
{
    constexpr std::string_view kQeKeyChord =
        "AAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAAAAAAAAAHAAAHAAAHAAAHAAAHAAAHAAAHAAAH";
    constexpr std::string_view kQeChordTable =
        "ACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCCACCCAACBCCCCCCCBCACCCC"
        "AAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA"
        "AAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAAAAAAAAABAAAAAAABAAAAAA";
    static_assert(kQeChordTable.size() == 264);
    EXPECT_EQ(QeStyleConvertSettings::kDefaultKeyChord, kQeKeyChord);
    EXPECT_EQ(QeStyleConvertSettings::kDefaultChordTable, kQeChordTable);
    const QeStyleConvertSettings fresh;
    EXPECT_EQ(fresh.keyChord, kQeKeyChord);
    EXPECT_EQ(fresh.chordTable, kQeChordTable);

    EXPECT_EQ(WqCvCollectSettings().keyChord, "ABAAAAABAAAAABAAAAABAAAAABABABABABAB");
}

} // namespace
} // namespace zib
