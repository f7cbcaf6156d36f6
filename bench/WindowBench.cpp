// Benchmark of what the user waits for in the editor window, on the same
// generated database as tolva_bench.
//
//   tolva_bench_window [--script demo.sql] [[--server-port N] <connection string>]...
//
// For each connection string it generates the database, opens the editor window
// (on whatever display Qt is given: the offscreen one in scripts/bench.sh) and
// times the choice of the 1,000-chart and of the 50-chart monitor in the picker
// until the grid is filled and drawn, then the save command on 100 changed
// groups until the grid is filled again. A server reached over TCP is timed
// again through a loopback relay delaying each chunk by 0.5 ms. No box is ever
// shown: the save question is answered "Oui" and any other message is printed.
// First, without a database, it times the preview of a 10,000-row CSV import:
// the file read and matched, the preview dialog built and drawn.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPair>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "BenchData.h"
#include "BenchTable.h"
#include "DelayProxy.h"
#include "core/CsvExport.h"
#include "core/CsvImport.h"
#include "core/DbConnection.h"
#include "core/MonitorList.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "core/ViewState.h"
#include "ui/QtUiPort.h"
#include "ui/frmImport.h"
#include "ui/frmMain.h"
#include "ui/frmMonitor.h"

using namespace tolva;
using namespace tolva::bench;

namespace {

// The desktop's pointer and event passes, but no modal box: the save question
// gets "Oui", any other message goes to the error output and counts as a failure.
class BenchUiPort final : public UiPort {
public:
    void setBusyPointer() override { m_desktop.setBusyPointer(); }
    void setNormalPointer() override { m_desktop.setNormalPointer(); }
    void processPendingEvents() override { m_desktop.processPendingEvents(); }
    Answer message(const QString& text, Icon, const QString& title, Buttons buttons) override {
        if (buttons == Buttons::YesNoCancel) {
            ++questions;
            return Answer::Yes;
        }
        ++failures;
        std::fprintf(stderr, "[%s] %s\n", qPrintable(title), qPrintable(text));
        return Answer::Ok;
    }
    // Nobody else writes the benchmark's database: a conflict is a failure.
    ConflictAnswer resolve(const GroupConflict& conflict) override {
        ++failures;
        std::fprintf(stderr, "conflict on %s\n", qPrintable(conflict.chartName));
        return ConflictAnswer{};
    }

    int questions = 0;
    int failures = 0;

private:
    QtUiPort m_desktop;
};

// Counts the paint events of a widget, to tell that the pass after the fill drew
// the grid.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// The offscreen display says on every window shown that it cannot pass size
// hints on; that line would break the printed table.
QtMessageHandler qtDefaultHandler = nullptr;
void quietOffscreenHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.contains(QLatin1String("propagateSizeHints")))
        return;
    qtDefaultHandler(type, context, text);
}

// The pass of pending events after a fill, in which the grid is laid out and drawn.
void showResult() {
    QApplication::processEvents();
}

// The picker's tree item of the monitor at gMonitors[index]; nullptr when absent.
QTreeWidgetItem* monitorItem(QTreeWidget* tree, int index) {
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QVariant data = (*it)->data(0, frmMonitor::MonitorIndexRole);
        if (data.isValid() && data.toInt() == index &&
            (*it)->data(0, frmMonitor::ImageKeyRole).toString() == QLatin1String("Monitor"))
            return *it;
    }
    return nullptr;
}

class WindowRun {
public:
    WindowRun(SharedState& state, BenchUiPort& port) : m_state(state), m_port(port) {
        m_window = std::make_unique<frmMain>(state);
        m_window->ApplyCatalogTexts();
        m_window->show();
        auto* grid = m_window->findChild<QWidget*>(QStringLiteral("grdData"));
        m_paints = new PaintCounter(m_window.get());
        if (auto* view = qobject_cast<QAbstractScrollArea*>(grid))
            view->viewport()->installEventFilter(m_paints);
        showResult();
    }

