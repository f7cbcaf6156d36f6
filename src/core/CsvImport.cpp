#include "CsvImport.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/Catalog.h"
#include "core/ChartName.h"
#include "core/CsvReader.h"
#include "core/LimitGroups.h"
#include "core/NumberText.h"

namespace tolva {

namespace {

// Headings compare on one line, blanks collapsed, case aside: a spreadsheet user
// may have wrapped or retyped them.
QString headingKey(const QString& heading) {
    return heading.simplified().toCaseFolded().normalized(QString::NormalizationForm_C);
}

// The export puts a quote before a text a spreadsheet would take for a formula.
QString unprotected(const QString& field) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (field.size() >= 2 && field.at(0) == u'\'' && formulaStarts.contains(field.at(1)))
        return field.mid(1);
    return field;
}

QString nameKey(const QString& name) {
    return name.trimmed().normalized(QString::NormalizationForm_C);
}

bool isBlankRecord(const QStringList& record) {
    return std::all_of(record.begin(), record.end(),
                       [](const QString& f) { return f.trimmed().isEmpty(); });
}

QString joinedNumbers(const QVector<int>& numbers) {
    QStringList texts;
    for (const int n : numbers)
        texts << QString::number(n);
    return texts.join(QStringLiteral(", "));
}

QString withLines(const QString& what, const QVector<int>& lines) {
    return what + QStringLiteral(" – ") + catalogText(Msg::ImportLines).arg(joinedNumbers(lines));
}

// Fields read as typed values are, for thousands of them: a plain number (sign,
// digits, one decimal separator between digits) is read without asking the
// desktop's settings each time, which costs most of a large preview otherwise.
class FieldNumbers {
public:
    FieldNumbers() : m_point(QLocale().decimalPoint()) {}

    std::optional<double> read(const QString& text) const {
        if (const std::optional<double> plain = plainNumber(text))
            return plain;
        return readTypedNumber(text);
    }

private:
    std::optional<double> plainNumber(QString text) const {
        auto digit = [&](qsizetype i) { return text.at(i) >= u'0' && text.at(i) <= u'9'; };
        const qsizetype n = text.size();
        qsizetype i = n > 0 && (text.at(0) == u'-' || text.at(0) == u'+') ? 1 : 0;
        const qsizetype whole = i;
        while (i < n && digit(i))
            ++i;
        if (i == whole)
            return std::nullopt;
        if (i < n) {
            if (text.at(i) != u'.' && !(m_point.size() == 1 && text.at(i) == m_point.at(0)))
                return std::nullopt;
            text[i++] = u'.';
            const qsizetype fraction = i;
            while (i < n && digit(i))
                ++i;
            if (i == fraction || i < n)
                return std::nullopt;
        }
        return parseDotNumber(text);
    }

    const QString m_point;
};

// Whether two numbers may show alike in 15 significant digits.
bool nearly(double a, double b) {
    return std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}

}  // namespace

CsvImportFile ReadCsvImport(const QByteArray& bytes, const ColumnLayout& layout) {
    CsvImportFile file;
    const std::optional<QString> text = decodeCsvBytes(bytes);
    if (!text) {
        file.error = Msg::ImportNotText;
        return file;
    }
    const QChar regional = QLocale().decimalPoint() == QLatin1String(",") ? u';' : u',';
    CsvRecords csv = parseCsv(*text, detectCsvSeparator(*text, regional));
    if (csv.unclosedQuoteLine > 0) {
        file.error = Msg::ImportUnclosedQuote;
        file.detail = QString::number(csv.unclosedQuoteLine);
        return file;
    }
    const QStringList headings = csv.records.value(0);
    QHash<QString, int> seen;  // heading key -> field, -1 once found twice
    for (int f = 0; f < headings.size(); ++f) {
        const QString key = headingKey(unprotected(headings.at(f)));
        if (!key.isEmpty())
            seen[key] = seen.contains(key) ? -1 : f;
    }
    auto fieldOf = [&](const QString& heading) { return seen.value(headingKey(heading), -2); };
    file.nameField = fieldOf(catalogText(Msg::CharacteristicHeading));
    if (file.nameField < 0) {
        file.error = Msg::ImportNoNameColumn;
        return file;
    }
    QVector<bool> used(headings.size(), false);
    used[file.nameField] = true;
    if (layout.hasQuery()) {
        file.queryField = qMax(-1, fieldOf(catalogText(Msg::QueryHeading)));
        if (file.queryField >= 0)
            used[file.queryField] = true;
    }
    // Every limit is looked for, hidden groups included.
    for (OptionCellRef cell : limitCells()) {
        const QString heading = limitHeadingOnOneLine(cell).simplified();
        const int field = fieldOf(heading);
        if (field >= 0) {
            file.limits.push_back({field, cell, heading});  // in grid order
            used[field] = true;
        }
    }
    for (int f = 0; f < headings.size(); ++f) {
        const QString heading = unprotected(headings.at(f)).simplified();
        if (!used.at(f) && !heading.isEmpty() && !file.ignoredHeadings.contains(heading))
            file.ignoredHeadings << heading;
    }

    // Filled fields past the headings belong to no column.
    QVector<int> beyond;
    for (qsizetype r = 1; r < csv.records.size(); ++r) {
        const QStringList& record = csv.records.at(r);
        if (isBlankRecord(record))
            continue;
        if (record.size() > headings.size() && !isBlankRecord(record.mid(headings.size())))
            beyond << csv.lines.at(r);
        file.rows << record;
        file.lines << csv.lines.at(r);
    }
    if (!beyond.isEmpty())
        file.ignoredHeadings << catalogText(Msg::ImportLines).arg(joinedNumbers(beyond));
    return file;
}

