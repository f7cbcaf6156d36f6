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

void frmMain::mnuExport_Click() {
    if (!commitOpenEdit())
        return;
    const SharedState& s = m_state;
    if (s.gMonitorIndex < 0 || s.gMonitorIndex >= s.gMonitors.size())
        return;

    const QString folder = lastCsvFolder();
    QString caption = catalogText(Msg::ExportEntry);
    caption.remove(u'&');
    QFileDialog dialog(this, caption,
                       QDir(folder).filePath(exportFileName(s.currentMonitor().Name)),
                       catalogText(Msg::CsvFileFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));  // a name typed without one still opens
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
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
