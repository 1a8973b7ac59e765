#pragma once

#include "platform/FileIo.h"
#include "tests/support/FakeProgramDocPort.h"
#include "tests/support/TempDir.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace zib::test {

// A program, performance, arrangement or global document talking to a fake
// window, with a folder for its files.
template <class Model> class ProgramTestDoc {
public:
    ProgramTestDoc() { doc.SetPort(&port); }
    ProgramTestDoc(const ProgramTestDoc&) = delete;

    // Opens `image` as the file `name` (written to the folder first).
    bool open(const std::string& name, const std::vector<uint8_t>& image)
    {
        return doc.OnOpenDocument(file(name, image));
    }
    // Writes a file into the folder; its path.
    std::string file(const std::string& name, const std::vector<uint8_t>& bytes) const
    {
        const auto path = dir / name;
        writeFileAtomically(path, bytes);
        return path.string();
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    // Selects rows (and focuses one) in the fake list.
    void select(std::vector<int> rows, int focused = -1)
    {
        port.selected = std::move(rows);
        port.focused = focused;
    }
    // A Wq file opens with every record of its layout and takes no more: the
    // document's Delete makes room for `rows` items at the end of the shown
    // list (the selection and the messages cleared afterwards).
    void makeRoom(int rows)
    {
        doc.OnEditSelectAll();
        const std::vector<int> all = port.selected;
        select(std::vector<int>(all.end() - std::min<std::ptrdiff_t>(rows, std::ssize(all)), all.end()));
        if (!port.selected.empty()) doc.DeleteItems();
        select({});
        port.clear();
    }
    std::vector<std::string> said() const { return port.said(); }
    std::vector<std::string> captions() const { return port.captions(); }

    FakeProgramDocPort port;
    TempDir dir;
    Model doc;
};

} // namespace zib::test
