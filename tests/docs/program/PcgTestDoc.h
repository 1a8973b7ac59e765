#pragma once

#include "docs/program/core/PcgDocModel.h"
#include "tests/support/TempDir.h"

#include "platform/FileIo.h"

#include <string>
#include <vector>

namespace zib::test {

// A program document that records its notices, with a folder for its files.
class PcgTestDoc {
public:
    PcgTestDoc() : doc([this](const StyNotice& n) { notices.push_back(n); }) {}
    PcgTestDoc(const PcgTestDoc&) = delete;

    // Opens `image` as the file `name` (written to the folder first).
    bool open(const std::string& name, const std::vector<uint8_t>& image)
    {
        const auto path = dir / name;
        writeFileAtomically(path, image);
        return doc.OpenImage(path.string(), image);
    }
    // Writes an item file into the folder; its path.
    std::string file(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        const auto path = dir / name;
        writeFileAtomically(path, bytes);
        return path.string();
    }
    // The message numbers (or English texts) of the notices, in order.
    std::vector<std::string> said() const
    {
        std::vector<std::string> out;
        for (const auto& n : notices)
            out.push_back(n.message >= 0 ? std::to_string(n.message) : n.text);
        return out;
    }
    std::vector<std::string> captions() const
    {
        std::vector<std::string> out;
        for (const auto& n : notices)
            out.push_back(n.caption);
        return out;
    }

    std::vector<StyNotice> notices;
    TempDir dir;
    PcgDocModel doc;
};

} // namespace zib::test
