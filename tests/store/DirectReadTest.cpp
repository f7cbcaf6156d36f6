#include <gtest/gtest.h>

#include "StoreTestSupport.h"
#include "core/OdbcStatement.h"

// Texts read and transactions run on the driver's handle.

namespace tolva::test {
namespace {

class DirectReadTest : public StoreTest {
protected:
    void SetUp() override {
        TestDatabase::resetEmpty();
        TestDatabase::exec("CREATE TABLE TOLVA_READ (N INTEGER, T VARCHAR(8000))");
        db.open(TestDatabase::connectionString());
    }
    DbConnection db;
};

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
