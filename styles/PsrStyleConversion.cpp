#include "styles/PsrStyleConversion.h"

#include "styles/CPsrStyConverter.h"
#include "styles/ConversionLogSink.h"
#include "styles/StyleConvertError.h"

#include <memory>

namespace zib {

PsrConversionResult ConvertPsrStyle(std::span<const uint8_t> image, std::string_view fileName,
                                    const PsrConvertSettings& settings, std::ostream* dumpLog)
{
    PsrConversionResult result;
    CPsrStyConverter converter;
    std::unique_ptr<COStreamLogSink> sink;
    if (dumpLog) {
        sink = std::make_unique<COStreamLogSink>(*dumpLog);
        converter.SetLog(sink.get());
    }
    converter.SetSectionMapping(settings.psrStyToQeSty);
    converter.SetFileName(std::string(fileName));
    result.code = converter.Convert(image, settings.outputCapacity);
    if (result.code != 0) {
        result.errorText = ReportedErrorText(converter, result.code, 80);
        return result;
    }
    result.styleResource = converter.GetOutput();
    result.styleName = converter.GetStyleName();
    return result;
}

} // namespace zib
