#include "OptionTableModel.h"

#include <QApplication>
#include <QBrush>
#include <QFont>
#include <QPalette>
#include <algorithm>

#include "core/Catalog.h"
#include "core/LimitGroups.h"
#include "core/OptionReader.h"

namespace tolva {

namespace {

// A colour handed in as a colour or as a brush; invalid for anything else.
QColor colourOf(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QColor>())
        return value.value<QColor>();
    if (value.metaType() == QMetaType::fromType<QBrush>())
        return value.value<QBrush>().color();
    return QColor();
}

// Unsaved values: a pale wash of the selection colour over the base, so it
// stays light on light themes and dark on dark ones, text readable on both.
QColor changedTint() {
    const QPalette palette = QApplication::palette();
    const QColor base = palette.color(QPalette::Base);
    const QColor accent = palette.color(QPalette::Highlight);
    const auto mix = [](int a, int b) { return (a * 3 + b) / 4; };
    return QColor(mix(base.red(), accent.red()), mix(base.green(), accent.green()),
                  mix(base.blue(), accent.blue()));
}

quint64 cellKey(int rowIndex, int column) {
    return (quint64(quint32(rowIndex)) << 32) | quint32(column);
}

}  // namespace

OptionTableModel::OptionTableModel(SharedState& state, QObject* parent)
    : QAbstractTableModel(parent), m_state(state) {}

void OptionTableModel::reload(const ColumnLayout& layout, const QStringList& characteristics,
                              const QStringList& queries) {
    beginResetModel();
    m_layout = layout;
    const int columns = qMax(layout.gColCount, 0);
    m_rows = int(m_state.gOptionRows.size());
    m_queryColumn = layout.hasQuery() && layout.gColQuery < columns ? layout.gColQuery : 0;
    m_headings = QStringList(columns, QString());
    m_cells = QVector<OptionCellRef>(columns, nullptr);
    if (columns > 0)
        m_headings[0] = catalogText(Msg::CharacteristicHeading);
    if (m_queryColumn > 0)
        m_headings[m_queryColumn] = catalogText(Msg::QueryHeading);
    for (OptionCellRef cell : layout.shownCells()) {
        const int column = layout.columnOf(cell);
        if (column > m_queryColumn && column < columns) {
            m_headings[column] = limitHeading(cell);
            m_cells[column] = cell;
        }
    }
    m_characteristics = characteristics;
    m_queries = queries;
    m_backgrounds.clear();
    m_headingBackgrounds.clear();
    endResetModel();
}

int OptionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int OptionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headings.size());
}

const OptionCell* OptionTableModel::optionCell(int rowIndex, int column) const {
    // The table may have been replaced since the last reset: never past its end.
    if (rowIndex < 0 || rowIndex >= m_state.gOptionRows.size() || column < 0 ||
        column >= m_cells.size() || !m_cells[column])
        return nullptr;
    return &(m_state.gOptionRows[rowIndex].*m_cells[column]);
}

QString OptionTableModel::givenText(int rowIndex, int column) const {
    if (column == 0)
        return m_characteristics.value(rowIndex);
    if (column == m_queryColumn)
        return m_queries.value(rowIndex);
    const OptionCell* cell = optionCell(rowIndex, column);
    return cell ? cell->Current.toDisplayText() : QString();
}

QString OptionTableModel::severalStoredNote(int rowIndex, int column) const {
    if (!optionCell(rowIndex, column))
        return QString();
    QStringList shown;
    for (const QString& text : m_state.gOptionRows.storedTexts(rowIndex, m_cells[column]))
        shown << ReadOptionValue(FieldValue(QVariant(text))).toDisplayText();
    return shown.isEmpty()
               ? QString()
               : catalogText(Msg::SeveralStoredValues).arg(shown.join(QStringLiteral(" ; ")));
}

