#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/ColumnLayout.h"
#include "core/SharedState.h"

namespace tolva {

// The option table as a spreadsheet reads it: a heading line, then one line
// per characteristic with its query (when the grid shows that column) and the
// shown value columns in grid order. Numbers take the regional form; the field
// separator is ";" where the decimal separator is ",", else ",". UTF-8 with a
// byte-order mark, CR LF line ends; fields holding the separator, a quote or a
// line break are quoted. `characteristics` and `queries` hold the split chart
// names, one per option row.
//
// A text a spreadsheet would take for a formula (first character "=", "+", "-",
// "@", a tab or a carriage return) is written with a single quote "'" before
// it, so the spreadsheet shows it as text; numbers are written as they are. The
// import reads a field that starts with "'" followed by one of those characters
// without that quote (so a name that itself starts that way loses its quote).
QByteArray BuildCsvExport(const SharedState& s, const ColumnLayout& layout,
                          const QStringList& characteristics, const QStringList& queries);

// Lines of fields in the same form: the regional separator, quoting where
// needed, UTF-8 with a byte-order mark, CR LF line ends.
QByteArray BuildCsvTable(const QVector<QStringList>& lines);

// Writes the whole file or nothing (an existing file stays as it was on any
// failure, a full disk included); on failure `reason` holds the system's
// description.
bool WriteExportFile(const QString& path, const QByteArray& content, QString& reason);

}  // namespace tolva
