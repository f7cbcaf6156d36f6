#include "OptionReader.h"

#include <algorithm>
#include <optional>

#include "Catalog.h"
#include "DbConnection.h"
#include "OdbcStatement.h"
#include "OptionSnapshot.h"
#include "core/NumberText.h"
#include "core/SharedState.h"

namespace tolva {

MonitorLink::MonitorLink(SharedState& s) : m_state(s), m_connectionString(s.gConnStr) {
    if (s.gMonitorIndex >= 0 && s.gMonitorIndex < s.gMonitors.size())
        m_monId = s.currentMonitor().MonId;
}

void MonitorLink::ensureOpen() {
    if (!db.isOpen())
        db.open(m_connectionString);
}

qint32 MonitorLink::monitorId() const {
    if (!m_monId)
        throw DbError(catalogText(Msg::NoMonitorChosen));
    return *m_monId;
}

namespace {

// TVAL of the first row for the current monitor, the chart and the option name;
// no value when there is no row. The field itself may be null.
std::optional<FieldValue> readFirstTval(MonitorLink& link, const QString& optionName,
                                        qint32 chartId) {
    link.ensureOpen();
    const QString sql = QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = ") +
                        QString::number(link.monitorId()) + QStringLiteral(" AND CHRTID = ") +
                        QString::number(chartId) +
                        QStringLiteral(" AND OPTID IN (SELECT OPTID FROM CSOPT WHERE NAME = '") +
                        optionName + QStringLiteral("')");
    DbResult result = link.db.execute(sql);
    if (result.atEnd())
        return std::nullopt;
    FieldValue value = result.field(0);
    result.close();
    return value;
}

// Empty when either side is not a number: a tolerance or nominal held as text
// cannot take part in the sum, and the chart still opens with the stored texts.
TaggedValue difference(const TaggedValue& a, const TaggedValue& b, double sign) {
    if (!a.isNumber() || !b.isNumber())
        return TaggedValue();
    return TaggedValue::number(a.toNumber() + sign * b.toNumber());
}

// Where a load takes each chart's types and values from.
class OptionSource {
public:
    virtual ~OptionSource() = default;
    virtual qint32 xLimitType(qint32 chartId) = 0;
    virtual qint32 rLimitType(qint32 chartId) = 0;
    virtual qint32 specType(qint32 chartId) = 0;
    virtual TaggedValue value(const QString& optionName, qint32 chartId) = 0;
};

// A statement per value, in the order the readers run.
class ValueByValueSource final : public OptionSource {
public:
    explicit ValueByValueSource(MonitorLink& link) : m_link(link) {}
    qint32 xLimitType(qint32 c) override { return ReadXLimitType(m_link, c); }
    qint32 rLimitType(qint32 c) override { return ReadRLimitType(m_link, c); }
    qint32 specType(qint32 c) override { return ReadSpecType(m_link, c); }
    TaggedValue value(const QString& name, qint32 c) override {
        return ReadOptionValue(m_link, name, c);
    }

private:
    MonitorLink& m_link;
};

// The rows read beforehand, decoded by the same rules.
class SnapshotSource final : public OptionSource {
public:
    explicit SnapshotSource(const OptionSnapshot& rows) : m_rows(rows) {}
    qint32 xLimitType(qint32 c) override {
        return ReadLimitType(m_rows.firstTval(c, QStringLiteral("XTypeOfLCLandUCL")));
    }
    qint32 rLimitType(qint32 c) override {
        return ReadLimitType(m_rows.firstTval(c, QStringLiteral("RTypeOfLCLandUCL")));
    }
    qint32 specType(qint32 c) override {
        return ReadSpecType(m_rows.firstTval(c, QStringLiteral("ProcCapSpecType")));
    }
    TaggedValue value(const QString& name, qint32 c) override {
        return ReadOptionValue(m_rows.firstTval(c, name));
    }

private:
    const OptionSnapshot& m_rows;
};

void readInto(OptionCell& cell, OptionSource& src, const char* optionName, qint32 chartId) {
    cell.setBoth(src.value(QLatin1String(optionName), chartId));
}

void readControlGroup(OptionSource& src, qint32 chartId, qint32 type, OptionCell& ucl,
                      OptionCell& lcl, OptionCell& cl, const char* uclName, const char* lclName,
                      const char* clName) {
    if (type == 2) {
        readInto(ucl, src, uclName, chartId);
        readInto(lcl, src, lclName, chartId);
        readInto(cl, src, clName, chartId);
    } else {
        ucl.setBoth(TaggedValue());
        lcl.setBoth(TaggedValue());
        cl.setBoth(TaggedValue());
    }
}

void readSpecGroup(OptionSource& src, OptionRow& row) {
    const qint32 c = row.ChartId;
    switch (src.specType(c)) {
        case 0: {
            const TaggedValue nominal = src.value(QStringLiteral("ProcCapNominal"), c);
            // A nominal of 0 is common (deviation from nominal) and is a value.
            if (nominal.isEmpty() || (nominal.isText() && nominal.toTextValue().isEmpty()))
                break;  // all three stay empty
            row.SpecNominal.setBoth(nominal);
            const TaggedValue delta = src.value(QStringLiteral("ProcCapDelta"), c);
            if (delta.equalsEmptyValue())
                break;
            row.SpecLower.setBoth(difference(nominal, delta, -1.0));
            row.SpecUpper.setBoth(difference(nominal, delta, +1.0));
            break;
        }
        case 1:
            readInto(row.SpecLower, src, "ProcCapLower", c);
            readInto(row.SpecNominal, src, "ProcCapNominal", c);
            readInto(row.SpecUpper, src, "ProcCapUpper", c);
            break;
        case 2:
            row.SpecUpper.setBoth(TaggedValue());
            readInto(row.SpecNominal, src, "ProcCapNominal", c);
            readInto(row.SpecLower, src, "ProcCapLower", c);
            break;
        case 3: {
            row.SpecLower.setBoth(TaggedValue());
            TaggedValue nominal = src.value(QStringLiteral("ProcCapNominal"), c);
            if (nominal.equalsEmptyValue())
                nominal = TaggedValue::number(0.0);
            row.SpecNominal.setBoth(nominal);
            readInto(row.SpecUpper, src, "ProcCapUpper", c);
            break;
        }
        default:  // null type: the three cells stay empty
            break;
    }
}

// The whole load; throws DbError on any failure, false when the monitor or its
// profile has no chart.
bool readMonitor(SharedState& s, MonitorLink& link, ReadPath path) {
    const qint32 monId = link.monitorId();
    DbConnection& db = link.db;
    db.open(link.connectionString());

    // Both read straight from the driver: a statement through QSqlQuery costs
    // psqlODBC a catalog query for each table it names.
    std::optional<qint32> profId;
    db.forEachRow(
        QStringLiteral("SELECT PROFID FROM CSMON WHERE MONID = ") + QString::number(monId),
        [&](OdbcStatement& row) {
            if (!profId)
                profId = row.int32(0);
        });
    if (!profId)
        return false;
    s.gProfId = *profId;

    QVector<OptionRow> charts;
    db.forEachRow(
        QStringLiteral("SELECT NAME, CHRTID FROM CSCHRT WHERE CHRTID IN (SELECT CHRTID FROM CSCINP "
                       "WHERE PROFID = ") +
            QString::number(s.gProfId) + QStringLiteral(")"),
        [&](OdbcStatement& row) {
            const std::optional<QString> name = row.text(0);
            const qint32 chartId = row.int32(1);
            if (!name)
                throw DbError(catalogText(Msg::NullChartName).arg(chartId));
            OptionRow& option = charts.emplace_back();
            option.ChartName = name->trimmed();
            option.ChartId = chartId;
        });
    if (charts.isEmpty())
        return false;
    s.gOptionRows = std::move(charts);

    OptionSnapshot rows;
    ValueByValueSource valueByValue(link);
    SnapshotSource batched(rows);
    OptionSource* src = &valueByValue;
    if (path == ReadPath::Batched) {
        rows.readProfileRows(db, monId, s.gProfId, loadedOptionNames());
        src = &batched;
    }
    for (OptionRow& row : s.gOptionRows) {
        const qint32 c = row.ChartId;
        readControlGroup(*src, c, src->rLimitType(c), row.RUcl, row.RLcl, row.RCl,
                         "RChartUCLConstant", "RChartLCLConstant", "RChartCenterLineValue");
        readControlGroup(*src, c, src->xLimitType(c), row.XUcl, row.XLcl, row.XCl,
                         "XChartUCLConstant", "XChartLCLConstant", "XChartCenterLineValue");
        readSpecGroup(*src, row);
    }
    return true;
}

}  // namespace

const QStringList& loadedOptionNames() {
    static const QStringList names = {
        QStringLiteral("RTypeOfLCLandUCL"),  QStringLiteral("RChartUCLConstant"),
        QStringLiteral("RChartLCLConstant"), QStringLiteral("RChartCenterLineValue"),
        QStringLiteral("XTypeOfLCLandUCL"),  QStringLiteral("XChartUCLConstant"),
        QStringLiteral("XChartLCLConstant"), QStringLiteral("XChartCenterLineValue"),
        QStringLiteral("ProcCapSpecType"),   QStringLiteral("ProcCapNominal"),
        QStringLiteral("ProcCapDelta"),      QStringLiteral("ProcCapLower"),
        QStringLiteral("ProcCapUpper")};
    return names;
}

qint32 ReadXLimitType(MonitorLink& link, qint32 chartId) {
    try {
        return ReadLimitType(readFirstTval(link, QStringLiteral("XTypeOfLCLandUCL"), chartId));
    } catch (const DbError&) {
        return -1;  // the chart's Individual/Average limits are then shown empty
    }
}

qint32 ReadRLimitType(MonitorLink& link, qint32 chartId) {
    return ReadLimitType(readFirstTval(link, QStringLiteral("RTypeOfLCLandUCL"), chartId));
}

qint32 ReadSpecType(MonitorLink& link, qint32 chartId) {
    return ReadSpecType(readFirstTval(link, QStringLiteral("ProcCapSpecType"), chartId));
}

TaggedValue ReadOptionValue(MonitorLink& link, const QString& optionName, qint32 chartId) {
    return ReadOptionValue(readFirstTval(link, optionName, chartId));
}

// "2" and "1" exactly; anything else (no row, null, other text) is 0.
qint32 ReadLimitType(const std::optional<FieldValue>& tval) {
    if (!tval || tval->isNull())
        return 0;
    const QString text = tval->toText();
    if (text == QLatin1String("2"))
        return 2;
    if (text == QLatin1String("1"))
        return 1;
    return 0;
}

qint32 ReadSpecType(const std::optional<FieldValue>& tval) {
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

TaggedValue ReadOptionValue(const std::optional<FieldValue>& tval) {
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

StoreOutcome LoadMonitorOptions(SharedState& s, ReadPath path) {
    // The table in use stays aside while the new one is built and comes back
    // when the read fails, so a failed re-read never leaves the grid over a
    // half-filled or empty table.
    QVector<OptionRow> inUse;
    inUse.swap(s.gOptionRows);
    const qint32 profileInUse = s.gProfId;

    MonitorLink link(s);
    StoreOutcome outcome;
    try {
        if (!readMonitor(s, link, path))
            outcome = StoreOutcome::refusal(Msg::NoTolvaOptions);
    } catch (const DbError& error) {
        outcome = StoreOutcome::driverFailure(error.description());
    }
    link.db.close();
    if (!outcome) {
        s.gOptionRows.swap(inUse);
        s.gProfId = profileInUse;
    } else {
        s.gRereadBeforeSave = false;
    }
    return outcome;
}

StoreOutcome RereadLoadedValues(SharedState& s) {
    static constexpr OptionCell OptionRow::*kCells[] = {
        &OptionRow::SpecUpper, &OptionRow::SpecLower, &OptionRow::SpecNominal,
        &OptionRow::XUcl,      &OptionRow::XLcl,      &OptionRow::XCl,
        &OptionRow::RUcl,      &OptionRow::RLcl,      &OptionRow::RCl};
    const QVector<OptionRow> typed = s.gOptionRows;
    StoreOutcome outcome = LoadMonitorOptions(s);
    if (!outcome)
        return outcome;
    for (OptionRow& row : s.gOptionRows) {
        const auto before = std::find_if(typed.begin(), typed.end(), [&](const OptionRow& r) {
            return r.ChartId == row.ChartId;
        });
        if (before == typed.end())
            continue;
        for (OptionCell OptionRow::*cell : kCells) {
            if (((*before).*cell).isChanged())
                (row.*cell).Current = ((*before).*cell).Current;
        }
    }
    return outcome;
}

}  // namespace tolva
