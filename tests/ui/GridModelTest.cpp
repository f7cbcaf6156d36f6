// The option-table model under the grid: Qt's model checks over a load, the view
// toggles, edits and values given through the model's own interface.
#include <QAbstractItemModelTester>

#include "UiTest.h"
#include "ui/OptionTableModel.h"

namespace tolva::test {

namespace {

QStringList modelFaults;

void collectModelFaults(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (QLatin1String(context.category ? context.category : "") == QLatin1String("qt.modeltest"))
        modelFaults << text;
}

}  // namespace

class GridModelTest : public UiTest {
protected:
    OptionTableModel* model() const {
        return window->findChild<OptionTableModel*>(QStringLiteral("grdDataModel"));
    }
};

TEST_F(GridModelTest, ModelStaysConsistentAndInsideTheTableOverLoadTogglesAndEdits) {
    openOn(105);  // a query profile: two fixed columns
    modelFaults.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectModelFaults);
    const ColumnLayout& cols = window->columnLayout();
    {
        QAbstractItemModelTester tester(model(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        // Through the model's interface a number goes into the table, a text never
        // does; a text value (as an undo may put a loaded one back) shows as it is.
        const QModelIndex cell = grid()->gridIndex(1, cols.gColXUcl);
        EXPECT_FALSE(model()->setData(cell, QStringLiteral("abc")));
        EXPECT_FALSE(window->hasUnsavedChanges());
        EXPECT_TRUE(model()->setData(cell, 8.25));
        EXPECT_EQ(grid()->cellText(1, cols.gColXUcl), "8,25");
        EXPECT_TRUE(window->hasUnsavedChanges() && action("Save")->isEnabled());
        EXPECT_TRUE(model()->setData(cell, QVariant::fromValue(TaggedValue::text("n/a"))));
        EXPECT_EQ(grid()->cellText(1, cols.gColXUcl), "n/a");
        enterValue(1, cols.gColXUcl, "4,5");
        window->toggleR();
        enterValue(2, cols.gColRUcl, "");
        window->toggleProc();
        goTo(2, cols.gColXLcl);
        ASSERT_TRUE(LoadMonitorOptions(appState()));
        window->FillGrid();
        openOnCharts({"[Lot B][Masse]", "Retrait"});  // no query column any more
        EXPECT_EQ(rowTexts(1).mid(0, 2), QStringList({"Masse", ""}));
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(modelFaults, QStringList());
    // A value the database holds twice says so in its tool tip, in the desktop's form.
    appState().gOptionRows.setStoredTexts(0, &OptionRow::XUcl, {"12.5", "99"});
    EXPECT_EQ(model()->data(grid()->gridIndex(1, cols.gColXUcl), Qt::ToolTipRole),
              "La base contient plusieurs valeurs pour cette limite : 12,5 ; 99");
    // A table replaced under the model (a failed load) is never read past its end.
    appState().gOptionRows = QVector<OptionRow>(appState().gOptionRows.rows().mid(0, 1));
    EXPECT_EQ(grid()->cellText(2, cols.gColXUcl), "");
    EXPECT_FALSE(model()->setData(grid()->gridIndex(2, cols.gColXUcl), 1.0));
}

}  // namespace tolva::test
