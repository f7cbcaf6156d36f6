#pragma once

#include <QString>
#include <optional>

namespace tolva {

// A value typed or pasted into the grid as a number: the regional form first;
// where the regional decimal separator is not ".", "." is read as one too.
// Infinities and NaN are refused.
std::optional<double> parseTypedNumber(const QString& text);

}  // namespace tolva
