#include "SaveWalk.h"

#include <array>
#include <optional>

#include "DbConnection.h"
#include "GroupChecks.h"
#include "OptionReader.h"
#include "OptionSnapshot.h"
#include "OptionWriter.h"
#include "core/SharedState.h"

namespace tolva {

namespace {

// Option names of one control chart family.
struct ControlNames {
    OptionGroup group;
    const char* type;
    const char* centreLine;
    const char* centreLineValue;
    const char* lclConstant;
    const char* uclConstant;
    std::array<const char*, 11> clearOrder;  // deletes of a cleared group, in order
};

const ControlNames kXNames{
    OptionGroup::X,
    "XTypeOfLCLandUCL",
    "XChartCenterLine",
    "XChartCenterLineValue",
    "XChartLCLConstant",
    "XChartUCLConstant",
    {{"XTypeOfLCLandUCL", "XChartCenterLine", "XChartCenterLineValue", "XChartUCL", "XChartUCLp",
      "XChartUCLConstant", "XChartLCL", "XChartLCLp", "XChartLCLConstant", "XChartSigma",
      "XChartSigmaValue"}}};

const ControlNames kRNames{OptionGroup::R,
                           "RTypeOfLCLandUCL",
                           "RChartCenterLine",
                           "RChartCenterLineValue",
                           "RChartLCLConstant",
                           "RChartUCLConstant",
                           {{"RTypeOfLCLandUCL", "RChartCenterLine", "RChartCenterLineValue",
                             "RChartSigma", "RChartSigmaValue", "RChartUCL", "RChartUCLp",
                             "RChartUCLConstant", "RChartLCL", "RChartLCLp", "RChartLCLConstant"}}};

const char* const kSpecClearOrder[] = {"ProcCapSpecType", "ProcCapDelta", "ProcCapLower",
                                       "ProcCapUpper", "ProcCapNominal"};

// Every option name the walk writes or deletes.
QStringList walkedOptionNames() {
    QStringList names;
    for (const char* name : kSpecClearOrder)
        names << QLatin1String(name);
    for (const ControlNames* family : {&kXNames, &kRNames}) {
        for (const char* name : family->clearOrder)
            names << QLatin1String(name);
    }
    return names;
}

bool anyGroupChanged(const OptionRow& r) {
    return GetGroupChange(r.SpecLower, r.SpecNominal, r.SpecUpper) != 0 ||
           GetGroupChange(r.XLcl, r.XCl, r.XUcl) != 0 || GetGroupChange(r.RLcl, r.RCl, r.RUcl) != 0;
}

// One save: a single connection, opened by the first statement that needs it.
class Walk {
public:
    Walk(SharedState& s, ReadPath path) : m_state(s), m_path(path), m_link(s) {}

    StoreOutcome run() {
        const int rows = int(m_state.gOptionRows.size());
        int saved = 0;  // characteristics whose changes are all written
        for (int i = 0; i < rows; ++i) {
            const OptionRow& row = m_state.gOptionRows.at(i);
            if (!inGroup([&] { return saveSpec(i, row); }) || !inGroup([&] {
                    return saveControl(i, row, kXNames, row.XLcl, row.XCl, row.XUcl);
                }) ||
                !inGroup(
                    [&] { return saveControl(i, row, kRNames, row.RLcl, row.RCl, row.RUcl); })) {
                // A refused value is the user's to mend; a database failure may
                // have cut the save short, and the user needs to know how far it got.
                if (!m_failure.edit)
                    m_failure.savedCharacteristics = saved;
                return m_failure;
            }
            if (anyGroupChanged(row))
                ++saved;
        }
        return StoreOutcome::success();
    }

private:
    // Runs one group's work; what it wrote takes effect with the commit, or not
    // at all when it fails (a lost connection undoes it on the server's side).
    template <typename Body>
    bool inGroup(Body body) {
        const bool ok = body();
        if (!m_inTransaction)
            return ok;
        m_inTransaction = false;
        if (!ok) {
            m_db.rollback();
            return false;
        }
        try {
            m_db.commit();
        } catch (const DbError& error) {
            m_db.rollback();
            StoreOutcome outcome = StoreOutcome::driverFailure(error.description());
            outcome.commitUnanswered = error.isUnanswered();
            return failed(std::move(outcome));
        }
        return true;
    }

    // Keeps what went wrong for the caller; always false.
    bool failed(StoreOutcome outcome) {
        m_failure = std::move(outcome);
        return false;
    }

    // Called before a group's first statement: reads what the walk decides on,
    // the first time, and opens the group's transaction.
    bool startGroup() {
        if (m_inTransaction)
            return true;
        try {
            if (m_path == ReadPath::Batched && !m_known) {
                m_link.ensureOpen();
                m_known.emplace();
                readKnownRows(*m_known);
            } else if (m_path == ReadPath::ValueByValue) {
                try {
                    m_link.ensureOpen();
                } catch (const DbError&) {
                    return true;  // the first writer reports the connection failure
                }
            }
            m_db.beginTransaction();
        } catch (const DbError& error) {
            m_known.reset();
            return failed(StoreOutcome::driverFailure(error.description()));
        }
        m_inTransaction = true;
        return true;
    }

    // Option numbers, then the rows of every chart that has a changed group.
    void readKnownRows(OptionSnapshot& known) {
        QVector<qint32> charts;
        for (const OptionRow& r : m_state.gOptionRows) {
            if (anyGroupChanged(r) && !charts.contains(r.ChartId))
                charts.append(r.ChartId);
        }
        const QStringList names = walkedOptionNames();
        known.readOptionNumbers(m_db, names);
        known.readChartRows(m_db, m_link.monitorId(), charts, names);
    }

