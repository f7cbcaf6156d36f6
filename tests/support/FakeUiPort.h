#pragma once

#include <QString>
#include <QVector>
#include <functional>

#include "ui/UiPort.h"

namespace tolva::test {

// Records every message box instead of showing it and answers from a script.
// Installs itself for its lifetime.
class FakeUiPort final : public UiPort {
public:
    struct Shown {
        QString text;
        Icon icon;
        QString title;
    };

    FakeUiPort() { setUiPort(this); }
    ~FakeUiPort() override { setUiPort(nullptr); }

    void setBusyPointer() override { busy = true; }
    void setNormalPointer() override { busy = false; }
    void processPendingEvents() override {}
    Answer message(const QString& text, Icon icon, const QString& title, Buttons buttons) override {
        shown.append({text, icon, title});
        if (onMessage)
            onMessage(shown.last());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    // The save question: what it listed and whether it asked for a reason are
    // kept, the reason comes from the script, the answer as for any question.
    Answer saveQuestion(const QVector<PendingChange>& changes, bool askReason,
                        QString& reason) override {
        listedChanges = changes;
        reasonAsked = askReason;
        const Answer answer = UiPort::saveQuestion(changes, askReason, reason);
        reason = askReason ? reasonToGive : QString();
        return answer;
    }

    ConflictAnswer resolve(const GroupConflict& conflict) override {
        conflicts.append(conflict);
        return conflictAnswers.isEmpty() ? ConflictAnswer{} : conflictAnswers.takeFirst();
    }

    bool busy = false;
    QVector<GroupConflict> conflicts;
    QVector<ConflictAnswer> conflictAnswers;  // in order; none left: stop
    QVector<Shown> shown;
    QVector<Answer> answers;  // for Yes/No/Cancel questions, in order
    std::function<void(const Shown&)> onMessage;
    QVector<PendingChange> listedChanges;
    bool reasonAsked = false;
    QString reasonToGive;
};

}  // namespace tolva::test
