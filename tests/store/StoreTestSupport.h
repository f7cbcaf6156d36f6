#pragma once

#include <gtest/gtest.h>
#include <QHash>
#include <QLocale>
#include <functional>

#include "core/DbConnection.h"
#include "core/LimitGroups.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"
#include "support/StatementTrap.h"
#include "support/TestDatabase.h"

namespace tolva::test {

// The store tests run on a French desktop, whose decimal comma is not the stored point.
inline const bool frenchDesktop =
    (QLocale::setDefault(QLocale(QLocale::French, QLocale::France)), true);

// An empty NOVRAX database but for SPC monitor 12 on profile 50 with the given
// charts and CSOPRN.MAXNO at 140; the program points at that monitor with every
// column group shown.
class MonitorData {
public:
    explicit MonitorData(const QVector<qint32>& charts) {
        TestDatabase::resetEmpty();
        QStringList sql{
            "INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG) VALUES (50, 'Profil', 0, NULL)",
            "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID) VALUES "
            "(12, 'Tour CN 3', 'SPC', NULL, 50)",
            "INSERT INTO CSOPRN (MAXNO, CNTNAME) VALUES (140, 'OPTID')"};
        for (qint32 c : charts)
            sql << QStringLiteral("INSERT INTO CSCHRT (CHRTID, NAME) VALUES (%1, 'Cote %1')").arg(c)
                << QStringLiteral("INSERT INTO CSCINP (PROFID, CHRTID) VALUES (50, %1)").arg(c);
        TestDatabase::execAll(sql);
        SharedState& s = appState();
        s.reset();
        s.gConnStr = TestDatabase::connectionString();
        s.gMonitors = {MonitorEntry{QStringLiteral("Tour CN 3"), 12, 0}};
        s.gMonitorIndex = 0;
        s.gShowProc = s.gShowX = s.gShowR = true;
    }

    // Stores TVAL (nullptr: a database null), defining the option name on first use.
    void set(qint32 chart, const QString& name, const char* tval) {
        define(name);
        TestDatabase::exec(QStringLiteral("INSERT INTO CSMDAT VALUES (12, %1, %2, %3)")
                               .arg(chart)
                               .arg(m_ids.value(name))
                               .arg(tval ? QStringLiteral("'%1'").arg(tval) : "NULL"));
    }
    void define(const QString& name) {
        if (!m_ids.contains(name))
            TestDatabase::exec(QStringLiteral("INSERT INTO CSOPT VALUES (%1, '%2', 'TEXT')")
                                   .arg(m_ids.insert(name, qint32(m_ids.size()) + 1).value())
                                   .arg(name));
    }
    // "Name=TVAL Name=TVAL"
    void setAll(qint32 chart, const QString& pairs) {
        for (const QString& pair : pairs.split(u' '))
            set(chart, pair.section(u'=', 0, 0), pair.section(u'=', 1).toUtf8().constData());
    }

    // TVAL, "<none>" without a row.
    static QString value(qint32 chart, const QString& name) {
        const QVariant v = TestDatabase::scalar(
            QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = %1 AND OPTID IN "
                           "(SELECT OPTID FROM CSOPT WHERE NAME = '%2')")
                .arg(chart)
                .arg(name));
        return v.isValid() ? v.toString() : QStringLiteral("<none>");
    }
    static int count(const QString& sql) { return TestDatabase::scalar(sql).toInt(); }

    // The loaded row of a chart (the chart query has no order of its own).
    static int rowIndex(qint32 chart) {
        const OptionTable& rows = appState().gOptionRows;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows.at(i).ChartId == chart)
                return i;
        }
        throw std::runtime_error("chart not loaded");
    }
    static const OptionRow& row(qint32 chart) { return appState().gOptionRows.at(rowIndex(chart)); }

private:
    QHash<QString, qint32> m_ids;
};

// The program's statements and connections from now on.
struct StatementLog {
    StatementLog() {
        sqlCounters().recent.clear();
        sqlCounters().recording = true;
    }
    ~StatementLog() { sqlCounters().recording = false; }
    QStringList statements() const { return sqlCounters().recent; }
    qint64 connectionsOpened() const { return sqlCounters().connectionsOpened - opened; }
    const qint64 opened = sqlCounters().connectionsOpened;
};

using StoreTest = ::testing::Test;

inline TaggedValue num(double v) {
    return TaggedValue::number(v);
}

// "-" when empty, a number in full, a text in quotes.
inline QString valueText(const TaggedValue& v) {
    return v.isEmpty()    ? QStringLiteral("-")
           : v.isNumber() ? QString::number(v.toNumber(), 'g', 17)
                          : u'"' + v.toTextValue() + u'"';
}

// The current values of one group of a chart's row: lower, centre, upper.
inline void setGroup(qint32 chart, OptionGroup group, const TaggedValue& low,
                     const TaggedValue& centre, const TaggedValue& high) {
    const int i = MonitorData::rowIndex(chart);
    OptionTable& rows = appState().gOptionRows;
    const LimitGroup& g = limitGroup(group);
    rows.setCurrent(i, g.low(), low);
    rows.setCurrent(i, g.middle(), centre);
    rows.setCurrent(i, g.high(), high);
}

// The server refuses new rows of the table, the way a missing privilege does.
inline void refuseInserts(const QString& table) {
    if (TestDatabase::backend() == QLatin1String("postgres"))
        TestDatabase::exec("REVOKE INSERT ON " + table + " FROM " +
                           TestDatabase::setting("Username"));
    else if (TestDatabase::backend() == QLatin1String("mariadb"))
        TestDatabase::exec("CREATE TRIGGER refuse BEFORE INSERT ON " + table +
                           " FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refusee'");
    else
        TestDatabase::exec("CREATE TRIGGER refuse BEFORE INSERT ON " + table +
                           " BEGIN SELECT RAISE(ABORT, 'refusee'); END");
}

// A failure whose text, as the box shows it, begins with start.
inline void expectFailure(const StoreOutcome& outcome, const QString& start) {
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.text().startsWith(start)) << outcome.text().toStdString();
}

}  // namespace tolva::test
