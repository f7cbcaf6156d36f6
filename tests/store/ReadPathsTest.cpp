#include <gtest/gtest.h>
#include <QSet>
#include <random>

#include "StoreTestSupport.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

// The batched load and save against the statement-per-value readers and writers,
// which stay as the reference: same option tables, same database afterwards.

namespace tolva::test {
namespace {

// Every option a row reads or the save writes, numbered 1 to 27 in the generated database.
const QStringList kNames =
    QStringLiteral(
        "ProcCapSpecType ProcCapNominal ProcCapDelta ProcCapLower ProcCapUpper XTypeOfLCLandUCL "
        "XChartUCLConstant XChartLCLConstant XChartCenterLine XChartCenterLineValue XChartUCL "
        "XChartUCLp XChartLCL XChartLCLp XChartSigma XChartSigmaValue RTypeOfLCLandUCL "
        "RChartUCLConstant RChartLCLConstant RChartCenterLine RChartCenterLineValue RChartUCL "
        "RChartUCLp RChartLCL RChartLCLp RChartSigma RChartSigmaValue")
        .split(u' ');
const int kNameCount = int(kNames.size());

// Values a plant database may hold besides clean numbers; "~" stands for NULL.
const char* const kOddValues[] = {"~",   "",    " ",     "abc",   "  12.5  ", "1,5", "1.2.3", "-",
                                  "+3",  "1e3", "1e400", "-0",    "0",        "0.0", " 1",    "2 ",
                                  "NaN", "inf", "0x10",  "12abc", "é à",      "''",  "4",     "-1"};
// Those that still read as a number or as nothing: a nominal or tolerance held as
// text stops the load, which the table comparison would then hardly exercise.
const char* const kNumericOddValues[] = {"~",  "",    " 1", "  12.5  ", "1,5",
                                         "-0", "0.0", "+3", "1e3"};
const char* const kTypeValues[] = {"0", "1", "2", "3", "2", "1", "2", "3"};

// A database without keys on CSMDAT (duplicate rows possible, as on some plant
// databases), generated from a fixed seed: monitors 1 and 2 share a profile of
// 1,000 charts, monitor 3 has 800, monitor 4 has 600 of which 100 are also
// monitor 3's, monitor 5 has 30 charts holding odd values of every kind,
// monitor 6 has a profile without charts. "XChartCenterLine" and
// "RChartUCLConstant" are not defined yet; "ProcCapNominal" and
// "RTypeOfLCLandUCL" are defined twice.
class GeneratedDatabase {
public:
    static void create() {
        TestDatabase::resetEmpty();
        QStringList sql{"DROP TABLE CSMDAT",
                        "CREATE TABLE CSMDAT (MONID INTEGER NOT NULL, CHRTID INTEGER NOT NULL, "
                        "OPTID INTEGER NOT NULL, TVAL VARCHAR(64))",
                        "CREATE INDEX CSMDAT_MCO ON CSMDAT (MONID, CHRTID, OPTID)",
                        "INSERT INTO CSOPRN (MAXNO, CNTNAME) VALUES (200, 'OPTID')"};
        QStringList options;
        for (int i = 0; i < kNameCount; ++i) {
            if (kNames[i] != "XChartCenterLine" && kNames[i] != "RChartUCLConstant")
                options << QStringLiteral("(%1, '%2', 'TEXT')").arg(i + 1).arg(kNames[i]);
        }
        options << "(101, 'ProcCapNominal', 'TEXT')"
                << "(102, 'RTypeOfLCLandUCL', 'TEXT')";
        sql << "INSERT INTO CSOPT (OPTID, NAME, OTYPE) VALUES " + options.join(", ");
        const int profileOf[] = {0, 1, 1, 2, 3, 4, 5};
        for (int m = 1; m <= 6; ++m) {
            sql << QStringLiteral(
                       "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID) VALUES "
                       "(%1, 'Poste %1', 'SPC', NULL, %2)")
                       .arg(m)
                       .arg(profileOf[m]);
        }
        for (int p = 1; p <= 5; ++p)
            sql << QStringLiteral(
                       "INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG) VALUES "
                       "(%1, 'Profil %1', 16, NULL)")
                       .arg(p);
        QStringList charts, members;
        QSet<int> named;
        s_charts = {{}, {}, {}, {}, {}, {}};
        for (auto [profile, first, count] :
             {std::tuple{1, 1, 1000}, {2, 2001, 800}, {3, 2701, 600}, {4, 5001, 30}}) {
            for (int c = first; c < first + count; ++c) {
                members << QStringLiteral("(%1, %2)").arg(profile).arg(c);
                if (!named.contains(c))
                    charts << QStringLiteral("(%1, 'Cote %1 ')").arg(c);
                named.insert(c);
                s_charts[profile].append(c);
            }
        }
        for (const QStringList& chunk : chunks(charts))
            sql << "INSERT INTO CSCHRT (CHRTID, NAME) VALUES " + chunk.join(", ");
        for (const QStringList& chunk : chunks(members))
            sql << "INSERT INTO CSCINP (PROFID, CHRTID) VALUES " + chunk.join(", ");

        std::mt19937 random(20261206);
        QStringList rows;
        for (int m = 1; m <= 5; ++m) {
            const bool odd = m == 5;
            for (int c : s_charts[profileOf[m]]) {
                for (int i = 0; i < kNameCount; ++i) {
                    if (random() % 100 < 30)
                        continue;  // no row
                    const QString tval = value(random, kNames[i], odd);
                    const int optId = i + 1;
                    rows << QStringLiteral("(%1, %2, %3, %4)").arg(m).arg(c).arg(optId).arg(tval);
                    if (random() % 100 < 3)  // the same value twice
                        rows << rows.last();
                    if (optId == 2 && random() % 100 < 5)  // under the second definition
                        rows << QStringLiteral("(%1, %2, 101, %3)").arg(m).arg(c).arg(tval);
                }
            }
        }
        rows << "(1, 3001, 1, '1')"
             << "(9, 1, 1, '2')";  // outside the profile, no monitor
        for (const QStringList& chunk : chunks(rows))
            sql << "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) VALUES " + chunk.join(", ");
        TestDatabase::execAll(sql);

        QVector<MonitorEntry> monitors;
        for (int m = 1; m <= 6; ++m)
            monitors.append(MonitorEntry{QStringLiteral("Poste %1").arg(m), m, 0});
        MonitorData::pointAt(monitors);
    }

