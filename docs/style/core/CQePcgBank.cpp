#include "docs/style/core/CQePcgBank.h"

namespace zib {

namespace {

// A free program slot: no resource, no name, kind 4, no bank or position.
QeBankEntry freeProgramEntry()
{
    QeBankEntry e;
    e.kind = 4;
    return e;
}

} // namespace

CQePcgBank::CQePcgBank()
{
    FreeTable(entries, freeProgramEntry());
}

int CQePcgBank::EnumIndex(ULRFContainer* container)
{
    FreeTable(entries, freeProgramEntry());
    int programs = 0;
    Enumerate(container, {{4, &entries, &programs}});
    if (programs == 0) return 0;
    Repair(4, false);
    return 1;
}

} // namespace zib
