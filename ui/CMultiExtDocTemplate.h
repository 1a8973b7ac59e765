#pragma once

#include "ui/CZibDocTemplate.h"

#include <string>

namespace zib {

// A template whose filter extension field names two extensions (".pcg;.prg").
class CMultiExtDocTemplate : public CZibDocTemplate {
public:
    using CZibDocTemplate::CZibDocTemplate;

    // The filter extension field with a '*' after its ';' (".pcg;*.prg").
    std::string GetDocString(DocStringIndex index) const override;
};

} // namespace zib
