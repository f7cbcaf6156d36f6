#pragma once

#include <QColor>
#include <QRect>
#include <QTableView>
#include <QVector>

namespace tolva {

class OptionTableModel;

// The option grid `grdData` over an OptionTableModel, addressed in the grid
// coordinates the editor uses: row 0 is the heading row (shown as the
// horizontal header), column 0 the characteristic, column 1 the query of a query
// profile; grid row r >= 1 shows gOptionRows[r-1]. The model's fixed columns are
// drawn by a second view laid over the table that shares its model and
// selection: they stay in view while the value columns scroll, the user can
// neither select nor reach them, and together they take at most 40 % of the
// grid's width (longer names are elided, the whole name in a tool tip). The
// current cell is always a value cell.
class OptionGrid : public QTableView {
    Q_OBJECT

public:
    explicit OptionGrid(QWidget* parent = nullptr);
    ~OptionGrid() override;

    void setModel(QAbstractItemModel* model) override;
    OptionTableModel* optionModel() const { return m_model; }

    // Structure. rows() counts the heading row: n characteristics give n+1.
    int rows() const;
    int columns() const;
    int fixedColumns() const { return m_fixedColumns; }

    // Redrawing off while the grid is rebuilt, on at the end.
    void setRedraw(bool on);

    // The model index of a grid cell below the heading row (invalid elsewhere),
    // and the grid row of a model index (0 for an invalid one): the one place
    // where the heading row is counted.
    QModelIndex gridIndex(int row, int column) const;
    static int gridRowOf(const QModelIndex& index) { return index.isValid() ? index.row() + 1 : 0; }
    // Cell texts as given (may hold CR LF; headings show them as line breaks).
    QString cellText(int row, int column) const;
    // Background of a cell; an invalid colour means none of its own.
    QColor cellBackground(int row, int column) const;
    void setCellBackground(int row, int column, const QColor& colour);

    // Sizes in twips (1/1440 inch), converted to pixels through twipsToPixels().
    // A fixed column's width is the one wanted; the 40 % rule may draw it narrower.
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
    void gridClicked(bool onCell);  // mouse press on the grid; false: on no cell
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
    void onModelReset();
    void applyFixedWidths();
    int frozenWidth() const;
    void followVerticalScroll();
    void updateFrozenGeometry();

    OptionTableModel* m_model = nullptr;
    QTableView* m_frozen = nullptr;
    int m_fixedColumns = 0;
    QVector<int> m_wantedWidths;  // pixels, per fixed column
    bool m_highlight = true;
};

}  // namespace tolva
