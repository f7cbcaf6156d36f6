#pragma once

#include <QDialog>

#include "core/CsvImport.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QTreeWidget;

namespace tolva {

class ImportChangesModel;

// The preview of a CSV import: each value that would change (characteristic,
// limit, current and new value), then the lists of what the file leaves out or
// cannot give. Nothing changes here; "Importer" accepts the preview shown, and
// a text that is not a number keeps it disabled.
class frmImport : public QDialog {
    Q_OBJECT

public:
    frmImport(const SharedState& state, const ColumnLayout& layout, CsvImportFile file,
              const QString& fileName, QWidget* parent = nullptr);
    ~frmImport() override;

    // The preview under the check box as it now stands.
    const ImportPreview& preview() const { return m_preview; }

private:
    void refresh();

    const SharedState& m_state;
    const ColumnLayout m_layout;
    const CsvImportFile m_file;
    ImportPreview m_preview;

    QLabel* lblSummary = nullptr;
    QTableView* grdChanges = nullptr;
    ImportChangesModel* m_changes = nullptr;
    QTreeWidget* tvwNotes = nullptr;
    QCheckBox* chkBlanksClear = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdCancel = nullptr;
};

}  // namespace tolva
