// The journal as the window shows it: the save question's list and reason, the
// history window with its filters and export, a database without the journal.
#include <QCheckBox>
#include <QFile>

#include "UiTest.h"
#include "ui/SaveQuestionDialog.h"
#include "ui/frmHistory.h"

namespace tolva::test {

constexpr qint32 kLathe = 101;  // Tour CN 1: eight journal rows in the demo database

class JournalUiTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        openOn(kLathe);
    }
    static QString listed(const PendingChange& c) {
        return c.characteristic + '|' + c.limit + '|' + c.before.toDisplayText() + '>' +
               c.after.toDisplayText();
    }
};

TEST_F(JournalUiTest, QuestionListsTheChangesInSaveOrderAndTheReasonIsRecorded) {
    const int row = rowOf(1001);
    const ColumnLayout& cols = window->columnLayout();
    enterValue(row, cols.gColXUcl, "25,04");
    enterValue(row, cols.gColXCl, "");  // cleared
    enterValue(row, cols.gColSpecUpper, "25,1");
    ui.answers = {UiPort::Answer::Yes};
    ui.reasonToGive = "Contrôle client";
    const qint64 opened = sqlCounters().connectionsOpened;
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(ui.reasonAsked);
    // A server said with the load whether it keeps the journal: the question
    // logs in no second time, nor does the re-read.
    const bool server = TestDatabase::backend() != QLatin1String("sqlite");
    EXPECT_EQ(sqlCounters().connectionsOpened - opened, server ? 1 : 2);
    QStringList lines;
    for (const PendingChange& c : ui.listedChanges)
        lines << listed(c);
    const QString name = optionRow(row).ChartName;  // "Diamètre Ø25 h6"
    EXPECT_EQ(lines, QStringList({name + "|SPECS Supérieure|25,05>25,1",
                                  name + "|Carte IND/MOY LC|25,001>",
                                  name + "|Carte IND/MOY LCS|25,03>25,04"}));
    EXPECT_EQ(TestDatabase::scalar("SELECT COUNT(*) FROM TOLVA_JOURNAL WHERE REASON = "
                                   "'Contrôle client' AND MONID = 101")
                  .toInt(),
              6);  // spec type, lower, upper, both centre-line options, UCL

    // The history: newest first, filtered by any text, then by the characteristic.
    goTo(rowOf(1002), cols.gColSpecNominal);
    const QString csv = m_programFolder.filePath("historique.csv");
    onNextDialog<frmHistory>([&](frmHistory* h) {
        auto* count = h->findChild<QLabel*>("lblHistoryCount");
        auto* current = h->findChild<QCheckBox*>("chkHistoryCurrent");
        auto* table = h->findChild<QTableView*>("grdHistory");
        EXPECT_TRUE(current->isChecked());
        EXPECT_EQ(count->text(), "2 modification(s)");
        current->setChecked(false);
        EXPECT_EQ(count->text(), "14 modification(s)");
        EXPECT_EQ(table->model()->index(0, 6).data().toString(), "Contrôle client");
        EXPECT_EQ(table->model()->index(6, 4).data().toString(), "ProcCapSpecType");
        EXPECT_EQ(table->model()->index(6, 5).data().toString(), "1 → 3");
        auto* filter = h->findChild<QLineEdit*>("txtHistoryFilter");
        filter->setText("AUCUNE");  // two limits new today, two in the demo rows
        EXPECT_EQ(count->text(), "4 modification(s)");
        filter->setText("8d 2024");
        EXPECT_EQ(count->text(), "2 modification(s)");
        EXPECT_TRUE(h->exportCsv(csv));
        h->reject();
    });
    window->showHistory(true);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList exported = QString::fromUtf8(file.readAll()).split("\r\n");
    ASSERT_EQ(exported.size(), 4);  // headings, two rows, the last line's end
    EXPECT_TRUE(exported.contains("2024-09-18 14:03:11;slefebvre;qualite-02;" + name +
                                  ";Carte IND/MOY LCI;24.96 → 24.97;Resserrement demandé par le "
                                  "client (8D 2024-117)"))
        << exported.join('\n').toStdString();
}

TEST_F(JournalUiTest, WithoutTheJournalNoReasonIsAskedAndHistorySaysWhy) {
    TestDatabase::exec("DROP TABLE TOLVA_JOURNAL");
    press(Qt::Key_S, Qt::ControlModifier);  // nothing to save: the monitor is read again
    enterValue(rowOf(1001), window->columnLayout().gColXUcl, "25,04");
    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(ui.reasonAsked);
    EXPECT_EQ(tval(kLathe, 1001, "XChartUCLConstant"), "25.04");
    action("mnuHistory")->trigger();
    EXPECT_EQ(lastMessage(), message(catalogText(282), "Editeur TOLVA", UiPort::Icon::Information));
}

TEST_F(JournalUiTest, EnterAnswersYesFromTheReasonFieldEscapeCancels) {
    const QVector<PendingChange> many(
        300, PendingChange{0, "Cote", "LCS", TaggedValue(), TaggedValue::number(1.5)});
    SaveQuestionDialog withReason(many, true);
    withReason.show();
    auto* reason = withReason.findChild<QLineEdit*>("txtReason");
    QTest::keyClicks(reason, "Outil change");
    QTest::keyClick(reason, Qt::Key_Return);
    EXPECT_EQ(withReason.answer(), UiPort::Answer::Yes);
    EXPECT_EQ(withReason.reason(), "Outil change");
    EXPECT_EQ(withReason.findChild<QLabel*>("lblSaveChangeCount")->text(), "300 modification(s)");

    SaveQuestionDialog plain(many.mid(0, 1), false);
    plain.show();
    EXPECT_EQ(plain.findChild<QLineEdit*>("txtReason"), nullptr);
    QTest::keyClick(&plain, Qt::Key_Escape);
    EXPECT_EQ(plain.answer(), UiPort::Answer::Cancel);
    EXPECT_FALSE(plain.isVisible());
}

}  // namespace tolva::test
