#include "QtUiPort.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "core/Catalog.h"
#include "ui/ConflictBox.h"
#include "ui/SaveQuestionDialog.h"

namespace tolva {

void QtUiPort::setBusyPointer() {
    // One level only: the pointer is either busy or normal, as the callers expect.
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtUiPort::setNormalPointer() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void QtUiPort::processPendingEvents() {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

UiPort::Answer QtUiPort::message(const QString& text, Icon icon, const QString& title,
                                 Buttons buttons) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(withLineBreaks(text));
    switch (icon) {
        case Icon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case Icon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case Icon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case Icon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);    // the first button: Enter answers Yes
    box.setEscapeButton(QMessageBox::Cancel);  // closing the box counts as Cancel
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

UiPort::Answer QtUiPort::saveQuestion(const QVector<PendingChange>& changes, bool askReason,
                                      QString& reason) {
    SaveQuestionDialog dialog(changes, askReason, QApplication::activeWindow());
    dialog.exec();
    reason = dialog.reason();
    return dialog.answer();
}

ConflictAnswer QtUiPort::resolve(const GroupConflict& conflict) {
    // The busy pointer of the save must not sit over the box.
    const bool busy = QApplication::overrideCursor() != nullptr;
    setNormalPointer();
    const ConflictAnswer answer = ConflictBox::ask(conflict, QApplication::activeWindow());
    if (busy)
        setBusyPointer();
    return answer;
}

}  // namespace tolva
