// Style (.WSF) and pad (.ZPF) item files imported into documents of both
// series: every refusal is a message, nothing is read past the file.
#include "fuzz/docs/style/StyFuzzFixtures.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <unistd.h>

// Byte 0 picks the receiving document: 0 a Qe style file, 1 a Wq8 one, 2 a
// WqR65 one, 3 a new one, 4 a pad file. The rest is the item file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    static const std::vector<uint8_t> qe = zib::fuzz::smallQeFile(false);
    static const std::vector<uint8_t> pads = zib::fuzz::smallQeFile(true);
    static const std::vector<uint8_t> wq8 = zib::fuzz::smallWqFile('9');
    static const std::vector<uint8_t> r65 = zib::fuzz::smallWqFile('M');
    const int kind = data[0] % 5;
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("zib-item-fuzz-" + std::to_string(getpid()) + (kind == 4 ? ".zpf" : ".wsf"));
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    zib::fuzz::FuzzPort port;
    if (kind == 4) {
        zib::CZibPadDoc doc;
        doc.SetPort(&port);
        if (doc.OpenImage(pads, "/fuzz/p.pad")) doc.ImportItems({file});
        std::filesystem::remove(file);
        return 0;
    }
    zib::CZibStyDoc doc;
    doc.SetPort(&port);
    if (kind == 3)
        doc.NewDocument();
    else if (!doc.OpenImage(kind == 0 ? qe : kind == 1 ? wq8 : r65, "/fuzz/s.sty")) {
        std::filesystem::remove(file);
        return 0;
    }
    doc.ImportItems({file});
    std::filesystem::remove(file);
    if (doc.StyCount()) doc.BuildFileImage();
    return 0;
}
