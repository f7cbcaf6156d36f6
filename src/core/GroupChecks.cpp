#include "GroupChecks.h"

#include <optional>

#include "core/Catalog.h"
#include "core/LimitGroups.h"
#include "core/SharedState.h"

namespace tolva {

namespace {

// The offending cell (the editor opens on it with its value, empty or not) and
// the message.
struct Failure {
    OptionCellRef cell;
    int message;
};

bool atLeast(const TaggedValue& a, const TaggedValue& b) {
    return !a.lessThan(b);
}

bool atMost(const TaggedValue& a, const TaggedValue& b) {
    return !b.lessThan(a);
}

std::optional<Failure> checkSpec(const OptionRow& r, const LimitGroup& g) {
    const TaggedValue& lower = (r.*g.low()).Current;
    const TaggedValue& nominal = (r.*g.middle()).Current;
    const TaggedValue& upper = (r.*g.high()).Current;
    if (nominal.isEmpty())
        return Failure{g.middle(), g.middleMissing};
    if (!lower.isEmpty() && atLeast(lower, nominal))
        return Failure{g.low(), g.lowNotBelowMiddle};
    if (!upper.isEmpty() && atMost(upper, nominal))
        return Failure{g.high(), g.highNotAboveMiddle};
    if (upper.isEmpty() && lower.isEmpty())
        return Failure{g.low(), g.lowMissing};
    return std::nullopt;
}

// Individual/Average and Moving Range/Range/S charts share their rules; only
// the cells and some messages differ.
std::optional<Failure> checkControl(const OptionRow& r, const LimitGroup& g) {
    const TaggedValue& lcl = (r.*g.low()).Current;
    const TaggedValue& cl = (r.*g.middle()).Current;
    const TaggedValue& ucl = (r.*g.high()).Current;
    if (cl.isEmpty()) {
        if (lcl.isEmpty())
            return Failure{g.low(), g.lowMissing};
        if (ucl.isEmpty())
            return Failure{g.high(), g.highMissing};
        if (atLeast(lcl, ucl))
            return Failure{g.low(), g.lowNotBelowHigh};
        return std::nullopt;
    }
    if (lcl.isEmpty() || atLeast(lcl, cl))
        return Failure{g.low(), g.lowNotBelowMiddle};
    if (ucl.isEmpty() || atMost(ucl, cl))
        return Failure{g.high(), g.highNotAboveMiddle};
    return std::nullopt;
}

// A value read from the database as text would be written as ''. It has to be
// retyped as a number before its group can be stored.
std::optional<Failure> checkNumeric(const OptionRow& r, const LimitGroup& g) {
    for (OptionCellRef cell : g.cells) {
        if ((r.*cell).Current.isText())
            return Failure{cell, Msg::NotANumber};
    }
    return std::nullopt;
}

std::optional<Failure> checkGroup(const OptionRow& r, OptionGroup group) {
    const LimitGroup& g = limitGroup(group);
    if (auto f = group == OptionGroup::Spec ? checkSpec(r, g) : checkControl(r, g))
        return f;
    return checkNumeric(r, g);
}

}  // namespace

StoreOutcome CheckGroup(const SharedState& s, int rowIndex, OptionGroup group) {
    if (!s.gOptionRows.contains(rowIndex))
        return StoreOutcome::driverFailure(catalogText(Msg::MissingOptionRow).arg(rowIndex));
    const OptionRow& row = s.gOptionRows.at(rowIndex);
    const std::optional<Failure> failure = checkGroup(row, group);
    if (!failure)
        return StoreOutcome::success();
    StoreOutcome refused = StoreOutcome::refusal(failure->message);
    refused.edit =
        CellToEdit{rowIndex, group, failure->cell, (row.*(failure->cell)).Current.toDisplayText()};
    return refused;
}

}  // namespace tolva
