// A monitor exported, changed as a spreadsheet would change it, and imported
// through the Options menu and the preview, under French and English settings.
#include "UiTest.h"
#include "ui/frmImport.h"

namespace tolva::test {

using ImportTest = UiTest;

TEST_F(ImportTest, PreviewThenOneUndoableStepAndNothingSaved) {
    for (const QLocale& locale : {kFrench, kEnglish}) {
        QLocale::setDefault(locale);
        openOn(103);  // Rectifieuse R3: charts 1101 to 1104
        const SharedState& s = appState();
        const ColumnLayout& cols = window->columnLayout();
        const int row = rowOf(1101), other = rowOf(1103);
        const QString point = locale.decimalPoint(), sep = point == "," ? ";" : ",";
        QTemporaryDir folder;
        const QString path = folder.filePath("r3.csv");
        ASSERT_TRUE(window->exportCsv(path));

        // Unchanged, the file changes nothing and cannot be applied.
        onNextDialog<frmImport>([](frmImport* preview) {
            EXPECT_EQ(preview->findChild<QLabel*>("lblSummary")->text(), "Aucune modification");
            EXPECT_FALSE(preview->findChild<QPushButton*>("cmdImport")->isEnabled());
            preview->reject();
        });
        EXPECT_FALSE(window->importCsv(path));

        // Rows reversed, LF, no mark; one upper limit changed, one value blanked.
        QStringList lines = QString::fromUtf8(readBytes(path).mid(3)).split("\r\n");
        lines.removeLast();
        std::reverse(lines.begin() + 1, lines.end());
        const int upper = int(lines.first().split(sep).indexOf("SPECS Supérieure"));
        const int nominal = int(lines.first().split(sep).indexOf("SPECS Nominal"));
        auto edit = [&](int gridRow, int field, const QString& text) {
            QString& line = lines[lines.size() - gridRow];
            QStringList fields = line.split(sep);
            fields[field] = text;
            line = fields.join(sep);
        };
        edit(row, upper, "36" + point + "5");
        edit(other, nominal, "");
        writeBytes(path, lines.join('\n').toUtf8());

        const QString nominalBefore = grid()->cellText(other, cols.gColSpecNominal);
        // Every group hidden, the grid too: the one the file changes comes back.
        window->toggleX();
        window->toggleProc();
        onNextDialog<QFileDialog>([&](QFileDialog* dialog) {
            onNextDialog<frmImport>([&](frmImport* preview) {
                auto* summary = preview->findChild<QLabel*>("lblSummary");
                EXPECT_EQ(summary->text(), "1 valeur(s) à modifier");
                preview->findChild<QCheckBox*>("chkBlanksClear")->setChecked(true);
                EXPECT_EQ(summary->text(), "2 valeur(s) à modifier");
                const QAbstractItemModel* changes =
                    preview->findChild<QTableView*>("grdChanges")->model();
                QStringList first;
                for (int c = 0; c < changes->columnCount(); ++c)
                    first << changes->index(0, c).data().toString();
                EXPECT_EQ(first.mid(1), QStringList({"SPECS Supérieure", "35" + point + "01",
                                                     "36" + point + "5"}));
                QTest::mouseClick(preview->findChild<QPushButton*>("cmdImport"), Qt::LeftButton);
            });
            dialog->setDirectory(folder.path());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText("r3.csv");
            static_cast<QDialog*>(dialog)->accept();
        });
        action("mnuImport")->trigger();
        EXPECT_TRUE(s.gShowProc && grid()->isVisible());
        EXPECT_EQ(grid()->cellText(row, cols.gColSpecUpper), "36" + point + "5");
        EXPECT_EQ(grid()->cellText(other, cols.gColSpecNominal), "");
        EXPECT_TRUE(window->hasUnsavedChanges() && action("mnuCommit")->isEnabled());
        EXPECT_EQ(tval(103, 1101, "ProcCapUpper"), "35.01");

        // One step of the history takes both back.
        press(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(grid()->cellText(row, cols.gColSpecUpper), "35" + point + "01");
        EXPECT_EQ(grid()->cellText(other, cols.gColSpecNominal), nominalBefore);
        EXPECT_FALSE(action("mnuUndo")->isEnabled());
        window.reset();
    }
}

}  // namespace tolva::test
