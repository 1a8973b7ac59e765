// Build step: compiles data/lang/messages.tsv and data/lang/ui.tsv into the C++
// source of the program's text tables.
//
//   zib_texts_gen <messages.tsv> <ui.tsv> <output.cpp>
//
// Any fault in either table is printed as "<file>:<line>: error: ..." and fails
// the build; the output file is then left as it was.

#include "ui/texts/TextTableReader.h"
#include "ui/texts/TextTableSource.h"
#include "platform/FileIo.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool readText(const char* path, std::string& out)
{
    std::vector<uint8_t> bytes;
    if (zib::readWholeFile(path, bytes, uintmax_t(16) << 20) != zib::FileIoError::None) {
        std::fprintf(stderr, "%s: error: cannot read the file\n", path);
        return false;
    }
    out.assign(bytes.begin(), bytes.end());
    return true;
}

template <class Read> bool reportErrors(const Read& read)
{
    for (const auto& error : read.errors)
        std::fprintf(stderr, "%s\n", error.c_str());
    return read.ok();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <messages.tsv> <ui.tsv> <output.cpp>\n", argv[0]);
        return 2;
    }
    std::string messagesText;
    std::string uiText;
    if (!readText(argv[1], messagesText) || !readText(argv[2], uiText)) return 1;

    const auto messages = zib::texts::readMessageTable(messagesText, argv[1]);
    const auto uiTexts = zib::texts::readUiTextTable(uiText, argv[2]);
    const bool messagesOk = reportErrors(messages);
    const bool uiTextsOk = reportErrors(uiTexts);
    if (!messagesOk || !uiTextsOk) return 1;

    const std::string source = zib::texts::textTablesSource(messages.rows, uiTexts.rows);
    if (zib::writeFileAtomically(argv[3], source) != zib::FileIoError::None) {
        std::fprintf(stderr, "%s: error: cannot write the file\n", argv[3]);
        return 1;
    }
    return 0;
}
