#include "GroupChecks.h"

#include <optional>
#include <utility>

#include "core/Catalog.h"
#include "core/EditorPort.h"
#include "core/SharedState.h"
#include "core/UiPort.h"
#include "core/Version.h"

namespace tolva {

namespace {

// The grid column of a cell is read only when the reaction needs it: revealing
// a hidden group changes the column numbers.
using ColumnOf = int SharedState::*;

struct Failure {
    const TaggedValue* value;  // nullptr: the editor opens empty
    ColumnOf column;
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
        return Failure{nullptr, &SharedState::gColSpecNominal, 115};
    if (!lower.isEmpty() && atLeast(lower, nominal))
        return Failure{&lower, &SharedState::gColSpecLower, 116};
    if (!upper.isEmpty() && atMost(upper, nominal))
        return Failure{&upper, &SharedState::gColSpecUpper, 117};
    if (upper.isEmpty() && lower.isEmpty())
        return Failure{nullptr, &SharedState::gColSpecLower, 116};
    return std::nullopt;
}

// Individual/Average and Moving Range/Range/S charts share their rules; only
// the cells, columns and some messages differ.
struct ControlChart {
    const OptionCell& lcl;
    const OptionCell& cl;
    const OptionCell& ucl;
    ColumnOf colLcl, colUcl;
    int lclMissing, uclMissing, lclNotBelowUcl, lclNotBelowCl, uclNotAboveCl;
};

std::optional<Failure> checkControl(const ControlChart& g) {
    const TaggedValue& lcl = g.lcl.Current;
    const TaggedValue& cl = g.cl.Current;
    const TaggedValue& ucl = g.ucl.Current;
    if (cl.isEmpty()) {
        if (lcl.isEmpty())
            return Failure{nullptr, g.colLcl, g.lclMissing};
        if (ucl.isEmpty())
            return Failure{nullptr, g.colUcl, g.uclMissing};
        if (atLeast(lcl, ucl))
            return Failure{&lcl, g.colLcl, g.lclNotBelowUcl};
        return std::nullopt;
    }
    if (lcl.isEmpty() || atLeast(lcl, cl))
        return Failure{&lcl, g.colLcl, g.lclNotBelowCl};
    if (ucl.isEmpty() || atMost(ucl, cl))
        return Failure{&ucl, g.colUcl, g.uclNotAboveCl};
    return std::nullopt;
}

// A value read from the database as text would be written as ''. It has to be
// retyped as a number before its group can be stored.
std::optional<Failure> checkNumeric(const OptionCell& low, ColumnOf colLow,
                                    const OptionCell& middle, ColumnOf colMiddle,
                                    const OptionCell& high, ColumnOf colHigh) {
    const std::pair<const OptionCell*, ColumnOf> cells[] = {
        {&low, colLow}, {&middle, colMiddle}, {&high, colHigh}};
    for (const auto& [cell, column] : cells) {
        if (cell->Current.isText())
            return Failure{&cell->Current, column, 141};
    }
    return std::nullopt;
}

std::optional<Failure> checkGroup(const OptionRow& r, OptionGroup group) {
    using S = SharedState;
    switch (group) {
        case OptionGroup::Spec:
            if (auto f = checkSpec(r))
                return f;
            return checkNumeric(r.SpecLower, &S::gColSpecLower, r.SpecNominal, &S::gColSpecNominal,
                                r.SpecUpper, &S::gColSpecUpper);
        case OptionGroup::X:
            if (auto f = checkControl(
                    {r.XLcl, r.XCl, r.XUcl, &S::gColXLcl, &S::gColXUcl, 118, 119, 120, 121, 122}))
                return f;
            return checkNumeric(r.XLcl, &S::gColXLcl, r.XCl, &S::gColXCl, r.XUcl, &S::gColXUcl);
        case OptionGroup::R:
            if (auto f = checkControl(
                    {r.RLcl, r.RCl, r.RUcl, &S::gColRLcl, &S::gColRUcl, 123, 124, 125, 126, 122}))
                return f;
            return checkNumeric(r.RLcl, &S::gColRLcl, r.RCl, &S::gColRCl, r.RUcl, &S::gColRUcl);
    }
    return std::nullopt;
}

bool groupShown(OptionGroup group) {
    const SharedState& s = appState();
    switch (group) {
        case OptionGroup::Spec:
            return s.gShowProc;
        case OptionGroup::X:
            return s.gShowX;
        case OptionGroup::R:
            return s.gShowR;
    }
    return true;
}

}  // namespace

bool CheckGroup(int rowIndex, OptionGroup group) {
    SharedState& s = appState();
    if (rowIndex < 0 || rowIndex >= s.gOptionRows.size())
        return false;
    // A copy: revealing the group refills the grid, which may touch the table.
    const OptionRow row = s.gOptionRows.at(rowIndex);
    const std::optional<Failure> failure = checkGroup(row, group);
    if (!failure)
        return true;

    uiPort().setNormalPointer();
    EditorPort* window = editorWindow();
    if (window && !groupShown(group))
        window->revealGroup(group);
    const int column = s.*(failure->column);
    const QString text = failure->value ? failure->value->toDisplayText() : QString();
    if (window)
        window->EditGridCell(rowIndex + 1, column, text);
    uiPort().message(catalogText(failure->message), UiPort::Icon::Critical,
                     QString::fromUtf8(kAppTitle));
    return false;
}

}  // namespace tolva
