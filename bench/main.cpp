// Benchmark of the option store on a large generated NOVRAX database.
//
//   tolva_bench [options] <connection string> [<connection string> ...]
//
// For each connection string ("DSN=...;UID=...;PWD=...;") it generates the
// database, then times the monitor list, one load of the big monitor (1,000
// charts with every option), its CSV export text, a search through all monitor
// names and a save of 100 changed groups, and prints wall time, statements run
// and connections opened.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <functional>

#include "BenchData.h"
#include "core/CsvExport.h"
#include "core/DbConnection.h"
#include "core/MonitorList.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"
#include "core/SearchText.h"
#include "core/SharedState.h"
#include "core/UiPort.h"
#include "core/modCfg.h"

using namespace tolva;

namespace {

// Message boxes would block an unattended run: print them instead.
class ConsoleUiPort final : public UiPort {
public:
    void setBusyPointer() override {}
    void setNormalPointer() override {}
    void processPendingEvents() override { QCoreApplication::processEvents(); }
    Answer message(const QString& text, Icon, const QString& title, Buttons) override {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        return Answer::Ok;
    }
};

struct Measure {
    QString step;
    qint64 ms = 0;
    qint64 statements = 0;
    qint64 connections = 0;
    bool ok = false;
    QString note;
};

Measure measure(const QString& step, const std::function<bool(QString&)>& body) {
    const SqlCounters before = sqlCounters();
    QElapsedTimer timer;
    timer.start();
    Measure m;
    m.step = step;
    m.ok = body(m.note);
    m.ms = timer.elapsed();
    m.statements = sqlCounters().statements - before.statements;
    m.connections = sqlCounters().connectionsOpened - before.connectionsOpened;
    return m;
}

// Changes 100 groups of the loaded big monitor, spread over the three groups, in
// a way that passes the checks and keeps every type (one write per limit).
int changeGroups(int count) {
    auto& rows = appState().gOptionRows;
    const int changed = std::min(count, int(rows.size()));
    for (int i = 0; i < changed; ++i) {
        OptionRow& r = rows[i];
        switch (i % 3) {
            case 0:
                r.SpecUpper.Current = TaggedValue::number(r.SpecUpper.Loaded.toNumber() + 0.25);
                break;
            case 1:
                r.XUcl.Current = TaggedValue::number(r.XUcl.Loaded.toNumber() + 0.1);
                break;
            default:
                r.RUcl.Current = TaggedValue::number(r.RUcl.Loaded.toNumber() + 0.05);
                break;
        }
    }
    return changed;
}

QVector<Measure> runOne(const QString& connectionString, const QString& demoScript,
                        const bench::BenchShape& shape) {
    QVector<Measure> results;
    results << measure(QStringLiteral("generate database"), [&](QString& note) {
        bench::generateDatabase(connectionString, demoScript, shape);
        note = QStringLiteral("%1 monitors, big monitor %2 charts")
                   .arg(shape.monitors + 1)
                   .arg(shape.bigCharts);
        return true;
    });

    // What one more connection would cost: open and close, averaged.
    constexpr int kConnects = 20;
    Measure connect = measure(QStringLiteral("open+close connection"), [&](QString& note) {
        for (int i = 0; i < kConnects; ++i) {
            DbConnection db;
            db.open(connectionString);
            db.close();
        }
        note = QStringLiteral("average of %1").arg(kConnects);
        return true;
    });
    connect.ms /= kConnects;
    connect.connections /= kConnects;
    results << connect;

    SharedState& s = appState();
    s.reset();
    s.gConnStr = connectionString;
    results << measure(QStringLiteral("monitor list"), [&](QString& note) {
        QString failure;
        const bool ok = LoadMonitorList(connectionString, &failure);
        note = ok ? QStringLiteral("%1 monitors listed").arg(s.gMonitors.size()) : failure;
        return ok;
    });

    s.gMonitorIndex = -1;
    for (int i = 0; i < s.gMonitors.size(); ++i) {
        if (s.gMonitors[i].MonId == bench::kBigMonitorId)
            s.gMonitorIndex = i;
    }
    if (s.gMonitorIndex < 0) {
        results << Measure{QStringLiteral("load big monitor"),      0, 0, 0, false,
                           QStringLiteral("big monitor not listed")};
        return results;
    }
    results << measure(QStringLiteral("load big monitor"), [&](QString& note) {
        const bool ok = LoadMonitorOptions();
        note = QStringLiteral("%1 charts").arg(s.gOptionRows.size());
        return ok && s.gOptionRows.size() == shape.bigCharts;
    });

    // The export text of the big monitor with every group shown (no database work).
    s.gShowProc = s.gShowX = s.gShowR = true;
    ApplyViewState();
    results << measure(QStringLiteral("csv export text"), [&](QString& note) {
        QStringList names;
        for (const OptionRow& row : s.gOptionRows)
            names << row.ChartName;
        const QByteArray csv = BuildCsvExport(s, names, QStringList());
        note = QStringLiteral("%1 KiB").arg(csv.size() / 1024);
        return !csv.isEmpty();
    });
    // One keystroke in the picker's search: every monitor name against the text.
    results << measure(QStringLiteral("search monitor names"), [&](QString& note) {
        int found = 0;
        for (const MonitorEntry& monitor : s.gMonitors)
            found += nameMatchesFilter(monitor.Name, QStringLiteral("épaisseur 1")) ? 1 : 0;
        note = QStringLiteral("%1 names, %2 found").arg(s.gMonitors.size()).arg(found);
        return true;
    });

    const int changed = changeGroups(100);
    results << measure(QStringLiteral("save changed groups"), [&](QString& note) {
        note = QStringLiteral("%1 groups").arg(changed);
        return SaveMonitorOptions();
    });
    return results;
}

QString describe(const QString& connectionString) {
    return describeConnection(connectionString);
}

int usage() {
    std::fprintf(stderr,
                 "usage: tolva_bench [--script demo.sql] [--monitors N] [--charts N] "
                 "<connection string>...\n"
                 "  a connection string reads \"DSN=name;UID=user;PWD=password;\"\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString scriptPath = QStringLiteral(TOLVA_DEMO_SCRIPT);
    bench::BenchShape shape;
    QStringList targets;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--script") && !args.isEmpty())
            scriptPath = args.takeFirst();
        else if (arg == QLatin1String("--monitors") && !args.isEmpty())
            shape.monitors = args.takeFirst().toInt();
        else if (arg == QLatin1String("--charts") && !args.isEmpty())
            shape.bigCharts = args.takeFirst().toInt();
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else
            targets << arg;
    }
    if (targets.isEmpty() || shape.monitors < 1 || shape.bigCharts < 100)
        return usage();

    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(scriptPath));
        return 1;
    }
    const QString demoScript = QString::fromUtf8(script.readAll());

    ConsoleUiPort ui;
    setUiPort(&ui);
    bool allOk = true;
    QTextStream out(stdout);
    for (const QString& target : targets) {
        out << "\n" << describe(target) << "\n";
        out << QStringLiteral("  %1 %2 %3 %4  %5\n")
                   .arg(QStringLiteral("step"), -22)
                   .arg(QStringLiteral("wall ms"), 9)
                   .arg(QStringLiteral("statements"), 11)
                   .arg(QStringLiteral("connections"), 12)
                   .arg(QStringLiteral("result"));
        out.flush();
        QVector<Measure> results;
        try {
            results = runOne(target, demoScript, shape);
        } catch (const DbError& error) {
            out << "  failed: " << error.description() << "\n";
            allOk = false;
            continue;
        }
        for (const Measure& m : results) {
            out << QStringLiteral("  %1 %2 %3 %4  %5%6\n")
                       .arg(m.step, -22)
                       .arg(m.ms, 9)
                       .arg(m.statements, 11)
                       .arg(m.connections, 12)
                       .arg(m.ok ? QStringLiteral("ok") : QStringLiteral("FAILED"))
                       .arg(m.note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m.note));
            allOk = allOk && m.ok;
        }
        out.flush();
    }
    setUiPort(nullptr);
    return allOk ? 0 : 1;
}
