#include "OptionWriter.h"

#include <limits>
#include <optional>

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
                              const TaggedValue& value, OptionSnapshot& known) {
    const QString t = value.toDisplayText().trimmed();
    try {
        link.ensureOpen();
        DbConnection& db = link.db;
        const QString m = QString::number(link.monitorId());
        const QString c = QString::number(chartId);

        std::optional<qint32> id = known.optionId(optionName);
        if (!id) {
            id = allocateOptionId(db, optionName);
            if (!id)
                return StoreOutcome::refusal(Msg::CounterUnreadable);
            known.optionCreated(optionName, *id);
        }
        const QString o = QString::number(*id);
        const QString f = link.formatter().US_Format(value);

        if (!known.hasRow(chartId, *id))
            db.execute(QStringLiteral("INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (") +
                       m + QStringLiteral(", ") + c + QStringLiteral(", ") + o +
                       QStringLiteral(", '") + f + QStringLiteral("')"));
        else
            db.execute(QStringLiteral("UPDATE CSMDAT SET TVAL = '") + f +
                       QStringLiteral("' WHERE MONID = ") + m + QStringLiteral(" AND CHRTID = ") +
                       c + QStringLiteral(" AND OPTID = ") + o);
        known.rowStored(chartId, *id, optionName, f);
        return StoreOutcome::success();
    } catch (const DbError& error) {
        StoreOutcome failure = StoreOutcome::failure(Msg::ValueSetError, error.description());
        failure.arguments = QStringList{optionName, t};
        return failure;
    }
}

StoreOutcome DeleteOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId,
                               OptionSnapshot& known) {
    try {
        link.ensureOpen();
        DbConnection& db = link.db;
        const qint32 monId = link.monitorId();
        const std::optional<qint32> id = known.optionId(optionName);
        if (!id)
            return StoreOutcome::success();  // an option never defined has no value to delete
        db.execute(QStringLiteral("DELETE FROM CSMDAT WHERE MONID = ") + QString::number(monId) +
                   QStringLiteral(" AND CHRTID = ") + QString::number(chartId) +
                   QStringLiteral(" AND OPTID = ") + QString::number(*id));
        known.rowDeleted(chartId, *id, optionName);
        return StoreOutcome::success();
    } catch (const DbError& error) {
        StoreOutcome failure = StoreOutcome::failure(Msg::ValueDeleteError, error.description());
        failure.arguments = QStringList{optionName};
        return failure;
    }
}

}  // namespace tolva
