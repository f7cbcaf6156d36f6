#pragma once

#include <QString>
#include <optional>

namespace tolva {

// Regional-settings number conversions shared by the formatter, the readers,
// the grid and the in-place editor. All use a default-constructed QLocale.

// A double in the standard text form of the regional settings: at most 15
// significant digits, no digit grouping, no trailing zeros, no separator for
// whole numbers; exponent form only for magnitudes plain notation cannot hold.
QString formatRegionalNumber(double value);

// The text as a number under the regional settings (group separators are not
// accepted, blanks at both ends are). Empty optional when it is not a number.
std::optional<double> parseRegionalNumber(const QString& text);

// The text as a number written with "." as decimal separator, the form the
// program stores (and C locale reading in general). Blanks at both ends allowed.
std::optional<double> parseDotNumber(const QString& text);

}  // namespace tolva

namespace tolva {
// Reads a number the way the database values are read: from the start of the
// text, skipping blanks, "." as the only decimal separator, stopping at the
// first character that cannot continue the number ("12,5" gives 12).
double readLeadingDotNumber(const QString& text);
}  // namespace tolva
