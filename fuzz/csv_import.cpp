// CSV import: any bytes give a preview or a reason, never a crash, and every
// change names a row and a cell of the table. Input bytes holding 0x01 also
// stand for records (split at 0x01, fields at 0x02) that, written with the
// export's quoting, must read back unchanged.
#include <QByteArray>
#include <QLocale>
#include <QStringDecoder>
#include <cstdint>

#include "FuzzCheck.h"
#include "core/CsvExport.h"
#include "core/CsvImport.h"
#include "core/CsvReader.h"
#include "core/ViewState.h"

using namespace tolva;

namespace {

const SharedState& fuzzState() {
    static SharedState s;
    static const bool ready = [] {
        s.gMonitors = {{QStringLiteral("Presse"), 7, 1}};
        s.gMonitorIndex = 0;
        s.gShowProc = s.gShowX = s.gShowR = true;
        QVector<OptionRow> rows(3);
        rows[0].ChartName = QStringLiteral("[A][Diamètre]");
        rows[1].ChartName = QStringLiteral("[B][Diamètre]");
        rows[2].ChartName = QStringLiteral("Longueur");
        rows[0].SpecNominal.setBoth(TaggedValue::number(10));
        rows[2].XUcl.setBoth(TaggedValue::text(QStringLiteral("abc")));
        s.gOptionRows = rows;
        return true;
    }();
    Q_UNUSED(ready);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const SharedState& s = fuzzState();
    static const ColumnLayout layout = ApplyViewState(s);
    const CsvImportFile file = ReadCsvImport(bytes, layout);
    for (const bool blanksClear : {false, true}) {
        const ImportPreview preview = BuildImportPreview(s, layout, file, blanksClear);
        for (const ImportChange& change : preview.changes)
            FUZZ_CHECK(change.rowIndex >= 0 && change.rowIndex < s.gOptionRows.size() &&
                       change.cell && change.after != change.before);
        FUZZ_CHECK(file.error == 0 || preview.changes.isEmpty());
    }

    if (!bytes.contains('\x01'))
        return 0;
    QVector<QStringList> records;
    for (const QByteArray& record : bytes.split('\x01')) {
        QStringList fields;
        for (const QByteArray& field : record.split('\x02'))
            fields << QString::fromUtf8(field);
        records << fields;
    }
    // Written as the export writes a table, read back as the import reads it.
    const QChar separator = QLocale().decimalPoint() == QLatin1String(",") ? u';' : u',';
    QStringDecoder utf8(QStringConverter::Utf8);  // takes off the writer's mark alone
    const CsvRecords read = parseCsv(utf8(BuildCsvTable(records)), separator);
    FUZZ_CHECK(read.unclosedQuoteLine == 0);
    FUZZ_CHECK(read.records == records);
    return 0;
}
