#include "NumberText.h"

#include <QLocale>
#include <QRegularExpression>

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
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<double> parseRegionalNumber(const QString& text) {
    return parseWith(QLocale(), text);
}

std::optional<double> parseDotNumber(const QString& text) {
    return parseWith(QLocale::c(), text);
}

double readLeadingDotNumber(const QString& text) {
    // The longest prefix that still forms a number: sign, digits, one ".",
    // digits, then an exponent only when it has a digit.
    static const QRegularExpression leadingNumber(
        QStringLiteral("^[ \\t]*([+-]?(?:[0-9]+(?:\\.[0-9]*)?|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?)"));
    const QRegularExpressionMatch match = leadingNumber.match(text);
    if (!match.hasMatch())
        return 0.0;
    bool ok = false;
    const double v = QLocale::c().toDouble(match.captured(1), &ok);
    return ok ? v : 0.0;
}

}  // namespace tolva
