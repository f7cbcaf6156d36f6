#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "core/DbConnection.h"

namespace tolva {

// The option rows of one monitor, read with few statements so that neither the
// load nor the save walk asks the database once per value. Holds, for each
// (chart, option name), the TVAL of the first row that the read returned, and
// which (chart, option number) rows exist. The save walk keeps it up to date
// with what it writes.
class OptionSnapshot {
public:
    // CSMDAT rows of the monitor for the charts of the profile, joined with
    // CSOPT, for the given option names: one statement, whose rows go to takeRow.
    static QString profileRowsSelect(qint32 monId, qint32 profId, const QStringList& names);
    void takeRow(OdbcStatement& row, const QStringList& names);
    // Statements to send together: every CSOPT number of the given names (also
    // those without a value row), then the rows of a list of charts (a statement
    // per few hundred charts), each ending with `rowLock`.
    static QStringList numbersAndRowsSelects(qint32 monId, const QVector<qint32>& charts,
                                             const QStringList& names, const QString& rowLock);
    // Takes one result row of the statement at `index` of those.
    void take(int index, OdbcStatement& row, const QStringList& names);

    // The first TVAL read for the pair; none when there is no row.
    std::optional<FieldValue> firstTval(qint32 chartId, const QString& name) const;
    // Every TVAL read for the pair, in the order read, when the database holds
    // more than one row for it (a NULL as an empty text); empty otherwise.
    QStringList storedTexts(qint32 chartId, const QString& name) const;
    // The number a look-up by name gives (the first CSOPT row read).
    std::optional<qint32> optionId(const QString& name) const;
    bool hasRow(qint32 chartId, qint32 optionId) const;

    void optionCreated(const QString& name, qint32 optionId);
    void rowStored(qint32 chartId, qint32 optionId, const QString& name, const QString& tval);
    void rowDeleted(qint32 chartId, qint32 optionId, const QString& name);

private:
    void takeNumber(OdbcStatement& row, const QStringList& names);
    void addOption(const QString& name, qint32 optionId);
    // A small number for each option name met, so that the per-row maps hash
    // two integers rather than a string.
    int nameKey(const QString& name);
    std::optional<int> knownNameKey(const QString& name) const;

    QHash<QString, int> m_nameKeys;
    QHash<QPair<qint32, int>, FieldValue> m_firstByName;     // (chart, name key)
    QHash<QPair<qint32, int>, QStringList> m_severalByName;  // pairs read more than once
    QHash<QPair<qint32, qint32>, FieldValue> m_rows;         // first TVAL per (chart, number)
    QHash<QString, QVector<qint32>> m_numbers;               // in the order read
};

// "'A', 'B'" for an IN list of option names (names are our own constants).
QString quotedNameList(const QStringList& names);

}  // namespace tolva
