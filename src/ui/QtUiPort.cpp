#include "QtUiPort.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "core/Catalog.h"
#include "core/Version.h"
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

bool QtUiPort::keepWaiting(std::chrono::milliseconds silent,
                           const std::function<bool()>& answered) {
    QMessageBox box(QApplication::activeWindow());
    box.setObjectName(QStringLiteral("NoAnswerBox"));
    box.setWindowTitle(QString::fromUtf8(kAppTitle));
    box.setIcon(QMessageBox::Warning);
    box.setText(catalogText(Msg::NoAnswerBox).arg(qRound(silent.count() / 1000.0)));
    box.setInformativeText(catalogText(Msg::NoAnswerQuestion));
    QPushButton* wait = box.addButton(catalogText(Msg::WaitButton), QMessageBox::AcceptRole);
    QPushButton* abandon = box.addButton(catalogText(Msg::AbandonButton), QMessageBox::RejectRole);
    box.setDefaultButton(wait);
    box.setEscapeButton(wait);  // closing the box gives nothing up
    // An answer that comes while the box is up closes it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &box, [&] {
        if (answered())
            box.done(QMessageBox::Ok);
    });
    poll.start(100);
    // The busy pointer would hide that the box takes clicks.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
    return box.clickedButton() != abandon;
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
