#pragma once

#include <QString>
#include <QVector>

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

// The three column groups of the grid, in their display order.
enum class OptionGroup { Spec, X, R };

}  // namespace tolva