QVariant OptionTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int row = index.row();
    const int column = index.column();
    const bool fixed = column < fixedColumns();
    switch (role) {
        case Qt::DisplayRole:
            return withLineBreaks(givenText(row, column));
        case GivenTextRole:
            return givenText(row, column);
        case Qt::EditRole:
            if (const OptionCell* cell = optionCell(row, column))
                return QVariant::fromValue(cell->Current);
            return QVariant();
        case Qt::ToolTipRole:
            return severalStoredNote(row, column);
        case Qt::TextAlignmentRole:
            return int(fixed ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
        case Qt::FontRole:
            if (column == 0 || isChangedCell(row, column)) {
                // Resolved against the grid's own font: only the weight is ours.
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return QVariant();
        case Qt::BackgroundRole: {
            const auto it = m_backgrounds.constFind(cellKey(row, column));
            if (it != m_backgrounds.constEnd())
                return QBrush(*it);
            return isChangedCell(row, column) ? QVariant(QBrush(changedTint())) : QVariant();
        }
        default:
            return QVariant();
    }
}

bool OptionTableModel::isChangedCell(int rowIndex, int column) const {
    const OptionCell* cell = optionCell(rowIndex, column);
    return cell && cell->isChanged();
}

QVariant OptionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
        case Qt::DisplayRole:
            return withLineBreaks(m_headings.at(section));
        case GivenTextRole:
            return m_headings.at(section);
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::BackgroundRole: {
            const auto it = m_headingBackgrounds.constFind(section);
            return it == m_headingBackgrounds.constEnd() ? QVariant() : QVariant(QBrush(*it));
        }
        default:
            return QVariant();
    }
}

Qt::ItemFlags OptionTableModel::flags(const QModelIndex& index) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    // The names are there to be read; only values are selected and edited.
    if (!m_cells[index.column()])
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool OptionTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    if (role == Qt::BackgroundRole) {
        const QColor colour = colourOf(value);
        const quint64 key = cellKey(index.row(), index.column());
        if (colour.isValid())
            m_backgrounds.insert(key, colour);
        else
            m_backgrounds.remove(key);
        emit dataChanged(index, index, {Qt::BackgroundRole});
        return true;
    }
    if (role != Qt::EditRole || !optionCell(index.row(), index.column()))
        return false;
    TaggedValue tagged;
    if (value.metaType() == QMetaType::fromType<TaggedValue>())
        tagged = value.value<TaggedValue>();
    else if (value.metaType().id() == QMetaType::Double)
        tagged = TaggedValue::number(value.toDouble());
    else if (value.isValid() && !value.toString().isEmpty())
        return false;  // typed text is read by the editor; no text reaches a cell here
    const bool changed = storeCellValue(index.row(), index.column(), tagged);
    emit valueStored(index.row(), index.column(), changed);
    return true;
}

bool OptionTableModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || role != Qt::BackgroundRole || section < 0 ||
        section >= m_headings.size())
        return false;
    const QColor colour = colourOf(value);
    if (colour.isValid())
        m_headingBackgrounds.insert(section, colour);
    else
        m_headingBackgrounds.remove(section);
    emit headerDataChanged(orientation, section, section);
    return true;
}

bool OptionTableModel::storeCellValue(int rowIndex, int column, const TaggedValue& value) {
    if (!optionCell(rowIndex, column))
        return false;
    const bool changed = m_state.gOptionRows.setCurrent(rowIndex, m_cells[column], value);
    const QModelIndex changedIndex = index(rowIndex, column);
    if (changedIndex.isValid())
        emit dataChanged(
            changedIndex, changedIndex,
            {Qt::DisplayRole, Qt::EditRole, GivenTextRole, Qt::BackgroundRole, Qt::FontRole});
    return changed;
}

void OptionTableModel::storeOptionValue(int rowIndex, OptionCellRef cell,
                                        const TaggedValue& value) {
    if (rowIndex < 0 || rowIndex >= m_state.gOptionRows.size() || !cell)
        return;
    const int column = columnOf(cell);
    if (column >= 0) {
        const bool changed = storeCellValue(rowIndex, column, value);
        emit valueStored(rowIndex, column, changed);
        return;
    }
    emit valueStored(rowIndex, -1, m_state.gOptionRows.setCurrent(rowIndex, cell, value));
}

void OptionTableModel::valuesChanged() {
    if (m_rows > 0 && !m_headings.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, int(m_headings.size()) - 1));
}

int OptionTableModel::changedValueCount() const {
    return m_state.gOptionRows.changedValueCount();
}

}  // namespace tolva
