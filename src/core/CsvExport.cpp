#include "CsvExport.h"

#include <QLocale>
#include <QSaveFile>
#include <cerrno>

#include "core/Catalog.h"
#include "core/LimitGroups.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tolva {

namespace {

QString quoted(const QString& field, QChar separator) {
    const bool needsQuotes = field.contains(separator) || field.contains(u'"') ||
                             field.contains(u'\n') || field.contains(u'\r');
    if (!needsQuotes)
        return field;
    QString inner = field;
    inner.replace(QLatin1String("\""), QLatin1String("\"\""));
    return u'"' + inner + u'"';
}

// A text a spreadsheet would evaluate gets a leading quote; numbers never pass here.
QString asText(const QString& text) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return u'\'' + text;
    return text;
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

QByteArray BuildCsvExport(const SharedState& s, const ColumnLayout& layout,
                          const QStringList& characteristics, const QStringList& queries) {
    const bool withQuery = layout.hasQuery();
    const QVector<OptionCellRef> cells = layout.shownCells();

    QVector<QStringList> lines;
    auto endLine = [&](QStringList fields) { lines << std::move(fields); };

    QStringList headings = {catalogText(151)};
    if (withQuery)
        headings << catalogText(152);
    // Spreadsheets filter and sort better on one-line headings.
    for (OptionCellRef cell : cells)
        headings << limitHeadingOnOneLine(cell);
    endLine(headings);

    for (qsizetype i = 0; i < s.gOptionRows.size(); ++i) {
        QStringList fields = {asText(characteristics.value(i))};
        if (withQuery)
            fields << asText(queries.value(i));
        for (OptionCellRef cell : cells) {
            const TaggedValue& value = (s.gOptionRows.at(i).*cell).Current;
            fields << (value.isText() ? asText(value.toTextValue()) : value.toDisplayText());
        }
        endLine(fields);
    }
    return BuildCsvTable(lines);
}

bool WriteExportFile(const QString& path, const QByteArray& content, QString& reason) {
    // Unbuffered, so a full disk fails a write itself: a failure met only by the
    // flush inside commit() would let a cut file replace the old one. A short
    // write is followed by another, which fails with the system's reason.
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < content.size();) {
        const qint64 n = file.write(content.constData() + done, content.size() - done);
        written = n > 0;
        done += n;
    }
    written = written && file.flush() && file.error() == QFileDevice::NoError;
    if (!written)
        reason = file.errorString();
#ifdef Q_OS_UNIX
    // Some file systems find the disk full only when the data reaches it; the
    // commit below would not say so.
    if (written && ::fsync(file.handle()) != 0 && errno != EINVAL) {
        reason = qt_error_string(errno);
        written = false;
    }
#endif
    if (!written) {
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
