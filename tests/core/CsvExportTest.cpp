#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "CoreTestSupport.h"
#include "core/CsvExport.h"
#include "core/ViewState.h"

using namespace tolva;

// Two characteristics of a monitor, a hidden group's value left out, the
// current value exported rather than the loaded one, fields quoted as needed,
// texts a spreadsheet would evaluate marked as text (a negative number is not).
TEST(CsvExport, ShownColumnsInTheRegionalFormWithQuoting) {
    const struct {
        const char* locale;
        bool query, proc, chartGroups;
        const char* expected;
    } cases[] = {
        {"fr_FR", true, false, true,
         "Caractéristique;Requête;Carte IND/MOY LCI;Carte IND/MOY LC;Carte IND/MOY LCS;"
         "Carte MR/R/S LCI;Carte MR/R/S LC;Carte MR/R/S LCS\r\n"
         "Ø, axe;'@Lot A;12,5;;-0,001;;\"'-a;b \"\"c\"\"\";\r\n"
         "'=Longueur;\"'\tLot\nB\";;3;;;;'+x,y\r\n"},
        {"en_US", true, false, true,
         "Caractéristique,Requête,Carte IND/MOY LCI,Carte IND/MOY LC,Carte IND/MOY LCS,"
         "Carte MR/R/S LCI,Carte MR/R/S LC,Carte MR/R/S LCS\r\n"
         "\"Ø, axe\",'@Lot A,12.5,,-0.001,,\"'-a;b \"\"c\"\"\",\r\n"
         "'=Longueur,\"'\tLot\nB\",,3,,,,\"'+x,y\"\r\n"},
        {"fr_FR", false, true, false,
         "Caractéristique;SPECS Inférieure;SPECS Nominal;SPECS Supérieure\r\n"
         "Ø, axe;99;;\r\n'=Longueur;;;\r\n"},
    };
    for (const auto& c : cases) {
        test::LocaleScope locale(c.locale);
        SharedState& s = appState();
        s.reset();
        s.gMonitors = {{QStringLiteral("Presse"), 7, c.query}};
        s.gMonitorIndex = 0;
        s.gShowProc = c.proc;
        s.gShowX = s.gShowR = c.chartGroups;
        QVector<OptionRow> rows(2);
        rows[0].SpecLower.Current = TaggedValue::number(99);
        rows[0].XLcl.Current = TaggedValue::number(12.5);
        rows[0].XUcl.Current = TaggedValue::number(-0.001);
        rows[0].XUcl.Loaded = TaggedValue::number(7);
        rows[0].RCl.Current = TaggedValue::text(QStringLiteral("-a;b \"c\""));
        rows[1].XCl.Current = TaggedValue::number(3);
        rows[1].RUcl.Current = TaggedValue::text(QStringLiteral("+x,y"));
        s.gOptionRows = rows;
        const QStringList characteristics = {QStringLiteral("Ø, axe"), QStringLiteral("=Longueur")};
        const QStringList queries = {QStringLiteral("@Lot A"), QStringLiteral("\tLot\nB")};
        EXPECT_EQ(BuildCsvExport(s, ApplyViewState(s), characteristics, queries),
                  QByteArray("\xEF\xBB\xBF") + QByteArray(c.expected))
            << c.locale;
    }
}

// On a file system too small for the export, the file it replaces stays whole,
// a new name leaves no file, and the reason is the system's. Needs root to
// mount a 16 KB file system.
TEST(FullDisk, ExportKeepsTheOldFileAndSaysWhy) {
    QTemporaryDir dir;
    const QString root = dir.path();
    if (::mount("tmpfs", QFile::encodeName(root).constData(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a 16 KB file system here: " << std::strerror(errno);
    const QByteArray old(4000, 'o');
    test::writeBytes(root + "/old.csv", old);
    // Less than Qt's write buffer, more than the free space: fails only when flushed.
    const QByteArray content(13000, 'n');
    for (const char* name : {"old.csv", "new.csv"}) {
        QString reason;
        EXPECT_FALSE(WriteExportFile(root + '/' + name, content, reason)) << name;
        EXPECT_EQ(reason, qt_error_string(ENOSPC)) << name;
    }
    EXPECT_EQ(test::readBytes(root + "/old.csv"), old);
    EXPECT_EQ(QDir(root).entryList(QDir::Files), QStringList{"old.csv"});
    EXPECT_EQ(::umount(QFile::encodeName(root).constData()), 0);
}
