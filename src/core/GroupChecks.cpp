#include "GroupChecks.h"

#include <optional>

#include "core/Catalog.h"
#include "core/SharedState.h"

namespace tolva {

namespace {

using Cell = OptionCell OptionRow::*;

// The offending cell (the editor opens on it with its value, empty or not) and
// the message.
struct Failure {
    Cell cell;
    int message;
};

bool atLeast(const TaggedValue& a, const TaggedValue& b) {
    return !a.lessThan(b);
}

bool atMost(const TaggedValue& a, const TaggedValue& b) {
    return !b.lessThan(a);
}

std::optional<Failure> checkSpec(const OptionRow& r) {
    const TaggedValue& lower = r.SpecLower.Current;
    const TaggedValue& nominal = r.SpecNominal.Current;
    const TaggedValue& upper = r.SpecUpper.Current;
    if (nominal.isEmpty())
        return Failure{&OptionRow::SpecNominal, 115};
    if (!lower.isEmpty() && atLeast(lower, nominal))
        return Failure{&OptionRow::SpecLower, 116};
    if (!upper.isEmpty() && atMost(upper, nominal))
        return Failure{&OptionRow::SpecUpper, 117};
    if (upper.isEmpty() && lower.isEmpty())
        return Failure{&OptionRow::SpecLower, 116};
    return std::nullopt;
}

// Individual/Average and Moving Range/Range/S charts share their rules; only
// the cells and some messages differ.
struct ControlChart {
    Cell lcl, cl, ucl;
    int lclMissing, uclMissing, lclNotBelowUcl, lclNotBelowCl, uclNotAboveCl;
};

const ControlChart kXChart{
    &OptionRow::XLcl, &OptionRow::XCl, &OptionRow::XUcl, 118, 119, 120, 121, 122};
const ControlChart kRChart{
    &OptionRow::RLcl, &OptionRow::RCl, &OptionRow::RUcl, 123, 124, 125, 126, 122};

std::optional<Failure> checkControl(const OptionRow& r, const ControlChart& g) {
    const TaggedValue& lcl = (r.*g.lcl).Current;
    const TaggedValue& cl = (r.*g.cl).Current;
    const TaggedValue& ucl = (r.*g.ucl).Current;
    if (cl.isEmpty()) {
        if (lcl.isEmpty())
            return Failure{g.lcl, g.lclMissing};
        if (ucl.isEmpty())
            return Failure{g.ucl, g.uclMissing};
        if (atLeast(lcl, ucl))
            return Failure{g.lcl, g.lclNotBelowUcl};
        return std::nullopt;
    }
    if (lcl.isEmpty() || atLeast(lcl, cl))
        return Failure{g.lcl, g.lclNotBelowCl};
    if (ucl.isEmpty() || atMost(ucl, cl))
        return Failure{g.ucl, g.uclNotAboveCl};
    return std::nullopt;
}

// A value read from the database as text would be written as ''. It has to be
// retyped as a number before its group can be stored.
std::optional<Failure> checkNumeric(const OptionRow& r, Cell low, Cell middle, Cell high) {
    for (Cell cell : {low, middle, high}) {
        if ((r.*cell).Current.isText())
            return Failure{cell, 141};
    }
    return std::nullopt;
}

std::optional<Failure> checkGroup(const OptionRow& r, OptionGroup group) {
    switch (group) {
        case OptionGroup::Spec:
            if (auto f = checkSpec(r))
                return f;
            return checkNumeric(r, &OptionRow::SpecLower, &OptionRow::SpecNominal,
                                &OptionRow::SpecUpper);
        case OptionGroup::X:
            if (auto f = checkControl(r, kXChart))
                return f;
            return checkNumeric(r, kXChart.lcl, kXChart.cl, kXChart.ucl);
        case OptionGroup::R:
            if (auto f = checkControl(r, kRChart))
                return f;
            return checkNumeric(r, kRChart.lcl, kRChart.cl, kRChart.ucl);
    }
    return std::nullopt;
}

}  // namespace

StoreOutcome CheckGroup(const SharedState& s, int rowIndex, OptionGroup group) {
    if (rowIndex < 0 || rowIndex >= s.gOptionRows.size())
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
