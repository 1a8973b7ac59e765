#include "tests/support/RealStyles.h"

#include "docs/style/core/QeStyleEditor.h"
#include "styles/PsrConvertError.h"
#include "styles/PsrStyleConversion.h"
#include "tests/support/RealFixtures.h"
#include "ui/core/PsrConversionOutput.h"
#include "ulvarf/ulvarf.h"

#include <gtest/gtest.h>

namespace zib::test {

namespace {

// The serialised instance of resource 0 of a container image.
std::vector<uint8_t> firstInstance(const std::vector<uint8_t>& image)
{
    ULRFContainer* container = _ULRFCreateInstance(image.data(), uint32_t(image.size()));
    ULRFResInstance* resource = container ? _ULRFExtractResource(container, 0) : nullptr;
    std::vector<uint8_t> out;
    if (resource) {
        out.resize(size_t(_ULRFResInstanceSize(resource)));
        if (!_ULRFPutResInstance(resource, out.data(), uint32_t(out.size()))) out.clear();
    }
    _ULRFDelResInstance(resource);
    _ULRFDeleteInstance(container);
    return out;
}

} // namespace

const std::vector<ConvertedPsrStyle>& convertedRealPsrStyles()
{
    static const std::vector<ConvertedPsrStyle> styles = [] {
        std::vector<ConvertedPsrStyle> out;
        for (const auto& path : realFixtureFiles("psr-styles")) {
            ConvertedPsrStyle style;
            style.file = path.filename().string();
            const std::vector<uint8_t> bytes = readFileBytes(path);
            PsrConvertSettings settings;
            PsrConversionResult r = ConvertPsrStyle(bytes, style.file, settings, nullptr);
            if (r.code == kPsrTooManyCvs) {
                settings.psrStyToQeSty = "ABCDAAAAAA";
                r = ConvertPsrStyle(bytes, style.file, settings, nullptr);
                style.variationsOnly = true;
            }
            style.code = r.code;
            style.name.assign(reinterpret_cast<const char*>(r.styleName.data()), r.styleName.size());
            style.name.erase(style.name.find('\0') == std::string::npos ? style.name.size() : style.name.find('\0'));
            if (r.code == 0) style.instance = firstInstance(SingleResourceContainer(r.styleName, r.styleResource));
            out.push_back(std::move(style));
        }
        return out;
    }();
    return styles;
}

void forEachRealStyleEditor(const std::function<void(QeStyleEditor&)>& check)
{
    const auto& styles = convertedRealPsrStyles();
    if (styles.empty()) GTEST_SKIP() << "no real PSR styles";
    for (const auto& style : styles) {
        SCOPED_TRACE(style.file);
        auto made = LibraryQeStyleEditor::FromItem(style.instance);
        if (!made.editor) {
            ADD_FAILURE() << "no style editor over the converted style (" << made.result << ")";
            continue;
        }
        check(*made.editor);
    }
}

} // namespace zib::test
