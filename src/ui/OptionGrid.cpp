#include "OptionGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <functional>

#include "OptionTableModel.h"
#include "ui/Twips.h"

namespace tolva {

namespace {

QFont gridFont() {
    // Courier New where installed; the type-writer hint picks the platform's
    // look-alike elsewhere.
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(8.25);
    return font;
}

// A header whose height is set by the grid (three data rows) rather than by
// the texts it shows.
class GridHeader : public QHeaderView {
public:
    explicit GridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
        setTextElideMode(Qt::ElideNone);
        setDefaultAlignment(Qt::AlignCenter);
    }
    void setHeight(int pixels) {
        m_height = pixels;
        setFixedHeight(pixels);
        updateGeometry();
    }
    QSize sizeHint() const override {
        QSize size = QHeaderView::sizeHint();
        if (m_height > 0)
            size.setHeight(m_height);
        return size;
    }

private:
    int m_height = 0;
};

// The whole text of a cell, when its column is too narrow to show it.
void showCutText(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& shown) {
    const int margins =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    if (QFontMetrics(shown.font).horizontalAdvance(shown.text) > shown.rect.width() - margins)
        QToolTip::showText(event->globalPos(), shown.text, view->viewport(), shown.rect);
    else
        QToolTip::hideText();
}

// A cell whose text its column cuts shows it whole in a tool tip.
class CutTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
        if (event->type() != QEvent::ToolTip || !index.isValid())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        const QString note = index.data(Qt::ToolTipRole).toString();
        if (!note.isEmpty()) {
            QToolTip::showText(event->globalPos(), note, view->viewport(), view->visualRect(index));
            return true;
        }
        QStyleOptionViewItem shown = option;
        initStyleOption(&shown, index);
        showCutText(event, view, shown);
        return true;
    }
};

// Leaves out the selection look while the in-place editor covers the cell.
class CellDelegate : public CutTextDelegate {
public:
    CellDelegate(const bool& highlight, QObject* parent)
        : CutTextDelegate(parent), m_highlight(highlight) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!m_highlight)
            option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    }

private:
    const bool& m_highlight;
};

// Fixed cells in the desktop's button-face colours, unless they carry a colour
// of their own (a heading mark).
class FixedCellDelegate : public CutTextDelegate {
public:
    using CutTextDelegate::CutTextDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->backgroundBrush.style() == Qt::NoBrush)
            option->backgroundBrush = option->palette.button();
        option->palette.setBrush(QPalette::Text, option->palette.buttonText());
    }
};

// The view of the fixed columns. It never scrolls on its own: after each of its
// own layout passes it takes the grid's vertical position again.
class FixedColumnsView : public QTableView {
public:
    using QTableView::QTableView;
    std::function<void()> afterLayout;

protected:
    void updateGeometries() override {
        QTableView::updateGeometries();
        if (afterLayout)
            afterLayout();
    }
};

GridHeader* header(QTableView* view) {
    return static_cast<GridHeader*>(view->horizontalHeader());
}

}  // namespace

OptionGrid::OptionGrid(QWidget* parent) : QTableView(parent) {
    setFont(gridFont());
    setHorizontalHeader(new GridHeader(this));
    // Value columns can be widened by their heading's edge; the fixed columns'
    // own heading lies over theirs and stays fixed.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A rectangle of values, for copy, paste and revert.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setWordWrap(false);
    setTabKeyNavigation(false);
    // Pixels sideways so a value column can be brought out from under the fixed
    // columns exactly; whole rows up and down, as both views scroll together.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegate(new CellDelegate(m_highlight, this));

    auto* fixedView = new FixedColumnsView(this);
    fixedView->afterLayout = [this] { followVerticalScroll(); };
    m_frozen = fixedView;
    m_frozen->setObjectName(QStringLiteral("grdDataFixedColumns"));
    auto* fixedHeader = new GridHeader(m_frozen);
    fixedHeader->setTextElideMode(Qt::ElideRight);
    m_frozen->setHorizontalHeader(fixedHeader);
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->verticalHeader()->setMinimumSectionSize(1);
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setSelectionMode(QAbstractItemView::NoSelection);
    m_frozen->setWordWrap(false);
    m_frozen->setTextElideMode(Qt::ElideRight);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_frozen->setAutoScroll(false);
    m_frozen->setItemDelegate(new FixedCellDelegate(m_frozen));
    viewport()->stackUnder(m_frozen);
    m_frozen->viewport()->installEventFilter(this);
    m_frozen->horizontalHeader()->viewport()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column < m_fixedColumns) {
                    m_frozen->setColumnWidth(column, size);
                    updateFrozenGeometry();
                }
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { m_frozen->setRowHeight(row, size); });
    // The grid's scroll bar leads; wheel turns over the fixed columns are passed to it.
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, this,
            &OptionGrid::followVerticalScroll);
    connect(verticalScrollBar(), &QAbstractSlider::rangeChanged, this,
            &OptionGrid::followVerticalScroll);
    connect(horizontalScrollBar(), &QAbstractSlider::valueChanged, this, &OptionGrid::gridScrolled);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, this, &OptionGrid::gridScrolled);

    updateFrozenGeometry();
}

