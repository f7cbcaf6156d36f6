#include "SaveWalk.h"

#include "ChangeJournal.h"

#include <optional>

#include "DbConnection.h"
#include "GroupChecks.h"
#include "LimitGroups.h"
#include "OdbcStatement.h"
#include "OptionReader.h"
#include "OptionSnapshot.h"
#include "OptionWriter.h"
#include "core/Catalog.h"
#include "core/SharedState.h"

namespace tolva {

namespace {

using Values = std::array<TaggedValue, 3>;

// Every option name the walk writes or deletes.
QStringList walkedOptionNames() {
    QStringList names;
    for (const LimitGroup& g : limitGroups())
        names << g.clearOrder;
    return names;
}

// A server that locks rows for a transaction (SQLite locks the whole file).
bool locksRows(DbConnection::Dialect d) {
    return d == DbConnection::Dialect::PostgreSQL || d == DbConnection::Dialect::MySQL;
}

// A changed group the save is to write.
struct PlannedGroup {
    GroupRef ref;
    int change = 0;                     // 1 cleared, 2 set
    std::optional<Values> overwriting;  // stored values the user chose to write over
    bool taken = false;                 // the user took the stored values instead
};

Values cellValues(const OptionRow& row, const LimitGroup& g, TaggedValue OptionCell::*field) {
    return {(row.*g.low()).*field, (row.*g.middle()).*field, (row.*g.high()).*field};
}

class Walk {
public:
    Walk(SharedState& s, ConflictResolver* resolver, const QString& reason,
         std::optional<OptionTable>* readAfter)
        : m_state(s), m_link(s), m_resolver(resolver), m_journal(reason), m_readAfter(readAfter) {}

    StoreOutcome run() {
        planGroups();
        try {
            while (!done())
                attempt();
        } catch (const DbError& error) {
            m_db.rollback();
            m_written.clear();  // the transaction is gone with what it wrote
            StoreOutcome failure = StoreOutcome::driverFailure(error.description());
            // A commit sent and never answered may have taken effect.
            failure.commitUnanswered = m_commitSent && error.isUnanswered();
            return finished(failure);
        }
        StoreOutcome outcome = finished(m_stop ? *m_stop : StoreOutcome::success());
        if (outcome && m_readAfter)
            *m_readAfter = std::move(m_readTable);
        return outcome;
    }

private:
    // The changed groups in the table's order, up to the first refused check.
    void planGroups() {
        const OptionTable& table = m_state.gOptionRows;
        for (int i = 0; i < table.size(); ++i) {
            for (const LimitGroup& g : limitGroups()) {
                const int change = table.groupChange(i, g.group);
                if (change == 0)
                    continue;
                if (change == 2) {
                    StoreOutcome checked = CheckGroup(m_state, i, g.group);
                    if (!checked) {
                        m_stop = std::move(checked);
                        return;
                    }
                }
                m_plan.append(PlannedGroup{GroupRef{i, g.group}, change, std::nullopt, false});
            }
        }
    }

    bool done() const {
        if (m_committed || m_failed)
            return true;
        for (const PlannedGroup& p : m_plan) {
            if (!p.taken)
                return false;
        }
        return true;
    }

    qint32 chartOf(const PlannedGroup& p) const {
        return m_state.gOptionRows.at(p.ref.rowIndex).ChartId;
    }

    // One transaction: the locked read, then either the writes and the commit,
    // or, when some group differs from what it was loaded with, a rollback and
    // the user's answers.
    void attempt() {
        m_link.ensureOpen();
        m_db.beginTransaction();
        OptionSnapshot known = readLocked();
        QVector<int> conflicting;
        QVector<Values> stored;
        for (int k = 0; k < m_plan.size(); ++k) {
            const PlannedGroup& p = m_plan[k];
            if (p.taken)
                continue;
            const Values now = readGroupValues(known, chartOf(p), p.ref.group);
            const OptionRow& row = m_state.gOptionRows.at(p.ref.rowIndex);
            const Values expected =
                p.overwriting ? *p.overwriting
                              : cellValues(row, limitGroup(p.ref.group), &OptionCell::Loaded);
            if (now != expected) {
                conflicting << k;
                stored << now;
            }
        }
        if (!conflicting.isEmpty()) {
            m_db.rollback();  // no lock held while the user decides
            ask(conflicting, stored);
            return;
        }
        write(known);
    }

