#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>
#include <QVector>

#include "core/ColumnLayout.h"
#include "core/OptionTable.h"
#include "core/SharedState.h"

Q_DECLARE_METATYPE(tolva::TaggedValue)

namespace tolva {

// The option table as the grid shows it: one model row per entry of
// gOptionRows, the columns of the view switches (characteristic, query when
// the profile has one, then the shown value groups). The headings are the
// horizontal header, so model row i is grid row i + 1. Values are read from and
// written to the table itself; the model keeps only the layout of the last
// reset, the split chart names and the cell colours.
class OptionTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The text as given (CR LF kept); the display role shows plain line breaks.
    static constexpr int GivenTextRole = Qt::UserRole + 1;

    explicit OptionTableModel(SharedState& state, QObject* parent = nullptr);

    // Takes the column layout and the names split into characteristic and
    // query texts (one of each per option row); every cell colour goes.
    void reload(const ColumnLayout& layout, const QStringList& characteristics,
                const QStringList& queries);

    int fixedColumns() const { return m_queryColumn > 0 ? 2 : 1; }
    int queryColumn() const { return m_queryColumn; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Edit role on a value cell: a TaggedValue, a double, or an empty variant
    // or text for no value; it becomes the cell's Current value. Background
    // role: the cell's own colour (an invalid colour removes it).
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;

    // Current = value for the option cell at (rowIndex, grid column); true when
    // the cell now differs from what was loaded (a value edited back to its
    // loaded value counts as no change).
    bool storeCellValue(int rowIndex, int column, const TaggedValue& value);

    // The option cell a value column shows (null for the names), and the grid
    // column of an option cell (-1 while its group is hidden).
    OptionCellRef cellOf(int column) const { return m_cells.value(column, nullptr); }
    int columnOf(OptionCellRef cell) const { return m_layout.columnOf(cell); }
    // Current = value for that option cell of the row, shown or not; emits
    // valueStored as an edit in the grid does.
    void storeOptionValue(int rowIndex, OptionCellRef cell, const TaggedValue& value);
    // Values differing from what was loaded, hidden groups included: a save
    // writes them all.
    int changedValueCount() const;
    // The values were changed in the table itself (a save marked groups saved).
    void valuesChanged();

signals:
    // A value went into the table through the model.
    void valueStored(int rowIndex, int column, bool changed);

private:
    const OptionCell* optionCell(int rowIndex, int column) const;
    // The tool tip of a value the database holds several times; empty otherwise.
    QString severalStoredNote(int rowIndex, int column) const;
    bool isChangedCell(int rowIndex, int column) const;
    QString givenText(int rowIndex, int column) const;

    SharedState& m_state;
    ColumnLayout m_layout;  // of the last reload
    int m_rows = 0;
    int m_queryColumn = 0;
    QStringList m_headings;          // per column, CR LF kept
    QVector<OptionCellRef> m_cells;  // per column; null for the names
    QStringList m_characteristics;
    QStringList m_queries;
    QHash<quint64, QColor> m_backgrounds;     // key: row index << 32 | column
    QHash<int, QColor> m_headingBackgrounds;  // by column
};

}  // namespace tolva
