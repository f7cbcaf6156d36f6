#include "OptionReader.h"

#include <algorithm>
#include <optional>

#include "Catalog.h"
#include "ChangeJournal.h"
#include "DbConnection.h"
#include "LimitGroups.h"
#include "OdbcStatement.h"
#include "OptionSnapshot.h"
#include "core/NumberText.h"
#include "core/SharedState.h"

namespace tolva {

MonitorLink::MonitorLink(SharedState& s) : m_state(s), m_connectionString(s.gConnStr) {
    if (s.hasCurrentMonitor())
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

// Empty when either side is not a number: a tolerance or nominal held as text
// cannot take part in the sum, and the chart still opens with the stored texts.
TaggedValue difference(const TaggedValue& a, const TaggedValue& b, double sign) {
    if (!a.isNumber() || !b.isNumber())
        return TaggedValue();
    return TaggedValue::number(a.toNumber() + sign * b.toNumber());
}

// The rows read beforehand, decoded by the readers' rules.
class OptionSource {
public:
    explicit OptionSource(const OptionSnapshot& rows) : m_rows(rows) {}
    qint32 limitType(const LimitGroup& g, qint32 c) const {
        return ReadLimitType(m_rows.firstTval(c, QLatin1String(g.typeOption)));
    }
    qint32 specType(qint32 c) const {
        return ReadSpecType(
            m_rows.firstTval(c, QLatin1String(limitGroup(OptionGroup::Spec).typeOption)));
    }
    TaggedValue value(const QString& name, qint32 c) const {
        return ReadOptionValue(m_rows.firstTval(c, name));
    }

private:
    const OptionSnapshot& m_rows;
};

void readInto(OptionCell& cell, const OptionSource& src, const char* optionName, qint32 chartId) {
    cell.setBoth(src.value(QLatin1String(optionName), chartId));
}

// Constant limits (type 2) are shown; any other type leaves the three cells empty.
void readControlGroup(const OptionSource& src, OptionRow& row, const LimitGroup& g) {
    const qint32 c = row.ChartId;
    const bool constant = src.limitType(g, c) == 2;
    // Upper, lower, then centre line, as the cells were always filled.
    for (int k : {2, 0, 1}) {
        OptionCell& cell = row.*g.cells[size_t(k)];
        if (constant)
            readInto(cell, src, g.valueOptions[size_t(k)], c);
        else
            cell.setBoth(TaggedValue());
    }
}

void readSpecGroup(const OptionSource& src, OptionRow& row) {
    const qint32 c = row.ChartId;
    switch (src.specType(c)) {
        case 0: {
            const TaggedValue nominal = src.value(QStringLiteral("ProcCapNominal"), c);
            // A nominal of 0 is common (deviation from nominal) and is a value.
            if (nominal.isEmpty() || (nominal.isText() && nominal.toTextValue().isEmpty()))
                break;  // all three stay empty
            row.SpecNominal.setBoth(nominal);
            const TaggedValue delta = src.value(QLatin1String(kToleranceOption), c);
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

// A shown value whose option the database holds more than once for the chart
// (a save updates every one of those rows): the cell says so.
void noteSeveralStoredTexts(OptionTable& table, const OptionSnapshot& rows) {
    for (int i = 0; i < table.size(); ++i) {
        const OptionRow& row = table.at(i);
        for (const LimitGroup& g : limitGroups()) {
            for (size_t k = 0; k < 3; ++k) {
                if ((row.*g.cells[k]).Loaded.isEmpty())
                    continue;
                const QStringList texts =
                    rows.storedTexts(row.ChartId, QLatin1String(g.valueOptions[k]));
                if (!texts.isEmpty())
                    table.setStoredTexts(i, g.cells[k], texts);
            }
        }
    }
}

QString profileSelect(qint32 monId) {
    return QStringLiteral("SELECT PROFID FROM CSMON WHERE MONID = ") + QString::number(monId);
}

// The whole load; throws DbError on any failure, false when the monitor or its
// profile has no chart.
bool readMonitor(SharedState& s, MonitorLink& link) {
    const qint32 monId = link.monitorId();
    DbConnection& db = link.db;
    db.open(link.connectionString());

    // Read straight from the driver: a statement through QSqlQuery costs
    // psqlODBC a catalog query for each table it names.
    std::optional<qint32> profId;
    db.forEachRow(profileSelect(monId), [&](OdbcStatement& row) {
        if (!profId)
            profId = row.int32(0);
    });
    if (!profId)
        return false;
    s.gProfId = *profId;  // kept even when the profile has no chart

    // Whether the database keeps the journal comes along, for the save question.
    ProfileRead read(monId, *profId);
    QStringList selects = read.selects();
    const int journalIndex = int(selects.size());
    if (const std::optional<QString> presence = ChangeJournal::presenceSelect(db))
        selects << *presence;
    std::optional<bool> journal;
    db.executeBatch(selects, [&](int index, OdbcStatement& row) {
        if (index == journalIndex)
            journal = row.int32(0) > 0;
        else
            read.take(index, row);
    });
    if (!read.complete())
        return false;
    s.gOptionRows = read.takeTable();
    s.gJournalKept = journal;
    return true;
}

}  // namespace

std::array<TaggedValue, 3> readGroupValues(const OptionSnapshot& rows, qint32 chartId,
                                           OptionGroup group) {
    const OptionSource src(rows);
    OptionRow row;
    row.ChartId = chartId;
    const LimitGroup& g = limitGroup(group);
    if (group == OptionGroup::Spec)
        readSpecGroup(src, row);
    else
        readControlGroup(src, row, g);
    return {(row.*g.low()).Loaded, (row.*g.middle()).Loaded, (row.*g.high()).Loaded};
}

ProfileRead::ProfileRead(qint32 monId, qint32 profId, bool verify)
    : m_monId(monId),
      m_profId(profId),
      m_verify(verify),
      m_rows(std::make_shared<OptionSnapshot>()) {}

QStringList ProfileRead::selects() const {
    QStringList sql;
    if (m_verify)
        sql << profileSelect(m_monId);
    return sql << QStringLiteral(
                      "SELECT NAME, CHRTID FROM CSCHRT WHERE CHRTID IN (SELECT CHRTID "
                      "FROM CSCINP WHERE PROFID = ") +
                      QString::number(m_profId) + QStringLiteral(")")
               << OptionSnapshot::profileRowsSelect(m_monId, m_profId, loadedOptionNames());
}

void ProfileRead::take(int index, OdbcStatement& row) {
    if (m_verify && index-- == 0) {
        if (!m_profileNow)
            m_profileNow = row.int32(0);
        return;
    }
    if (index != 0) {
        m_rows->takeRow(row, loadedOptionNames());
        return;
    }
    const std::optional<QString> name = row.text(0);
    const qint32 chartId = row.int32(1);
    if (!name)
        throw DbError(catalogText(Msg::NullChartName).arg(chartId));
    OptionRow& option = m_charts.emplace_back();
    option.ChartName = name->trimmed();
    option.ChartId = chartId;
}

bool ProfileRead::complete() const {
    return !m_charts.isEmpty() && (!m_verify || m_profileNow == m_profId);
}

OptionTable ProfileRead::takeTable() {
    QVector<OptionRow> charts = std::move(m_charts);
    m_charts.clear();
    const OptionSource src(*m_rows);
    for (OptionRow& row : charts) {
        readControlGroup(src, row, limitGroup(OptionGroup::R));
        readControlGroup(src, row, limitGroup(OptionGroup::X));
        readSpecGroup(src, row);
    }
    OptionTable table(std::move(charts));
    noteSeveralStoredTexts(table, *m_rows);
    return table;
}

const QStringList& loadedOptionNames() {
    static const QStringList names = [] {
        QStringList all;
        for (const LimitGroup& g : limitGroups()) {
            all << QLatin1String(g.typeOption);
            for (const char* name : g.valueOptions)
                all << QLatin1String(name);
        }
        return all << QLatin1String(kToleranceOption);
    }();
    return names;
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

StoreOutcome LoadMonitorOptions(SharedState& s) {
    // The table in use is replaced only by a whole read, so a failed re-read
    // never leaves the grid over a half-filled or empty table.
    const qint32 profileInUse = s.gProfId;

    MonitorLink link(s);
    StoreOutcome outcome;
    try {
        if (!readMonitor(s, link))
            outcome = StoreOutcome::refusal(Msg::NoTolvaOptions);
    } catch (const DbError& error) {
        outcome = StoreOutcome::driverFailure(error.description());
    }
    link.db.close();
    if (!outcome)
        s.gProfId = profileInUse;
    else
        s.gRereadBeforeSave = false;
    return outcome;
}

StoreOutcome RereadLoadedValues(SharedState& s) {
    const OptionTable typed = s.gOptionRows;
    StoreOutcome outcome = LoadMonitorOptions(s);
    if (!outcome)
        return outcome;
    for (int i = 0; i < s.gOptionRows.size(); ++i) {
        const qint32 chart = s.gOptionRows.at(i).ChartId;
        const auto before = std::find_if(typed.begin(), typed.end(),
                                         [&](const OptionRow& r) { return r.ChartId == chart; });
        if (before == typed.end())
            continue;
        for (OptionCellRef cell : limitCells()) {
            if (((*before).*cell).isChanged())
                s.gOptionRows.setCurrent(i, cell, ((*before).*cell).Current);
        }
    }
    return outcome;
}

}  // namespace tolva