OptionGrid::~OptionGrid() = default;

void OptionGrid::setModel(QAbstractItemModel* model) {
    // Both views show the one model through the one selection model.
    m_model = qobject_cast<OptionTableModel*>(model);
    QTableView::setModel(m_model);
    m_frozen->setModel(m_model);
    m_frozen->setSelectionModel(selectionModel());
    if (!m_model)
        return;
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &OptionGrid::onCurrentChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &OptionGrid::onModelReset);
    onModelReset();
}

void OptionGrid::onModelReset() {
    const int columnCount = m_model->columnCount();
    m_fixedColumns = qBound(0, m_model->fixedColumns(), columnCount);
    m_wantedWidths = QVector<int>(m_fixedColumns, 0);
    for (int c = 0; c < columnCount; ++c) {
        const bool fixed = c < m_fixedColumns;
        m_frozen->setColumnHidden(c, !fixed);
        if (fixed) {
            m_wantedWidths[c] = columnWidth(c);
            m_frozen->setColumnWidth(c, columnWidth(c));
        }
    }
    updateFrozenGeometry();
}

int OptionGrid::rows() const {
    return m_model ? m_model->rowCount() + 1 : 1;
}

int OptionGrid::columns() const {
    return m_model ? m_model->columnCount() : 0;
}

void OptionGrid::setRedraw(bool on) {
    setUpdatesEnabled(on);
    if (on)
        viewport()->update();
}

QModelIndex OptionGrid::gridIndex(int row, int column) const {
    return m_model ? m_model->index(row - 1, column) : QModelIndex();
}

QString OptionGrid::cellText(int row, int column) const {
    if (!m_model)
        return QString();
    const QVariant text =
        row == 0 ? m_model->headerData(column, Qt::Horizontal, OptionTableModel::GivenTextRole)
                 : gridIndex(row, column).data(OptionTableModel::GivenTextRole);
    return text.toString();
}

QColor OptionGrid::cellBackground(int row, int column) const {
    if (!m_model)
        return QColor();
    const QVariant brush = row == 0
                               ? m_model->headerData(column, Qt::Horizontal, Qt::BackgroundRole)
                               : gridIndex(row, column).data(Qt::BackgroundRole);
    return brush.isValid() ? brush.value<QBrush>().color() : QColor();
}

void OptionGrid::setCellBackground(int row, int column, const QColor& colour) {
    if (!m_model)
        return;
    if (row == 0)
        m_model->setHeaderData(column, Qt::Horizontal, colour, Qt::BackgroundRole);
    else
        m_model->setData(gridIndex(row, column), colour, Qt::BackgroundRole);
}

void OptionGrid::setColumnWidthTwips(int column, int twips) {
    if (column >= 0 && column < m_fixedColumns) {
        m_wantedWidths[column] = twipsToPixels(twips);
        applyFixedWidths();
        return;
    }
    setColumnWidth(column, twipsToPixels(twips));
}

void OptionGrid::applyFixedWidths() {
    // Long names would push every value out of sight: past 40 % of the grid's
    // width the fixed columns shrink in proportion and their texts are elided.
    int wanted = 0;
    for (int columnWanted : m_wantedWidths)
        wanted += columnWanted;
    const int room = width() * 2 / 5;
    for (int c = 0; c < m_fixedColumns; ++c) {
        const int w = m_wantedWidths[c];
        setColumnWidth(c, wanted > room && wanted > 0 ? int(qint64(w) * room / wanted) : w);
    }
}

int OptionGrid::rowHeightTwips(int row) const {
    if (row == 0)
        return pixelsToTwips(horizontalHeader()->height());
    // Without that row (a table with no chart) the height a new row would get.
    if (row >= rows())
        return pixelsToTwips(verticalHeader()->defaultSectionSize());
    return pixelsToTwips(rowHeight(row - 1));
}

void OptionGrid::setRowHeightTwips(int row, int twips) {
    const int pixels = twipsToPixels(twips);
    if (row == 0) {
        header(this)->setHeight(pixels);
        header(m_frozen)->setHeight(pixels);
        updateGeometries();
        return;
    }
    if (row < rows())
        setRowHeight(row - 1, pixels);
}

int OptionGrid::currentGridRow() const {
    return gridRowOf(currentIndex());
}

int OptionGrid::currentGridColumn() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void OptionGrid::setCurrentGridCell(int row, int column) {
    // Only value cells can be current: the heading row and the fixed columns
    // are kept out, and so is anything outside the grid.
    if (!m_model || rows() < 2 || m_fixedColumns >= columns())
        return;
    const int r = qBound(1, row, rows() - 1);
    const int c = qBound(m_fixedColumns, column, columns() - 1);
    selectionModel()->setCurrentIndex(gridIndex(r, c), QItemSelectionModel::ClearAndSelect);
}

