#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/OdbcStatement.h"

// Rows read straight from the driver against the same rows through QSqlQuery,
// and transactions run on the driver's handle.

namespace tolva::test {
namespace {

class DirectReadTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        TestDatabase::resetEmpty();
        TestDatabase::exec("CREATE TABLE TOLVA_READ (N INTEGER, T VARCHAR(8000))");
        db.open(TestDatabase::connectionString());
    }
    void TearDown() override {
        db.close();
        TestDatabase::exec("DROP TABLE TOLVA_READ");
    }
    qint64 count() { return TestDatabase::scalar("SELECT COUNT(*) FROM TOLVA_READ").toLongLong(); }
    DbConnection db;
};

TEST_F(DirectReadTest, GivesWhatQSqlQueryGives) {
    // Long, outside Latin-1, blank, empty.
    const QString longText = QString::fromUtf8("é€x").repeated(100);
    TestDatabase::execAll({"INSERT INTO TOLVA_READ VALUES (1, NULL)",
                           "INSERT INTO TOLVA_READ VALUES (-2147483648, '')",
                           "INSERT INTO TOLVA_READ VALUES (2147483647, '  12,5 ')",
                           "INSERT INTO TOLVA_READ VALUES (NULL, '" + longText + "')"});
    const QString sql = QStringLiteral("SELECT N, T FROM TOLVA_READ ORDER BY T");
    QVector<FieldRow> reference = db.execute(sql).readAll();
    QVector<QPair<std::optional<qint32>, std::optional<QString>>> direct;
    db.forEachRow(sql, [&](OdbcStatement& row) {
        std::optional<qint32> n;
        try {
            n = row.int32(0);
        } catch (const DbError&) {  // null
        }
        direct.append({n, row.text(1)});
    });
    ASSERT_EQ(direct.size(), reference.size());
    for (int i = 0; i < reference.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(direct[i].first.has_value(), !reference[i][0].isNull());
        if (direct[i].first) {
            EXPECT_EQ(*direct[i].first, reference[i][0].toInt32());
        }
        ASSERT_EQ(direct[i].second.has_value(), !reference[i][1].isNull());
        if (direct[i].second) {
            EXPECT_EQ(*direct[i].second, reference[i][1].toText());
        }
    }
    EXPECT_TRUE(direct.contains({std::nullopt, longText}));
}

// MariaDB's driver miscounts texts holding Ø or Ù; up to 8,192 characters
// they come back whole (beyond, it cuts them itself).
TEST_F(DirectReadTest, TextsHoldingOSlashComeBackWhole) {
    const QStringList texts = {QString::fromUtf8("ØÙab"), QString::fromUtf8("Øa").repeated(4000)};
    QStringList read;
    for (const QString& text : texts) {
        TestDatabase::exec("DELETE FROM TOLVA_READ");
        TestDatabase::exec("INSERT INTO TOLVA_READ VALUES (1, '" + text + "')");
        db.forEachRow("SELECT T FROM TOLVA_READ",
                      [&](OdbcStatement& row) { read << *row.text(0); });
    }
    EXPECT_EQ(read, texts);
}

TEST_F(DirectReadTest, FailuresCarryTheDriverText) {
    const QString missing = QStringLiteral("SELECT N FROM TOLVA_ABSENT");
    QString viaQuery, direct;
    try {
        db.execute(missing);
    } catch (const DbError& error) {
        viaQuery = error.description();
    }
    try {
        db.forEachRow(missing, [](OdbcStatement&) {});
    } catch (const DbError& error) {
        direct = error.description();
    }
    EXPECT_FALSE(direct.isEmpty());
    EXPECT_EQ(direct, viaQuery);

    TestDatabase::exec("INSERT INTO TOLVA_READ VALUES (1, 'abc')");
    EXPECT_THROW(
        db.forEachRow("SELECT T FROM TOLVA_READ", [](OdbcStatement& row) { row.int32(0); }),
        DbError);
}

TEST_F(DirectReadTest, EachTransactionStandsAloneOnOneConnection) {
    db.beginTransaction();
    db.execute("INSERT INTO TOLVA_READ VALUES (1, 'undone')");
    db.rollback();
    db.beginTransaction();
    db.execute("INSERT INTO TOLVA_READ VALUES (2, 'kept')");
    db.commit();
    db.execute("INSERT INTO TOLVA_READ VALUES (3, 'outside')");  // takes effect at once
    db.beginTransaction();
    db.execute("INSERT INTO TOLVA_READ VALUES (4, 'left open')");
    db.close();  // undoes what the caller left open
    QVector<qint32> kept;
    for (const FieldRow& row : TestDatabase::fetch("SELECT N FROM TOLVA_READ ORDER BY N"))
        kept << row.value(0).toInt32();
    EXPECT_EQ(kept, (QVector<qint32>{2, 3}));
}

}  // namespace
}  // namespace tolva::test
