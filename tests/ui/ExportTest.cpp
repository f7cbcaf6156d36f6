// Export of the grid to a CSV file through the Options menu, and a file that
// cannot be written. (The form of each field, per locale, is the core's test.)
#include "UiTest.h"

namespace tolva::test {

using ExportTest = UiTest;

TEST_F(ExportTest, FileHoldsWhatTheGridShowsAndAFailureSaysWhy) {
    openOn(105);  // a query profile
    QTemporaryDir folder;
    // An open edit is stored first, as by every command.
    goTo(1, appState().gColXUcl);
    type("12,5");
    onNextDialog<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(QFileInfo(dialog->selectedFiles().value(0)).fileName(),
                  "Contrôle réception - Lots fournisseurs.csv");
        dialog->setDirectory(folder.path());
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText("lots");  // no ".csv"
        static_cast<QDialog*>(dialog)->accept();  // the save check runs as on OK
    });
    action("mnuExport")->trigger();
    EXPECT_EQ(editText(), "(closed)");
    EXPECT_EQ(optionRow(1).XUcl.Current, TaggedValue::number(12.5));

    QFile file(folder.filePath("lots.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    QStringList lines = QString::fromUtf8(bytes.mid(3)).split("\r\n");
    EXPECT_EQ(lines.takeLast(), "");
    ASSERT_EQ(lines.size(), grid()->rows());
    for (int row = 0; row < grid()->rows(); ++row)
        EXPECT_EQ(lines[row], rowTexts(row).join(';').replace("\r\n", " "));
    EXPECT_TRUE(lines[1].contains(";12,5"));

    EXPECT_FALSE(window->exportCsv(folder.filePath("missing/lots.csv")));
    const QString why = lastMessage().value(0), failed = catalogText(Msg::ExportFailed);
    EXPECT_TRUE(why.startsWith(failed + "\r\n\r\n") && why.size() > failed.size() + 4)
        << why.toStdString();
    EXPECT_EQ(lastMessage().mid(1), message("", catalogText(139), UiPort::Icon::Critical).mid(1));
}

}  // namespace tolva::test