CsvImportFile ReadCsvImportFile(const QString& path, const ColumnLayout& layout) {
    QFile device(path);
    if (!device.open(QIODevice::ReadOnly)) {
        CsvImportFile file;
        file.error = Msg::ImportUnreadable;
        file.detail = device.errorString();
        return file;
    }
    return ReadCsvImport(device.readAll(), layout);
}

ImportPreview BuildImportPreview(const SharedState& s, const ColumnLayout& layout,
                                 const CsvImportFile& file, bool blanksClear) {
    ImportPreview preview;
    preview.ignoredHeadings = file.ignoredHeadings;
    const auto& rows = s.gOptionRows;
    const bool byQuery = file.queryField >= 0;

    // Names as the grid shows them; the key adds the query where the file has it.
    QStringList shown(rows.size());
    QHash<QString, QVector<int>> gridRows;
    for (int i = 0; i < rows.size(); ++i) {
        const ChartNameParts parts = splitChartName(rows.at(i).ChartName);
        const bool withQuery = layout.hasQuery() && !parts.query.isEmpty();
        shown[i] = withQuery ? QStringLiteral("%1 (%2)").arg(parts.characteristic, parts.query)
                             : parts.characteristic;
        QString key = nameKey(parts.characteristic);
        if (byQuery)
            key += u'\x1f' + nameKey(parts.query);
        gridRows[key] << i;
    }

    // File records by key, in the order of their first line.
    QStringList order;
    QHash<QString, QVector<int>> fileRecords;
    QHash<QString, QString> fileNames;
    for (int r = 0; r < file.rows.size(); ++r) {
        const QStringList& record = file.rows.at(r);
        const QString name = nameKey(unprotected(record.value(file.nameField)));
        const QString query =
            byQuery ? nameKey(unprotected(record.value(file.queryField))) : QString();
        const QString key = byQuery ? name + u'\x1f' + query : name;
        if (!fileRecords.contains(key)) {
            order << key;
            fileNames[key] = query.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, query);
        }
        fileRecords[key] << r;
    }

    const FieldNumbers numbers;
    QVector<bool> mentioned(rows.size(), false);
    QVector<QVector<ImportChange>> byRow(rows.size());
    for (const QString& key : order) {
        const QVector<int>& records = fileRecords.value(key);
        const QVector<int> matches = gridRows.value(key);
        for (const int i : matches)
            mentioned[i] = true;
        if (records.size() > 1) {
            QVector<int> lines;
            for (const int r : records)
                lines << file.lines.at(r);
            preview.duplicates << withLines(fileNames.value(key), lines);
            continue;
        }
        const int r = records.first();
        if (matches.isEmpty()) {
            preview.notFound << withLines(fileNames.value(key), {file.lines.at(r)});
            continue;
        }
        if (matches.size() > 1) {
            preview.duplicates << fileNames.value(key) + QStringLiteral(" – ") +
                                      catalogText(Msg::ImportGridTwice).arg(matches.size());
            continue;
        }
        const int i = matches.first();
        const QStringList& record = file.rows.at(r);
        for (const ImportColumn& column : file.limits) {
            if (column.field >= record.size())
                continue;  // a short record says nothing of this limit
            const QString text = unprotected(record.at(column.field)).trimmed();
            const TaggedValue& before = (rows.at(i).*column.cell).Current;
            TaggedValue after;
            const std::optional<double> number = text.isEmpty() ? std::nullopt : numbers.read(text);
            // Formatting the current value costs: only where the text may show it.
            const bool mayShowBefore = before.isText() || (number && before.isNumber() &&
                                                           nearly(*number, before.toNumber()));
            if (text.isEmpty()) {
                if (!blanksClear)
                    continue;
            } else if (number && before == TaggedValue::number(*number)) {
                continue;
            } else if (mayShowBefore && text == before.toDisplayText().trimmed()) {
                continue;  // a stored text, or a number with more digits than shown
            } else if (number) {
                after = TaggedValue::number(*number);
            } else {
                preview.nonNumbers << withLines(
                    QStringLiteral("%1, %2 : %3").arg(shown.at(i), column.heading, text),
                    {file.lines.at(r)});
                continue;
            }
            if (after != before)
                byRow[i].push_back({i, column.cell, column.heading, before, after});
        }
    }
    for (int i = 0; i < rows.size(); ++i) {
        if (!mentioned.at(i))
            preview.notMentioned << shown.at(i);
    }

    // Grid order: the rows as the grid has them, each row's limits already in
    // column order.
    for (const QVector<ImportChange>& changes : byRow)
        preview.changes += changes;
    return preview;
}

}  // namespace tolva
