#pragma once

#include <QString>

namespace tolva {

// "DSN=<dsn>;UID=<user>;PWD=<password>;". A value holding ";", "{" or "}", or
// starting or ending with a blank, goes between ODBC braces ("}" doubled) so it
// reaches the driver whole and cannot add attributes of its own; every other
// value is inserted exactly as given.
QString BuildConnStr(const QString& dsn, const QString& user, const QString& password);

// One attribute value as BuildConnStr writes it.
QString connectionValue(const QString& value);

}  // namespace tolva
