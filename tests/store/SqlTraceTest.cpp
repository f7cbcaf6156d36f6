#include <gtest/gtest.h>
#include <QLoggingCategory>

#include "StoreTestSupport.h"
#include "core/ConnectionString.h"

namespace tolva::test {
namespace {

QStringList g_trace;

void keepMessage(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (qstrcmp(context.category, "tolva.sql") == 0)
        g_trace << text;
}

// The trace is for users to send along with a fault report: it names the data
// source and the user, never the password, whether the connection opens or not.
TEST(SqlTraceTest, ThePasswordNeverReachesTheTrace) {
    MonitorData data({1});
    const QString secret = QStringLiteral("Mot;De{Passe}-7319");
    QLoggingCategory::setFilterRules(QStringLiteral("tolva.sql.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    for (const QString& password : {secret, QStringLiteral("PWD=") + secret}) {
        DbConnection db;
        try {
            db.open(BuildConnStr(TestDatabase::dsn(), QStringLiteral("tolva_trace"), password));
            db.execute(QStringLiteral("SELECT MONID FROM CSMON")).close();
        } catch (const DbError&) {
            // refused on servers that check passwords: the failure is traced too
        }
        db.close();
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("tolva.sql.debug=false"));
    ASSERT_FALSE(g_trace.isEmpty());
    EXPECT_TRUE(g_trace.first().contains(QStringLiteral("UID=tolva_trace")));
    for (const QString& line : g_trace)
        EXPECT_FALSE(line.contains(QStringLiteral("Passe"))) << line.toStdString();
}

}  // namespace
}  // namespace tolva::test
