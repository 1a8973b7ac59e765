#pragma once

#include "mididoc/core/EventTexts.h"

#include <string>
#include <string_view>

namespace zib {

class CMidiParserEx;

// The text dump of an event list ("EventListTxtDump.txt"), built in one
// buffer: the list's title, the column line, one row per listed event (the
// events of tracks above 0 with a row, in array order) and the closing line.
// `style` is ListDump for the whole-file list and TrackListDump for a pad or
// style track ("VexNoise"); note names use the alphabet `keyAlphabet`.
std::string EventListTextDump(CMidiParserEx& sequence, std::string_view title, EventTextStyle style,
                              int keyAlphabet);

} // namespace zib
