#include "OptionWriter.h"

#include <limits>

#include "DbConnection.h"
#include "OptionSnapshot.h"
#include "core/Catalog.h"

namespace tolva {

QStringList valueStatements(qint32 monId, const ValueWrite& write, OptionSnapshot& known,
                            qint32& maxNo) {
    QStringList sql;
    const QString m = QString::number(monId);
    const QString c = QString::number(write.chartId);
    std::optional<qint32> id = known.optionId(write.option);
    if (!write.after) {
        if (!id)
            return sql;  // an option never defined has no value to delete
        sql << QStringLiteral("DELETE FROM CSMDAT WHERE MONID = ") + m +
                   QStringLiteral(" AND CHRTID = ") + c + QStringLiteral(" AND OPTID = ") +
                   QString::number(*id);
        known.rowDeleted(write.chartId, *id, write.option);
        return sql;
    }
    if (!id) {
        if (maxNo == std::numeric_limits<qint32>::max())
            throw DbError(catalogText(Msg::OptionCounterAtMaximum).arg(maxNo));
        id = ++maxNo;
        // The counter moves before the definition, as a number is always taken.
        sql << QStringLiteral("UPDATE CSOPRN SET MAXNO = ") + QString::number(*id)
            << QStringLiteral("INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (") +
                   QString::number(*id) + QStringLiteral(", '") + write.option +
                   QStringLiteral("', 'TEXT')");
        known.optionCreated(write.option, *id);
    }
    const QString o = QString::number(*id);
    const QString& f = *write.after;
    if (!known.hasRow(write.chartId, *id))
        sql << QStringLiteral("INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (") + m +
                   QStringLiteral(", ") + c + QStringLiteral(", ") + o + QStringLiteral(", '") + f +
                   QStringLiteral("')");
    else
        sql << QStringLiteral("UPDATE CSMDAT SET TVAL = '") + f +
                   QStringLiteral("' WHERE MONID = ") + m + QStringLiteral(" AND CHRTID = ") + c +
                   QStringLiteral(" AND OPTID = ") + o;
    known.rowStored(write.chartId, *id, write.option, f);
    return sql;
}

StoreOutcome valueFailure(const ValueWrite& write, const QString& driverText) {
    StoreOutcome failure = StoreOutcome::failure(
        write.after ? int(Msg::ValueSetError) : int(Msg::ValueDeleteError), driverText);
    failure.arguments =
        write.after ? QStringList{write.option, write.typed} : QStringList{write.option};
    return failure;
}

}  // namespace tolva
