#include "CsvExport.h"

#include <QLocale>
#include <QSaveFile>
#include <algorithm>
#include <vector>

#include "core/Catalog.h"

namespace tolva {

namespace {

struct ExportColumn {
    int column;
    const QString* heading;
    const OptionCell OptionRow::*cell;
};

// The shown value columns, ordered as the grid shows them.
std::vector<ExportColumn> shownValueColumns(const SharedState& s) {
    std::vector<ExportColumn> all = {
        {s.gColSpecLower, &s.gCapSpecLower, &OptionRow::SpecLower},
        {s.gColSpecNominal, &s.gCapSpecNominal, &OptionRow::SpecNominal},
        {s.gColSpecUpper, &s.gCapSpecUpper, &OptionRow::SpecUpper},
        {s.gColXLcl, &s.gCapXLcl, &OptionRow::XLcl},
        {s.gColXCl, &s.gCapXCl, &OptionRow::XCl},
        {s.gColXUcl, &s.gCapXUcl, &OptionRow::XUcl},
        {s.gColRLcl, &s.gCapRLcl, &OptionRow::RLcl},
        {s.gColRCl, &s.gCapRCl, &OptionRow::RCl},
        {s.gColRUcl, &s.gCapRUcl, &OptionRow::RUcl}};
    all.erase(std::remove_if(all.begin(), all.end(), [](auto& c) { return c.column < 0; }),
              all.end());
    std::sort(all.begin(), all.end(), [](auto& a, auto& b) { return a.column < b.column; });
    return all;
}

QString quoted(const QString& field, QChar separator) {
    const bool needsQuotes = field.contains(separator) || field.contains(u'"') ||
                             field.contains(u'\n') || field.contains(u'\r');
    if (!needsQuotes)
        return field;
    QString inner = field;
    inner.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + inner + u'"';
}

// Spreadsheets filter and sort better on one-line headings.
QString oneLine(const QString& heading) {
    return heading.split(QStringLiteral("\r\n")).join(u' ');
}

}  // namespace

QByteArray BuildCsvTable(const QVector<QStringList>& lines) {
    const QChar separator = QLocale().decimalPoint() == QLatin1String(",") ? u';' : u',';
    QString text;
    for (QStringList fields : lines) {
        for (QString& field : fields)
            field = quoted(field, separator);
        text += fields.join(separator) + QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QByteArray BuildCsvExport(const SharedState& s, const QStringList& characteristics,
                          const QStringList& queries) {
    const bool withQuery = s.gColQuery > 0;
    const std::vector<ExportColumn> columns = shownValueColumns(s);

    QVector<QStringList> lines;
    auto endLine = [&](QStringList fields) { lines << std::move(fields); };

    QStringList headings = {catalogText(151)};
    if (withQuery)
        headings << catalogText(152);
    for (const ExportColumn& c : columns)
        headings << oneLine(*c.heading);
    endLine(headings);

    for (qsizetype i = 0; i < s.gOptionRows.size(); ++i) {
        QStringList fields = {characteristics.value(i)};
        if (withQuery)
            fields << queries.value(i);
        for (const ExportColumn& c : columns)
            fields << (s.gOptionRows.at(i).*c.cell).Current.toDisplayText();
        endLine(fields);
    }
    return BuildCsvTable(lines);
}

bool WriteExportFile(const QString& path, const QByteArray& content, QString& reason) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

}  // namespace tolva
