#pragma once

#include <QString>

namespace tolva {

class TaggedValue;

// Turns a value into the text the database gets: ASCII digits, "-" and "." as
// decimal separator, whatever the desktop uses. A text is read under the
// regional settings in force when it is converted.
class clsLoc {
public:
    // Empty text when the value is not numeric (empty, letters, empty text).
    QString US_Format(const TaggedValue& value) const;
    QString US_Format(const QString& text) const;
    QString US_Format(double value) const;
};

}  // namespace tolva
