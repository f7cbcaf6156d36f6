#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

#include "core/CoreDumps.h"
#include "core/DbWorker.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "core/Version.h"
#include "ui/EditorStartup.h"
#include "ui/QtUiPort.h"

int main(int argc, char** argv) {
    tolva::DisableCoreDumps();  // before the password can be typed
    QApplication app(argc, argv);
    // The desktop matches the windows to the menu entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(tolva::kAppId));
    QApplication::setWindowIcon(QIcon::fromTheme(
        QString::fromLatin1(tolva::kAppId), QIcon(QStringLiteral(":/icons/editeur-tolva.svg"))));
    // Names of the per-user settings (window sizes and places).
    QCoreApplication::setOrganizationName(QStringLiteral("NOVRAX"));
    QCoreApplication::setApplicationName(QStringLiteral("TOLVA Editor"));

    // The program speaks French whatever the desktop's language: Qt's own
    // texts too (standard buttons "Oui", "Non", "Annuler", edit menus).
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_fr"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);

    tolva::QtUiPort desktop;
    tolva::setUiPort(&desktop);
    tolva::setNoAnswerPolicy(&desktop);

    tolva::PrepareStartup(tolva::appState(), QCoreApplication::applicationDirPath());
    int exitCode = 0;
    if (tolva::StartEditor(tolva::appState()))
        exitCode = app.exec();
    tolva::CloseEditor();
    tolva::setNoAnswerPolicy(nullptr);
    tolva::setUiPort(nullptr);
    // A connection given up on may still be inside its driver: the libraries'
    // teardown must not run under it.
    if (tolva::abandonedCallsRunning() > 0) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
