#include "ColumnLayout.h"

#include <algorithm>
#include <iterator>

#include "core/LimitGroups.h"

namespace tolva {

namespace {

// The column number of each cell of limitCells(), at the same place.
constexpr int ColumnLayout::*kColumnOf[] = {
    &ColumnLayout::gColSpecLower, &ColumnLayout::gColSpecNominal, &ColumnLayout::gColSpecUpper,
    &ColumnLayout::gColXLcl,      &ColumnLayout::gColXCl,         &ColumnLayout::gColXUcl,
    &ColumnLayout::gColRLcl,      &ColumnLayout::gColRCl,         &ColumnLayout::gColRUcl};
static_assert(std::size(kColumnOf) == std::tuple_size_v<std::decay_t<decltype(limitCells())>>,
              "every limit cell has its column number");

}  // namespace

int ColumnLayout::columnOf(OptionCellRef cell) const {
    const int i = limitCellIndex(cell);
    return i < 0 ? -1 : this->*kColumnOf[i];
}

int& ColumnLayout::columnOf(OptionCellRef cell) {
    const int i = limitCellIndex(cell);
    Q_ASSERT(i >= 0);
    return this->*kColumnOf[i];
}

QVector<OptionCellRef> ColumnLayout::shownCells() const {
    QVector<OptionCellRef> shown;
    for (OptionCellRef cell : limitCells()) {
        if (columnOf(cell) >= 0)
            shown << cell;
    }
    std::sort(shown.begin(), shown.end(),
              [this](OptionCellRef a, OptionCellRef b) { return columnOf(a) < columnOf(b); });
    return shown;
}

}  // namespace tolva
