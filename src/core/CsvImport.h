#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include "core/ColumnLayout.h"
#include "core/SharedState.h"

namespace tolva {

// Limits brought back from a spreadsheet: a CSV file in the export's shape, or
// as a spreadsheet saves it again, matched to the option table by
// characteristic name (and query, where the grid has that column).

// A limit column of the file.
struct ImportColumn {
    int field;  // index in each record
    OptionCellRef cell;
    QString heading;  // on one line, as the export writes it
};

// A file read and its headings recognised.
struct CsvImportFile {
    int error = 0;   // catalog number of why the file cannot be used; 0 when it can
    QString detail;  // the system's reason, where there is one
    int nameField = -1;
    int queryField = -1;  // only where the grid shows a query column
    QVector<ImportColumn> limits;
    QStringList ignoredHeadings;  // unknown, or found twice
    QVector<QStringList> rows;    // the records under the headings
    QVector<int> lines;           // the file line of each
};
CsvImportFile ReadCsvImport(const QByteArray& bytes, const ColumnLayout& layout);
CsvImportFile ReadCsvImportFile(const QString& path, const ColumnLayout& layout);

// One value the import changes.
struct ImportChange {
    int rowIndex;
    OptionCellRef cell;
    QString heading;
    TaggedValue before;
    TaggedValue after;
};

// What an import would do, ready to be shown: the changes in grid order, then
// each list of the preview as its item texts.
struct ImportPreview {
    QVector<ImportChange> changes;
    QStringList nonNumbers;    // any one of them stops the import
    QStringList duplicates;    // names twice in the file or in the grid: left alone
    QStringList notFound;      // file names the monitor does not have
    QStringList notMentioned;  // grid characteristics the file does not name
    QStringList ignoredHeadings;
    bool canApply() const { return nonNumbers.isEmpty() && !changes.isEmpty(); }
};

// Fields read as typed values are. A blank field leaves the value as it is, or
// clears it with `blanksClear`; a field missing from a short record is no blank.
// A field showing the value exactly as the grid does changes nothing, so an
// exported file brings back no change, stored texts and long decimals included.
ImportPreview BuildImportPreview(const SharedState& s, const ColumnLayout& layout,
                                 const CsvImportFile& file, bool blanksClear);

}  // namespace tolva
