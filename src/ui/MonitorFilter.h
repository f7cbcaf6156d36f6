#pragma once

#include <QLineEdit>
#include <QVector>

#include "core/SharedState.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace tolva {

// Data of the picker's tree items: the image key ("Monitor", "ClosedFolder")
// and, for a monitor, its index in gMonitors.
struct MonitorItemRole {
    static constexpr int ImageKey = Qt::UserRole;
    static constexpr int MonitorIndex = Qt::UserRole + 1;
};

// The picker's search field. Down hands over to the tree, Enter asks for the
// match to be opened, and Escape clears a text; Escape in an empty field goes
// on to the window, which closes.
class MonitorFilterField : public QLineEdit {
    Q_OBJECT

public:
    explicit MonitorFilterField(QWidget* parent = nullptr);

signals:
    void moveIntoTree();
    void chooseRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// What the filter left in sight.
struct MonitorFilterResult {
    int monitorsShown = 0;                  // distinct monitors, one filed twice counts once
    QTreeWidgetItem* firstMatch = nullptr;  // first monitor item in tree order
};

// Shows only the monitor items whose name in `monitors` contains `filter`
// (ignoring case and accents) and the folders above them, expanded; an empty
// filter shows everything again.
MonitorFilterResult applyMonitorFilter(QTreeWidget* tree, const QVector<MonitorEntry>& monitors,
                                       const QString& filter);

}  // namespace tolva
