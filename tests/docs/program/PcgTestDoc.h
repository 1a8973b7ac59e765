#pragma once

#include "docs/program/core/PcgDocModel.h"
#include "tests/docs/program/ProgramTestDoc.h"

namespace zib::test {

using PcgTestDoc = ProgramTestDoc<PcgDocModel>;

} // namespace zib::test
