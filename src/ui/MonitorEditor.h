#pragma once

#include <QModelIndexList>
#include <QObject>
#include <QVector>
#include <optional>

#include "core/SaveConflict.h"
#include "core/SharedState.h"
#include "core/StoreOutcome.h"
#include "core/TaggedValue.h"

class QUndoStack;

namespace tolva {

class OptionTableModel;

// The editing of one monitor's options, in model indexes of the grid's model:
// values stored as steps of an undo history, copy, paste, revert, the save and
// the re-read after it. Shows nothing; the window puts the user where a
// refused text or value is and shows the messages.
class MonitorEditor : public QObject {
    Q_OBJECT

public:
    MonitorEditor(SharedState& state, OptionTableModel& model, QObject* parent = nullptr);

    QUndoStack* history() const { return m_history; }
    // Some value differs from what was loaded (hidden groups included).
    bool hasUnsavedChanges() const { return m_state.gOptionRows.hasUnsavedChanges(); }

    // The values go into their cells as one step of the history; the same
    // values again are stored without a step. Indexes that are not value cells
    // are left out.
    void store(const QModelIndexList& cells, const QVector<TaggedValue>& values);
    // The cells' given texts as a tab-separated block spanning them; a cell
    // inside the block that is not listed is empty.
    QString copyText(QModelIndexList cells) const;

    // A spreadsheet block from `start`, or one value into every selected cell.
    // Every text is read as typed; the first that is not a number stops it all
    // (`refused` is its cell, nothing stored). Otherwise `stored` values went in.
    struct Paste {
        int stored = 0;
        QModelIndex refused;
        int rowsLeftOut = 0;  // of a block cut at the grid's last row and column
        int columnsLeftOut = 0;
    };
    Paste paste(const QString& text, const QModelIndex& start, const QModelIndexList& selected);
    // The changed cells among these back to their loaded values, as one step.
    void revert(const QModelIndexList& cells);

    // The save walk; the groups it committed become saved (also when it stopped
    // part-way), so the grid's marks match the database.
    // `resolver` answers for groups another workstation saved meanwhile.
    // `reason` goes with the changes into the database's journal, if it keeps one.
    // `reloadFollows`: the caller reloads at once, so the save reads the monitor
    // in its own transaction and that reload takes the read (no second login).
    StoreOutcome save(ConflictResolver* resolver = nullptr, const QString& reason = QString(),
                      bool reloadFollows = false);
    // Reads the monitor again, or takes what the save just read. A failed read
    // keeps the table on screen, now taken as saved. Either way the history is
    // dropped.
    StoreOutcome reload();
    void clearHistory();

private:
    SharedState& m_state;
    OptionTableModel& m_model;
    QUndoStack* m_history;
    std::optional<OptionTable> m_readBySave;  // for the reload that follows the save
};

}  // namespace tolva
