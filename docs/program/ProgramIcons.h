#pragma once

#include <wx/bitmap.h>
#include <wx/icon.h>

namespace zib {

// The icons of the program, performance, arrangement and global documents,
// drawn in code by resource number: 116 the general one, 119 program files,
// 120 performance files, 122 arrangements, 123 global data, 124 arrangement
// global data, the model icons 129 Wq8, 130 Wq41, 131 WqR65, 132 Wq6, 133
// WqT517 and 189 Qe.
wxBitmap ProgramIconBitmap(int resource);
wxIcon ProgramIcon(int resource);
// The model icon of a model letter (116 for a letter without one).
int ModelIconResource(int model);

} // namespace zib
