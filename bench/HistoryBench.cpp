// Benchmark of the history window on a long journal.
//
//   tolva_bench_history [[--server-port N | --mariadb-port N] <connection string>]...
//
// For each connection string it generates the database of tolva_bench (small
// shape: the window needs only the big monitor's charts), adds the journal with
// 100,000 rows for the big monitor and 20,000 for another, and times what a
// user waits for after Options › Historique: the read of the monitor's rows,
// then the window built, shown and drawn; then the first filter typed (which
// folds every row once) and a second one. Prints wall time and statements.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTextStream>
#include <cstdio>
#include <ctime>

#include "BenchData.h"
#include "BenchTable.h"
#include "core/DbConnection.h"
#include "core/JournalHistory.h"
#include "core/MonitorList.h"
#include "core/OptionReader.h"
#include "core/Startup.h"
#include "support/SqlScript.h"
#include "ui/frmHistory.h"

using namespace tolva;
using namespace tolva::bench;

namespace {

constexpr int kRows = 100000;

// The journal from the demo script, filled over a generated series in each
// dialect's own date arithmetic and text concatenation.
void fillJournal(const QString& target, const QString& demoScript) {
    DbConnection db;
    db.open(target);
    for (const QString& statement : test::splitSqlScript(demoScript)) {
        if (statement.startsWith(QLatin1String("CREATE")) &&
            statement.contains(QLatin1String("TOLVA_JOURNAL")))
            db.execute(statement);
    }
    const bool mysql = db.dialect() == DbConnection::Dialect::MySQL;
    const QString time = db.dialect() == DbConnection::Dialect::PostgreSQL
                             ? "TIMESTAMP '2020-01-01 00:00:00' + i * INTERVAL '1 minute'"
                         : mysql ? "TIMESTAMP '2020-01-01 00:00:00' + INTERVAL i MINUTE"
                                 : "datetime('2020-01-01 00:00:00', '+' || i || ' minutes')";
    auto concat = [mysql](const QString& a, const QString& b) {
        return mysql ? QStringLiteral("CONCAT(%1, %2)").arg(a, b) : a + " || " + b;
    };
    const QString series =
        "WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < %1) ";
    const QString columns =
        "INSERT INTO TOLVA_JOURNAL (CHANGED_AT, DB_USER, WORKSTATION, MONID, CHRTID, OPTNAME, "
        "OLD_TVAL, NEW_TVAL, REASON) ";
    const QString select =
        "SELECT " + time + ", " + concat("'opérateur'", "(i % 7)") + ", " +
        concat("'poste-'", "(i % 5)") +
        ", %2, 1 + (i % 1000), CASE WHEN i % 3 = 0 THEN 'XChartUCLConstant' WHEN i % 3 = 1 "
        "THEN 'ProcCapUpper' ELSE 'RTypeOfLCLandUCL' END, " +
        concat("''", "(i % 97)") + ", " + concat("''", "(i % 89)") +
        ", CASE WHEN i % 4 = 0 THEN NULL ELSE " + concat("'Motif de la modification '", "i") +
        " END FROM seq";
    // MariaDB takes the series after the INSERT, the others before it.
    const QString sql = mysql ? columns + series + select : series + columns + select;
    if (mysql)
        db.execute(QStringLiteral("SET SESSION max_recursive_iterations = 1000000"));
    db.execute(QString(sql).arg(kRows).arg(kBigMonitorId));
    db.execute(QString(sql).arg(kRows / 5).arg(kMediumMonitorId));
}

bool runTarget(QTextStream& out, const QString& target, const QString& demoScript) {
    BenchShape shape;
    shape.monitors = 10;
    shape.profiles = 2;
    generateDatabase(target, demoScript, shape);
    fillJournal(target, demoScript);
    appState().gConnStr = target;
    // The window's state when the user opens the history: the monitor loaded.
    if (!reported(LoadMonitorList(appState(), target)) || !pickMonitor(appState(), kBigMonitorId) ||
        !reported(LoadMonitorOptions(appState()))) {
        out << "  big monitor not listed\n";
        return false;
    }

    QVector<JournalEntry> entries;
    QVector<Measure> results;
    results << measure(QStringLiteral("read 100,000 journal rows"), [&](QString& note) {
        bool exists = false;
        // The program's own processor time: on a shared machine the wall time
        // also holds the waits for the processor.
        const std::clock_t cpu = std::clock();
        const bool ok = reported(ReadJournalHistory(appState(), entries, exists));
        note = QStringLiteral("%1 rows, %2 ms of processor")
                   .arg(entries.size())
                   .arg((std::clock() - cpu) * 1000 / CLOCKS_PER_SEC);
        return ok && exists && entries.size() == kRows;
    });
    std::unique_ptr<frmHistory> window;
    results << measure(QStringLiteral("  window built and drawn"), [&](QString& note) {
        const std::clock_t cpu = std::clock();
        window = std::make_unique<frmHistory>(entries, 1, false, QStringLiteral("Moniteur"));
        window->show();
        QApplication::processEvents();
        note =
            QStringLiteral("%1 ms of processor").arg((std::clock() - cpu) * 1000 / CLOCKS_PER_SEC);
        return window->isVisible();
    });
    results << Measure{QStringLiteral("  open in all"),
                       results[0].ms + results[1].ms,
                       results[0].statements + results[1].statements,
                       results[0].connections + results[1].connections,
                       results[0].ok && results[1].ok,
                       QString()};
    auto* filter = window->findChild<QLineEdit*>(QStringLiteral("txtHistoryFilter"));
    results << measure(QStringLiteral("first filter (folds every row)"), [&](QString&) {
        filter->setText(QStringLiteral("motif de la modification 99"));
        QApplication::processEvents();
        return true;
    });
    results << measure(QStringLiteral("next filter"), [&](QString&) {
        filter->setText(QStringLiteral("poste-3"));
        QApplication::processEvents();
        return true;
    });
    bool allOk = true;
    print(out, QStringLiteral("direct"), results, allOk);
    return allOk;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QStringList targets;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--server-port") || arg == QLatin1String("--mariadb-port"))
            args.removeFirst();  // no relay here: the read is one statement
        else
            targets << arg;
    }
    if (targets.isEmpty()) {
        std::fprintf(stderr, "usage: tolva_bench_history <connection string>...\n");
        return 2;
    }
    QFile script(QStringLiteral(TOLVA_DEMO_SCRIPT));
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text))
        return 1;
    const QString demoScript = QString::fromUtf8(script.readAll());
    PrepareStartup(appState(), QCoreApplication::applicationDirPath());

    bool allOk = true;
    QTextStream out(stdout);
    printHeader(out, QStringLiteral("History window, 100,000 journal rows"));
    for (const QString& target : targets) {
        out << describeConnection(target) << "\n";
        try {
            allOk = runTarget(out, target, demoScript) && allOk;
        } catch (const DbError& error) {
            out << "  failed: " << error.description() << "\n";
            allOk = false;
        }
        out.flush();
    }
    return allOk ? 0 : 1;
}