    // Locks the monitor (saves of it queue up), then reads the option numbers
    // and the rows of the charts to write, locking them where the server can.
    OptionSnapshot readLocked() {
        const DbConnection::Dialect dialect = m_db.dialect();
        const QString rowLock =
            dialect == DbConnection::Dialect::PostgreSQL ? QStringLiteral(" FOR UPDATE OF CSMDAT")
            : dialect == DbConnection::Dialect::MySQL    ? QStringLiteral(" LOCK IN SHARE MODE")
                                                         : QString();
        QVector<qint32> charts;
        for (const PlannedGroup& p : m_plan) {
            if (!p.taken && !charts.contains(chartOf(p)))
                charts.append(chartOf(p));
        }
        const qint32 monId = m_link.monitorId();
        QStringList sql;
        if (locksRows(dialect))
            sql << QStringLiteral("SELECT MONID FROM CSMON WHERE MONID = ") +
                       QString::number(monId) + QStringLiteral(" FOR UPDATE");
        const int first = int(sql.size());
        const QStringList names = walkedOptionNames();
        sql << OptionSnapshot::numbersAndRowsSelects(monId, charts, names, rowLock);
        // Whether the database keeps a journal, asked in the same request.
        const int journalIndex = int(sql.size());
        if (const std::optional<QString> presence = ChangeJournal::presenceSelect(m_db))
            sql << *presence;
        OptionSnapshot known;
        runStatements(sql, [&](int index, OdbcStatement& row) {
            if (index == journalIndex) {
                m_state.gJournalKept = row.int32(0) > 0;
                m_journal.presenceRead(*m_state.gJournalKept);
            } else if (index >= first)
                known.take(index - first, row, names);
        });
        return known;
    }

    // Runs the statements as one batch, or one by one after a batch failed
    // (then a failure can name its value).
    void runStatements(const QStringList& sql,
                       const std::function<void(int, OdbcStatement&)>& onRow = {}) {
        if (!m_oneByOne) {
            m_db.executeBatch(sql, onRow);
            return;
        }
        for (int i = 0; i < sql.size(); ++i) {
            m_failedIndex = i;
            m_db.executeBatch({sql[i]}, [&](int, OdbcStatement& row) {
                if (onRow)
                    onRow(i, row);
            });
        }
    }

    void ask(const QVector<int>& conflicting, const QVector<Values>& stored) {
        std::optional<ConflictAnswer>
            standing;  // for this round only: a later change is asked again
        for (int n = 0; n < conflicting.size(); ++n) {
            PlannedGroup& p = m_plan[conflicting[n]];
            const OptionRow& row = m_state.gOptionRows.at(p.ref.rowIndex);
            const LimitGroup& g = limitGroup(p.ref.group);
            ConflictAnswer answer;
            if (standing) {
                answer = *standing;
            } else if (m_resolver) {
                answer = m_resolver->resolve(
                    GroupConflict{p.ref.rowIndex, p.ref.group, row.ChartName,
                                  cellValues(row, g, &OptionCell::Loaded), stored[n],
                                  cellValues(row, g, &OptionCell::Current)});
                if (answer.forTheRest)
                    standing = answer;
            }
            switch (answer.choice) {
                case ConflictAnswer::Overwrite:
                    p.overwriting = stored[n];
                    break;
                case ConflictAnswer::TakeStored:
                    p.taken = true;
                    m_state.gOptionRows.takeStored(p.ref, stored[n]);
                    break;
                case ConflictAnswer::Stop:
                    StoreOutcome stop = StoreOutcome::refusal(Msg::SaveStoppedOnConflict);
                    stop.arguments = QStringList{row.ChartName};
                    m_stop = stop;
                    m_plan.resize(conflicting[n]);
                    return;
            }
        }
    }

