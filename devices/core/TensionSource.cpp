#include "devices/core/TensionSource.h"

#include "zibtbl/ZibTbl.h"

namespace zib {

namespace {

class ZibTblSource : public TensionSource {
public:
    int32_t QeTension(uint8_t tensionFlag, uint8_t nttMode, int32_t sourceChordType, uint8_t chordType,
                      int32_t chordTension, int32_t interval) const override
    {
        return GetQeTension(tensionFlag, nttMode, sourceChordType, chordType, chordTension, interval);
    }
    int32_t WqSeriesTension(uint8_t tensionFlag, int32_t sourceKind, uint8_t chordType, int32_t chordTension,
                            int32_t interval) const override
    {
        return GetWqSeriesTension(tensionFlag, sourceKind, chordType, chordTension, interval);
    }
};

} // namespace

const TensionSource& ZibTblTensions()
{
    static const ZibTblSource source;
    return source;
}

} // namespace zib
