// The option-table model under the grid: Qt's model checks over a load, the view
// toggles and edits, and what a value stored through the model does to the
// table and the window.
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

TEST_F(GridModelTest, ModelStaysConsistentOverLoadTogglesAndEdits) {
    openOn(105);  // a query profile: two fixed columns
    modelFaults.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectModelFaults);
    {
        QAbstractItemModelTester tester(model(),
                                        QAbstractItemModelTester::FailureReportingMode::Warning);
        const SharedState& s = appState();
        enterValue(1, s.gColXUcl, "4,5");
        window->toggleR();
        enterValue(2, s.gColRUcl, "");
        window->toggleProc();
        goTo(2, s.gColXLcl);
        ASSERT_TRUE(LoadMonitorOptions());
        window->FillGrid();
        openOnCharts({"[Lot B][Masse]", "Retrait"});
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(modelFaults, QStringList());
}

TEST_F(GridModelTest, ValuesStoredThroughTheModelGoIntoTheTableOnce) {
    openOnCharts({"Masse", "Retrait"});
    OptionRow& masse = appState().gOptionRows[0];
    masse.XUcl.setBoth(TaggedValue::number(7));
    window->FillGrid();
    const QModelIndex cell = grid()->gridIndex(1, appState().gColXUcl);
    ASSERT_EQ(cell.data(Qt::EditRole).value<TaggedValue>(), TaggedValue::number(7));

    // The loaded value again is no change; text never goes in.
    EXPECT_TRUE(model()->setData(cell, 7.0));
    EXPECT_FALSE(model()->setData(cell, QStringLiteral("abc")));
    EXPECT_FALSE(window->m_changed || action("Save")->isEnabled());
    EXPECT_TRUE(model()->setData(cell, 8.25));
    EXPECT_EQ(masse.XUcl.Current, TaggedValue::number(8.25));
    EXPECT_EQ(masse.XUcl.Loaded, TaggedValue::number(7));
    EXPECT_EQ(grid()->cellText(1, appState().gColXUcl), "8,25");
    EXPECT_TRUE(window->m_changed && action("Save")->isEnabled());
    // Back to the loaded value (a text one, as an undo would put it back): still changed.
    masse.XUcl.Loaded = TaggedValue::text(QStringLiteral("n/a"));
    EXPECT_TRUE(model()->setData(cell, QVariant::fromValue(masse.XUcl.Loaded)));
    EXPECT_EQ(grid()->cellText(1, appState().gColXUcl), "n/a");
    EXPECT_TRUE(window->m_changed);

    // A table replaced under the model (a failed load) is never read past its end.
    appState().gOptionRows.resize(1);
    EXPECT_EQ(grid()->cellText(2, appState().gColXUcl), "");
    EXPECT_FALSE(model()->setData(grid()->gridIndex(2, appState().gColXUcl), 1.0));
}

}  // namespace tolva::test