    OptionSnapshot* known() { return m_known ? &*m_known : nullptr; }

    bool write(const char* name, qint32 c, const TaggedValue& value) {
        if (!startGroup())
            return false;
        StoreOutcome outcome = WriteOptionValue(m_link, QLatin1String(name), c, value, known());
        return outcome || failed(std::move(outcome));
    }
    bool remove(const char* name, qint32 c) {
        if (!startGroup())
            return false;
        StoreOutcome outcome = DeleteOptionValue(m_link, QLatin1String(name), c, known());
        return outcome || failed(std::move(outcome));
    }
    bool check(int i, OptionGroup group) {
        StoreOutcome outcome = CheckGroup(m_state, i, group);
        return outcome || failed(std::move(outcome));
    }
    template <typename Names>
    bool removeAll(const Names& names, qint32 c) {
        for (const char* name : names) {
            if (!remove(name, c))
                return false;
        }
        return true;
    }

    // The chart's type option as the group is about to be written. A read that
    // fails ends the walk; the user sees the driver's text.
    std::optional<qint32> readType(const char* name, qint32 c) {
        if (!startGroup())
            return std::nullopt;
        const QString option = QLatin1String(name);
        const bool spec = option == QLatin1String("ProcCapSpecType");
        if (m_known) {
            const std::optional<FieldValue> tval = m_known->firstTval(c, option);
            return spec ? ReadSpecType(tval) : ReadLimitType(tval);
        }
        try {
            if (spec)
                return ReadSpecType(m_link, c);
            return option.startsWith(u'X') ? ReadXLimitType(m_link, c) : ReadRLimitType(m_link, c);
        } catch (const DbError& error) {
            failed(StoreOutcome::driverFailure(error.description()));
            return std::nullopt;
        }
    }

    bool saveSpec(int i, const OptionRow& r) {
        const qint32 c = r.ChartId;
        switch (GetGroupChange(r.SpecLower, r.SpecNominal, r.SpecUpper)) {
            case 1:
                return removeAll(kSpecClearOrder, c);
            case 2: {
                if (!check(i, OptionGroup::Spec))
                    return false;
                const qint32 newType = r.SpecLower.Current.isEmpty()   ? 3
                                       : r.SpecUpper.Current.isEmpty() ? 2
                                                                       : 1;
                const std::optional<qint32> oldType = readType("ProcCapSpecType", c);
                if (!oldType)
                    return false;
                if (*oldType != newType &&
                    !write("ProcCapSpecType", c, TaggedValue::number(newType)))
                    return false;
                // An emptied limit stays in the database: the new type hides it.
                if (!r.SpecLower.Current.isEmpty() &&
                    !write("ProcCapLower", c, r.SpecLower.Current))
                    return false;
                if (!write("ProcCapNominal", c, r.SpecNominal.Current))
                    return false;
                if (!r.SpecUpper.Current.isEmpty() &&
                    !write("ProcCapUpper", c, r.SpecUpper.Current))
                    return false;
                return true;
            }
            default:
                return true;
        }
    }

    bool saveControl(int i, const OptionRow& r, const ControlNames& names, const OptionCell& lcl,
                     const OptionCell& cl, const OptionCell& ucl) {
        const qint32 c = r.ChartId;
        switch (GetGroupChange(lcl, cl, ucl)) {
            case 1:
                return removeAll(names.clearOrder, c);
            case 2: {
                if (!check(i, names.group))
                    return false;
                const std::optional<qint32> oldType = readType(names.type, c);
                if (!oldType)
                    return false;
                if (*oldType != 2 && !write(names.type, c, TaggedValue::number(2)))
                    return false;
                if (cl.Current.isEmpty()) {
                    return remove(names.centreLine, c) && remove(names.centreLineValue, c) &&
                           write(names.lclConstant, c, lcl.Current) &&
                           write(names.uclConstant, c, ucl.Current);
                }
                return write(names.lclConstant, c, lcl.Current) &&
                       write(names.centreLine, c, TaggedValue::number(1)) &&
                       write(names.centreLineValue, c, cl.Current) &&
                       write(names.uclConstant, c, ucl.Current);
            }
            default:
                return true;
        }
    }

    SharedState& m_state;
    ReadPath m_path;
    MonitorLink m_link;
    DbConnection& m_db = m_link.db;
    std::optional<OptionSnapshot> m_known;  // batched: what the database holds
    bool m_inTransaction = false;
    StoreOutcome m_failure;  // what stopped the walk
};

}  // namespace

int GetGroupChange(const OptionCell& low, const OptionCell& middle, const OptionCell& high) {
    if (!low.isChanged() && !middle.isChanged() && !high.isChanged())
        return 0;
    const bool allCleared = low.Current.equalsEmptyValue() && middle.Current.equalsEmptyValue() &&
                            high.Current.equalsEmptyValue();
    return allCleared ? 1 : 2;
}

StoreOutcome SaveMonitorOptions(SharedState& s, ReadPath path) {
    // After a commit that went unanswered, the walk decides on what the
    // database holds, not on what the last load saw.
    if (s.gRereadBeforeSave) {
        const StoreOutcome reread = RereadLoadedValues(s);
        if (!reread)
            return reread;
    }
    StoreOutcome outcome = Walk(s, path).run();
    if (outcome.commitUnanswered)
        s.gRereadBeforeSave = true;
    return outcome;
}

}  // namespace tolva
