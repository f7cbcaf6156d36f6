// The in-place editor txtGrd over the current grid cell, and the heading marks
// that follow the current cell.
#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>

#include "MonitorEditor.h"
#include "OptionGrid.h"
#include "OptionTableModel.h"
#include "core/Catalog.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "frmMain.h"
#include "ui/Twips.h"
#include "ui/UiPort.h"

namespace tolva {

namespace {

// Handed to showTxtGrd: start from the text the cell shows now.
const QString kCellTextSentinel = QStringLiteral("NULL");

QColor markColour() {
    return QApplication::palette().color(QPalette::Dark);  // button shadow
}

}  // namespace

void frmMain::showTxtGrd(const QString& sTxt) {
    const int c = grdData->currentGridColumn();
    const int r = grdData->currentGridRow();
    // Only value cells are edited; the fixed columns hold names and queries.
    if (c < grdData->fixedColumns() || c < 1 || r < 1)
        return;
    m_editCol = c;
    m_editRow = r;
    placeTxtGrd();

    const QString text = sTxt == kCellTextSentinel ? grdData->cellText(r, c) : sTxt;
    txtGrd->setText(text);
    txtGrd->deselect();
    txtGrd->setCursorPosition(int(text.size()));

    QColor background = grdData->cellBackground(r, c);
    if (!background.isValid())
        background = grdData->palette().color(QPalette::Base);
    QPalette pal = txtGrd->palette();
    pal.setColor(QPalette::Base, background);
    txtGrd->setPalette(pal);

    txtGrd->show();
    txtGrd->raise();
    txtGrd->setFocus();
}

void frmMain::placeTxtGrd() {
    const QRect cell = grdData->cellRect(grdData->currentGridRow(), grdData->currentGridColumn());
    QWidget* host = txtGrd->parentWidget();
    const QPoint topLeft = host->mapFrom(this, grdData->mapTo(this, cell.topLeft()));
    txtGrd->setGeometry(topLeft.x() + twipsToPixels(13), topLeft.y() + twipsToPixels(8),
                        cell.width() - twipsToPixels(26), cell.height() - twipsToPixels(16));
}

void frmMain::commitTxtGrd(bool& ok) {
    const QString typed = txtGrd->text();
    TaggedValue value;
    if (!typed.trimmed().isEmpty()) {
        const std::optional<double> number = readTypedNumber(typed);
        if (!number) {
            txtGrd->setFocus();
            uiPort().message(catalogText(141), UiPort::Icon::Exclamation, catalogText(139));
            ok = false;
            return;
        }
        value = TaggedValue::number(*number);
    }

    // The value goes into the cell the editor was opened on, whatever cell is
    // current now; the model tells the window whether it is a change.
    txtGrd->hide();
    m_editor->store({grdData->gridIndex(m_editRow, m_editCol)}, {value});
    grdData->setFocus();
    ok = true;
}

bool frmMain::commitOpenEdit() {
    if (!txtGrd->isVisible())
        return true;
    bool ok = false;
    commitTxtGrd(ok);
    return ok;
}

void frmMain::EditGridCell(int row, int col, const QString& text) {
    grdData->setCurrentGridCell(row, col);
    showTxtGrd(text);
}

void frmMain::grdData_EnterCell() {
    if (m_inEnterCell)
        return;
    m_inEnterCell = true;
    if (!commitOpenEdit()) {
        m_inEnterCell = false;
        return;
    }

    const int r = grdData->currentGridRow();
    const int c = grdData->currentGridColumn();
    const int queryCol = m_layout.gColQuery;
    const QColor mark = markColour();

    if (m_marksShown) {
        // The counts skip cells that a rebuild with fewer rows or columns removed.
        if (m_markedCol != c && m_markedCol < grdData->columns())
            grdData->setCellBackground(0, m_markedCol, QColor());
        if (m_markedRow != r && m_markedRow < grdData->rows()) {
            grdData->setCellBackground(m_markedRow, 0, QColor());
            if (queryCol > 0)
                grdData->setCellBackground(m_markedRow, queryCol, QColor());
        }
    }
    // A rebuild of the grid clears every colour while the marked row and column
    // stay the same, so a mark is also drawn again when its cell lost it.
    if (m_markedCol != c || !m_marksShown || grdData->cellBackground(0, c) != mark)
        grdData->setCellBackground(0, c, mark);
    if (m_markedRow != r || !m_marksShown || grdData->cellBackground(r, 0) != mark) {
        grdData->setCellBackground(r, 0, mark);
        if (queryCol > 0)
            grdData->setCellBackground(r, queryCol, mark);
    }

    m_markedCol = c;
    m_markedRow = r;
    m_marksShown = true;
    m_inEnterCell = false;
}

void frmMain::grdData_KeyPress(QChar ch) {
    // The comma does not open an edit, even where it is the decimal separator.
    const bool opens = (ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-' || ch == u'.';
    if (opens)
        showTxtGrd(QString(ch));
}

void frmMain::grdData_Enter() {
    showTxtGrd(kCellTextSentinel);
}

void frmMain::grdData_Delete() {
    showTxtGrd(QString());
}

void frmMain::grdData_DblClick() {
    showTxtGrd(kCellTextSentinel);
}

void frmMain::grdData_Click(bool onCell) {
    // A click that moved to another cell has already stored the edit on entering
    // it; one that stays on the cell drops the typed text. A click on no cell
    // stores it, as a click on another cell would.
    if (!txtGrd->isVisible())
        return;
    if (onCell)
        txtGrd->hide();
    else
        commitOpenEdit();
}

void frmMain::grdData_Scroll() {
    if (txtGrd->isVisible())
        txtGrd->hide();
}

void frmMain::txtGrd_Tab(bool forward) {
    // Stores the edit, then moves along the row to the next (or previous)
    // value cell, on to the following (or preceding) row at the row's end.
    if (!commitOpenEdit())
        return;
    int row = grdData->currentGridRow();
    int col = grdData->currentGridColumn() + (forward ? 1 : -1);
    if (col >= grdData->columns()) {
        if (row + 1 >= grdData->rows())
            return;
        ++row;
        col = grdData->fixedColumns();
    } else if (col < grdData->fixedColumns()) {
        if (row <= 1)
            return;
        --row;
        col = grdData->columns() - 1;
    }
    grdData->setCurrentGridCell(row, col);
}

void frmMain::txtGrd_Escape() {
    txtGrd->hide();
    grdData->setFocus();
}

}  // namespace tolva
