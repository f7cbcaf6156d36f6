#include "OptionTable.h"

#include <algorithm>

#include "LimitGroups.h"

namespace tolva {

namespace {

int changedCells(const OptionRow& row) {
    int n = 0;
    for (OptionCellRef cell : limitCells())
        n += (row.*cell).isChanged() ? 1 : 0;
    return n;
}

int cellNumber(OptionCellRef cell) {
    const auto& cells = limitCells();
    return int(std::find(cells.begin(), cells.end(), cell) - cells.begin());
}

}  // namespace

int GetGroupChange(const OptionCell& low, const OptionCell& middle, const OptionCell& high) {
    if (!low.isChanged() && !middle.isChanged() && !high.isChanged())
        return 0;
    const bool allCleared = low.Current.equalsEmptyValue() && middle.Current.equalsEmptyValue() &&
                            high.Current.equalsEmptyValue();
    return allCleared ? 1 : 2;
}

bool OptionTable::setCurrent(int rowIndex, OptionCellRef cell, const TaggedValue& value) {
    if (!contains(rowIndex) || !cell)
        return false;
    OptionCell& target = m_rows[rowIndex].*cell;
    target.Current = value;
    return target.isChanged();
}

void OptionTable::revert(int rowIndex, OptionCellRef cell) {
    if (contains(rowIndex) && cell)
        setCurrent(rowIndex, cell, (m_rows.at(rowIndex).*cell).Loaded);
}

bool OptionTable::isChanged(int rowIndex, OptionCellRef cell) const {
    return contains(rowIndex) && cell && (m_rows.at(rowIndex).*cell).isChanged();
}

int OptionTable::groupChange(int rowIndex, OptionGroup group) const {
    if (!contains(rowIndex))
        return 0;
    const OptionRow& r = m_rows.at(rowIndex);
    const LimitGroup& g = limitGroup(group);
    return GetGroupChange(r.*g.low(), r.*g.middle(), r.*g.high());
}

bool OptionTable::hasUnsavedChanges() const {
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [](const OptionRow& row) { return changedCells(row) > 0; });
}

int OptionTable::changedValueCount() const {
    int n = 0;
    for (const OptionRow& row : m_rows)
        n += changedCells(row);
    return n;
}

void OptionTable::revertAll() {
    for (OptionRow& row : m_rows) {
        for (OptionCellRef cell : limitCells())
            (row.*cell).Current = (row.*cell).Loaded;
    }
}

void OptionTable::markAllSaved() {
    QVector<GroupRef> all;
    for (int i = 0; i < size(); ++i) {
        for (const LimitGroup& g : limitGroups())
            all.append(GroupRef{i, g.group});
    }
    markSaved(all);
}

void OptionTable::markSaved(const QVector<GroupRef>& groups) {
    for (const GroupRef& ref : groups) {
        if (!contains(ref.rowIndex))
            continue;
        // A cleared group's options are gone, zeros and empty texts included.
        const bool cleared = groupChange(ref.rowIndex, ref.group) == 1;
        for (OptionCellRef cell : limitGroup(ref.group).cells) {
            OptionCell& c = m_rows[ref.rowIndex].*cell;
            if (cleared)
                c.setBoth(TaggedValue());
            else
                c.Loaded = c.Current;
        }
    }
}

QStringList OptionTable::storedTexts(int rowIndex, OptionCellRef cell) const {
    return m_storedTexts.value(qMakePair(rowIndex, cellNumber(cell)));
}

void OptionTable::setStoredTexts(int rowIndex, OptionCellRef cell, const QStringList& texts) {
    if (contains(rowIndex) && cell)
        m_storedTexts.insert(qMakePair(rowIndex, cellNumber(cell)), texts);
}

void OptionTable::takeStored(const GroupRef& ref, const std::array<TaggedValue, 3>& values) {
    if (!contains(ref.rowIndex))
        return;
    const LimitGroup& g = limitGroup(ref.group);
    for (size_t k = 0; k < 3; ++k)
        (m_rows[ref.rowIndex].*g.cells[k]).setBoth(values[k]);
}

}  // namespace tolva
