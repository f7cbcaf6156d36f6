// The Édition menu and the change marks on a demo monitor: history, copy,
// paste, revert, and the third status-bar panel.
#include "UiTest.h"

namespace tolva::test {

constexpr qint32 kGrinder = 103;  // Rectifieuse R3: charts 1101 to 1104

class EditMenuTest : public UiTest {
protected:
    bool marked(int row, int col) const {
        const QModelIndex cell = grid()->gridIndex(row, col);
        const bool bold = cell.data(Qt::FontRole).value<QFont>().bold();
        EXPECT_EQ(bold, cell.data(Qt::BackgroundRole).isValid()) << row << "," << col;
        return bold;
    }
    QString changes() const { return panel("StatusBar1Panel3"); }
    void paste(const QString& text) {
        QApplication::clipboard()->setText(text);
        press(Qt::Key_V, Qt::ControlModifier);
    }
};

TEST_F(EditMenuTest, MarksAndHistoryFollowEditsUndoRevertAndSave) {
    openOn(kGrinder);
    const ColumnLayout& cols = window->columnLayout();
    const int row = rowOf(1101), other = rowOf(1103);
    enterValue(row, cols.gColSpecUpper, "36");
    enterValue(other, cols.gColXUcl, "1");
    EXPECT_TRUE(marked(row, cols.gColSpecUpper) && marked(other, cols.gColXUcl));
    EXPECT_FALSE(marked(row, cols.gColSpecLower));
    EXPECT_EQ(changes(), "2 valeur(s) modifiée(s)");

    // Each stored value is one step; back to the loaded values leaves nothing to save.
    press(Qt::Key_Z, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(grid()->cellText(row, cols.gColSpecUpper), "35,01");
    EXPECT_FALSE(marked(row, cols.gColSpecUpper) || marked(other, cols.gColXUcl));
    EXPECT_EQ(changes(), "");
    EXPECT_FALSE(window->hasUnsavedChanges() || action("Save")->isEnabled() ||
                 action("mnuCommit")->isEnabled());
    press(Qt::Key_Y, Qt::ControlModifier);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(grid()->cellText(other, cols.gColXUcl), "1");
    EXPECT_EQ(changes(), "2 valeur(s) modifiée(s)");

    // Hiding a group keeps its history: the undo still reaches the hidden cell.
    window->toggleX();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(optionRow(other).XUcl.Current, optionRow(other).XUcl.Loaded);
    window->toggleX();

    // Revert puts the loaded values back in the selected cells, as one step.
    enterValue(row, cols.gColSpecLower, "30");
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Right, Qt::ShiftModifier);
    action("mnuRevert")->trigger();
    EXPECT_EQ(rowTexts(row).mid(cols.gColSpecLower, 3), QStringList({"34,99", "35", "35,01"}));
    EXPECT_EQ(changes(), "");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(changes(), "2 valeur(s) modifiée(s)");

    ui.answers = {UiPort::Answer::Yes};
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(marked(row, cols.gColSpecUpper) || marked(row, cols.gColSpecLower));
    EXPECT_EQ(changes(), "Enregistré : 1 caractéristique(s)");
    EXPECT_FALSE(action("mnuUndo")->isEnabled() || action("mnuRedo")->isEnabled());
    // What a save did concerns its monitor only.
    onNextDialog<frmMonitor>([](frmMonitor* picker) { pickMonitor(picker, kGrinder); });
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(changes(), "");
    enterValue(other, cols.gColXUcl, "2");
    EXPECT_EQ(changes(), "1 valeur(s) modifiée(s)");
}

TEST_F(EditMenuTest, CopyLeavesTheHiddenGroupOut) {
    for (const QLocale& locale : {kFrench, kEnglish}) {
        QLocale::setDefault(locale);
        openOn(kGrinder);
        const SharedState& s = appState();
        const ColumnLayout& cols = window->columnLayout();
        // The middle group hidden, the ones around it shown.
        if (s.gShowX)
            window->toggleX();
        if (!s.gShowR)
            window->toggleR();
        goTo(rowOf(1101), cols.gColSpecNominal);
        for (int i = 0; i < 3; ++i)
            press(Qt::Key_Right, Qt::ShiftModifier);
        press(Qt::Key_Down, Qt::ShiftModifier);
        press(Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QApplication::clipboard()->text().split('\n');
        ASSERT_EQ(lines.size(), 3) << QApplication::clipboard()->text().toStdString();
        const QStringList first = lines.at(0).split('\t');
        ASSERT_EQ(first.size(), 4) << lines.join("/").toStdString();
        EXPECT_EQ(first.mid(0, 2),
                  locale == kFrench ? QStringList({"35", "35,01"}) : QStringList({"35", "35.01"}));
        EXPECT_EQ(first.at(2), grid()->cellText(rowOf(1101), cols.gColRLcl));
    }
    // Cells inside the block that were not selected are copied empty.
    const auto* editing = window->findChild<MonitorEditor*>("monitorEditor");
    const int top = rowOf(1101);
    const ColumnLayout& cols = window->columnLayout();
    const QStringList block = editing
                                  ->copyText({grid()->gridIndex(top + 1, cols.gColSpecNominal),
                                              grid()->gridIndex(top, cols.gColRLcl)})
                                  .split('\n');
    EXPECT_EQ(block.at(0).split('\t').mid(0, 2), QStringList({"", ""}));
    EXPECT_EQ(block.at(1).split('\t').last(), "");
    EXPECT_NE(block.at(1).split('\t').first(), "");
}

TEST_F(EditMenuTest, PasteChecksEveryTextStoresOneStepAndIsCut) {
    openOn(kGrinder);
    const ColumnLayout& cols = window->columnLayout();
    const int top = rowOf(1101);
    // Regional and point decimals both read, a blank field clears.
    const QString block = "12,5\t12.5\t \t1\n\t2\t12,5\t3\n4\t\t5\t12.5\n";
    const QStringList before = rowTexts(top + 3);

    // One text that is no number: nothing is stored, the cell is current.
    goTo(top, cols.gColSpecLower);
    paste(QString(block).replace("\t3\n", "\tabc\n"));
    EXPECT_EQ(lastMessage(),
              message(catalogText(141), catalogText(139), UiPort::Icon::Exclamation));
    EXPECT_EQ(at(), QPoint(top + 1, cols.gColSpecLower + 3));
    EXPECT_EQ(changes(), "");

    goTo(top, cols.gColSpecLower);
    paste(block);
    EXPECT_EQ(rowTexts(top).mid(cols.gColSpecLower, 4), QStringList({"12,5", "12,5", "", "1"}));
    EXPECT_EQ(rowTexts(top + 1).mid(cols.gColSpecLower, 4), QStringList({"", "2", "12,5", "3"}));
    EXPECT_EQ(rowTexts(top + 2).mid(cols.gColSpecLower, 4), QStringList({"4", "", "5", "12,5"}));
    EXPECT_EQ(rowTexts(top + 3), before);
    EXPECT_TRUE(changes().startsWith("12 valeur(s) collée(s)")) << changes().toStdString();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(rowTexts(top).mid(cols.gColSpecLower, 3), QStringList({"34,99", "35", "35,01"}));

    // Past the last row and column the block is cut; the panel says by how
    // much, and shows whole.
    goTo(top + 3, grid()->columns() - 2);
    paste(block);
    EXPECT_EQ(rowTexts(top + 3).mid(grid()->columns() - 2), QStringList({"12,5", "12,5"}));
    EXPECT_EQ(changes(),
              "2 valeur(s) collée(s) – hors grille : 2 ligne(s), 2 colonne(s) – 2 valeur(s) "
              "modifiée(s)");
    QApplication::processEvents();
    const QLabel* counts = window->findChild<QLabel*>("StatusBar1Panel3");
    EXPECT_GE(counts->contentsRect().width(), counts->fontMetrics().horizontalAdvance(changes()));
    // One value fills the selection.
    goTo(top + 1, cols.gColXLcl);
    press(Qt::Key_Down, Qt::ShiftModifier);
    paste("7\n");
    EXPECT_EQ(optionRow(top + 2).XLcl.Current, TaggedValue::number(7));
    EXPECT_EQ(optionRow(top + 1).XLcl.Current, TaggedValue::number(7));
}

}  // namespace tolva::test
