#include "NumberText.h"

#include <QLocale>

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
    // Collect the longest prefix that still forms a number: sign, digits,
    // one ".", digits, then an optional exponent with at least one digit.
    QString s;
    int i = 0;
    const int n = int(text.size());
    auto skipBlanks = [&] {
        while (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
    };
    skipBlanks();
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        s += text[i++];
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        s += text[i++];
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        s += text[i++];
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            s += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        QString exp = QStringLiteral("e");
        int j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exp += text[j++];
        bool expDigits = false;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            exp += text[j++];
            expDigits = true;
        }
        if (expDigits)
            s += exp;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(s, &ok);
    return ok ? v : 0.0;
}

}  // namespace tolva
