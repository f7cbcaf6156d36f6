#include "SaveWalk.h"

#include <optional>

#include "DbConnection.h"
#include "GroupChecks.h"
#include "LimitGroups.h"
#include "OptionReader.h"
#include "OptionSnapshot.h"
#include "OptionWriter.h"
#include "core/SharedState.h"

namespace tolva {

namespace {

// Every option name the walk writes or deletes.
QStringList walkedOptionNames() {
    QStringList names;
    for (const LimitGroup& g : limitGroups())
        names << g.clearOrder;
    return names;
}

bool anyGroupChanged(const OptionTable& table, int rowIndex) {
    for (const LimitGroup& g : limitGroups()) {
        if (table.groupChange(rowIndex, g.group) != 0)
            return true;
    }
    return false;
}

// One save: a single connection, opened by the first statement that needs it.
class Walk {
public:
    explicit Walk(SharedState& s) : m_state(s), m_link(s) {}

    StoreOutcome run() {
        const OptionTable& table = m_state.gOptionRows;
        int saved = 0;  // characteristics whose changes are all written
        QVector<GroupRef> written;
        for (int i = 0; i < table.size(); ++i) {
            for (const LimitGroup& g : limitGroups()) {
                const int change = table.groupChange(i, g.group);
                if (change == 0)
                    continue;
                if (!inGroup([&] { return saveGroup(i, g, change); })) {
                    // The user needs to know how far the save got, whatever stopped it.
                    m_failure.savedCharacteristics = saved;
                    m_failure.writtenGroups = written;
                    return m_failure;
                }
                written.append(GroupRef{i, g.group});
            }
            if (anyGroupChanged(table, i))
                ++saved;
        }
        StoreOutcome done = StoreOutcome::success();
        done.writtenGroups = written;
        return done;
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
            return failed(StoreOutcome::driverFailure(error.description()));
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
            if (!m_known) {
                m_link.ensureOpen();
                m_known.emplace();
                readKnownRows(*m_known);
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
        const OptionTable& table = m_state.gOptionRows;
        for (int i = 0; i < table.size(); ++i) {
            const qint32 chart = table.at(i).ChartId;
            if (anyGroupChanged(table, i) && !charts.contains(chart))
                charts.append(chart);
        }
        const QStringList names = walkedOptionNames();
        known.readOptionNumbers(m_db, names);
        known.readChartRows(m_db, m_link.monitorId(), charts, names);
    }

    bool write(const char* name, qint32 c, const TaggedValue& value) {
        if (!startGroup())
            return false;
        StoreOutcome outcome = WriteOptionValue(m_link, QLatin1String(name), c, value, *m_known);
        return outcome || failed(std::move(outcome));
    }
    bool remove(const char* name, qint32 c) {
        if (!startGroup())
            return false;
        StoreOutcome outcome = DeleteOptionValue(m_link, QLatin1String(name), c, *m_known);
        return outcome || failed(std::move(outcome));
    }
    bool removeAll(const QStringList& names, qint32 c) {
        for (const QString& name : names) {
            if (!remove(name.toLatin1().constData(), c))
                return false;
        }
        return true;
    }

    // The chart's type option as the group is about to be written.
    std::optional<qint32> readType(const LimitGroup& g, qint32 c) {
        if (!startGroup())
            return std::nullopt;
        const std::optional<FieldValue> tval = m_known->firstTval(c, QLatin1String(g.typeOption));
        return g.group == OptionGroup::Spec ? ReadSpecType(tval) : ReadLimitType(tval);
    }

    bool saveGroup(int i, const LimitGroup& g, int change) {
        const OptionRow& r = m_state.gOptionRows.at(i);
        if (change == 1)
            return removeAll(g.clearOrder, r.ChartId);
        StoreOutcome checked = CheckGroup(m_state, i, g.group);
        if (!checked)
            return failed(std::move(checked));
        return g.group == OptionGroup::Spec ? saveSpec(r, g) : saveControl(r, g);
    }

    bool saveSpec(const OptionRow& r, const LimitGroup& g) {
        const qint32 c = r.ChartId;
        const TaggedValue& lower = (r.*g.low()).Current;
        const TaggedValue& upper = (r.*g.high()).Current;
        const qint32 newType = lower.isEmpty() ? 3 : upper.isEmpty() ? 2 : 1;
        const std::optional<qint32> oldType = readType(g, c);
        if (!oldType)
            return false;
        if (*oldType != newType && !write(g.typeOption, c, TaggedValue::number(newType)))
            return false;
        // An emptied limit stays in the database: the new type hides it.
        for (OptionCellRef cell : g.cells) {
            const TaggedValue& value = (r.*cell).Current;
            const bool nominal = cell == g.middle();
            if ((nominal || !value.isEmpty()) && !write(optionOf(g, cell), c, value))
                return false;
        }
        return true;
    }

    bool saveControl(const OptionRow& r, const LimitGroup& g) {
        const qint32 c = r.ChartId;
        const TaggedValue& lcl = (r.*g.low()).Current;
        const TaggedValue& cl = (r.*g.middle()).Current;
        const TaggedValue& ucl = (r.*g.high()).Current;
        const std::optional<qint32> oldType = readType(g, c);
        if (!oldType)
            return false;
        if (*oldType != 2 && !write(g.typeOption, c, TaggedValue::number(2)))
            return false;
        const char* lclName = g.valueOptions[0];
        const char* clName = g.valueOptions[1];
        const char* uclName = g.valueOptions[2];
        if (cl.isEmpty()) {
            return remove(g.centreLineFlag, c) && remove(clName, c) && write(lclName, c, lcl) &&
                   write(uclName, c, ucl);
        }
        return write(lclName, c, lcl) && write(g.centreLineFlag, c, TaggedValue::number(1)) &&
               write(clName, c, cl) && write(uclName, c, ucl);
    }

    static const char* optionOf(const LimitGroup& g, OptionCellRef cell) {
        return cell == g.low()      ? g.valueOptions[0]
               : cell == g.middle() ? g.valueOptions[1]
                                    : g.valueOptions[2];
    }

    SharedState& m_state;
    MonitorLink m_link;
    DbConnection& m_db = m_link.db;
    std::optional<OptionSnapshot> m_known;  // what the database holds
    bool m_inTransaction = false;
    StoreOutcome m_failure;  // what stopped the walk
};

}  // namespace

StoreOutcome SaveMonitorOptions(SharedState& s) {
    return Walk(s).run();
}

}  // namespace tolva
