#pragma once

#include <QString>
#include <QStringList>
#include <array>

#include "core/OptionTable.h"

namespace tolva {

// One of the three limit groups of a chart: its cells, the options that hold
// them, what a cleared group deletes and the messages of its checks. The reader,
// the save walk, the checks, the grid, the export and revert all go by this
// table, so a group is described in one place.
struct LimitGroup {
    OptionGroup group;
    std::array<OptionCellRef, 3> cells;       // low, middle, high
    const char* typeOption;                   // decides which cells the database holds
    std::array<const char*, 3> valueOptions;  // low, middle, high
    const char* centreLineFlag;               // "1" while a centre line is set; null for spec
    std::array<int, 3> headings;              // catalog numbers: low, middle, high
    QStringList clearOrder;                   // deletes of a cleared group, in order

    // Check messages; 0 where the rule does not apply to the group.
    int middleMissing;    // spec: a nominal is required
    int lowMissing;       // spec: neither limit given; control: no lower limit
    int highMissing;      // control: no upper limit
    int lowNotBelowHigh;  // control without centre line
    int lowNotBelowMiddle;
    int highNotAboveMiddle;

    OptionCellRef low() const { return cells[0]; }
    OptionCellRef middle() const { return cells[1]; }
    OptionCellRef high() const { return cells[2]; }
};

// Specification, Individual/Average, Moving Range/Range/S: the grid's order.
const std::array<LimitGroup, 3>& limitGroups();
const LimitGroup& limitGroup(OptionGroup group);

// The nine cells in the grid's order (each group low, middle, high).
const std::array<OptionCellRef, 9>& limitCells();

// The group a cell belongs to.
OptionGroup groupOf(OptionCellRef cell);
// The place of a cell in limitCells(); -1 for none.
int limitCellIndex(OptionCellRef cell);

// A cell's column heading as the grid shows it (lines joined by CR LF), and on
// one line, as the export, the import and the lists of changes show it.
QString limitHeading(OptionCellRef cell);
QString limitHeadingOnOneLine(OptionCellRef cell);

// "ProcCapDelta": read with the specification group (nominal plus or minus it),
// never written.
inline constexpr const char* kToleranceOption = "ProcCapDelta";

}  // namespace tolva
