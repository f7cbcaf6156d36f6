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
QVector<FieldRow> rowsOf(const QString& sql, qint32 c, const QString& name) {
    return TestDatabase::fetch(QString(sql).replace("$C", QString::number(c)).replace("$N", name));
}
const QString kWhere = "WHERE MONID = 12 AND CHRTID = $C AND OPTID = ";

void removeValue(const QString& name, qint32 c) {
    const auto id = rowsOf("SELECT OPTID FROM CSOPT WHERE NAME = '$N'", c, name);
    if (!id.isEmpty())
        rowsOf("DELETE FROM CSMDAT " + kWhere + id[0][0].toText(), c, name);
}

void writeValue(const QString& name, qint32 c, const TaggedValue& v) {
    auto id = rowsOf("SELECT OPTID FROM CSOPT WHERE NAME = '$N'", c, name);
    QString o = id.isEmpty() ? QString() : id[0][0].toText();
    if (o.isEmpty()) {
        o = QString::number(TestDatabase::scalar("SELECT * FROM CSOPRN").toInt() + 1);
        TestDatabase::execAll(
            {"UPDATE CSOPRN SET MAXNO = " + o,
             "INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES (" + o + ", '" + name + "', 'TEXT')"});
    }
    const QString f = appState().loc().US_Format(v);
    if (rowsOf("SELECT TVAL FROM CSMDAT " + kWhere + o, c, name).isEmpty())
        rowsOf("INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES (12, $C, " + o + ", '" + f +
                   "')",
               c, name);
    else
        rowsOf("UPDATE CSMDAT SET TVAL = '" + f + "' " + kWhere + o, c, name);
}

bool saveValueByValue() {
    const OptionTable& table = appState().gOptionRows;
    for (int i = 0; i < table.size(); ++i) {
        const OptionRow& r = table.at(i);
        const qint32 c = r.ChartId;
        for (const LimitGroup& g : limitGroups()) {
            const int k = table.groupChange(i, g.group);
            const TaggedValue &low = (r.*g.low()).Current, &mid = (r.*g.middle()).Current,
                              &high = (r.*g.high()).Current;
            if (k == 1) {
                for (const QString& name : g.clearOrder)
                    removeValue(name, c);
                continue;
            }
            if (k == 0)
                continue;
            if (!CheckGroup(appState(), i, g.group))
                return false;
            const auto typeRows = rowsOf(
                "SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = $C AND OPTID IN "
                "(SELECT OPTID FROM CSOPT WHERE NAME = '$N')",
                c, g.typeOption);
            const auto type =
                typeRows.isEmpty() ? std::nullopt : std::optional<FieldValue>(typeRows[0][0]);
            if (g.group == OptionGroup::Spec) {
                const int t = low.isEmpty() ? 3 : high.isEmpty() ? 2 : 1;
                if (ReadSpecType(type) != t)
                    writeValue(g.typeOption, c, num(t));
                if (!low.isEmpty())
                    writeValue(g.valueOptions[0], c, low);
                writeValue(g.valueOptions[1], c, mid);
                if (!high.isEmpty())
                    writeValue(g.valueOptions[2], c, high);
                continue;
            }
            if (ReadLimitType(type) != 2)
                writeValue(g.typeOption, c, num(2));
            if (mid.isEmpty()) {
                removeValue(g.centreLineFlag, c);
                removeValue(g.valueOptions[1], c);
                writeValue(g.valueOptions[0], c, low);
            } else {
                writeValue(g.valueOptions[0], c, low);
                writeValue(g.centreLineFlag, c, num(1));
                writeValue(g.valueOptions[1], c, mid);
            }
            writeValue(g.valueOptions[2], c, high);
        }
    }
    return true;
}

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

// What a load shows of a table: charts, loaded values, several stored texts.
std::string shown(const OptionTable& table) {
    QStringList lines;
    for (int i = 0; i < table.size(); ++i) {
        QStringList fields{QString::number(table[i].ChartId), table[i].ChartName};
        for (OptionCellRef cell : limitCells())
            fields << (table[i].*cell).Loaded.toDisplayText() + u'/' +
                          table.storedTexts(i, cell).join(u'|');
        lines << fields.join(u' ');
    }
    return lines.join(u'\n').toStdString();
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
    // Duplicate definitions: a chart holding a value under each number of a name.
    TestDatabase::execAll({"INSERT INTO CSOPT VALUES (90, 'XChartUCLConstant', 'TEXT')",
                           "INSERT INTO CSOPT VALUES (91, 'ProcCapNominal', 'TEXT')",
                           "INSERT INTO CSMDAT VALUES (12, 2, 90, '8')",
                           "INSERT INTO CSMDAT VALUES (12, 3, 91, 'abc')"});
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
        std::optional<OptionTable> readBySave;
        const bool batchedOk = SaveMonitorOptions(appState(), nullptr, QString(), &readBySave).ok();
        const auto batched = dump();
        if (batchedOk) {  // the save's own read is what a load then finds
            ASSERT_TRUE(readBySave);
            ASSERT_TRUE(LoadMonitorOptions(appState()));
            EXPECT_EQ(shown(*readBySave), shown(appState().gOptionRows));
        }
        restore(before);
        appState().gOptionRows = edited;
        EXPECT_EQ(saveValueByValue(), batchedOk);
        const auto reference = dump();
        for (int t = 0; t < 3; ++t)
            EXPECT_EQ(text(batched[t]).toStdString(), text(reference[t]).toStdString())
                << kTableNames[t];
    }
}

}  // namespace
}  // namespace tolva::test