QRect OptionGrid::cellRect(int row, int column) const {
    if (column < 0 || column >= columns() || row < 0 || row >= rows())
        return QRect();
    const QTableView* view = column < m_fixedColumns ? m_frozen : this;
    if (row == 0) {
        const QHeaderView* head = view->horizontalHeader();
        const QPoint topLeft = head->mapTo(this, QPoint(head->sectionViewportPosition(column), 0));
        return QRect(topLeft, QSize(head->sectionSize(column), head->height()));
    }
    const QRect inViewport = view->visualRect(gridIndex(row, column));
    return QRect(view->viewport()->mapTo(this, inViewport.topLeft()), inViewport.size());
}

void OptionGrid::setCurrentHighlight(bool on) {
    m_highlight = on;
    viewport()->update();
}

void OptionGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit enterPressed();
            break;
        case Qt::Key_Delete:
            emit deletePressed();
            break;
        default: {
            const QString text = event->text();
            const bool command =
                event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!command && text.size() == 1 && text.at(0).isPrint())
                emit characterTyped(text.at(0));
            break;
        }
    }
    // The keys go on to the grid: arrows and page keys still move the cell.
    QTableView::keyPressEvent(event);
}

void OptionGrid::keyboardSearch(const QString&) {
    // Typed characters open the editor; they never jump to a matching cell.
}

void OptionGrid::mousePressEvent(QMouseEvent* event) {
    // A press on no cell leaves the current cell and its selection alone.
    if (!indexAt(event->position().toPoint()).isValid()) {
        emit gridClicked(false);
        return;
    }
    // A press on another cell makes it current first (cellEntered), then the click.
    QTableView::mousePressEvent(event);
    emit gridClicked(true);
}

void OptionGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && index.column() >= m_fixedColumns)
        emit cellDoubleClicked();
}

bool OptionGrid::eventFilter(QObject* watched, QEvent* event) {
    if (!m_frozen)  // the scroll area filters its own parts while being built
        return QTableView::eventFilter(watched, event);
    const bool fixedArea = watched == m_frozen->viewport();
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            // The headings are cells too; below the last row of names is no cell.
            emit gridClicked(
                !fixedArea ||
                m_frozen->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint())
                    .isValid());
            // The fixed cells cannot be selected: the press goes no further.
            return fixedArea;
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            return fixedArea;
        case QEvent::Wheel:
            if (fixedArea) {
                // Scroll the whole grid, as over the value cells.
                QApplication::sendEvent(viewport(), event);
                return true;
            }
            break;
        default:
            break;
    }
    return QTableView::eventFilter(watched, event);
}

void OptionGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    applyFixedWidths();
    updateFrozenGeometry();
}

QModelIndex OptionGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next.column() < m_fixedColumns) {
        if (m_fixedColumns >= columns())
            return currentIndex();
        next = model()->index(next.row(), m_fixedColumns);
    }
    return next;
}

void OptionGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.column() < m_fixedColumns)
        return;
    QTableView::scrollTo(index, hint);
    // The fixed columns cover the left edge of the view: a value cell scrolled
    // to that edge is moved out from under them.
    const int covered = frozenWidth();
    const int left = visualRect(index).left();
    if (left < covered)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (covered - left));
}

void OptionGrid::updateGeometries() {
    QTableView::updateGeometries();
    updateFrozenGeometry();
    followVerticalScroll();
}

void OptionGrid::followVerticalScroll() {
    if (!m_frozen)
        return;
    QScrollBar* own = m_frozen->verticalScrollBar();
    own->setRange(verticalScrollBar()->minimum(), verticalScrollBar()->maximum());
    own->setValue(verticalScrollBar()->value());
}

void OptionGrid::onCurrentChanged(const QModelIndex& current, const QModelIndex&) {
    if (!current.isValid())
        return;
    if (current.column() < m_fixedColumns) {
        // A drag into the fixed columns, say: the first value cell of the row instead.
        if (m_fixedColumns < columns())
            selectionModel()->setCurrentIndex(model()->index(current.row(), m_fixedColumns),
                                              QItemSelectionModel::ClearAndSelect);
        return;
    }
    emit cellEntered();
}

int OptionGrid::frozenWidth() const {
    int width = 0;
    for (int c = 0; c < m_fixedColumns; ++c)
        width += columnWidth(c);
    return width;
}

void OptionGrid::updateFrozenGeometry() {
    if (!m_frozen)
        return;
    if (m_fixedColumns == 0) {
        m_frozen->hide();
        return;
    }
    m_frozen->setGeometry(frameWidth(), frameWidth(), frozenWidth(),
                          viewport()->height() + horizontalHeader()->height());
    m_frozen->show();
}

}  // namespace tolva
