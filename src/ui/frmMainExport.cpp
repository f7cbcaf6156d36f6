// Export of the shown option table as a CSV file for a spreadsheet.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

#include "core/Catalog.h"
#include "core/CsvExport.h"
#include "core/SharedState.h"
#include "frmMain.h"
#include "ui/UiPort.h"

namespace tolva {

namespace {

const QString kExportFolderKey = QStringLiteral("export/folder");

// The monitor's name as a file name: characters no file system takes become "-".
QString exportFileName(const QString& monitor) {
    static const QRegularExpression forbidden(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    QString name = QString(monitor).replace(forbidden, QStringLiteral("-")).trimmed();
    return (name.isEmpty() ? QStringLiteral("export") : name) + QStringLiteral(".csv");
}

}  // namespace

QString frmMain::lastCsvFolder() {
    return QSettings()
        .value(kExportFolderKey,
               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .toString();
}

QString frmMain::chooseCsvFile(int entryMessage, const QString& start, bool forSaving) {
    QString caption = catalogText(entryMessage);
    caption.remove(u'&');
    QFileDialog dialog(this, caption, start, catalogText(Msg::CsvFileFilter));
    if (forSaving) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));  // a name typed without one still opens
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void frmMain::mnuExport_Click() {
    if (!commitOpenEdit())
        return;
    const SharedState& s = m_state;
    if (!s.hasCurrentMonitor())
        return;

    const QString path = chooseCsvFile(
        Msg::ExportEntry, QDir(lastCsvFolder()).filePath(exportFileName(s.currentMonitor().Name)),
        true);
    if (path.isEmpty())
        return;
    QSettings().setValue(kExportFolderKey, QFileInfo(path).absolutePath());
    exportCsv(path);
}

bool frmMain::exportCsv(const QString& path) {
    QStringList characteristics;
    QStringList queries;
    SplitChartNames(characteristics, queries);
    QString reason;
    if (WriteExportFile(path, BuildCsvExport(m_state, m_layout, characteristics, queries), reason))
        return true;
    uiPort().message(catalogText(Msg::ExportFailed) + QStringLiteral("\r\n\r\n") + reason,
                     UiPort::Icon::Critical, windowTitle());
    return false;
}

}  // namespace tolva
