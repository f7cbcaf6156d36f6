#include "NumberText.h"

#include <QLocale>
#include <cmath>

namespace tolva {

QString formatRegionalNumber(double value) {
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc.toString(value, 'g', 15);
}

static std::optional<double> parseWith(QLocale loc, const QString& text) {
    loc.setNumberOptions(QLocale::RejectGroupSeparator);
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = loc.toDouble(t, &ok);
    // "nan" and "inf" are no limit values: they could not be compared or stored.
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> parseRegionalNumber(const QString& text) {
    return parseWith(QLocale(), text);
}

std::optional<double> parseDotNumber(const QString& text) {
    return parseWith(QLocale::c(), text);
}

std::optional<double> readTypedNumber(const QString& text) {
    if (const auto v = parseRegionalNumber(text))
        return v;
    if (QLocale().decimalPoint() != QLatin1String("."))
        return parseDotNumber(text);
    return std::nullopt;
}

std::optional<double> readStoredNumber(const QString& text) {
    if (const auto v = parseDotNumber(text))
        return v;
    return parseRegionalNumber(text);
}

}  // namespace tolva
