#pragma once

#include <QString>

namespace tolva {

// The text as a search compares it: case folded, accents and other combining
// marks removed, ligatures spelt out ("Œ" as "oe", "ß" as "ss").
QString foldForSearch(const QString& text);

// True when `name` contains `filter`, ignoring case and accents; an empty or
// blank filter matches every name.
bool nameMatchesFilter(const QString& name, const QString& filter);

}  // namespace tolva
