#include <gtest/gtest.h>

#include <QStringEncoder>

#include "CoreTestSupport.h"
#include "core/CsvImport.h"
#include "core/ViewState.h"

using namespace tolva;

namespace {

// Five charts: two sharing a name, one whose name holds a comma and a line
// break, one starting as a formula would; a stored text and a long decimal.
SharedState& monitorState(bool query) {
    SharedState& s = appState();
    s.reset();
    s.gMonitors = {{QStringLiteral("Presse"), 7, query}};
    s.gMonitorIndex = 0;
    s.gShowProc = s.gShowX = s.gShowR = true;
    const char* names[] = {"[Lot A][Diamètre]", "[Lot B][Ø, axe\nB]", "[Lot A][Double]",
                           "[Lot B][Double]", "[Lot A][=Rayon]"};
    QVector<OptionRow> rows(5);
    for (int i = 0; i < 5; ++i)
        rows[i].ChartName = QString::fromUtf8(names[i]);
    rows[0].SpecLower.setBoth(TaggedValue::number(9.5));
    rows[0].SpecNominal.setBoth(TaggedValue::number(10));
    rows[0].SpecUpper.setBoth(TaggedValue::number(10.5));
    rows[1].SpecNominal.setBoth(TaggedValue::text(QStringLiteral("abc")));
    rows[1].XUcl.setBoth(TaggedValue::number(0.1 + 0.2));
    s.gOptionRows = rows;
    return s;
}

// The preview on one line: changes | non-numbers | duplicates | not found |
// how many grid names the file leaves out | ignored headings.
QString describe(const CsvImportFile& file, const ImportPreview& p) {
    if (file.error != 0)
        return QStringLiteral("error %1 %2").arg(file.error).arg(file.detail);
    QStringList changes;
    for (const ImportChange& c : p.changes)
        changes << QStringLiteral("%1 %2 %3>%4")
                       .arg(c.rowIndex)
                       .arg(c.heading, c.before.toDisplayText(), c.after.toDisplayText());
    QStringList parts = {changes.join(QStringLiteral("; "))};
    for (const QStringList& list : {p.nonNumbers, p.duplicates, p.notFound})
        parts << list.join(QStringLiteral("; "));
    parts << QString::number(p.notMentioned.size()) << p.ignoredHeadings.join(QStringLiteral("; "));
    return parts.join(QStringLiteral(" | "));
}

}  // namespace

TEST(CsvImport, EachShapeGivesItsPreview) {
    const QByteArray spec = "Caractéristique;SPECS Inférieure;SPECS Nominal;SPECS Supérieure\r\n";
    const struct {
        const char* locale;
        bool query;
        QByteArray bytes;
        bool blanksClear;
        const char* expected;
    } cases[] = {
        // Sorted otherwise, LF, "." and regional decimals, a blank kept then cleared.
        {"fr_FR", false,
         "Caractéristique,SPECS Nominal,SPECS Supérieure\n=Rayon,1.5,\nDiamètre,"
         "10,12.25\n",
         false, "0 SPECS Supérieure 10,5>12,25; 4 SPECS Nominal >1,5 |  |  |  | 3 | "},
        // Windows-1252, a short record (missing is no blank), a heading retyped on two lines.
        {"fr_FR", false,
         "Caract\xe9ristique;\"specs\r\nNOMINAL\";SPECS Sup\xe9rieure\r\nDiam\xe8tre;11", true,
         "0 SPECS Nominal 10>11 |  |  |  | 4 | "},
        // UTF-16 with its mark, a quoted name with separator and line break, the
        // formula quote taken off, the stored text and long decimal unchanged.
        {"fr_FR", false,
         QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
             .encode(QStringLiteral("Caractéristique;SPECS Nominal;Carte IND/MOY LCS\r\n"
                                    "\"Ø, axe\nB\";abc;0,3\r\n'=Rayon;'-2;\r\n")),
         false, "4 SPECS Nominal >-2 |  |  |  | 3 | "},
        // Bad encodings and broken files stop before any preview.
        {"fr_FR", false, "\xEF\xBB\xBF" + spec + "Diam\xe8tre;1;2;3\r\n", false, "error 263 "},
        {"fr_FR", false, QByteArray("C\0a\0r\0", 6), false, "error 263 "},
        {"fr_FR", false, "Nom;SPECS Nominal\r\nDiamètre;1\r\n", false, "error 264 "},
        {"fr_FR", false, spec + "Diamètre;1;2;3\r\n\"Double;1\r\n", false, "error 265 3"},
        // Duplicates, unknown names and columns, a value past the headings, texts
        // that are no numbers (a grouped or other-locale number among them).
        {"fr_FR", false,
         "Caractéristique;SPECS Nominal;Remarque;SPECS Nominal;Carte MR/R/S LC\r\n"
         "Diamètre;1;x;2;1 000\r\nDouble;;;;1\r\nInconnu;;;;1\r\n\r\n=Rayon;;;;abc;9\r\n",
         false,
         " | Diamètre, Carte MR/R/S LC : 1 000 – ligne(s) 2; =Rayon, Carte MR/R/S LC : abc – "
         "ligne(s) 6 | Double – 2 fois dans le moniteur | Inconnu – ligne(s) 4 | 1 | SPECS "
         "Nominal; Remarque; "
         "ligne(s) 6"},
        {"en_US", false, "Caractéristique,SPECS Nominal\r\nDiamètre,\"12,5\"\r\n", false,
         " | Diamètre, SPECS Nominal : 12,5 – ligne(s) 2 |  |  | 4 | "},
        // A query monitor: the pair names a chart; without the column, names repeat.
        {"en_US", true, "Caractéristique,Requête,SPECS Nominal\nDouble,Lot B,7\nDouble,Lot C,7\n",
         false, "3 SPECS Nominal >7 |  |  | Double (Lot C) – ligne(s) 3 | 4 | "},
        {"en_US", true, "Caractéristique,SPECS Nominal\nDouble,7\nDiamètre,10.5\n", false,
         "0 SPECS Nominal 10>10.5 |  | Double – 2 fois dans le moniteur |  | 2 | "},
    };
    for (const auto& c : cases) {
        test::LocaleScope locale(c.locale);
        const SharedState& s = monitorState(c.query);
        const ColumnLayout layout = ApplyViewState(s);
        const CsvImportFile file = ReadCsvImport(c.bytes, layout);
        EXPECT_EQ(describe(file, BuildImportPreview(s, layout, file, c.blanksClear)),
                  QString::fromUtf8(c.expected))
            << c.bytes.toStdString();
    }
}
