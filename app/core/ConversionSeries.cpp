#include "app/core/ConversionSeries.h"

#include <array>

namespace zib {

namespace {

constexpr std::array<std::string_view, 10> kWqElements = {"VAR1", "VAR2", "VAR3", "VAR4",  "INT1",
                                                          "INT2", "END1", "END2", "FILL1", "FILL2"};
constexpr std::array<std::string_view, 12> kQeElements = {"VAR1",  "VAR2",  "VAR3", "VAR4", "INT1",  "INT2",
                                                          "FILL1", "FILL2", "END1", "END2", "FILL3", "INT3"};

} // namespace

int ElementCountOf(ConversionSeries series)
{
    return series == ConversionSeries::Wq ? 10 : 12;
}

int ChordTypeCountOf(ConversionSeries series)
{
    return series == ConversionSeries::Wq ? 20 : 22;
}

int CvCountOf(int element)
{
    return element <= 3 ? 6 : 2;
}

int CvSlotOf(int element, int cv)
{
    return element <= 3 ? element * 6 + cv : element * 2 + 16 + cv;
}

int CvSlotCountOf(ConversionSeries series)
{
    return CvSlotOf(ElementCountOf(series) - 1, 1) + 1;
}

std::string_view ElementNameOf(ConversionSeries series, int element)
{
    if (element < 0 || element >= ElementCountOf(series)) return {};
    return series == ConversionSeries::Wq ? kWqElements[size_t(element)] : kQeElements[size_t(element)];
}

} // namespace zib
