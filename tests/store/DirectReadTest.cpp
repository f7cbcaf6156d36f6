#include <gtest/gtest.h>

#include "StoreTestSupport.h"

// Transactions run on the driver's handle.

namespace tolva::test {
namespace {

class DirectReadTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        TestDatabase::resetEmpty();
        TestDatabase::exec("CREATE TABLE TOLVA_READ (N INTEGER, T VARCHAR(400))");
        db.open(TestDatabase::connectionString());
    }
    void TearDown() override {
        db.close();
        TestDatabase::exec("DROP TABLE TOLVA_READ");
    }
    qint64 count() { return TestDatabase::scalar("SELECT COUNT(*) FROM TOLVA_READ").toLongLong(); }
    DbConnection db;
};

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
