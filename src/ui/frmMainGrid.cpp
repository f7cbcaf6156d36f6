// Building the option grid from the option table, and the status bar that
// names what the grid shows.
#include <QLabel>
#include <QLineEdit>

#include "OptionGrid.h"
#include "ValueColumns.h"
#include "core/Catalog.h"
#include "core/ChartName.h"
#include "core/SharedState.h"
#include "core/UiPort.h"
#include "frmMain.h"

namespace tolva {

namespace {

// Column width from a text of `length` characters, the way every width is estimated.
int widthForLength(qsizetype length) {
    return frmMain::MeasureColumnWidth(QString(length, u' '));
}

}  // namespace

void frmMain::FillGrid() {
    const SharedState& s = appState();
    applyViewState();

    // No value column at all (every group hidden, or no monitor yet): the grid
    // goes out of sight and keeps what it had; the status bar stays as it was.
    const bool withQuery = s.gColQuery > 0;
    if (s.gColCount < (withQuery ? 3 : 2)) {
        grdData->hide();
        return;
    }

    grdData->clearGrid();
    uiPort().setBusyPointer();
    grdData->setRedraw(false);

    const int n = int(s.gOptionRows.size());
    grdData->setGridSize(n + 1, s.gColCount, withQuery ? 2 : 1);

    grdData->setCellText(0, 0, catalogText(151));
    grdData->setCellCentered(0, 0);
    if (withQuery) {
        grdData->setCellText(0, s.gColQuery, catalogText(152));
        grdData->setCellCentered(0, s.gColQuery);
    }

    const auto columns = valueColumns(s);
    const bool shown[] = {s.gShowProc, s.gShowX, s.gShowR};
    auto groupColumns = [&](int group) {  // the three columns of a shown group
        return shown[group] ? &columns[3 * group] : nullptr;
    };

    // Value columns are as wide as their headings need; the values never widen them.
    for (int group = 0; group < 3; ++group) {
        const ValueColumn* three = groupColumns(group);
        if (!three)
            continue;
        for (int i = 0; i < 3; ++i) {
            grdData->setCellText(0, three[i].column, three[i].heading);
            grdData->setColumnWidthTwips(three[i].column, MeasureColumnWidth(three[i].heading));
        }
        for (int i = 0; i < 3; ++i)
            grdData->setCellCentered(0, three[i].column);
    }

    QStringList characteristics;
    QStringList queries;
    SplitChartNames(characteristics, queries);

    qsizetype longest = grdData->cellText(0, 0).size();
    for (const QString& text : characteristics)
        longest = qMax(longest, text.size());
    grdData->setColumnWidthTwips(0, widthForLength(longest));
    if (withQuery) {
        longest = grdData->cellText(0, s.gColQuery).size();
        for (const QString& text : queries)
            longest = qMax(longest, text.size());
        grdData->setColumnWidthTwips(s.gColQuery, widthForLength(longest));
    }

    for (int i = 0; i < n; ++i) {
        const int row = i + 1;
        grdData->setCellText(row, 0, characteristics.at(i));
        grdData->setCellCentered(row, 0);
        grdData->setCellBold(row, 0);
        if (withQuery) {
            grdData->setCellText(row, s.gColQuery, queries.at(i));
            grdData->setCellCentered(row, s.gColQuery);
        }
        const OptionRow& option = s.gOptionRows.at(i);
        for (int group = 0; group < 3; ++group) {
            const ValueColumn* three = groupColumns(group);
            for (int k = 0; three && k < 3; ++k)
                grdData->setCellText(row, three[k].column,
                                     (option.*three[k].cell).Current.toDisplayText());
        }
    }

    // Three data rows high, for the three-line headings.
    grdData->setRowHeightTwips(0, 3 * grdData->rowHeightTwips(1));
    grdData->setCurrentGridCell(1, withQuery ? 2 : 1);

    grdData->setRedraw(true);
    grdData->show();
    if (!txtGrd->isVisible())
        grdData->setFocus();
    UpdateStatusBar();
    uiPort().setNormalPointer();
}

void frmMain::SplitChartNames(QStringList& characteristics, QStringList& queries) {
    const QVector<OptionRow>& rows = appState().gOptionRows;
    characteristics.fill(QString(), rows.size());
    queries.fill(QString(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ChartNameParts parts = splitChartName(rows.at(i).ChartName);
        characteristics[i] = parts.characteristic;
        queries[i] = parts.query;
    }
}

int frmMain::MeasureColumnWidth(const QString& text) {
    // An estimate from the character count (106 twips each), not a font measurement.
    if (text.isEmpty())
        return 0;
    int widest = 0;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        const int width = qMax(int(line.size()) * 106 + 180, 900);
        widest = qMax(widest, width);
    }
    return widest;
}

void frmMain::UpdateStatusBar() {
    const SharedState& s = appState();
    const bool known = s.gMonitorIndex >= 0 && s.gMonitorIndex < s.gMonitors.size();
    const QString monitor = known ? s.currentMonitor().Name : QString();
    m_statusDsn->setText(catalogText(168) + u' ' + s.gDsn + u' ');
    m_statusMonitor->setText(catalogText(169) + u' ' + monitor + u' ');
}

}  // namespace tolva
