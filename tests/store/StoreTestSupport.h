#pragma once

#include <gtest/gtest.h>
#include <QHash>
#include <QLocale>
#include <QStringList>
#include <QVector>

#include "app/SharedState.h"
#include "store/DbConnection.h"
#include "support/FakeEditorPort.h"
#include "support/TestDatabase.h"

namespace tolva::test {

// A NOVRAX database of the test's own: SPC monitor 12 on profile 50 holding the
// given charts, CSOPRN.MAXNO at 140, and the option values the test adds. The
// program's state points at that monitor with every column group shown.
class MonitorData {
public:
    static constexpr qint32 kMonId = 12;

    explicit MonitorData(const QVector<qint32>& charts = {34}) {
        TestDatabase::resetEmpty();
        QStringList sql{
            QStringLiteral("INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG) VALUES "
                           "(50, 'Profil essai', 0, NULL)"),
            QStringLiteral("INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID) VALUES "
                           "(12, 'Tour CN 3', 'SPC', NULL, 50)"),
            QStringLiteral("INSERT INTO CSOPRN (MAXNO, CNTNAME) VALUES (140, 'OPTID')")};
        for (qint32 chart : charts) {
            sql << QStringLiteral("INSERT INTO CSCHRT (CHRTID, NAME) VALUES (%1, 'Cote %1')")
                       .arg(chart)
                << QStringLiteral("INSERT INTO CSCINP (PROFID, CHRTID) VALUES (50, %1)").arg(chart);
        }
        TestDatabase::execAll(sql);

        SharedState& s = appState();
        s.reset();
        s.gConnStr = TestDatabase::connectionString();
        s.gMonitors = {MonitorEntry{QStringLiteral("Tour CN 3"), kMonId, 0}};
        s.gMonitorIndex = 0;
        s.gShowProc = s.gShowX = s.gShowR = true;
        FakeEditorPort::layColumns();
    }

    // OPTID of an option name, defining it (numbers from 1) on first use.
    qint32 option(const QString& name) {
        if (!m_ids.contains(name)) {
            const qint32 id = qint32(m_ids.size()) + 1;
            TestDatabase::exec(
                QStringLiteral("INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (%1, '%2', 'TEXT')")
                    .arg(id)
                    .arg(name));
            m_ids.insert(name, id);
        }
        return m_ids.value(name);
    }

    void set(qint32 chart, const QString& name, const QString& tval) {
        insertValue(chart, name, QLatin1Char('\'') + tval + QLatin1Char('\''));
    }
    void setNull(qint32 chart, const QString& name) {
        insertValue(chart, name, QStringLiteral("NULL"));
    }

    // TVAL as text, "<null>" for a database null, "<none>" when there is no row.
    static QString value(qint32 chart, const QString& name, const QString& table = "CSMDAT") {
        const auto rows = TestDatabase::rows(
            QStringLiteral("SELECT TVAL FROM %1 WHERE MONID = 12 AND CHRTID = %2 AND OPTID IN "
                           "(SELECT OPTID FROM CSOPT WHERE NAME = '%3')")
                .arg(table)
                .arg(chart)
                .arg(name));
        return rows.isEmpty() ? QStringLiteral("<none>") : rows.first().value(0);
    }

    static qint32 maxNo() {
        return TestDatabase::scalar(QStringLiteral("SELECT MAXNO FROM CSOPRN")).toInt();
    }

    // The loaded row of a chart (the chart query has no order of its own).
    static int indexOf(qint32 chart) {
        const auto& rows = appState().gOptionRows;
        for (int i = 0; i < rows.size(); ++i) {
            if (rows[i].ChartId == chart)
                return i;
        }
        ADD_FAILURE() << "chart " << chart << " not loaded";
        return 0;
    }
    static OptionRow& row(qint32 chart) { return appState().gOptionRows[indexOf(chart)]; }

private:
    void insertValue(qint32 chart, const QString& name, const QString& literal) {
        TestDatabase::exec(
            QStringLiteral(
                "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, %1, %2, %3)")
                .arg(chart)
                .arg(option(name))
                .arg(literal));
    }
    QHash<QString, qint32> m_ids;
};

// Makes the server refuse new CSMDAT rows; updates and deletes still pass. On
// PostgreSQL the test user (the tables' owner, not a superuser) loses its
// INSERT privilege; SQLite has no privileges, a trigger refuses instead. The
// next reset recreates the table without either.
inline void refuseNewValues() {
    if (TestDatabase::backend() == QLatin1String("postgres")) {
        const QString user =
            TestDatabase::connectionString().section(QStringLiteral("UID="), 1).section(u';', 0, 0);
        TestDatabase::exec(QStringLiteral("REVOKE INSERT ON CSMDAT FROM ") + user);
    } else {
        TestDatabase::exec(
            QStringLiteral("CREATE TRIGGER refuse_values BEFORE INSERT ON CSMDAT BEGIN "
                           "SELECT RAISE(ABORT, 'insertion refusee dans CSMDAT'); END"));
    }
}

// Statements and connections of the program from now on.
class StatementLog {
public:
    StatementLog() {
        SqlCounters& c = sqlCounters();
        c.recent.clear();
        c.recording = true;
        m_statements = c.statements;
        m_opened = c.connectionsOpened;
    }
    ~StatementLog() { sqlCounters().recording = false; }

    QStringList statements() const {
        return QStringList(sqlCounters().recent.begin(), sqlCounters().recent.end());
    }
    qint64 count() const { return sqlCounters().statements - m_statements; }
    qint64 connectionsOpened() const { return sqlCounters().connectionsOpened - m_opened; }

    // Option names in the order the program looked them up in CSOPT.
    QStringList optionLookups() const {
        static const QString prefix = QStringLiteral("SELECT OPTID FROM CSOPT WHERE NAME = '");
        QStringList names;
        for (const QString& sql : statements()) {
            if (sql.startsWith(prefix))
                names << sql.mid(prefix.size()).chopped(1);
        }
        return names;
    }

private:
    qint64 m_statements = 0;
    qint64 m_opened = 0;
};

// Regional settings for one test; the program's number formatter follows them.
class ScopedLocale {
public:
    explicit ScopedLocale(QLocale::Language language, QLocale::Territory territory)
        : m_saved(QLocale()) {
        QLocale::setDefault(QLocale(language, territory));
        appState().gLoc.reset();
    }
    ~ScopedLocale() {
        QLocale::setDefault(m_saved);
        appState().gLoc.reset();
    }

private:
    QLocale m_saved;
};

}  // namespace tolva::test
