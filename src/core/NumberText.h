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
// accepted, blanks at both ends are). Empty optional when it is not a finite
// number.
std::optional<double> parseRegionalNumber(const QString& text);

// The text as a number written with "." as decimal separator, the form the
// program stores (and C locale reading in general). Blanks at both ends allowed.
std::optional<double> parseDotNumber(const QString& text);

// A value typed in the editor: the regional form; where the regional decimal
// separator is not ".", also the "." form (the numeric keypad's key on many
// comma-decimal layouts).
std::optional<double> readTypedNumber(const QString& text);

// A stored value as a number: the whole text (blanks at both ends aside) in the
// "." form, or failing that in the regional form. Never a partial read: "12,5"
// under English settings is no number at all, not 12.
std::optional<double> readStoredNumber(const QString& text);

}  // namespace tolva
