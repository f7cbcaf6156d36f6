#include "MonitorFilter.h"

#include <QKeyEvent>
#include <QSet>
#include <QTreeWidget>

#include "core/SearchText.h"

namespace tolva {

MonitorFilterField::MonitorFilterField(QWidget* parent) : QLineEdit(parent) {
    setClearButtonEnabled(true);
}

void MonitorFilterField::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Down:
            emit moveIntoTree();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit chooseRequested();
            return;
        case Qt::Key_Escape:
            if (!text().isEmpty()) {
                clear();
                return;
            }
            break;
        default:
            break;
    }
    QLineEdit::keyPressEvent(event);
}

namespace {

struct FilterWalk {
    const QVector<MonitorEntry>& entries;
    QString filter;
    QSet<int> monitors;
    QTreeWidgetItem* firstMatch = nullptr;

    // True when the item stays in sight.
    bool apply(QTreeWidgetItem* item) {
        bool shown = false;
        if (item->data(0, MonitorItemRole::ImageKey).toString() == QLatin1String("Monitor")) {
            const int index = item->data(0, MonitorItemRole::MonitorIndex).toInt();
            shown = nameMatchesFilter(entries.value(index).Name, filter);
            if (shown) {
                monitors.insert(index);
                if (!firstMatch)
                    firstMatch = item;
            }
        } else {
            for (int i = 0; i < item->childCount(); ++i)
                shown = apply(item->child(i)) || shown;
            // Every match shows with its folder path open.
            if (shown && !filter.trimmed().isEmpty())
                item->setExpanded(true);
        }
        item->setHidden(!shown);
        return shown;
    }
};

}  // namespace

MonitorFilterResult applyMonitorFilter(QTreeWidget* tree, const QVector<MonitorEntry>& monitors,
                                       const QString& filter) {
    FilterWalk walk{monitors, filter, {}, nullptr};
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        walk.apply(tree->topLevelItem(i));
    return {int(walk.monitors.size()), walk.firstMatch};
}

}  // namespace tolva
