#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "CoreTestSupport.h"
#include "core/ConnectionString.h"
#include "core/DbConnection.h"
#include "core/DsnList.h"

using namespace tolva;

TEST(ConnectionString, ValuesGoInBracesOnlyWhenTheyMust) {
    EXPECT_EQ(BuildConnStr(QString::fromUtf8("Base Qualité"), "a=b", "p w"),
              QString::fromUtf8("DSN=Base Qualité;UID=a=b;PWD=p w;"));
    EXPECT_EQ(BuildConnStr("NOVRAX", "", "x;PWD=autre"), "DSN=NOVRAX;UID=;PWD={x;PWD=autre};");
    const char* const braced[][2] = {
        {"x}y", "{x}}y}"}, {"{", "{{}"}, {" lead", "{ lead}"}, {"trail ", "{trail }"}};
    for (const auto& [value, written] : braced)
        EXPECT_EQ(connectionValue(value), written);
}

TEST(ConnectionString, QodbcGetsTheStringWithoutItsDsnKeyOrFinalSeparator) {
    // MariaDB's multi-statement flag is asked for unless the string sets its own options.
    const char* const cases[][2] = {
        {"DSN=NOVRAX;UID=u;PWD=p;", "NOVRAX;UID=u;PWD=p;OPTION=67108864"},
        {" dsn=A;UID=;PWD={x;y};", "A;UID=;PWD={x;y};OPTION=67108864"},
        {"DSN=A;PWD={p;};", "A;PWD={p;};OPTION=67108864"},
        {"DRIVER=SQLite3;Database=/d.db;", "DRIVER=SQLite3;Database=/d.db;OPTION=67108864"},
        {"DSN=B;SERVER=h;option=3;", "DSN=B;SERVER=h;option=3"},
        {"NOVRAX", "NOVRAX;OPTION=67108864"}};
    for (const auto& [given, passed] : cases)
        EXPECT_EQ(qodbcDatabaseName(given), passed) << given;
}

TEST(DsnList, ListsUserThenSystemSourcesAndPreselectsTheLastMatch) {
    const QByteArray sysIni = qgetenv("ODBCSYSINI"), ini = qgetenv("ODBCINI");
    QTemporaryDir dir;
    test::writeBytes(dir.filePath("odbcinst.ini"), "[SQLite3]\nDriver=libsqlite3odbc.so\n");
    test::writeBytes(dir.filePath("odbc.ini"), "[Atelier]\nDriver=SQLite3\n");
    test::writeBytes(dir.filePath("user.ini"),
                     "[Essais]\nDriver=SQLite3\n[novrax]\nDriver=SQLite3\n");
    qputenv("ODBCSYSINI", dir.path().toLocal8Bit());
    qputenv("ODBCINI", dir.filePath("user.ini").toLocal8Bit());
    const QStringList names = ListDataSourceNames();
    qputenv("ODBCSYSINI", sysIni);
    qputenv("ODBCINI", ini);
    EXPECT_EQ(names, (QStringList{"Essais", "novrax", "Atelier"}));

    // The later match wins; only the whole name counts, in any case.
    const QStringList entries = {"(Aucun)", "Novrax", "NOVRAX2", "novrax", "Essais", "essais"};
    EXPECT_EQ(PreselectDsn(entries, ""), 3);
    EXPECT_EQ(PreselectDsn(entries, "ESSAIS"), 5);
    EXPECT_EQ(PreselectDsn({"(Aucun)", " NOVRAX"}, ""), 0);
    EXPECT_EQ(PreselectDsn({}, ""), -1);
}

TEST(DsnList, ListingSkipsBlankNamesAndGoesOnAfterANameCutShort) {
    // 1: success with info (a name longer than the buffer); -1: an error.
    const QVector<QPair<int, QString>> steps = {{0, "A"}, {0, "  "}, {0, " B "}, {1, "cut"},
                                                {0, "D"}, {-1, "E"}, {0, "F"}};
    int next = 0;
    const QStringList names = CollectDataSourceNames([&](QString& name) {
        name = steps.at(next).second;
        return steps.at(next++).first;
    });
    EXPECT_EQ(names, (QStringList{"A", " B ", "cut", "D"}));
}
