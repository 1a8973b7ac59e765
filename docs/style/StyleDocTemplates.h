#pragma once

namespace zib {

class CZibDocManager;

// Adds the document templates of the style (.sty) and pad (.pad) files.
void AddStyleDocTemplates(CZibDocManager& manager);

} // namespace zib
