#include "BenchData.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <vector>

#include "core/DbConnection.h"
#include "support/SqlScript.h"

namespace tolva::bench {

namespace {

const char* const kTables[] = {"CSMDAT", "CSOPT",  "CSOPRN", "CSCINP", "CSCHRT",
                               "CSMON",  "CSPROF", "CSMINN", "CSNODE"};

// "WITH RECURSIVE seq(i) ..." giving the numbers 1 to n, for INSERT ... SELECT.
QString series(int n) {
    return QStringLiteral(
               "WITH RECURSIVE seq(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM seq WHERE i < %1) ")
        .arg(n);
}

QString optionId(const char* name) {
    return QStringLiteral("(SELECT OPTID FROM CSOPT WHERE NAME = '%1')").arg(QLatin1String(name));
}

// Values of the big monitor's options, as SQL text expressions of the chart number
// i: nominal b.5 with b from 20 to 69, limits consistent with the nominal, so that
// every group passes the save checks.
const std::vector<std::pair<const char*, const char*>> kBigOptions = {
    {"ProcCapSpecType", "'1'"},
    {"ProcCapNominal", "(20 + i % 50) || '.5'"},
    {"ProcCapDelta", "'0.5'"},
    {"ProcCapLower", "(20 + i % 50) || '.0'"},
    {"ProcCapUpper", "(21 + i % 50) || '.0'"},
    {"XTypeOfLCLandUCL", "'2'"},
    {"XChartLCLConstant", "(20 + i % 50) || '.2'"},
    {"XChartCenterLine", "'1'"},
    {"XChartCenterLineValue", "(20 + i % 50) || '.5'"},
    {"XChartUCLConstant", "(20 + i % 50) || '.8'"},
    {"XChartUCL", "'1'"},
    {"XChartUCLp", "'0.27'"},
    {"XChartLCL", "'1'"},
    {"XChartLCLp", "'0.27'"},
    {"XChartSigma", "'3'"},
    {"XChartSigmaValue", "'0.1'"},
    {"RTypeOfLCLandUCL", "'2'"},
    {"RChartLCLConstant", "'0.05'"},
    {"RChartCenterLine", "'1'"},
    {"RChartCenterLineValue", "'0.3'"},
    {"RChartUCLConstant", "'0.9'"},
    {"RChartUCL", "'1'"},
    {"RChartUCLp", "'0.27'"},
    {"RChartLCL", "'1'"},
    {"RChartLCLp", "'0.27'"},
    {"RChartSigma", "'3'"},
    {"RChartSigmaValue", "'0.12'"},
};

// Options of the ordinary monitors: tolerance around a nominal, computed X limits.
const std::vector<std::pair<const char*, const char*>> kOrdinaryOptions = {
    {"ProcCapSpecType", "'0'"},
    {"ProcCapNominal", "'10'"},
    {"ProcCapDelta", "'0.1'"},
    {"XTypeOfLCLandUCL", "'1'"},
};

QStringList generationStatements(const QString& demoScript, const BenchShape& s) {
    QStringList sql;
    for (const char* table : kTables)
        sql << QStringLiteral("DROP TABLE IF EXISTS %1").arg(QLatin1String(table));
    // Schema, option definitions and the number counter as in the demo database.
    for (const QString& statement : test::splitSqlScript(demoScript)) {
        if (statement.startsWith(QLatin1String("CREATE TABLE")) ||
            statement.startsWith(QLatin1String("INSERT INTO CSOPT ")) ||
            statement.startsWith(QLatin1String("INSERT INTO CSOPRN "))) {
            QString created = statement;
            // Without the key every look-up of an option row scans the whole table.
            if (!s.csmdatKey && created.startsWith(QLatin1String("CREATE TABLE CSMDAT")))
                created.remove(QRegularExpression(QStringLiteral(",\\s*PRIMARY KEY \\([^)]*\\)")));
            sql << created;
        }
    }

    sql << QStringLiteral(
        "INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG, DESCR) VALUES "
        "(1, 'Contrôle final moteur', 16, NULL, 'Toutes les cotes du carter')");
    sql << series(s.profiles) + QStringLiteral(
                                    "INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG, DESCR) "
                                    "SELECT 1 + i, 'Profil ' || i, CASE WHEN i % 10 = 0 THEN 17 "
                                    "ELSE 16 END, NULL, NULL FROM seq");

    sql << series(s.bigCharts) + QStringLiteral(
                                     "INSERT INTO CSCHRT (CHRTID, NAME, UNIT, DECIMALS) "
                                     "SELECT i, 'Cote ' || i, 'mm', 3 FROM seq");
    sql << series(s.bigCharts) +
               QStringLiteral("INSERT INTO CSCINP (PROFID, CHRTID, SEQNO) SELECT 1, i, i FROM seq");
    sql << QStringLiteral(
               "INSERT INTO CSPROF (PROFID, NAME, PROFFLG, VFLG, DESCR) VALUES "
               "(%1, 'Contrôle rapide moteur', 16, NULL, NULL)")
               .arg(kMediumMonitorId);
    sql << series(s.mediumCharts) +
               QStringLiteral("INSERT INTO CSCINP (PROFID, CHRTID, SEQNO) SELECT %1, i, i FROM seq")
                   .arg(kMediumMonitorId);
    const int ordinaryCharts = s.profiles * s.chartsPerProfile;
    sql << series(ordinaryCharts) +
               QStringLiteral(
                   "INSERT INTO CSCHRT (CHRTID, NAME, UNIT, DECIMALS) "
                   "SELECT 100000 + i, 'Caractéristique ' || i, 'mm', 2 FROM seq");
    sql << series(ordinaryCharts) +
               QStringLiteral(
                   "INSERT INTO CSCINP (PROFID, CHRTID, SEQNO) "
                   "SELECT 2 + (i - 1) / %1, 100000 + i, 1 + (i - 1) % %1 FROM seq")
                   .arg(s.chartsPerProfile);

    sql << QStringLiteral(
               "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID, OWNER, CREATED) "
               "VALUES (%1, 'Banc de contrôle final - Carter', 'SPC', NULL, 1, "
               "'bench', NULL)")
               .arg(kBigMonitorId);
    sql << QStringLiteral(
               "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID, OWNER, CREATED) "
               "VALUES (%1, 'Banc de contrôle rapide - Carter', 'SPC', NULL, %1, "
               "'bench', NULL)")
               .arg(kMediumMonitorId);
    // Every 40th monitor counts pieces (not SPC), every 50th is deleted.
    sql << series(s.monitors) +
               QStringLiteral(
                   "INSERT INTO CSMON (MONID, NAME, MTYPE, VFLG, PROFID, OWNER, CREATED) "
                   "SELECT 1 + i, 'Poste de mesure ' || i, CASE WHEN i % 40 = 0 THEN "
                   "'CNT' ELSE 'SPC' END, CASE WHEN i % 50 = 0 THEN 1 ELSE NULL END, "
                   "2 + i % %1, 'bench', NULL FROM seq")
                   .arg(s.profiles);

    for (const auto& [name, value] : kBigOptions) {
        sql << series(s.bigCharts) + QStringLiteral(
                                         "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) "
                                         "SELECT %1, i, %2, %3 FROM seq")
                                         .arg(kBigMonitorId)
                                         .arg(optionId(name), QLatin1String(value));
        sql << series(s.mediumCharts) + QStringLiteral(
                                            "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) "
                                            "SELECT %1, i, %2, %3 FROM seq")
                                            .arg(kMediumMonitorId)
                                            .arg(optionId(name), QLatin1String(value));
    }
    for (const auto& [name, value] : kOrdinaryOptions) {
        sql << QStringLiteral(
                   "INSERT INTO CSMDAT (MONID, CHRTID, OPTID, TVAL) "
                   "SELECT M.MONID, C.CHRTID, %1, %2 FROM CSMON M, CSCINP C "
                   "WHERE C.PROFID = M.PROFID AND M.MONID NOT IN (%3, %4)")
                   .arg(optionId(name), QLatin1String(value))
                   .arg(kBigMonitorId)
                   .arg(kMediumMonitorId);
    }

    sql << QStringLiteral(
        "INSERT INTO CSNODE (NODEID, NAME, PARENTID, PREVID, VFLG, CREATED) "
        "VALUES (0, 'NOVRAX', 0, 0, NULL, NULL)");
    sql << series(10) + QStringLiteral(
                            "INSERT INTO CSNODE (NODEID, NAME, PARENTID, PREVID, VFLG, CREATED) "
                            "SELECT i, 'Atelier ' || i, 0, i - 1, NULL, NULL FROM seq");
    sql << QStringLiteral(
        "INSERT INTO CSMINN (NODEID, MONID, SEQNO) SELECT 1 + MONID % 10, MONID, 1 FROM CSMON");
    sql << QStringLiteral("ANALYZE");
    return sql;
}

}  // namespace

void generateDatabase(const QString& connectionString, const QString& demoScript,
                      const BenchShape& shape) {
    DbConnection db;
    db.open(connectionString);
    const bool mariadb = db.dialect() == DbConnection::Dialect::MySQL;
    // MariaDB joins texts with || only when told, stops a recursion at 1,000
    // rows, and takes the WITH of an INSERT ... SELECT after the column list.
    if (mariadb) {
        db.execute(QStringLiteral("SET SESSION sql_mode = CONCAT(@@sql_mode, ',PIPES_AS_CONCAT')"));
        db.execute(QStringLiteral("SET SESSION max_recursive_iterations = 1000000"));
    }
    for (QString statement : generationStatements(demoScript, shape)) {
        const int insert = int(statement.indexOf(QLatin1String("INSERT INTO")));
        if (mariadb && statement.startsWith(QLatin1String("WITH")) && insert > 0) {
            const int select = int(statement.indexOf(QLatin1String(" SELECT "), insert));
            statement = statement.mid(insert, select - insert) + u' ' + statement.left(insert) +
                        statement.mid(select + 1);
        }
        if (mariadb && statement == QLatin1String("ANALYZE"))
            statement = QStringLiteral("ANALYZE TABLE CSMDAT, CSOPT, CSMON, CSCHRT, CSCINP");
        db.execute(statement);
    }
    db.close();
}

bool pickMonitor(SharedState& state, qint32 monId) {
    state.gMonitorIndex = -1;
    for (int i = 0; i < state.gMonitors.size(); ++i) {
        if (state.gMonitors[i].MonId == monId)
            state.gMonitorIndex = i;
    }
    return state.gMonitorIndex >= 0;
}

int changeGroups(SharedState& state, int count) {
    OptionTable& rows = state.gOptionRows;
    const int changed = std::min(count, rows.size());
    for (int i = 0; i < changed; ++i) {
        // A group of each kind in turn, its upper limit raised a little.
        const OptionCellRef cell = i % 3 == 0   ? &OptionRow::SpecUpper
                                   : i % 3 == 1 ? &OptionRow::XUcl
                                                : &OptionRow::RUcl;
        const double step = i % 3 == 0 ? 0.25 : i % 3 == 1 ? 0.1 : 0.05;
        rows.setCurrent(i, cell, TaggedValue::number((rows.at(i).*cell).Loaded.toNumber() + step));
    }
    return changed;
}

}  // namespace tolva::bench
