#include <gtest/gtest.h>

#include <QStringList>

#include "select/core/FolderTree.h"

using namespace tolva;

namespace {

FieldRow folder(qint32 id, const QString& name, qint32 parent, qint32 previous) {
    return {FieldValue(QVariant(id)), FieldValue(QVariant(name)), FieldValue(QVariant(parent)),
            FieldValue(QVariant(previous))};
}

MonitorEntry monitor(const QString& name, qint32 monId) {
    MonitorEntry entry;
    entry.Name = name;
    entry.MonId = monId;
    return entry;
}

// "Folder{child,child}" with monitors as "Name#index".
QString render(const FolderTreeItem& item) {
    if (item.kind == FolderTreeItem::Kind::Monitor)
        return QStringLiteral("%1#%2").arg(item.text).arg(item.monitorIndex);
    QStringList children;
    for (const auto& child : item.children)
        children.append(render(*child));
    return item.text + u'{' + children.join(u',') + u'}';
}

QString render(const FolderTree& tree) {
    return tree.root ? render(*tree.root) : QStringLiteral("<empty>");
}

// The root (0), folder A (5) and folder B (7) after A, both under the root.
QVector<FieldRow> rootAB() {
    return {folder(0, QStringLiteral("Usine"), 0, 0), folder(5, QStringLiteral("  A  "), 0, 0),
            folder(7, QStringLiteral("B"), 0, 5)};
}

const QVector<MonitorEntry> kMonitors = {monitor(QStringLiteral("Presse 1"), 12),
                                         monitor(QStringLiteral("Four"), 30),
                                         monitor(QStringLiteral("Tour"), 41)};

}  // namespace

TEST(FolderTree, FolderWithoutMonitorsIsLeftOutAndRootPlacedOnce) {
    const FolderTree tree = BuildFolderTree(rootAB(), {{7, 12}}, kMonitors, {}, "NOVRAX");
    EXPECT_EQ(render(tree), "Usine{B{Presse 1#0}}");
    EXPECT_EQ(tree.selected, nullptr);
}

TEST(FolderTree, SubfoldersInChainOrderThenMonitorsInFilingOrder) {
    // Rows deliberately not in chain order; folder 9 is a subfolder of A,
    // folder 11 an empty subfolder of A.
    QVector<FieldRow> nodes = {folder(7, "B", 0, 5), folder(9, "A1", 5, 0),
                               folder(0, "Usine", 0, 0), folder(11, "A2", 5, 9),
                               folder(5, "A", 0, 0)};
    const QVector<FolderLink> links = {{5, 41}, {7, 30}, {5, 12}, {9, 30}};
    const FolderTree tree = BuildFolderTree(nodes, links, kMonitors, {}, "NOVRAX");
    EXPECT_EQ(render(tree), "Usine{A{A1{Four#1},Tour#2,Presse 1#0},B{Four#1}}");
}

TEST(FolderTree, NothingToShowGivesEmptyTree) {
    // Monitors filed nowhere, or filed only under numbers gMonitors lacks.
    EXPECT_EQ(render(BuildFolderTree(rootAB(), {}, kMonitors, {}, "NOVRAX")), "<empty>");
    EXPECT_EQ(render(BuildFolderTree(rootAB(), {{5, 99}}, kMonitors, {}, "NOVRAX")), "<empty>");
    // No root row: nothing can be placed even when folders hold monitors.
    QVector<FieldRow> noRoot = {folder(5, "A", 0, 0)};
    EXPECT_EQ(render(BuildFolderTree(noRoot, {{5, 12}}, kMonitors, {}, "NOVRAX")), "<empty>");
}

TEST(FolderTree, MonitorsDirectlyInRootFollowItsFolders) {
    const FolderTree tree = BuildFolderTree(rootAB(), {{0, 30}, {7, 12}}, kMonitors, {}, "X");
    EXPECT_EQ(render(tree), "Usine{B{Presse 1#0},Four#1}");
}

TEST(FolderTree, RememberedMonitorIsSelectedForItsDataSourceOnly) {
    const QVector<FolderLink> links = {{5, 30}, {7, 12}};
    const QVector<DsnMonitor> last = {{"", 0}, {"NOVRAX", 12}, {"Autre", 30}};

    FolderTree tree = BuildFolderTree(rootAB(), links, kMonitors, last, "NOVRAX");
    ASSERT_NE(tree.selected, nullptr);
    EXPECT_EQ(tree.selected->text, "Presse 1");
    EXPECT_EQ(tree.selected->monitorIndex, 0);

    // The data-source name is compared exactly.
    tree = BuildFolderTree(rootAB(), links, kMonitors, last, "novrax");
    EXPECT_EQ(tree.selected, nullptr);
}