    // The picker opened over the window (its folder tree read, not timed), the
    // monitor selected; the timer starts when Enter chooses it and stops once
    // the picker is gone and the filled grid has been drawn.
    Measure pick(const QString& step, qint32 monId, int charts) {
        const int failuresBefore = m_port.failures;
        if (!pickMonitor(m_state, monId))
            return Measure{step, 0, 0, 0, false, QStringLiteral("monitor not listed")};
        const int index = m_state.gMonitorIndex;
        auto picker = std::make_unique<frmMonitor>(
            m_state,
            [this](int i, const QString& name) { return m_window->loadChosenMonitor(i, name); },
            m_window.get());
        auto* tree = picker->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        QTreeWidgetItem* item = tree ? monitorItem(tree, index) : nullptr;
        if (!item)
            return Measure{step, 0, 0, 0, false, QStringLiteral("monitor not in the picker")};
        tree->setCurrentItem(item);
        return measure(step, [&](QString& note) {
            QElapsedTimer phase;
            phase.start();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(tree, &enter);
            const qint64 choiceMs = phase.restart();
            picker.reset();
            if (!m_state.gMonitorChosen) {
                note = QStringLiteral("the picker kept the monitor back");
                return false;
            }
            const qint64 closeMs = phase.restart();
            m_window->FillGrid();
            const qint64 fillMs = phase.restart();
            const int paintsBefore = m_paints->paints;
            showResult();
            note = QStringLiteral("choice %1 + picker gone %2 + fill %3 + draw %4 ms")
                       .arg(choiceMs)
                       .arg(closeMs)
                       .arg(fillMs)
                       .arg(phase.elapsed());
            return m_port.failures == failuresBefore && m_state.gOptionRows.size() == charts &&
                   drawn(paintsBefore, note);
        });
    }

    // The save command as the menu runs it, "Oui" answered: the save, the
    // re-read and the refill, then the pass that draws the grid.
    Measure save(const QString& step, int charts) {
        const Measure loaded =
            pick(QStringLiteral("window: pick before save"), bench::kBigMonitorId, charts);
        if (!loaded.ok)
            return Measure{step, 0, 0, 0, false, QStringLiteral("big monitor not loaded")};
        const int changed = changeGroups(m_state, 100);
        const TaggedValue written = m_state.gOptionRows.at(0).SpecUpper.Current;
        const int failuresBefore = m_port.failures;
        const int questionsBefore = m_port.questions;
        const qint64 commitsBefore = sqlCounters().commits;
        return measure(step, [&](QString& note) {
            m_window->mnuCommit_Click();  // ends with the refill
            const int paintsBefore = m_paints->paints;
            QElapsedTimer draw;
            draw.start();
            showResult();
            note = QStringLiteral("%1 groups, %2 commits, draw %3 ms")
                       .arg(changed)
                       .arg(sqlCounters().commits - commitsBefore)
                       .arg(draw.elapsed());
            // Saved and read back: the first changed value is now the loaded one.
            return m_port.failures == failuresBefore && m_port.questions == questionsBefore + 1 &&
                   m_state.gOptionRows.size() == charts &&
                   m_state.gOptionRows.at(0).SpecUpper.Loaded == written &&
                   drawn(paintsBefore, note);
        });
    }

private:
    // Whether the grid was drawn since paintsBefore; the note says when not.
    bool drawn(int paintsBefore, QString& note) const {
        if (m_paints->paints > paintsBefore)
            return true;
        note += QStringLiteral(", grid not drawn");
        return false;
    }

    SharedState& m_state;
    BenchUiPort& m_port;
    std::unique_ptr<frmMain> m_window;
    PaintCounter* m_paints = nullptr;  // owned by the window
};

// Single runs vary by a third on a shared machine: the median of a few, with
// the range in its note; the first failed run instead, if any.
Measure medianOf(int runs, const std::function<Measure()>& once) {
    QVector<Measure> all;
    for (int i = 0; i < runs; ++i) {
        all << once();
        if (!all.last().ok)
            return all.last();
    }
    std::sort(all.begin(), all.end(),
              [](const Measure& a, const Measure& b) { return a.ms < b.ms; });
    Measure m = all.at(runs / 2);
    m.note += QStringLiteral("; median of %1, %2 to %3 ms")
                  .arg(runs)
                  .arg(all.first().ms)
                  .arg(all.last().ms);
    return m;
}

