#pragma once

#include <QHash>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

#include "TaggedValue.h"

namespace tolva {

// One limit value of one chart: as read by the last load, and as edited.
struct OptionCell {
    TaggedValue Loaded;
    TaggedValue Current;

    // Exactly one of the two is empty, or both are set and differ.
    bool isChanged() const {
        if (Loaded.isEmpty() != Current.isEmpty())
            return true;
        return !Loaded.isEmpty() && Loaded != Current;
    }
    void setBoth(const TaggedValue& v) { Loaded = Current = v; }
};

// One chart of the monitor, shown as one grid row.
struct OptionRow {
    QString ChartName;
    qint32 ChartId = 0;
    OptionCell SpecUpper;
    OptionCell SpecLower;
    OptionCell SpecNominal;
    OptionCell XUcl;
    OptionCell XLcl;
    OptionCell XCl;
    OptionCell RUcl;
    OptionCell RLcl;
    OptionCell RCl;
};

using OptionCellRef = OptionCell OptionRow::*;

// The three limit groups of a chart, in the grid's order (see LimitGroups.h).
enum class OptionGroup { Spec, X, R };

// One group of one row of the table.
struct GroupRef {
    int rowIndex = 0;
    OptionGroup group = OptionGroup::Spec;
    bool operator==(const GroupRef& o) const { return rowIndex == o.rowIndex && group == o.group; }
};

// 0: no cell of the group changed; 1: changed and all three Current values
// equal the empty value; 2: changed and some Current value does not.
int GetGroupChange(const OptionCell& low, const OptionCell& middle, const OptionCell& high);

// One monitor's options: a row per chart with each value as loaded and as
// edited. Values change only through here, so "unsaved" always means that some
// cell's current value differs from its loaded one: edits undone or reverted
// back to what was loaded leave nothing to save.
class OptionTable {
public:
    OptionTable() = default;
    // Rows as a load or a caller built them.
    OptionTable(QVector<OptionRow> rows) : m_rows(std::move(rows)) {}  // NOLINT: implicit

    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const OptionRow& at(int rowIndex) const { return m_rows.at(rowIndex); }
    const OptionRow& operator[](int rowIndex) const { return m_rows.at(rowIndex); }
    QVector<OptionRow>::const_iterator begin() const { return m_rows.cbegin(); }
    QVector<OptionRow>::const_iterator end() const { return m_rows.cend(); }
    const QVector<OptionRow>& rows() const { return m_rows; }
    bool contains(int rowIndex) const { return rowIndex >= 0 && rowIndex < m_rows.size(); }

    // Current = value; true when the cell now differs from what was loaded.
    // Rows outside the table are ignored (false).
    bool setCurrent(int rowIndex, OptionCellRef cell, const TaggedValue& value);
    // Current back to Loaded.
    void revert(int rowIndex, OptionCellRef cell);
    bool isChanged(int rowIndex, OptionCellRef cell) const;
    int groupChange(int rowIndex, OptionGroup group) const;

    bool hasUnsavedChanges() const;
    int changedValueCount() const;  // cells, hidden groups included

    // Every cell back to its loaded value.
    void revertAll();
    // The database now holds these groups as shown: Loaded = Current (a cleared
    // group's cells become empty).
    void markSaved(const QVector<GroupRef>& groups);
    void markAllSaved();
    // The database holds other values than those loaded: they become both the
    // loaded and the current ones (low, middle, high).
    void takeStored(const GroupRef& ref, const std::array<TaggedValue, 3>& values);

    // The texts the database holds for the option behind a cell when it holds
    // several rows for it (the cell shows the first); empty otherwise.
    QStringList storedTexts(int rowIndex, OptionCellRef cell) const;
    void setStoredTexts(int rowIndex, OptionCellRef cell, const QStringList& texts);

private:
    QVector<OptionRow> m_rows;
    QHash<QPair<int, int>, QStringList> m_storedTexts;  // (row, cell number)
};

}  // namespace tolva
