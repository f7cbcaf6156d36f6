#pragma once

#include <QString>

namespace tolva {

class TaggedValue;

// Turns a value into the text the database gets: ASCII digits, "-" and "." as
// decimal separator, whatever the desktop uses. The desktop's separator is found
// once, when the instance is created; a later change of the settings is not seen.
class clsLoc {
public:
    clsLoc();

    // Empty text when the value is not numeric (empty, letters, empty text).
    QString US_Format(const TaggedValue& value) const;
    QString US_Format(const QString& text) const;
    QString US_Format(double value) const;

private:
    QString m_decimalSeparator;
};

}  // namespace tolva
