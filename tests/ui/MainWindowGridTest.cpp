// Filling the option grid: columns per view, headings, texts, widths, styles,
// the current cell and the status bar.
#include <QFont>
#include <QHeaderView>

#include "MainWindowTest.h"
#include "app/Catalog.h"
#include "app/ui/Twips.h"

namespace tolva::test {
namespace {

using MainWindowGridTest = MainWindowTest;

const QString kNominal = QStringLiteral("SPECS\r\nNominal");

TEST_F(MainWindowGridTest, DefaultViewShowsSpecAndIndividualGroupsOfTheDemoMonitor) {
    loadDemoMonitor(101);
    window->FillGrid();

    ASSERT_TRUE(grid()->isVisible());
    EXPECT_EQ(grid()->columns(), 7);
    EXPECT_EQ(grid()->fixedColumns(), 1);
    EXPECT_EQ(grid()->rows(), 5);
    EXPECT_EQ(
        headings(),
        (QStringList{
            QStringLiteral("Caractéristique"), QStringLiteral("SPECS\r\nInférieure"), kNominal,
            QStringLiteral("SPECS\r\nSupérieure"), QStringLiteral("Carte\r\nIND/MOY\r\nLCI"),
            QStringLiteral("Carte\r\nIND/MOY\r\nLC"), QStringLiteral("Carte\r\nIND/MOY\r\nLCS")}));

    // Tolerance around the nominal; constant limits with a centre line.
    EXPECT_EQ(rowTexts(rowOf(1001)), (QStringList{QStringLiteral("Diamètre Ø25 h6"), "24,95", "25",
                                                  "25,05", "24,97", "25,001", "25,03"}));
    // Lower and upper limits; limits that are not constants show empty.
    EXPECT_EQ(rowTexts(rowOf(1002)), (QStringList{QStringLiteral("Longueur totale"), "119,8", "120",
                                                  "120,2", "", "", ""}));
    // A specification type stored as null: nothing in the specification cells.
    EXPECT_EQ(rowTexts(rowOf(1004)).mid(1, 3), (QStringList{"", "", ""}));

    EXPECT_EQ(grid()->currentGridRow(), 1);
    EXPECT_EQ(grid()->currentGridColumn(), 1);
    EXPECT_EQ(grid()->rowHeightTwips(0), 3 * grid()->rowHeightTwips(1));
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(label("StatusBar1Panel1")->text(),
              QStringLiteral("DSN : %1 ").arg(TestDatabase::dsn()));
    EXPECT_EQ(label("StatusBar1Panel2")->text(),
              QStringLiteral("Moniteur : Tour CN 1 - Arbre de transmission "));
}

TEST_F(MainWindowGridTest, QueryProfileWithAllGroupsHasElevenColumnsAndTheQueryFixed) {
    appState().gShowR = true;
    loadDemoMonitor(105);
    window->FillGrid();

    EXPECT_EQ(grid()->columns(), 11);
    EXPECT_EQ(grid()->fixedColumns(), 2);
    EXPECT_EQ(grid()->cellText(0, 1), QStringLiteral("Requête"));
    const int lotA = rowOf(1301);
    EXPECT_EQ(grid()->cellText(lotA, 0), QStringLiteral("Diamètre"));
    EXPECT_EQ(grid()->cellText(lotA, 1), QStringLiteral("Lot A"));
    EXPECT_EQ(grid()->cellText(lotA, 2), QStringLiteral("11,9"));
    EXPECT_EQ(grid()->cellText(rowOf(1302), 10), QStringLiteral("0,8"));
    EXPECT_EQ(grid()->cellText(0, 10), QStringLiteral("Carte\r\nMR/R/S\r\nLCS"));
    // "Requête" is longer than any query text of the monitor.
    EXPECT_EQ(grid()->columnWidth(1), twipsToPixels(7 * 106 + 180));
    EXPECT_EQ(grid()->currentGridRow(), 1);
    EXPECT_EQ(grid()->currentGridColumn(), 2);
}

TEST_F(MainWindowGridTest, ChartNamesSplitIntoCharacteristicAndQuery) {
    useMonitor({QStringLiteral("[Lot A][Diamètre]"), QStringLiteral("Longueur"),
                QStringLiteral("][Masse]"), QStringLiteral("[Lot C]["),
                QStringLiteral("[Lot D][Dureté][HRC]")},
               true);
    QStringList characteristics, queries;
    frmMain::SplitChartNames(characteristics, queries);
    EXPECT_EQ(characteristics,
              (QStringList{QStringLiteral("Diamètre"), QStringLiteral("Longueur"),
                           QStringLiteral("Masse"), QString(), QStringLiteral("Duret")}));
    EXPECT_EQ(queries, (QStringList{QStringLiteral("Lot A"), QString(), QString(),
                                    QStringLiteral("Lot C"), QStringLiteral("Lot D")}));

    // Without a query profile the name is split all the same, the query not shown.
    useMonitor({QStringLiteral("[Lot A][Diamètre]")}, false);
    window->FillGrid();
    EXPECT_EQ(grid()->fixedColumns(), 1);
    EXPECT_EQ(grid()->cellText(1, 0), QStringLiteral("Diamètre"));
    EXPECT_EQ(grid()->cellText(1, 1), QString());
}

TEST_F(MainWindowGridTest, WidthsComeFromCharacterCounts) {
    EXPECT_EQ(frmMain::MeasureColumnWidth(QStringLiteral("Carte\r\nMR/R/S\r\nLCS")), 900);
    EXPECT_EQ(frmMain::MeasureColumnWidth(QStringLiteral("SPECS\r\nSupérieure")), 1240);
    EXPECT_EQ(frmMain::MeasureColumnWidth(QStringLiteral("Caractéristique")), 1770);
    EXPECT_EQ(frmMain::MeasureColumnWidth(QString()), 0);

    appState().gShowR = true;
    useMonitor({QStringLiteral("Masse")});
    window->FillGrid();
    const SharedState& s = appState();
    EXPECT_EQ(grid()->columnWidth(0), twipsToPixels(1770));
    EXPECT_EQ(grid()->columnWidth(s.gColSpecUpper), twipsToPixels(1240));
    EXPECT_EQ(grid()->columnWidth(s.gColXUcl), twipsToPixels(7 * 106 + 180));  // "IND/MOY"
    EXPECT_EQ(grid()->columnWidth(s.gColRUcl), twipsToPixels(900));

    const QString longName(40, u'x');
    useMonitor({QStringLiteral("Masse"), longName});
    window->FillGrid();
    EXPECT_EQ(grid()->columnWidth(0), twipsToPixels(4420));
}

TEST_F(MainWindowGridTest, ValuesFollowTheRegionalNumberFormat) {
    useMonitor({QStringLiteral("Masse")});
    OptionRow& row = appState().gOptionRows[0];
    row.SpecNominal.setBoth(TaggedValue::number(0.5));
    row.SpecUpper.setBoth(TaggedValue::text(QStringLiteral("à définir")));
    row.XCl.setBoth(TaggedValue::number(-1250000.125));
    const SharedState& s = appState();

    window->FillGrid();
    EXPECT_EQ(grid()->cellText(1, s.gColSpecNominal), QStringLiteral("0,5"));
    EXPECT_EQ(grid()->cellText(1, s.gColSpecUpper), QStringLiteral("à définir"));
    EXPECT_EQ(grid()->cellText(1, s.gColSpecLower), QString());
    EXPECT_EQ(grid()->cellText(1, s.gColXCl), QStringLiteral("-1250000,125"));

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    window->FillGrid();
    EXPECT_EQ(grid()->cellText(1, s.gColSpecNominal), QStringLiteral("0.5"));
    EXPECT_EQ(grid()->cellText(1, s.gColXCl), QStringLiteral("-1250000.125"));
}

TEST_F(MainWindowGridTest, CharacteristicsBoldAndCentredValuesWithoutAlignment) {
    useMonitor({QStringLiteral("[Lot A][Diamètre]")}, true);
    window->FillGrid();
    const QModelIndex characteristic = grid()->model()->index(0, 0);
    const QModelIndex query = grid()->model()->index(0, 1);
    const QModelIndex value = grid()->model()->index(0, 2);
    EXPECT_TRUE(characteristic.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(characteristic.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_FALSE(query.data(Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(query.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    EXPECT_FALSE(value.data(Qt::TextAlignmentRole).isValid());
    // Headings show their CR LF as line breaks.
    EXPECT_EQ(grid()->model()->headerData(2, Qt::Horizontal).toString(),
              QStringLiteral("SPECS\nInférieure"));
    EXPECT_EQ(grid()->model()->headerData(2, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignCenter));
}

TEST_F(MainWindowGridTest, RefillStartsFromAClearedGrid) {
    useMonitor({QStringLiteral("Masse"), QStringLiteral("Longueur")});
    window->FillGrid();
    const int col = appState().gColSpecNominal;
    grid()->setCellBackground(2, col, Qt::red);
    grid()->setCellBackground(0, col, Qt::red);

    useMonitor({QStringLiteral("Angle")});
    window->FillGrid();
    EXPECT_EQ(grid()->rows(), 2);
    EXPECT_EQ(grid()->cellText(1, 0), QStringLiteral("Angle"));
    EXPECT_NE(grid()->cellBackground(0, col), QColor(Qt::red));
}

}  // namespace
}  // namespace tolva::test
