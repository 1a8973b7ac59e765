#pragma once

#include <cstdint>

namespace zib::ulvarf {

class CIn;
class COut;
class CRTClassList;

// An object that CDMSerial can write and read back.
class CDMSerializable {
public:
    virtual ~CDMSerializable() = default;

    virtual uint16_t ClassId() const = 0;
    virtual bool SaveData(COut& out) const = 0;
    virtual bool LoadData(CIn& in) = 0;
};

// Writes objects of registered classes as their 16-bit class id (big-endian)
// followed by their data, and reads them back after checking that id.
class CDMSerial {
public:
    explicit CDMSerial(const CRTClassList& classes) : classes_(classes) {}

    // An object whose class is not registered traces
    // "CDMSerial::LoadAndWrite - Object not serializable" and is not written.
    bool LoadAndWrite(const CDMSerializable& object, COut& out) const;
    // False when the stored id is missing or names another class.
    bool ReadAndLoad(CDMSerializable& object, CIn& in) const;

private:
    const CRTClassList& classes_;
};

} // namespace zib::ulvarf
