#include "ui/core/CTrackNameSource.h"

#include "styles/StringPrintf.h"

namespace zib {

CTrackNameSource::~CTrackNameSource() = default;

std::string CTrackNameSource::OutPortName(int port, int /*channel*/) const
{
    return StringPrintf("%3d", port + 1);
}

std::string CTrackNameSource::BankName(int /*port*/, int /*channel*/, int bank) const
{
    return StringPrintf("%d", bank);
}

std::string CTrackNameSource::PatchName(int /*port*/, int /*channel*/, int /*bank*/, int program) const
{
    return StringPrintf("%d", program + 1);
}

} // namespace zib
