#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "core/OptionTable.h"
#include "core/StoreOutcome.h"

namespace tolva {

class OptionSnapshot;

// One value a save stores or deletes: the option, the text the database held
// (none: no row or a null) and the text it gets (none: the row is deleted).
struct ValueWrite {
    QString option;
    qint32 chartId = 0;
    std::optional<QString> before;
    std::optional<QString> after;
    QString typed;  // the value as the user sees it, for a failure's message
};

// Everything one changed group of a save writes, in the order it runs.
struct GroupWrites {
    GroupRef ref;
    QVector<ValueWrite> values;
};

// The statements that store or delete one value of monitor `monId`: for a new
// option name first the counter's update and the CSOPT row (number maxNo + 1,
// maxNo moves on), then the INSERT or UPDATE of its CSMDAT row; a delete of an
// option never defined needs none. `known` learns what they do.
QStringList valueStatements(qint32 monId, const ValueWrite& write, OptionSnapshot& known,
                            qint32& maxNo);

// The failure of one value's statement: 112 naming the option and the value
// text, or 114 naming the option, with the driver's description.
StoreOutcome valueFailure(const ValueWrite& write, const QString& driverText);

}  // namespace tolva