TEST(FolderTree, MonitorFiledTwiceShowsTwiceAndLastMarkedStaysSelected) {
    // Later folders of a chain are filled before earlier ones, so the item in A
    // is marked after the one in B and stays selected.
    const QVector<FolderLink> links = {{7, 12}, {5, 12}};
    const FolderTree tree = BuildFolderTree(rootAB(), links, kMonitors, {{"NOVRAX", 12}}, "NOVRAX");
    EXPECT_EQ(render(tree), "Usine{A{Presse 1#0},B{Presse 1#0}}");
    ASSERT_NE(tree.selected, nullptr);
    EXPECT_EQ(tree.selected, tree.root->children.at(0)->children.at(0).get());

    // Twice in one folder: the second item.
    const FolderTree same =
        BuildFolderTree(rootAB(), {{5, 12}, {5, 12}}, kMonitors, {{"NOVRAX", 12}}, "NOVRAX");
    ASSERT_EQ(same.root->children.at(0)->children.size(), 2u);
    EXPECT_EQ(same.selected, same.root->children.at(0)->children.at(1).get());
}

TEST(FolderTree, RowsWithUnusableNumbersArePassedOver) {
    QVector<FieldRow> nodes = rootAB();
    // A null "previous" and a text where a node number belongs.
    nodes.append({FieldValue(QVariant(9)), FieldValue(QVariant("Nul")), FieldValue(QVariant(0)),
                  FieldValue()});
    nodes.append({FieldValue(QVariant("x")), FieldValue(QVariant("Texte")), FieldValue(QVariant(0)),
                  FieldValue(QVariant(7))});
    nodes.append({FieldValue(QVariant(13))});  // too few columns
    const QVector<FolderLink> links = {{5, 12}, {9, 30}, {13, 41}};
    EXPECT_EQ(render(BuildFolderTree(nodes, links, kMonitors, {}, "N")), "Usine{A{Presse 1#0}}");
}

TEST(FolderTree, LinksThatLoopEndTheirBranchInsteadOfRecursing) {
    // Every table below sends the placing back to a folder already placed; each
    // folder must appear once and the rest of the tree must still be built.
    const QVector<FolderLink> links = {{5, 12}, {7, 30}, {9, 41}};

    // Folder 5 listed a second time as its own subfolder.
    QVector<FieldRow> ownParent = rootAB();
    ownParent.append(folder(5, "A bis", 5, 0));
    EXPECT_EQ(render(BuildFolderTree(ownParent, links, kMonitors, {}, "N")),
              "Usine{A{Presse 1#0},B{Four#1}}");

    // A folder that is only its own parent cannot be reached from the root.
    QVector<FieldRow> unreachable = rootAB();
    unreachable.append(folder(9, "Seul", 9, 0));
    EXPECT_EQ(render(BuildFolderTree(unreachable, links, kMonitors, {}, "N")),
              "Usine{A{Presse 1#0},B{Four#1}}");

    // Two folders naming each other as parent: 9 under 5, and 5 again under 9.
    QVector<FieldRow> mutualParents = rootAB();
    mutualParents.append(folder(9, "C", 5, 0));
    mutualParents.append(folder(5, "A encore", 9, 0));
    EXPECT_EQ(render(BuildFolderTree(mutualParents, links, kMonitors, {}, "N")),
              "Usine{A{C{Tour#2},Presse 1#0},B{Four#1}}");

    // A chain that cycles: after B comes folder 5 again, which is followed by B.
    QVector<FieldRow> chainCycle = rootAB();
    chainCycle.append(folder(5, "A encore", 0, 7));
    EXPECT_EQ(render(BuildFolderTree(chainCycle, links, kMonitors, {}, "N")),
              "Usine{A{Presse 1#0},B{Four#1}}");

    // A folder that names itself as the one before it.
    QVector<FieldRow> ownPrevious = rootAB();
    ownPrevious.append(folder(7, "B encore", 0, 7));
    EXPECT_EQ(render(BuildFolderTree(ownPrevious, links, kMonitors, {}, "N")),
              "Usine{A{Presse 1#0},B{Four#1}}");
}
