#pragma once

#include <QString>
#include <array>

#include "core/OptionTable.h"
#include "core/TaggedValue.h"

namespace tolva {

// A changed group whose stored values differ from those its screen was loaded
// with: another workstation saved, added or deleted some of them meanwhile.
// Values low, middle, high as the group's cells.
struct GroupConflict {
    int rowIndex = 0;
    OptionGroup group = OptionGroup::Spec;
    QString chartName;
    std::array<TaggedValue, 3> loaded;  // what the screen was loaded with
    std::array<TaggedValue, 3> stored;  // what the database holds now
    std::array<TaggedValue, 3> yours;   // what the user typed
};

struct ConflictAnswer {
    enum Choice {
        Overwrite,   // write the user's values over the stored ones
        TakeStored,  // loaded and current become the stored values; nothing written
        Stop,        // stop the save before this group
    };
    Choice choice = Stop;
    bool forTheRest = false;  // the same answer for the groups still to come
};

// How a save asks the user about a conflict; the window answers it with a box,
// tests with a script. No database lock is held while it waits.
class ConflictResolver {
public:
    virtual ~ConflictResolver() = default;
    virtual ConflictAnswer resolve(const GroupConflict& conflict) = 0;
};

}  // namespace tolva
