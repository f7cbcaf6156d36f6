#include "clsLoc.h"

#include <QLocale>

#include "NumberText.h"
#include "TaggedValue.h"

namespace tolva {

QString clsLoc::US_Format(double value) const {
    // Converted without the desktop's locale: swapping its separator would still
    // leave a U+2212 minus or Arabic-Indic digits, which no reader takes back.
    return QLocale::c().toString(value, 'g', 15);
}

QString clsLoc::US_Format(const QString& text) const {
    const auto number = parseRegionalNumber(text);
    return number ? US_Format(*number) : QString();
}

QString clsLoc::US_Format(const TaggedValue& value) const {
    if (value.isNumber())
        return US_Format(value.toNumber());
    if (value.isText())
        return US_Format(value.toTextValue());
    return QString();
}

}  // namespace tolva
