#pragma once

#include "docs/style/core/CStyItem.h"

namespace zib {

// A pad of a Qe pad file: a style item of resource kind 9.
class CQePadItem : public CStyItem {};

} // namespace zib
