#include "OptionSnapshot.h"

#include "OdbcStatement.h"

namespace tolva {

namespace {

// Long IN lists slow some drivers down and hit statement-size limits on others.
constexpr int kChartsPerStatement = 500;

QString rowsSelect(qint32 monId, const QStringList& names) {
    return QStringLiteral(
               "SELECT CSMDAT.CHRTID, CSMDAT.OPTID, CSOPT.NAME, CSMDAT.TVAL FROM CSMDAT, CSOPT "
               "WHERE CSMDAT.MONID = ") +
           QString::number(monId) +
           QStringLiteral(" AND CSOPT.OPTID = CSMDAT.OPTID AND CSOPT.NAME IN (") +
           quotedNameList(names) + QStringLiteral(")");
}

}  // namespace

QString quotedNameList(const QStringList& names) {
    QStringList quoted;
    quoted.reserve(names.size());
    for (const QString& name : names)
        quoted << u'\'' + name + u'\'';
    return quoted.join(QStringLiteral(", "));
}

void OptionSnapshot::readProfileRows(DbConnection& db, qint32 monId, qint32 profId,
                                     const QStringList& names) {
    readRows(db, rowsSelect(monId, names) +
                     QStringLiteral(" AND CSMDAT.CHRTID IN (SELECT CHRTID FROM CSCINP WHERE "
                                    "PROFID = ") +
                     QString::number(profId) + QStringLiteral(")"));
}

void OptionSnapshot::readChartRows(DbConnection& db, qint32 monId, const QVector<qint32>& charts,
                                   const QStringList& names) {
    for (int start = 0; start < charts.size(); start += kChartsPerStatement) {
        QStringList ids;
        for (int i = start; i < charts.size() && i < start + kChartsPerStatement; ++i)
            ids << QString::number(charts[i]);
        readRows(db, rowsSelect(monId, names) + QStringLiteral(" AND CSMDAT.CHRTID IN (") +
                         ids.join(QStringLiteral(", ")) + QStringLiteral(")"));
    }
}

void OptionSnapshot::readOptionNumbers(DbConnection& db, const QStringList& names) {
    db.forEachRow(QStringLiteral("SELECT OPTID, NAME FROM CSOPT WHERE NAME IN (") +
                      quotedNameList(names) + QStringLiteral(")"),
                  [&](OdbcStatement& row) {
                      const qint32 number = row.int32(0);
                      addOption(row.text(1).value_or(QString()), number);
                  });
}

void OptionSnapshot::readRows(DbConnection& db, const QString& sql) {
    db.forEachRow(sql, [&](OdbcStatement& row) {
        const qint32 chart = row.int32(0);
        const qint32 number = row.int32(1);
        const QString name = row.text(2).value_or(QString());
        const std::optional<QString> text = row.text(3);
        const FieldValue tval = text ? FieldValue(QVariant(*text)) : FieldValue();
        addOption(name, number);
        // The database should hold one row per pair; where it holds several, the
        // first one this statement returns counts, as a statement per value
        // would take its first row (which of them comes first is the server's
        // choice in both cases).
        const auto byName = qMakePair(chart, nameKey(name));
        if (!m_firstByName.contains(byName))
            m_firstByName.insert(byName, tval);
        const auto byNumber = qMakePair(chart, number);
        if (!m_rows.contains(byNumber))
            m_rows.insert(byNumber, tval);
    });
}

void OptionSnapshot::addOption(const QString& name, qint32 optionId) {
    QVector<qint32>& numbers = m_numbers[name];
    if (!numbers.contains(optionId))
        numbers.append(optionId);
}

int OptionSnapshot::nameKey(const QString& name) {
    auto it = m_nameKeys.find(name);
    if (it == m_nameKeys.end())
        it = m_nameKeys.insert(name, int(m_nameKeys.size()));
    return *it;
}

std::optional<int> OptionSnapshot::knownNameKey(const QString& name) const {
    const auto it = m_nameKeys.constFind(name);
    if (it == m_nameKeys.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<FieldValue> OptionSnapshot::firstTval(qint32 chartId, const QString& name) const {
    const std::optional<int> key = knownNameKey(name);
    if (!key)
        return std::nullopt;
    const auto it = m_firstByName.constFind(qMakePair(chartId, *key));
    if (it == m_firstByName.constEnd())
        return std::nullopt;
    return *it;
}

std::optional<qint32> OptionSnapshot::optionId(const QString& name) const {
    const auto it = m_numbers.constFind(name);
    if (it == m_numbers.constEnd() || it->isEmpty())
        return std::nullopt;
    return it->first();
}

bool OptionSnapshot::hasRow(qint32 chartId, qint32 optionId) const {
    return m_rows.contains(qMakePair(chartId, optionId));
}

std::optional<QString> OptionSnapshot::storedText(qint32 chartId, qint32 optionId) const {
    const auto row = m_rows.constFind(qMakePair(chartId, optionId));
    if (row == m_rows.constEnd() || row->isNull())
        return std::nullopt;
    return row->toText();
}

void OptionSnapshot::optionCreated(const QString& name, qint32 optionId) {
    addOption(name, optionId);
}

void OptionSnapshot::rowStored(qint32 chartId, qint32 optionId, const QString& name,
                               const QString& tval) {
    const FieldValue value{QVariant(tval)};
    m_rows.insert(qMakePair(chartId, optionId), value);
    m_firstByName.insert(qMakePair(chartId, nameKey(name)), value);
}

void OptionSnapshot::rowDeleted(qint32 chartId, qint32 optionId, const QString& name) {
    m_rows.remove(qMakePair(chartId, optionId));
    // Another number of the same name (a duplicate definition) may still hold a row.
    const auto byName = qMakePair(chartId, nameKey(name));
    m_firstByName.remove(byName);
    for (qint32 other : m_numbers.value(name)) {
        const auto row = m_rows.constFind(qMakePair(chartId, other));
        if (row != m_rows.constEnd()) {
            m_firstByName.insert(byName, *row);
            break;
        }
    }
}

}  // namespace tolva
