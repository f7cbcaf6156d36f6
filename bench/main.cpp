// Benchmark of the option store on a large generated NOVRAX database.
//
//   tolva_bench [options] <connection string> [<connection string> ...]
//
// Times the folder tree build alone, then for each connection string
// ("DSN=...;UID=...;PWD=...;") generates the database (with and without the key
// on CSMDAT) and times the monitor list, loads of the big monitor (1,000 charts
// with every option) and of a 50-chart one, and saves of 1, 10 and 100 changed
// groups, each followed by the re-read. A server
// reached over TCP is timed again through a loopback relay delaying each chunk,
// as a plant network would. Prints wall time, statements run, connections opened
// and, through the relay, the requests the client sent (its round trips).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPair>
#include <QTextStream>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "BenchData.h"
#include "BenchTable.h"
#include "DelayProxy.h"
#include "core/DbConnection.h"
#include "core/FolderTree.h"
#include "core/MonitorList.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"
#include "core/SearchText.h"
#include "core/SharedState.h"
#include "core/modCfg.h"

using namespace tolva;
using namespace tolva::bench;

namespace {

Measure loadMonitor(const QString& step, qint32 monId, int charts) {
    return measure(step, [&](QString& note) {
        if (!pickMonitor(appState(), monId)) {
            note = QStringLiteral("monitor not listed");
            return false;
        }
        const bool ok = reported(LoadMonitorOptions(appState()));
        note = QStringLiteral("%1 charts").arg(appState().gOptionRows.size());
        return ok && appState().gOptionRows.size() == charts;
    });
}

// What a user waits for after Save: the save of `groups` changed groups, then
// the whole monitor read again (by the save itself, in its transaction, as the
// window's save command asks).
QVector<Measure> saveAndReread(int groups, int charts) {
    QVector<Measure> results;
    const QString label = QStringLiteral("save %1 group%2").arg(groups).arg(groups > 1 ? "s" : "");
    if (!pickMonitor(appState(), bench::kBigMonitorId) ||
        !reported(LoadMonitorOptions(appState()))) {
        results << Measure{label, 0, 0, 0, false, QStringLiteral("big monitor not loaded")};
        return results;
    }
    const int changed = changeGroups(appState(), groups);
    const qint64 commitsBefore = sqlCounters().commits;
    std::optional<OptionTable> readBySave;
    Measure save = measure(label, [&](QString& note) {
        const bool ok = reported(SaveMonitorOptions(appState(), nullptr, QString(), &readBySave));
        note = QStringLiteral("%1 groups, %2 commits")
                   .arg(changed)
                   .arg(sqlCounters().commits - commitsBefore);
        return ok;
    });
    if (save.requests >= 0)
        save.note +=
            QStringLiteral(", %1 requests/group").arg(double(save.requests) / changed, 0, 'f', 2);
    Measure reread = measure(QStringLiteral("  re-read after save"), [&](QString& note) {
        note = readBySave ? QStringLiteral("read by the save; ") : QString();
        const bool ok = reported(RereadAfterSave(appState(), readBySave));
        note += QStringLiteral("%1 charts").arg(appState().gOptionRows.size());
        return ok && appState().gOptionRows.size() == charts;
    });
    Measure both{QStringLiteral("  save + re-read"),
                 save.ms + reread.ms,
                 save.statements + reread.statements,
                 save.connections + reread.connections,
                 save.ok && reread.ok,
                 QString(),
                 save.requests < 0 ? -1 : save.requests + reread.requests};
    results << save << reread << both;
    return results;
}

struct Link {
    QString name;
    std::chrono::microseconds delay{0};
};

QVector<Measure> runLink(const QString& connectionString, const Link& link,
                         const bench::BenchShape& shape) {
    appState().gConnStr = connectionString;
    QVector<Measure> results;
    results << loadMonitor(QStringLiteral("load 1000 charts"), bench::kBigMonitorId,
                           shape.bigCharts);
    results << loadMonitor(QStringLiteral("load 50 charts"), bench::kMediumMonitorId,
                           shape.mediumCharts);
    for (const int groups : {1, 10, 100})
        results << saveAndReread(groups, shape.bigCharts);
    return results;
}

// Folders in a tree ten wide, each holding one monitor: only the tree build is timed.
QVector<Measure> folderTrees() {
    QVector<Measure> results;
    for (const int count : {1000, 2000, 4000, 8000}) {
        QVector<FieldRow> nodes;
        QVector<FolderLink> links;
        QVector<MonitorEntry> monitors;
        nodes.append(FieldRow{FieldValue(0), FieldValue(QStringLiteral("NOVRAX")), FieldValue(0),
                              FieldValue(0)});
        for (int i = 1; i <= count; ++i) {
            const int parent = (i - 1) / 10;
            const int previous = (i - 1) % 10 == 0 ? 0 : i - 1;
            nodes.append(FieldRow{FieldValue(i), FieldValue(QStringLiteral("Dossier %1").arg(i)),
                                  FieldValue(parent), FieldValue(previous)});
            links.append(FolderLink{i, i});
            monitors.append(MonitorEntry{QStringLiteral("Poste %1").arg(i), i, 0});
        }
        const QVector<DsnMonitor> last = {{QStringLiteral("NOVRAX"), count}};
        constexpr int kRepeats = 5;
        qint64 nanoseconds = 0;
        Measure m = measure(QStringLiteral("folder tree %1").arg(count), [&](QString&) {
            bool ok = true;
            QElapsedTimer timer;
            timer.start();
            for (int r = 0; r < kRepeats; ++r) {
                const FolderTree tree =
                    BuildFolderTree(nodes, links, monitors, last, QStringLiteral("NOVRAX"));
                ok = ok && tree.root && tree.selected;
            }
            nanoseconds = timer.nsecsElapsed() / kRepeats;
            return ok;
        });
        // Milliseconds are too coarse here: the note carries tenths.
        m.ms = nanoseconds / 1000000;
        m.note = QStringLiteral("%1 ms, average of %2")
                     .arg(double(nanoseconds) / 1e6, 0, 'f', 1)
                     .arg(kRepeats);
        results << m;
    }
    return results;
}

// Generates the database, then runs the loads and saves directly and, for a server
// reached over TCP (a server port given), through the delaying relay on each link.
// A server target: the port the relay forwards to, and the connection string
// attributes that send the driver to the relay instead ("%1" for its port).
struct Server {
    int port = 0;
    QString relayAttributes;
};

bool runTarget(QTextStream& out, const QString& connectionString, const QString& demoScript,
               const bench::BenchShape& shape, const Server& server,
               const QVector<double>& delaysMs) {
    const int serverPort = server.port;
    bool allOk = true;
    printHeader(out, describeConnection(connectionString) +
                         (shape.csmdatKey ? QString() : QStringLiteral(", CSMDAT without key")));
    print(out, QString(),
          {measure(QStringLiteral("generate database"),
                   [&](QString& note) {
                       bench::generateDatabase(connectionString, demoScript, shape);
                       note = QStringLiteral("%1 monitors").arg(shape.monitors + 2);
                       return true;
                   })},
          allOk);

    SharedState& s = appState();
    s.reset();
    s.gConnStr = connectionString;
    print(out, QString(),
          {measure(QStringLiteral("monitor list"),
                   [&](QString& note) {
                       const StoreOutcome outcome = LoadMonitorList(s, connectionString);
                       note = outcome.ok()
                                  ? QStringLiteral("%1 monitors listed").arg(s.gMonitors.size())
                                  : outcome.text();
                       return outcome.ok();
                   })},
          allOk);

    const bool keyed = shape.csmdatKey;
    print(out, QStringLiteral("direct"),
          runLink(connectionString, {QStringLiteral("direct"), {}}, shape), allOk);
    if (serverPort <= 0)
        return allOk;
    QVector<Link> links;
    for (const double ms : delaysMs)
        links.append(
            {QStringLiteral("relay %1 ms").arg(ms), std::chrono::microseconds(qint64(ms * 1000))});
    for (const Link& link : links) {
        // Without the key each write scans the table: one slow link tells enough.
        if (!keyed && link.delay != std::chrono::microseconds(500))
            continue;
        netdelay::DelayProxy relay(
            {quint16(serverPort), link.delay, 256, std::chrono::seconds(300)});
        const QString viaRelay = connectionString + server.relayAttributes.arg(relay.port());
        setTimedRelay(&relay);
        const QVector<Measure> results = runLink(viaRelay, link, shape);
        setTimedRelay(nullptr);
        print(out, link.name, results, allOk);
    }
    return allOk;
}

int usage() {
    std::fprintf(stderr,
                 "usage: tolva_bench [--script demo.sql] [--monitors N] [--charts N] "
                 "[--keyed-only] [--delays 0,0.5,2,10] "
                 "[[--server-port N | --mariadb-port N] <connection string>]...\n"
                 "  --server-port, --mariadb-port: the next target's PostgreSQL or MariaDB\n"
                 "  server listens on 127.0.0.1:N; its runs are repeated through a relay\n"
                 "  delaying each way by each of the --delays, in milliseconds\n"
                 "  a connection string reads \"DSN=name;UID=user;PWD=password;\"\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString scriptPath = QStringLiteral(TOLVA_DEMO_SCRIPT);
    bench::BenchShape shape;
    QVector<QPair<QString, Server>> targets;  // connection string, server (port 0: none)
    Server server;
    QVector<double> delaysMs{0, 0.5, 2, 10};
    bool withoutKey = true;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--script") && !args.isEmpty())
            scriptPath = args.takeFirst();
        else if (arg == QLatin1String("--monitors") && !args.isEmpty())
            shape.monitors = args.takeFirst().toInt();
        else if (arg == QLatin1String("--charts") && !args.isEmpty())
            shape.bigCharts = args.takeFirst().toInt();
        else if (arg == QLatin1String("--server-port") && !args.isEmpty())
            server = {args.takeFirst().toInt(), QStringLiteral("Servername=127.0.0.1;Port=%1;")};
        else if (arg == QLatin1String("--mariadb-port") && !args.isEmpty())
            server = {args.takeFirst().toInt(), QStringLiteral("SERVER=127.0.0.1;PORT=%1;")};
        else if (arg == QLatin1String("--delays") && !args.isEmpty()) {
            delaysMs.clear();
            for (const QString& d : args.takeFirst().split(u','))
                delaysMs.append(d.toDouble());
        } else if (arg == QLatin1String("--keyed-only"))
            withoutKey = false;
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else {
            targets.append({arg, server});
            server = Server();
        }
    }
    if (targets.isEmpty() || shape.monitors < 1 || shape.bigCharts < 100)
        return usage();

    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(scriptPath));
        return 1;
    }
    const QString demoScript = QString::fromUtf8(script.readAll());

    bool allOk = true;
    QTextStream out(stdout);
    printHeader(out, QStringLiteral("Folder tree (no database)"));
    print(out, QString(), folderTrees(), allOk);
    for (const auto& [target, targetServer] : targets) {
        for (const bool keyed : {true, false}) {
            if (!keyed && !withoutKey)
                continue;
            bench::BenchShape variant = shape;
            variant.csmdatKey = keyed;
            try {
                allOk =
                    runTarget(out, target, demoScript, variant, targetServer, delaysMs) && allOk;
            } catch (const DbError& error) {
                out << "  failed: " << error.description() << "\n";
                out.flush();
                allOk = false;
            }
        }
    }
    return allOk ? 0 : 1;
}
