// Export of the grid to a CSV file through the Options menu, and a file that
// cannot be written. (The form of each field, per locale, is the core's test.)
#include "UiTest.h"

namespace tolva::test {

using ExportTest = UiTest;

TEST_F(ExportTest, FileHoldsWhatTheGridShowsAndAFailureSaysWhy) {
    openOn(105);  // a query profile
    QTemporaryDir folder;
    // An open edit is stored first, as by every command.
    goTo(1, window->columnLayout().gColXUcl);
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

    // The grid's names and queries with the stored edit; the field form is the core's.
    const QByteArray bytes = readBytes(folder.filePath("lots.csv"));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));  // written as built, mark and all
    const QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    ASSERT_EQ(lines.size(), grid()->rows() + 1);
    EXPECT_EQ(lines[1], rowTexts(1).join(';'));

    EXPECT_FALSE(window->exportCsv(folder.filePath("missing/lots.csv")));
    const QString why = lastMessage().value(0), failed = catalogText(Msg::ExportFailed);
    EXPECT_TRUE(why.startsWith(failed + "\r\n\r\n") && why.size() > failed.size() + 4)
        << why.toStdString();
    EXPECT_EQ(lastMessage().mid(1), message("", catalogText(139), UiPort::Icon::Critical).mid(1));
}

}  // namespace tolva::test
