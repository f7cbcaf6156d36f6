#pragma once

#include "core/DbWorker.h"
#include "ui/UiPort.h"

namespace tolva {

// The desktop's own busy pointer, event processing and message boxes, and the
// box that asks whether to go on waiting for a silent server.
class QtUiPort final : public UiPort, public NoAnswerPolicy {
public:
    void setBusyPointer() override;
    void setNormalPointer() override;
    void processPendingEvents() override;
    Answer message(const QString& text, Icon icon, const QString& title, Buttons buttons) override;
    Answer saveQuestion(const QVector<PendingChange>& changes, bool askReason,
                        QString& reason) override;
    bool keepWaiting(std::chrono::milliseconds silent,
                     const std::function<bool()>& answered) override;
    ConflictAnswer resolve(const GroupConflict& conflict) override;
};

}  // namespace tolva