    // What each group writes, from the rows just read: the one place that
    // lists a save's values.
    QVector<GroupWrites> groupWrites(const OptionSnapshot& known) {
        QVector<GroupWrites> groups;
        for (const PlannedGroup& p : m_plan) {
            if (p.taken)
                continue;
            GroupWrites gw{p.ref, {}};
            const OptionRow& row = m_state.gOptionRows.at(p.ref.rowIndex);
            const LimitGroup& g = limitGroup(p.ref.group);
            auto before = [&](const QString& name) -> std::optional<QString> {
                const std::optional<FieldValue> tval = known.firstTval(row.ChartId, name);
                if (!tval || tval->isNull())
                    return std::nullopt;
                return tval->toText();
            };
            auto remove = [&](const QString& name) {
                gw.values.append(
                    ValueWrite{name, row.ChartId, before(name), std::nullopt, QString()});
            };
            auto store = [&](const char* name, const TaggedValue& value) {
                const QString option = QLatin1String(name);
                gw.values.append(ValueWrite{option, row.ChartId, before(option),
                                            m_link.formatter().US_Format(value),
                                            value.toDisplayText().trimmed()});
            };
            if (p.change == 1) {
                for (const QString& name : g.clearOrder)
                    remove(name);
            } else if (g.group == OptionGroup::Spec) {
                specWrites(row, g, known, store);
            } else {
                controlWrites(row, g, known, store, remove);
            }
            groups.append(gw);
        }
        return groups;
    }

    template <typename Store>
    static void specWrites(const OptionRow& r, const LimitGroup& g, const OptionSnapshot& known,
                           Store store) {
        const TaggedValue& lower = (r.*g.low()).Current;
        const TaggedValue& upper = (r.*g.high()).Current;
        const qint32 newType = lower.isEmpty() ? 3 : upper.isEmpty() ? 2 : 1;
        if (ReadSpecType(known.firstTval(r.ChartId, QLatin1String(g.typeOption))) != newType)
            store(g.typeOption, TaggedValue::number(newType));
        // An emptied limit stays in the database: the new type hides it.
        for (size_t k = 0; k < 3; ++k) {
            const TaggedValue& value = (r.*g.cells[k]).Current;
            if (k == 1 || !value.isEmpty())
                store(g.valueOptions[k], value);
        }
    }

    template <typename Store, typename Remove>
    static void controlWrites(const OptionRow& r, const LimitGroup& g, const OptionSnapshot& known,
                              Store store, Remove remove) {
        const TaggedValue& cl = (r.*g.middle()).Current;
        if (ReadLimitType(known.firstTval(r.ChartId, QLatin1String(g.typeOption))) != 2)
            store(g.typeOption, TaggedValue::number(2));
        if (cl.isEmpty()) {
            remove(QLatin1String(g.centreLineFlag));
            remove(QLatin1String(g.valueOptions[1]));
            store(g.valueOptions[0], (r.*g.low()).Current);
            store(g.valueOptions[2], (r.*g.high()).Current);
            return;
        }
        store(g.valueOptions[0], (r.*g.low()).Current);
        store(g.centreLineFlag, TaggedValue::number(1));
        store(g.valueOptions[1], cl);
        store(g.valueOptions[2], (r.*g.high()).Current);
    }

    // The counter, locked, when some name is new; none when CSOPRN has no row.
    std::optional<qint32> readCounter() {
        std::optional<qint32> maxNo;
        runStatements({QStringLiteral("SELECT * FROM CSOPRN") +
                       (locksRows(m_db.dialect()) ? QStringLiteral(" FOR UPDATE") : QString())},
                      [&](int, OdbcStatement& row) {
                          if (!maxNo)
                              maxNo = row.int32(0);
                      });
        return maxNo;
    }

