#include <gtest/gtest.h>
#include <QRandomGenerator>

#include "StoreTestSupport.h"
#include "core/GroupChecks.h"
#include "core/LimitGroups.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva::test {
namespace {

// The save as it once ran: each value looked up, allocated and written by
// statements of its own, on their own. The batched save must leave the same tables.
class ValueByValueSave {
public:
    bool run() {
        const OptionTable& table = appState().gOptionRows;
        for (int i = 0; i < table.size(); ++i) {
            const OptionRow& r = table.at(i);
            for (const LimitGroup& g : limitGroups()) {
                const int k = table.groupChange(i, g.group);
                if (k == 1) {
                    for (const QString& name : g.clearOrder)
                        remove(name, r.ChartId);
                } else if (k == 2) {
                    if (!CheckGroup(appState(), i, g.group))
                        return false;
                    saveGroup(r, g);
                }
            }
        }
        return true;
    }

private:
    void saveGroup(const OptionRow& r, const LimitGroup& g) {
        const qint32 c = r.ChartId;
        const TaggedValue &low = (r.*g.low()).Current, &mid = (r.*g.middle()).Current,
                          &high = (r.*g.high()).Current;
        const std::optional<FieldValue> type = tval(c, g.typeOption);
        if (g.group == OptionGroup::Spec) {
            const int t = low.isEmpty() ? 3 : high.isEmpty() ? 2 : 1;
            if (ReadSpecType(type) != t)
                write(g.typeOption, c, TaggedValue::number(t));
            if (!low.isEmpty())
                write(g.valueOptions[0], c, low);
            write(g.valueOptions[1], c, mid);
            if (!high.isEmpty())
                write(g.valueOptions[2], c, high);
            return;
        }
        if (ReadLimitType(type) != 2)
            write(g.typeOption, c, TaggedValue::number(2));
        if (mid.isEmpty()) {
            remove(g.centreLineFlag, c);
            remove(g.valueOptions[1], c);
            write(g.valueOptions[0], c, low);
        } else {
            write(g.valueOptions[0], c, low);
            write(g.centreLineFlag, c, TaggedValue::number(1));
            write(g.valueOptions[1], c, mid);
        }
        write(g.valueOptions[2], c, high);
    }
    static std::optional<FieldValue> tval(qint32 c, const QString& name) {
        const auto rows = TestDatabase::fetch(
            QStringLiteral("SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = %1 AND OPTID IN "
                           "(SELECT OPTID FROM CSOPT WHERE NAME = '%2')")
                .arg(c)
                .arg(name));
        return rows.isEmpty() ? std::nullopt : std::optional<FieldValue>(rows[0][0]);
    }
    static std::optional<qint32> optionId(const QString& name) {
        const auto rows =
            TestDatabase::fetch("SELECT OPTID FROM CSOPT WHERE NAME = '" + name + "'");
        return rows.isEmpty() ? std::nullopt : std::optional<qint32>(rows[0][0].toInt32());
    }
    static void write(const QString& name, qint32 c, const TaggedValue& v) {
        std::optional<qint32> o = optionId(name);
        if (!o) {
            o = TestDatabase::scalar("SELECT * FROM CSOPRN").toInt() + 1;
            TestDatabase::execAll({QStringLiteral("UPDATE CSOPRN SET MAXNO = %1").arg(*o),
                                   QStringLiteral("INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES "
                                                  "(%1, '%2', 'TEXT')")
                                       .arg(*o)
                                       .arg(name)});
        }
        const QString f = appState().loc().US_Format(v);
        const QString where =
            QStringLiteral(" WHERE MONID = 12 AND CHRTID = %1 AND OPTID = %2").arg(c).arg(*o);
        if (TestDatabase::fetch("SELECT TVAL FROM CSMDAT" + where).isEmpty())
            TestDatabase::exec(QStringLiteral("INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) "
                                              "VALUES (12, %1, %2, '%3')")
                                   .arg(c)
                                   .arg(*o)
                                   .arg(f));
        else
            TestDatabase::exec("UPDATE CSMDAT SET TVAL = '" + f + "'" + where);
    }
    static void remove(const QString& name, qint32 c) {
        if (const std::optional<qint32> o = optionId(name))
            TestDatabase::exec(
                QStringLiteral("DELETE FROM CSMDAT WHERE MONID = 12 AND CHRTID = %1 AND OPTID = %2")
                    .arg(c)
                    .arg(*o));
    }
};

const char* const kTables[] = {"SELECT MONID, CHRTID, OPTID, TVAL FROM CSMDAT ORDER BY 1, 2, 3",
                               "SELECT OPTID, NAME, OTYPE FROM CSOPT ORDER BY 1",
                               "SELECT MAXNO, CNTNAME FROM CSOPRN"};
const char* const kTableNames[] = {"CSMDAT", "CSOPT", "CSOPRN"};

QVector<QVector<FieldRow>> dump() {
    QVector<QVector<FieldRow>> all;
    for (const char* sql : kTables)
        all << TestDatabase::fetch(sql);
    return all;
}

QString text(const QVector<FieldRow>& rows) {
    QStringList lines;
    for (const FieldRow& r : rows) {
        QStringList fields;
        for (const FieldValue& f : r)
            fields << (f.isNull() ? QStringLiteral("NULL") : u'\'' + f.toText() + u'\'');
        lines << fields.join(", ");
    }
    return lines.join('\n');
}

void restore(const QVector<QVector<FieldRow>>& tables) {
    QStringList sql;
    for (int t = 0; t < 3; ++t) {
        sql << QStringLiteral("DELETE FROM ") + kTableNames[t];
        if (!tables[t].isEmpty())
            sql << QStringLiteral("INSERT INTO %1 VALUES (").arg(kTableNames[t]) +
                       text(tables[t]).replace("\n", "), (") + ")";
    }
    TestDatabase::execAll(sql);
}

// Random limits for a group: mostly valid, sometimes cleared, one time in
// twenty refused by the checks.
void editGroup(QRandomGenerator& rnd, qint32 chart, OptionGroup g) {
    const TaggedValue o;
    const double base = rnd.bounded(100) / 4.0 - 5;
    const int mode = rnd.bounded(20);
    TaggedValue low = num(base), mid = num(base + 1.5), high = num(base + 3.25);
    if (mode < 4)
        low = mid = high = o;
    else if (mode < 8)
        (g == OptionGroup::Spec ? (mode % 2 ? low : high) : mid) = o;
    else if (mode == 19)
        std::swap(low, high);
    setGroup(chart, g, low, mid, high);
}

using SaveDifferentialTest = StoreTest;

TEST_F(SaveDifferentialTest, BatchedSaveLeavesTheTablesAsValueByValueStatements) {
    const QVector<qint32> charts{1, 2, 3, 4, 5, 6};
    MonitorData data(charts);
    QRandomGenerator rnd(17);
    QStringList names{QLatin1String(kToleranceOption)};
    for (const LimitGroup& g : limitGroups())
        names << g.clearOrder;
    names.removeDuplicates();
    // Some names are defined and hold values; the rest are new to the database.
    const char* texts[] = {"0", "1", "2", "3", "2", "12.5", "-3", "abc", "7"};
    for (qint32 c : charts) {
        for (const QString& name : names) {
            if (qHash(name) % 4 != 0 && rnd.bounded(3) != 0)
                data.set(c, name, texts[rnd.bounded(9)]);
        }
    }
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(LoadMonitorOptions(appState()));
        for (qint32 c : charts) {
            for (const LimitGroup& g : limitGroups()) {
                if (rnd.bounded(2))
                    editGroup(rnd, c, g.group);
            }
        }
        const OptionTable edited = appState().gOptionRows;
        const auto before = dump();
        const bool batchedOk = SaveMonitorOptions(appState()).ok();
        const auto batched = dump();
        restore(before);
        appState().gOptionRows = edited;
        EXPECT_EQ(ValueByValueSave().run(), batchedOk);
        const auto reference = dump();
        for (int t = 0; t < 3; ++t)
            EXPECT_EQ(text(batched[t]).toStdString(), text(reference[t]).toStdString())
                << kTableNames[t];
    }
}

}  // namespace
}  // namespace tolva::test
