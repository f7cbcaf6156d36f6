#include "OptionSnapshot.h"

#include "OdbcStatement.h"

namespace tolva {

namespace {

// Long IN lists slow some drivers down and hit statement-size limits on others.
constexpr int kChartsPerStatement = 500;

// Which of `names` a CSOPT row holds, decided by the database's own comparison:
// a blank-padded CHAR column or a case-blind collation finds the rows that
// "NAME = '...'" finds, which the program's exact text comparison would miss.
QString nameIndexCase(const QStringList& names) {
    QString sql = QStringLiteral("CASE");
    for (int i = 0; i < names.size(); ++i) {
        sql += QStringLiteral(" WHEN CSOPT.NAME = '") + names[i] + QStringLiteral("' THEN ") +
               QString::number(i);
    }
    return sql + QStringLiteral(" END");
}

QString rowsSelect(qint32 monId, const QStringList& names) {
    return QStringLiteral("SELECT CSMDAT.CHRTID, CSMDAT.OPTID, ") + nameIndexCase(names) +
           QStringLiteral(", CSMDAT.TVAL FROM CSMDAT, CSOPT WHERE CSMDAT.MONID = ") +
           QString::number(monId) +
           QStringLiteral(" AND CSOPT.OPTID = CSMDAT.OPTID AND CSOPT.NAME IN (") +
           quotedNameList(names) + QStringLiteral(")");
}

// The program's name for a row's name index (read as text: some drivers hand
// a CASE result back as a decimal); empty for none.
QString nameAt(const QStringList& names, OdbcStatement& row, int column) {
    bool isNumber = false;
    const int index = row.text(column).value_or(QString()).trimmed().toInt(&isNumber);
    return isNumber && index >= 0 && index < names.size() ? names[index] : QString();
}

}  // namespace

QString quotedNameList(const QStringList& names) {
    QStringList quoted;
    quoted.reserve(names.size());
    for (const QString& name : names)
        quoted << u'\'' + name + u'\'';
    return quoted.join(QStringLiteral(", "));
}

QString OptionSnapshot::profileRowsSelect(qint32 monId, qint32 profId, const QStringList& names) {
    return rowsSelect(monId, names) +
           QStringLiteral(" AND CSMDAT.CHRTID IN (SELECT CHRTID FROM CSCINP WHERE PROFID = ") +
           QString::number(profId) + QStringLiteral(")");
}

namespace {

QStringList chartRowsSelects(qint32 monId, const QVector<qint32>& charts, const QStringList& names,
                             const QString& rowLock) {
    QStringList selects;
    for (int start = 0; start < charts.size(); start += kChartsPerStatement) {
        QStringList ids;
        for (int i = start; i < charts.size() && i < start + kChartsPerStatement; ++i)
            ids << QString::number(charts[i]);
        selects << rowsSelect(monId, names) + QStringLiteral(" AND CSMDAT.CHRTID IN (") +
                       ids.join(QStringLiteral(", ")) + QStringLiteral(")") + rowLock;
    }
    return selects;
}

QString numbersSelect(const QStringList& names) {
    return QStringLiteral("SELECT OPTID, ") + nameIndexCase(names) +
           QStringLiteral(" FROM CSOPT WHERE NAME IN (") + quotedNameList(names) +
           QStringLiteral(")");
}

}  // namespace

QStringList OptionSnapshot::numbersAndRowsSelects(qint32 monId, const QVector<qint32>& charts,
                                                  const QStringList& names,
                                                  const QString& rowLock) {
    return QStringList{numbersSelect(names)} + chartRowsSelects(monId, charts, names, rowLock);
}

void OptionSnapshot::take(int index, OdbcStatement& row, const QStringList& names) {
    if (index == 0)
        takeNumber(row, names);
    else
        takeRow(row, names);
}

void OptionSnapshot::takeNumber(OdbcStatement& row, const QStringList& names) {
    const qint32 number = row.int32(0);
    addOption(nameAt(names, row, 1), number);
}

void OptionSnapshot::takeRow(OdbcStatement& row, const QStringList& names) {
    const qint32 chart = row.int32(0);
    const qint32 number = row.int32(1);
    const QString name = nameAt(names, row, 2);
    const std::optional<QString> text = row.text(3);
    const FieldValue tval = text ? FieldValue(QVariant(*text)) : FieldValue();
    addOption(name, number);
    // The database should hold one row per pair; where it holds several, the
    // first one this statement returns counts, as a statement per value
    // would take its first row (which of them comes first is the server's
    // choice in both cases).
    const auto byName = qMakePair(chart, nameKey(name));
    const auto first = m_firstByName.constFind(byName);
    if (first == m_firstByName.constEnd()) {
        m_firstByName.insert(byName, tval);
    } else {
        QStringList& several = m_severalByName[byName];
        if (several.isEmpty())
            several << first->toText();
        several << text.value_or(QString());
    }
    const auto byNumber = qMakePair(chart, number);
    if (!m_rows.contains(byNumber))
        m_rows.insert(byNumber, tval);
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

QStringList OptionSnapshot::storedTexts(qint32 chartId, const QString& name) const {
    const std::optional<int> key = knownNameKey(name);
    return key ? m_severalByName.value(qMakePair(chartId, *key)) : QStringList();
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
