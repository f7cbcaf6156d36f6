#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "Catalog.h"
#include "OptionTable.h"

namespace tolva {

// Where a refused group puts the user: the group is made visible first (which
// may move the columns), then the editor opens on the cell with the text.
struct CellToEdit {
    int rowIndex = 0;  // in gOptionRows; the grid row is rowIndex + 1
    OptionGroup group = OptionGroup::Spec;
    OptionCellRef cell = nullptr;
    QString text;
};

// What a store operation reports instead of showing it: success, or the texts
// the window shows, the driver's description that follows them, and where the
// user must be put. The window decides on the pointer, the box, its icon and its
// title.
struct StoreOutcome {
    bool failed = false;
    int message = 0;                  // catalog number heading the text; 0: the driver's text alone
    QStringList arguments;            // what the message names (ValueSetError: option, value text)
    QString driverText;               // the driver's description; may be empty
    bool withDriverText = true;       // false: the catalog text alone, no blank lines
    std::optional<CellToEdit> edit;   // a refused value: its cell
    int savedCharacteristics = -1;    // a save that failed half-way: rows written before
    QVector<GroupRef> writtenGroups;  // a save: the groups it committed
    bool commitUnanswered = false;    // the save may or may not have been written

    bool ok() const { return !failed; }
    explicit operator bool() const { return ok(); }

    // The whole text of the box: the message with what it names, two line breaks
    // and the driver's text, then how far a save got.
    QString text() const;

    static StoreOutcome success() { return {}; }
    // A catalog text followed by the driver's description (which may be empty).
    static StoreOutcome failure(int message, QString driverText = QString()) {
        StoreOutcome o;
        o.failed = true;
        o.message = message;
        o.driverText = std::move(driverText);
        return o;
    }
    // The driver's description alone.
    static StoreOutcome driverFailure(QString driverText) {
        return failure(0, std::move(driverText));
    }
    // A catalog text alone: a rule refused the work, the database was not at fault.
    static StoreOutcome refusal(int message) {
        StoreOutcome o = failure(message);
        o.withDriverText = false;
        return o;
    }
};

}  // namespace tolva
