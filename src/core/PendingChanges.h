#pragma once

#include <QString>
#include <QVector>

#include "core/SharedState.h"
#include "core/TaggedValue.h"

namespace tolva {

// One changed value of the option table, as the save question lists it.
struct PendingChange {
    int rowIndex = 0;
    QString characteristic;
    QString limit;  // the grid heading on one line
    TaggedValue before;
    TaggedValue after;
};

// Every changed value, in the order a save writes them: row by row, the
// specification limits, then the two charts' limits, each low, middle, high.
QVector<PendingChange> pendingChanges(const SharedState& s);

}  // namespace tolva
