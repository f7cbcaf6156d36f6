#include "OptionWriter.h"

#include <limits>
#include <optional>

#include "ChangeJournal.h"
#include "DbConnection.h"
#include "OptionReader.h"
#include "OptionSnapshot.h"
#include "core/Catalog.h"
#include "core/SharedState.h"

namespace tolva {

namespace {

// How often a number is taken afresh when another editor raised CSOPRN between
// our read and our update.
constexpr int kAllocationAttempts = 5;

QString selectOptionId(const QString& optionName) {
    return QStringLiteral("SELECT OPTID FROM CSOPT WHERE NAME = '") + optionName +
           QStringLiteral("'");
}

// OPTID of an existing option name, or none.
std::optional<qint32> findOptionId(DbConnection& db, const QString& optionName,
                                   const OptionSnapshot* known) {
    if (known)
        return known->optionId(optionName);
    DbResult result = db.execute(selectOptionId(optionName));
    if (result.atEnd())
        return std::nullopt;
    const qint32 id = result.field(0).toInt32();
    result.close();
    return id;
}

// Takes the next number from CSOPRN and defines the option with it. The counter
// only moves when it still holds the value just read, so two editors saving at
// once never get the same number. None when CSOPRN has no row.
std::optional<qint32> allocateOptionId(DbConnection& db, const QString& optionName) {
    for (int attempt = 0; attempt < kAllocationAttempts; ++attempt) {
        qint32 id = 0;
        {
            DbResult counter = db.execute(QStringLiteral("SELECT * FROM CSOPRN"));
            if (counter.atEnd())
                return std::nullopt;
            const qint32 maxNo = counter.field(0).toInt32();
            if (maxNo == std::numeric_limits<qint32>::max())
                throw DbError(catalogText(Msg::OptionCounterAtMaximum).arg(maxNo));
            id = maxNo + 1;
            counter.close();
        }
        const DbResult update =
            db.execute(QStringLiteral("UPDATE CSOPRN SET MAXNO = ") + QString::number(id) +
                       QStringLiteral(" WHERE MAXNO = ") + QString::number(id - 1));
        if (update.numRowsAffected() == 0)
            continue;  // someone else took this number: read the counter again
        db.execute(QStringLiteral("INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (") +
                   QString::number(id) + QStringLiteral(", '") + optionName +
                   QStringLiteral("', 'TEXT')"));
        return id;
    }
    throw DbError(catalogText(Msg::OptionCounterKeptChanging));
}

}  // namespace

StoreOutcome WriteOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId,
                              const TaggedValue& value, OptionSnapshot* known,
                              ChangeJournal* journal) {
    const QString t = value.toDisplayText().trimmed();
    try {
        link.ensureOpen();
        DbConnection& db = link.db;
        const QString m = QString::number(link.monitorId());
        const QString c = QString::number(chartId);

        std::optional<qint32> id = findOptionId(db, optionName, known);
        if (!id) {
            id = allocateOptionId(db, optionName);
            if (!id)
                return StoreOutcome::refusal(Msg::CounterUnreadable);
            if (known)
                known->optionCreated(optionName, *id);
        }
        const QString o = QString::number(*id);
        const QString f = link.formatter().US_Format(t);

        bool exists = false;
        std::optional<QString> before;  // the stored text, for the journal
        if (known) {
            exists = known->hasRow(chartId, *id);
            before = known->storedText(chartId, *id);
        } else {
            const DbResult current = db.execute(
                QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = ") + m +
                QStringLiteral(" AND CHRTID = ") + c + QStringLiteral(" AND OPTID = ") + o);
            exists = !current.atEnd();
            if (exists && !current.field(0).isNull())
                before = current.field(0).toText();
        }
        if (!exists)
            db.execute(QStringLiteral("INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (") +
                       m + QStringLiteral(", ") + c + QStringLiteral(", ") + o +
                       QStringLiteral(", '") + f + QStringLiteral("')"));
        else
            db.execute(QStringLiteral("UPDATE CSMDAT SET TVAL = '") + f +
                       QStringLiteral("' WHERE MONID = ") + m + QStringLiteral(" AND CHRTID = ") +
                       c + QStringLiteral(" AND OPTID = ") + o);
        if (journal)
            journal->record(db, link.monitorId(), chartId, optionName, {before, f});
        if (known)
            known->rowStored(chartId, *id, optionName, f);
        return StoreOutcome::success();
    } catch (const DbError& error) {
        StoreOutcome failure = StoreOutcome::failure(Msg::ValueSetError, error.description());
        failure.arguments = QStringList{optionName, t};
        return failure;
    }
}

StoreOutcome DeleteOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId,
                               OptionSnapshot* known, ChangeJournal* journal) {
    try {
        link.ensureOpen();
        DbConnection& db = link.db;
        const qint32 monId = link.monitorId();
        const std::optional<qint32> id = findOptionId(db, optionName, known);
        if (!id)
            return StoreOutcome::success();  // an option never defined has no value to delete
        const QString where = QStringLiteral(" WHERE MONID = ") + QString::number(monId) +
                              QStringLiteral(" AND CHRTID = ") + QString::number(chartId) +
                              QStringLiteral(" AND OPTID = ") + QString::number(*id);
        std::optional<QString> before;  // read only when a journal will record it
        if (journal && journal->active(db)) {
            if (known) {
                before = known->storedText(chartId, *id);
            } else {
                const DbResult current =
                    db.execute(QStringLiteral("SELECT TVAL FROM CSMDAT") + where);
                if (!current.atEnd() && !current.field(0).isNull())
                    before = current.field(0).toText();
            }
        }
        db.execute(QStringLiteral("DELETE FROM CSMDAT") + where);
        if (journal)
            journal->record(db, monId, chartId, optionName, {before, std::nullopt});
        if (known)
            known->rowDeleted(chartId, *id, optionName);
        return StoreOutcome::success();
    } catch (const DbError& error) {
        StoreOutcome failure = StoreOutcome::failure(Msg::ValueDeleteError, error.description());
        failure.arguments = QStringList{optionName};
        return failure;
    }
}

}  // namespace tolva
