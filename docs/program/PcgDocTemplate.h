#pragma once

namespace zib {

class CZibDocManager;

// Adds the program document template (119: .pcg and .prg files) with its
// document, list view, child frame and document menu.
void AddPcgDocTemplate(CZibDocManager& manager);

} // namespace zib
