#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace tolva {

// The data sources the ODBC driver manager knows, in its order. Names made only
// of blanks are left out; the others come as returned, untrimmed. Empty when the
// driver manager cannot be used.
QStringList ListDataSourceNames();

// The listing loop over one fetch step, which puts the next name into its
// argument and gives the ODBC result code. A name cut short by the buffer
// (SQL_SUCCESS_WITH_INFO) is kept as it came; any other result but SQL_SUCCESS
// ends the list.
using DsnFetch = std::function<int(QString& name)>;
QStringList CollectDataSourceNames(const DsnFetch& fetchNext);

// Which entry of the data-source list to preselect: the first entry, then the
// last one reading "NOVRAX" in any case, then, when gDsn is not empty, the last
// one equal to gDsn ignoring case. -1 for an empty list.
int PreselectDsn(const QStringList& entries, const QString& gDsn);

}  // namespace tolva
