#pragma once

#include <gtest/gtest.h>
#include <QHash>
#include <QLocale>
#include <QLoggingCategory>
#include <QStringList>
#include <functional>

#include "app/SharedState.h"
#include "settings/modCfg.h"
#include "store/DbConnection.h"
#include "support/FakeEditorPort.h"
#include "support/FakeUiPort.h"
#include "support/TestDatabase.h"

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace tolva::test {

// The store tests run on a French desktop, whose decimal comma is not the stored point.
inline const bool frenchDesktop =
    (QLocale::setDefault(QLocale(QLocale::French, QLocale::France)), true);

// An empty NOVRAX database but for SPC monitor 12 on profile 50 with the given
// charts and CSOPRN.MAXNO at 140; the program points at that monitor with every
// column group shown.
class MonitorData {
public:
    explicit MonitorData(const QVector<qint32>& charts = {34}) {
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
        ApplyViewState();
    }

    // Stores TVAL (nullptr: a database null), defining the option name on first use.
    void set(qint32 chart, const QString& name, const char* tval) {
        if (!m_ids.contains(name)) {
            m_ids.insert(name, qint32(m_ids.size()) + 1);
            TestDatabase::exec(QStringLiteral("INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES "
                                              "(%1, '%2', 'TEXT')")
                                   .arg(m_ids.value(name))
                                   .arg(name));
        }
        TestDatabase::exec(
            QStringLiteral(
                "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, %1, %2, %3)")
                .arg(chart)
                .arg(m_ids.value(name))
                .arg(tval ? QStringLiteral("'%1'").arg(tval) : QStringLiteral("NULL")));
    }

    // Several values at once: "Name=TVAL Name=TVAL".
    void setAll(qint32 chart, const QString& pairs) {
        for (const QString& pair : pairs.split(u' '))
            set(chart, pair.section(u'=', 0, 0), pair.section(u'=', 1).toUtf8().constData());
    }

    // TVAL, "<none>" without a row (or for a database null, which the program never writes).
    static QString value(qint32 chart, const QString& name) {
        const QVariant v = TestDatabase::scalar(
            QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = %1 AND OPTID IN "
                           "(SELECT OPTID FROM CSOPT WHERE NAME = '%2')")
                .arg(chart)
                .arg(name));
        return v.isValid() ? v.toString() : QStringLiteral("<none>");
    }
    static int count(const QString& sql) { return TestDatabase::scalar(sql).toInt(); }
    static int maxNo() { return count(QStringLiteral("SELECT MAXNO FROM CSOPRN")); }

    // The loaded row of a chart (the chart query has no order of its own).
    static OptionRow& row(qint32 chart) {
        for (OptionRow& r : appState().gOptionRows) {
            if (r.ChartId == chart)
                return r;
        }
        throw std::runtime_error("chart not loaded");
    }
    static int indexOf(qint32 chart) { return int(&row(chart) - appState().gOptionRows.data()); }

private:
    QHash<QString, qint32> m_ids;
};

// The server refuses new CSMDAT rows from now on (PostgreSQL: the test user loses
// its INSERT privilege; SQLite: a trigger). The next reset lifts it.
inline void refuseNewValues() {
    if (TestDatabase::backend() == QLatin1String("postgres"))
        TestDatabase::exec(QStringLiteral("REVOKE INSERT ON CSMDAT FROM ") +
                           TestDatabase::connectionString().section("UID=", 1).section(';', 0, 0));
    else
        TestDatabase::exec(
            "CREATE TRIGGER refuse_values BEFORE INSERT ON CSMDAT BEGIN "
            "SELECT RAISE(ABORT, 'insertion refusee dans CSMDAT'); END");
}

// The program's statements and connections from now on.
class StatementLog {
public:
    StatementLog() : m_opened(sqlCounters().connectionsOpened) {
        sqlCounters().recent.clear();
        sqlCounters().recording = true;
    }
    ~StatementLog() { sqlCounters().recording = false; }
    QStringList statements() const { return sqlCounters().recent; }
    qint64 connectionsOpened() const { return sqlCounters().connectionsOpened - m_opened; }

private:
    qint64 m_opened;
};

// Runs an action just before the program sends a statement beginning with the given
// text (once, or every time), the way another editor acts between two statements.
class StatementTrap {
public:
    StatementTrap(const QString& start, std::function<void()> action, bool everyTime = false)
        : m_start("exec " + start), m_action(std::move(action)), m_everyTime(everyTime) {
        s_current = this;
        logStatements(true);
        m_previous = qInstallMessageHandler(&StatementTrap::handle);
    }
    ~StatementTrap() {
        qInstallMessageHandler(m_previous);
        logStatements(false);
    }
    int fired = 0;

private:
    static void logStatements(bool on) {
        QLoggingCategory::setFilterRules(on ? "tolva.sql.debug=true" : "");
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        StatementTrap* t = s_current;
        if (qstrcmp(context.category, "tolva.sql") != 0) {
            if (t->m_previous)
                t->m_previous(type, context, message);
        } else if (message.startsWith(t->m_start) && (t->m_everyTime || t->fired == 0)) {
            ++t->fired;
            logStatements(false);  // the action's own statements pass unseen
            t->m_action();
            logStatements(true);
        }
    }
    QString m_start;
    std::function<void()> m_action;
    bool m_everyTime;
    QtMessageHandler m_previous = nullptr;
    static inline StatementTrap* s_current = nullptr;
};

inline TaggedValue num(double v) {
    return TaggedValue::number(v);
}

// The current values of one group of a row: lower, centre, upper.
inline void setGroup(OptionRow& r, OptionGroup group, const TaggedValue& low,
                     const TaggedValue& centre, const TaggedValue& high) {
    OptionCell* cells[3][3] = {{&r.SpecLower, &r.SpecNominal, &r.SpecUpper},
                               {&r.XLcl, &r.XCl, &r.XUcl},
                               {&r.RLcl, &r.RCl, &r.RUcl}};
    cells[int(group)][0]->Current = low;
    cells[int(group)][1]->Current = centre;
    cells[int(group)][2]->Current = high;
}

inline void expectOneCriticalBox(const FakeUiPort& ui, const QString& start) {
    ASSERT_EQ(ui.shown.size(), 1);
    EXPECT_TRUE(ui.shown[0].text.startsWith(start)) << ui.shown[0].text.toStdString();
    EXPECT_EQ(ui.shown[0].icon, UiPort::Icon::Critical);
    EXPECT_EQ(ui.shown[0].title, "TOLVA Editor");
    EXPECT_FALSE(ui.busy);
}

}  // namespace tolva::test
