#include "BenchTable.h"

#include <QElapsedTimer>
#include <cstdio>

#include "DelayProxy.h"
#include "core/DbConnection.h"

namespace tolva::bench {

namespace {
const netdelay::DelayProxy* currentRelay = nullptr;
}

void setTimedRelay(const netdelay::DelayProxy* relay) {
    currentRelay = relay;
}

Measure measure(const QString& step, const std::function<bool(QString&)>& body) {
    const SqlCounters before = sqlCounters();
    const long long chunksBefore = currentRelay ? currentRelay->chunksFromClients() : 0;
    QElapsedTimer timer;
    timer.start();
    Measure m;
    m.step = step;
    m.ok = body(m.note);
    m.ms = timer.elapsed();
    m.statements = sqlCounters().statements - before.statements;
    m.connections = sqlCounters().connectionsOpened - before.connectionsOpened;
    if (currentRelay)
        m.requests = currentRelay->chunksFromClients() - chunksBefore;
    return m;
}

bool reported(const StoreOutcome& outcome) {
    if (!outcome)
        std::fprintf(stderr, "[TOLVA Editor] %s\n", qPrintable(outcome.text()));
    return outcome.ok();
}

void print(QTextStream& out, const QString& link, const QVector<Measure>& results, bool& allOk) {
    for (const Measure& m : results) {
        out << QStringLiteral("  %1 %2 %3 %4 %5 %6  %7%8\n")
                   .arg(link, -12)
                   .arg(m.step, -32)
                   .arg(m.ms, 9)
                   .arg(m.statements, 11)
                   .arg(m.connections, 12)
                   .arg(m.requests < 0 ? QStringLiteral("-") : QString::number(m.requests), 9)
                   .arg(m.ok ? QStringLiteral("ok") : QStringLiteral("FAILED"))
                   .arg(m.note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m.note));
        allOk = allOk && m.ok;
    }
    out.flush();
}

void printHeader(QTextStream& out, const QString& title) {
    out << "\n" << title << "\n";
    out << QStringLiteral("  %1 %2 %3 %4 %5 %6  %7\n")
               .arg(QStringLiteral("link"), -12)
               .arg(QStringLiteral("step"), -32)
               .arg(QStringLiteral("wall ms"), 9)
               .arg(QStringLiteral("statements"), 11)
               .arg(QStringLiteral("connections"), 12)
               .arg(QStringLiteral("requests"), 9)
               .arg(QStringLiteral("result"));
    out.flush();
}

}  // namespace tolva::bench
