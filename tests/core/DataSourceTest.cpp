#include <gtest/gtest.h>
#include <QMap>
#include <QTemporaryDir>

#include "CoreTestSupport.h"
#include "select/core/ConnectionString.h"
#include "select/core/DsnList.h"

using namespace tolva;

namespace {

// Reads a connection string back the way an ODBC driver manager does: a value
// in braces runs to the matching "}" ("}}" stands for one "}"), any other value
// to the next ";".
QMap<QString, QString> parseConnectionString(const QString& text, bool* ok) {
    QMap<QString, QString> attributes;
    *ok = true;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const int eq = int(text.indexOf(u'=', i));
        if (eq < 0) {
            *ok = false;
            break;
        }
        const QString key = text.mid(i, eq - i);
        i = eq + 1;
        QString value;
        if (i < n && text[i] == u'{') {
            ++i;
            for (;;) {
                if (i >= n) {
                    *ok = false;
                    return attributes;
                }
                if (text[i] == u'}') {
                    if (i + 1 < n && text[i + 1] == u'}') {
                        value += u'}';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            if (i < n && text[i] != u';')
                *ok = false;
        } else {
            const int semi = int(text.indexOf(u';', i));
            value = text.mid(i, semi < 0 ? n - i : semi - i);
            i = semi < 0 ? n : semi;
        }
        if (attributes.contains(key))
            *ok = false;  // a value smuggled in a second attribute of the same name
        attributes.insert(key, value);
        ++i;  // the ";"
    }
    return attributes;
}

class OdbcIniScope {
public:
    OdbcIniScope(const QByteArray& userIni, const QByteArray& systemIni)
        : m_sysIni(qgetenv("ODBCSYSINI")),
          m_ini(qgetenv("ODBCINI")),
          m_hadSysIni(qEnvironmentVariableIsSet("ODBCSYSINI")),
          m_hadIni(qEnvironmentVariableIsSet("ODBCINI")) {
        const QString dir = m_dir.path();
        test::writeBytes(dir + QStringLiteral("/odbcinst.ini"),
                         "[SQLite3]\nDriver=libsqlite3odbc.so\n");
        test::writeBytes(dir + QStringLiteral("/odbc.ini"), systemIni);
        test::writeBytes(dir + QStringLiteral("/user-odbc.ini"), userIni);
        qputenv("ODBCSYSINI", dir.toLocal8Bit());
        qputenv("ODBCINI", (dir + QStringLiteral("/user-odbc.ini")).toLocal8Bit());
    }
    ~OdbcIniScope() {
        restore("ODBCSYSINI", m_hadSysIni, m_sysIni);
        restore("ODBCINI", m_hadIni, m_ini);
    }

private:
    static void restore(const char* name, bool had, const QByteArray& value) {
        if (had)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    QTemporaryDir m_dir;
    QByteArray m_sysIni, m_ini;
    bool m_hadSysIni, m_hadIni;
};

QStringList dialogEntries(const QStringList& names) {
    return QStringList{QStringLiteral("(Aucun)")} + names;
}

}  // namespace

TEST(ConnectionString, PlainValuesStayAsTyped) {
    EXPECT_EQ(
        BuildConnStr(QStringLiteral("NOVRAX"), QStringLiteral("jean"), QStringLiteral("secret")),
        QStringLiteral("DSN=NOVRAX;UID=jean;PWD=secret;"));
    EXPECT_EQ(BuildConnStr(QString(), QString(), QString()), QStringLiteral("DSN=;UID=;PWD=;"));
    EXPECT_EQ(
        BuildConnStr(QStringLiteral("Base Qualité"), QStringLiteral("a=b"), QStringLiteral("p w")),
        QString::fromUtf8("DSN=Base Qualité;UID=a=b;PWD=p w;"));
}

TEST(ConnectionString, SpecialValuesGoInBraces) {
    EXPECT_EQ(BuildConnStr(QStringLiteral("NOVRAX"), QStringLiteral("jean"), QStringLiteral("a;b")),
              QStringLiteral("DSN=NOVRAX;UID=jean;PWD={a;b};"));
    EXPECT_EQ(connectionValue(QStringLiteral("x}y")), QStringLiteral("{x}}y}"));
    EXPECT_EQ(connectionValue(QStringLiteral("{abc}")), QStringLiteral("{{abc}}}"));
    EXPECT_EQ(connectionValue(QStringLiteral(" lead")), QStringLiteral("{ lead}"));
    EXPECT_EQ(connectionValue(QStringLiteral("trail ")), QStringLiteral("{trail }"));
}

TEST(ConnectionString, EveryValueReadsBackWhole) {
    const QString values[] = {
        QStringLiteral("secret"),     QStringLiteral("a;b"),  QStringLiteral("x;PWD=autre"),
        QStringLiteral("}"),          QStringLiteral("{"),    QStringLiteral("}}{;"),
        QStringLiteral("pass;DSN=X"), QStringLiteral("  "),   QStringLiteral(" a b "),
        QStringLiteral("é;ü"),        QStringLiteral("end}"), QString()};
    for (const QString& value : values) {
        const QString text = BuildConnStr(value, value, value);
        bool ok = false;
        const auto attributes = parseConnectionString(text, &ok);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(ok);
        EXPECT_EQ(attributes.size(), 3);
        EXPECT_EQ(attributes.value(QStringLiteral("DSN")), value);
        EXPECT_EQ(attributes.value(QStringLiteral("UID")), value);
        EXPECT_EQ(attributes.value(QStringLiteral("PWD")), value);
    }
}

TEST(DsnList, ListsDriverManagerSourcesInItsOrder) {
    OdbcIniScope ini(
        "[Essais]\nDriver=SQLite3\n\n[novrax]\nDriver=SQLite3\n\n"
        "[Qualit\xc3\xa9]\nDriver=SQLite3\n",
        "[Atelier]\nDriver=SQLite3\n");
    const QStringList names = ListDataSourceNames();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Essais"), QStringLiteral("novrax"),
                                  QString::fromUtf8("Qualité"), QStringLiteral("Atelier")}));

