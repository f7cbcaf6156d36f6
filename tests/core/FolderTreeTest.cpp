#include <gtest/gtest.h>

#include "core/FolderTree.h"
#include "core/SearchText.h"

using namespace tolva;

namespace {

FieldRow folder(qint32 id, const char* name, qint32 parent, qint32 previous) {
    return {FieldValue(id), FieldValue(QString(name)), FieldValue(parent), FieldValue(previous)};
}

// "Folder{child,child}", monitors as "Name#index", the selected item marked "*".
QString render(const FolderTreeItem* item, const FolderTreeItem* selected) {
    if (!item)
        return "<empty>";
    QStringList children;
    for (const auto& child : item->children)
        children << render(child.get(), selected);
    const QString text = item->kind == FolderTreeItem::Kind::Monitor
                             ? QStringLiteral("%1#%2").arg(item->text).arg(item->monitorIndex)
                             : item->text + u'{' + children.join(u',') + u'}';
    return item == selected ? text + u'*' : text;
}

// The root (0), folder A (5) and folder B (7) after A, both under the root.
QString build(const QVector<FieldRow>& extraNodes, const QVector<FolderLink>& links) {
    const QVector<FieldRow> nodes =
        QVector<FieldRow>{folder(0, "Usine", 0, 0), folder(5, "  A  ", 0, 0),
                          folder(7, "B", 0, 5)} +
        extraNodes;
    const QVector<MonitorEntry> monitors = {{"Presse 1", 12, 0}, {"Four", 30, 0}, {"Tour", 41, 0}};
    const QVector<DsnMonitor> last = {{"", 0}, {"NOVRAX", 12}, {"Autre", 30}};
    const FolderTree tree = BuildFolderTree(nodes, links, monitors, last, "NOVRAX");
    return render(tree.root.get(), tree.selected);
}

}  // namespace

TEST(FolderTree, PlacesFoldersHoldingMonitorsSelectsTheRememberedOneAndEndsLoops) {
    // Folders without monitors are left out; monitors in the root follow its folders.
    EXPECT_EQ(build({}, {{0, 30}, {7, 12}}), "Usine{B{Presse 1#0*},Four#1}");
    // Subfolders in chain order, then monitors in filing order, whatever the row order.
    EXPECT_EQ(build({folder(11, "A2", 5, 9), folder(9, "A1", 5, 0)},
                    {{5, 41}, {7, 30}, {5, 12}, {9, 30}}),
              "Usine{A{A1{Four#1},Tour#2,Presse 1#0*},B{Four#1}}");
    EXPECT_EQ(build({}, {{5, 99}}), "<empty>");  // only unknown monitors filed
    // Rows with unusable numbers are passed over.
    EXPECT_EQ(build({{FieldValue(9), FieldValue(QString("Nul")), FieldValue(0), FieldValue()},
                     {FieldValue(13)}},
                    {{5, 12}, {9, 30}, {13, 41}}),
              "Usine{A{Presse 1#0*}}");
    // Links that loop end their branch.
    const QVector<FolderLink> links = {{5, 30}, {7, 41}, {9, 30}};
    const QString plain = "Usine{A{Four#1},B{Tour#2}}";
    EXPECT_EQ(build({folder(5, "A bis", 5, 0)}, links), plain);     // its own subfolder
    EXPECT_EQ(build({folder(5, "A encore", 0, 7)}, links), plain);  // chain cycle
    EXPECT_EQ(build({folder(9, "C", 5, 0), folder(5, "A encore", 9, 0)}, links),
              "Usine{A{C{Four#1},Four#1},B{Tour#2}}");  // parents of each other
}

TEST(SearchText, NamesMatchIgnoringCaseAccentsAndLigatures) {
    const struct {
        const char *name, *filter;
        bool matches;
    } cases[] = {
        {"Epaisseur tole E2", "ÉPAISSEUR TÔLE", true},
        {"Presse à injecter P7", "pressea", false},
        {"Cœur de pompe", "coeur", true},
        {"Æquo", "aeq", true},
        {"Straße 4", "STRASSE", true},
        {"Bague intérieure", "extérieure", false},
        {"Bague intérieure", "  ", true},
        {"", "a", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nameMatchesFilter(QString::fromUtf8(c.name), QString::fromUtf8(c.filter)),
                  c.matches)
            << c.name << " / " << c.filter;
}
