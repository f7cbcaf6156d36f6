#pragma once

#include <QString>

#include "Catalog.h"

namespace tolva {

// What a store operation reports instead of showing it: success, or the
// catalog text the window shows and the driver's description that follows it.
// The window decides on the pointer, the box, its icon and its title.
struct StoreOutcome {
    int message = 0;     // catalog number; 0 means success
    QString driverText;  // the driver's description; may be empty

    bool ok() const { return message == 0; }
    // The catalog text, two line breaks and the driver's text, as boxes show it.
    QString text() const { return catalogText(message) + QStringLiteral("\r\n\r\n") + driverText; }

    static StoreOutcome success() { return {}; }
    static StoreOutcome failure(int message, QString driverText = QString()) {
        return {message, std::move(driverText)};
    }
};

}  // namespace tolva
