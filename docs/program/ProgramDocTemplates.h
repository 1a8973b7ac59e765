#pragma once

namespace zib {

class CZibDocManager;

// Adds the document templates of the program area, each with its document,
// list view, child frame and document menu: 119 program files (.pcg and
// .prg), 122 arrangements (.arr), 123 global data (.gbl) and 124 arrangement
// global data (.arg).
void AddProgramDocTemplates(CZibDocManager& manager);

} // namespace zib
