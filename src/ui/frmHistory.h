#pragma once

#include <QDialog>
#include <QVector>
#include <optional>

#include "core/JournalHistory.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace tolva {

class HistoryModel;

// The journal rows of one monitor, newest first: date, user, workstation,
// characteristic, limit, old → new, reason. A filter field keeps the rows
// containing its text (case and accents aside); a check box keeps those of the
// window's current characteristic; the shown rows export to CSV.
class frmHistory : public QDialog {
    Q_OBJECT

public:
    // `chartId`: the current characteristic (none: the check box is disabled);
    // `currentOnly`: start with it checked.
    frmHistory(QVector<JournalEntry> entries, std::optional<qint32> chartId, bool currentOnly,
               const QString& monitorName, QWidget* parent = nullptr);
    ~frmHistory() override;

    // The shown rows with their headings into a CSV file, as the grid's export
    // writes it; false after a message when the file could not be written.
    bool exportCsv(const QString& path);

private:
    void applyFilter();
    void chooseExportFile();

    HistoryModel* m_model = nullptr;
    QLineEdit* txtHistoryFilter = nullptr;
    QCheckBox* chkHistoryCurrent = nullptr;
    QTableView* grdHistory = nullptr;
    QLabel* lblHistoryCount = nullptr;
    std::optional<qint32> m_chartId;
    QString m_monitorName;
};

}  // namespace tolva