    static const QVector<int>& chartsOf(int profile) { return s_charts[profile]; }

    // Every row of the three tables the save writes, in a fixed order.
    static QString contents() {
        QStringList out;
        for (const char* sql :
             {"SELECT MONID, CHRTID, OPTID, TVAL FROM CSMDAT ORDER BY MONID, CHRTID, OPTID, TVAL",
              "SELECT OPTID, NAME, OTYPE FROM CSOPT ORDER BY OPTID", "SELECT MAXNO FROM CSOPRN"})
            for (const FieldRow& row : TestDatabase::fetch(QString::fromLatin1(sql))) {
                QStringList fields;
                for (const FieldValue& field : row)
                    fields << (field.isNull() ? QStringLiteral("NULL") : field.toText());
                out << fields.join(u'|');
            }
        return out.join(u'\n');
    }

private:
    static QString value(std::mt19937& random, const QString& name, bool odd) {
        if (odd || random() % 100 < 2) {
            const bool sum = name == "ProcCapNominal" || name == "ProcCapDelta";
            const QString v =
                QString::fromUtf8(sum ? kNumericOddValues[random() % std::size(kNumericOddValues)]
                                      : kOddValues[random() % std::size(kOddValues)]);
            if (v == u'~')
                return QStringLiteral("NULL");
            return u'\'' + QString(v).replace(u'\'', QStringLiteral("''")) + u'\'';
        }
        if (name.contains("Type"))
            return QStringLiteral("'%1'").arg(kTypeValues[random() % std::size(kTypeValues)]);
        const double v = double(int(random() % 20000) - 5000) / 100.0;
        return QStringLiteral("'%1'").arg(QString::number(v, 'g', 10));
    }
    static QVector<QStringList> chunks(const QStringList& items) {
        QVector<QStringList> out;
        for (int i = 0; i < items.size(); i += 400)
            out.append(items.mid(i, 400));
        return out;
    }
    static inline QVector<QVector<int>> s_charts;
};

// The option table as text, one line per row.
QStringList table() {
    QStringList out;
    for (const OptionRow& r : appState().gOptionRows) {
        QStringList line{r.ChartName, QString::number(r.ChartId)};
        for (const OptionCell* cell : {&r.SpecUpper, &r.SpecLower, &r.SpecNominal, &r.XUcl, &r.XLcl,
                                       &r.XCl, &r.RUcl, &r.RLcl, &r.RCl})
            line << valueText(cell->Loaded) + u'/' + valueText(cell->Current);
        out << line.join(u' ');
    }
    return out;
}

struct LoadResult {
    bool ok;
    qint32 profile;
    QStringList rows;
    qint64 statements;
};

LoadResult load(ReadPath path) {
    appState().gOptionRows.clear();
    const qint64 before = sqlCounters().statements;
    const bool ok = LoadMonitorOptions(appState(), path).ok();
    return {ok, appState().gProfId, table(), sqlCounters().statements - before};
}

void expectSameLoads(const QString& where) {
    for (int m = 0; m < appState().gMonitors.size(); ++m) {
        SCOPED_TRACE(where.toStdString() + " monitor " + std::to_string(m));
        appState().gMonitorIndex = m;
        const LoadResult reference = load(ReadPath::ValueByValue);
        const LoadResult batched = load(ReadPath::Batched);
        EXPECT_EQ(batched.ok, reference.ok);
        EXPECT_EQ(batched.profile, reference.profile);
        EXPECT_LE(batched.statements, 4);
        ASSERT_EQ(batched.rows.size(), reference.rows.size());
        for (int i = 0; i < reference.rows.size(); ++i)
            ASSERT_EQ(batched.rows[i], reference.rows[i]) << "row " << i;
    }
}

using ReadPathsTest = StoreTest;

TEST_F(ReadPathsTest, BatchedLoadGivesTheTablesOfTheValueByValueReaders) {
    TestDatabase::resetDemo();
    QVector<MonitorEntry> monitors;  // deleted ones and those of other kinds too
    for (const FieldRow& row : TestDatabase::fetch("SELECT MONID, NAME FROM CSMON"))
        monitors.append(MonitorEntry{row.value(1).toText(), row.value(0).toInt32(), 0});
    ASSERT_GT(monitors.size(), 0);
    MonitorData::pointAt(monitors);
    expectSameLoads("demo");

    GeneratedDatabase::create();
    expectSameLoads("generated");
    appState().gMonitorIndex = 4;  // odd values everywhere still load
    ASSERT_TRUE(LoadMonitorOptions(appState()));
    EXPECT_EQ(appState().gOptionRows.size(), 30);
}

// One round of edits: groups of random rows set to values that pass the checks,
// cleared, reduced to one limit, or given or stripped of a centre line.
void editRandomGroups(std::mt19937& random, int count, bool withFailure) {
    auto& rows = appState().gOptionRows;
    const TaggedValue none;
    for (int n = 0; n < count; ++n) {
        OptionRow& r = rows[int(random() % rows.size())];
        const double base = double(int(random() % 100)) / 4.0 + 1.0;
        const OptionGroup group = OptionGroup(random() % 3);
        switch (random() % 5) {
            case 0:
                setGroup(r, group, none, none, none);
                break;
            case 1:
                setGroup(r, group, num(0), none, num(0));
                break;
            case 2:
                setGroup(r, group, num(base - 1), num(base), num(base + 1.5));
                break;
            case 3:
                if (group == OptionGroup::Spec)
                    setGroup(r, group, none, num(base), num(base + 0.5));
                else
                    setGroup(r, group, num(base - 0.5), none, num(base + 0.5));
                break;
            default:
                setGroup(r, group, num(base - 0.25), group == OptionGroup::Spec ? num(base) : none,
                         group == OptionGroup::Spec ? none : num(base + 2));
                break;
        }
    }
    if (withFailure)  // a lower limit above the upper one stops the walk there
        setGroup(rows[rows.size() / 2], OptionGroup::X, num(9), none, num(3));
}

struct SaveRun {
    QString contents;
    QStringList outcomes;  // per save: result, message, the cell to edit
};

SaveRun runEdits(ReadPath path) {
    GeneratedDatabase::create();
    std::mt19937 random(77);
    SaveRun run;
    for (int round = 0; round < 6; ++round) {
        appState().gMonitorIndex = round % 2 == 0 ? 0 : 4;  // the large and the odd monitor
        EXPECT_TRUE(LoadMonitorOptions(appState(), path));
        editRandomGroups(random, round % 2 == 0 ? 60 : 12, round == 4);
        const StoreOutcome saved = SaveMonitorOptions(appState(), path);
        const QString cell =
            saved.edit ? QStringLiteral("%1 %2").arg(saved.edit->rowIndex).arg(saved.edit->text)
                       : QString();
        run.outcomes << QStringLiteral("%1 | %2 | %3").arg(saved.ok()).arg(saved.text(), cell);
    }
    run.contents = GeneratedDatabase::contents();
    return run;
}

TEST_F(ReadPathsTest, BatchedSaveLeavesTheDatabaseAsTheValueByValueWalkDoes) {
    const SaveRun reference = runEdits(ReadPath::ValueByValue);
    const SaveRun batched = runEdits(ReadPath::Batched);
    EXPECT_EQ(batched.outcomes, reference.outcomes);
    EXPECT_TRUE(reference.outcomes.join(u' ').contains("0 | "));  // the failing round
    EXPECT_TRUE(batched.contents == reference.contents);
    EXPECT_NE(reference.contents, (GeneratedDatabase::create(), GeneratedDatabase::contents()));
}

}  // namespace
}  // namespace tolva::test
