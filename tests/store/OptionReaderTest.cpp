#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "store/OptionReader.h"
#include "support/FakeUiPort.h"

namespace tolva::test {
namespace {

QString show(const TaggedValue& v) {
    if (v.isEmpty())
        return QStringLiteral("-");
    if (v.isNumber())
        return QString::number(v.toNumber());
    return QLatin1Char('"') + v.toTextValue() + QLatin1Char('"');
}

// Lower | nominal | upper as shown, checking that nothing counts as changed.
QString specLimits(const OptionRow& r) {
    for (const OptionCell* c : {&r.SpecLower, &r.SpecNominal, &r.SpecUpper})
        EXPECT_FALSE(c->isChanged()) << r.ChartId;
    return show(r.SpecLower.Current) + " | " + show(r.SpecNominal.Current) + " | " +
           show(r.SpecUpper.Current);
}
QString xChart(const OptionRow& r) {
    return show(r.XLcl.Current) + " | " + show(r.XCl.Current) + " | " + show(r.XUcl.Current);
}
QString rChart(const OptionRow& r) {
    return show(r.RLcl.Current) + " | " + show(r.RCl.Current) + " | " + show(r.RUcl.Current);
}

class OptionReaderTest : public ::testing::Test {
protected:
    FakeUiPort ui;
    FakeEditorPort editor;
};

TEST_F(OptionReaderTest, SpecificationTypesDecideWhichOptionsAreShown) {
    MonitorData data({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    auto nominalDelta = [&](qint32 c, const char* type, const char* nominal, const char* delta) {
        if (type)
            data.set(c, "ProcCapSpecType", type);
        if (nominal)
            data.set(c, "ProcCapNominal", nominal);
        if (delta)
            data.set(c, "ProcCapDelta", delta);
        data.set(c, "ProcCapLower", "1");
        data.set(c, "ProcCapUpper", "99");
    };
    nominalDelta(1, "0", "10", "0.5");
    nominalDelta(2, "0", "10", nullptr);
    nominalDelta(3, "0", "0", "0.5");
    nominalDelta(4, nullptr, "10", "2");  // no type row
    nominalDelta(5, "4", "10", "2");
    nominalDelta(6, " 1", "10", "2");
    nominalDelta(7, "1", "10", "2");
    nominalDelta(8, "2", "10", "2");
    nominalDelta(9, "2", nullptr, "2");
    nominalDelta(10, "3", nullptr, "2");
    nominalDelta(11, nullptr, "10", "2");
    data.setNull(11, "ProcCapSpecType");

    ASSERT_TRUE(LoadMonitorOptions());
    ASSERT_EQ(appState().gOptionRows.size(), 11);
    EXPECT_EQ(appState().gProfId, 50);

    EXPECT_EQ(specLimits(data.row(1)), "9.5 | 10 | 10.5");
    EXPECT_EQ(specLimits(data.row(2)), "- | 10 | -");
    EXPECT_EQ(specLimits(data.row(3)), "- | - | -");
    EXPECT_EQ(specLimits(data.row(4)), "8 | 10 | 12");
    EXPECT_EQ(specLimits(data.row(5)), "8 | 10 | 12");
    EXPECT_EQ(specLimits(data.row(6)), "8 | 10 | 12");
    EXPECT_EQ(specLimits(data.row(7)), "1 | 10 | 99");
    EXPECT_EQ(specLimits(data.row(8)), "1 | 10 | -");
    EXPECT_EQ(specLimits(data.row(9)), "1 | - | -");
    EXPECT_EQ(specLimits(data.row(10)), "- | 0 | 99");
    EXPECT_EQ(specLimits(data.row(11)), "- | - | -");  // type stored as null
}

TEST_F(OptionReaderTest, ControlLimitsNeedConstantType) {
    MonitorData data({1, 2, 3, 4});
    auto limits = [&](qint32 c, const char* prefix) {
        data.set(c, QStringLiteral("%1ChartLCLConstant").arg(prefix), "8");
        data.set(c, QStringLiteral("%1ChartUCLConstant").arg(prefix), "12.25");
    };
    for (const char* p : {"X", "R"})
        for (qint32 c : {1, 2, 3, 4})
            limits(c, p);
    data.set(1, "XTypeOfLCLandUCL", "2");
    data.set(1, "XChartCenterLineValue", "10");
    data.set(2, "XTypeOfLCLandUCL", "1");
    data.set(3, "XTypeOfLCLandUCL", "2 ");  // not exactly "2"
    data.set(1, "RTypeOfLCLandUCL", "2");
    data.set(4, "RTypeOfLCLandUCL", "2");
    data.set(4, "RChartCenterLineValue", "abc");

    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_EQ(xChart(data.row(1)), "8 | 10 | 12.25");
    EXPECT_EQ(xChart(data.row(2)), "- | - | -");
    EXPECT_EQ(xChart(data.row(3)), "- | - | -");
    EXPECT_EQ(xChart(data.row(4)), "- | - | -");  // no type row
    EXPECT_EQ(rChart(data.row(1)), "8 | - | 12.25");
    EXPECT_EQ(rChart(data.row(2)), "- | - | -");
    EXPECT_EQ(rChart(data.row(4)), "8 | \"abc\" | 12.25");
    EXPECT_EQ(data.row(4).RCl.Loaded, TaggedValue::text("abc"));
}

TEST_F(OptionReaderTest, StoredNumbersReadWithDotUnderFrenchSettings) {
    ScopedLocale french(QLocale::French, QLocale::France);
    MonitorData data({34});
    data.set(34, "ProcCapSpecType", "1");
    data.set(34, "ProcCapLower", "12.5");
    data.set(34, "ProcCapNominal", " 13.75");
    data.set(34, "ProcCapUpper", "1e2");

    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_EQ(data.row(34).SpecLower.Current, TaggedValue::number(12.5));
    EXPECT_EQ(data.row(34).SpecNominal.Current, TaggedValue::number(13.75));
    EXPECT_EQ(data.row(34).SpecUpper.Current, TaggedValue::number(100));
}

TEST_F(OptionReaderTest, OneConnectionAndReadsInChartOrder) {
    MonitorData data({34});
    TestDatabase::exec(QStringLiteral("UPDATE CSCHRT SET NAME = '  Diametre  ' WHERE CHRTID = 34"));
    data.set(34, "RTypeOfLCLandUCL", "2");
    data.set(34, "XTypeOfLCLandUCL", "0");
    data.set(34, "ProcCapSpecType", "0");
    data.set(34, "ProcCapNominal", "10");
    ui.busy = false;

    StatementLog log;
    ASSERT_TRUE(LoadMonitorOptions());
    EXPECT_EQ(appState().gOptionRows.at(0).ChartName, "Diametre");
    EXPECT_EQ(log.connectionsOpened(), 1);
    EXPECT_EQ(sqlCounters().connectionsOpened, sqlCounters().connectionsClosed);
    auto read = [](const char* name) {
        return QStringLiteral(
                   "SELECT TVAL FROM CSMDAT WHERE MONID = 12 AND CHRTID = 34 AND OPTID "
                   "IN (SELECT OPTID FROM CSOPT WHERE NAME = '%1')")
            .arg(name);
    };
    const QStringList expected{
        "SELECT PROFID FROM CSMON WHERE MONID = 12",
        "SELECT NAME, CHRTID FROM CSCHRT WHERE CHRTID IN (SELECT CHRTID FROM CSCINP WHERE PROFID = "
        "50)",
        read("RTypeOfLCLandUCL"),
        read("RChartUCLConstant"),
        read("RChartLCLConstant"),
        read("RChartCenterLineValue"),
        read("XTypeOfLCLandUCL"),
        read("ProcCapSpecType"),
        read("ProcCapNominal"),
        read("ProcCapDelta")};
    EXPECT_EQ(log.statements(), expected);
    EXPECT_EQ(editor.optionLoads, 1);
    EXPECT_EQ(ui.eventPasses, 1);
    EXPECT_FALSE(ui.busy);
}

TEST_F(OptionReaderTest, FailuresEndTheLoadWithFalse) {
    MonitorData data({34, 35});
    data.set(34, "ProcCapSpecType", "0");
    data.set(34, "ProcCapNominal", "10");
    ASSERT_TRUE(LoadMonitorOptions());
    const QVector<OptionRow> loaded = appState().gOptionRows;

    // Unknown monitor: nothing read, the previous table stays.
    appState().gMonitors[0].MonId = 99;
    EXPECT_FALSE(LoadMonitorOptions());
    EXPECT_EQ(appState().gOptionRows.size(), loaded.size());
    EXPECT_FALSE(ui.busy);

    // A profile without charts.
    appState().gMonitors[0].MonId = 12;
    TestDatabase::exec(QStringLiteral("DELETE FROM CSCINP"));
    EXPECT_FALSE(LoadMonitorOptions());
    EXPECT_EQ(appState().gProfId, 50);

    // A tolerance stored as text cannot be subtracted from the nominal.
    TestDatabase::exec(QStringLiteral("INSERT INTO CSCINP (PROFID, CHRTID) VALUES (50, 34)"));
    data.set(34, "ProcCapDelta", "abc");
    EXPECT_FALSE(LoadMonitorOptions());

    // A chart without a name.
    TestDatabase::exec(QStringLiteral("DELETE FROM CSMDAT"));
    EXPECT_TRUE(LoadMonitorOptions());
    TestDatabase::exec(QStringLiteral("UPDATE CSCHRT SET NAME = NULL WHERE CHRTID = 34"));
    EXPECT_FALSE(LoadMonitorOptions());

    // No data source at all: the connection fails.
    appState().gConnStr = QStringLiteral("DSN=TOLVA_NO_SUCH_SOURCE;UID=x;PWD=y;");
    EXPECT_FALSE(LoadMonitorOptions());
    EXPECT_FALSE(ui.busy);
    EXPECT_TRUE(ui.shown.isEmpty());
}

TEST_F(OptionReaderTest, LimitTypeReadersOnTheirOwn) {
    MonitorData data({34});
    DbConnection db;
    EXPECT_EQ(ReadXLimitType(db, 34), 0);
    EXPECT_TRUE(db.isOpen());
    data.set(34, "XTypeOfLCLandUCL", "1");
    data.setNull(34, "RTypeOfLCLandUCL");
    EXPECT_EQ(ReadXLimitType(db, 34), 1);
    EXPECT_EQ(ReadRLimitType(db, 34), 0);
    data.setNull(34, "ProcCapSpecType");
    EXPECT_EQ(ReadSpecType(db, 34), -1);
    EXPECT_EQ(ReadOptionValue(db, "ProcCapSpecType", 34), TaggedValue());

    // The X reader absorbs a failure, the others pass it on.
    TestDatabase::exec(QStringLiteral("DROP TABLE CSMDAT"));
    EXPECT_EQ(ReadXLimitType(db, 34), -1);
    EXPECT_THROW(ReadRLimitType(db, 34), DbError);
    EXPECT_THROW(ReadSpecType(db, 34), DbError);
    EXPECT_THROW(ReadOptionValue(db, "XChartUCLConstant", 34), DbError);
}

}  // namespace
}  // namespace tolva::test
