#include "frmImport.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/Catalog.h"
#include "core/ChartName.h"

namespace tolva {

// The changes of a preview as table rows; a model rather than items, so that
// ten thousand rows cost nothing to show.
class ImportChangesModel : public QAbstractTableModel {
public:
    ImportChangesModel(const SharedState& state, bool withQuery, QObject* parent)
        : QAbstractTableModel(parent), m_state(state), m_withQuery(withQuery) {}

    void show(const QVector<ImportChange>* changes) {
        beginResetModel();
        m_changes = changes;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !m_changes ? 0 : int(m_changes->size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : (m_withQuery ? 5 : 4);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static constexpr int kHeadings[] = {Msg::CharacteristicHeading, Msg::QueryHeading,
                                            Msg::ImportLimitHeading, Msg::ImportCurrentHeading,
                                            Msg::ImportNewHeading};
        return catalogText(kHeadings[section + (m_withQuery || section == 0 ? 0 : 1)]);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !m_changes)
            return {};
        const ImportChange& change = m_changes->at(index.row());
        const int column = index.column() + (m_withQuery || index.column() == 0 ? 0 : 1);
        if (role == Qt::TextAlignmentRole)
            return column >= 3 ? int(Qt::AlignRight | Qt::AlignVCenter)
                               : int(Qt::AlignLeft | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const ChartNameParts name =
            splitChartName(m_state.gOptionRows.at(change.rowIndex).ChartName);
        switch (column) {
            case 0:
                return name.characteristic;
            case 1:
                return name.query;
            case 2:
                return change.heading;
            case 3:
                return change.before.toDisplayText();
            default:
                // A cleared value shows as a dash rather than as nothing.
                return change.after.isEmpty() ? QStringLiteral("—") : change.after.toDisplayText();
        }
    }

private:
    const SharedState& m_state;
    const bool m_withQuery;
    const QVector<ImportChange>* m_changes = nullptr;
};

frmImport::frmImport(const SharedState& state, const ColumnLayout& columns, CsvImportFile file,
                     const QString& fileName, QWidget* parent)
    : QDialog(parent), m_state(state), m_layout(columns), m_file(std::move(file)) {
    setObjectName(QStringLiteral("frmImport"));
    // The menu entry's words, without access key and ellipsis, then the file.
    QString caption = catalogText(Msg::ImportEntry);
    caption.remove(u'&').remove(u'…');
    setWindowTitle(caption + QStringLiteral(" – ") + fileName);
    auto named = [](QWidget* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };

    lblSummary = static_cast<QLabel*>(named(new QLabel(this), "lblSummary"));
    QFont bold = lblSummary->font();
    bold.setBold(true);
    lblSummary->setFont(bold);

    grdChanges = static_cast<QTableView*>(named(new QTableView(this), "grdChanges"));
    m_changes = new ImportChangesModel(state, columns.hasQuery(), this);
    grdChanges->setModel(m_changes);
    grdChanges->verticalHeader()->hide();
    grdChanges->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdChanges->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdChanges->horizontalHeader()->setStretchLastSection(false);
    grdChanges->verticalHeader()->setDefaultSectionSize(grdChanges->fontMetrics().height() + 6);

    tvwNotes = static_cast<QTreeWidget*>(named(new QTreeWidget(this), "tvwNotes"));
    tvwNotes->setHeaderHidden(true);
    tvwNotes->setUniformRowHeights(true);

    chkBlanksClear = static_cast<QCheckBox*>(
        named(new QCheckBox(catalogText(Msg::BlanksClear), this), "chkBlanksClear"));
    connect(chkBlanksClear, &QCheckBox::toggled, this, &frmImport::refresh);
    cmdImport = static_cast<QPushButton*>(
        named(new QPushButton(catalogText(Msg::ImportButton), this), "cmdImport"));
    cmdCancel = static_cast<QPushButton*>(
        named(new QPushButton(catalogText(Msg::Cancel), this), "cmdCancel"));
    cmdImport->setDefault(true);
    connect(cmdImport, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(grdChanges);
    split->addWidget(tvwNotes);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkBlanksClear);
    buttons->addStretch();
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(fontMetrics().averageCharWidth() * 100, fontMetrics().height() * 30);
    refresh();
}

frmImport::~frmImport() = default;

void frmImport::refresh() {
    m_changes->show(nullptr);
    m_preview = BuildImportPreview(m_state, m_layout, m_file, chkBlanksClear->isChecked());
    m_changes->show(&m_preview.changes);
    grdChanges->resizeColumnsToContents();
    // The names take the spare width; the two values stay side by side.
    grdChanges->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    lblSummary->setText(m_preview.changes.isEmpty()
                            ? catalogText(Msg::ImportNoChange)
                            : catalogText(Msg::ImportChangeCount).arg(m_preview.changes.size()));
    tvwNotes->clear();
    const std::pair<int, const QStringList*> lists[] = {
        {Msg::ImportNonNumbers, &m_preview.nonNumbers},
        {Msg::ImportDuplicates, &m_preview.duplicates},
        {Msg::ImportNotFound, &m_preview.notFound},
        {Msg::ImportNotMentioned, &m_preview.notMentioned},
        {Msg::ImportIgnoredColumns, &m_preview.ignoredHeadings}};
    for (const auto& [title, items] : lists) {
        if (items->isEmpty())
            continue;
        auto* section = new QTreeWidgetItem(tvwNotes, {catalogText(title).arg(items->size())});
        QList<QTreeWidgetItem*> children;
        children.reserve(items->size());
        for (const QString& item : *items)
            children << new QTreeWidgetItem({item});
        section->addChildren(children);
        // The blocking list always open; the others while short.
        section->setExpanded(title == Msg::ImportNonNumbers || items->size() <= 20);
    }
    tvwNotes->setVisible(tvwNotes->topLevelItemCount() > 0);
    cmdImport->setEnabled(m_preview.canApply());
}

}  // namespace tolva
