#include "ulvarf/CGlobalObjectBase.h"

#include "ulvarf/CGlobalObjectCollector.h"

namespace zib::ulvarf {

CGlobalObjectBase::CGlobalObjectBase() : CGlobalObjectBase(CGlobalObjectCollector::Instance()) {}

CGlobalObjectBase::CGlobalObjectBase(CGlobalObjectCollector& collector) : collector_(collector)
{
    collector_.Register(this);
}

CGlobalObjectBase::~CGlobalObjectBase()
{
    collector_.Unregister(this);
}

} // namespace zib::ulvarf