// A monitor of 10,000 charts exported, its rows put in reverse order and every
// nominal value changed, as a spreadsheet would give it back; then from the
// file's read until the preview dialog is drawn.
QVector<Measure> importPreview() {
    constexpr int kRows = 10000;
    SharedState s;
    s.gMonitors = {{QStringLiteral("Import"), 1, 0}};
    s.gMonitorIndex = 0;
    s.gShowProc = s.gShowX = s.gShowR = true;
    const ColumnLayout layout = ApplyViewState(s);
    QStringList names, queries;
    QVector<OptionRow> rows(kRows);
    for (int i = 0; i < kRows; ++i) {
        OptionRow& row = rows[i];
        row.ChartName = names.emplace_back(QStringLiteral("Caractéristique %1").arg(i));
        queries << QString();
        OptionCell OptionRow::*const cells[] = {
            &OptionRow::SpecLower, &OptionRow::SpecNominal, &OptionRow::SpecUpper,
            &OptionRow::XLcl,      &OptionRow::XCl,         &OptionRow::XUcl,
            &OptionRow::RLcl,      &OptionRow::RCl,         &OptionRow::RUcl};
        for (int c = 0; c < 9; ++c)
            (row.*cells[c]).setBoth(TaggedValue::number(i + c * 0.125));
    }
    s.gOptionRows = rows;
    QStringList lines = QString::fromUtf8(BuildCsvExport(s, layout, names, queries).mid(3))
                            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    const QChar sep = lines.first().contains(u';') ? u';' : u',';
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QStringList fields = lines.at(i).split(sep);
        fields[2] += QStringLiteral("1");
        lines[i] = fields.join(sep);
    }
    std::reverse(lines.begin() + 1, lines.end());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("import.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(lines.join(u'\n').toUtf8()) < 0)
        return {Measure{QStringLiteral("import preview 10000 rows"), 0, 0, 0, false,
                        file.errorString()}};
    file.close();

    QVector<Measure> results;
    results << medianOf(3, [&] {
        return measure(QStringLiteral("import preview 10000 rows"), [&](QString& note) {
            frmImport dialog(s, layout, ReadCsvImportFile(path, layout),
                             QStringLiteral("import.csv"));
            dialog.show();
            showResult();
            note = QStringLiteral("%1 changes").arg(dialog.preview().changes.size());
            return dialog.preview().changes.size() == kRows;
        });
    });
    results << medianOf(3, [&] {
        return measure(QStringLiteral("  of which read and match"), [&](QString& note) {
            const ImportPreview preview =
                BuildImportPreview(s, layout, ReadCsvImportFile(path, layout), false);
            note = QStringLiteral("%1 changes").arg(preview.changes.size());
            return preview.changes.size() == kRows;
        });
    });
    return results;
}

// The monitor list as the connection dialog leaves it, then the window's steps.
QVector<Measure> runLink(const QString& connectionString, const BenchShape& shape,
                         BenchUiPort& port) {
    SharedState& s = appState();
    s.gConnStr = connectionString;
    s.gDsn = describeConnection(connectionString);
    const StoreOutcome listed = LoadMonitorList(s, connectionString);
    if (!reported(listed))
        return {Measure{QStringLiteral("window: monitor list"), 0, 0, 0, false, listed.text()}};
    s.gConnected = true;
    // All three groups shown: the widest grid, nine values a row.
    s.gShowProc = s.gShowX = s.gShowR = true;

    WindowRun run(s, port);
    QVector<Measure> results;
    constexpr int kRuns = 3;
    results << medianOf(kRuns, [&] {
        return run.pick(QStringLiteral("window: pick 1000 charts"), kBigMonitorId, shape.bigCharts);
    });
    results << medianOf(kRuns, [&] {
        return run.pick(QStringLiteral("window: pick 50 charts"), kMediumMonitorId,
                        shape.mediumCharts);
    });
    results << medianOf(kRuns, [&] {
        return run.save(QStringLiteral("window: save 100 groups + refill"), shape.bigCharts);
    });
    return results;
}

