#pragma once

#include <QString>

namespace tolva {

// The numbered French message catalog (texts 101 to 169, no 127; additions from
// 201). Every text the user sees comes from here, looked up when it is set or shown.
QString catalogText(int number);

// A column heading: the catalog text with every "\n" turned into CR LF.
QString catalogHeading(int number);

}  // namespace tolva
