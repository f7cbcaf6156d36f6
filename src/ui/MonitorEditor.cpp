#include "MonitorEditor.h"

#include <QUndoStack>
#include <algorithm>
#include <optional>

#include "OptionEditCommand.h"
#include "OptionTableModel.h"
#include "core/NumberText.h"
#include "core/OptionReader.h"
#include "core/SaveWalk.h"

namespace tolva {

namespace {

bool byPosition(const QModelIndex& a, const QModelIndex& b) {
    return a.row() != b.row() ? a.row() < b.row() : a.column() < b.column();
}

// A spreadsheet block as rows of fields; its closing line break ends the last
// row rather than starting an empty one.
QVector<QStringList> blockRows(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (text.endsWith(u'\n'))
        text.chop(1);
    QVector<QStringList> rows;
    for (const QString& line : text.split(u'\n'))
        rows << line.split(u'\t');
    return rows;
}

}  // namespace

MonitorEditor::MonitorEditor(SharedState& state, OptionTableModel& model, QObject* parent)
    : QObject(parent), m_state(state), m_model(model), m_history(new QUndoStack(this)) {
    setObjectName(QStringLiteral("monitorEditor"));
    m_history->setObjectName(QStringLiteral("undoStack"));
}

void MonitorEditor::store(const QModelIndexList& cells, const QVector<TaggedValue>& values) {
    const OptionTable& rows = m_state.gOptionRows;
    QVector<OptionEdit> edits;
    QVector<TaggedValue> before;
    bool differs = false;
    for (int i = 0; i < cells.size() && i < values.size(); ++i) {
        const OptionCellRef cell = m_model.cellOf(cells[i].column());
        if (!cell || !rows.contains(cells[i].row()))
            continue;
        const TaggedValue& current = (rows[cells[i].row()].*cell).Current;
        edits.push_back({cells[i].row(), cell, values[i]});
        before << current;
        differs = differs || current != values[i];
    }
    if (!differs) {
        // The same values again: stored as any typed value is, but no step to undo.
        for (const OptionEdit& edit : edits)
            m_model.storeOptionValue(edit.rowIndex, edit.cell, edit.value);
        return;
    }
    m_history->push(new OptionEditCommand(m_model, edits, before));
}

QString MonitorEditor::copyText(QModelIndexList cells) const {
    if (cells.isEmpty())
        return QString();
    std::sort(cells.begin(), cells.end(), byPosition);
    int top = cells.first().row(), bottom = top, left = cells.first().column(), right = left;
    for (const QModelIndex& cell : cells) {
        bottom = qMax(bottom, cell.row());
        left = qMin(left, cell.column());
        right = qMax(right, cell.column());
    }
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList fields;
        for (int c = left; c <= right; ++c) {
            const QModelIndex index = m_model.index(r, c);
            fields << (cells.contains(index)
                           ? index.data(OptionTableModel::GivenTextRole).toString()
                           : QString());
        }
        lines << fields.join(u'\t');
    }
    return lines.join(u'\n') + u'\n';
}

MonitorEditor::Paste MonitorEditor::paste(const QString& text, const QModelIndex& start,
                                          const QModelIndexList& selected) {
    Paste result;
    if (text.isEmpty() || !start.isValid() || !m_model.cellOf(start.column()))
        return result;
    const QVector<QStringList> block = blockRows(text);
    QModelIndexList cells;
    QStringList texts;
    if (block.size() == 1 && block.first().size() == 1 && selected.size() > 1) {
        // One value fills the selection.
        for (const QModelIndex& index : selected) {
            cells << index;
            texts << block.first().first();
        }
    } else {
        // From the start cell; what runs past the last row or column is cut,
        // and counted.
        qsizetype widest = 0;
        for (const QStringList& fields : block)
            widest = qMax(widest, fields.size());
        result.rowsLeftOut = qMax(0, start.row() + int(block.size()) - m_model.rowCount());
        result.columnsLeftOut = qMax(0, start.column() + int(widest) - m_model.columnCount());
        for (int r = 0; r < block.size(); ++r) {
            for (int c = 0; c < block.at(r).size(); ++c) {
                const QModelIndex index = m_model.index(start.row() + r, start.column() + c);
                if (index.isValid() && m_model.cellOf(index.column())) {
                    cells << index;
                    texts << block.at(r).at(c);
                }
            }
        }
    }
    QVector<TaggedValue> values;
    for (int i = 0; i < cells.size(); ++i) {
        TaggedValue value;
        if (!texts[i].trimmed().isEmpty()) {
            const std::optional<double> number = readTypedNumber(texts[i]);
            if (!number) {
                result.refused = cells[i];
                return result;
            }
            value = TaggedValue::number(*number);
        }
        values << value;
    }
    store(cells, values);
    result.stored = int(values.size());
    return result;
}

void MonitorEditor::revert(const QModelIndexList& cells) {
    const OptionTable& rows = m_state.gOptionRows;
    QModelIndexList changed;
    QVector<TaggedValue> loaded;
    for (const QModelIndex& index : cells) {
        const OptionCellRef cell = m_model.cellOf(index.column());
        if (cell && rows.isChanged(index.row(), cell)) {
            changed << index;
            loaded << (rows[index.row()].*cell).Loaded;
        }
    }
    if (!changed.isEmpty())
        store(changed, loaded);
}

StoreOutcome MonitorEditor::save(ConflictResolver* resolver, const QString& reason,
                                 bool reloadFollows) {
    StoreOutcome outcome =
        SaveMonitorOptions(m_state, resolver, reason, reloadFollows ? &m_readBySave : nullptr);
    m_state.gOptionRows.markSaved(outcome.writtenGroups);
    return outcome;
}

StoreOutcome MonitorEditor::reload() {
    m_history->clear();
    const StoreOutcome outcome = RereadAfterSave(m_state, m_readBySave);
    m_readBySave.reset();
    if (!outcome)
        m_state.gOptionRows.markAllSaved();  // on screen is what the database holds
    return outcome;
}

void MonitorEditor::clearHistory() {
    m_history->clear();
}

}  // namespace tolva
