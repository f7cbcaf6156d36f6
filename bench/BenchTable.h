#pragma once

#include <QString>
#include <QTextStream>
#include <QVector>
#include <functional>

#include "core/StoreOutcome.h"

namespace tolva::netdelay {
class DelayProxy;
}

namespace tolva::bench {

// One row of the printed table.
struct Measure {
    QString step;
    qint64 ms = 0;
    qint64 statements = 0;
    qint64 connections = 0;
    bool ok = false;
    QString note;
    qint64 requests = -1;  // client chunks through the relay; -1 without it
};

// The relay of the link being timed, if any (nullptr: none): its chunk count
// shows the round trips the driver makes besides the statements (log-in,
// set-up, catalog reads).
void setTimedRelay(const netdelay::DelayProxy* relay);

// Runs body once and times it; body says whether it went well and may leave a note.
Measure measure(const QString& step, const std::function<bool(QString&)>& body);

// What the window would show of a failed load or save, printed instead.
bool reported(const StoreOutcome& outcome);

void printHeader(QTextStream& out, const QString& title);
// Prints the rows under link; allOk turns false on a failed one.
void print(QTextStream& out, const QString& link, const QVector<Measure>& results, bool& allOk);

}  // namespace tolva::bench
