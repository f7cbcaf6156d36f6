#include "TypedNumber.h"

#include <QLocale>
#include <cmath>

#include "core/NumberText.h"

namespace tolva {

std::optional<double> parseTypedNumber(const QString& text) {
    std::optional<double> v = parseRegionalNumber(text);
    // The numeric keypad gives "." on many comma-decimal layouts.
    if (!v && QLocale().decimalPoint() != QLatin1String("."))
        v = parseDotNumber(text);
    // No limit value, and could not be written back as a number.
    if (v && !std::isfinite(*v))
        return std::nullopt;
    return v;
}

}  // namespace tolva
