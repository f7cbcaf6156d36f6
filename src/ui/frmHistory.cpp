#include "frmHistory.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include "core/Catalog.h"
#include "core/CsvExport.h"
#include "core/SearchText.h"
#include "ui/UiPort.h"

namespace tolva {

// The entries with the texts of their columns, and which of them are shown.
class HistoryModel : public QAbstractTableModel {
public:
    enum Column { Date, User, Workstation, Characteristic, Limit, Change, Reason, Count };

    explicit HistoryModel(QVector<JournalEntry> entries, QObject* parent)
        : QAbstractTableModel(parent), m_entries(std::move(entries)) {
        m_shown.reserve(m_entries.size());
        for (int i = 0; i < m_entries.size(); ++i)
            m_shown.append(i);
    }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_shown.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : Count;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return text(m_shown.at(index.row()), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return heading(section);
    }
    static QString heading(int column) {
        static const int numbers[] = {Msg::HistoryDateHeading,        Msg::HistoryUserHeading,
                                      Msg::HistoryWorkstationHeading, Msg::CharacteristicHeading,
                                      Msg::HistoryLimitHeading,       Msg::HistoryChangeHeading,
                                      Msg::HistoryReasonHeading};
        return catalogText(numbers[column]);
    }

    QString text(int entry, int column) const {
        const JournalEntry& e = m_entries.at(entry);
        switch (column) {
            case Date:
                return e.changedAt;
            case User:
                return e.user;
            case Workstation:
                return e.workstation;
            case Characteristic:
                return e.characteristic;
            case Limit:
                return limitName(e.option);
            case Change:
                return changeText(e.before.value_or(QString()), e.after.value_or(QString()));
            default:
                return e.reason;
        }
    }

    // Keeps the entries of the chart (none: all) whose texts contain the filter.
    void filter(const QString& needle, std::optional<qint32> chartId) {
        const QString folded = foldForSearch(needle.trimmed());
        if (!folded.isEmpty() && m_folded.isEmpty()) {
            // Folded once, on the first filter: opening stays quick however long the journal.
            m_folded.reserve(m_entries.size());
            for (int i = 0; i < m_entries.size(); ++i) {
                QStringList columns;
                for (int c = 0; c < Count; ++c)
                    columns << text(i, c);
                m_folded.append(foldForSearch(columns.join(u'\t')));
            }
        }
        beginResetModel();
        m_shown.clear();
        for (int i = 0; i < m_entries.size(); ++i) {
            if (chartId && m_entries.at(i).chartId != *chartId)
                continue;
            if (!folded.isEmpty() && !m_folded.at(i).contains(folded))
                continue;
            m_shown.append(i);
        }
        endResetModel();
    }

    QVector<QStringList> shownLines() const {
        QVector<QStringList> lines;
        QStringList headings;
        for (int c = 0; c < Count; ++c)
            headings << heading(c);
        lines << headings;
        for (int entry : m_shown) {
            QStringList fields;
            for (int c = 0; c < Count; ++c)
                fields << text(entry, c);
            lines << fields;
        }
        return lines;
    }

private:
    QString limitName(const QString& option) const {
        auto found = m_limitNames.constFind(option);
        if (found == m_limitNames.constEnd())
            found = m_limitNames.insert(option, journalLimitName(option));
        return *found;
    }

    QVector<JournalEntry> m_entries;
    QVector<int> m_shown;
    QVector<QString> m_folded;  // every column of an entry, folded for the filter
    mutable QHash<QString, QString> m_limitNames;
};

frmHistory::frmHistory(QVector<JournalEntry> entries, std::optional<qint32> chartId,
                       bool currentOnly, const QString& monitorName, QWidget* parent)
    : QDialog(parent), m_chartId(chartId), m_monitorName(monitorName) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(catalogText(Msg::HistoryTitle) + QStringLiteral(" – ") + monitorName);
    auto* layout = new QVBoxLayout(this);

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(catalogText(Msg::HistoryFilterLabel), this);
    txtHistoryFilter = new QLineEdit(this);
    txtHistoryFilter->setObjectName(QStringLiteral("txtHistoryFilter"));
    txtHistoryFilter->setClearButtonEnabled(true);
    filterLabel->setBuddy(txtHistoryFilter);
    chkHistoryCurrent = new QCheckBox(catalogText(Msg::HistoryCurrentOnly), this);
    chkHistoryCurrent->setObjectName(QStringLiteral("chkHistoryCurrent"));
    chkHistoryCurrent->setEnabled(chartId.has_value());
    chkHistoryCurrent->setChecked(currentOnly && chartId);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(txtHistoryFilter, 1);
    filterRow->addWidget(chkHistoryCurrent);
    layout->addLayout(filterRow);

    m_model = new HistoryModel(std::move(entries), this);
    grdHistory = new QTableView(this);
    grdHistory->setObjectName(QStringLiteral("grdHistory"));
    grdHistory->setModel(m_model);
    grdHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdHistory->setAlternatingRowColors(true);
    grdHistory->setWordWrap(false);
    grdHistory->verticalHeader()->hide();
    // Fixed heights and widths measured on the first rows: a long journal opens
    // without measuring every row.
    grdHistory->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdHistory->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grdHistory->horizontalHeader()->setResizeContentsPrecision(200);
    grdHistory->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grdHistory, 1);

    lblHistoryCount = new QLabel(this);
    lblHistoryCount->setObjectName(QStringLiteral("lblHistoryCount"));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* exportButton =
        buttons->addButton(catalogText(Msg::ExportEntry), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("cmdHistoryExport"));
    QPushButton* close =
        buttons->addButton(catalogText(Msg::CloseButton), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("cmdHistoryClose"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblHistoryCount, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    connect(txtHistoryFilter, &QLineEdit::textChanged, this, &frmHistory::applyFilter);
    connect(chkHistoryCurrent, &QCheckBox::toggled, this, &frmHistory::applyFilter);
    connect(exportButton, &QPushButton::clicked, this, &frmHistory::chooseExportFile);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    applyFilter();
    grdHistory->resizeColumnsToContents();
    resize(900, 480);
}

frmHistory::~frmHistory() = default;

void frmHistory::applyFilter() {
    m_model->filter(txtHistoryFilter->text(),
                    chkHistoryCurrent->isChecked() ? m_chartId : std::nullopt);
    lblHistoryCount->setText(catalogText(Msg::HistoryRowCount).arg(m_model->rowCount()));
}

void frmHistory::chooseExportFile() {
    // The folder the grid's export remembers.
    const QString key = QStringLiteral("export/folder");
    QSettings settings;
    const QString folder =
        settings.value(key, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .toString();
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    const QString name = QString(m_monitorName).replace(forbidden, QStringLiteral("-")).trimmed() +
                         QStringLiteral(" - ") + catalogText(Msg::HistoryTitle);
    QString caption = catalogText(Msg::ExportEntry);
    caption.remove(u'&');
    QFileDialog dialog(this, caption, QDir(folder).filePath(name + QStringLiteral(".csv")),
                       catalogText(Msg::CsvFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    settings.setValue(key, QFileInfo(path).absolutePath());
    exportCsv(path);
}

bool frmHistory::exportCsv(const QString& path) {
    QString reason;
    if (WriteExportFile(path, BuildCsvTable(m_model->shownLines()), reason))
        return true;
    uiPort().message(catalogText(Msg::ExportFailed) + QStringLiteral("\r\n\r\n") + reason,
                     UiPort::Icon::Critical, windowTitle());
    return false;
}

}  // namespace tolva
