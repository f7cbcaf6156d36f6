#include "OptionReader.h"

#include <optional>

#include "DbConnection.h"
#include "core/EditorPort.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/UiPort.h"

namespace tolva {

void EnsureStoreConnection(DbConnection& db) {
    if (!db.isOpen())
        db.open(appState().gConnStr);
}

qint32 CurrentMonitorId() {
    const SharedState& s = appState();
    if (s.gMonitorIndex < 0 || s.gMonitorIndex >= s.gMonitors.size())
        throw DbError(QStringLiteral("Aucun moniteur choisi"));
    return s.currentMonitor().MonId;
}

namespace {

// TVAL of the first row for the current monitor, the chart and the option name;
// no value when there is no row. The field itself may be null.
std::optional<FieldValue> readFirstTval(DbConnection& db, const QString& optionName,
                                        qint32 chartId) {
    EnsureStoreConnection(db);
    const QString sql = QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = ") +
                        QString::number(CurrentMonitorId()) + QStringLiteral(" AND CHRTID = ") +
                        QString::number(chartId) +
                        QStringLiteral(" AND OPTID IN (SELECT OPTID FROM CSOPT WHERE NAME = '") +
                        optionName + QStringLiteral("')");
    DbResult result = db.execute(sql);
    if (result.atEnd())
        return std::nullopt;
    FieldValue value = result.field(0);
    result.close();
    return value;
}

// "2" and "1" exactly; anything else (no row, null, other text) is 0.
qint32 limitTypeOf(const std::optional<FieldValue>& tval) {
    if (!tval || tval->isNull())
        return 0;
    const QString text = tval->toText();
    if (text == QLatin1String("2"))
        return 2;
    if (text == QLatin1String("1"))
        return 1;
    return 0;
}

// Empty when either side is not a number: a tolerance or nominal held as text
// cannot take part in the sum, and the chart still opens with the stored texts.
TaggedValue difference(const TaggedValue& a, const TaggedValue& b, double sign) {
    if (!a.isNumber() || !b.isNumber())
        return TaggedValue();
    return TaggedValue::number(a.toNumber() + sign * b.toNumber());
}

void readInto(OptionCell& cell, DbConnection& db, const char* optionName, qint32 chartId) {
    cell.setBoth(ReadOptionValue(db, QLatin1String(optionName), chartId));
}

void readControlGroup(DbConnection& db, qint32 chartId, qint32 type, OptionCell& ucl,
                      OptionCell& lcl, OptionCell& cl, const char* uclName, const char* lclName,
                      const char* clName) {
    if (type == 2) {
        readInto(ucl, db, uclName, chartId);
        readInto(lcl, db, lclName, chartId);
        readInto(cl, db, clName, chartId);
    } else {
        ucl.setBoth(TaggedValue());
        lcl.setBoth(TaggedValue());
        cl.setBoth(TaggedValue());
    }
}

void readSpecGroup(DbConnection& db, OptionRow& row) {
    const qint32 c = row.ChartId;
    switch (ReadSpecType(db, c)) {
        case 0: {
            const TaggedValue nominal = ReadOptionValue(db, QStringLiteral("ProcCapNominal"), c);
            // A nominal of 0 is common (deviation from nominal) and is a value.
            if (nominal.isEmpty() || (nominal.isText() && nominal.toTextValue().isEmpty()))
                break;  // all three stay empty
            row.SpecNominal.setBoth(nominal);
            const TaggedValue delta = ReadOptionValue(db, QStringLiteral("ProcCapDelta"), c);
            if (delta.equalsEmptyValue())
                break;
            row.SpecLower.setBoth(difference(nominal, delta, -1.0));
            row.SpecUpper.setBoth(difference(nominal, delta, +1.0));
            break;
        }
        case 1:
            readInto(row.SpecLower, db, "ProcCapLower", c);
            readInto(row.SpecNominal, db, "ProcCapNominal", c);
            readInto(row.SpecUpper, db, "ProcCapUpper", c);
            break;
        case 2:
            row.SpecUpper.setBoth(TaggedValue());
            readInto(row.SpecNominal, db, "ProcCapNominal", c);
            readInto(row.SpecLower, db, "ProcCapLower", c);
            break;
        case 3: {
            row.SpecLower.setBoth(TaggedValue());
            TaggedValue nominal = ReadOptionValue(db, QStringLiteral("ProcCapNominal"), c);
            if (nominal.equalsEmptyValue())
                nominal = TaggedValue::number(0.0);
            row.SpecNominal.setBoth(nominal);
            readInto(row.SpecUpper, db, "ProcCapUpper", c);
            break;
        }
        default:  // null type: the three cells stay empty
            break;
    }
}

// Steps 2 to 7 of the load; throws DbError on any failure, false when the
// monitor or its profile has no chart.
bool readMonitor(DbConnection& db) {
    SharedState& s = appState();
    const qint32 monId = CurrentMonitorId();
    db.open(s.gConnStr);

    {
        DbResult profile = db.execute(QStringLiteral("SELECT PROFID FROM CSMON WHERE MONID = ") +
                                      QString::number(monId));
        if (profile.atEnd())
            return false;
        s.gProfId = profile.field(0).toInt32();
    }

    {
        DbResult charts = db.execute(
            QStringLiteral(
                "SELECT NAME, CHRTID FROM CSCHRT WHERE CHRTID IN (SELECT CHRTID FROM CSCINP "
                "WHERE PROFID = ") +
            QString::number(s.gProfId) + QStringLiteral(")"));
        if (charts.atEnd())
            return false;
        s.gOptionRows = QVector<OptionRow>(1);
        int n = 0;
        while (!charts.atEnd()) {
            s.gOptionRows.resize(n + 1);
            const FieldValue name = charts.field(0);
            if (name.isNull())
                throw DbError(
                    QStringLiteral("Nom de carte NULL (CHRTID %1)").arg(charts.field(1).toText()));
            OptionRow& row = s.gOptionRows[n];
            row.ChartName = name.toText().trimmed();
            row.ChartId = charts.field(1).toInt32();
            ++n;
            charts.moveNext();
        }
    }

    for (OptionRow& row : s.gOptionRows) {
        const qint32 c = row.ChartId;
        readControlGroup(db, c, ReadRLimitType(db, c), row.RUcl, row.RLcl, row.RCl,
                         "RChartUCLConstant", "RChartLCLConstant", "RChartCenterLineValue");
        readControlGroup(db, c, ReadXLimitType(db, c), row.XUcl, row.XLcl, row.XCl,
                         "XChartUCLConstant", "XChartLCLConstant", "XChartCenterLineValue");
        readSpecGroup(db, row);
    }
    return true;
}

}  // namespace

qint32 ReadXLimitType(DbConnection& db, qint32 chartId) {
    try {
        return limitTypeOf(readFirstTval(db, QStringLiteral("XTypeOfLCLandUCL"), chartId));
    } catch (const DbError&) {
        return -1;  // the chart's Individual/Average limits are then shown empty
    }
}

qint32 ReadRLimitType(DbConnection& db, qint32 chartId) {
    return limitTypeOf(readFirstTval(db, QStringLiteral("RTypeOfLCLandUCL"), chartId));
}

qint32 ReadSpecType(DbConnection& db, qint32 chartId) {
    const auto tval = readFirstTval(db, QStringLiteral("ProcCapSpecType"), chartId);
    if (!tval)
        return 0;
    if (tval->isNull())
        return -1;
    const QString text = tval->toText();
    for (qint32 type = 0; type <= 3; ++type) {
        if (text == QString::number(type))
            return type;
    }
    return 0;
}

TaggedValue ReadOptionValue(DbConnection& db, const QString& optionName, qint32 chartId) {
    const auto tval = readFirstTval(db, optionName, chartId);
    if (!tval || tval->isNull())
        return TaggedValue();
    const QString text = tval->toText();
    // The program stores numbers with "."; a value typed elsewhere may follow the
    // desktop's settings. Anything else stays text, so a save cannot replace it
    // with a part of it.
    if (const auto number = readStoredNumber(text))
        return TaggedValue::number(*number);
    return TaggedValue::text(text);
}

bool LoadMonitorOptions() {
    uiPort().setBusyPointer();
    uiPort().processPendingEvents();
    if (EditorPort* window = editorWindow())
        window->beginOptionLoad();

    DbConnection db;
    bool ok = false;
    try {
        ok = readMonitor(db);
    } catch (const DbError&) {
        ok = false;
    }
    uiPort().setNormalPointer();
    db.close();
    return ok;
}

}  // namespace tolva
