#include "ulvarf/CDMSerial.h"

#include "ulvarf/CRTClassList.h"
#include "ulvarf/CStream.h"
#include "ulvarf/TraceMessage.h"

namespace zib::ulvarf {

bool CDMSerial::LoadAndWrite(const CDMSerializable& object, COut& out) const
{
    const uint16_t id = object.ClassId();
    if (!classes_.Contains(id)) {
        TraceMessage("CDMSerial::LoadAndWrite - Object not serializable");
        return false;
    }
    const uint8_t head[2] = {uint8_t(id >> 8), uint8_t(id & 0xFF)};
    return out.Write(head, 2) && object.SaveData(out);
}

bool CDMSerial::ReadAndLoad(CDMSerializable& object, CIn& in) const
{
    uint8_t head[2];
    if (in.Read(head, 2) != 2) return false;
    const uint16_t id = uint16_t(head[0] << 8 | head[1]);
    if (id != object.ClassId() || !classes_.Contains(id)) return false;
    return object.LoadData(in);
}

} // namespace zib::ulvarf