    const QStringList entries = dialogEntries(names);
    EXPECT_EQ(PreselectDsn(entries, QString()), 2);
    // A remembered source wins over that, compared without letter case.
    EXPECT_EQ(PreselectDsn(entries, QStringLiteral("ESSAIS")), 1);
    EXPECT_EQ(PreselectDsn(entries, QString::fromUtf8("QUALITÉ")), 3);
    // One that is no longer defined leaves the preselection as it was.
    EXPECT_EQ(PreselectDsn(entries, QStringLiteral("Disparu")), 2);
}

TEST(DsnList, NoSourcesLeavesOnlyNone) {
    OdbcIniScope ini("", "");
    const QStringList names = ListDataSourceNames();
    EXPECT_TRUE(names.isEmpty()) << names.join(u',').toStdString();
    EXPECT_EQ(PreselectDsn(dialogEntries(names), QString()), 0);
    EXPECT_EQ(PreselectDsn(dialogEntries(names), QStringLiteral("Qualite")), 0);
    EXPECT_EQ(PreselectDsn({}, QString()), -1);
}

TEST(DsnList, PreselectionIgnoresCaseOnlyWhereItShould) {
    // The driver manager lists one name per source whatever its case, so the
    // later-match rule is checked on the list alone.
    const QStringList entries = {QStringLiteral("(Aucun)"), QStringLiteral("Novrax"),
                                 QStringLiteral("NOVRAX2"), QStringLiteral(" NOVRAX"),
                                 QStringLiteral("novrax"),  QStringLiteral("Essais"),
                                 QStringLiteral("essais"),  QStringLiteral("Atelier")};
    EXPECT_EQ(PreselectDsn(entries, QString()), 4);
    EXPECT_EQ(PreselectDsn(entries, QStringLiteral("Essais")), 6);
    // Names with anything around "NOVRAX" are other sources.
    EXPECT_EQ(PreselectDsn(
                  {QStringLiteral("(Aucun)"), QStringLiteral("NOVRAX2"), QStringLiteral(" NOVRAX")},
                  QString()),
              0);
}

TEST(DsnList, ListingStopsAtAnythingButSuccessAndSkipsBlankNames) {
    // The driver manager here drops blank section names itself, so the loop is
    // driven directly: blank names skipped, others kept untrimmed, and a name
    // cut short (success with info) ends the list like an error does.
    const QVector<QPair<int, QString>> steps = {
        {0, QStringLiteral("A")},   {0, QStringLiteral("   ")}, {0, QString()},
        {0, QStringLiteral(" B ")}, {0, QStringLiteral("C")},   {1, QStringLiteral("cut")},
        {0, QStringLiteral("D")}};
    int next = 0;
    const QStringList names = CollectDataSourceNames([&](QString& name) {
        const auto& step = steps.at(next++);
        name = step.second;
        return step.first;
    });
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("A"), QStringLiteral(" B "), QStringLiteral("C")}));
    EXPECT_EQ(next, 6);

    int calls = 0;
    const QStringList none = CollectDataSourceNames([&](QString& name) {
        ++calls;
        name = QStringLiteral("X");
        return -1;
    });
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(calls, 1);
}