bool runTarget(QTextStream& out, const QString& connectionString, const QString& demoScript,
               int serverPort, BenchUiPort& port) {
    bool allOk = true;
    const BenchShape shape;
    printHeader(out, describeConnection(connectionString) + QStringLiteral(", editor window"));
    print(out, QString(),
          {measure(QStringLiteral("generate database"),
                   [&](QString& note) {
                       generateDatabase(connectionString, demoScript, shape);
                       note = QStringLiteral("%1 monitors").arg(shape.monitors + 2);
                       return true;
                   })},
          allOk);
    print(out, QStringLiteral("direct"), runLink(connectionString, shape, port), allOk);
    if (serverPort <= 0)
        return allOk;
    netdelay::DelayProxy relay(
        {quint16(serverPort), std::chrono::microseconds(500), 256, std::chrono::seconds(300)});
    const QString viaRelay =
        connectionString + QStringLiteral("Servername=127.0.0.1;Port=%1;").arg(relay.port());
    setTimedRelay(&relay);
    const QVector<Measure> results = runLink(viaRelay, shape, port);
    setTimedRelay(nullptr);
    print(out, QStringLiteral("relay 0.5 ms"), results, allOk);
    return allOk;
}

int usage() {
    std::fprintf(stderr,
                 "usage: tolva_bench_window [--script demo.sql] "
                 "[[--server-port N] <connection string>]...\n"
                 "  --server-port: the next target's server listens on 127.0.0.1:N;\n"
                 "  its runs are repeated through a relay delaying 0.5 ms each way\n"
                 "  a connection string reads \"DSN=name;UID=user;PWD=password;\"\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qtDefaultHandler = qInstallMessageHandler(quietOffscreenHandler);
    // Window sizes and places go to a file of the benchmark's own, beside it,
    // never into the user's settings of the program.
    QCoreApplication::setOrganizationName(QStringLiteral("NOVRAX"));
    QCoreApplication::setApplicationName(QStringLiteral("TOLVA Editor benchmark"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       QCoreApplication::applicationDirPath() + QStringLiteral("/window-settings"));

    QStringList args = app.arguments().mid(1);
    QString scriptPath = QStringLiteral(TOLVA_DEMO_SCRIPT);
    QVector<QPair<QString, int>> targets;  // connection string, server port or 0
    int serverPort = 0;
    while (!args.isEmpty()) {
        const QString arg = args.takeFirst();
        if (arg == QLatin1String("--script") && !args.isEmpty())
            scriptPath = args.takeFirst();
        else if (arg == QLatin1String("--server-port") && !args.isEmpty())
            serverPort = args.takeFirst().toInt();
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else {
            targets.append({arg, serverPort});
            serverPort = 0;
        }
    }
    if (targets.isEmpty())
        return usage();

    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(scriptPath));
        return 1;
    }
    const QString demoScript = QString::fromUtf8(script.readAll());

    BenchUiPort desktop;
    setUiPort(&desktop);
    // The program's start; the settings file would be beside the benchmark,
    // where there is none.
    PrepareStartup(appState(), QCoreApplication::applicationDirPath());

    bool allOk = true;
    QTextStream out(stdout);
    printHeader(out, QStringLiteral("CSV import (no database)"));
    print(out, QString(), importPreview(), allOk);
    for (const auto& [target, targetPort] : targets) {
        try {
            allOk = runTarget(out, target, demoScript, targetPort, desktop) && allOk;
        } catch (const DbError& error) {
            out << "  failed: " << error.description() << "\n";
            out.flush();
            allOk = false;
        }
    }
    setUiPort(nullptr);
    return allOk ? 0 : 1;
}
