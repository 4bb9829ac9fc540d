#include "DesktopScale.hpp"

#include <cmath>
#include <cstdlib>
#include <string>

namespace
{
constexpr double dotsPerInchAt100Percent = 96.0;
// Desktops offer 100% to 500%; beyond that the value is a mistake, not a screen.
constexpr double largestScale = 5.0;

// The whole text is a number, blanks around it aside.
std::optional<double> number(std::string_view text)
{
    const std::string copy(text);
    const char* begin = copy.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin)
        return std::nullopt;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return std::nullopt;
    return value;
}

// NaN fails both comparisons and is refused with the rest.
bool sensible(double scale)
{
    return scale >= 1.0 && scale <= largestScale;
}
} // namespace

float scaleOfDpi(double dotsPerInch)
{
    const double scale = dotsPerInch / dotsPerInchAt100Percent;
    return sensible(scale) ? static_cast<float>(scale) : 1.f;
}

float x11Scale(std::optional<std::string_view> xftDpi, std::optional<std::string_view> gdkScale)
{
    // GTK reads GDK_SCALE as a whole number.
    if (const std::optional<double> factor = gdkScale ? number(*gdkScale) : std::nullopt;
        factor && std::floor(*factor) == *factor && sensible(*factor))
        return static_cast<float>(*factor);
    if (const std::optional<double> dpi = xftDpi ? number(*xftDpi) : std::nullopt)
        return scaleOfDpi(*dpi);
    return 1.f;
}
