#include "app/CZibApp.h"

wxIMPLEMENT_APP(zib::CZibApp);
