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
        Buttons buttons;
    };

    FakeUiPort() { setUiPort(this); }
    ~FakeUiPort() override { setUiPort(nullptr); }

    void setBusyPointer() override { busy = true; }
    void setNormalPointer() override { busy = false; }
    void processPendingEvents() override { ++eventPasses; }
    Answer message(const QString& text, Icon icon, const QString& title, Buttons buttons) override {
        shown.append({text, icon, title, buttons});
        if (onMessage)
            onMessage(shown.last());
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }

    ConflictAnswer resolve(const GroupConflict& conflict) override {
        conflicts.append(conflict);
        if (onConflict)
            onConflict(conflict);
        return conflictAnswers.isEmpty() ? ConflictAnswer{} : conflictAnswers.takeFirst();
    }

    bool busy = false;
    int eventPasses = 0;
    QVector<GroupConflict> conflicts;
    QVector<ConflictAnswer> conflictAnswers;  // in order; none left: stop
    std::function<void(const GroupConflict&)> onConflict;
    QVector<Shown> shown;
    QVector<Answer> answers;  // for Yes/No/Cancel questions, in order
    std::function<void(const Shown&)> onMessage;
};

}  // namespace tolva::test
