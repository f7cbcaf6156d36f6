// Building the option grid from the option table, and the status bar that
// names what the grid shows.
#include <QLabel>
#include <QLineEdit>

#include "BusyPointer.h"
#include "OptionGrid.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/ChartName.h"
#include "core/SharedState.h"
#include "frmMain.h"

namespace tolva {

namespace {

// Column width from a text of `length` characters, the way every width is estimated.
int widthForLength(qsizetype length) {
    return frmMain::MeasureColumnWidth(QString(length, u' '));
}

}  // namespace

void frmMain::FillGrid() {
    applyViewState();
    const ColumnLayout& layout = m_layout;

    // No value column at all (every group hidden, or no monitor yet): the grid
    // goes out of sight and keeps what it had; the status bar stays as it was.
    const bool withQuery = layout.hasQuery();
    if (layout.gColCount < (withQuery ? 3 : 2)) {
        grdData->hide();
        return;
    }

    BusyPointer busy(BusyPointer::Show::Later);
    grdData->setRedraw(false);

    QStringList characteristics;
    QStringList queries;
    SplitChartNames(characteristics, queries);
    // A new layout of the table: no text, width, mark or colour survives it.
    m_model->reload(layout, characteristics, queries);

    // Value columns are as wide as their headings need; the values never widen them.
    for (int c = grdData->fixedColumns(); c < grdData->columns(); ++c)
        grdData->setColumnWidthTwips(c, MeasureColumnWidth(grdData->cellText(0, c)));
    // The name columns as wide as their longest text, heading included.
    auto widestOf = [](qsizetype longest, const QStringList& texts) {
        for (const QString& text : texts)
            longest = qMax(longest, text.size());
        return widthForLength(longest);
    };
    grdData->setColumnWidthTwips(0, widestOf(grdData->cellText(0, 0).size(), characteristics));
    if (withQuery)
        grdData->setColumnWidthTwips(
            layout.gColQuery, widestOf(grdData->cellText(0, layout.gColQuery).size(), queries));

    // Three data rows high, for the three-line headings.
    grdData->setRowHeightTwips(0, 3 * grdData->rowHeightTwips(1));
    grdData->setCurrentGridCell(1, withQuery ? 2 : 1);

    grdData->setRedraw(true);
    grdData->show();
    if (!txtGrd->isVisible())
        grdData->setFocus();
    UpdateStatusBar();
}

void frmMain::SplitChartNames(QStringList& characteristics, QStringList& queries) {
    const OptionTable& rows = m_state.gOptionRows;
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
    const SharedState& s = m_state;
    const QString monitor = s.hasCurrentMonitor() ? s.currentMonitor().Name : QString();
    m_statusDsn->setText(catalogText(168) + u' ' + s.gDsn + u' ');
    m_statusMonitor->setText(catalogText(169) + u' ' + monitor + u' ');
    // Whole in the tool tip when the counts' panel leaves them too little room.
    m_statusDsn->setToolTip(m_statusDsn->text());
    m_statusMonitor->setToolTip(m_statusMonitor->text());
    UpdateChangePanel();
}

}  // namespace tolva
