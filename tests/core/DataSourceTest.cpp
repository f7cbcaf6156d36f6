#include <gtest/gtest.h>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "CoreTestSupport.h"
#include "select/core/ConnectionString.h"
#include "select/core/DsnList.h"

using namespace tolva;

namespace {

// Reads a connection string back as an ODBC driver manager does: a value in braces
// runs to the matching "}" ("}}" standing for "}"), any other to the next ";".
// Empty when the text does not parse or names an attribute twice.
QMap<QString, QString> parseConnectionString(const QString& text) {
    static const QRegularExpression attribute(R"(([A-Z]+)=(?:\{((?:[^}]|\}\})*)\}|([^;{}]*));)");
    QMap<QString, QString> attributes;
    qsizetype at = 0;
    while (at < text.size()) {
        const auto m = attribute.match(text, at, QRegularExpression::NormalMatch,
                                       QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch() || attributes.contains(m.captured(1)))
            return {};
        attributes[m.captured(1)] = m.captured(2).replace("}}", "}") + m.captured(3);
        at = m.capturedEnd();
    }
    return attributes;
}

}  // namespace

TEST(ConnectionString, ValuesGoInBracesOnlyWhenTheyMust) {
    EXPECT_EQ(BuildConnStr("NOVRAX", "jean", "secret"), "DSN=NOVRAX;UID=jean;PWD=secret;");
    EXPECT_EQ(BuildConnStr("", "", ""), "DSN=;UID=;PWD=;");
    EXPECT_EQ(BuildConnStr(QString::fromUtf8("Base Qualité"), "a=b", "p w"),
              QString::fromUtf8("DSN=Base Qualité;UID=a=b;PWD=p w;"));
    EXPECT_EQ(BuildConnStr("NOVRAX", "jean", "a;b"), "DSN=NOVRAX;UID=jean;PWD={a;b};");
    EXPECT_EQ(connectionValue("x}y"), "{x}}y}");
    EXPECT_EQ(connectionValue(" lead"), "{ lead}");
    EXPECT_EQ(connectionValue("trail "), "{trail }");
    // Whatever the value, it reads back whole and adds no attribute of its own.
    for (const char* value : {"secret", "a;b", "x;PWD=autre", "}", "{", "}}{;", "pass;DSN=X", "  ",
                              " a b ", "\xc3\xa9;\xc3\xbc", "end}", ""}) {
        const QString v = QString::fromUtf8(value);
        const QString text = BuildConnStr(v, v, v);
        const QMap<QString, QString> expected{{"DSN", v}, {"UID", v}, {"PWD", v}};
        EXPECT_EQ(parseConnectionString(text), expected) << text.toStdString();
    }
}

TEST(DsnList, ListsUserThenSystemSourcesAndPreselectsTheLastMatch) {
    const QByteArray sysIni = qgetenv("ODBCSYSINI"), ini = qgetenv("ODBCINI");
    QTemporaryDir dir;
    test::writeBytes(dir.filePath("odbcinst.ini"), "[SQLite3]\nDriver=libsqlite3odbc.so\n");
    test::writeBytes(dir.filePath("odbc.ini"), "[Atelier]\nDriver=SQLite3\n");
    test::writeBytes(dir.filePath("user.ini"),
                     "[Essais]\nDriver=SQLite3\n[novrax]\nDriver=SQLite3\n"
                     "[Qualit\xc3\xa9]\nDriver=SQLite3\n");
    qputenv("ODBCSYSINI", dir.path().toLocal8Bit());
    qputenv("ODBCINI", dir.filePath("user.ini").toLocal8Bit());
    const QStringList names = ListDataSourceNames();
    qputenv("ODBCSYSINI", sysIni);
    qputenv("ODBCINI", ini);

    EXPECT_EQ(names, (QStringList{"Essais", "novrax", QString::fromUtf8("Qualité"), "Atelier"}));
    const QStringList entries = QStringList{"(Aucun)"} + names;
    EXPECT_EQ(PreselectDsn(entries, ""), 2);        // "NOVRAX" in any case
    EXPECT_EQ(PreselectDsn(entries, "ESSAIS"), 1);  // the remembered one, in any case
    EXPECT_EQ(PreselectDsn(entries, QString::fromUtf8("QUALITÉ")), 3);
    EXPECT_EQ(PreselectDsn(entries, "Disparu"), 2);
    EXPECT_EQ(PreselectDsn({"(Aucun)"}, "Qualite"), 0);
    EXPECT_EQ(PreselectDsn({}, ""), -1);
    // The later match wins; only the exact name counts, in any case.
    const QStringList twice = {"(Aucun)", "Novrax", "NOVRAX2", " NOVRAX",
                               "novrax",  "Essais", "essais",  "Atelier"};
    EXPECT_EQ(PreselectDsn(twice, ""), 4);
    EXPECT_EQ(PreselectDsn(twice, "Essais"), 6);
    EXPECT_EQ(PreselectDsn({"(Aucun)", "NOVRAX2", " NOVRAX"}, ""), 0);
}

TEST(DsnList, ListingSkipsBlankNamesAndStopsAtAnythingButSuccess) {
    // Blank names skipped, others kept untrimmed; a name cut short (1, success
    // with info) ends the list as an error does.
    const QVector<QPair<int, QString>> steps = {{0, "A"}, {0, "   "}, {0, ""}, {0, " B "},
                                                {0, "C"}, {1, "cut"}, {0, "D"}};
    int next = 0;
    const QStringList names = CollectDataSourceNames([&](QString& name) {
        name = steps.at(next).second;
        return steps.at(next++).first;
    });
    EXPECT_EQ(names, (QStringList{"A", " B ", "C"}));
    EXPECT_EQ(next, 6);
    EXPECT_TRUE(CollectDataSourceNames([](QString& name) {
                    name = "X";
                    return -1;
                }).isEmpty());
}
