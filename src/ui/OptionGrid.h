#pragma once

#include <QColor>
#include <QRect>
#include <QTableWidget>

class QTableView;

namespace tolva {

// The option grid `grdData`, addressed in the grid coordinates the editor uses:
// row 0 is the heading row (shown as the horizontal header), column 0 the
// characteristic, column 1 the query of a query profile; grid row r >= 1 shows
// gOptionRows[r-1]. The first fixedColumns() columns are drawn by a frozen view
// laid over the table: they stay in view while the value columns scroll and the
// user can neither select nor reach them. The current cell is always a value cell.
class OptionGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit OptionGrid(QWidget* parent = nullptr);
    ~OptionGrid() override;

    // Structure. rows() counts the heading row: n characteristics give n+1.
    void clearGrid();  // all texts, styles, colours and widths
    void setGridSize(int rows, int columns, int fixedColumns);
    int rows() const;
    int columns() const;
    int fixedColumns() const { return m_fixedColumns; }

    // Redrawing off while the grid is rebuilt, on at the end.
    void setRedraw(bool on);

    // Cell texts (may hold CR LF; headings show them as line breaks).
    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);
    void setCellCentered(int row, int column);
    void setCellBold(int row, int column);
    // Background of a cell; an invalid colour means none of its own.
    QColor cellBackground(int row, int column) const;
    void setCellBackground(int row, int column, const QColor& colour);

    // Sizes in twips (1/1440 inch), converted to pixels through twipsToPixels().
    void setColumnWidthTwips(int column, int twips);
    int rowHeightTwips(int row) const;
    void setRowHeightTwips(int row, int twips);

    // Current cell; setting it emits cellEntered() synchronously when it moves.
    int currentGridRow() const;
    int currentGridColumn() const;
    void setCurrentGridCell(int row, int column);

    // Rectangle of a cell in this widget's coordinates (pixels).
    QRect cellRect(int row, int column) const;
    // Whether the current cell is drawn highlighted (off while the editor is open).
    void setCurrentHighlight(bool on);

signals:
    void cellEntered();             // current cell changed (by user or program)
    void characterTyped(QChar ch);  // a printable character pressed on the grid
    void enterPressed();            // Return or Enter on the grid
    void deletePressed();           // Delete on the grid
    void cellDoubleClicked();       // double click on a value cell
    void gridClicked();             // mouse press on the grid
    void gridScrolled();            // either scroll bar moved

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

private:
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    QTableWidgetItem* gridItem(int row, int column) const;  // row 0: heading item
    int frozenWidth() const;
    void followVerticalScroll();
    void updateFrozenGeometry();

    QTableView* m_frozen = nullptr;
    int m_fixedColumns = 1;
    bool m_highlight = true;
    bool m_quiet = false;  // no cellEntered while the grid is being rebuilt
};

}  // namespace tolva