    void write(OptionSnapshot& known) {
        QVector<GroupWrites> groups = groupWrites(known);
        std::optional<qint32> maxNo;
        for (int n = 0; n < groups.size() && !maxNo; ++n) {
            for (const ValueWrite& w : groups[n].values) {
                if (!w.after || known.optionId(w.option))
                    continue;
                maxNo = readCounter();
                if (!maxNo) {
                    // No number to give: the groups before this one are still written.
                    m_stop = StoreOutcome::refusal(Msg::CounterUnreadable);
                    groups.resize(n);
                    maxNo = 0;
                }
                break;
            }
        }
        QStringList sql;
        QVector<const ValueWrite*> owners;  // the value each statement stores
        qint32 counter = maxNo.value_or(0);
        for (const GroupWrites& gw : groups) {
            for (const ValueWrite& w : gw.values) {
                const QStringList statements =
                    valueStatements(m_link.monitorId(), w, known, counter);
                sql << statements;
                for (int i = 0; i < statements.size(); ++i)
                    owners << &w;
                // Its record, in the same transaction, where the database keeps a journal.
                if (const auto record = m_journal.statement(m_db, m_link.monitorId(), w)) {
                    sql << *record;
                    owners << &w;
                }
            }
        }
        // The monitor as it will be committed, read after the writes. Left out
        // when going one by one: a failing read must never stop the save.
        const int readIndex = int(sql.size());
        std::optional<ProfileRead> read;
        if (m_readAfter && !sql.isEmpty() && !m_oneByOne) {
            read.emplace(m_link.monitorId(), m_state.gProfId, true);
            sql << read->selects();
        }
        auto onRow = [&](int index, OdbcStatement& row) {
            if (index < readIndex || !read)
                return;
            try {
                read->take(index - readIndex, row);
            } catch (const DbError&) {
                read.reset();  // the caller's own load will report it
            }
        };
        try {
            if (m_oneByOne) {
                runStatements(sql, onRow);
                m_commitSent = true;
                m_db.commit();
            } else {
                m_db.executeAndCommit(sql, onRow, m_commitSent);
            }
        } catch (const DbError& error) {
            // The commit went out and no answer came, or the link broke under
            // it: its fate is unknown. A failure the server answered means it
            // stopped before committing.
            if (m_commitSent && error.isUnanswered())
                throw;
            if (m_commitSent && !m_db.stillAnswers())
                throw DbError::unanswered(error.description());
            m_commitSent = false;
            m_db.rollback();
            if (!m_oneByOne) {
                m_oneByOne = true;  // again, statement by statement, to tell which value failed
                return;
            }
            const ValueWrite* owner = owners.value(m_failedIndex);
            m_failure = owner ? valueFailure(*owner, error.description())
                              : StoreOutcome::driverFailure(error.description());
            m_failed = true;
            return;
        }
        m_committed = true;
        for (const GroupWrites& gw : groups)
            m_written.append(gw.ref);
        // Another profile since the load: the caller's own load finds its charts.
        if (read && read->complete())
            m_readTable = read->takeTable();
    }

    StoreOutcome finished(StoreOutcome outcome) {
        if (m_failed)
            outcome = m_failure;
        outcome.writtenGroups = m_written;
        if (outcome.ok())
            return outcome;
        // The characteristics wholly written: rows with a written group before
        // the first row still holding a change that was not written.
        const OptionTable& table = m_state.gOptionRows;
        auto pending = [&](int i) {
            for (const LimitGroup& g : limitGroups()) {
                if (table.groupChange(i, g.group) != 0 && !m_written.contains(GroupRef{i, g.group}))
                    return true;
            }
            return false;
        };
        int stopRow = 0;
        while (stopRow < table.size() && !pending(stopRow))
            ++stopRow;
        QVector<int> rows;
        for (const GroupRef& ref : m_written) {
            if (ref.rowIndex < stopRow && !rows.contains(ref.rowIndex))
                rows << ref.rowIndex;
        }
        outcome.savedCharacteristics = int(rows.size());
        return outcome;
    }

    SharedState& m_state;
    MonitorLink m_link;
    DbConnection& m_db = m_link.db;
    ConflictResolver* m_resolver;
    QVector<PlannedGroup> m_plan;
    std::optional<StoreOutcome> m_stop;  // a refused check, a missing counter, the user's stop
    QVector<GroupRef> m_written;
    bool m_committed = false;
    bool m_commitSent = false;
    bool m_oneByOne = false;
    bool m_failed = false;
    StoreOutcome m_failure;
    ChangeJournal m_journal;
    std::optional<OptionTable>* m_readAfter;
    std::optional<OptionTable> m_readTable;  // the monitor read before the commit
    int m_failedIndex = 0;                   // of the statement that failed, one by one
};

}  // namespace

StoreOutcome SaveMonitorOptions(SharedState& s, ConflictResolver* resolver, const QString& reason,
                                std::optional<OptionTable>* readAfter) {
    // After a commit that went unanswered, the walk decides on what the
    // database holds, not on what the last load saw.
    if (s.gRereadBeforeSave) {
        const StoreOutcome reread = RereadLoadedValues(s);
        if (!reread)
            return reread;
    }
    if (readAfter)
        readAfter->reset();
    StoreOutcome outcome = Walk(s, resolver, reason, readAfter).run();
    if (outcome.commitUnanswered)
        s.gRereadBeforeSave = true;
    return outcome;
}

StoreOutcome RereadAfterSave(SharedState& s, std::optional<OptionTable>& readBySave) {
    if (!readBySave)
        return LoadMonitorOptions(s);
    s.gOptionRows = std::move(*readBySave);
    readBySave.reset();
    s.gRereadBeforeSave = false;
    return StoreOutcome::success();
}

}  // namespace tolva
